#include "CSessionConfigurationRestorer.h"

#include "ResultsTestTools.h"

#include <QDir>
#include <QFile>

using namespace LumoraMeasurement;

namespace
{

using MdaTest::ReadBytes;

/// A session created with a three-channel table and the default limits; both files are
/// edited afterwards, as a station's files are.
class CSessionConfigurationRestorerTest : public MdaTest::CResultsTest
{
protected:
    void Prepare() override
    {
        ASSERT_NO_FATAL_FAILURE(CDBControllerTest::Prepare());
        CChannelTableData channels = MdaTest::Channels({"S21", "K23", "K34"});
        ASSERT_TRUE(channels.Write(Path("station.channel")));
        ASSERT_TRUE(CComparativeValueData().Write(Path("station.limit")));
        m_OriginalChannels = ReadBytes(Path("station.channel"));
        m_OriginalLimits = ReadBytes(Path("station.limit"));
        ASSERT_TRUE(CreateSession(m_lSession, "7", Path("station.channel"), Path("station.limit")));

        // Later edits: a channel inserted at the top, one limit changed.
        channels.AddChannel(CChannelData(eTVStandard_DVBT, QStringLiteral("X01")), 0);
        ASSERT_TRUE(channels.Write(Path("station.channel")));
        CComparativeValueData edited;
        MdaTest::Limit(edited, eMeasItem_MERRMSdB, "99", QString(), eCompareType_Higher);
        ASSERT_TRUE(edited.Write(Path("station.limit")));
        m_Device = MdaTest::DeviceSettings(Database());
    }

    QTemporaryDir m_Out;
    CDeviceSettingsData m_Device;
    QByteArray m_OriginalChannels;
    QByteArray m_OriginalLimits;
};

} // namespace

TEST_P(CSessionConfigurationRestorerTest, RestoresTheFilesAsTheSessionWasMeasured)
{
    CSessionConfigurationRestorer restorer(*m_pDb);
    // Entries of another configuration in the one given do not survive.
    CMeasConfigData config;
    config.CreateUniqueIdentifier();
    const QDir folder(m_Out.filePath(QStringLiteral("restored")));
    ASSERT_TRUE(restorer.Restore(m_lSession, folder.path(), m_Device, config))
        << restorer.LastError().toStdString();
    EXPECT_TRUE(restorer.LastError().isEmpty());

    EXPECT_EQ(folder.filePath(QStringLiteral("session.channel")), config.ChannelTableFile());
    EXPECT_EQ(folder.filePath(QStringLiteral("session.limit")), config.ComparativeValuesFile());
    EXPECT_EQ(m_OriginalChannels, ReadBytes(config.ChannelTableFile()));
    EXPECT_EQ(m_OriginalLimits, ReadBytes(config.ComparativeValuesFile()));
    // Everything it wrote is inside the folder it was given.
    EXPECT_EQ(
        QStringList({"session.channel", "session.device", "session.limit", "session.measconfig"}),
        folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name));
    EXPECT_EQ(QStringList({"restored"}),
              QDir(m_Out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot));

    // The result model loads the session from the restored configuration, channel rows as
    // they were when measuring.
    CMeasurementResultData model(m_lSession, eLevelUnit_dBuV);
    ASSERT_TRUE(model.LoadData(config));
    EXPECT_EQ(QStringList({"S21", "K23", "K34"}), model.GetChannelNames());
    CMeasConfigData written;
    ASSERT_TRUE(written.Read(folder.filePath(QStringLiteral("session.measconfig"))));
    EXPECT_EQ(config.ChannelTableFile(), written.ChannelTableFile());
    EXPECT_EQ(written.UniqueIdentifier() + config.UniqueIdentifier(), "");

    // Files given instead of the stored copies are named as they are, with the rows they have.
    const QString sGiven = m_Out.filePath(QStringLiteral("given"));
    ASSERT_TRUE(restorer.Restore(m_lSession, sGiven, m_Device, config, Path("station.channel"),
                                 Path("station.limit")));
    EXPECT_EQ(Path("station.channel"), config.ChannelTableFile());
    EXPECT_EQ(Path("station.limit"), config.ComparativeValuesFile());
    EXPECT_FALSE(QFile::exists(QDir(sGiven).filePath(QStringLiteral("session.channel"))));
    ASSERT_TRUE(model.LoadData(config));
    EXPECT_EQ(QStringList({"X01", "S21", "K23", "K34"}), model.GetChannelNames());
    // What cannot be restored is refused.
    long lUnregistered = 0;
    ASSERT_TRUE(CreateSession(lUnregistered, "8", Path("missing.channel"), Path("missing.limit")));
    // Its registrations are rows without content: the reason names the key.
    const QString sChannelKey =
        MdaTest::Fields(CDBSessionControler(*m_pDb).GetData(lUnregistered)).value(14);
    const std::pair<long, QString> rows[] = {
        {999999, QStringLiteral("there is no session 999999")},
        {0, QStringLiteral("there is no session 0")},
        {lUnregistered, "the channel table registered with session " +
                            QString::number(lUnregistered) +
                            " cannot be read: No file with content is registered under the key \"" +
                            sChannelKey + "\""},
    };
    // A table left from an earlier restore must not pass for this session's.
    MdaTest::WriteFile(m_Out, CSessionConfigurationRestorer::c_sChannelFile, "{}");
    for (const auto& [lSession, sError] : rows)
    {
        SCOPED_TRACE(lSession);
        CSessionConfigurationRestorer refusing(*m_pDb);
        CMeasConfigData none;
        EXPECT_FALSE(refusing.Restore(lSession, m_Out.path(), m_Device, none));
        EXPECT_EQ(sError, refusing.LastError());
    }
    EXPECT_TRUE(QDir(m_Out.path()).entryList(QDir::Files).isEmpty());
}

MDA_INSTANTIATE_BACKEND_TESTS(CSessionConfigurationRestorerTest);

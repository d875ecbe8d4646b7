#include "CSessionReader.h"
#include "CDatabaseTransaction.h"
#include "ResultsTestTools.h"

#include <QBuffer>
#include <QFile>

#include <tuple>

using namespace LumoraMeasurement;

namespace
{

// A session of 6 scans (ids 10, 20, ... recorded in reverse so that ids and scans disagree)
// over three channels and a channel 9 beyond the table; every fifth power is too high.
constexpr int c_iScans = 6;

class CSessionReaderTest : public MdaTest::CResultsTest
{
protected:
    void Prepare() override
    {
        ASSERT_NO_FATAL_FAILURE(CDBControllerTest::Prepare());
        ASSERT_TRUE(MdaTest::DeviceSettings(Database()).Write(Path("device.json")));
        ASSERT_TRUE(MdaTest::Channels({"K21", "K22", "K23"}).Write(Path("channels.json")));
        ASSERT_TRUE(CComparativeValueData().Write(Path("limits.json")));
        m_Config = MdaTest::Config(m_Files);

        ASSERT_TRUE(
            CreateSession(m_lSession, "reader", Path("channels.json"), Path("limits.json")));
        int iValue = 0;
        for (int s = c_iScans; s >= 1; --s)
        {
            long lScan = s * 10;
            ASSERT_TRUE(CDBScanController(*m_pDb).Create(m_lSession, lScan));
            for (long lChannel : {0L, 1L, 2L, 9L})
            {
                Store(s * 10, lChannel, 8, QString(++iValue % 5 == 0 ? "+5" : "50") + " dBuV");
                Store(s * 10, lChannel, 12, "0");
            }
        }
        m_pDb.reset();
    }

    void Store(long lScan, long lChannel, long lItem, const QString& sValue)
    {
        MdaTest::Store(*m_pDb, m_lSession, lScan, lChannel, lItem, 2, sValue);
        ++m_lRows;
    }

    CMeasConfigData m_Config;
    long m_lRows = 0;
};

TEST_P(CSessionReaderTest, SessionFromItsDatabaseAloneReadOnceAsTheModelJudgesIt)
{
    CSessionReader reader;
    ASSERT_TRUE(reader.Open(Database().Name(), Database().User(), Database().Password()))
        << reader.LastError().toStdString();
    // Names that find no session are refused with the reason, and nothing is read.
    for (const auto& [sName, sReason] : std::vector<std::pair<QString, QString>>{
             {"7", "There is no session 7 in the database"},
             {"uid-read", "There is no session with the id or unique id \"uid-read\""},
             {"  ", "No session is named"}})
    {
        SCOPED_TRACE(sName.toStdString());
        EXPECT_FALSE(reader.SelectSession(sName));
        EXPECT_EQ(reader.LastError(), sReason);
        EXPECT_FALSE(reader.ForEachRow([](const CSessionReader::SRow&) { return true; }));
    }
    for (const QString& sName :
         {QString::number(m_lSession), QStringLiteral("000001"), QStringLiteral("UID-READER")})
    {
        SCOPED_TRACE(sName.toStdString());
        ASSERT_TRUE(reader.SelectSession(sName)) << reader.LastError().toStdString();
        EXPECT_EQ(reader.SessionId(), m_lSession);
    }
    // The files may be gone: the session carries its own copies.
    QFile::remove(Path("channels.json"));
    ASSERT_TRUE(reader.SelectSession(m_lSession));
    // A scan without a scan row has no index, not that of the scan after it.
    EXPECT_EQ(
        std::tuple(reader.ChannelTable().GetRowCount(), reader.ScanIndex(20), reader.ScanIndex(15)),
        std::tuple(3, 1L, -1L));
    // Selected again and again: the names are the table's, no more.
    EXPECT_EQ(QStringList({reader.ChannelName(1), reader.ChannelName(3)}),
              QStringList({"K22", ""}));
    EXPECT_EQ(reader.ScanIds(), (std::vector<long>{10, 20, 30, 40, 50, 60}));
    // A number of more than 64 characters before the blank is shown as its text.
    for (const int iLength : {64, 65})
    {
        CDBMeasurement stored, judged;
        stored.SetMeasurementItem(8);
        stored.SetValue(QString(iLength - 1, '0') + "5 dBuV");
        const CSessionReader::SRow row = reader.JudgeRow(stored, judged);
        EXPECT_EQ(std::tuple(row.m_eJudgement, row.m_bHasNumber, row.m_dNumber),
                  std::tuple(eJudgement_NotJudged, iLength == 64, iLength == 64 ? 5.0 : 0.0));
    }

    long lRows = 0, lViolations = 0, lOrphans = 0;
    std::tuple<qint64, qint64, qint64> last{-1, -1, -1};
    ASSERT_TRUE(reader.ForEachRow(
        [&](const CSessionReader::SRow& row)
        {
            const std::tuple<qint64, qint64, qint64> key{row.m_Stored.GetScanId(),
                                                         row.m_Stored.GetChannelId(),
                                                         row.m_Stored.GetMeasurementId()};
            EXPECT_LT(last, key);
            last = key;
            ++lRows;
            lViolations += row.m_eJudgement == eJudgement_Violation;
            lOrphans += row.m_Stored.GetChannelId() == 9;
            EXPECT_EQ(row.m_lScanIndex, row.m_Stored.GetScanId() / 10 - 1);
            if (row.m_Stored.GetMeasurementItem() == 8)
            {
                EXPECT_TRUE(row.m_bHasNumber);
                EXPECT_EQ(row.m_dNumber, row.m_Stored.GetValue().section(' ', 0, 0).toDouble());
            }
            return true;
        }));
    EXPECT_EQ(std::tuple(lRows, lOrphans), std::tuple(m_lRows, 2 * c_iScans));

    CMeasurementResultData model(m_lSession, eLevelUnit_dBuV);
    ASSERT_TRUE(MdaTest::Channels({"K21", "K22", "K23"}).Write(Path("channels.json")));
    ASSERT_TRUE(model.LoadData(m_Config)) << model.LastError().toStdString();
    EXPECT_EQ(lViolations, model.GetNumberOfErrorsInSession());
    EXPECT_GT(lViolations, 0);

    // The classic export from the reader alone is the model's, byte for byte.
    QBuffer fromModel, fromReader;
    QString sError;
    ASSERT_TRUE(fromModel.open(QIODevice::WriteOnly) && fromReader.open(QIODevice::WriteOnly));
    ASSERT_TRUE(model.WriteCSVExport(fromModel));
    ASSERT_TRUE(CMeasurementResultData::WriteCSVExport(reader, fromReader, sError))
        << sError.toStdString();
    EXPECT_EQ(fromReader.data(), fromModel.data());

    // A session whose channel table cannot be read leaves nothing of the one read before.
    m_pDb = OpenConnection();
    const long lBare = CreateSession("bare");
    EXPECT_FALSE(reader.SelectSession(lBare));
    EXPECT_TRUE(reader.LastError().startsWith(
        QString("The channel table registered with session %1 cannot be read: ").arg(lBare)));
    EXPECT_EQ(reader.ChannelTable().GetRowCount(), 0);
}

TEST_P(CSessionReaderTest, EachConfigurationThatCannotBeReadIsNamed)
{
    m_pDb = OpenConnection();
    CDBSessionControler sessions(*m_pDb);
    CDBSessionData data = sessions.GetData(m_lSession);
    const QStringList ids = MdaTest::Fields(data).mid(13); // the limit file's, the table's
    long lBadLimit = 0, lBadChannel = 0, lTwin = 0;
    ASSERT_TRUE(sessions.AddLimitValuesFileData("no json", lBadLimit) &&
                sessions.AddChannelSettingsFileData("no json", lBadChannel));
    const long lLimit = ids[0].toLong(), lChannel = ids[1].toLong();
    const QString sGone = Path("gone.json"), sNo = QString::number(m_lSession);
    const QString sUnread = "The %1 registered with session " + sNo + " cannot be read";
    CSessionReader reader;
    ASSERT_TRUE(reader.Open(Database().Name(), Database().User(), Database().Password()));
    for (const auto& [sChannelFile, sLimitFile, lLimitId, lChannelId, sError] :
         std::vector<std::tuple<QString, QString, long, long, QString>>{
             {sGone, "", lLimit, lChannel, "Cannot read the channel table \"" + sGone + '"'},
             {"", sGone, lLimit, lChannel, "Cannot read the limits \"" + sGone + '"'},
             {"", "", lLimit, 0, "Session " + sNo + " has no registered channel table"},
             {"", "", 0, lChannel, "Session " + sNo + " has no registered limit file"},
             {"", "", lLimit, lBadChannel, sUnread.arg("channel table")},
             {"", "", lBadLimit, lChannel, sUnread.arg("limit file")},
             {"", "", 999, lChannel,
              sUnread.arg("limit file") +
                  ": No file with content is registered under the key \"999\""}})
    {
        data.SetAssociatedFiles(lLimitId, lChannelId);
        ASSERT_TRUE(sessions.Update(data));
        reader.SetChannelTableFile(sChannelFile);
        reader.SetLimitFile(sLimitFile);
        EXPECT_EQ(reader.SelectSession(m_lSession) ? "selected" : reader.LastError(), sError);
    }
    // A unique id that two sessions share names neither.
    ASSERT_TRUE(sessions.CreateCopy(data, lTwin));
    EXPECT_EQ(reader.SelectSession(" Uid-Reader ") ? "selected" : reader.LastError(),
              "Several sessions have the unique id \"Uid-Reader\"; name one by its number");
}

TEST_P(CSessionReaderTest, DroppedConnectionInTheMiddleOfAReadIsAFailureNotTheEnd)
{
    if (GetParam() != MdaTest::EBackend::PostgreSql)
    {
        GTEST_SKIP() << "a server connection";
    }
    CSessionReader reader;
    ASSERT_TRUE(reader.Open(Database().Name(), Database().User(), Database().Password()));
    ASSERT_TRUE(reader.SelectSession(m_lSession));
    long lRows = 0;
    const bool bRead = reader.ForEachRow(
        [&](const CSessionReader::SRow&)
        {
            if (++lRows == 2)
            {
                Database().ExecuteDirect(
                    "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = "
                    "current_database() AND pid <> pg_backend_pid()");
            }
            return true;
        });
    // Rows the driver had already fetched may all come; a shorter read never passes as whole.
    EXPECT_TRUE(bRead ? lRows == m_lRows : !reader.LastError().isEmpty())
        << lRows << " rows, error \"" << reader.LastError().toStdString() << '"';
    // The next read is made on a new connection, or fails with the reason: never a part.
    lRows = 0;
    EXPECT_TRUE(!reader.ForEachRow([&](const CSessionReader::SRow&) { return ++lRows > 0; }) ||
                lRows == m_lRows)
        << lRows << " rows";
}

// Overwrites the middle fifth of a closed SQLite file: pages of the measurement table and its
// indexes, which every full read of the session passes through.
void DamageMiddlePages(const QString& sPath)
{
    QFile file(sPath);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 llPage = 4096;
    const qint64 llPages = file.size() / llPage;
    ASSERT_GT(llPages, 10);
    for (qint64 p = llPages * 2 / 5; p < llPages * 3 / 5; ++p)
    {
        file.seek(p * llPage);
        file.write(QByteArray(static_cast<int>(llPage), '\xA5'));
    }
}

TEST_P(CSessionReaderTest, DamagedPageFailsTheLoadBothCsvFormsAndTheReader)
{
    if (GetParam() != MdaTest::EBackend::Sqlite)
    {
        GTEST_SKIP() << "a damaged file";
    }
    // Enough rows to spread the table over many pages.
    m_pDb = OpenConnection();
    {
        OrvelFramework::CDatabaseTransaction scope(*m_pDb);
        for (int i = 0; i < 4000; ++i)
        {
            Store(10, i % 3, 8, QString::number(40 + i % 30) + " dBuV");
        }
        ASSERT_TRUE(scope.Commit());
    }
    m_pDb.reset();
    // A model loaded before the damage reads its CSV lines afresh from the file.
    CMeasurementResultData loaded(m_lSession, eLevelUnit_dBuV);
    ASSERT_TRUE(loaded.LoadData(m_Config)) << loaded.LastError().toStdString();
    ASSERT_EQ(loaded.GetScanDataAsCSV().size(), m_lRows - 2 * c_iScans); // not channel 9
    loaded.GetDatabase().Close();
    DamageMiddlePages(Database().Name());
    ASSERT_TRUE(loaded.GetDatabase().Open()) << loaded.GetDatabase().LastError().toStdString();
    EXPECT_TRUE(loaded.GetScanDataAsCSV().isEmpty() && loaded.LastError().contains("malformed"))
        << loaded.LastError().toStdString();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_FALSE(loaded.WriteCSVExport(buffer));
    EXPECT_TRUE(loaded.LastError().contains("malformed")) << loaded.LastError().toStdString();

    CMeasurementResultData model(m_lSession, eLevelUnit_dBuV);
    EXPECT_FALSE(model.LoadData(m_Config));
    EXPECT_TRUE(model.LastError().contains("malformed")) << model.LastError().toStdString();
    EXPECT_EQ(model.GetNumberOfErrorsInSession(), 0);

    CSessionReader reader;
    if (reader.Open(Database().Name(), QString(), QString()) && reader.SelectSession(m_lSession))
    {
        long lRows = 0;
        EXPECT_FALSE(reader.ForEachRow([&](const CSessionReader::SRow&) { return ++lRows > 0; }));
        QString sError;
        EXPECT_FALSE(CMeasurementResultData::WriteCSVExport(reader, buffer, sError));
        EXPECT_TRUE(sError.contains("malformed")) << sError.toStdString();
    }
    EXPECT_TRUE(reader.LastError().contains("malformed")) << reader.LastError().toStdString();
}

} // namespace

MDA_INSTANTIATE_BACKEND_TESTS(CSessionReaderTest);

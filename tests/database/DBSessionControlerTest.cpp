#include "CDBExportFilesController.h"
#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "COSAbstraction.h"
#include "CTableExportedLimitValues.h"
#include "DBControllerTestBase.h"

using namespace LumoraMeasurement;
using OrvelFramework::COSAbstraction;

namespace
{

using CDBSessionControlerTest = MdaTest::CDBControllerTest;

bool IsNow(const QString& sStamp, const QString& sBefore)
{
    return sStamp == sBefore || sStamp == COSAbstraction::GetFormattedDateTime();
}

TEST_P(CDBSessionControlerTest, CreateRegistersBothFilesUpdateStampsLastRun)
{
    CDBSessionControler sessions(Db());
    // One limit file ahead, so that swapped file ids point at the wrong row.
    long lFirstLimit = 0;
    ASSERT_TRUE(sessions.AddLimitValuesFileToDB(WriteFile("old.json", "old"), lFirstLimit));
    const QString sChannel = WriteFile("channels.json", "{\"channels\":[]}");
    const QString sLimit = WriteFile("limits.bin", MdaTest::AllBytes());

    long lId = 0;
    const QString sNow = COSAbstraction::GetFormattedDateTime();
    ASSERT_TRUE(sessions.Create(lId, "uid", "desc", sChannel, sLimit, "testPoint", "site", "mail",
                                "eNr", "name", "tNr", "hw", "fw", "sw", "serial", "owner"));
    CDBSessionData data = sessions.GetData(lId);
    EXPECT_EQ(data.GetSessionId(), lId);
    EXPECT_TRUE(IsNow(data.FirstRun(), sNow));
    EXPECT_TRUE(data.LastRun().isEmpty());
    const QStringList fields = MdaTest::Fields(data);
    EXPECT_EQ(fields.mid(0, 13), QStringList({"uid", "desc", "site", "testPoint", "name", "eNr",
                                              "tNr", "mail", "hw", "fw", "sw", "serial", "owner"}));
    EXPECT_EQ(fields[13], QString::number(lFirstLimit + 1));

    const QString sOutLimit = m_Files.filePath("out/limits.bin");
    const QString sOutChannel = m_Files.filePath("out/deeper/channels.json");
    EXPECT_TRUE(sessions.GetLimitValuesFileFromDB(fields[13], sOutLimit));
    EXPECT_TRUE(sessions.GetChannelSettingsFileFromDB(fields[14], sOutChannel));
    EXPECT_EQ(MdaTest::ReadBytes(sOutLimit), MdaTest::AllBytes());
    EXPECT_EQ(MdaTest::ReadBytes(sOutChannel), QByteArray("{\"channels\":[]}"));
    EXPECT_EQ(sessions.GetFileHashValue(sOutLimit), MdaTest::c_pszAllBytesMd5);
    EXPECT_EQ(MdaTest::Fields(sessions.GetData(lId + 1)).join(QString()), QString());
    EXPECT_EQ(sessions.GetData(lId + 1).GetSessionId(), lId + 1);

    // Update keeps the unique id and the first run, and stamps the last run.
    const QString sFirstRun = data.FirstRun();
    data.SetUniqueIdentifier("changed");
    data.SetFirstRun("changed");
    data.SetDescription("after");
    data.SetSessionLocationData("s2", "t2");
    data.SetSessionUserData("n2", "e2", "t2", "m2");
    data.SetHardwareInfoData("h2", "f2", "w2", "r2", "o2");
    data.SetAssociatedFiles(12, 5);
    const QString sUpdated = COSAbstraction::GetFormattedDateTime();
    ASSERT_TRUE(sessions.Update(data));
    const CDBSessionData read = sessions.GetData(lId);
    EXPECT_EQ(read.FirstRun(), sFirstRun);
    EXPECT_TRUE(IsNow(read.LastRun(), sUpdated));
    EXPECT_EQ(MdaTest::Fields(read), QStringList({"uid", "after", "s2", "t2", "n2", "e2", "t2",
                                                  "m2", "h2", "f2", "w2", "r2", "o2", "12", "5"}));
    for (long lBad : {0L, -1L})
    {
        data.SetSessionId(lBad);
        EXPECT_FALSE(sessions.Update(data));
    }
}

TEST_P(CDBSessionControlerTest, EveryRegistrationIsANewRowAndEmptyOnesCannotBeWrittenBack)
{
    CDBSessionControler sessions(Db());
    const QString sPath = WriteFile("limits.json", "{}");
    long lFirst = 0, lSecond = 0, lMissing = 0, lEmpty = 0;
    ASSERT_TRUE(sessions.AddLimitValuesFileToDB(sPath, lFirst));
    ASSERT_TRUE(sessions.AddLimitValuesFileToDB(sPath, lSecond));
    EXPECT_NE(lFirst, lSecond);
    OrvelFramework::CTableExportedLimitValues table(Db());
    for (long lId : {lFirst, lSecond})
    {
        QStringList hashes;
        for (const auto& pair : table.Get(QString::number(lId)))
        {
            hashes << (pair.GetColumn() == table.c_sColumnHash ? pair.GetValue() : QString());
        }
        EXPECT_TRUE(hashes.contains("99914b932bd37a50b983c5e7c90ae93b"));
    }

    EXPECT_EQ(sessions.GetFileHashValue(m_Files.filePath("missing")), "");
    EXPECT_EQ(sessions.GetFileData(QString()), "");
    EXPECT_TRUE(sessions.AddChannelSettingsFileToDB(m_Files.filePath("missing"), lMissing));
    EXPECT_TRUE(sessions.AddChannelSettingsFileToDB(WriteFile("empty", ""), lEmpty));
    const QString sTarget = m_Files.filePath("restored");
    for (long lKey : {lMissing, lEmpty, 999L})
    {
        EXPECT_FALSE(sessions.GetChannelSettingsFileFromDB(QString::number(lKey), sTarget));
    }
    EXPECT_FALSE(QFile::exists(sTarget));
}

// Lists pad ids to six digits and count scans in the scan table; a single read takes the count
// column.
TEST_P(CDBSessionControlerTest, ListsPadIdsAndCountScans)
{
    const long lWithScans = CreateSession("with");
    const long lWithout = CreateSession("without");
    for (int i = 3; i <= 7; ++i)
    {
        CreateSession(QStringLiteral("s%1").arg(i));
    }
    Exec("INSERT INTO session (id, unique_id, description) VALUES (?, ?, ?)",
         {1234567, "big", "big one"});
    for (long lScan : {1L, 2L, 3L})
    {
        ASSERT_TRUE(CDBScanController(Db()).Create(lWithScans, lScan));
    }
    Exec("UPDATE session SET scan_count = ? WHERE id = ?", {9, qlonglong(lWithout)});
    CDBSessionControler sessions(Db());
    EXPECT_EQ(sessions.GetData(lWithout).ScanCount(), 9);
    EXPECT_EQ(sessions.GetHighestScanID(lWithScans), 3);

    QStringList ids{"stale"}, descriptions{"stale"};
    sessions.GetAll(QString(), ids, descriptions);
    ASSERT_EQ(ids.size(), 8);
    EXPECT_EQ(QStringList({ids[0], ids[6], ids[7]}), QStringList({"000001", "000007", "1234567"}));
    EXPECT_EQ(QStringList({descriptions[6], descriptions[7]}), QStringList({"s7", "big one"}));

    std::vector<CDBSessionData> list(1, CDBSessionData(99));
    sessions.ReadSessionData(QString(), list);
    ASSERT_EQ(list.size(), 8u);
    EXPECT_EQ(QVector<long>({list[0].GetSessionId(), list[0].ScanCount(), list[1].GetSessionId(),
                             list[1].ScanCount()}),
              QVector<long>({lWithScans, 3, lWithout, 0}));
    EXPECT_EQ(list[0].Description(), "with");
    sessions.ReadSessionData("WITHOUT", list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].GetSessionId(), lWithout);
}

// Each hostile text in every text column of its own session (and as the filter that must find
// exactly that session), as a measurement's value and error, and as an export file's id and
// description.
TEST_P(CDBSessionControlerTest, HostileTextsAreStoredAndFoundVerbatim)
{
    CreateSession("plain");
    CDBSessionControler sessions(Db());
    CDBMeasurementController measurements(Db());
    CDBExportFilesController files(Db());
    const QStringList texts = MdaTest::HostileTexts();
    for (const QString& sText : texts)
    {
        SCOPED_TRACE(sText.left(40).toStdString());
        const long lSession = CreateSession(sText);
        long lScan = 1, lId = 0;
        ASSERT_TRUE(CDBScanController(Db()).Create(lSession, lScan) &&
                    measurements.Create(lSession, 1, 0, lId));
        CDBMeasurement m(lSession, 1, 0, lId);
        m.SetMeasurementState(3);
        m.SetValue(sText);
        m.SetErrorDescription(sText);
        ASSERT_TRUE(measurements.Update(m) && files.Create(sText, "eA==", sText));

        QStringList expected{"uid-" + sText};
        while (expected.size() < 13)
        {
            expected.append(sText);
        }
        EXPECT_EQ(MdaTest::Fields(sessions.GetData(lSession)).mid(0, 13), expected);
        QStringList found, descriptions;
        sessions.GetAll(sText, found, descriptions);
        EXPECT_EQ(found, QStringList({QStringLiteral("%1").arg(lSession, 6, 10, QChar('0'))}));
        EXPECT_EQ(descriptions, QStringList({sText}));
        std::vector<CDBMeasurement> list;
        measurements.GetAllErrorsForSession(lSession, list);
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(QStringList({list[0].GetValue(), list[0].GetErrorDescription()}),
                  QStringList({sText, sText}));
        EXPECT_EQ(files.GetData(sText).GetDescription(), sText);
    }
    files.ReadAvailableFiles();
    ASSERT_EQ(files.GetRowCount(), static_cast<unsigned long>(texts.size()));
    for (int i = 0; i < texts.size(); ++i)
    {
        EXPECT_EQ(files.GetUniqueId(i) + files.GetDescription(i), texts[i] + texts[i]);
    }
}

MDA_INSTANTIATE_BACKEND_TESTS(CDBSessionControlerTest);

// The full constructor takes the channel file id before the limit file id.
TEST(CDBSessionData, FullConstructorTakesChannelFileBeforeLimitFile)
{
    const CDBSessionData s(9, "uid", "desc", "first", "last", "site", "tp", "name", "enr", "tnr",
                           "mail", "hw", "fw", "sw", "snr", "owner", 17, "channel", "limit");
    EXPECT_EQ(MdaTest::Fields(s),
              QStringList({"uid", "desc", "site", "tp", "name", "enr", "tnr", "mail", "hw", "fw",
                           "sw", "snr", "owner", "limit", "channel"}));
    EXPECT_EQ(QStringList({s.FirstRun(), s.LastRun()}), QStringList({"first", "last"}));
    EXPECT_EQ(s.ScanCount(), 17);
}

} // namespace

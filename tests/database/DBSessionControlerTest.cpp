#include "CDBScanController.h"
#include "CDBSessionControler.h"
#include "COSAbstraction.h"
#include "CTableExportedLimitValues.h"
#include "DBControllerTestBase.h"

using namespace LumoraMeasurement;
using OrvelFramework::COSAbstraction;

namespace
{

class CDBSessionControlerTest : public MdaTest::CDBControllerTest
{
protected:
    /// A session with s in every text column but the unique id.
    long CreateSession(const QString& s)
    {
        long lId = 0;
        EXPECT_TRUE(CDBSessionControler(Db()).Create(lId, "uid-" + s, s, QString(), QString(), s, s,
                                                     s, s, s, s, s, s, s, s, s));
        return lId;
    }
    static bool IsNow(const QString& sStamp, const QString& sBefore)
    {
        return sStamp == sBefore || sStamp == COSAbstraction::GetFormattedDateTime();
    }
};

TEST_P(CDBSessionControlerTest, CreateRegistersBothFilesAndGetDataReadsEveryField)
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
    const CDBSessionData data = sessions.GetData(lId);
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
    EXPECT_EQ(ReadFile(sOutLimit), MdaTest::AllBytes());
    EXPECT_EQ(ReadFile(sOutChannel), QByteArray("{\"channels\":[]}"));
    EXPECT_EQ(sessions.GetFileHashValue(sOutLimit), MdaTest::c_pszAllBytesMd5);

    const CDBSessionData missing = sessions.GetData(lId + 1);
    EXPECT_EQ(missing.GetSessionId(), lId + 1);
    EXPECT_EQ(MdaTest::Fields(missing).join(QString()), QString());
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
        const auto rows = table.Get(QString::number(lId));
        EXPECT_TRUE(std::any_of(rows.begin(), rows.end(),
                                [&table](const auto& pair)
                                {
                                    return pair.GetColumn() == table.c_sColumnHash &&
                                           pair.GetValue() == "99914b932bd37a50b983c5e7c90ae93b";
                                }));
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

TEST_P(CDBSessionControlerTest, UpdateStampsLastRunAndKeepsIdentity)
{
    CDBSessionControler sessions(Db());
    const long lId = CreateSession("before");
    CDBSessionData data = sessions.GetData(lId);
    const QString sFirstRun = data.FirstRun();
    data.SetUniqueIdentifier("changed");
    data.SetFirstRun("changed");
    data.SetDescription("after");
    data.SetSessionLocationData("s2", "t2");
    data.SetSessionUserData("n2", "e2", "t2", "m2");
    data.SetHardwareInfoData("h2", "f2", "w2", "r2", "o2");
    data.SetAssociatedFiles(12, 5);
    const QString sNow = COSAbstraction::GetFormattedDateTime();
    ASSERT_TRUE(sessions.Update(data));

    const CDBSessionData read = sessions.GetData(lId);
    EXPECT_EQ(read.FirstRun(), sFirstRun);
    EXPECT_TRUE(IsNow(read.LastRun(), sNow));
    EXPECT_EQ(MdaTest::Fields(read),
              QStringList({"uid-before", "after", "s2", "t2", "n2", "e2", "t2", "m2", "h2", "f2",
                           "w2", "r2", "o2", "12", "5"}));
    for (long lBad : {0L, -1L})
    {
        data.SetSessionId(lBad);
        EXPECT_FALSE(sessions.Update(data));
    }
}

TEST_P(CDBSessionControlerTest, GetAllPadsIdsToSixDigits)
{
    for (int i = 1; i <= 7; ++i)
    {
        CreateSession(QStringLiteral("s%1").arg(i));
    }
    Exec("INSERT INTO session (id, unique_id, description) VALUES (?, ?, ?)",
         {1234567, "big", "big one"});
    QStringList ids{"stale"}, descriptions{"stale"};
    CDBSessionControler(Db()).GetAll(QString(), ids, descriptions);
    ASSERT_EQ(ids.size(), 8);
    EXPECT_EQ(QStringList({ids[0], ids[6], ids[7]}), QStringList({"000001", "000007", "1234567"}));
    EXPECT_EQ(QStringList({descriptions[6], descriptions[7]}), QStringList({"s7", "big one"}));
}

TEST_P(CDBSessionControlerTest, ReadSessionDataTakesScanCountsFromScanTable)
{
    const long lWithScans = CreateSession("with");
    const long lWithout = CreateSession("without");
    CDBScanController scans(Db());
    for (long lScan : {1L, 2L, 3L})
    {
        ASSERT_TRUE(scans.Create(lWithScans, lScan));
    }
    Exec("UPDATE session SET scan_count = ? WHERE id = ?", {9, qlonglong(lWithout)});
    CDBSessionControler sessions(Db());
    EXPECT_EQ(sessions.GetData(lWithout).ScanCount(), 9);
    EXPECT_EQ(sessions.GetHighestScanID(lWithScans), 3);

    std::vector<CDBSessionData> list(1, CDBSessionData(99));
    sessions.ReadSessionData(QString(), list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].GetSessionId(), lWithScans);
    EXPECT_EQ(list[0].ScanCount(), 3);
    EXPECT_EQ(list[0].Description(), "with");
    EXPECT_EQ(list[1].GetSessionId(), lWithout);
    EXPECT_EQ(list[1].ScanCount(), 0);
    sessions.ReadSessionData("WITHOUT", list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].GetSessionId(), lWithout);
}

// Each hostile text in every text column of its own session, and as the filter that must find
// exactly that session.
TEST_P(CDBSessionControlerTest, HostileTextsAreStoredAndFilteredVerbatim)
{
    CreateSession("plain");
    const QStringList texts = MdaTest::HostileTexts();
    std::vector<long> ids;
    for (const QString& sText : texts)
    {
        ids.push_back(CreateSession(sText));
    }
    CDBSessionControler sessions(Db());
    for (int i = 0; i < texts.size(); ++i)
    {
        SCOPED_TRACE(texts[i].left(40).toStdString());
        QStringList expected{"uid-" + texts[i]};
        while (expected.size() < 13)
        {
            expected.append(texts[i]);
        }
        EXPECT_EQ(MdaTest::Fields(sessions.GetData(ids[i])).mid(0, 13), expected);

        QStringList found, descriptions;
        sessions.GetAll(texts[i], found, descriptions);
        EXPECT_EQ(found, QStringList({QStringLiteral("%1").arg(ids[i], 6, 10, QChar('0'))}));
        EXPECT_EQ(descriptions, QStringList({texts[i]}));
    }
}

MDA_INSTANTIATE_BACKEND_TESTS(CDBSessionControlerTest);

} // namespace

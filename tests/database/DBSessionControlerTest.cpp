#include "CDBScanController.h"
#include "CDBSessionControler.h"
#include "COSAbstraction.h"
#include "CTableExportedLimitValues.h"
#include "DBControllerTestBase.h"

#include <QDir>

using namespace LumoraMeasurement;
using OrvelFramework::COSAbstraction;

namespace
{

QStringList Repeated(const QString& sText, int iTimes)
{
    QStringList list;
    for (int i = 0; i < iTimes; ++i)
    {
        list.append(sText);
    }
    return list;
}

class CDBSessionControlerTest : public MdaTest::CDBControllerTest
{
protected:
    long CreateSession(const QString& sDescription, const QString& sChannelFile = QString(),
                       const QString& sLimitFile = QString())
    {
        CDBSessionControler sessions(Db());
        long lId = 0;
        const QString s = sDescription;
        EXPECT_TRUE(sessions.Create(lId, "uid-" + s, s, sChannelFile, sLimitFile, s, s, s, s, s, s,
                                    s, s, s, s, s));
        return lId;
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
    const QString sBefore = COSAbstraction::GetFormattedDateTime();
    ASSERT_TRUE(sessions.Create(lId, "uid", "desc", sChannel, sLimit, "testPoint", "site", "mail",
                                "eNr", "name", "tNr", "hw", "fw", "sw", "serial", "owner"));
    const QString sAfter = COSAbstraction::GetFormattedDateTime();
    EXPECT_GE(lId, 1);

    const CDBSessionData data = sessions.GetData(lId);
    EXPECT_EQ(data.GetSessionId(), lId);
    EXPECT_EQ(data.UniqueIdentifier(), "uid");
    EXPECT_EQ(data.Description(), "desc");
    EXPECT_TRUE(data.FirstRun() == sBefore || data.FirstRun() == sAfter);
    EXPECT_TRUE(data.LastRun().isEmpty());
    EXPECT_EQ(data.ScanCount(), 0);
    QString a, b, c, d, e;
    data.GetSessionLocationData(a, b);
    EXPECT_EQ(QStringList({a, b}), QStringList({"site", "testPoint"}));
    data.GetSessionUserData(a, b, c, d);
    EXPECT_EQ(QStringList({a, b, c, d}), QStringList({"name", "eNr", "tNr", "mail"}));
    data.GetHardwareInfoData(a, b, c, d, e);
    EXPECT_EQ(QStringList({a, b, c, d, e}), QStringList({"hw", "fw", "sw", "serial", "owner"}));

    QString sLimitKey, sChannelKey;
    data.GetAssociatedFiles(sLimitKey, sChannelKey);
    EXPECT_EQ(sLimitKey, QString::number(lFirstLimit + 1));
    const QString sOutLimit = m_Files.filePath("out/limits.bin");
    const QString sOutChannel = m_Files.filePath("out/deeper/channels.json");
    EXPECT_TRUE(sessions.GetLimitValuesFileFromDB(sLimitKey, sOutLimit));
    EXPECT_TRUE(sessions.GetChannelSettingsFileFromDB(sChannelKey, sOutChannel));
    EXPECT_EQ(ReadFile(sOutLimit), MdaTest::AllBytes());
    EXPECT_EQ(ReadFile(sOutChannel), QByteArray("{\"channels\":[]}"));
    EXPECT_EQ(sessions.GetFileHashValue(sOutLimit), "b2ea9f7fcea831a4a63b213f41a8855b");
}

TEST_P(CDBSessionControlerTest, FileHashAndContentEncodings)
{
    CDBSessionControler sessions(Db());
    struct
    {
        QByteArray content;
        const char* pszMd5;
        const char* pszBase64;
    } const rows[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e", ""},
        {"a", "0cc175b9c0f1b6a831c399e269772661", "YQ=="},
        {"ab", "187ef4436122d1cc2f40dc2b92f0eba0", "YWI="},
        {"abc", "900150983cd24fb0d6963f7d28e17f72", "YWJj"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.content.toStdString());
        const QString sPath = WriteFile("f", row.content);
        EXPECT_EQ(sessions.GetFileHashValue(sPath), row.pszMd5);
        EXPECT_EQ(sessions.GetFileData(sPath), row.pszBase64);
    }
    EXPECT_EQ(sessions.GetFileHashValue(m_Files.filePath("missing")), "");
    EXPECT_EQ(sessions.GetFileData(m_Files.filePath("missing")), "");
    EXPECT_EQ(sessions.GetFileHashValue(QString()), "");
}

TEST_P(CDBSessionControlerTest, SameFileTwiceGivesTwoRowsWithEqualHash)
{
    CDBSessionControler sessions(Db());
    const QString sPath = WriteFile("limits.json", "{}");
    long lFirst = 0, lSecond = 0;
    ASSERT_TRUE(sessions.AddLimitValuesFileToDB(sPath, lFirst));
    ASSERT_TRUE(sessions.AddLimitValuesFileToDB(sPath, lSecond));
    EXPECT_NE(lFirst, lSecond);
    OrvelFramework::CTableExportedLimitValues table(Db());
    for (long lId : {lFirst, lSecond})
    {
        bool bHashSeen = false;
        for (const auto& pair : table.Get(QString::number(lId)))
        {
            if (pair.GetColumn() == table.c_sColumnHash)
            {
                EXPECT_EQ(pair.GetValue(), "99914b932bd37a50b983c5e7c90ae93b");
                bHashSeen = true;
            }
        }
        EXPECT_TRUE(bHashSeen);
    }
}

TEST_P(CDBSessionControlerTest, UnreadableOrEmptyFileCannotBeWrittenBack)
{
    CDBSessionControler sessions(Db());
    long lMissing = 0, lEmpty = 0;
    EXPECT_TRUE(sessions.AddChannelSettingsFileToDB(m_Files.filePath("missing"), lMissing));
    EXPECT_TRUE(sessions.AddChannelSettingsFileToDB(WriteFile("empty", ""), lEmpty));
    const QString sTarget = m_Files.filePath("restored");
    EXPECT_FALSE(sessions.GetChannelSettingsFileFromDB(QString::number(lMissing), sTarget));
    EXPECT_FALSE(sessions.GetChannelSettingsFileFromDB(QString::number(lEmpty), sTarget));
    EXPECT_FALSE(sessions.GetChannelSettingsFileFromDB("999", sTarget));
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
    const QString sBefore = COSAbstraction::GetFormattedDateTime();
    ASSERT_TRUE(sessions.Update(data));
    const QString sAfter = COSAbstraction::GetFormattedDateTime();

    const CDBSessionData read = sessions.GetData(lId);
    EXPECT_EQ(read.UniqueIdentifier(), "uid-before");
    EXPECT_EQ(read.FirstRun(), sFirstRun);
    EXPECT_TRUE(read.LastRun() == sBefore || read.LastRun() == sAfter);
    EXPECT_EQ(read.Description(), "after");
    QString a, b, c, d, e;
    read.GetSessionLocationData(a, b);
    EXPECT_EQ(QStringList({a, b}), QStringList({"s2", "t2"}));
    read.GetSessionUserData(a, b, c, d);
    EXPECT_EQ(QStringList({a, b, c, d}), QStringList({"n2", "e2", "t2", "m2"}));
    read.GetHardwareInfoData(a, b, c, d, e);
    EXPECT_EQ(QStringList({a, b, c, d, e}), QStringList({"h2", "f2", "w2", "r2", "o2"}));
    read.GetAssociatedFiles(a, b);
    EXPECT_EQ(QStringList({a, b}), QStringList({"12", "5"}));

    for (long lBad : {0L, -1L})
    {
        data.SetSessionId(lBad);
        EXPECT_FALSE(sessions.Update(data));
    }
}

TEST_P(CDBSessionControlerTest, GetDataOfMissingSessionCarriesOnlyTheId)
{
    const CDBSessionData data = CDBSessionControler(Db()).GetData(77);
    EXPECT_EQ(data.GetSessionId(), 77);
    EXPECT_TRUE(data.UniqueIdentifier().isEmpty());
    EXPECT_TRUE(data.Description().isEmpty());
    EXPECT_EQ(data.ScanCount(), 0);
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
    EXPECT_EQ(ids[0], "000001");
    EXPECT_EQ(ids[6], "000007");
    EXPECT_EQ(ids[7], "1234567");
    EXPECT_EQ(descriptions[6], "s7");
    EXPECT_EQ(descriptions[7], "big one");
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
    Exec("UPDATE session SET scan_count = ? WHERE id = ?", {9, static_cast<qlonglong>(lWithout)});
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

// Each hostile text as every text column of its own session, and as the filter that must
// find exactly that session.
TEST_P(CDBSessionControlerTest, HostileTextsAreStoredAndFilteredVerbatim)
{
    CreateSession("plain");
    std::vector<long> ids;
    for (const QString& sText : MdaTest::HostileTexts())
    {
        ids.push_back(CreateSession(sText));
    }
    CDBSessionControler sessions(Db());
    const QStringList texts = MdaTest::HostileTexts();
    for (int i = 0; i < texts.size(); ++i)
    {
        SCOPED_TRACE(texts[i].left(40).toStdString());
        const CDBSessionData data = sessions.GetData(ids[i]);
        EXPECT_EQ(data.UniqueIdentifier(), "uid-" + texts[i]);
        QString a, b, c, d, e;
        data.GetSessionLocationData(a, b);
        EXPECT_EQ(QStringList({a, b}), QStringList({texts[i], texts[i]}));
        data.GetSessionUserData(a, b, c, d);
        EXPECT_EQ(QStringList({a, b, c, d}), Repeated(texts[i], 4));
        data.GetHardwareInfoData(a, b, c, d, e);
        EXPECT_EQ(QStringList({a, b, c, d, e}), Repeated(texts[i], 5));

        QStringList found, descriptions;
        sessions.GetAll(texts[i], found, descriptions);
        EXPECT_EQ(found, QStringList({QStringLiteral("%1").arg(ids[i], 6, 10, QChar('0'))}));
        EXPECT_EQ(descriptions, QStringList({texts[i]}));
    }
    QStringList all, descriptions;
    sessions.GetAll(QString(), all, descriptions);
    EXPECT_EQ(all.size(), texts.size() + 1);
}

MDA_INSTANTIATE_BACKEND_TESTS(CDBSessionControlerTest);

} // namespace

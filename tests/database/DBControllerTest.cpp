#include "CDBExportFilesController.h"
#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "CDatabaseTransaction.h"
#include "COSAbstraction.h"
#include "CTableExportedLimitValues.h"
#include "DBControllerTestBase.h"

#include <functional>
#include <stdexcept>

using namespace LumoraMeasurement;
using OrvelFramework::COSAbstraction;

namespace
{

using CDBSessionControlerTest = MdaTest::CDBControllerTest;

bool IsNow(const QString& sStamp, const QString& sBefore)
{
    return sStamp == sBefore || sStamp == COSAbstraction::GetFormattedDateTime();
}

/// Reads the list of export files and gives each as "id|description".
QStringList Listed(CDBExportFilesController& files)
{
    files.ReadAvailableFiles();
    QStringList listed;
    for (unsigned long i = 0; i < files.GetRowCount(); ++i)
    {
        listed << files.GetUniqueId(i) + '|' + files.GetDescription(i);
    }
    return listed;
}

TEST_P(CDBSessionControlerTest, RegisteredFilesAndSessionCreateUpdateCopy)
{
    CDBSessionControler sessions(Db());
    // Two limit files ahead, so that swapped file ids point at the wrong row; every
    // registration is a new row, even of the same file.
    const QString sPath = WriteFile("limits.json", "{}");
    long lFirst = 0, lSecond = 0, lMissing = 0, lEmpty = 0;
    ASSERT_TRUE(sessions.AddLimitValuesFileToDB(sPath, lFirst));
    ASSERT_TRUE(sessions.AddLimitValuesFileToDB(sPath, lSecond));
    EXPECT_NE(lFirst, lSecond);
    OrvelFramework::CTableExportedLimitValues table(Db());
    for (long lId : {lFirst, lSecond})
    {
        EXPECT_EQ(table.Get(QString::number(lId)).at(1).GetValue(),
                  "99914b932bd37a50b983c5e7c90ae93b");
    }
    const QString sChannel = WriteFile("channels.json", "{\"channels\":[]}");
    const QString sLimit = WriteFile("limits.bin", MdaTest::AllBytes());

    long lId = 0;
    const QString sNow = COSAbstraction::GetFormattedDateTime();
    ASSERT_TRUE(sessions.Create(lId, "uid", "desc", sChannel, sLimit, "testPoint", "site", "mail",
                                "eNr", "name", "tNr", "hw", "fw", "sw", "serial", "owner"));
    CDBSessionData data = sessions.GetData(lId);
    EXPECT_EQ(std::tuple(data.GetSessionId(), IsNow(data.FirstRun(), sNow), data.LastRun()),
              std::tuple(lId, true, QString()));
    const QStringList fields = MdaTest::Fields(data);
    EXPECT_EQ(fields.mid(0, 13), QStringList({"uid", "desc", "site", "testPoint", "name", "eNr",
                                              "tNr", "mail", "hw", "fw", "sw", "serial", "owner"}));
    EXPECT_EQ(fields[13], QString::number(lSecond + 1));

    const QString sOutLimit = m_Files.filePath("out/limits.bin");
    const QString sOutChannel = m_Files.filePath("out/deeper/channels.json");
    EXPECT_TRUE(sessions.GetLimitValuesFileFromDB(fields[13], sOutLimit));
    EXPECT_TRUE(sessions.GetChannelSettingsFileFromDB(fields[14], sOutChannel));
    EXPECT_EQ(MdaTest::ReadBytes(sOutLimit), MdaTest::AllBytes());
    EXPECT_EQ(MdaTest::ReadBytes(sOutChannel), QByteArray("{\"channels\":[]}"));
    EXPECT_EQ(sessions.GetFileHashValue(sOutLimit), MdaTest::c_pszAllBytesMd5);
    EXPECT_EQ(MdaTest::Fields(sessions.GetData(lId + 1)).join(QString()), QString());
    EXPECT_EQ(sessions.GetData(lId + 1).GetSessionId(), lId + 1);
    // A read that finds its row keeps the reason of the failure before it.
    EXPECT_TRUE(sessions.GetData(lId, data));
    EXPECT_EQ(sessions.LastError(), QString("There is no session %1 in the database").arg(lId + 1));

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
    data.SetSessionId(-1);
    EXPECT_FALSE(sessions.Update(data));

    // A copy (from another database) keeps every field as given, the runs and scan count too.
    CDBSessionData copied = read;
    copied.SetScanCount(6);
    long lCopy = 0;
    ASSERT_TRUE(sessions.CreateCopy(copied, lCopy));
    const CDBSessionData copy = sessions.GetData(lCopy);
    EXPECT_EQ(MdaTest::Fields(copy), MdaTest::Fields(copied));
    EXPECT_EQ(QStringList({copy.FirstRun(), copy.LastRun(), QString::number(copy.ScanCount())}),
              QStringList({copied.FirstRun(), copied.LastRun(), "6"}));

    // Missing and empty files are registered but cannot be written back.
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
    EXPECT_EQ(std::tuple(list[0].GetSessionId(), list[0].ScanCount(), list[0].Description(),
                         list[1].GetSessionId(), list[1].ScanCount()),
              std::tuple(lWithScans, 3, "with", lWithout, 0));
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
    QStringList listed;
    for (const QString& sText : MdaTest::HostileTexts())
    {
        SCOPED_TRACE(sText.left(40).toStdString());
        const long lSession = CreateSession(sText);
        long lScan = 1;
        ASSERT_TRUE(CDBScanController(Db()).Create(lSession, lScan) &&
                    files.Create(sText, "eA==", sText));
        MdaTest::Store(Db(), lSession, 1, 0, 0, 3, sText, sText);

        EXPECT_EQ(MdaTest::Fields(sessions.GetData(lSession)).mid(0, 13).join('|'),
                  "uid-" + sText + ('|' + sText).repeated(12));
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
        listed << sText + '|' + sText;
    }
    EXPECT_EQ(Listed(files), listed);
}

MDA_INSTANTIATE_BACKEND_TESTS(CDBSessionControlerTest);

using CDBScanControllerTest = MdaTest::CDBControllerTest;

TEST_P(CDBScanControllerTest, ScansPerSessionAscendingWithStateGivenOnUpdate)
{
    const long lSession = CreateSession();
    const long lOther = CreateSession();
    CDBScanController scans(Db());
    const QString sNow = COSAbstraction::GetFormattedDateTime();
    for (auto [lOf, lScan] : {std::pair(lSession, 5L), std::pair(lSession, 2L),
                              std::pair(lSession, 9L), std::pair(lOther, 1L)})
    {
        ASSERT_TRUE(scans.Create(lOf, lScan));
    }
    EXPECT_EQ(scans.GetScanIds(lSession), (std::vector<long>{2, 5, 9}));
    EXPECT_EQ(scans.GetNumberOfScans(lSession), 3);
    EXPECT_EQ(scans.GetScanIds(lOther), (std::vector<long>{1}));
    EXPECT_TRUE(scans.GetScanIds(lOther + 1).empty() && scans.GetNumberOfScans(lOther + 1) == 0);

    CDBScanData scan = scans.GetData(lSession, 5);
    EXPECT_EQ(QVector<long>({scan.GetScanId(), scan.GetSessionId(), scan.GetState()}),
              QVector<long>({5, lSession, -1}));
    EXPECT_TRUE(IsNow(scan.DateTime(), sNow));
    // The state comes from the argument, not from the record.
    scan.SetState(1);
    ASSERT_TRUE(Database().ExecuteDirect("UPDATE scan SET date_time = '2001-01-01 00:00:00'"));
    ASSERT_TRUE(scans.Update(scan, 2));
    EXPECT_FALSE(scans.Update(CDBScanData(lSession, 99), 0) ||
                 scans.Update(CDBScanData(lSession, 0), 0) ||
                 scans.Update(CDBScanData(lSession, -1), 0));
    const CDBScanData updated = scans.GetData(lSession, 5);
    EXPECT_EQ(updated.GetState(), 2);
    EXPECT_TRUE(IsNow(updated.DateTime(), sNow)) << "stamped by the update";

    // A missing scan reads as a fresh record stamped now.
    const CDBScanData missing = scans.GetData(lSession, 8);
    EXPECT_EQ(QVector<long>({missing.GetScanId(), missing.GetSessionId(), missing.GetState()}),
              QVector<long>({0, 0, -1}));
    EXPECT_FALSE(missing.DateTime().isEmpty());
}

MDA_INSTANTIATE_BACKEND_TESTS(CDBScanControllerTest);

using CDBExportFilesControllerTest = MdaTest::CDBControllerTest;

TEST_P(CDBExportFilesControllerTest, FileComesBackByteForByteAndIsReplacedById)
{
    CDBExportFilesController files(Db());
    const QString sFirst = WriteFile("package.zip", MdaTest::AllBytes());
    ASSERT_TRUE(files.CreateDbEntryFromFile("pkg", sFirst, "first"));
    const QString sTarget = m_Files.filePath("restored.zip");
    ASSERT_TRUE(files.GetMeasurementFileFromDb("pkg", sTarget));
    EXPECT_EQ(MdaTest::ReadBytes(sTarget), MdaTest::AllBytes());

    ASSERT_TRUE(files.CreateDbEntryFromFile("pkg", WriteFile("second", "abc"), "second"));
    EXPECT_EQ(Listed(files), QStringList({"pkg|second"}));
    ASSERT_TRUE(files.GetMeasurementFileFromDb("pkg", sTarget));
    EXPECT_EQ(MdaTest::ReadBytes(sTarget), QByteArray("abc"));

    EXPECT_FALSE(files.CreateDbEntryFromFile("other", m_Files.filePath("missing"), "d"));
    EXPECT_FALSE(files.GetMeasurementFileFromDb("pkg", m_Files.filePath("no/dir/file.zip")));
    EXPECT_FALSE(QFile::exists(m_Files.filePath("no")));

    // A missing id neither creates nor truncates the target.
    EXPECT_FALSE(files.GetMeasurementFileFromDb("absent", m_Files.filePath("new")) ||
                 QFile::exists(m_Files.filePath("new")) ||
                 files.GetMeasurementFileFromDb("absent", sTarget));
    EXPECT_EQ(MdaTest::ReadBytes(sTarget), QByteArray("abc"));
    EXPECT_EQ(files.GetData("absent").GetUniqueId(), "absent");

    // A stored text that decodes to no byte at all writes no file.
    ASSERT_TRUE(files.Create("void", "====", ""));
    EXPECT_FALSE(files.GetMeasurementFileFromDb("void", m_Files.filePath("void")));
    EXPECT_EQ(Db().LastError(),
              "Cannot write \"" + m_Files.filePath("void") + "\": no byte to write");
    EXPECT_FALSE(QFile::exists(m_Files.filePath("void")));
}

TEST_P(CDBExportFilesControllerTest, ListInStoringOrderWithCheckedIndex)
{
    CDBExportFilesController files(Db());
    ASSERT_TRUE(files.Create("b", "Yg==", "second letter") && files.Create("a", "YQ==", ""));
    CDBExportFiles c("c", "Yw==", "old");
    ASSERT_TRUE(files.Create(c.GetUniqueId(), c.GetExportFile(), c.GetDescription()));
    c.SetDescription("new");
    c.SetExportFile("Y2M=");
    ASSERT_TRUE(files.Update(c));
    EXPECT_FALSE(files.Update(CDBExportFiles("never stored", "eA==", "x")));

    EXPECT_EQ(files.GetRowCount(), 0u);
    // A second read replaces the first.
    files.ReadAvailableFiles();
    ASSERT_EQ(Listed(files), QStringList({"b|second letter", "a|", "c|new"}));
    EXPECT_EQ(files.GetData("c").GetExportFile(), "Y2M=");
    EXPECT_EQ(files.GetData("a").GetExportFile(), "YQ==");

    EXPECT_THROW(files.GetUniqueId(3), std::out_of_range);
    EXPECT_THROW(files.GetDescription(3), std::out_of_range);
    EXPECT_EQ(files.GetTimeOfLastUpdate(0) + files.GetTimeOfLastUpdate(3), "TODO0TODO3");
    files.Clear();
    EXPECT_EQ(files.GetRowCount(), 0u);
    EXPECT_THROW(files.GetUniqueId(0), std::out_of_range);
}

MDA_INSTANTIATE_BACKEND_TESTS(CDBExportFilesControllerTest);

using CDBFailureAndIdTest = MdaTest::CDBControllerTest;

// Ids of a large central database: 2^31 and beyond read back as 0 with 32-bit parses, which
// mixed rows of different sessions up and gave a session 0 scans.
TEST_P(CDBFailureAndIdTest, IdsAbove32BitsReadBackUnchanged)
{
    constexpr qint64 c_llSession = (qint64(1) << 31) + 1;
    constexpr qint64 c_llScan = (qint64(1) << 32) + 5;
    constexpr qint64 c_llChannel = (qint64(1) << 31) + 3;
    constexpr qint64 c_llMeasurement = (qint64(1) << 33) + 7;
    Exec("INSERT INTO session (id, unique_id, description) VALUES (?, ?, ?)",
         {c_llSession, "uid-big", "big"});
    long lScan = c_llScan;
    ASSERT_TRUE(CDBScanController(Db()).Create(c_llSession, lScan));
    Exec("INSERT INTO measurement (id, session_id, scan_id, channel_id, measurement_item, "
         "state, value, error_description) VALUES (?, ?, ?, ?, 8, 2, '1 dBmV', '')",
         {c_llMeasurement, c_llSession, c_llScan, c_llChannel});

    CDBMeasurementController measurements(Db());
    std::vector<CDBMeasurement> rows;
    measurements.GetAllResultsForSession(c_llSession, rows);
    ASSERT_EQ(rows.size(), 1u);
    for (const CDBMeasurement& m :
         {rows[0], measurements.GetData(c_llSession, c_llScan, c_llMeasurement)})
    {
        EXPECT_EQ(QVector<qint64>(
                      {m.GetMeasurementId(), m.GetSessionId(), m.GetScanId(), m.GetChannelId()}),
                  QVector<qint64>({c_llMeasurement, c_llSession, c_llScan, c_llChannel}));
    }
    rows.clear();
    measurements.GetMeasurementResultsForChannel(c_llSession, c_llChannel, 8, rows);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].GetMeasurementId(), c_llMeasurement);

    CDBScanController scans(Db());
    EXPECT_EQ(scans.GetScanIds(c_llSession), std::vector<long>{long(c_llScan)});
    EXPECT_EQ(scans.GetData(c_llSession, c_llScan).GetSessionId(), c_llSession);

    CDBSessionControler sessions(Db());
    std::vector<CDBSessionData> all;
    sessions.ReadSessionData("big", all);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(std::tuple(all[0].GetSessionId(), all[0].ScanCount()), std::tuple(c_llSession, 1));
    QStringList ids, descriptions;
    sessions.GetAll("big", ids, descriptions);
    EXPECT_EQ(ids, QStringList{QString::number(c_llSession)});
}

// A call that failed before its table was touched left the previous call's reason behind,
// so the user read why some other call had failed. A change the database refuses (as a
// read-only or locked file does; a trigger here) must not be reported as stored: the recorder
// would go on as if the value were kept.
TEST_P(CDBFailureAndIdTest, EveryFailureSaysWhyAndRefusedChangesChangeNothing)
{
    const long lSession = CreateSession("s");
    CDBSessionControler sessions(Db());
    CDBScanController scans(Db());
    CDBMeasurementController measurements(Db());
    CDBExportFilesController exports(Db());
    const QString sMissing = m_Files.filePath("missing.zip");
    const QString sNoFolder = m_Files.filePath("no/such/folder/out.zip");
    long lScan = 1, lMeasurement = 0;
    ASSERT_TRUE(scans.Create(lSession, lScan) && scans.Update(CDBScanData(lSession, lScan), 3));
    ASSERT_TRUE(measurements.Create(lSession, lScan, 4, lMeasurement));
    ASSERT_TRUE(exports.Create("pkg", "UEs=", "stored"));

    CDBSessionData data(0);
    const std::pair<std::function<bool()>, QString> c_Calls[] = {
        {[&] { return measurements.Update(CDBMeasurement(lSession, 1, 0, 0)); },
         "Cannot change measurement 0: measurement ids start at 1"},
        {[&] { return scans.Update(CDBScanData(lSession, 0), 1); },
         QString("Cannot change scan 0 of session %1: scan ids start at 1").arg(lSession)},
        {[&] { return sessions.Update(CDBSessionData(0)); },
         "Cannot change session 0: session ids start at 1"},
        {[&] { return sessions.GetData(lSession + 1, data); },
         QString("There is no session %1 in the database").arg(lSession + 1)},
        {[&] { return sessions.GetLimitValuesFileFromDB("4242", sMissing); },
         "No file with content is registered under the key \"4242\""},
        // A key is cut to 40 characters in the reason: it may be any text a caller was given.
        {[&] { return sessions.GetLimitValuesFileFromDB(QString(41, 'k'), sMissing); },
         "No limit file is stored under '" + QString(40, 'k') + "'"},
        {[&] { return sessions.GetChannelSettingsFileFromDB(QString(45, 'c'), sMissing); },
         "No channel table file is stored under '" + QString(40, 'c') + "'"},
        {[&] { return exports.GetMeasurementFileFromDb("nope", sMissing); },
         "No export file with content is stored under the id \"nope\""},
        {[&] { return exports.GetMeasurementFileFromDb("pkg", sNoFolder); },
         "Cannot write \"" + sNoFolder + "\": No such file or directory"},
        {[&] { return exports.CreateDbEntryFromFile("pkg2", sMissing, "x"); },
         "Cannot read \"" + sMissing + "\": No such file or directory"},
        // Opens, then fails its first read.
        {[&] { return !sessions.GetFileHashValue("/proc/self/mem").isEmpty(); },
         "Cannot read \"/proc/self/mem\": Input/output error"},
    };
    for (const auto& [call, sReason] : c_Calls)
    {
        // A stale reason that each call must replace; every controller tells the connection's.
        Db().Fail(QStringLiteral("an earlier failure"));
        EXPECT_FALSE(call()) << sReason.toStdString();
        EXPECT_EQ(sessions.LastError() + scans.LastError() + measurements.LastError() +
                      exports.LastError(),
                  sReason.repeated(4));
    }
    EXPECT_FALSE(QFile::exists(sMissing));
    // A connection that is not open fails a whole-session read, never gives an empty one.
    auto pClosed = Database().NewConnection();
    std::vector<CDBMeasurement> rows;
    EXPECT_FALSE(CDBMeasurementController(*pClosed).GetAllResultsForSession(lSession, rows));
    EXPECT_EQ(pClosed->LastError(), "The database is not open");

    Refuse({"session", "scan", "measurement", "export_file"}, {"INSERT", "UPDATE"});

    long lNext = lScan + 1, lNew = 0;
    const std::pair<const char*, std::function<bool()>> c_Refused[] = {
        {"session update", [&] { return sessions.Update(CDBSessionData(lSession)); }},
        {"scan update", [&] { return scans.Update(CDBScanData(lSession, lScan), 7); }},
        {"measurement update",
         [&] { return measurements.Update(CDBMeasurement(lSession, lScan, 4, lMeasurement)); }},
        {"export file update", [&] { return exports.Update(CDBExportFiles("pkg")); }},
        {"scan creation", [&] { return scans.Create(lSession, lNext); }},
        {"measurement creation", [&] { return measurements.Create(lSession, lScan, 5, lNew); }},
        {"export file creation", [&] { return exports.Create("pkg2", "UEs=", "new"); }},
    };
    for (const auto& [pszCall, call] : c_Refused)
    {
        SCOPED_TRACE(pszCall);
        EXPECT_FALSE(call());
        EXPECT_TRUE(Db().LastError().contains("refused")) << Db().LastError().toStdString();
        // Inside a transaction PostgreSQL spoils the whole scope; SQLite keeps the rest.
        OrvelFramework::CDatabaseTransaction transaction(Db());
        EXPECT_FALSE(call());
        EXPECT_EQ(transaction.Commit(), !Db().IsPostgreSql());
    }
    EXPECT_EQ(sessions.GetData(lSession).Description(), "s");
    EXPECT_EQ(scans.GetData(lSession, lScan).GetState(), 3);
    EXPECT_EQ(scans.GetScanIds(lSession), std::vector<long>{lScan});
    measurements.GetAllResultsForSession(lSession, rows);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].GetValue(), measurements.GetData(lSession, lScan, lMeasurement).GetValue());
    EXPECT_EQ(exports.GetData("pkg").GetDescription(), "stored");
    EXPECT_EQ(Listed(exports), QStringList({"pkg|stored"}));

    // A read the database cannot run is a failure with its reason, never an empty session.
    ASSERT_TRUE(Database().ExecuteDirect("ALTER TABLE scan RENAME TO scan_gone"));
    std::vector<CDBScanData> read(1, CDBScanData(lSession));
    Db().Fail(QStringLiteral("an earlier failure"));
    EXPECT_TRUE(!scans.GetAllData(lSession, read) && read.empty());
    EXPECT_TRUE(scans.LastError().contains("scan")) << scans.LastError().toStdString();
    std::vector<long> ids{7};
    EXPECT_TRUE(!scans.GetScanIds(lSession, ids) && ids.empty());
    // A key below 1 names no file and needs no read; a real key fails with the table.
    ASSERT_TRUE(Database().ExecuteDirect("ALTER TABLE exported_limit_values RENAME TO gone"));
    QByteArray bytes("stale");
    EXPECT_TRUE(sessions.GetRegisteredLimitValuesFile(" 0 ", bytes) && bytes.isEmpty());
    EXPECT_FALSE(sessions.GetRegisteredLimitValuesFile("7", bytes));
    ASSERT_TRUE(Database().ExecuteDirect("ALTER TABLE session RENAME TO session_gone"));
    EXPECT_TRUE(!sessions.GetSessionIdsByUniqueId("u", ids) && ids.empty());
}

MDA_INSTANTIATE_BACKEND_TESTS(CDBFailureAndIdTest);

} // namespace

#include "CDBExportFilesController.h"
#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "CDBSessionControler.h"
#include "CDatabaseTransaction.h"
#include "DBControllerTestBase.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlResult>

#include <functional>

using namespace LumoraMeasurement;

namespace
{

class CDBFailureAndIdTest : public MdaTest::CDBControllerTest
{
};

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
        EXPECT_EQ(m.GetMeasurementId(), c_llMeasurement);
        EXPECT_EQ(m.GetSessionId(), c_llSession);
        EXPECT_EQ(m.GetScanId(), c_llScan);
        EXPECT_EQ(m.GetChannelId(), c_llChannel);
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
    EXPECT_EQ(all[0].GetSessionId(), c_llSession);
    EXPECT_EQ(all[0].ScanCount(), 1);
    QStringList ids;
    QStringList descriptions;
    sessions.GetAll("big", ids, descriptions);
    EXPECT_EQ(ids, QStringList{QString::number(c_llSession)});
}

// A call that failed before its table was touched left the previous call's reason behind,
// so the user read why some other call had failed.
TEST_P(CDBFailureAndIdTest, EveryFailureSaysWhy)
{
    const long lSession = CreateSession("s");
    CDBSessionControler sessions(Db());
    CDBScanController scans(Db());
    CDBMeasurementController measurements(Db());
    CDBExportFilesController exports(Db());
    const QString sMissing = m_Files.filePath("missing.zip");
    const QString sNoFolder = m_Files.filePath("no/such/folder/out.zip");
    ASSERT_TRUE(exports.Create("pkg", "UEs=", "stored"));

    const struct
    {
        const char* m_pszCall;
        std::function<bool()> m_Call;
        std::function<QString()> m_LastError;
        QString m_sReason;
    } c_Calls[] = {
        {"measurement update with id 0",
         [&] { return measurements.Update(CDBMeasurement(lSession, 1, 0, 0)); },
         [&] { return measurements.LastError(); },
         "Cannot change measurement 0: measurement ids start at 1"},
        {"scan update with id 0", [&] { return scans.Update(CDBScanData(lSession, 0), 1); },
         [&] { return scans.LastError(); },
         QStringLiteral("Cannot change scan 0 of session %1: scan ids start at 1").arg(lSession)},
        {"session update with id 0", [&] { return sessions.Update(CDBSessionData(0)); },
         [&] { return sessions.LastError(); }, "Cannot change session 0: session ids start at 1"},
        {"session that does not exist",
         [&]
         {
             CDBSessionData data(0);
             return sessions.GetData(lSession + 1, data);
         },
         [&] { return sessions.LastError(); },
         QStringLiteral("There is no session %1 in the database").arg(lSession + 1)},
        {"limit file not registered",
         [&] { return sessions.GetLimitValuesFileFromDB("4242", sMissing); },
         [&] { return sessions.LastError(); },
         "No file with content is registered under the key \"4242\""},
        // A key is cut to 40 characters in the reason: it may be any text a caller was given.
        {"limit file key not a number",
         [&] { return sessions.GetLimitValuesFileFromDB(QString(41, 'k'), sMissing); },
         [&] { return sessions.LastError(); },
         "No limit file is stored under '" + QString(40, 'k') + "'"},
        {"channel table file key not a number",
         [&] { return sessions.GetChannelSettingsFileFromDB(QString(45, 'c'), sMissing); },
         [&] { return sessions.LastError(); },
         "No channel table file is stored under '" + QString(40, 'c') + "'"},
        {"export file not stored",
         [&] { return exports.GetMeasurementFileFromDb("nope", sMissing); },
         [&] { return exports.LastError(); },
         "No export file with content is stored under the id \"nope\""},
        {"export target folder missing",
         [&] { return exports.GetMeasurementFileFromDb("pkg", sNoFolder); },
         [&] { return exports.LastError(); },
         "Cannot write \"" + sNoFolder + "\": No such file or directory"},
        {"file to store missing",
         [&] { return exports.CreateDbEntryFromFile("pkg2", sMissing, "x"); },
         [&] { return exports.LastError(); },
         "Cannot read \"" + sMissing + "\": No such file or directory"},
    };
    for (const auto& row : c_Calls)
    {
        SCOPED_TRACE(row.m_pszCall);
        // A stale reason that each call must replace.
        Db().Fail(QStringLiteral("an earlier failure"));
        EXPECT_FALSE(row.m_Call());
        EXPECT_EQ(row.m_LastError(), row.m_sReason);
    }
    EXPECT_FALSE(QFile::exists(sMissing));
}

// A change the database refuses (as a read-only or locked file does; a trigger here) must not
// be reported as stored: the recorder would go on as if the value were kept.
TEST_P(CDBFailureAndIdTest, RefusedChangeReportsFalseAndChangesNothing)
{
    const long lSession = CreateSession("s");
    long lScan = 1;
    CDBSessionControler sessions(Db());
    CDBScanController scans(Db());
    CDBMeasurementController measurements(Db());
    CDBExportFilesController exports(Db());
    long lMeasurement = 0;
    ASSERT_TRUE(scans.Create(lSession, lScan) && scans.Update(CDBScanData(lSession, lScan), 3));
    ASSERT_TRUE(measurements.Create(lSession, lScan, 4, lMeasurement));
    ASSERT_TRUE(exports.Create("pkg", "UEs=", "stored"));
    const bool bPg = GetParam() == MdaTest::EBackend::PostgreSql;
    // Unprepared, on the same connection: PostgreSQL prepares no schema statements.
    const QSqlQuery* pAny = Db().GetPreparedQuery("SELECT 1");
    ASSERT_NE(pAny, nullptr);
    QSqlQuery direct(pAny->driver()->createResult());
    QStringList statements;
    if (bPg)
    {
        statements << "CREATE FUNCTION refuse() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION "
                      "'refused'; END $$ LANGUAGE plpgsql";
    }
    for (const QString sTable : {"session", "scan", "measurement", "export_file"})
    {
        for (const QString sChange : {"INSERT", "UPDATE"})
        {
            statements << QString(bPg ? "CREATE TRIGGER refuse_%2_%1 BEFORE %2 ON %1 FOR EACH ROW "
                                        "EXECUTE FUNCTION refuse()"
                                      : "CREATE TRIGGER refuse_%2_%1 BEFORE %2 ON %1 BEGIN "
                                        "SELECT RAISE(ABORT, 'refused'); END")
                              .arg(sTable, sChange);
        }
    }
    for (const QString& sStatement : statements)
    {
        ASSERT_TRUE(direct.exec(sStatement)) << direct.lastError().text().toStdString();
    }

    long lNext = lScan + 1;
    long lNew = 0;
    const std::pair<const char*, std::function<bool()>> c_Calls[] = {
        {"session update", [&] { return sessions.Update(CDBSessionData(lSession)); }},
        {"scan update", [&] { return scans.Update(CDBScanData(lSession, lScan), 7); }},
        {"measurement update",
         [&] { return measurements.Update(CDBMeasurement(lSession, lScan, 4, lMeasurement)); }},
        {"export file update", [&] { return exports.Update(CDBExportFiles("pkg")); }},
        {"scan creation", [&] { return scans.Create(lSession, lNext); }},
        {"measurement creation", [&] { return measurements.Create(lSession, lScan, 5, lNew); }},
        {"export file creation", [&] { return exports.Create("pkg2", "UEs=", "new"); }},
    };
    for (const auto& [pszCall, call] : c_Calls)
    {
        SCOPED_TRACE(pszCall);
        EXPECT_FALSE(call());
        EXPECT_TRUE(Db().LastError().contains("refused")) << Db().LastError().toStdString();
        // Inside a transaction PostgreSQL spoils the whole scope; SQLite keeps the rest.
        OrvelFramework::CDatabaseTransaction transaction(Db());
        EXPECT_FALSE(call());
        EXPECT_EQ(transaction.Commit(), !bPg);
    }
    EXPECT_EQ(sessions.GetData(lSession).Description(), "s");
    EXPECT_EQ(scans.GetData(lSession, lScan).GetState(), 3);
    EXPECT_EQ(scans.GetScanIds(lSession), std::vector<long>{lScan});
    std::vector<CDBMeasurement> rows;
    measurements.GetAllResultsForSession(lSession, rows);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].GetValue(), measurements.GetData(lSession, lScan, lMeasurement).GetValue());
    EXPECT_EQ(exports.GetData("pkg").GetDescription(), "stored");
    exports.ReadAvailableFiles();
    EXPECT_EQ(exports.GetRowCount(), 1u);
}

MDA_INSTANTIATE_BACKEND_TESTS(CDBFailureAndIdTest);

} // namespace

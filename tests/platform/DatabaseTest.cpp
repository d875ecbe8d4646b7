#include "CDatabaseTransaction.h"
#include "COSAbstraction.h"
#include "CTableCursor.h"
#include "CTableExportFiles.h"
#include "CTableExportedChannelSettings.h"
#include "CTableExportedLimitValues.h"
#include "CTableMeasurements.h"
#include "CTableScan.h"
#include "CTableSession.h"
#include "DatabaseTestBackend.h"
#include "TestDataTable.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace OrvelFramework;

namespace
{

// "column=value" of every pair, blank-separated; with a column, only that column's values.
QString Dump(const TableRows& rows, const QString& sColumn = QString())
{
    QStringList parts;
    for (const CTableRecordSet& pair : rows)
    {
        if (sColumn.isEmpty() || pair.GetColumn() == sColumn)
        {
            parts << (sColumn.isEmpty() ? pair.GetColumn() + '=' : QString()) + pair.GetValue();
        }
    }
    return parts.join(' ');
}

const auto N = [](long l) { return QString::number(l); };

// The ids, blank-separated.
QString Ids(const std::vector<long>& ids)
{
    QStringList parts;
    std::transform(ids.begin(), ids.end(), std::back_inserter(parts), N);
    return parts.join(' ');
}

TEST(CDatabaseMultiInstanceNames, NameSelectsBackendAndFile)
{
    const QString sFolder = COSAbstraction::GetUserDataPath("Vantrell", "Lumora2.0/Database") + '/';
    for (const QStringList& row : MdaTest::ReadDataTable("platform/database_names.tsv"))
    {
        SCOPED_TRACE(row[0].toStdString());
        CDatabaseMultiInstance db(row[0], "user", "password");
        EXPECT_EQ(db.IsPostgreSql() ? "PostgreSQL" : "SQLite", row[1]);
        EXPECT_EQ(db.GetDatabaseFilePath(), QString(row[2]).replace("{folder}/", sFolder));
        CDatabaseMultiInstance renamed("/old/m.sqlite", "", "");
        renamed.SetConnectionParameters(row[0], "user", "password");
        EXPECT_EQ(renamed.GetDatabaseFilePath(), db.GetDatabaseFilePath());
    }
    // A relative name opens under the user data folder, creating the folders it needs.
    const QString sSub = "mda-test-" + COSAbstraction::GetUniqueIdentifier();
    {
        CDatabaseMultiInstance db(sSub + "/deeper/m.sqlite", "", "");
        EXPECT_TRUE(db.Open()) << db.LastError().toStdString();
        EXPECT_TRUE(QFileInfo::exists(sFolder + sSub + "/deeper/m.sqlite"));
    }
    QDir(sFolder + sSub).removeRecursively();
}

class CDatabaseTest : public MdaTest::CDatabaseBackendTest
{
protected:
    void Prepare() override { m_pDb = OpenConnection(); }

    long NewSession(const TableRows& row = {})
    {
        long lId = 0;
        EXPECT_TRUE(CTableSession(*m_pDb).Create(row, lId)) << Why();
        return lId;
    }
    long Session(const QString& sText) { return NewSession({{"description", sText}}); }

    // The stored descriptions of sessions, "|"-separated; empty for a session that is not there.
    static QString Descriptions(CDatabaseMultiInstance& db, const std::vector<long>& ids)
    {
        QStringList parts;
        std::transform(ids.begin(), ids.end(), std::back_inserter(parts),
                       [&](long lId) { return Dump(CTableSession(db).Get(lId), "description"); });
        return parts.join('|');
    }

    // A new session with these scans, made in this order.
    long SessionWithScans(std::initializer_list<long> scans)
    {
        const long lSession = NewSession();
        for (long lScan : scans)
        {
            EXPECT_TRUE(CTableScan(*m_pDb).Create({{"session_id", N(lSession)}}, lScan)) << Why();
        }
        return lSession;
    }

    // A measurement whose value tells its item and state.
    long NewMeasurement(long lSession, long lScan, long lChannel, long lItem, long lState)
    {
        const TableRows row{
            {"session_id", N(lSession)}, {"scan_id", N(lScan)},
            {"channel_id", N(lChannel)}, {"measurement_item", N(lItem)},
            {"state", N(lState)},        {"value", QString("%1/%2 dB").arg(lItem).arg(lState)}};
        long lId = 0;
        EXPECT_TRUE(CTableMeasurements(*m_pDb).Create(row, lId)) << Why();
        return lId;
    }

    QString Error() const { return m_pDb->LastError(); }
    std::string Why() const { return Error().toStdString(); }

    std::unique_ptr<CDatabaseMultiInstance> m_pDb;
};

TEST_P(CDatabaseTest, ReopeningKeepsSchemaAndRowsButANewerSchemaIsRefused)
{
    const long lId = Session("kept");
    // Reopening, and ending a connection that holds statements, release the connection
    // first, or Qt warns that it is still in use.
    static QStringList s_lWarnings;
    s_lWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& s) { s_lWarnings << s; });
    ASSERT_TRUE(m_pDb->Open()) << "reopening the same instance";
    auto pSecond = OpenConnection();
    long lNext = 0, lRefused = 0, lFile = 0;
    EXPECT_TRUE(CTableSession(*pSecond).Create({{"description", "second"}}, lNext));
    EXPECT_GT(lNext, lId);
    EXPECT_EQ(Descriptions(*pSecond, {lId}) + Descriptions(*m_pDb, {lNext}), "keptsecond");

    // A reading connection sees what is stored and changes nothing.
    auto pReader = Database().NewConnection();
    ASSERT_TRUE(pReader->OpenForReading()) << pReader->LastError().toStdString();
    EXPECT_EQ(Descriptions(*pReader, {lId, lNext}), "kept|second");
    EXPECT_FALSE(CTableSession(*pReader).Create({{"description", "refused"}}, lRefused));
    EXPECT_EQ(pReader->LastError(),
              GetParam() == MdaTest::EBackend::Sqlite
                  ? "Cannot store the session: attempt to write a readonly database"
                  : "Cannot store the session: ERROR: cannot execute INSERT in a read-only "
                    "transaction (25006)");
    pReader.reset();
    qInstallMessageHandler(previous);
    EXPECT_EQ(s_lWarnings, QStringList());

    QSqlQuery* pQuery = m_pDb->GetPreparedQuery("UPDATE schema_version SET version = 2147483647");
    ASSERT_TRUE(pQuery != nullptr && m_pDb->Execute(*pQuery, "bump"));
    auto pNewer = Database().NewConnection();
    EXPECT_FALSE(pNewer->Open());
    EXPECT_EQ(pNewer->LastError(),
              "The database has schema version 2147483647; this library knows up to version 1");

    // A schema without its version row (made halfway by another tool) is completed.
    ASSERT_TRUE(Database().ExecuteDirect("DELETE FROM schema_version") &&
                Database().ExecuteDirect("DROP TABLE export_file"));
    EXPECT_TRUE(CTableExportFiles(*OpenConnection()).Create({{"unique_id", "u"}}, lFile));
}

TEST_P(CDatabaseTest, TransactionScopesCommitRollBackNestAndFailWhole)
{
    auto pObserver = OpenConnection();
    std::vector<long> ids;
    EXPECT_EQ(QStringList({m_pDb->Commit() ? "" : Error(), m_pDb->Rollback() ? "" : Error()}),
              QStringList({"Cannot commit: no transaction is active",
                           "Cannot roll back: no transaction is active"}));
    {
        CDatabaseTransaction outer(*m_pDb);
        ASSERT_TRUE(outer.IsActive());
        ids.push_back(Session("kept"));
        {
            CDatabaseTransaction inner(*m_pDb);
            EXPECT_EQ(m_pDb->GetTransactionDepth(), 2);
            ids.push_back(Session("inner kept"));
            EXPECT_TRUE(inner.Commit());
        }
        {
            CDatabaseTransaction inner(*m_pDb);
            ids.push_back(Session("inner dropped"));
        }
        EXPECT_EQ(Descriptions(*pObserver, ids), "||") << "not visible before the commit";
        EXPECT_TRUE(outer.Commit()) << Why();
        EXPECT_FALSE(outer.IsActive() || outer.Commit());
    }
    {
        // An inner commit means nothing when the outer scope ends without one.
        CDatabaseTransaction outer(*m_pDb);
        CDatabaseTransaction inner(*m_pDb);
        ids.push_back(Session("lost"));
        EXPECT_TRUE(inner.Commit());
    }
    EXPECT_EQ(m_pDb->GetTransactionDepth(), 0);
    EXPECT_EQ(Descriptions(*pObserver, ids), "kept|inner kept||");

    // After a failed statement the server discards the whole transaction, and the commit must
    // not claim otherwise.
    CTableScan scans(*m_pDb);
    bool bCommitted = false;
    {
        CDatabaseTransaction scope(*m_pDb);
        ASSERT_TRUE(scans.Create({{"session_id", N(ids[0])}}, 1));
        EXPECT_FALSE(scans.Create({{"session_id", N(ids[0])}}, 1));
        bCommitted = scope.Commit();
    }
    TableRows scanIds;
    ASSERT_TRUE(scans.GetScanIds(ids[0], scanIds));
    const bool bPostgreSql = m_pDb->IsPostgreSql();
    EXPECT_EQ(bCommitted, !bPostgreSql);
    EXPECT_EQ(scanIds.size(), bPostgreSql ? 0u : 1u);
    EXPECT_TRUE(!bPostgreSql ||
                Error().startsWith("The transaction was rolled back because a statement in it "
                                   "failed: Cannot store scan 1: "))
        << Why();
    EXPECT_TRUE(scans.Create({{"session_id", N(ids[0])}}, 2)) << "usable afterwards";

    // Closing inside a spoiled transaction leaves nothing of it to the next connection.
    {
        CDatabaseTransaction spoiled(*m_pDb);
        EXPECT_FALSE(scans.Create({{"session_id", N(ids[0])}}, 2));
        EXPECT_EQ(CTableSession(*m_pDb).LockForWriting(1), !bPostgreSql);
        m_pDb->Close();
        EXPECT_EQ(m_pDb->GetTransactionDepth(), 0);
    }
    ASSERT_TRUE(m_pDb->Open()) << Why();
    {
        CDatabaseTransaction fresh(*m_pDb);
        EXPECT_TRUE(scans.Create({{"session_id", N(ids[0])}}, 4));
        EXPECT_TRUE(fresh.Commit()) << Why();
    }

    // A commit the database itself refuses (a deferred check) leaves no transaction behind.
    ASSERT_TRUE(Database().ExecuteDirect(
        "CREATE TABLE deferred_check (id INTEGER PRIMARY KEY, ref INTEGER REFERENCES "
        "deferred_check (id) DEFERRABLE INITIALLY DEFERRED)"));
    for (const int iRef : {9, 1})
    {
        // The valid row takes the refused row's id: that one must be gone.
        CDatabaseTransaction scope(*m_pDb);
        ASSERT_TRUE(m_pDb->ExecutePrepared("INSERT INTO deferred_check (id, ref) VALUES (?, ?)",
                                           {1, iRef}, [] { return QString("insert"); }))
            << Why();
        EXPECT_EQ(scope.Commit(), iRef == 1) << Why();
        EXPECT_EQ(m_pDb->GetTransactionDepth(), 0);
    }
    EXPECT_TRUE(Error().startsWith("Cannot commit: ")) << Why();
}

TEST_P(CDatabaseTest, SessionRowsRoundTrip)
{
    CTableSession table(*m_pDb);
    const long lFirst = NewSession({{"unique_id", "u1"}});
    const long lSecond = NewSession({{CTableSession::c_sColumnUniquIid, "u2"},
                                     {CTableSession::c_sColumnDescription, "second"},
                                     {CTableSession::c_sColumnLimitFileID, "12"},
                                     {CTableSession::c_sColumnId, "77"}});
    EXPECT_EQ(N(lFirst) + ' ' + N(lSecond), "1 2") << "the database chooses the id";
    ASSERT_TRUE(table.Update(lSecond, {{"site", "roof"}, {"last_run", "2026-01-02 03:04:05"}}));
    EXPECT_EQ(Dump(table.Get(lSecond)),
              "id=" + N(lSecond) +
                  " unique_id=u2 description=second first_run= last_run=2026-01-02 03:04:05 "
                  "scan_count=0 site=roof test_point= name= e_number= t_number= e_mail= "
                  "hw_model= firmware_version= software_version= serial_nr= owner= "
                  "limit_file_id=12 channel_file_id=");
    EXPECT_TRUE(table.Get(lSecond + 100).empty());

    EXPECT_FALSE(table.Update(lSecond + 100, {{"site", "x"}}));
    EXPECT_EQ(Error(), "Cannot change session " + N(lSecond + 100) + ": there is no such row");
    EXPECT_FALSE(table.Update(lFirst, {{"no_such_column", "x"}}));
    EXPECT_EQ(Error(),
              "Cannot change session " + N(lFirst) + ": there is no column 'no_such_column'");
    EXPECT_FALSE(table.Update(lFirst, {{"scan_count", "many"}}));

    // Each set of columns has statements of its own, kept side by side: every insert and update
    // writes exactly its columns.
    const QStringList columns = {"site", "test_point", "name", "e_number", "t_number", "e_mail"};
    CDatabaseTransaction scope(*m_pDb);
    for (int iSet = 1; iSet < 1 << columns.size(); ++iSet)
    {
        SCOPED_TRACE(iSet);
        TableRows row, changed;
        QStringList expected;
        for (int c = 0; c < columns.size(); ++c)
        {
            const QString sValue = QStringLiteral("%1-%2").arg(c).arg(iSet);
            if ((iSet >> c & 1) != 0)
            {
                row.emplace_back(columns[c], sValue);
                changed.emplace_back(columns[c], sValue + 'u');
            }
            expected << columns[c] + '=' + ((iSet >> c & 1) != 0 ? sValue + 'u' : QString());
        }
        long lId = 0;
        ASSERT_TRUE(table.Create(row, lId) && table.Update(lId, changed)) << Why();
        EXPECT_EQ(Dump(table.Get(lId)).section(' ', 6, 11), expected.join(' '));
    }
    EXPECT_TRUE(scope.Commit()) << Why();
}

TEST_P(CDatabaseTest, SessionFilterIsCaseInsensitiveContainmentOverFiveColumns)
{
    std::vector<long> ids;
    for (const QStringList& row : MdaTest::ReadDataTable("platform/session_filter_seeds.tsv"))
    {
        ids.push_back(NewSession({{row[0], row[1]}}));
    }
    CTableSession table(*m_pDb);
    // Each filter with the positions among the seeds of the sessions it finds.
    for (const QStringList& row : MdaTest::ReadDataTable("platform/session_filter.tsv"))
    {
        SCOPED_TRACE(row[0].toStdString());
        std::vector<long> expected;
        std::transform(row[1].begin(), row[1].end(), std::back_inserter(expected),
                       [&](QChar c) { return ids.at(c.digitValue()); });
        TableRows all, idsOnly;
        ASSERT_TRUE(table.Get(row[0], all) && table.GetSessionIds(row[0], idsOnly));
        EXPECT_EQ(std::tuple(Dump(all, "id"), Dump(idsOnly, "id"), all.size(), idsOnly.size()),
                  std::tuple(Ids(expected), Ids(expected), expected.size() * 19, expected.size()));
    }
}

TEST_P(CDatabaseTest, ScansArePerSessionInAscendingOrder)
{
    const long lSession = SessionWithScans({7, 2, 5});
    const long lOther = SessionWithScans({2}); // the same scan id in another session
    CTableScan table(*m_pDb);
    // No such session; a session id that is no number (the last reason).
    EXPECT_FALSE(table.Create({{"session_id", "99"}}, 1) || table.Create({{"session_id", "x"}}, 1));
    EXPECT_TRUE(Error().endsWith("the column 'session_id' takes a whole number, not 'x'")) << Why();
    EXPECT_FALSE(table.Update(lSession, 5, {{"state", "2x"}})) << "SQLite would store the text";
    TableRows ids;
    ASSERT_TRUE(table.GetScanIds(lSession, ids));
    EXPECT_EQ(Dump(ids), "id=2 id=5 id=7");
    ASSERT_TRUE(table.Update(lSession, 5, {{"state", "2"}, {"date_time", "2026-12-06 10:00:00"}}));
    EXPECT_EQ(Dump(table.Get(lSession, 5)),
              "id=5 session_id=" + N(lSession) + " state=2 date_time=2026-12-06 10:00:00");
    EXPECT_FALSE(table.Update(lOther, 5, {{"state", "1"}}));
    EXPECT_TRUE(table.Get(lOther, 5).empty());

    CTableSession sessions(*m_pDb);
    EXPECT_EQ(sessions.GetHighestScanID(lSession), 7);
    EXPECT_EQ(sessions.GetHighestScanID(NewSession()), 0);
    QHash<qint64, qint64> counts;
    ASSERT_TRUE(
        sessions.GetScanCounts({{"id", N(lSession)}, {"id", N(lOther)}, {"id", "4242"}}, counts));
    EXPECT_EQ(counts, (QHash<qint64, qint64>{{lSession, 3}, {lOther, 1}, {4242, 0}}));
}

TEST_P(CDatabaseTest, MeasurementReadsSelectAndOrderRows)
{
    const long lSession = SessionWithScans({10, 4});
    const long lOther = SessionWithScans({4});
    // Scan 10 is recorded first: positions follow scan ids, not the order of recording.
    const long m1 = NewMeasurement(lSession, 10, 0, 15, 2);
    const long m2 = NewMeasurement(lSession, 10, 1, 15, 3);
    const long m3 = NewMeasurement(lSession, 4, 0, 15, 4);
    const long m4 = NewMeasurement(lSession, 4, 0, 16, 2);
    const long m5 = NewMeasurement(lOther, 4, 0, 15, 3);

    CTableMeasurements table(*m_pDb);
    ASSERT_TRUE(table.Update(lSession, 4, m3, {{"error_description", "no lock"}})) << Why();
    EXPECT_EQ(Dump(table.Get(lSession, 4, m3)),
              "id=" + N(m3) + " session_id=" + N(lSession) +
                  " scan_id=4 channel_id=0 measurement_item=15 state=4 value=15/4 dB "
                  "error_description=no lock");
    EXPECT_TRUE(table.Get(lSession, 10, m3).empty()) << "wrong scan";
    EXPECT_FALSE(table.Update(lOther, 4, m3, {{"value", "x"}}));

    // Reads whole rows, each ending with its error description, and compares their ids.
    const auto Check = [&](auto pRead, const std::vector<long>& expected, auto... args)
    {
        SCOPED_TRACE(testing::Message() << "expecting " << Ids(expected).toStdString());
        TableRows rows;
        ASSERT_TRUE((table.*pRead)(args..., rows)) << Why();
        EXPECT_EQ(Dump(rows, "id"), Ids(expected));
        ASSERT_EQ(rows.size(), expected.size() * 8);
        for (size_t i = 7; i < rows.size(); i += 8)
        {
            EXPECT_EQ(rows[i].GetColumn(), CTableMeasurements::c_sColumnErrorDescription);
        }
    };
    Check(&CTableMeasurements::GetAllResultsForSession, {m1, m2, m3, m4}, lSession);
    Check(&CTableMeasurements::GetAllErrorsForSession, {m2, m3}, lSession);
    Check(&CTableMeasurements::GetAllMeasurementsForChannel, {m3, m4}, lSession, 0L, 0L);
    Check(&CTableMeasurements::GetAllMeasurementsForChannel, {m1}, lSession, 1L, 0L);
    Check(&CTableMeasurements::GetAllMeasurementsForChannel, {}, lSession, 2L, 0L);
    Check(&CTableMeasurements::GetAllMeasurementsForChannel, {}, lSession, -1L, 0L);
    Check(&CTableMeasurements::GetMeasurementsForChannel, {m1, m3}, lSession, 0L, 15L);
    Check(&CTableMeasurements::GetAllResultsForSession, {m5}, lOther);

    EXPECT_EQ(table.GetAmountOfMeasurementValuesForChannel(lSession, 0), 3);
    EXPECT_EQ(table.GetAmountOfMeasurementValuesForChannel(lSession, 5), 0);
    // A measurement needs its scan.
    long lOrphan = 0;
    EXPECT_FALSE(table.Create({{"session_id", N(lSession)}, {"scan_id", "3"}, {"channel_id", "0"}},
                              lOrphan));
    for (const auto& [sColumn, sValue] : {std::pair("scan_id", "4x"), std::pair("state", "1.5")})
    {
        EXPECT_FALSE(table.Create({{"session_id", N(lSession)}, {sColumn, sValue}}, lOrphan));
        EXPECT_TRUE(Error().endsWith(
            QString("the column '%1' takes a whole number, not '%2'").arg(sColumn, sValue)))
            << Why();
    }

    // A cursor opened again lets go of its earlier read, also when the new one cannot run or
    // needs no statement (a scan position before the first is an empty read, no failure).
    CTableCursor cursor(*m_pDb);
    ASSERT_TRUE(table.OpenAllResultsForSession(lSession, cursor) && cursor.Next());
    EXPECT_FALSE(cursor.Open("SELECT id FROM nowhere", {}, [] { return QString("broken"); }));
    EXPECT_FALSE(cursor.Next());
    ASSERT_TRUE(table.OpenAllResultsForSession(lSession, cursor) && cursor.Next());
    EXPECT_TRUE(table.OpenAllMeasurementsForChannel(lSession, -1, 0, cursor));
    EXPECT_FALSE(cursor.Next());
    EXPECT_TRUE(cursor.Finish()) << Why();
}

TEST_P(CDatabaseTest, ExportFilesAreKeyedByUniqueIdRegisteredFilesByRowId)
{
    CTableExportFiles table(*m_pDb);
    long lFirst = 0, lSecond = 0;
    ASSERT_TRUE(
        table.Create({{"unique_id", "zeta"}, {"file", "QUJD"}, {"description", "first"}}, lFirst));
    ASSERT_TRUE(table.Create({{"unique_id", "alpha"}, {"description", "second"}}, lSecond));
    EXPECT_GT(lSecond, lFirst);
    EXPECT_FALSE(table.Create({{"unique_id", "zeta"}}, lFirst)) << "the id is unique";
    ASSERT_TRUE(table.Update("alpha", "RkFC", "changed"));
    EXPECT_EQ(Dump(table.Get("alpha")), "unique_id=alpha file=RkFC description=changed");
    EXPECT_TRUE(table.Get("ALPHA").empty());

    // A registered file reads back by its row id, with when it was added (no reader of ours
    // reads that column).
    const auto Registered = [&](auto&& files)
    {
        long lFile = 0;
        EXPECT_TRUE(files.Create({{"hash", "h"}, {"file", "Zg=="}, {"added", "Sun Dec 6"}}, lFile));
        return Dump(files.Get(N(lFile)));
    };
    EXPECT_EQ(Registered(CTableExportedLimitValues(*m_pDb)), "file=Zg== hash=h added=Sun Dec 6");
    EXPECT_EQ(Registered(CTableExportedChannelSettings(*m_pDb)),
              "file=Zg== hash=h added=Sun Dec 6");
}

MDA_INSTANTIATE_BACKEND_TESTS(CDatabaseTest);

// A loopback socket on a port of its own; with bListen it takes connections and never answers,
// without it is closed at once and leaves a port on which nothing listens.
int LoopbackPort(bool bListen, int* pSocket = nullptr)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    const bool bBound = bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0 &&
                        (!bListen || listen(fd, 4) == 0);
    pSocket != nullptr ? void(*pSocket = fd) : void(close(fd));
    return bBound ? ntohs(address.sin_port) : 0;
}

// How many of this process's file descriptors are open on sFile.
int OpenDescriptors(const QString& sFile)
{
    const QString sTarget = QFileInfo(sFile).canonicalFilePath();
    const QDir fds("/proc/self/fd");
    const QStringList names = fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    return int(std::count_if(names.begin(), names.end(),
                             [&](const QString& sName)
                             { return QFile::symLinkTarget(fds.filePath(sName)) == sTarget; }));
}

// Every table call on a connection that cannot be used fails without crashing; returns how
// many reported success.
int CountSuccessfulCalls(CDatabaseMultiInstance& db)
{
    long lId = 0;
    TableRows rows;
    CTableSession sessions(db);
    CTableScan scans(db);
    CTableMeasurements measurements(db);
    int iSucceeded = sessions.Create({{"description", "d"}}, lId) +
                     sessions.Update(1, {{"description", "d"}}) + !sessions.Get(1).empty() +
                     sessions.Get(QString(), rows) + (sessions.GetHighestScanID(1) != -1) +
                     scans.Create({{"session_id", "1"}}, 5) + scans.GetScanIds(1, rows) +
                     measurements.GetAllResultsForSession(1, rows) +
                     (measurements.GetAmountOfMeasurementValuesForChannel(1, 0) != -1) +
                     CTableExportFiles(db).Update("u", "f", "d");
    QHash<qint64, qint64> counts;
    CTableCursor cursor(db);
    const TableRows file{{"file", "f"}};
    iSucceeded += measurements.Create(1, 5, 0, lId) +
                  measurements.Update(1, 5, 1, 0, 1, 0, "v", "") +
                  measurements.Update(1, 5, 1, {{"value", "v"}}) +
                  measurements.CreateRows(1, {5, 0, 1, 0, "v", ""}) +
                  measurements.GetAllErrorsForSession(1, rows) +
                  measurements.GetAllMeasurementsForChannel(1, 0, 0, rows) +
                  measurements.GetMeasurementsForChannel(1, 0, 1, rows) +
                  measurements.OpenAllErrorsForSession(1, cursor) +
                  measurements.OpenAllResultsForSession(1, cursor) +
                  measurements.OpenAllMeasurementsForChannel(1, 0, 0, cursor) +
                  measurements.OpenMeasurementsForChannel(1, 0, 1, cursor) +
                  measurements.OpenMeasurementsByScanAndChannel(1, 1, 1, cursor) +
                  (measurements.GetAmountOfResultsForSession(1) != -1) +
                  scans.Update(1, 5, {{"state", "1"}}) + sessions.GetSessionIds(QString(), rows) +
                  sessions.GetScanCounts(rows, counts) + CTableExportFiles(db).Create(file, lId) +
                  CTableExportedLimitValues(db).Create(file, lId) +
                  CTableExportedChannelSettings(db).Create(file, lId);
    // Last: the tests read its reason.
    iSucceeded += CDatabaseTransaction(db).IsActive();
    EXPECT_TRUE(rows.empty() && counts.isEmpty());
    return iSucceeded;
}

TEST(CDatabaseFaults, UnusableDatabasesFailWithReasonAndNoCrash)
{
    QTemporaryDir dir;
    const QByteArray garbage = QByteArray("this is no database, just text\n").repeated(200);
    const QString sFile = MdaTest::WriteFile(dir, "plain-file", garbage);
    const QString sPort = N(LoopbackPort(false));
    int iSilent = -1;
    const QString sSilent = N(LoopbackPort(true, &iSilent));
    ASSERT_NE(sSilent, "0");
    for (QStringList row : MdaTest::ReadDataTable("platform/unusable_databases.tsv"))
    {
        for (QString& sField : row)
        {
            sField.replace("{file}", sFile).replace("{dir}", dir.path());
            sField.replace("{port}", sPort).replace("{silent}", sSilent);
        }
        SCOPED_TRACE(row[0].toStdString());
        CDatabaseMultiInstance db(row[0], "nobody", "secret");
        EXPECT_FALSE(db.Open() || db.IsOpen());
        EXPECT_EQ(OpenDescriptors(sFile), 0) << "a refused file is let go at once";
        CDatabaseMultiInstance reader(row[0], "nobody", "secret");
        EXPECT_FALSE(reader.OpenForReading());
        EXPECT_EQ(OpenDescriptors(sFile), 0) << "also when it was opened for reading";
        EXPECT_TRUE(db.LastError().startsWith(row[1])) << db.LastError().toStdString();
        EXPECT_FALSE(db.LastError().contains("secret"));
        EXPECT_EQ(CountSuccessfulCalls(db), 0);
    }
    close(iSilent);
    EXPECT_EQ(MdaTest::ReadBytes(sFile), garbage) << "a file that is not a database is left alone";

    CDatabaseMultiInstance never;
    EXPECT_EQ(CountSuccessfulCalls(never), 0);
    EXPECT_EQ(never.LastError(), "Cannot begin a transaction: the database is not open");

    // A statement the driver refuses before SQLite sees it has only the driver's text.
    CDatabaseMultiInstance db(dir.filePath("ok.sqlite"), QString(), QString());
    ASSERT_TRUE(db.Open());
    EXPECT_FALSE(db.ExecutePrepared("SELECT ?, ?", {1}, [] { return QString("Cannot pair"); }));
    EXPECT_EQ(db.LastError(), "Cannot pair: Parameter count mismatch");
    const int iNames = QSqlDatabase::connectionNames().size();
    std::make_unique<CDatabaseMultiInstance>(dir.filePath("gone.sqlite"), "", "")->Open();
    EXPECT_EQ(QSqlDatabase::connectionNames().size(), iNames) << "an instance takes its name along";
}

// A cluster of the test's own, so that it can be stopped and started again. The server
// refuses to run as root, so root runs the programs as the postgres user.
struct COwnCluster
{
    COwnCluster() { m_bReady = Pg("initdb -D %1/data -U mdatest -A trust -E UTF8") && Start(); }
    ~COwnCluster() { Stop(); }
    QString Url() const { return QString("postgresql://127.0.0.1:%1/postgres").arg(m_iPort); }
    bool Start()
    {
        return Pg("pg_ctl -D %1/data -l %1/log -w -o '-c listen_addresses=127.0.0.1 -p %2 -k %1 "
                  "-c fsync=off' start");
    }
    bool Stop() { return Pg("pg_ctl -D %1/data -m immediate -w stop"); }
    bool Pg(const QString& sCommand)
    {
        const QString sRunAs = geteuid() == 0 ? "chown postgres %1 && runuser -u postgres -- " : "";
        QString sLine = sRunAs + qgetenv("MDA_PG_BINDIR") + '/' + sCommand + " >/dev/null";
        sLine.replace("%1", m_Dir.path()).replace("%2", QString::number(m_iPort));
        return QProcess::execute("sh", {"-c", sLine}) == 0;
    }

    QTemporaryDir m_Dir;
    int m_iPort = LoopbackPort(false);
    bool m_bReady = false;
};

// The application keeps its connection object: calls fail while the server is away and work
// again once it is back, without opening anything anew. A scan held in one transaction while
// the server goes away: its remaining calls fail (they must not slip into a new connection on
// their own), the commit reports the failure, and none of the scan's rows stays.
TEST(CDatabaseFaults, ServerStoppedBetweenCallsAndInsideATransaction)
{
    if (qgetenv("MDA_PG_BINDIR").isEmpty())
    {
        GTEST_SKIP() << "MDA_PG_BINDIR (the PostgreSQL programs) not set";
    }
    COwnCluster cluster;
    ASSERT_TRUE(cluster.m_bReady);
    CDatabaseMultiInstance db(cluster.Url(), "mdatest", "");
    const auto Why = [&] { return db.LastError().toStdString(); };
    const QString sLost = "The connection to the database was lost during a transaction; the "
                          "transaction was rolled back";
    long lKept = 0, lLost = 0, lAfter = 0, lSession = 0, lId = 0;
    ASSERT_TRUE(db.Open() && CTableSession(db).Create({{"description", "before"}}, lKept)) << Why();

    ASSERT_TRUE(cluster.Stop());
    EXPECT_FALSE(CTableSession(db).Create({}, lLost));
    EXPECT_TRUE(db.LastError().startsWith("Cannot store the session: ")) << Why();
    EXPECT_TRUE(db.LastError().endsWith("(the connection to the database server was lost; the "
                                        "next call connects again)"))
        << Why();
    // The empty state code is left out, and so is the blank before it.
    EXPECT_FALSE(db.LastError().contains("()") || db.LastError().contains("  ")) << Why();
    EXPECT_EQ(CountSuccessfulCalls(db), 0);
    EXPECT_TRUE(db.LastError().startsWith("Cannot begin a transaction: cannot connect to the "
                                          "database server 127.0.0.1:"))
        << Why();
    EXPECT_TRUE(db.IsOpen());

    ASSERT_TRUE(cluster.Start());
    EXPECT_EQ(Dump(CTableSession(db).Get(lKept), "description"), "before") << Why();
    EXPECT_TRUE(CTableSession(db).Create({}, lAfter)) << Why();
    EXPECT_GT(lAfter, lKept);

    // A restart while nobody calls: the first call learns of it, the next one works.
    ASSERT_TRUE(cluster.Stop() && cluster.Start());
    const bool bFirst = CTableSession(db).Create({}, lAfter);
    EXPECT_TRUE(bFirst || db.LastError().contains("was lost")) << Why();
    EXPECT_TRUE(CTableSession(db).Create({}, lAfter)) << Why();

    // Open() after a loss still starts afresh.
    ASSERT_TRUE(cluster.Stop());
    EXPECT_FALSE(db.Open());
    EXPECT_TRUE(db.LastError().startsWith("Cannot connect to the database server")) << Why();
    ASSERT_TRUE(cluster.Start());
    EXPECT_TRUE(db.Open()) << Why();

    // The server ends the connection inside a transaction: the commit says the transaction went
    // with the connection, not that one of its statements failed.
    CDatabaseMultiInstance other(cluster.Url(), "mdatest", "");
    ASSERT_TRUE(other.Open()) << other.LastError().toStdString();
    // A connection opened afresh after a loss is told of its own loss again; the third round
    // rolls back by hand, which the loss has already done: a success.
    for (int iRound = 0; iRound < 3; ++iRound)
    {
        SCOPED_TRACE(iRound);
        ASSERT_TRUE(iRound == 0 || db.Open()) << Why();
        CDatabaseTransaction scope(db);
        QSqlQuery* pPid = db.ExecutePrepared("SELECT pg_backend_pid()", {}, [] { return "pid"; });
        ASSERT_TRUE(pPid != nullptr && pPid->next()) << Why();
        const QString sPid = pPid->value(0).toString();
        pPid->finish();
        // The lost connection's socket is released, not held until the next open.
        const auto uBefore = QDir("/proc/self/fd").count();
        ASSERT_TRUE(other.ExecutePrepared("SELECT pg_terminate_backend(" + sPid + ")", {},
                                          [] { return "terminate"; }) != nullptr)
            << other.LastError().toStdString();
        EXPECT_FALSE(CTableSession(db).Create({}, lAfter));
        EXPECT_TRUE(db.LastError().contains("was lost")) << Why();
        EXPECT_EQ(QDir("/proc/self/fd").count() + 1, uBefore);
        if (iRound == 2)
        {
            EXPECT_TRUE(db.Rollback()) << Why();
            continue;
        }
        EXPECT_FALSE(scope.Commit());
        EXPECT_EQ(db.LastError(), sLost);
    }
    ASSERT_TRUE(CTableSession(db).Create({}, lSession)) << Why();

    CTableMeasurements table(db);
    const TableRows scan{{"session_id", N(lSession)}};
    const TableRows row{{"session_id", N(lSession)}, {"scan_id", "1"}, {"channel_id", "0"}};
    {
        CDatabaseTransaction scope(db);
        ASSERT_TRUE(CTableScan(db).Create(scan, 1));
        ASSERT_TRUE(table.Create(row, lId) && table.Create(row, lId));
        {
            // The inner level's release is the first call to meet the new server.
            CDatabaseTransaction inner(db);
            ASSERT_TRUE(table.Create(row, lId) && cluster.Stop() && cluster.Start()) << Why();
            EXPECT_FALSE(inner.Commit());
            EXPECT_TRUE(db.LastError().startsWith("Cannot commit: ")) << Why();
            EXPECT_EQ(db.GetTransactionDepth(), 1);
        }
        EXPECT_FALSE(table.Create(row, lId) || table.Create(row, lId)) << "also the second call";
        EXPECT_EQ(db.LastError(), sLost);
        EXPECT_FALSE(scope.Commit());
        EXPECT_EQ(db.LastError(), sLost);
    }
    TableRows rows;
    EXPECT_TRUE(CTableMeasurements(db).GetAllResultsForSession(lSession, rows) && rows.empty());
    EXPECT_TRUE(CTableScan(db).GetScanIds(lSession, rows) && rows.empty());

    CDatabaseTransaction again(db);
    ASSERT_TRUE(CTableScan(db).Create(scan, 1));
    ASSERT_TRUE(table.Create(row, lId) && again.Commit()) << Why();
    EXPECT_TRUE(CTableMeasurements(db).GetAllResultsForSession(lSession, rows));
    EXPECT_EQ(Dump(rows, "scan_id"), "1");

    // Closing inside a transaction rolls it back first: with the server gone, that is reported.
    CDatabaseTransaction open(db);
    ASSERT_TRUE(open.IsActive() && cluster.Stop());
    db.Close();
    EXPECT_TRUE(db.LastError().startsWith("Cannot roll back: ")) << Why();
}

} // namespace

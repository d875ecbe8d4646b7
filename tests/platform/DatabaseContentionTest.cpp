#include "CDatabaseTransaction.h"
#include "CTableMeasurements.h"
#include "CTableScan.h"
#include "CTableSession.h"
#include "DatabaseTestBackend.h"
#include "TestDataTable.h"

#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <future>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace OrvelFramework;

namespace
{

// One measured row: created, then given its value, as a recording does.
bool RecordRow(CDatabaseMultiInstance& db, long lSession, long lScan, long& lId)
{
    CTableMeasurements table(db);
    return table.Create({{"session_id", QString::number(lSession)},
                         {"scan_id", QString::number(lScan)},
                         {"channel_id", "0"}},
                        lId) &&
           table.Update(lSession, lScan, lId, {{"value", QStringLiteral("v%1").arg(lId)}});
}

// Works on the file for four seconds: records scans of iRowsPerScope rows (0: every call on its
// own), appending "session id" a line to fdReport for every confirmed row, or with -1 reads
// everything over and over. Exits 0, or 3 with the reason on stderr when any call failed.
[[noreturn]] void RunFor(const QString& sPath, int iRowsPerScope, int fdReport)
{
    CDatabaseMultiInstance db(sPath, QString(), QString());
    long lSession = 0, lId = 0;
    bool bOk = db.Open() && (iRowsPerScope < 0 || CTableSession(db).Create({}, lSession));
    QElapsedTimer timer;
    timer.start();
    for (long lScan = 1; bOk && timer.elapsed() < 4000; ++lScan)
    {
        TableRows rows;
        if (iRowsPerScope < 0)
        {
            bOk = CTableSession(db).Get(QString(), rows) &&
                  CTableMeasurements(db).GetAllResultsForSession(1, rows);
            continue;
        }
        auto pScope = iRowsPerScope > 0 ? std::make_unique<CDatabaseTransaction>(db) : nullptr;
        bOk = CTableScan(db).Create({{"session_id", QString::number(lSession)}}, lScan);
        QByteArray report;
        for (int i = 0; bOk && i < std::max(iRowsPerScope, 3); ++i)
        {
            bOk = RecordRow(db, lSession, lScan, lId);
            report += QString("%1 %2\n").arg(lSession).arg(lId).toLatin1();
        }
        bOk = bOk && (!pScope || pScope->Commit()) &&
              write(fdReport, report.constData(), report.size()) == report.size();
    }
    fprintf(stderr, "%s", bOk ? "" : qPrintable(db.LastError() + '\n'));
    _exit(bOk ? 0 : 3);
}

// Two processes writing one file used to lose a value now and then to "database is locked"
// after the busy timeout: a writer waits its turn for as long as it takes.
TEST(CDatabaseContention, TwoWritersAndAReaderNeverFailForTheLock)
{
    QTemporaryDir dir;
    const QString sPath = dir.filePath("shared.sqlite");
    const QByteArray report = dir.filePath("confirmed").toLocal8Bit();
    CDatabaseMultiInstance db(sPath, QString(), QString());
    ASSERT_TRUE(db.Open()) << db.LastError().toStdString();
    db.Close();
    std::vector<pid_t> children;
    for (int iRowsPerScope : {0, 200, -1})
    {
        children.push_back(fork());
        if (children.back() == 0)
        {
            RunFor(sPath, iRowsPerScope, open(report, O_WRONLY | O_APPEND | O_CREAT, 0600));
        }
    }
    for (pid_t pid : children)
    {
        int iStatus = 0;
        EXPECT_TRUE(waitpid(pid, &iStatus, 0) == pid && WIFEXITED(iStatus) &&
                    WEXITSTATUS(iStatus) == 0)
            << "a process failed a call (see its output)";
    }
    // The "session id" lines of confirmed rows not yet found stored.
    const QList<QByteArray> confirmed = MdaTest::ReadBytes(report).split('\n');
    std::set<QByteArray> missing(confirmed.begin(), confirmed.end() - 1);
    const size_t uConfirmed = missing.size();
    ASSERT_GT(uConfirmed, 100u);
    ASSERT_TRUE(db.Open()) << db.LastError().toStdString();
    QSqlQuery* pCheck = db.GetPreparedQuery("PRAGMA integrity_check");
    ASSERT_TRUE(pCheck != nullptr && db.Execute(*pCheck, "check") && pCheck->next());
    EXPECT_EQ(pCheck->value(0).toString(), "ok");
    pCheck->finish();
    for (long lSession : {1L, 2L})
    {
        TableRows rows;
        ASSERT_TRUE(CTableMeasurements(db).GetAllResultsForSession(lSession, rows));
        // Eight columns a row; the value must be the one confirmed.
        for (size_t i = 0; i + 8 <= rows.size(); i += 8)
        {
            if (rows[i + 6].GetValue() == 'v' + rows[i].GetValue())
            {
                missing.erase(QString("%1 %2").arg(lSession).arg(rows[i].GetValue()).toLatin1());
            }
        }
    }
    EXPECT_EQ(missing.size(), 0u) << "of " << uConfirmed << " confirmed rows";
}

using CThreadsTest = MdaTest::CDatabaseBackendTest;

// Stations switched on together against one fresh database: each one gets the schema (made
// once, by whichever comes first) and loses nothing it stores. On a fresh SQLite file, switching
// it to its journal mode used to fail at once for all but one of them.
TEST_P(CThreadsTest, StationsStartingTogetherAllGetTheSchemaAndLoseNothing)
{
    constexpr int c_iStations = 6, c_iRows = 20;
    std::atomic<int> iReady{0};
    std::vector<std::thread> stations;
    for (int i = 0; i < c_iStations; ++i)
    {
        stations.emplace_back(
            [&]
            {
                auto pDb = Database().NewConnection();
                ++iReady;
                while (iReady < c_iStations)
                {
                    std::this_thread::yield();
                }
                long lSession = 0, lId = 0;
                bool bOk = pDb->Open() && CTableSession(*pDb).Create({}, lSession) &&
                           CTableScan(*pDb).Create({{"session_id", QString::number(lSession)}}, 1);
                for (int iRow = 0; bOk && iRow < c_iRows; ++iRow)
                {
                    bOk = RecordRow(*pDb, lSession, 1, lId);
                }
                EXPECT_TRUE(bOk) << pDb->LastError().toStdString();
            });
    }
    std::for_each(stations.begin(), stations.end(), std::mem_fn(&std::thread::join));
    auto pDb = OpenConnection();
    for (long lSession = 1; lSession <= c_iStations; ++lSession)
    {
        TableRows rows;
        ASSERT_TRUE(CTableMeasurements(*pDb).GetAllResultsForSession(lSession, rows));
        EXPECT_EQ(rows.size(), size_t(8 * c_iRows)) << "session " << lSession;
    }
}

// One instance used by two threads at once (one Qt connection must never serve two threads):
// each records its own session, in scopes and call by call, with its own failures and texts.
TEST_P(CThreadsTest, TwoThreadsUseOneInstanceAtOnce)
{
    auto pDb = OpenConnection();
    constexpr int c_iScans = 15;
    const auto record = [&](bool bScopes, long& lSession)
    {
        ASSERT_TRUE(CTableSession(*pDb).Create({}, lSession));
        const TableRows scan{{"session_id", QString::number(lSession)}};
        for (long lScan = 1; lScan <= c_iScans; ++lScan)
        {
            const auto pScope = bScopes ? std::make_unique<CDatabaseTransaction>(*pDb) : nullptr;
            long lId = 0;
            const bool bOk = CTableScan(*pDb).Create(scan, lScan) &&
                             RecordRow(*pDb, lSession, lScan, lId) &&
                             RecordRow(*pDb, lSession, lScan, lId) && (!pScope || pScope->Commit());
            // A failure of this thread is this thread's to read.
            EXPECT_TRUE(bOk && !CTableScan(*pDb).Create(scan, lScan) &&
                        pDb->LastError().startsWith(QString("Cannot store scan %1").arg(lScan)))
                << lScan << ": " << pDb->LastError().toStdString();
        }
    };
    // Two workers: each thread, not only the one that made the instance, has its own connection.
    long lWorker = 0, lSecond = 0, lMain = 0;
    std::thread worker([&] { record(true, lWorker); }), second([&] { record(false, lSecond); });
    record(false, lMain);
    worker.join();
    second.join();
    EXPECT_EQ(pDb->GetTransactionDepth(), 0);
    for (long lSession : {lWorker, lSecond, lMain})
    {
        TableRows scans;
        ASSERT_TRUE(CTableScan(*pDb).GetScanIds(lSession, scans));
        EXPECT_EQ(scans.size(), size_t(c_iScans)) << "session " << lSession;
    }

    // Closed in one thread is closed for all; opened in another, open for all.
    pDb->Close();
    std::thread([&] { EXPECT_FALSE(pDb->IsOpen()); }).join();
    std::thread([&] { EXPECT_TRUE(pDb->Open()) << pDb->LastError().toStdString(); }).join();
    TableRows rows;
    EXPECT_TRUE(CTableSession(*pDb).Get(QString(), rows)) << pDb->LastError().toStdString();
    EXPECT_TRUE(pDb->IsOpen());

    // Closed in another thread, opened again here where the schema must be made anew.
    std::thread([&] { pDb->Close(); }).join();
    ASSERT_TRUE(Database().ExecuteDirect("DROP TABLE schema_version"));
    EXPECT_TRUE(pDb->Open()) << pDb->LastError().toStdString();

    // A thread that keeps its connection follows the instance to another database (whose
    // first session then has id 1).
    std::promise<void> recorded, moved;
    long lBefore = 0, lAfter = 0;
    std::thread keeper(
        [&]
        {
            EXPECT_TRUE(CTableSession(*pDb).Create({}, lBefore));
            recorded.set_value();
            moved.get_future().wait();
            EXPECT_TRUE(CTableSession(*pDb).Create({}, lAfter)) << pDb->LastError().toStdString();
        });
    recorded.get_future().wait();
    const QTemporaryDir dir;
    pDb->SetConnectionParameters(dir.filePath("other.sqlite"), QString(), QString());
    EXPECT_TRUE(pDb->Open()) << pDb->LastError().toStdString();
    moved.set_value();
    keeper.join();
    EXPECT_EQ(lAfter, 1);
}

MDA_INSTANTIATE_BACKEND_TESTS(CThreadsTest);

} // namespace

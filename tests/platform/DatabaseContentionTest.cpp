#include "CDatabaseTransaction.h"
#include "CTableMeasurements.h"
#include "CTableScan.h"
#include "CTableSession.h"
#include "DatabaseTestBackend.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
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

// Records scans of iRowsPerScope rows (0: every call on its own) for iMilliseconds and writes
// "session id" a line for every confirmed row. Exits 0, or 3 with the reason on stderr when any
// call failed.
[[noreturn]] void RecordFor(const QString& sPath, int iRowsPerScope, int iMilliseconds, int fdOut)
{
    CDatabaseMultiInstance db(sPath, QString(), QString());
    long lSession = 0;
    const auto fail = [&db](const char* pWhat)
    {
        fprintf(stderr, "%s: %s\n", pWhat, qPrintable(db.LastError()));
        _exit(3);
    };
    if (!db.Open() || !CTableSession(db).Create({}, lSession))
    {
        fail("open");
    }
    QElapsedTimer timer;
    timer.start();
    for (long lScan = 1; timer.elapsed() < iMilliseconds; ++lScan)
    {
        auto pScope = iRowsPerScope > 0 ? std::make_unique<CDatabaseTransaction>(db) : nullptr;
        if (!CTableScan(db).Create({{"session_id", QString::number(lSession)}}, lScan))
        {
            fail("scan");
        }
        QByteArray report;
        for (int i = 0; i < std::max(iRowsPerScope, 3); ++i)
        {
            long lId = 0;
            if (!RecordRow(db, lSession, lScan, lId))
            {
                fail("row");
            }
            report += QByteArray::number(static_cast<qlonglong>(lSession)) + ' ' +
                      QByteArray::number(static_cast<qlonglong>(lId)) + '\n';
        }
        if ((pScope && !pScope->Commit()) ||
            write(fdOut, report.constData(), report.size()) != report.size())
        {
            fail("commit");
        }
    }
    _exit(0);
}

// Reads the whole file over and over for iMilliseconds; exits 3 when a read failed.
[[noreturn]] void ReadFor(const QString& sPath, int iMilliseconds)
{
    CDatabaseMultiInstance db(sPath, QString(), QString());
    if (!db.Open())
    {
        _exit(3);
    }
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < iMilliseconds)
    {
        TableRows rows;
        if (!CTableSession(db).Get(QString(), rows) ||
            !CTableMeasurements(db).GetAllResultsForSession(1, rows))
        {
            fprintf(stderr, "read: %s\n", qPrintable(db.LastError()));
            _exit(3);
        }
    }
    _exit(0);
}

struct SChild
{
    pid_t pid = -1;
    FILE* pOut = nullptr;
};

template <typename FRun> SChild Spawn(FRun run)
{
    int fds[2];
    if (pipe(fds) != 0)
    {
        return {};
    }
    const pid_t pid = fork();
    if (pid == 0)
    {
        close(fds[0]);
        run(fds[1]);
    }
    close(fds[1]);
    return {pid, fdopen(fds[0], "r")};
}

// Waits for the child; true when it exited by itself with 0. Its lines are added to confirmed.
bool Reap(SChild& child, std::multimap<long, long>* pConfirmed)
{
    long lSession = 0;
    long lId = 0;
    while (child.pOut != nullptr && fscanf(child.pOut, "%ld %ld", &lSession, &lId) == 2)
    {
        if (pConfirmed != nullptr)
        {
            pConfirmed->emplace(lSession, lId);
        }
    }
    if (child.pOut != nullptr)
    {
        fclose(child.pOut);
    }
    int iStatus = 0;
    return child.pid > 0 && waitpid(child.pid, &iStatus, 0) == child.pid && WIFEXITED(iStatus) &&
           WEXITSTATUS(iStatus) == 0;
}

// Two processes writing one file used to lose a value now and then to "database is locked"
// after the busy timeout: a writer waits its turn for as long as it takes.
TEST(CDatabaseContention, TwoWritersAndAReaderNeverFailForTheLock)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString sPath = dir.filePath("shared.sqlite");
    {
        CDatabaseMultiInstance db(sPath, QString(), QString());
        ASSERT_TRUE(db.Open()) << db.LastError().toStdString();
    }
    const int c_iMilliseconds = 4000;
    SChild children[] = {
        Spawn([&](int fd) { RecordFor(sPath, 0, c_iMilliseconds, fd); }),
        Spawn([&](int fd) { RecordFor(sPath, 200, c_iMilliseconds, fd); }),
        Spawn(
            [&](int fd)
            {
                close(fd);
                ReadFor(sPath, c_iMilliseconds);
            }),
    };
    std::multimap<long, long> confirmed;
    for (SChild& child : children)
    {
        EXPECT_TRUE(Reap(child, &confirmed)) << "a process failed a call (see its output)";
    }
    ASSERT_GT(confirmed.size(), 100u);

    CDatabaseMultiInstance db(sPath, QString(), QString());
    ASSERT_TRUE(db.Open()) << db.LastError().toStdString();
    QSqlQuery* pCheck = db.GetPreparedQuery("PRAGMA integrity_check");
    ASSERT_TRUE(pCheck != nullptr && db.Execute(*pCheck, "check") && pCheck->next());
    EXPECT_EQ(pCheck->value(0).toString(), "ok");
    pCheck->finish();
    std::set<std::pair<long, long>> stored;
    for (long lSession : {1L, 2L})
    {
        TableRows rows;
        ASSERT_TRUE(CTableMeasurements(db).GetAllResultsForSession(lSession, rows));
        // Eight columns a row; the value must be the one confirmed.
        for (size_t i = 0; i + 8 <= rows.size(); i += 8)
        {
            const long lId = rows[i].GetValue().toLong();
            if (rows[i + 6].GetValue() == QStringLiteral("v%1").arg(lId))
            {
                stored.emplace(lSession, lId);
            }
        }
    }
    size_t uMissing = 0;
    for (const auto& [lSession, lId] : confirmed)
    {
        uMissing += stored.count({lSession, lId}) == 0;
    }
    EXPECT_EQ(uMissing, 0u) << "of " << confirmed.size() << " confirmed rows";
}

class CStationsAtOnceTest : public MdaTest::CDatabaseBackendTest
{
};

// Stations switched on together against one fresh database: each one gets the schema (made
// once, by whichever comes first) and loses nothing it stores. On a fresh SQLite file, switching
// it to its journal mode used to fail at once for all but one of them.
TEST_P(CStationsAtOnceTest, StationsStartingTogetherAllGetTheSchemaAndLoseNothing)
{
    constexpr int c_iStations = 6;
    constexpr int c_iRows = 20;
    std::atomic<int> iReady{0};
    std::atomic<int> iFailures{0};
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
                long lSession = 0;
                bool bOk = pDb->Open() && CTableSession(*pDb).Create({}, lSession) &&
                           CTableScan(*pDb).Create({{"session_id", QString::number(lSession)}}, 1);
                for (int iRow = 0; bOk && iRow < c_iRows; ++iRow)
                {
                    long lId = 0;
                    bOk = RecordRow(*pDb, lSession, 1, lId);
                }
                if (!bOk)
                {
                    ++iFailures;
                    ADD_FAILURE() << pDb->LastError().toStdString();
                }
            });
    }
    for (std::thread& station : stations)
    {
        station.join();
    }
    EXPECT_EQ(iFailures.load(), 0);
    auto pDb = OpenConnection();
    for (long lSession = 1; lSession <= c_iStations; ++lSession)
    {
        TableRows rows;
        ASSERT_TRUE(CTableMeasurements(*pDb).GetAllResultsForSession(lSession, rows));
        EXPECT_EQ(rows.size(), size_t(8 * c_iRows)) << "session " << lSession;
    }
}

MDA_INSTANTIATE_BACKEND_TESTS(CStationsAtOnceTest);

class CSharedInstanceTest : public MdaTest::CDatabaseBackendTest
{
};

// One instance used by two threads at once (one Qt connection must never serve two threads):
// each records its own session, in scopes and call by call, with its own failures and texts.
TEST_P(CSharedInstanceTest, TwoThreadsUseOneInstanceAtOnce)
{
    auto pDb = OpenConnection();
    constexpr int c_iScans = 15;
    std::atomic<int> iFailures{0};
    const auto record = [&](bool bScopes, long& lSession)
    {
        if (!CTableSession(*pDb).Create({}, lSession))
        {
            ++iFailures;
            return;
        }
        for (long lScan = 1; lScan <= c_iScans; ++lScan)
        {
            bool bOk = false;
            {
                std::unique_ptr<CDatabaseTransaction> pScope =
                    bScopes ? std::make_unique<CDatabaseTransaction>(*pDb) : nullptr;
                long lId = 0;
                bOk = CTableScan(*pDb).Create({{"session_id", QString::number(lSession)}}, lScan) &&
                      RecordRow(*pDb, lSession, lScan, lId) &&
                      RecordRow(*pDb, lSession, lScan, lId) && (!pScope || pScope->Commit());
            }
            // A failure of this thread is this thread's to read.
            const QString sScanText = QStringLiteral("Cannot store scan %1").arg(lScan);
            bOk = bOk &&
                  !CTableScan(*pDb).Create({{"session_id", QString::number(lSession)}}, lScan) &&
                  pDb->LastError().startsWith(sScanText);
            if (!bOk)
            {
                ++iFailures;
            }
        }
    };
    long lWorker = 0;
    long lMain = 0;
    std::thread worker([&] { record(true, lWorker); });
    record(false, lMain);
    worker.join();
    EXPECT_EQ(iFailures.load(), 0) << pDb->LastError().toStdString();
    EXPECT_EQ(pDb->GetTransactionDepth(), 0);
    for (long lSession : {lWorker, lMain})
    {
        TableRows scans;
        ASSERT_TRUE(CTableScan(*pDb).GetScanIds(lSession, scans));
        EXPECT_EQ(scans.size(), size_t(c_iScans)) << "session " << lSession;
    }

    // Closed in one thread is closed for all; opened in another, open for all.
    pDb->Close();
    bool bWorkerOpen = true;
    std::thread([&] { bWorkerOpen = pDb->IsOpen(); }).join();
    EXPECT_FALSE(bWorkerOpen);
    std::thread([&] { EXPECT_TRUE(pDb->Open()) << pDb->LastError().toStdString(); }).join();
    TableRows rows;
    EXPECT_TRUE(CTableSession(*pDb).Get(QString(), rows)) << pDb->LastError().toStdString();
    EXPECT_TRUE(pDb->IsOpen());
}

MDA_INSTANTIATE_BACKEND_TESTS(CSharedInstanceTest);

} // namespace

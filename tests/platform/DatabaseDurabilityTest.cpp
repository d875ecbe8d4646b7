#include "CDatabaseTransaction.h"
#include "CTableMeasurements.h"
#include "CTableScan.h"
#include "CTableSession.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

using namespace OrvelFramework;

namespace
{

// Records measurements until killed and reports through the pipe each id whose storing call
// returned true (with a scope: after its commit returned true). Never returns.
[[noreturn]] void RecordUntilKilled(const QString& sPath, int iRowsPerScope, int fdReport)
{
    CDatabaseMultiInstance db(sPath, QString(), QString());
    long lSession = 0;
    if (!db.Open() || !CTableSession(db).Create({}, lSession) ||
        !CTableScan(db).Create({{CTableScan::c_sColumnSessionId, QString::number(lSession)}}, 1))
    {
        _exit(2);
    }
    CTableMeasurements table(db);
    for (;;)
    {
        std::vector<long> ids;
        std::unique_ptr<CDatabaseTransaction> pScope;
        if (iRowsPerScope > 0)
        {
            pScope = std::make_unique<CDatabaseTransaction>(db);
        }
        for (int i = 0; i < std::max(iRowsPerScope, 1); ++i)
        {
            long lId = 0;
            if (!table.Create({{CTableMeasurements::c_sColumnSessionId, QString::number(lSession)},
                               {CTableMeasurements::c_sColumnScanId, "1"},
                               {CTableMeasurements::c_sColumnChannelId, "0"}},
                              lId) ||
                !table.Update(
                    lSession, 1, lId,
                    {{CTableMeasurements::c_sColumnValue, QStringLiteral("v%1").arg(lId)}}))
            {
                _exit(3);
            }
            ids.push_back(lId);
        }
        if (pScope && !pScope->Commit())
        {
            _exit(4);
        }
        for (long lId : ids)
        {
            if (write(fdReport, &lId, sizeof lId) != sizeof lId)
            {
                _exit(5);
            }
        }
    }
}

// Reads reported ids until at least uWanted arrived or the writer closed the pipe.
void ReadIds(int fd, QByteArray& pending, std::set<long>& ids, size_t uWanted)
{
    char buffer[4096];
    ssize_t n = 0;
    while (ids.size() < uWanted && (n = read(fd, buffer, sizeof buffer)) > 0)
    {
        pending.append(buffer, static_cast<int>(n));
        for (; pending.size() >= static_cast<int>(sizeof(long)); pending.remove(0, sizeof(long)))
        {
            long lId = 0;
            memcpy(&lId, pending.constData(), sizeof lId);
            ids.insert(lId);
        }
    }
}

TEST(CDatabaseDurability, KilledWriterLeavesEveryConfirmedRowAndSharesTheFile)
{
    struct stCase
    {
        const char* pName;
        int iRowsPerScope;
    };
    const stCase cases[] = {{"each call on its own", 0}, {"scopes of 25 rows", 25}};
    for (const stCase& c : cases)
    {
        SCOPED_TRACE(c.pName);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString sPath = dir.filePath("durable.sqlite");
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0)
        {
            close(fds[0]);
            RecordUntilKilled(sPath, c.iRowsPerScope, fds[1]);
        }
        close(fds[1]);
        std::set<long> confirmed;
        QByteArray pending;
        ReadIds(fds[0], pending, confirmed, 150);
        {
            // A second process reads and writes the same file while the writer is busy.
            CDatabaseMultiInstance other(sPath, QString(), QString());
            long lSession = 0;
            TableRows rows;
            EXPECT_TRUE(other.Open() && CTableSession(other).Create({}, lSession) &&
                        CTableMeasurements(other).GetAllResultsForSession(1, rows))
                << other.LastError().toStdString();
            EXPECT_GE(rows.size(), 150u * 8);
        }
        kill(pid, SIGKILL);
        int iStatus = 0;
        waitpid(pid, &iStatus, 0);
        ASSERT_TRUE(WIFSIGNALED(iStatus)) << "the writer stopped by itself, status " << iStatus;
        ReadIds(fds[0], pending, confirmed, SIZE_MAX);
        EXPECT_LT(pending.size(), static_cast<int>(sizeof(long)));
        close(fds[0]);
        ASSERT_GE(confirmed.size(), 150u);

        {
            QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "durability-check");
            raw.setDatabaseName(sPath);
            ASSERT_TRUE(raw.open());
            QSqlQuery check(raw);
            ASSERT_TRUE(check.exec("PRAGMA integrity_check"));
            ASSERT_TRUE(check.next());
            EXPECT_EQ(check.value(0).toString(), "ok");
        }
        QSqlDatabase::removeDatabase("durability-check");

        CDatabaseMultiInstance db(sPath, QString(), QString());
        ASSERT_TRUE(db.Open()) << db.LastError().toStdString();
        TableRows rows;
        ASSERT_TRUE(CTableMeasurements(db).GetAllResultsForSession(1, rows));
        std::map<long, QString> stored;
        for (size_t i = 0; i + 7 < rows.size(); i += 8)
        {
            stored[rows[i].GetValue().toLong()] = rows[i + 6].GetValue();
        }
        size_t uMissing = 0;
        for (long lId : confirmed)
        {
            const auto it = stored.find(lId);
            if (it == stored.end() || it->second != QStringLiteral("v%1").arg(lId))
            {
                ++uMissing;
            }
        }
        EXPECT_EQ(uMissing, 0u) << "of " << confirmed.size() << " confirmed rows";
    }
}

} // namespace

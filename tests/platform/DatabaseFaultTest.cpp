#include "CDatabaseTransaction.h"
#include "CTableExportFiles.h"
#include "CTableMeasurements.h"
#include "CTableScan.h"
#include "CTableSession.h"

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <csignal>
#include <cstring>
#include <netinet/in.h>
#include <set>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace OrvelFramework;

namespace
{

// A port on which nothing listens (it was free a moment ago).
int FreePort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int iPort = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    {
        iPort = ntohs(address.sin_port);
    }
    close(fd);
    return iPort;
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
    iSucceeded += CDatabaseTransaction(db).IsActive();
    EXPECT_TRUE(rows.empty());
    return iSucceeded;
}

TEST(CDatabaseFaults, UnusableDatabasesFailWithReasonAndNoCrash)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString sFile = dir.filePath("plain-file");
    const QByteArray garbage = QByteArray("this is no database, just text\n").repeated(200);
    QFile file(sFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(garbage) == garbage.size());
    file.close();
    const int iPort = FreePort();
    const QString sBadUrl = "The database name is not of the form postgresql://host[:port]/dbname";
    const std::pair<QString, QString> cases[] = {
        // A folder below a regular file cannot be made, not even by root.
        {sFile + "/sub/m.sqlite", "Cannot create the folder " + sFile + "/sub for the database"},
        {sFile, "Cannot use the database file " + sFile + ": file is not a database"},
        {dir.path(), "The database " + dir.path() + " is a folder, not a file"},
        {QStringLiteral("postgresql://127.0.0.1:%1/mda").arg(iPort),
         QStringLiteral("Cannot connect to the database server 127.0.0.1:%1/mda: ").arg(iPort)},
        {"postgresql://", sBadUrl},
        {"postgres://host-only", sBadUrl}};
    for (const auto& [sName, sErrorStart] : cases)
    {
        SCOPED_TRACE(sName.toStdString());
        CDatabaseMultiInstance db(sName, "nobody", "secret");
        EXPECT_FALSE(db.Open());
        EXPECT_FALSE(db.IsOpen());
        EXPECT_TRUE(db.LastError().startsWith(sErrorStart)) << db.LastError().toStdString();
        EXPECT_FALSE(db.LastError().contains("secret"));
        EXPECT_EQ(CountSuccessfulCalls(db), 0);
        EXPECT_FALSE(db.LastError().isEmpty());
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), garbage) << "a file that is not a database is left alone";

    CDatabaseMultiInstance never;
    EXPECT_EQ(CountSuccessfulCalls(never), 0);
    EXPECT_EQ(never.LastError(), "Cannot begin a transaction: the database is not open");
}

// A PostgreSQL cluster of the test's own, so it can be stopped and started again.
class CPrivateCluster
{
public:
    bool Init() { return Pg("initdb -D " + m_sData + " -U mdatest -A trust -E UTF8") && Start(); }
    bool Stop() { return Pg("pg_ctl -D " + m_sData + " -m immediate -w stop"); }
    bool Start()
    {
        return Pg(QStringLiteral("pg_ctl -D %1 -l %2/log -w -o '-c listen_addresses=127.0.0.1 -p "
                                 "%3 -k %2 -c fsync=off' start")
                      .arg(m_sData, m_Dir.path())
                      .arg(m_iPort));
    }
    QString Url() const
    {
        return QStringLiteral("postgresql://127.0.0.1:%1/postgres").arg(m_iPort);
    }
    ~CPrivateCluster() { Stop(); }

private:
    // The server refuses to run as root, so root runs the programs as the postgres user.
    bool Pg(const QString& sCommand)
    {
        const QString sProgram = QString::fromLocal8Bit(qgetenv("MDA_PG_BINDIR")) + '/' + sCommand;
        const QString sRunAs =
            geteuid() == 0 ? "chown postgres " + m_Dir.path() + " && runuser -u postgres -- "
                           : QString();
        return m_Dir.isValid() &&
               QProcess::execute("sh", {"-c", sRunAs + sProgram + " >/dev/null"}) == 0;
    }

    QTemporaryDir m_Dir;
    QString m_sData = m_Dir.filePath("data");
    int m_iPort = FreePort();
};

TEST(CDatabaseFaults, ServerStoppedBetweenCallsThenBackAgain)
{
    if (qgetenv("MDA_PG_BINDIR").isEmpty())
    {
        GTEST_SKIP() << "MDA_PG_BINDIR (the PostgreSQL programs) not set";
    }
    CPrivateCluster cluster;
    ASSERT_TRUE(cluster.Init());
    CDatabaseMultiInstance db(cluster.Url(), "mdatest", "");
    ASSERT_TRUE(db.Open()) << db.LastError().toStdString();
    long lKept = 0;
    ASSERT_TRUE(CTableSession(db).Create({{"description", "before"}}, lKept));

    ASSERT_TRUE(cluster.Stop());
    long lLost = 0;
    EXPECT_FALSE(CTableSession(db).Create({}, lLost));
    EXPECT_TRUE(db.LastError().startsWith("Cannot store the session: "))
        << db.LastError().toStdString();
    EXPECT_GT(db.LastError().size(), 30);
    EXPECT_EQ(CountSuccessfulCalls(db), 0);
    EXPECT_FALSE(db.LastError().isEmpty());
    EXPECT_FALSE(db.Open());
    EXPECT_TRUE(db.LastError().startsWith("Cannot connect to the database server"))
        << db.LastError().toStdString();

    ASSERT_TRUE(cluster.Start());
    ASSERT_TRUE(db.Open()) << db.LastError().toStdString();
    const TableRows row = CTableSession(db).Get(lKept);
    ASSERT_FALSE(row.empty());
    EXPECT_EQ(row[2].GetValue(), "before");
    long lAfter = 0;
    EXPECT_TRUE(CTableSession(db).Create({}, lAfter)) << db.LastError().toStdString();
    EXPECT_GT(lAfter, lKept);
}

// Records measurements until killed and reports through the pipe each id whose storing call
// returned true (with a scope: after its commit returned true). Never returns.
[[noreturn]] void RecordUntilKilled(const QString& sPath, int iRowsPerScope, int fdReport)
{
    CDatabaseMultiInstance db(sPath, QString(), QString());
    CTableMeasurements table(db);
    long lSession = 0;
    if (!db.Open() || !CTableSession(db).Create({}, lSession) ||
        !CTableScan(db).Create({{"session_id", QString::number(lSession)}}, 1))
    {
        _exit(2);
    }
    for (;;)
    {
        std::vector<long> ids(std::max(iRowsPerScope, 1));
        std::unique_ptr<CDatabaseTransaction> pScope;
        if (iRowsPerScope > 0)
        {
            pScope = std::make_unique<CDatabaseTransaction>(db);
        }
        for (long& lId : ids)
        {
            if (!table.Create({{"session_id", QString::number(lSession)},
                               {"scan_id", "1"},
                               {"channel_id", "0"}},
                              lId) ||
                !table.Update(lSession, 1, lId, {{"value", QStringLiteral("v%1").arg(lId)}}))
            {
                _exit(3);
            }
        }
        const ssize_t iBytes = static_cast<ssize_t>(ids.size() * sizeof(long));
        if ((pScope && !pScope->Commit()) || write(fdReport, ids.data(), iBytes) != iBytes)
        {
            _exit(4);
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
    for (const int iRowsPerScope : {0, 25}) // each call on its own, then scopes of 25 rows
    {
        SCOPED_TRACE(iRowsPerScope);
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
            RecordUntilKilled(sPath, iRowsPerScope, fds[1]);
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
            ASSERT_TRUE(check.exec("PRAGMA integrity_check") && check.next());
            EXPECT_EQ(check.value(0).toString(), "ok");
        }
        QSqlDatabase::removeDatabase("durability-check");

        CDatabaseMultiInstance db(sPath, QString(), QString());
        TableRows rows;
        ASSERT_TRUE(db.Open() && CTableMeasurements(db).GetAllResultsForSession(1, rows))
            << db.LastError().toStdString();
        std::map<long, QString> stored;
        for (size_t i = 0; i + 7 < rows.size(); i += 8)
        {
            stored[rows[i].GetValue().toLong()] = rows[i + 6].GetValue();
        }
        size_t uMissing = 0;
        for (long lId : confirmed)
        {
            uMissing += stored.count(lId) == 0 || stored[lId] != QStringLiteral("v%1").arg(lId);
        }
        EXPECT_EQ(uMissing, 0u) << "of " << confirmed.size() << " confirmed rows";
    }
}

} // namespace

#include "CDatabaseTransaction.h"
#include "CTableExportFiles.h"
#include "CTableMeasurements.h"
#include "CTableScan.h"
#include "CTableSession.h"
#include "TestDataTable.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <map>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace OrvelFramework;

namespace
{

// A port on which nothing listens (it was free a moment ago).
int FreePort()
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    const bool bBound = bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    close(fd);
    return bBound ? ntohs(address.sin_port) : 0;
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
    const QByteArray garbage = QByteArray("this is no database, just text\n").repeated(200);
    const QString sFile = MdaTest::WriteFile(dir, "plain-file", garbage);
    const QString sPort = QString::number(FreePort());
    for (QStringList row : MdaTest::ReadDataTable("platform/unusable_databases.tsv"))
    {
        for (QString& sField : row)
        {
            sField.replace("{file}", sFile).replace("{dir}", dir.path()).replace("{port}", sPort);
        }
        const QString& sName = row[0];
        const QString& sErrorStart = row[1];
        SCOPED_TRACE(sName.toStdString());
        CDatabaseMultiInstance db(sName, "nobody", "secret");
        EXPECT_FALSE(db.Open());
        EXPECT_FALSE(db.IsOpen());
        EXPECT_TRUE(db.LastError().startsWith(sErrorStart)) << db.LastError().toStdString();
        EXPECT_FALSE(db.LastError().contains("secret"));
        EXPECT_EQ(CountSuccessfulCalls(db), 0);
        EXPECT_FALSE(db.LastError().isEmpty());
    }
    EXPECT_EQ(MdaTest::ReadBytes(sFile), garbage) << "a file that is not a database is left alone";

    CDatabaseMultiInstance never;
    EXPECT_EQ(CountSuccessfulCalls(never), 0);
    EXPECT_EQ(never.LastError(), "Cannot begin a transaction: the database is not open");
}

// A cluster of the test's own, so that it can be stopped and started again. The server
// refuses to run as root, so root runs the programs as the postgres user.
class COwnCluster
{
public:
    COwnCluster() : m_iPort(FreePort())
    {
        m_bReady = Pg("initdb -D %1/data -U mdatest -A trust -E UTF8") && Start();
    }
    ~COwnCluster() { Stop(); }
    bool IsReady() const { return m_bReady; }
    QString Url() const
    {
        return QStringLiteral("postgresql://127.0.0.1:%1/postgres").arg(m_iPort);
    }
    bool Start()
    {
        return Pg("pg_ctl -D %1/data -l %1/log -w -o '-c listen_addresses=127.0.0.1 -p %2 -k %1 "
                  "-c fsync=off' start");
    }
    bool Stop() { return Pg("pg_ctl -D %1/data -m immediate -w stop"); }

private:
    bool Pg(const QString& sCommand)
    {
        const QString sRunAs = geteuid() == 0 ? "chown postgres %1 && runuser -u postgres -- " : "";
        QString sLine = sRunAs + qgetenv("MDA_PG_BINDIR") + '/' + sCommand + " >/dev/null";
        sLine.replace("%1", m_Dir.path()).replace("%2", QString::number(m_iPort));
        return QProcess::execute("sh", {"-c", sLine}) == 0;
    }

    QTemporaryDir m_Dir;
    int m_iPort;
    bool m_bReady = false;
};

#define MDA_SKIP_WITHOUT_CLUSTER_PROGRAMS()                                                        \
    if (qgetenv("MDA_PG_BINDIR").isEmpty())                                                        \
    {                                                                                              \
        GTEST_SKIP() << "MDA_PG_BINDIR (the PostgreSQL programs) not set";                         \
    }

// The application keeps its connection object: calls fail while the server is away and work
// again once it is back, without opening anything anew.
TEST(CDatabaseFaults, ServerStoppedBetweenCallsThenBackAgain)
{
    MDA_SKIP_WITHOUT_CLUSTER_PROGRAMS();
    COwnCluster cluster;
    ASSERT_TRUE(cluster.IsReady());
    CDatabaseMultiInstance db(cluster.Url(), "mdatest", "");
    ASSERT_TRUE(db.Open()) << db.LastError().toStdString();
    long lKept = 0;
    ASSERT_TRUE(CTableSession(db).Create({{"description", "before"}}, lKept));

    ASSERT_TRUE(cluster.Stop());
    long lLost = 0;
    EXPECT_FALSE(CTableSession(db).Create({}, lLost));
    EXPECT_TRUE(db.LastError().startsWith("Cannot store the session: "))
        << db.LastError().toStdString();
    EXPECT_TRUE(db.LastError().endsWith("(the connection to the database server was lost; the "
                                        "next call connects again)"))
        << db.LastError().toStdString();
    EXPECT_EQ(CountSuccessfulCalls(db), 0);
    EXPECT_TRUE(db.LastError().startsWith("Cannot begin a transaction: cannot connect to the "
                                          "database server 127.0.0.1:"))
        << db.LastError().toStdString();
    EXPECT_TRUE(db.IsOpen());

    ASSERT_TRUE(cluster.Start());
    const TableRows row = CTableSession(db).Get(lKept);
    ASSERT_FALSE(row.empty()) << db.LastError().toStdString();
    EXPECT_EQ(row[2].GetValue(), "before");
    long lAfter = 0;
    EXPECT_TRUE(CTableSession(db).Create({}, lAfter)) << db.LastError().toStdString();
    EXPECT_GT(lAfter, lKept);

    // A restart while nobody calls: the first call learns of it, the next one works.
    ASSERT_TRUE(cluster.Stop() && cluster.Start());
    const bool bFirst = CTableSession(db).Create({}, lAfter);
    EXPECT_TRUE(bFirst || db.LastError().contains("was lost")) << db.LastError().toStdString();
    EXPECT_TRUE(CTableSession(db).Create({}, lAfter)) << db.LastError().toStdString();

    // Open() after a loss still starts afresh.
    ASSERT_TRUE(cluster.Stop());
    EXPECT_FALSE(db.Open());
    EXPECT_TRUE(db.LastError().startsWith("Cannot connect to the database server"))
        << db.LastError().toStdString();
    ASSERT_TRUE(cluster.Start());
    EXPECT_TRUE(db.Open()) << db.LastError().toStdString();
}

// Scans whose rows are stored in the session's scan (the scan row plus its measurements).
std::map<long, int> RowsPerScan(CDatabaseMultiInstance& db, long lSession)
{
    TableRows rows;
    std::map<long, int> perScan;
    EXPECT_TRUE(CTableMeasurements(db).GetAllResultsForSession(lSession, rows))
        << db.LastError().toStdString();
    for (size_t i = 0; i + 8 <= rows.size(); i += 8)
    {
        ++perScan[rows[i + 2].GetValue().toLong()];
    }
    return perScan;
}

// A scan held in one transaction while the server goes away: its remaining calls fail (they
// must not slip into a new connection on their own), the commit reports the failure, and
// none of the scan's rows stays.
TEST(CDatabaseFaults, TransactionSpanningAnOutageLeavesNoHalfScan)
{
    MDA_SKIP_WITHOUT_CLUSTER_PROGRAMS();
    COwnCluster cluster;
    ASSERT_TRUE(cluster.IsReady());
    CDatabaseMultiInstance db(cluster.Url(), "mdatest", "");
    long lSession = 0;
    ASSERT_TRUE(db.Open() && CTableSession(db).Create({}, lSession))
        << db.LastError().toStdString();
    CTableMeasurements table(db);
    const TableRows row{
        {"session_id", QString::number(lSession)}, {"scan_id", "1"}, {"channel_id", "0"}};
    long lId = 0;
    {
        CDatabaseTransaction scope(db);
        ASSERT_TRUE(CTableScan(db).Create({{"session_id", QString::number(lSession)}}, 1));
        ASSERT_TRUE(table.Create(row, lId) && table.Create(row, lId));
        ASSERT_TRUE(cluster.Stop() && cluster.Start());
        EXPECT_FALSE(table.Create(row, lId));
        EXPECT_FALSE(table.Create(row, lId));
        EXPECT_EQ(db.LastError(), "The connection to the database was lost during a transaction; "
                                  "the transaction was rolled back");
        EXPECT_FALSE(scope.Commit());
        EXPECT_EQ(db.LastError(), "The connection to the database was lost during a transaction; "
                                  "the transaction was rolled back");
    }
    EXPECT_TRUE(RowsPerScan(db, lSession).empty());
    TableRows scans;
    EXPECT_TRUE(CTableScan(db).GetScanIds(lSession, scans) && scans.empty());

    CDatabaseTransaction again(db);
    ASSERT_TRUE(CTableScan(db).Create({{"session_id", QString::number(lSession)}}, 1));
    ASSERT_TRUE(table.Create(row, lId) && again.Commit()) << db.LastError().toStdString();
    EXPECT_EQ(RowsPerScan(db, lSession), (std::map<long, int>{{1, 1}}));
}

} // namespace

#include "CDatabaseTransaction.h"
#include "CTableExportFiles.h"
#include "CTableMeasurements.h"
#include "CTableScan.h"
#include "CTableSession.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
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
    int iSucceeded = 0;
    long lId = 0;
    TableRows rows;
    CTableSession sessions(db);
    iSucceeded += sessions.Create({{CTableSession::c_sColumnDescription, "d"}}, lId);
    iSucceeded += sessions.Update(1, {{CTableSession::c_sColumnDescription, "d"}});
    iSucceeded += !sessions.Get(1).empty();
    iSucceeded += sessions.Get(QString(), rows);
    iSucceeded += sessions.GetHighestScanID(1) != -1;
    CTableScan scans(db);
    iSucceeded += scans.Create({{CTableScan::c_sColumnSessionId, "1"}}, 5);
    iSucceeded += scans.GetScanIds(1, rows);
    CTableMeasurements measurements(db);
    iSucceeded += measurements.GetAllResultsForSession(1, rows);
    iSucceeded += measurements.GetAmountOfMeasurementValuesForChannel(1, 0) != -1;
    iSucceeded += CTableExportFiles(db).Update("u", "f", "d");
    CDatabaseTransaction scope(db);
    iSucceeded += scope.IsActive();
    EXPECT_TRUE(rows.empty());
    return iSucceeded;
}

TEST(CDatabaseFaults, UnusableDatabasesFailWithReasonAndNoCrash)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString sFile = dir.filePath("plain-file");
    const QByteArray garbage = QByteArray("this is no database, just text\n").repeated(200);
    {
        QFile file(sFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage);
    }
    struct stCase
    {
        QString sName;
        QString sErrorStart;
    };
    const int iPort = FreePort();
    const stCase cases[] = {
        // A folder below a regular file cannot be made, not even by root.
        {sFile + "/sub/m.sqlite", "Cannot create the folder " + sFile + "/sub for the database"},
        {sFile, "Cannot use the database file " + sFile + ": file is not a database"},
        {dir.path(), "The database " + dir.path() + " is a folder, not a file"},
        {QStringLiteral("postgresql://127.0.0.1:%1/mda").arg(iPort),
         QStringLiteral("Cannot connect to the database server 127.0.0.1:%1/mda: ").arg(iPort)},
        {"postgresql://", "The database name is not of the form postgresql://host[:port]/dbname"},
        {"postgres://host-only",
         "The database name is not of the form postgresql://host[:port]/dbname"},
    };
    for (const stCase& c : cases)
    {
        SCOPED_TRACE(c.sName.toStdString());
        CDatabaseMultiInstance db(c.sName, "nobody", "secret");
        EXPECT_FALSE(db.Open());
        EXPECT_FALSE(db.IsOpen());
        EXPECT_TRUE(db.LastError().startsWith(c.sErrorStart)) << db.LastError().toStdString();
        EXPECT_FALSE(db.LastError().contains("secret"));
        EXPECT_EQ(CountSuccessfulCalls(db), 0);
        EXPECT_FALSE(db.LastError().isEmpty());
    }
    QFile file(sFile);
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
    bool Start(QString& sError)
    {
        const QString sBin = QString::fromLocal8Bit(qgetenv("MDA_PG_BINDIR"));
        if (!m_Dir.isValid() || sBin.isEmpty())
        {
            sError = "no folder";
            return false;
        }
        m_sBin = sBin;
        m_sData = m_Dir.filePath("data");
        if (geteuid() == 0)
        {
            // The server refuses to run as root.
            const passwd* pUser = getpwnam("postgres");
            if (pUser == nullptr ||
                chown(m_Dir.path().toLocal8Bit().constData(), pUser->pw_uid, pUser->pw_gid) != 0)
            {
                sError = "cannot hand the folder to the postgres user";
                return false;
            }
            m_RunAs = QStringList{"-u", "postgres", "--"};
        }
        m_iPort = FreePort();
        return Run("initdb", {"-D", m_sData, "-U", "mdatest", "-A", "trust", "-E", "UTF8"},
                   sError) &&
               DoStart(sError);
    }

    bool Stop()
    {
        QString sError;
        return Run("pg_ctl", {"-D", m_sData, "-m", "immediate", "-w", "stop"}, sError);
    }

    bool DoStart(QString& sError)
    {
        return Run("pg_ctl",
                   {"-D", m_sData, "-l", m_Dir.filePath("log"), "-w", "-o",
                    QStringLiteral("-c listen_addresses=127.0.0.1 -p %1 -k %2 -c fsync=off")
                        .arg(m_iPort)
                        .arg(m_Dir.path()),
                    "start"},
                   sError);
    }

    QString Url() const
    {
        return QStringLiteral("postgresql://127.0.0.1:%1/postgres").arg(m_iPort);
    }

    ~CPrivateCluster()
    {
        if (!m_sData.isEmpty())
        {
            Stop();
        }
    }

private:
    bool Run(const QString& sTool, const QStringList& arguments, QString& sError)
    {
        QProcess process;
        const QString sProgram = m_sBin + '/' + sTool;
        if (m_RunAs.isEmpty())
        {
            process.start(sProgram, arguments);
        }
        else
        {
            process.start("runuser", m_RunAs + QStringList{sProgram} + arguments);
        }
        const bool bOk = process.waitForFinished(120000) &&
                         process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        if (!bOk)
        {
            sError = sTool + ": " + QString::fromLocal8Bit(process.readAllStandardError());
        }
        return bOk;
    }

    QTemporaryDir m_Dir;
    QString m_sBin;
    QString m_sData;
    QStringList m_RunAs;
    int m_iPort = 0;
};

TEST(CDatabaseFaults, ServerStoppedBetweenCallsThenBackAgain)
{
    if (qgetenv("MDA_PG_BINDIR").isEmpty())
    {
        GTEST_SKIP() << "MDA_PG_BINDIR (the PostgreSQL programs) not set";
    }
    CPrivateCluster cluster;
    QString sError;
    ASSERT_TRUE(cluster.Start(sError)) << sError.toStdString();

    CDatabaseMultiInstance db(cluster.Url(), "mdatest", "");
    ASSERT_TRUE(db.Open()) << db.LastError().toStdString();
    long lKept = 0;
    ASSERT_TRUE(CTableSession(db).Create({{CTableSession::c_sColumnDescription, "before"}}, lKept));

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

    ASSERT_TRUE(cluster.DoStart(sError)) << sError.toStdString();
    ASSERT_TRUE(db.Open()) << db.LastError().toStdString();
    const TableRows row = CTableSession(db).Get(lKept);
    ASSERT_FALSE(row.empty());
    EXPECT_EQ(row[2].GetValue(), "before");
    long lAfter = 0;
    EXPECT_TRUE(CTableSession(db).Create({}, lAfter)) << db.LastError().toStdString();
    EXPECT_GT(lAfter, lKept);
}

} // namespace

#include "BenchCopy.h"

#include "BenchWork.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>
#include <cstdio>

namespace
{

int Fail(const QString& sWhat)
{
    std::fprintf(stderr, "%s\n", qPrintable(sWhat));
    return 1;
}

QString Password()
{
    return qEnvironmentVariable("MDA_BENCH_PG_PASSWORD");
}

// Runs statements on the bench database before the timed part.
bool Prepare(const QString& sUrl, const QString& sUser, const QStringList& statements)
{
    bool bOk = true;
    {
        const QUrl url(sUrl);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), "bench-copy");
        db.setHostName(url.host());
        db.setPort(url.port(5432));
        db.setDatabaseName(url.path().mid(1));
        db.setUserName(sUser);
        db.setPassword(Password());
        bOk = db.open();
        QSqlQuery query(db);
        for (const QString& sStatement : statements)
        {
            if (bOk && !query.exec(sStatement))
            {
                std::fprintf(stderr, "%s: %s\n", qPrintable(sStatement),
                             qPrintable(query.lastError().text()));
                bOk = false;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("bench-copy");
    return bOk;
}

// The process's wall time and peak resident memory, read while it runs.
int TimeProcess(const QString& sProgram, const QStringList& arguments,
                const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(sProgram, arguments);
    if (!process.waitForStarted())
    {
        return Fail("cannot start " + sProgram);
    }
    const QString sStatus = QStringLiteral("/proc/%1/status").arg(process.processId());
    long lPeakKb = 0;
    while (!process.waitForFinished(5))
    {
        lPeakKb = std::max(lPeakKb, HighWaterKb(sStatus));
    }
    const double dSeconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
    {
        return Fail(sProgram + " failed");
    }
    std::printf("seconds %.6f\npeak %ld\n", dSeconds, lPeakKb);
    return 0;
}

QString Psql()
{
    QString sPsql = QStandardPaths::findExecutable("psql");
    for (const QString& sDir :
         QDir("/usr/lib/postgresql").entryList(QDir::Dirs | QDir::NoDotAndDotDot))
    {
        const QString sCandidate = "/usr/lib/postgresql/" + sDir + "/bin/psql";
        if (sPsql.isEmpty() && QFile::exists(sCandidate))
        {
            sPsql = sCandidate;
        }
    }
    return sPsql;
}

} // namespace

int RunCopyChild(const QStringList& a)
{
    const QString sWhat = a.value(2);
    const QString sUrl = a.value(3);
    const QString sUser = a.value(4);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (sWhat == "copy-ref" && a.size() == 6)
    {
        // The measurement table's columns and indexes, without the scan it would refer to.
        if (!Prepare(sUrl, sUser,
                     {"DROP TABLE IF EXISTS bench_copy_ref",
                      "CREATE TABLE bench_copy_ref (id BIGSERIAL PRIMARY KEY, session_id BIGINT "
                      "NOT NULL, scan_id BIGINT NOT NULL, channel_id BIGINT NOT NULL, "
                      "measurement_item BIGINT NOT NULL DEFAULT -1, state BIGINT NOT NULL "
                      "DEFAULT -1, value TEXT, error_description TEXT)",
                      "CREATE INDEX ON bench_copy_ref (session_id, scan_id, channel_id)",
                      "CREATE INDEX ON bench_copy_ref (session_id, channel_id, measurement_item)",
                      "CREATE INDEX ON bench_copy_ref (session_id, state)"}))
        {
            return Fail("cannot prepare the reference table");
        }
        QUrl url(sUrl);
        url.setUserName(sUser);
        environment.insert("PGPASSWORD", Password());
        return TimeProcess(Psql(),
                           {"-q", "-v", "ON_ERROR_STOP=1", "-d", url.toString(), "-c",
                            "\\copy bench_copy_ref (session_id, scan_id, channel_id, "
                            "measurement_item, state, value, error_description) FROM '" +
                                a.value(5) + "' WITH (FORMAT csv)"},
                           environment);
    }
    if (sWhat == "copy-lib" && a.size() == 7)
    {
        // A scratch database: the copy finds it empty every time.
        if (!Prepare(sUrl, sUser,
                     {"DO $$ BEGIN IF to_regclass('session') IS NOT NULL THEN TRUNCATE session, "
                      "scan, measurement, exported_limit_values, exported_channel_settings; END "
                      "IF; END $$"}))
        {
            return Fail("cannot empty the bench database");
        }
        environment.insert("MDA_TO_DATABASE_PASSWORD", Password());
        return TimeProcess(a.value(6),
                           {"copy", "1", "--from", a.value(5), "--to", sUrl, "--to-user", sUser},
                           environment);
    }
    return Fail("usage: mda_bench child copy-ref URL USER CSV | copy-lib URL USER DB MDA");
}

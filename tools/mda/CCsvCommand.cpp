#include "CCsvCommand.h"

#include "CCsvWriter.h"
#include "CDBSessionControler.h"
#include "CJudgedSession.h"
#include "CMeasurementResultData.h"
#include "CToolContext.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <vector>

using namespace LumoraMeasurement;

namespace
{

const QString c_sAll = QStringLiteral("all");

/// True when sOutput names the database file or one of SQLite's files beside it: writing the
/// CSV there would replace the measurements.
bool IsDatabaseFile(const QString& sOutput, OrvelFramework::CDatabaseMultiInstance& db)
{
    if (db.IsPostgreSql() || sOutput == QLatin1String("-"))
    {
        return false;
    }
    const QString sOut = QFileInfo(sOutput).canonicalFilePath();
    const QString sDb = QFileInfo(db.GetDatabaseFilePath()).canonicalFilePath();
    if (sOut.isEmpty() || sDb.isEmpty())
    {
        return false;
    }
    for (const char* pszSuffix : {"", "-wal", "-shm", "-journal"})
    {
        if (sOut == sDb + QLatin1String(pszSuffix))
        {
            return true;
        }
    }
    return false;
}

/// The RFC form: every named session (or every session) into one file, the header once.
int WriteSessions(const CToolContext& context, const QString& sOutput)
{
    CJudgedSession session;
    CSessionReader& reader = session.Reader();
    QString sReason;
    if (!context.OpenDatabase(reader.Database(), sReason))
    {
        return context.Fail(sReason);
    }
    if (!context.CheckSessionFiles(sReason))
    {
        return context.Fail(sReason);
    }
    reader.SetChannelTableFile(context.Value(QStringLiteral("channels")));
    reader.SetLimitFile(context.Value(QStringLiteral("limits")));
    reader.SetLevelUnit(eLevelUnit_dBuV);

    std::vector<long> sessionIds;
    if (context.IsSet(c_sAll))
    {
        std::vector<CDBSessionData> sessions;
        if (!CDBSessionControler(reader.Database()).ReadSessionData(QString(), sessions))
        {
            return context.Fail(QStringLiteral("cannot read the sessions: ") +
                                reader.Database().LastError());
        }
        for (const CDBSessionData& stored : sessions)
        {
            sessionIds.push_back(static_cast<long>(stored.GetSessionId()));
        }
    }
    else
    {
        for (const QString& sSession : context.Positionals())
        {
            if (!reader.SelectSession(sSession))
            {
                return context.Fail(reader.LastError());
            }
            sessionIds.push_back(reader.SessionId());
        }
    }
    if (IsDatabaseFile(sOutput, reader.Database()))
    {
        return context.Fail(QStringLiteral("'") + sOutput +
                            QStringLiteral("' is the database; the CSV is never written over it"));
    }

    CCsvWriter writer(sOutput);
    if (!writer.Open(sReason))
    {
        return context.Fail(sReason);
    }
    long lDone = 0;
    for (const long lSessionId : sessionIds)
    {
        // The session named last is selected already: its files and scans are not read again.
        if (reader.SessionId() != lSessionId && !reader.SelectSession(lSessionId))
        {
            context.Progress(QString());
            return context.Fail(reader.LastError());
        }
        long lRows = 0;
        const auto progress = [&context, lDone](long lSession)
        { context.Progress(QStringLiteral("csv: %1 values").arg(lDone + lSession)); };
        if (!writer.Write(session, progress, lRows, sReason))
        {
            context.Progress(QString());
            return context.Fail(sReason);
        }
        lDone += lRows;
    }
    context.Progress(QString());
    if (!writer.Commit(sReason))
    {
        return context.Fail(sReason);
    }
    return CToolContext::c_iExitOk;
}

} // namespace

int CCsvCommand::Run(const QStringList& arguments)
{
    CToolContext context(
        QStringLiteral("csv"), QStringLiteral("SESSION..."),
        QStringLiteral("Writes stored sessions as CSV (RFC 4180, UTF-8, CRLF): a header line, "
                       "then one row per stored value with its judgement, the limit it was "
                       "judged against and its channel."));
    context.AddDatabaseOptions();
    context.AddSessionOptions();
    context.Parser().addOption(QCommandLineOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("The CSV file to write, replaced only when the whole CSV is written; - "
                       "for standard output."),
        QStringLiteral("file")));
    context.Parser().addOption(QCommandLineOption(
        c_sAll, QStringLiteral("Every session of the database, instead of naming them.")));
    context.Parser().addOption(QCommandLineOption(
        QStringLiteral("classic"),
        QStringLiteral("Write the application's own export lines of one session instead: the "
                       "session line, then one line per stored value.")));
    // --all takes no session, otherwise at least one is named.
    const bool bAll = arguments.mid(2).contains(QStringLiteral("--all"));
    int iExit = 0;
    if (!context.Parse(arguments, bAll ? 0 : -1, iExit))
    {
        return iExit;
    }
    if (context.IsSet(c_sAll) != bAll)
    {
        return context.Fail(QStringLiteral("wrong number of arguments (see mda csv --help)"));
    }
    const QString sOutput = context.Value(QStringLiteral("o"));
    if (sOutput.isEmpty())
    {
        return context.Fail(QStringLiteral("-o FILE is required"));
    }
    if (!context.IsSet(QStringLiteral("classic")))
    {
        return WriteSessions(context, sOutput);
    }
    if (bAll || context.Positionals().size() != 1)
    {
        return context.Fail(QStringLiteral("--classic writes one session"));
    }

    CJudgedSession session;
    if (!context.OpenSession(session, iExit))
    {
        return iExit;
    }
    QString sReason;
    if (IsDatabaseFile(sOutput, session.Reader().Database()))
    {
        return context.Fail(QStringLiteral("'") + sOutput +
                            QStringLiteral("' is the database; the CSV is never written over it"));
    }
    // A file appears whole or not at all; standard output and devices are written as they go.
    const bool bStdout = sOutput == QLatin1String("-");
    const QFileInfo target(sOutput);
    const bool bDevice = !bStdout && target.exists() && !target.isFile();
    QSaveFile saved(sOutput);
    QFile direct;
    QIODevice* pDevice = &saved;
    if (bStdout || bDevice)
    {
        direct.setFileName(sOutput);
        const bool bOpen =
            bStdout ? direct.open(stdout, QIODevice::WriteOnly) : direct.open(QIODevice::WriteOnly);
        if (!bOpen)
        {
            return context.Fail(QStringLiteral("cannot write '") + sOutput + QStringLiteral("': ") +
                                direct.errorString());
        }
        pDevice = &direct;
    }
    else if (!saved.open(QIODevice::WriteOnly))
    {
        return context.Fail(QStringLiteral("cannot write '") + sOutput + QStringLiteral("': ") +
                            saved.errorString());
    }
    const bool bWritten =
        CMeasurementResultData::WriteCSVExport(session.Reader(), *pDevice, sReason) &&
        (pDevice == &saved ? saved.commit() : direct.flush());
    if (!bWritten)
    {
        if (sReason.isEmpty())
        {
            sReason = QStringLiteral("cannot write '") + sOutput + QStringLiteral("': ") +
                      pDevice->errorString();
        }
        if (pDevice == &saved)
        {
            saved.cancelWriting();
        }
        return context.Fail(sReason);
    }
    return CToolContext::c_iExitOk;
}

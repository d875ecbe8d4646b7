#include "CCopyCommand.h"

#include "CDBSessionControler.h"
#include "CDatabaseMultiInstance.h"
#include "CSessionCopier.h"
#include "CTerminalText.h"
#include "CToolContext.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

#include <set>
#include <vector>

using namespace LumoraMeasurement;
using OrvelFramework::CDatabaseMultiInstance;

namespace
{

const QString c_sFrom = QStringLiteral("from");
const QString c_sTo = QStringLiteral("to");
const QString c_sUser = QStringLiteral("user");
const QString c_sToUser = QStringLiteral("to-user");
const QString c_sAll = QStringLiteral("all");
const QString c_sSince = QStringLiteral("since");
const QString c_sVerify = QStringLiteral("verify");

bool IsServerName(const QString& sName)
{
    const QString sTrimmed = sName.trimmed();
    return sTrimmed.startsWith(QStringLiteral("postgresql://"), Qt::CaseInsensitive) ||
           sTrimmed.startsWith(QStringLiteral("postgres://"), Qt::CaseInsensitive);
}

// A file named on the command line is the file beside the user, existing or not.
QString DatabaseName(const QString& sName)
{
    return IsServerName(sName) ? sName : QFileInfo(sName).absoluteFilePath();
}

// The sessions a SESSION argument names: a number is a session id, anything else a unique id.
bool FindSessions(const std::vector<CDBSessionData>& all, const QString& sArgument,
                  std::vector<long>& ids)
{
    bool bNumber = false;
    const qlonglong llId = sArgument.trimmed().toLongLong(&bNumber);
    for (const CDBSessionData& session : all)
    {
        if (bNumber ? session.GetSessionId() == llId
                    : session.UniqueIdentifier() == sArgument.trimmed())
        {
            ids.push_back(static_cast<long>(session.GetSessionId()));
        }
    }
    return !ids.empty();
}

} // namespace

int CCopyCommand::Run(const QStringList& arguments)
{
    CToolContext context(
        QStringLiteral("copy"), QStringLiteral("[SESSION...]"),
        QStringLiteral("Copies stored sessions (by number or unique id, --all, or --since a "
                       "date) from one database into another, each in one transaction. A "
                       "session the target already holds with the same content is left alone; "
                       "one it holds with other content is refused. The source password comes "
                       "from MDA_DATABASE_PASSWORD, the target's from MDA_TO_DATABASE_PASSWORD "
                       "(or libpq's own environment). Exit status 0 when every chosen session "
                       "is on the target, 2 otherwise."));
    QCommandLineParser& parser = context.Parser();
    parser.addOption(QCommandLineOption(
        c_sFrom, QStringLiteral("The source: a SQLite file or postgresql://host:port/db."),
        QStringLiteral("db")));
    parser.addOption(
        QCommandLineOption(c_sTo,
                           QStringLiteral("The target: a SQLite file (made when missing) or "
                                          "postgresql://host:port/db."),
                           QStringLiteral("db")));
    parser.addOption(
        QCommandLineOption(c_sUser, QStringLiteral("The source's user."), QStringLiteral("name")));
    parser.addOption(QCommandLineOption(c_sToUser, QStringLiteral("The target's user."),
                                        QStringLiteral("name")));
    parser.addOption(QCommandLineOption(c_sAll, QStringLiteral("Every session of the source.")));
    parser.addOption(QCommandLineOption(
        c_sSince,
        QStringLiteral("Every session first run on or after this date (yyyy-MM-dd or "
                       "yyyy-MM-dd HH:mm:ss)."),
        QStringLiteral("date")));
    parser.addOption(QCommandLineOption(
        c_sVerify, QStringLiteral("Read each copy back before committing it; commit only when "
                                  "it has the source's content digest.")));
    // The number of sessions named is free; the context checks against the count it finds.
    QStringList countArgs = arguments.mid(2);
    countArgs.prepend(QStringLiteral("mda copy"));
    parser.parse(countArgs);
    const int iNamed = static_cast<int>(parser.positionalArguments().size());
    int iExit = 0;
    if (!context.Parse(arguments, iNamed, iExit))
    {
        return iExit;
    }
    const bool bAll = context.IsSet(c_sAll);
    const bool bSince = context.IsSet(c_sSince);
    if ((iNamed > 0 ? 1 : 0) + (bAll ? 1 : 0) + (bSince ? 1 : 0) != 1)
    {
        return context.Fail(
            QStringLiteral("name sessions, or give --all or --since (one of them)"));
    }
    if (context.Value(c_sFrom).isEmpty() || context.Value(c_sTo).isEmpty())
    {
        return context.Fail(QStringLiteral("--from and --to name the two databases"));
    }
    QString sSince = context.Value(c_sSince).trimmed();
    if (bSince)
    {
        const bool bDate = QDate::fromString(sSince, QStringLiteral("yyyy-MM-dd")).isValid();
        if (!bDate &&
            !QDateTime::fromString(sSince, QStringLiteral("yyyy-MM-dd HH:mm:ss")).isValid())
        {
            return context.Fail(QStringLiteral("--since takes yyyy-MM-dd or yyyy-MM-dd HH:mm:ss, "
                                               "not '%1'")
                                    .arg(sSince));
        }
    }

    CDatabaseMultiInstance source;
    const QString sFrom = DatabaseName(context.Value(c_sFrom));
    source.SetConnectionParameters(sFrom, context.Value(c_sUser),
                                   qEnvironmentVariable("MDA_DATABASE_PASSWORD"));
    if (!IsServerName(sFrom) && !QFileInfo(sFrom).isFile())
    {
        return context.Fail(QStringLiteral("no database file '%1'").arg(sFrom));
    }
    if (!source.OpenForReading())
    {
        return context.Fail(
            QStringLiteral("cannot open the source '%1': %2").arg(sFrom, source.LastError()));
    }
    CDatabaseMultiInstance target;
    const QString sTo = DatabaseName(context.Value(c_sTo));
    target.SetConnectionParameters(sTo, context.Value(c_sToUser),
                                   qEnvironmentVariable("MDA_TO_DATABASE_PASSWORD"));
    if (!target.Open())
    {
        return context.Fail(
            QStringLiteral("cannot open the target '%1': %2").arg(sTo, target.LastError()));
    }

    CDBSessionControler sessions(source);
    std::vector<CDBSessionData> all;
    if (!sessions.ReadSessionData(QString(), all))
    {
        return context.Fail(QStringLiteral("cannot list the sessions of the source: ") +
                            sessions.LastError());
    }
    QTextStream out(stdout);
    bool bAllThere = true;
    std::vector<long> chosen;
    if (bAll || bSince)
    {
        for (const CDBSessionData& session : all)
        {
            // The stored times are "yyyy-MM-dd HH:mm:ss": as texts they sort as times.
            if (bAll || session.FirstRun() >= sSince)
            {
                chosen.push_back(static_cast<long>(session.GetSessionId()));
            }
        }
    }
    else
    {
        std::set<long> seen;
        for (const QString& sName : context.Positionals())
        {
            std::vector<long> ids;
            if (!FindSessions(all, sName, ids))
            {
                out << QStringLiteral("failed        %1: the source has no such session\n")
                           .arg(sName);
                bAllThere = false;
                continue;
            }
            for (long lId : ids)
            {
                if (seen.insert(lId).second)
                {
                    chosen.push_back(lId);
                }
            }
        }
    }
    all.clear();

    CSessionCopier copier(source, target);
    copier.SetReadBack(context.IsSet(c_sVerify));
    for (size_t i = 0; i < chosen.size(); ++i)
    {
        const long lId = chosen[i];
        const QString sPrefix =
            QStringLiteral("session %1 (%2 of %3)").arg(lId).arg(i + 1).arg(chosen.size());
        context.Progress(sPrefix + QStringLiteral(" ..."));
        copier.SetProgress(
            [&](qint64 llValues)
            { context.Progress(sPrefix + QStringLiteral(": %1 values").arg(llValues)); });
        QElapsedTimer timer;
        timer.start();
        CSessionCopier::SResult result;
        const bool bThere = copier.CopySession(lId, result);
        const double dSeconds = static_cast<double>(timer.elapsed()) / 1000.0;
        context.Progress(QString());
        const QString sWord = CSessionCopier::ToString(result.m_eOutcome);
        if (bThere)
        {
            out << QStringLiteral("%1 %2 %3 -> %4: %5 values, %6 s\n")
                       .arg(sWord, -13)
                       .arg(CTerminalText::Escaped(result.m_sUniqueId))
                       .arg(lId)
                       .arg(result.m_lTargetId)
                       .arg(result.m_llValues)
                       .arg(dSeconds, 0, 'f', 2);
        }
        else
        {
            bAllThere = false;
            // One line per session, whatever a stored unique id holds.
            out << QStringLiteral("%1 %2 %3: %4\n")
                       .arg(sWord, -13)
                       .arg(result.m_sUniqueId.isEmpty()
                                ? QStringLiteral("-")
                                : CTerminalText::Escaped(result.m_sUniqueId))
                       .arg(lId)
                       .arg(CTerminalText::Escaped(result.m_sReason));
        }
        out.flush();
    }
    return bAllThere ? CToolContext::c_iExitOk : CToolContext::c_iExitError;
}

// mda: every stored session, from any measurement database, as a summary, a report and a
// CSV; configuration documents checked; configurations exchanged as archives.

#include "CCheckCommand.h"
#include "CCopyCommand.h"
#include "CCsvCommand.h"
#include "CExchangeCommand.h"
#include "CReportCommand.h"
#include "CSessionsCommand.h"
#include "CShowCommand.h"
#include "CTerminalText.h"
#include "CToolContext.h"

#include <QCoreApplication>
#include <QtGlobal>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace
{

struct SCommand
{
    const char* m_pszName;
    int (*m_pRun)(const QStringList&);
    const char* m_pszSummary;
};

const SCommand c_aCommands[] = {
    {"sessions", &CSessionsCommand::Run, "list the stored sessions"},
    {"show", &CShowCommand::Run, "the per-channel summary of a session"},
    {"report", &CReportCommand::Run, "a session's report as one HTML file"},
    {"csv", &CCsvCommand::Run, "a session as CSV for other tools (or --classic)"},
    {"check", &CCheckCommand::Run, "check configuration documents, one finding a line"},
    {"export", &CExchangeCommand::RunExport, "pack a measurement configuration into an archive"},
    {"import", &CExchangeCommand::RunImport, "unpack a configuration archive"},
    {"copy", &CCopyCommand::Run, "copy sessions into another database, each whole or not at all"},
};

void PrintUsage(FILE* pStream)
{
    std::fputs("Usage: mda <command> [options] [arguments]\n\nCommands:\n", pStream);
    for (const SCommand& command : c_aCommands)
    {
        std::fprintf(pStream, "  %-10s %s\n", command.m_pszName, command.m_pszSummary);
    }
    std::fputs("\nCommon options: --database NAME (a SQLite file or postgresql://host:port/db), "
               "--user NAME;\nthe password comes from MDA_DATABASE_PASSWORD or libpq's own "
               "environment.\n'mda <command> --help' describes a command. Exit status: 0 "
               "success, 1 findings, 2 usage or access error.\n",
               pStream);
}

// Qt's own uncategorised warnings (a database driver that cannot free a statement on a
// connection already lost, and the like) would follow the one line the tool prints about the
// failure; the library's categorised log lines still reach stderr, control characters escaped.
void HandleMessage(QtMsgType eType, const QMessageLogContext& context, const QString& sMessage)
{
    const bool bUncategorised =
        context.category == nullptr || qstrcmp(context.category, "default") == 0;
    if (bUncategorised && eType != QtCriticalMsg && eType != QtFatalMsg)
    {
        return;
    }
    std::fprintf(stderr, "%s\n",
                 CTerminalText::Escaped(qFormatLogMessage(eType, context, sMessage))
                     .toUtf8()
                     .constData());
}

/// What a command printed must have arrived: a full disk behind a redirection is a failure,
/// not a success with nothing written.
int Finished(const char* pszWho, int iExit)
{
    errno = 0;
    const bool bWritten = std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
    const int iError = errno;
    // A command that failed has said why already.
    if (bWritten || iExit == CToolContext::c_iExitError)
    {
        return iExit;
    }
    std::fprintf(stderr, "%s: cannot write the standard output%s%s\n", pszWho,
                 iError != 0 ? ": " : "", iError != 0 ? std::strerror(iError) : "");
    return CToolContext::c_iExitError;
}

} // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(&HandleMessage);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mda"));
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2)
    {
        std::fputs("mda: no command given (see mda --help)\n", stderr);
        return CToolContext::c_iExitError;
    }
    const QString sCommand = arguments.at(1);
    if (sCommand == QLatin1String("--version"))
    {
        std::puts("mda " MDA_TOOL_VERSION);
        return Finished("mda", CToolContext::c_iExitOk);
    }
    if (sCommand == QLatin1String("--help") || sCommand == QLatin1String("-h") ||
        sCommand == QLatin1String("help"))
    {
        PrintUsage(stdout);
        return Finished("mda", CToolContext::c_iExitOk);
    }
    for (const SCommand& command : c_aCommands)
    {
        if (sCommand == QLatin1String(command.m_pszName))
        {
            const int iExit = command.m_pRun(arguments);
            return Finished(("mda " + sCommand).toUtf8().constData(), iExit);
        }
    }
    std::fprintf(stderr, "mda: unknown command '%s' (see mda --help)\n",
                 CTerminalText::Escaped(sCommand).toUtf8().constData());
    return CToolContext::c_iExitError;
}

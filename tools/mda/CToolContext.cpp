#include "CToolContext.h"

#include "CFileCheck.h"
#include "CJudgedSession.h"
#include "CTerminalText.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>
#include <unistd.h>

using namespace LumoraMeasurement;
using OrvelFramework::CDatabaseMultiInstance;

namespace
{

const QString c_sDatabase = QStringLiteral("database");
const QString c_sUser = QStringLiteral("user");
const QString c_sChannels = QStringLiteral("channels");
const QString c_sLimits = QStringLiteral("limits");
const QString c_sForce = QStringLiteral("force");

bool IsServerName(const QString& sName)
{
    const QString sTrimmed = sName.trimmed();
    return sTrimmed.startsWith(QStringLiteral("postgresql://"), Qt::CaseInsensitive) ||
           sTrimmed.startsWith(QStringLiteral("postgres://"), Qt::CaseInsensitive);
}

// True when the URL carries a password of its own, in its user part or as a connection
// parameter: such a URL lands in shell histories and process lists, and in messages.
bool HasPassword(const QString& sName)
{
    const QString sTrimmed = sName.trimmed();
    const int iStart = sTrimmed.indexOf(QStringLiteral("://")) + 3;
    // Up to the last '@', wherever it stands: a password may hold '/', '?' or '#' itself.
    const int iAt = sTrimmed.lastIndexOf(QLatin1Char('@'));
    if (iAt > iStart && sTrimmed.mid(iStart, iAt - iStart).contains(QLatin1Char(':')))
    {
        return true;
    }
    return sTrimmed.contains(QRegularExpression(QStringLiteral("[?&]\\s*password\\s*="),
                                                QRegularExpression::CaseInsensitiveOption));
}

} // namespace

CToolContext::CToolContext(const QString& sCommand, const QString& sArguments,
                           const QString& sSummary)
    : m_sCommand(sCommand), m_bTerminal(isatty(STDERR_FILENO) == 1)
{
    m_Parser.setApplicationDescription(sSummary);
    m_Parser.addHelpOption();
    if (!sArguments.isEmpty())
    {
        m_Parser.addPositionalArgument(sArguments, QString(), sArguments);
    }
}

void CToolContext::AddDatabaseOptions()
{
    m_Parser.addOption(QCommandLineOption(
        c_sDatabase,
        QStringLiteral("The database: a SQLite file, or postgresql://host:port/db. Default: the "
                       "embedded database of the user data folder. The password comes from "
                       "MDA_DATABASE_PASSWORD or libpq's own environment (PGPASSWORD, "
                       "~/.pgpass)."),
        QStringLiteral("name")));
    m_Parser.addOption(
        QCommandLineOption(c_sUser, QStringLiteral("The database user."), QStringLiteral("name")));
}

void CToolContext::AddSessionOptions()
{
    m_bSessionOptions = true;
    m_Parser.addOption(QCommandLineOption(
        c_sChannels,
        QStringLiteral("Use this channel table instead of the copy stored with the session."),
        QStringLiteral("file")));
    m_Parser.addOption(QCommandLineOption(
        c_sLimits,
        QStringLiteral("Judge against these limits instead of the copy stored with the session."),
        QStringLiteral("file")));
    m_Parser.addOption(QCommandLineOption(
        c_sForce,
        QStringLiteral("Judge with --channels / --limits files even when they have findings.")));
}

bool CToolContext::CheckSessionFiles(QString& sReason) const
{
    const QStringList files = {m_Parser.value(c_sChannels), m_Parser.value(c_sLimits)};
    for (const QString& sFile : files)
    {
        if (!sFile.isEmpty() && !QFileInfo(sFile).isFile())
        {
            sReason = sFile + QStringLiteral(":0:0: no such file");
            return false;
        }
    }
    // The findings of 'mda check' come before anything is judged with the files.
    return CFileCheck::DoCheckBeforeUse(files, m_Parser.isSet(c_sForce), sReason);
}

bool CToolContext::Parse(const QStringList& arguments, int iPositionals, int& iExit)
{
    // The parser sees "mda <command>" as the program, so its help names the subcommand.
    QStringList args = arguments.mid(2);
    args.prepend(QStringLiteral("mda ") + m_sCommand);
    if (!m_Parser.parse(args))
    {
        iExit = Fail(m_Parser.errorText());
        return false;
    }
    if (m_Parser.isSet(QStringLiteral("help")))
    {
        // Qt names the program by its path; the usage line names the subcommand instead.
        QString sHelp = m_Parser.helpText();
        const int iEnd = sHelp.indexOf(QLatin1Char('\n'));
        const int iOptions = sHelp.indexOf(QStringLiteral(" [options]"));
        if (iOptions > 0 && iOptions < iEnd)
        {
            sHelp.replace(0, iOptions, QStringLiteral("Usage: mda ") + m_sCommand);
        }
        std::fputs(sHelp.toUtf8().constData(), stdout);
        iExit = c_iExitOk;
        return false;
    }
    const int iGiven = static_cast<int>(m_Parser.positionalArguments().size());
    if (iPositionals >= 0 ? iGiven != iPositionals : iGiven < 1)
    {
        iExit = Fail(QStringLiteral("wrong number of arguments (see mda ") + m_sCommand +
                     QStringLiteral(" --help)"));
        return false;
    }
    return true;
}

int CToolContext::Fail(const QString& sReason) const
{
    std::fflush(stdout);
    QString sLine = sReason;
    sLine.replace(QRegularExpression(QStringLiteral("\\s*\\n\\s*")), QStringLiteral(" "));
    // Reasons quote names and texts from files and databases: shown, never acted upon.
    std::fprintf(stderr, "mda %s: %s\n", m_sCommand.toUtf8().constData(),
                 CTerminalText::Escaped(sLine.trimmed(), true).toUtf8().constData());
    return c_iExitError;
}

int CToolContext::Finish(QTextStream& out, int iExit) const
{
    out.flush();
    if (out.status() == QTextStream::Ok)
    {
        return iExit;
    }
    return Fail(QStringLiteral("cannot write the standard output: ") + out.device()->errorString());
}

void CToolContext::Progress(const QString& sText) const
{
    if (m_bTerminal)
    {
        std::fprintf(stderr, "\r\033[K%s", sText.toUtf8().constData());
        std::fflush(stderr);
    }
}

QString CToolContext::DatabaseName() const
{
    const QString sName = m_Parser.value(c_sDatabase);
    if (sName.isEmpty() || IsServerName(sName) || QDir::isAbsolutePath(sName))
    {
        return sName;
    }
    // A file name typed on the command line means the file beside the user; a bare name
    // that is no file here still means the one in the user data folder.
    const QFileInfo local(sName);
    return local.exists() ? local.absoluteFilePath() : sName;
}

bool CToolContext::OpenDatabase(CDatabaseMultiInstance& db, QString& sReason,
                                bool bForWriting) const
{
    const QString sName = DatabaseName();
    if (IsServerName(sName) && HasPassword(sName))
    {
        // The name itself is not repeated: it holds the password.
        sReason = QStringLiteral("the database URL carries a password; give it in the "
                                 "environment instead (MDA_DATABASE_PASSWORD, or libpq's "
                                 "PGPASSWORD or ~/.pgpass)");
        return false;
    }
    db.SetConnectionParameters(sName, m_Parser.value(c_sUser),
                               qEnvironmentVariable("MDA_DATABASE_PASSWORD"));
    if (!IsServerName(sName) && !QFileInfo(db.GetDatabaseFilePath()).isFile())
    {
        sReason =
            QStringLiteral("no database file '") + db.GetDatabaseFilePath() + QLatin1Char('\'');
        return false;
    }
    if (!(bForWriting ? db.Open() : db.OpenForReading()))
    {
        sReason = QStringLiteral("cannot open the database '") + sName + QStringLiteral("': ") +
                  db.LastError();
        return false;
    }
    return true;
}

bool CToolContext::OpenSession(CJudgedSession& session, int& iExit) const
{
    iExit = c_iExitError;
    QString sReason;
    CSessionReader& reader = session.Reader();
    if (!OpenDatabase(reader.Database(), sReason))
    {
        Fail(sReason);
        return false;
    }
    if (m_bSessionOptions)
    {
        if (!CheckSessionFiles(sReason))
        {
            Fail(sReason);
            return false;
        }
        reader.SetChannelTableFile(m_Parser.value(c_sChannels));
        reader.SetLimitFile(m_Parser.value(c_sLimits));
    }
    reader.SetLevelUnit(eLevelUnit_dBuV);
    if (!reader.SelectSession(Positionals().first()))
    {
        Fail(reader.LastError());
        return false;
    }
    iExit = c_iExitOk;
    return true;
}

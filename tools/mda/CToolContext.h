#pragma once

#include "CDatabaseMultiInstance.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTextStream>

class CJudgedSession;

/// What every subcommand of the tool shares: the database options and where the password
/// comes from, the session options, parsing with exit codes of our own, error and progress
/// output, and bringing back the configuration a session was measured with.
class CToolContext
{
public:
    /// Exit statuses: success, findings, usage or access errors.
    static constexpr int c_iExitOk = 0;
    static constexpr int c_iExitFindings = 1;
    static constexpr int c_iExitError = 2;

    /// sCommand is the subcommand's name, sArguments what it takes ("SESSION"), sSummary one
    /// sentence on what it does.
    CToolContext(const QString& sCommand, const QString& sArguments, const QString& sSummary);

    void AddDatabaseOptions();
    /// --channels and --limits: judge with these files instead of the session's own copies;
    /// --force: even when 'mda check' has findings in them.
    void AddSessionOptions();
    /// The --channels / --limits files exist and have no findings (printed on stderr), or
    /// --force is given; false with sReason otherwise.
    bool CheckSessionFiles(QString& sReason) const;
    QCommandLineParser& Parser() { return m_Parser; }

    /// Parses argv (the program name, the subcommand, then its arguments). False with
    /// iExit set when the caller should stop: --help printed (0) or a usage error (2).
    bool Parse(const QStringList& arguments, int iPositionals, int& iExit);
    QStringList Positionals() const { return m_Parser.positionalArguments(); }
    QString Value(const QString& sOption) const { return m_Parser.value(sOption); }
    bool IsSet(const QString& sOption) const { return m_Parser.isSet(sOption); }

    /// Writes "mda <command>: <reason>" on stderr and returns 2.
    int Fail(const QString& sReason) const;
    /// iExit when all that went into out has reached standard output, else Fail() with why.
    int Finish(QTextStream& out, int iExit) const;
    /// One line on stderr when stderr is a terminal.
    void Progress(const QString& sText) const;
    bool IsProgressShown() const { return m_bTerminal; }

    /// The database name to open: a PostgreSQL URL as given, else an absolute SQLite path.
    QString DatabaseName() const;
    /// Opens the database named by the options: for reading only unless bForWriting. A
    /// SQLite file must exist already: a read never creates an empty database under a
    /// mistyped name.
    bool OpenDatabase(OrvelFramework::CDatabaseMultiInstance& db, QString& sReason,
                      bool bForWriting = false) const;

    /// The SESSION argument (a number or a unique id) selected in the database the options
    /// name, read-only, with the --channels / --limits files when given; false with the reason
    /// on stderr and iExit 2 otherwise.
    bool OpenSession(CJudgedSession& session, int& iExit) const;

private:
    QString m_sCommand;
    QCommandLineParser m_Parser;
    bool m_bTerminal = false;
    bool m_bSessionOptions = false;
};

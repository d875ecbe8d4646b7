#pragma once

#include "MainDataAccess_export.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariantList>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

class QSqlQuery;

namespace OrvelFramework
{

/// One connection to the measurement database. A name of the form
/// postgresql://host[:port]/dbname (or postgres://) selects a PostgreSQL server; anything
/// else is an embedded SQLite file: an absolute path as it is, a relative name under the
/// user data folder, an empty name "measurements.sqlite" there. Each instance owns its own
/// uniquely named Qt SQL connection, removed again in the destructor. Operations report
/// failure by their result and keep the reason for LastError(); nothing throws.
///
/// One instance may serve several threads: each calling thread gets a connection of its own
/// (made on its first call, closed with the instance), with its own prepared statements,
/// transactions and LastError(). Open() and Close() in any thread open or close the
/// instance for all of them. A transaction stays on the thread that began it.
class MDA_EXPORT CDatabaseMultiInstance
{
public:
    /// An unopened connection to the default SQLite file; see SetConnectionParameters().
    CDatabaseMultiInstance();
    /// An unopened connection to database sName (see the class description) as sUser with
    /// sPassword; Open() connects.
    CDatabaseMultiInstance(const QString& sName, const QString& sUser, const QString& sPassword);
    ~CDatabaseMultiInstance();

    CDatabaseMultiInstance(const CDatabaseMultiInstance&) = delete;
    CDatabaseMultiInstance& operator=(const CDatabaseMultiInstance&) = delete;

    /// Takes effect with the next Open().
    void SetConnectionParameters(const QString& sName, const QString& sUser,
                                 const QString& sPassword);

    /// Connects (closing a previous connection first), creates the folder of a SQLite file
    /// and the schema when missing. True when the database is ready for use.
    bool Open();
    /// Connects for reading only: nothing is created, migrated or switched (a SQLite file is
    /// opened read-only, also on read-only media; a server session is read-only). A database
    /// without our schema version is refused as "not a measurement database", one whose
    /// version is no number or newer than this library knows is refused naming both
    /// versions; the database is left as it was.
    bool OpenForReading();
    /// True between a successful Open() or OpenForReading() and Close().
    bool IsOpen() const;
    /// True after OpenForReading(), false after Open().
    bool IsReadOnly() const { return m_bReadOnly; }
    /// Rolls back an open transaction and disconnects.
    void Close();
    /// The reason of the most recent failure, in words.
    QString LastError() const;

    /// Transactions nest: an inner level is a savepoint, only the outermost Commit() makes
    /// the changes durable. A failed Commit() rolls that level back.
    bool BeginTransaction();
    /// Ends the innermost level, keeping its changes; false when none is open or it failed.
    bool Commit();
    /// Ends the innermost level, undoing its changes; false when none is open or it failed.
    bool Rollback();
    /// The number of open levels on the calling thread; 0 outside any transaction.
    int GetTransactionDepth() const;

    /// True when the name selects a PostgreSQL server.
    bool IsPostgreSql() const;
    /// The resolved SQLite file; empty for PostgreSQL.
    QString GetDatabaseFilePath() const;

    // For the library's own table classes: the statement cache and the execution helpers are
    // no part of the reference documentation.
    /// @cond INTERNAL

    /// The prepared statement for this text, prepared once per connection and reused;
    /// nullptr (with LastError() set, naming sWhat) when the connection is not usable.
    QSqlQuery* GetPreparedQuery(const QString& sStatement, const QString& sWhat = QString());
    /// As above, with the operation's name made only when preparing fails.
    QSqlQuery* GetPreparedQuery(const QString& sStatement, const std::function<QString()>& what);
    /// What determines a statement's text, so a hot path can find its prepared statement
    /// without building and hashing the text: an address of the caller's own, a number and a
    /// short text.
    struct SStatementKey
    {
        const void* pOwner;
        quint64 uBits;
        QString sText;
        bool operator==(const SStatementKey& other) const;
    };
    /// The statement remembered under key; nullptr when none is (or the connection is gone).
    QSqlQuery* FindPreparedQuery(const SStatementKey& key) const;
    /// Remembers a statement returned by GetPreparedQuery() under key.
    void RememberPreparedQuery(const SStatementKey& key, QSqlQuery* pQuery);
    /// Executes a prepared statement with its bound values; sWhat names the operation in
    /// the error text.
    bool Execute(QSqlQuery& query, const QString& sWhat);
    /// As above, with the operation's name made only when the statement fails: frequent
    /// reads do not format a text they almost never need.
    bool Execute(QSqlQuery& query, const std::function<QString()>& what);
    /// The prepared statement for this text, run with values bound in order; nullptr (with
    /// LastError() naming what()) when it cannot be prepared or run.
    QSqlQuery* ExecutePrepared(const QString& sStatement, const QVariantList& values,
                               const std::function<QString()>& what);
    /// Executes an insert prepared from InsertStatement() and hands back the new row id.
    bool ExecuteInsert(QSqlQuery& query, const QString& sWhat, long& lId);
    /// The insert text with whatever the backend needs to report the new row id.
    QString InsertStatement(const QString& sInsert) const;
    /// Records the reason and returns false.
    bool Fail(const QString& sMessage);
    /// @endcond

private:
    /// The calling thread's connection when it is not this object's own (nullptr: this one);
    /// with bFollow it first catches up with an Open() or Close() made in another thread.
    CDatabaseMultiInstance* DoForward(bool bFollow = true) const
    {
        return const_cast<CDatabaseMultiInstance*>(this)->DoForward(bFollow);
    }
    CDatabaseMultiInstance* DoForward(bool bFollow = true);
    CDatabaseMultiInstance& DoConnection(bool bFollow);
    void DoFollow(CDatabaseMultiInstance& connection);
    void DoPublish(CDatabaseMultiInstance& connection, bool bOpen);
    bool DoOpen();
    bool DoOpenAs(bool bReadOnly);
    bool DoConnect();
    void DoClose();
    bool DoOpenSqlite();
    bool DoOpenPostgreSql();
    bool DoCreateSchema();
    bool DoCheckSchema();
    /// The stored schema version: 0 without a schema_version table; false (with the reason)
    /// when it cannot be read or is no number.
    bool DoReadSchemaVersion(int& iVersion);
    bool DoOpenSqliteReadOnly(bool bImmutable);
    bool DoCheckConnection();
    bool DoReconnect();
    void DoMarkLost();
    void DoCheckLost(const QSqlError& error);
    bool DoExecuteDirect(const QString& sStatement, const QString& sWhat);
    void DoResolveName();
    void DoForgetConnection();
    void DoNoteStatementFailure(const QString& sMessage);

    struct SQStringHash
    {
        size_t operator()(const QString& s) const noexcept;
    };
    struct SKeyHash
    {
        size_t operator()(const SStatementKey& key) const noexcept;
    };

    QString m_sName;
    QString m_sUser;
    QString m_sPassword;
    QString m_sConnectionName;
    QString m_sFilePath;
    bool m_bIsPostgreSql = false;
    // Set by whichever thread opens the instance; read when another thread's connection is made.
    std::atomic<bool> m_bReadOnly{false};
    QString m_sLastError;
    QSqlDatabase m_Db;
    bool m_bOpen = false;
    // The server connection broke; the next call outside a transaction makes a new one.
    bool m_bLost = false;
    int m_iTransactionDepth = 0;
    // The level at which a statement failed on PostgreSQL, 0 for none; the failure's text is
    // read only while there is one, and written whenever there comes to be one.
    int m_iAbortedDepth = 0;
    QString m_sAbortReason;
    std::unordered_map<QString, std::unique_ptr<QSqlQuery>, SQStringHash> m_Statements;
    std::unordered_map<SStatementKey, QSqlQuery*, SKeyHash> m_StatementsByKey;

    // The connections of other threads than the one that made the instance.
    const std::thread::id m_OwnerThread = std::this_thread::get_id();
    bool m_bIsClone = false;
    std::mutex m_ThreadsMutex;
    std::map<std::thread::id, std::unique_ptr<CDatabaseMultiInstance>> m_Threads;
    // Counts Open() and Close() calls; a connection that saw an older count follows.
    std::atomic<int> m_iGeneration{0};
    std::atomic<bool> m_bAnyOpen{false};
    int m_iSeenGeneration = 0;
};

} // namespace OrvelFramework

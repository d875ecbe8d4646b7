#include "CDatabaseMultiInstance.h"

#include "COSAbstraction.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUrl>
#include <QVariant>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <limits>
#include <random>
#include <thread>

namespace OrvelFramework
{

namespace
{

constexpr int c_iSchemaVersion = 1;
// SQLite's own wait for a lock is kept short and retried by us until the bound: its waits grow
// to 100 ms steps, and a writer polling that seldom can lose the lock to a busy neighbour
// again and again. Short polls with a little jitter take the next gap.
constexpr int c_iBusyTimeoutMs = 10;
constexpr auto c_LockWaitBound = std::chrono::seconds(60);
constexpr int c_iConnectTimeoutS = 5;
constexpr int c_iDefaultPostgreSqlPort = 5432;
// Serialises schema creation of several stations on one server.
constexpr long long c_llSchemaLockKey = 0x4D44410001LL;

std::atomic<unsigned> s_uConnectionCounter{0};

// %ID% is the database-chosen row id, %INT% a 64-bit whole number.
enum class EFor
{
    Both,
    Sqlite,
    PostgreSql
};
struct stSchemaStatement
{
    const char* pText;
    EFor eFor;
};
constexpr stSchemaStatement c_SchemaStatements[] = {
    {"CREATE TABLE IF NOT EXISTS session (id %ID%, unique_id TEXT, description TEXT, "
     "first_run TEXT, last_run TEXT, scan_count %INT% NOT NULL DEFAULT 0, site TEXT, "
     "test_point TEXT, name TEXT, e_number TEXT, t_number TEXT, e_mail TEXT, hw_model TEXT, "
     "firmware_version TEXT, software_version TEXT, serial_nr TEXT, owner TEXT, "
     "limit_file_id TEXT, channel_file_id TEXT)",
     EFor::Both},
    {"CREATE TABLE IF NOT EXISTS scan (session_id %INT% NOT NULL REFERENCES session (id), "
     "id %INT% NOT NULL, state %INT% NOT NULL DEFAULT -1, date_time TEXT, "
     "PRIMARY KEY (session_id, id))",
     EFor::Both},
    {"CREATE TABLE IF NOT EXISTS measurement (id %ID%, session_id %INT% NOT NULL, "
     "scan_id %INT% NOT NULL, channel_id %INT% NOT NULL, "
     "measurement_item %INT% NOT NULL DEFAULT -1, state %INT% NOT NULL DEFAULT -1, "
     "value TEXT, error_description TEXT, "
     "FOREIGN KEY (session_id, scan_id) REFERENCES scan (session_id, id))",
     EFor::Both},
    // A session's rows in id order without sorting them (the server sorts fast enough).
    {"CREATE INDEX IF NOT EXISTS measurement_by_session ON measurement (session_id)", EFor::Sqlite},
    // Per-value statistics of session ids are always behind: a session being measured is
    // unknown to them and estimated at one row, which makes the server's planner pick any
    // index that starts with the session. Without them every session counts as a small slice
    // and the index matching the other columns wins.
    {"ALTER TABLE measurement ALTER COLUMN session_id SET STATISTICS 0", EFor::PostgreSql},
    {"CREATE INDEX IF NOT EXISTS measurement_by_scan_channel "
     "ON measurement (session_id, scan_id, channel_id)",
     EFor::Both},
    {"CREATE INDEX IF NOT EXISTS measurement_by_channel_item "
     "ON measurement (session_id, channel_id, measurement_item)",
     EFor::Both},
    {"CREATE INDEX IF NOT EXISTS measurement_by_state ON measurement (session_id, state)",
     EFor::Both},
    {"CREATE TABLE IF NOT EXISTS export_file (id %ID%, unique_id TEXT NOT NULL UNIQUE, "
     "file TEXT, description TEXT)",
     EFor::Both},
    {"CREATE TABLE IF NOT EXISTS exported_limit_values (id %ID%, file TEXT, hash TEXT, "
     "added TEXT)",
     EFor::Both},
    {"CREATE TABLE IF NOT EXISTS exported_channel_settings (id %ID%, file TEXT, hash TEXT, "
     "added TEXT)",
     EFor::Both},
    {"CREATE TABLE IF NOT EXISTS schema_version (version %INT% NOT NULL)", EFor::Both},
};

// "host:port/db": what messages name a server by. Never the URL itself, whose user part may
// carry a password.
QString ServerText(const QUrl& url)
{
    return url.host() + QLatin1Char(':') + QString::number(url.port(c_iDefaultPostgreSqlPort)) +
           QLatin1Char('/') + url.path().mid(1);
}

QString ErrorText(const QSqlError& error)
{
    QString sText = error.databaseText().trimmed();
    if (sText.isEmpty())
    {
        sText = error.driverText().trimmed();
    }
    // Server texts span lines and may end in an empty code in brackets.
    sText = sText.simplified();
    if (sText.endsWith(QStringLiteral("()")))
    {
        sText.chop(2);
        sText = sText.trimmed();
    }
    return sText.isEmpty() ? QStringLiteral("unknown error") : sText;
}

// SQLITE_BUSY or SQLITE_LOCKED: another connection holds the lock the statement needs. A
// driver that reports extended codes gives them in the high bits (SQLITE_BUSY_RECOVERY while
// another connection recovers the write-ahead log, say).
bool IsSqliteLockError(const QSqlError& error)
{
    const int iPrimary = error.nativeErrorCode().toInt() & 0xFF;
    return iPrimary == 5 || iPrimary == 6;
}

// A server that answered has a state code; a gone one leaves none, or reports a connection
// failure (08...) or its shutdown (57P...).
bool IsConnectionLossCode(const QString& sCode)
{
    return sCode.isEmpty() || sCode.startsWith(QLatin1String("08")) ||
           sCode.startsWith(QLatin1String("57P"));
}

// Retries run while exec fails for a lock another connection holds, up to the bound.
template <typename FExec> bool RetryWhileLocked(FExec exec, const std::function<QSqlError()>& error)
{
    thread_local std::minstd_rand s_Random(
        static_cast<unsigned>(std::hash<std::thread::id>()(std::this_thread::get_id())));
    const auto deadline = std::chrono::steady_clock::now() + c_LockWaitBound;
    while (IsSqliteLockError(error()) && std::chrono::steady_clock::now() < deadline)
    {
        std::this_thread::sleep_for(std::chrono::microseconds(s_Random() % 500));
        if (exec())
        {
            return true;
        }
    }
    return false;
}

} // namespace

size_t CDatabaseMultiInstance::SQStringHash::operator()(const QString& s) const noexcept
{
    return qHash(s);
}

bool CDatabaseMultiInstance::SStatementKey::operator==(const SStatementKey& other) const
{
    return pOwner == other.pOwner && uBits == other.uBits && sText == other.sText;
}

size_t CDatabaseMultiInstance::SKeyHash::operator()(const SStatementKey& key) const noexcept
{
    return std::hash<const void*>()(key.pOwner) ^ (std::hash<quint64>()(key.uBits) * 31U) ^
           (qHash(key.sText) * 131U);
}

CDatabaseMultiInstance::CDatabaseMultiInstance()
    : CDatabaseMultiInstance(QString(), QString(), QString())
{
}

CDatabaseMultiInstance::CDatabaseMultiInstance(const QString& sName, const QString& sUser,
                                               const QString& sPassword)
    : m_sConnectionName(QStringLiteral("MainDataAccess-%1").arg(s_uConnectionCounter++))
{
    SetConnectionParameters(sName, sUser, sPassword);
}

CDatabaseMultiInstance::~CDatabaseMultiInstance()
{
    DoClose();
    DoForgetConnection();
}

CDatabaseMultiInstance* CDatabaseMultiInstance::DoForward(bool bFollow)
{
    if (m_bIsClone)
    {
        return nullptr;
    }
    CDatabaseMultiInstance* pConnection = this;
    if (std::this_thread::get_id() != m_OwnerThread)
    {
        std::lock_guard<std::mutex> lock(m_ThreadsMutex);
        std::unique_ptr<CDatabaseMultiInstance>& pClone = m_Threads[std::this_thread::get_id()];
        if (!pClone)
        {
            pClone = std::make_unique<CDatabaseMultiInstance>(m_sName, m_sUser, m_sPassword);
            pClone->m_bIsClone = true;
            pClone->m_bReadOnly = m_bReadOnly.load();
        }
        pConnection = pClone.get();
    }
    if (bFollow && pConnection->m_iSeenGeneration != m_iGeneration.load(std::memory_order_acquire))
    {
        DoFollow(*pConnection);
    }
    return pConnection == this ? nullptr : pConnection;
}

CDatabaseMultiInstance& CDatabaseMultiInstance::DoConnection(bool bFollow)
{
    CDatabaseMultiInstance* pConnection = DoForward(bFollow);
    return pConnection == nullptr ? *this : *pConnection;
}

void CDatabaseMultiInstance::DoFollow(CDatabaseMultiInstance& connection)
{
    // Another thread opened or closed the instance: this thread's connection does the same.
    const int iGeneration = m_iGeneration.load(std::memory_order_acquire);
    if (!m_bAnyOpen.load(std::memory_order_acquire))
    {
        connection.DoClose();
        connection.m_iSeenGeneration = iGeneration;
        return;
    }
    if (&connection != this)
    {
        connection.SetConnectionParameters(m_sName, m_sUser, m_sPassword);
        connection.m_bReadOnly = m_bReadOnly.load();
    }
    // Marked first: the calls made while connecting must not start over. A connection that
    // cannot be made now is tried again on the next call.
    connection.m_iSeenGeneration = iGeneration;
    if (!connection.DoConnect())
    {
        connection.m_iSeenGeneration = iGeneration - 1;
    }
}

void CDatabaseMultiInstance::DoPublish(CDatabaseMultiInstance& connection, bool bOpen)
{
    m_bAnyOpen.store(bOpen, std::memory_order_release);
    connection.m_iSeenGeneration = m_iGeneration.fetch_add(1, std::memory_order_acq_rel) + 1;
}

void CDatabaseMultiInstance::SetConnectionParameters(const QString& sName, const QString& sUser,
                                                     const QString& sPassword)
{
    m_sName = sName;
    m_sUser = sUser;
    m_sPassword = sPassword;
    DoResolveName();
}

void CDatabaseMultiInstance::DoResolveName()
{
    const QString sTrimmed = m_sName.trimmed();
    m_bIsPostgreSql = sTrimmed.startsWith(QStringLiteral("postgresql://"), Qt::CaseInsensitive) ||
                      sTrimmed.startsWith(QStringLiteral("postgres://"), Qt::CaseInsensitive);
    if (m_bIsPostgreSql)
    {
        m_sFilePath.clear();
        return;
    }
    if (!m_sName.isEmpty() && QDir::isAbsolutePath(m_sName))
    {
        m_sFilePath = m_sName;
        return;
    }
    const QString sFolder = COSAbstraction::GetUserDataPath(QStringLiteral("Vantrell"),
                                                            QStringLiteral("Lumora2.0/Database"));
    m_sFilePath = sFolder + QLatin1Char('/') +
                  (m_sName.isEmpty() ? QStringLiteral("measurements.sqlite") : m_sName);
}

bool CDatabaseMultiInstance::Open()
{
    return DoOpenAs(false);
}

bool CDatabaseMultiInstance::OpenForReading()
{
    return DoOpenAs(true);
}

bool CDatabaseMultiInstance::DoOpenAs(bool bReadOnly)
{
    m_bReadOnly = bReadOnly;
    CDatabaseMultiInstance& connection = DoConnection(false);
    connection.m_bReadOnly = bReadOnly;
    if (&connection != this)
    {
        connection.SetConnectionParameters(m_sName, m_sUser, m_sPassword);
    }
    // The calls made while opening must not follow an older Open() or Close().
    connection.m_iSeenGeneration = m_iGeneration.load(std::memory_order_acquire);
    const bool bOpen = connection.DoOpen();
    DoPublish(connection, bOpen);
    return bOpen;
}

bool CDatabaseMultiInstance::DoOpen()
{
    if (DoConnect() && !(m_bReadOnly ? DoCheckSchema() : DoCreateSchema()))
    {
        const QString sReason = m_sLastError;
        DoClose();
        m_sLastError = sReason;
    }
    return m_bOpen;
}

bool CDatabaseMultiInstance::DoConnect()
{
    DoClose();
    DoForgetConnection();
    const QString sDriver = m_bIsPostgreSql ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
    m_Db = QSqlDatabase::addDatabase(sDriver, m_sConnectionName);
    if (!m_Db.isValid())
    {
        return Fail(QStringLiteral("The database driver %1 is not available").arg(sDriver));
    }
    m_bOpen = m_bIsPostgreSql ? DoOpenPostgreSql()
                              : (m_bReadOnly ? DoOpenSqliteReadOnly(false) : DoOpenSqlite());
    return m_bOpen;
}

bool CDatabaseMultiInstance::DoOpenSqlite()
{
    const QFileInfo file(m_sFilePath);
    const QString sFolder = file.absolutePath();
    if (!QDir(sFolder).exists() && !QDir().mkpath(sFolder))
    {
        return Fail(QStringLiteral("Cannot create the folder %1 for the database").arg(sFolder));
    }
    if (file.isDir())
    {
        return Fail(QStringLiteral("The database %1 is a folder, not a file").arg(m_sFilePath));
    }
    m_Db.setDatabaseName(m_sFilePath);
    if (!m_Db.open())
    {
        return Fail(QStringLiteral("Cannot open the database file %1: %2")
                        .arg(m_sFilePath, ErrorText(m_Db.lastError())));
    }
    // WAL keeps readers and one writer of another process apart; FULL makes a returned
    // write survive a crash of the process or the machine.
    const QString sWhat = QStringLiteral("Cannot use the database file %1").arg(m_sFilePath);
    const QString pragmas[] = {
        QStringLiteral("PRAGMA busy_timeout = %1").arg(c_iBusyTimeoutMs),
        QStringLiteral("PRAGMA journal_mode = WAL"),
        QStringLiteral("PRAGMA synchronous = FULL"),
        QStringLiteral("PRAGMA foreign_keys = ON"),
    };
    for (const QString& sPragma : pragmas)
    {
        if (!DoExecuteDirect(sPragma, sWhat))
        {
            m_Db.close();
            return false;
        }
    }
    return true;
}

void CDatabaseMultiInstance::DoMarkLost()
{
    m_bLost = true;
    // The statements belong to the broken connection. Its socket is gone already (the client
    // library drops it on finding the server gone); the reconnect or close closes the driver.
    m_StatementsByKey.clear();
    m_Statements.clear();
}

bool CDatabaseMultiInstance::DoReconnect()
{
    if (m_iTransactionDepth > 0)
    {
        // Whatever the transaction held is gone with the old connection; its remaining calls
        // must not land in a new one on their own.
        return Fail(QStringLiteral("The connection to the database was lost during a "
                                   "transaction; the transaction was rolled back"));
    }
    m_Db.close();
    if (!DoOpenPostgreSql())
    {
        return false;
    }
    m_bLost = false;
    return true;
}

void CDatabaseMultiInstance::DoCheckLost(const QSqlError& error)
{
    if (!m_bIsPostgreSql || m_bLost || !IsConnectionLossCode(error.nativeErrorCode()))
    {
        return;
    }
    // Ask once more: an aborted transaction or a refused statement is answered with a state
    // code by a live server.
    QSqlQuery probe(m_Db);
    if (probe.exec(QStringLiteral("SELECT 1")) ||
        !IsConnectionLossCode(probe.lastError().nativeErrorCode()))
    {
        return;
    }
    probe.finish();
    DoMarkLost();
    m_sLastError += QStringLiteral(" (the connection to the database server was lost; the next "
                                   "call connects again)");
}

bool CDatabaseMultiInstance::DoOpenPostgreSql()
{
    const QUrl url(m_sName.trimmed(), QUrl::StrictMode);
    const QString sDatabase = url.path().mid(1);
    if (!url.isValid() || url.host().isEmpty() || sDatabase.isEmpty() || sDatabase.contains('/'))
    {
        return Fail(QStringLiteral("The database name is not of the form "
                                   "postgresql://host[:port]/dbname"));
    }
    const int iPort = url.port(c_iDefaultPostgreSqlPort);
    m_Db.setHostName(url.host());
    m_Db.setPort(iPort);
    m_Db.setDatabaseName(sDatabase);
    m_Db.setUserName(m_sUser.isEmpty() ? url.userName() : m_sUser);
    m_Db.setPassword(m_sPassword.isEmpty() ? url.password() : m_sPassword);
    // Set at connection start: a connection is either opened with them or not at all.
    QString sOptions = QStringLiteral("connect_timeout=%1;options='-c client_min_messages=warning")
                           .arg(c_iConnectTimeoutS);
    if (m_bReadOnly)
    {
        sOptions += QStringLiteral(" -c default_transaction_read_only=on");
    }
    m_Db.setConnectOptions(sOptions + QLatin1Char('\''));
    if (!m_Db.open())
    {
        return Fail(QStringLiteral("Cannot connect to the database server %1: %2")
                        .arg(ServerText(url), ErrorText(m_Db.lastError())));
    }
    return true;
}

bool CDatabaseMultiInstance::DoOpenSqliteReadOnly(bool bImmutable)
{
    const QFileInfo file(m_sFilePath);
    if (!file.exists())
    {
        return Fail(QStringLiteral("There is no database file %1").arg(m_sFilePath));
    }
    if (!file.isFile())
    {
        return Fail(QStringLiteral("The database %1 is not a file").arg(m_sFilePath));
    }
    // Immutable only where nobody can write beside the file: it then needs no shared-memory
    // file, which a WAL database on read-only media could not create.
    m_Db.setConnectOptions(bImmutable ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI")
                                      : QStringLiteral("QSQLITE_OPEN_READONLY"));
    m_Db.setDatabaseName(bImmutable
                             ? QUrl::fromLocalFile(m_sFilePath).toString(QUrl::FullyEncoded) +
                                   QStringLiteral("?immutable=1")
                             : m_sFilePath);
    if (!m_Db.open())
    {
        return Fail(QStringLiteral("Cannot open the database file %1: %2")
                        .arg(m_sFilePath, ErrorText(m_Db.lastError())));
    }
    const QString sWhat = QStringLiteral("Cannot read the database file %1").arg(m_sFilePath);
    QString sReason;
    {
        // The first read shows whether the file can be read at all.
        QSqlQuery probe(m_Db);
        if (probe.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(c_iBusyTimeoutMs)) &&
            probe.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")) && probe.next())
        {
            return true;
        }
        sReason = ErrorText(probe.lastError());
    }
    m_Db.close();
    // An immutable read passes over the write-ahead log: it is taken only where the log holds
    // nothing, or the session would be read without its latest values.
    if (!bImmutable && !QFileInfo(file.absolutePath()).isWritable())
    {
        if (QFileInfo(m_sFilePath + QStringLiteral("-wal")).size() == 0)
        {
            return DoOpenSqliteReadOnly(true);
        }
        sReason += QStringLiteral(" (its write-ahead log cannot be read where the folder is "
                                  "read-only)");
    }
    return Fail(sWhat + QStringLiteral(": ") + sReason);
}

bool CDatabaseMultiInstance::DoReadSchemaVersion(int& iVersion)
{
    iVersion = 0;
    QSqlQuery query(m_Db);
    const QString sFind =
        m_bIsPostgreSql
            ? QStringLiteral("SELECT COUNT(*) FROM information_schema.tables WHERE table_schema = "
                             "current_schema() AND table_name = 'schema_version'")
            : QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = "
                             "'schema_version'");
    if (!query.exec(sFind) || !query.next())
    {
        return Fail(QStringLiteral("Cannot read the tables of the database: %1")
                        .arg(ErrorText(query.lastError())));
    }
    if (query.value(0).toLongLong() == 0)
    {
        return true;
    }
    if (!query.exec(QStringLiteral("SELECT version FROM schema_version")))
    {
        return Fail(
            QStringLiteral("Cannot read the schema version: %1").arg(ErrorText(query.lastError())));
    }
    while (query.next())
    {
        // A version that is no whole number is no version of ours; it must not read as 0.
        const QString sText = query.value(0).toString();
        bool bOk = false;
        const qlonglong llVersion = sText.toLongLong(&bOk, 10);
        if (!bOk || llVersion < 0 || llVersion > std::numeric_limits<int>::max())
        {
            return Fail(QStringLiteral("The database has schema version \"%1\", which is no "
                                       "version number; this library knows up to version %2")
                            .arg(sText.left(64), QString::number(c_iSchemaVersion)));
        }
        iVersion = std::max(iVersion, static_cast<int>(llVersion));
    }
    if (query.lastError().isValid())
    {
        return Fail(
            QStringLiteral("Cannot read the schema version: %1").arg(ErrorText(query.lastError())));
    }
    return true;
}

bool CDatabaseMultiInstance::DoCheckSchema()
{
    int iVersion = 0;
    if (!DoReadSchemaVersion(iVersion))
    {
        return false;
    }
    if (iVersion < 1)
    {
        return Fail(QStringLiteral("%1 is not a measurement database: it has no schema version")
                        .arg(m_bIsPostgreSql ? ServerText(QUrl(m_sName.trimmed(), QUrl::StrictMode))
                                             : m_sFilePath));
    }
    if (iVersion > c_iSchemaVersion)
    {
        return Fail(QStringLiteral("The database has schema version %1; this library "
                                   "knows up to version %2")
                        .arg(iVersion)
                        .arg(c_iSchemaVersion));
    }
    return true;
}

bool CDatabaseMultiInstance::DoCreateSchema()
{
    const QString sWhat = QStringLiteral("Cannot create the database tables");
    int iVersion = 0;
    if (!DoReadSchemaVersion(iVersion))
    {
        return false;
    }
    {
        if (iVersion > c_iSchemaVersion)
        {
            return Fail(QStringLiteral("The database has schema version %1; this library "
                                       "knows up to version %2")
                            .arg(iVersion)
                            .arg(c_iSchemaVersion));
        }
        if (iVersion == c_iSchemaVersion)
        {
            return true;
        }
    }

    if (!BeginTransaction())
    {
        return false;
    }
    bool bOk =
        !m_bIsPostgreSql ||
        DoExecuteDirect(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(c_llSchemaLockKey),
                        sWhat);
    const QString sId = m_bIsPostgreSql ? QStringLiteral("BIGSERIAL PRIMARY KEY")
                                        : QStringLiteral("INTEGER PRIMARY KEY");
    const QString sInt = m_bIsPostgreSql ? QStringLiteral("BIGINT") : QStringLiteral("INTEGER");
    for (const stSchemaStatement& statement : c_SchemaStatements)
    {
        if (!bOk)
        {
            break;
        }
        if (statement.eFor != EFor::Both && (statement.eFor == EFor::PostgreSql) != m_bIsPostgreSql)
        {
            continue;
        }
        QString sStatement = QString::fromLatin1(statement.pText);
        sStatement.replace(QStringLiteral("%ID%"), sId).replace(QStringLiteral("%INT%"), sInt);
        bOk = DoExecuteDirect(sStatement, sWhat);
    }
    bOk = bOk && DoExecuteDirect(QStringLiteral("INSERT INTO schema_version (version) SELECT %1 "
                                                "WHERE NOT EXISTS (SELECT 1 FROM schema_version)")
                                     .arg(c_iSchemaVersion),
                                 sWhat);
    if (!bOk)
    {
        const QString sReason = m_sLastError;
        Rollback();
        return Fail(sReason);
    }
    return Commit();
}

bool CDatabaseMultiInstance::IsOpen() const
{
    if (CDatabaseMultiInstance* pConnection = DoForward())
    {
        return pConnection->IsOpen();
    }
    return m_bOpen;
}

void CDatabaseMultiInstance::Close()
{
    CDatabaseMultiInstance& connection = DoConnection(false);
    connection.m_iSeenGeneration = m_iGeneration.load(std::memory_order_acquire);
    connection.DoClose();
    DoPublish(connection, false);
}

void CDatabaseMultiInstance::DoClose()
{
    if (m_bOpen && !m_bLost && m_iTransactionDepth > 0)
    {
        DoExecuteDirect(QStringLiteral("ROLLBACK"), QStringLiteral("Cannot roll back"));
    }
    m_iTransactionDepth = 0;
    m_iAbortedDepth = 0;
    m_bLost = false;
    // The statements hold driver resources of the connection: they go first.
    m_StatementsByKey.clear();
    m_Statements.clear();
    if (m_Db.isValid())
    {
        m_Db.close();
    }
    m_bOpen = false;
}

void CDatabaseMultiInstance::DoForgetConnection()
{
    if (!m_Db.isValid())
    {
        return;
    }
    m_Db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_sConnectionName);
}

QString CDatabaseMultiInstance::LastError() const
{
    if (CDatabaseMultiInstance* pConnection = DoForward())
    {
        return pConnection->LastError();
    }
    return m_sLastError;
}

bool CDatabaseMultiInstance::BeginTransaction()
{
    if (CDatabaseMultiInstance* pConnection = DoForward())
    {
        return pConnection->BeginTransaction();
    }
    if (!DoCheckConnection())
    {
        const QString sReason = m_sLastError;
        return Fail(QStringLiteral("Cannot begin a transaction: ") + sReason.left(1).toLower() +
                    sReason.mid(1));
    }
    QString sStatement;
    if (m_iTransactionDepth == 0)
    {
        // IMMEDIATE takes the write lock now, so two processes wait for each other instead
        // of failing when a reader later wants to write.
        sStatement = m_bIsPostgreSql ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE");
    }
    else
    {
        sStatement = QStringLiteral("SAVEPOINT mda_level_%1").arg(m_iTransactionDepth);
    }
    if (!DoExecuteDirect(sStatement, QStringLiteral("Cannot begin a transaction")))
    {
        return false;
    }
    ++m_iTransactionDepth;
    return true;
}

bool CDatabaseMultiInstance::Commit()
{
    if (CDatabaseMultiInstance* pConnection = DoForward())
    {
        return pConnection->Commit();
    }
    if (m_iTransactionDepth == 0)
    {
        return Fail(QStringLiteral("Cannot commit: no transaction is active"));
    }
    if (m_bLost)
    {
        Rollback();
        return Fail(QStringLiteral("The connection to the database was lost during a "
                                   "transaction; the transaction was rolled back"));
    }
    if (m_iAbortedDepth > 0)
    {
        // The server has already discarded the transaction; a COMMIT would only pretend.
        const QString sReason = m_sAbortReason;
        Rollback();
        return Fail(QStringLiteral("The transaction was rolled back because a statement in it "
                                   "failed: %1")
                        .arg(sReason));
    }
    if (m_iTransactionDepth == 1)
    {
        const bool bOk = DoExecuteDirect(QStringLiteral("COMMIT"), QStringLiteral("Cannot commit"));
        // SQLite keeps a transaction whose COMMIT it refused; the server always ends it.
        if (!bOk && !m_bIsPostgreSql)
        {
            const QString sReason = m_sLastError;
            DoExecuteDirect(QStringLiteral("ROLLBACK"), QStringLiteral("Cannot roll back"));
            m_sLastError = sReason;
        }
        m_iTransactionDepth = 0;
        m_iAbortedDepth = 0;
        return bOk;
    }
    const QString sLevel = QString::number(m_iTransactionDepth - 1);
    if (!DoExecuteDirect(QStringLiteral("RELEASE SAVEPOINT mda_level_") + sLevel,
                         QStringLiteral("Cannot commit")))
    {
        const QString sReason = m_sLastError;
        Rollback();
        m_sLastError = sReason;
        return false;
    }
    --m_iTransactionDepth;
    return true;
}

bool CDatabaseMultiInstance::Rollback()
{
    if (CDatabaseMultiInstance* pConnection = DoForward())
    {
        return pConnection->Rollback();
    }
    if (m_iTransactionDepth == 0)
    {
        return Fail(QStringLiteral("Cannot roll back: no transaction is active"));
    }
    if (m_bLost)
    {
        // The server has discarded the whole transaction with the connection.
        if (--m_iTransactionDepth == 0)
        {
            m_iAbortedDepth = 0;
        }
        return true;
    }
    if (m_iTransactionDepth == 1)
    {
        m_iTransactionDepth = 0;
        const bool bOk =
            DoExecuteDirect(QStringLiteral("ROLLBACK"), QStringLiteral("Cannot roll back"));
        m_iAbortedDepth = 0;
        return bOk;
    }
    const QString sSavepoint = QStringLiteral("mda_level_%1").arg(m_iTransactionDepth - 1);
    const bool bOk = DoExecuteDirect(QStringLiteral("ROLLBACK TO SAVEPOINT ") + sSavepoint,
                                     QStringLiteral("Cannot roll back")) &&
                     DoExecuteDirect(QStringLiteral("RELEASE SAVEPOINT ") + sSavepoint,
                                     QStringLiteral("Cannot roll back"));
    if (bOk && m_iAbortedDepth >= m_iTransactionDepth)
    {
        // The failure happened inside this level, which is gone now.
        m_iAbortedDepth = 0;
    }
    --m_iTransactionDepth;
    return bOk;
}

int CDatabaseMultiInstance::GetTransactionDepth() const
{
    if (CDatabaseMultiInstance* pConnection = DoForward())
    {
        return pConnection->GetTransactionDepth();
    }
    return m_iTransactionDepth;
}

bool CDatabaseMultiInstance::IsPostgreSql() const
{
    return m_bIsPostgreSql;
}

QString CDatabaseMultiInstance::GetDatabaseFilePath() const
{
    return m_sFilePath;
}

QSqlQuery* CDatabaseMultiInstance::GetPreparedQuery(const QString& sStatement, const QString& sWhat)
{
    return GetPreparedQuery(sStatement, [&sWhat] { return sWhat; });
}

QSqlQuery* CDatabaseMultiInstance::GetPreparedQuery(const QString& sStatement,
                                                    const std::function<QString()>& what)
{
    if (CDatabaseMultiInstance* pConnection = DoForward())
    {
        return pConnection->GetPreparedQuery(sStatement, what);
    }
    if (!DoCheckConnection())
    {
        return nullptr;
    }
    const auto it = m_Statements.find(sStatement);
    if (it != m_Statements.end())
    {
        return it->second.get();
    }
    auto pQuery = std::make_unique<QSqlQuery>(m_Db);
    pQuery->setForwardOnly(true);
    if (!pQuery->prepare(sStatement))
    {
        const QString sWhat = what();
        DoNoteStatementFailure(
            (sWhat.isEmpty() ? QStringLiteral("Cannot prepare a statement") : sWhat) +
            QStringLiteral(": ") + ErrorText(pQuery->lastError()));
        const QSqlError error = pQuery->lastError();
        pQuery.reset();
        DoCheckLost(error);
        return nullptr;
    }
    QSqlQuery* pResult = pQuery.get();
    m_Statements.emplace(sStatement, std::move(pQuery));
    return pResult;
}

QSqlQuery* CDatabaseMultiInstance::FindPreparedQuery(const SStatementKey& key) const
{
    if (CDatabaseMultiInstance* pConnection = DoForward())
    {
        return pConnection->FindPreparedQuery(key);
    }
    // Closing or losing the connection empties the cache: a closed connection finds nothing.
    const auto it = m_StatementsByKey.find(key);
    return it == m_StatementsByKey.end() ? nullptr : it->second;
}

void CDatabaseMultiInstance::RememberPreparedQuery(const SStatementKey& key, QSqlQuery* pQuery)
{
    if (CDatabaseMultiInstance* pConnection = DoForward())
    {
        return pConnection->RememberPreparedQuery(key, pQuery);
    }
    m_StatementsByKey[key] = pQuery;
}

bool CDatabaseMultiInstance::Execute(QSqlQuery& query, const QString& sWhat)
{
    return Execute(query, [&sWhat] { return sWhat; });
}

bool CDatabaseMultiInstance::Execute(QSqlQuery& query, const std::function<QString()>& what)
{
    if (CDatabaseMultiInstance* pConnection = DoForward())
    {
        return pConnection->Execute(query, what);
    }
    if (query.exec())
    {
        return true;
    }
    if (!m_bIsPostgreSql &&
        RetryWhileLocked([&query] { return query.exec(); }, [&query] { return query.lastError(); }))
    {
        return true;
    }
    const QSqlError error = query.lastError();
    DoNoteStatementFailure(what() + QStringLiteral(": ") + ErrorText(error));
    DoCheckLost(error);
    return false;
}

QSqlQuery* CDatabaseMultiInstance::ExecutePrepared(const QString& sStatement,
                                                   const QVariantList& values,
                                                   const std::function<QString()>& what)
{
    QSqlQuery* pQuery = GetPreparedQuery(sStatement, what);
    if (pQuery == nullptr)
    {
        return nullptr;
    }
    for (int i = 0; i < values.size(); ++i)
    {
        pQuery->bindValue(i, values[i]);
    }
    return Execute(*pQuery, what) ? pQuery : nullptr;
}

bool CDatabaseMultiInstance::ExecuteInsert(QSqlQuery& query, const QString& sWhat, long& lId)
{
    if (CDatabaseMultiInstance* pConnection = DoForward())
    {
        return pConnection->ExecuteInsert(query, sWhat, lId);
    }
    if (!Execute(query, sWhat))
    {
        return false;
    }
    QVariant id;
    if (m_bIsPostgreSql)
    {
        if (query.next())
        {
            id = query.value(0);
        }
        query.finish();
    }
    else
    {
        // The driver has reset the statement on its end already: nothing to finish.
        id = query.lastInsertId();
    }
    bool bOk = false;
    const long lNewId = static_cast<long>(id.toLongLong(&bOk));
    if (!bOk)
    {
        return Fail(sWhat + QStringLiteral(": the database did not report the new row id"));
    }
    lId = lNewId;
    return true;
}

QString CDatabaseMultiInstance::InsertStatement(const QString& sInsert) const
{
    return m_bIsPostgreSql ? sInsert + QStringLiteral(" RETURNING id") : sInsert;
}

bool CDatabaseMultiInstance::Fail(const QString& sMessage)
{
    if (CDatabaseMultiInstance* pConnection = DoForward())
    {
        return pConnection->Fail(sMessage);
    }
    m_sLastError = sMessage;
    return false;
}

bool CDatabaseMultiInstance::DoCheckConnection()
{
    if (m_bOpen && m_bIsPostgreSql && !m_Db.isOpen())
    {
        // The driver reports a connection whose server went away as closed.
        if (!m_bLost)
        {
            DoMarkLost();
        }
        if (!DoReconnect())
        {
            return false;
        }
    }
    // SQLite's driver never closes a file by itself.
    if (!m_bOpen)
    {
        return Fail(QStringLiteral("The database is not open"));
    }
    return true;
}

bool CDatabaseMultiInstance::DoExecuteDirect(const QString& sStatement, const QString& sWhat)
{
    if (!m_Db.isOpen())
    {
        return Fail(sWhat + QStringLiteral(": the database is not open"));
    }
    QSqlQuery query(m_Db);
    if (query.exec(sStatement))
    {
        return true;
    }
    if (!m_bIsPostgreSql && RetryWhileLocked([&] { return query.exec(sStatement); },
                                             [&query] { return query.lastError(); }))
    {
        return true;
    }
    const QSqlError error = query.lastError();
    DoNoteStatementFailure(sWhat + QStringLiteral(": ") + ErrorText(error));
    DoCheckLost(error);
    return false;
}

void CDatabaseMultiInstance::DoNoteStatementFailure(const QString& sMessage)
{
    m_sLastError = sMessage;
    // On PostgreSQL a failed statement spoils the whole transaction until it is rolled back.
    if (m_bIsPostgreSql && m_iTransactionDepth > 0 && m_iAbortedDepth == 0)
    {
        m_iAbortedDepth = m_iTransactionDepth;
        m_sAbortReason = sMessage;
    }
}

} // namespace OrvelFramework

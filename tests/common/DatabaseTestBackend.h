#pragma once

// A fresh, empty database per test on each backend: SQLite always, PostgreSQL when
// MDA_TEST_PG_URL, MDA_TEST_PG_USER and MDA_TEST_PG_PASSWORD name a server on which the user
// may create databases. Usage:
//
//   class CMyTest : public MdaTest::CDatabaseBackendTest {};
//   TEST_P(CMyTest, Something) { auto pDb = OpenConnection(); ... }
//   MDA_INSTANTIATE_BACKEND_TESTS(CMyTest);
//
// A fixture that overrides SetUp() calls CDatabaseBackendTest::SetUp() first and returns
// when IsSkipped().

#include "CDatabaseMultiInstance.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QUrl>
#include <QUuid>
#include <QVariant>
#include <QVector>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace MdaTest
{

enum class EBackend
{
    Sqlite,
    PostgreSql
};

inline void PrintTo(EBackend eBackend, std::ostream* pStream)
{
    *pStream << (eBackend == EBackend::Sqlite ? "SQLite" : "PostgreSQL");
}

/// Runs statements on a SQLite file through a connection of its own, as another program would
/// (any type in any column); the rows the last of them selects, as Qt's driver hands them out.
inline QVector<QVariantList> RunForeign(const QString& sPath, const QStringList& statements)
{
    QVector<QVariantList> rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "foreign");
        db.setDatabaseName(sPath);
        EXPECT_TRUE(db.open());
        QSqlQuery query(db);
        for (const QString& sStatement : statements)
        {
            EXPECT_TRUE(query.exec(sStatement)) << sStatement.toStdString();
        }
        while (query.next())
        {
            rows.append(QVariantList());
            for (int i = 0; i < query.record().count(); ++i)
            {
                rows.last() << query.value(i);
            }
        }
    }
    QSqlDatabase::removeDatabase("foreign");
    return rows;
}

/// One empty database, removed again when this object goes. Connections to it must be gone
/// by then (a PostgreSQL database is dropped with its remaining sessions terminated).
class CTestDatabase
{
public:
    explicit CTestDatabase(EBackend eBackend)
    {
        if (eBackend == EBackend::Sqlite)
        {
            m_sName = m_Dir.filePath(QStringLiteral("test.sqlite"));
            m_bReady = m_Dir.isValid();
            m_sError = QStringLiteral("no temporary folder");
            return;
        }
        m_sUser = qEnvironmentVariable("MDA_TEST_PG_USER");
        m_sPassword = qEnvironmentVariable("MDA_TEST_PG_PASSWORD");
        m_bConfigured = !qEnvironmentVariable("MDA_TEST_PG_URL").isEmpty() && !m_sUser.isEmpty();
        if (!m_bConfigured)
        {
            return;
        }
        static QAtomicInt s_iCounter;
        m_sDatabase = QStringLiteral("mda_test_%1_%2_%3")
                          .arg(QCoreApplication::applicationPid())
                          .arg(s_iCounter.fetchAndAddRelaxed(1))
                          .arg(QUuid::createUuid().toString(QUuid::Id128).left(8));
        QUrl url(qEnvironmentVariable("MDA_TEST_PG_URL"));
        url.setPath(QLatin1Char('/') + m_sDatabase);
        m_sName = url.toString();
        m_bReady = DoAdmin(QStringLiteral("CREATE DATABASE ") + m_sDatabase);
    }

    ~CTestDatabase()
    {
        if (!m_sDatabase.isEmpty() && m_bReady)
        {
            DoAdmin(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_sDatabase));
        }
    }

    /// The database name as a connection takes it (SQLite path or postgresql:// URL).
    QString Name() const { return m_sName; }
    QString User() const { return m_sUser; }
    QString Password() const { return m_sPassword; }

    std::unique_ptr<OrvelFramework::CDatabaseMultiInstance> NewConnection() const
    {
        return std::make_unique<OrvelFramework::CDatabaseMultiInstance>(m_sName, m_sUser,
                                                                        m_sPassword);
    }

    /// Runs a statement the library would not prepare (DDL) on the test database itself.
    bool ExecuteDirect(const QString& sStatement)
    {
        return DoAdmin(sStatement, m_sDatabase.isEmpty() ? m_sName : m_sDatabase);
    }

    /// False only for PostgreSQL when no server is configured.
    bool m_bConfigured = true;
    bool m_bReady = false;
    QString m_sError;

private:
    bool DoAdmin(const QString& sStatement, const QString& sDatabase = QString())
    {
        static QAtomicInt s_iConnection;
        const QString sConnection =
            QStringLiteral("mda_test_admin_%1").arg(s_iConnection.fetchAndAddRelaxed(1));
        bool bOk = false;
        {
            const QUrl url(qEnvironmentVariable("MDA_TEST_PG_URL"));
            // Only a PostgreSQL test database has a name of its own on the server.
            const bool bSqlite = m_sDatabase.isEmpty();
            QSqlDatabase db = QSqlDatabase::addDatabase(
                bSqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), sConnection);
            db.setHostName(url.host());
            db.setPort(url.port(5432));
            db.setDatabaseName(sDatabase.isEmpty() ? url.path().mid(1) : sDatabase);
            db.setUserName(m_sUser);
            db.setPassword(m_sPassword);
            if (!db.open())
            {
                m_sError = db.lastError().text();
            }
            else
            {
                QSqlQuery query(db);
                bOk = query.exec(sStatement);
                m_sError = query.lastError().text();
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(sConnection);
        return bOk;
    }

    QTemporaryDir m_Dir;
    QString m_sName;
    QString m_sUser;
    QString m_sPassword;
    QString m_sDatabase;
};

/// Fixture parametrised by backend: a fresh database per test; the PostgreSQL case is
/// skipped when no server is configured and fails when the configured one cannot be used.
class CDatabaseBackendTest : public ::testing::TestWithParam<EBackend>
{
protected:
    void SetUp() override
    {
        m_pDatabase = std::make_unique<CTestDatabase>(GetParam());
        if (!m_pDatabase->m_bConfigured)
        {
            GTEST_SKIP() << "PostgreSQL not configured (MDA_TEST_PG_URL, MDA_TEST_PG_USER, "
                            "MDA_TEST_PG_PASSWORD)";
        }
        ASSERT_TRUE(m_pDatabase->m_bReady)
            << "test database not usable: " << m_pDatabase->m_sError.toStdString();
        Prepare();
    }

    /// What a fixture sets up once the test database is usable.
    virtual void Prepare() {}

    CTestDatabase& Database() { return *m_pDatabase; }

    /// A new connection to the test database, opened; the test fails when it cannot open.
    std::unique_ptr<OrvelFramework::CDatabaseMultiInstance> OpenConnection()
    {
        auto pDb = m_pDatabase->NewConnection();
        const bool bOpen = pDb->Open();
        EXPECT_TRUE(bOpen) << pDb->LastError().toStdString();
        return pDb;
    }

    // Connections made by a test must be destroyed before this member, so declare them in
    // the test body or in a derived fixture (whose members go first).
    std::unique_ptr<CTestDatabase> m_pDatabase;
};

} // namespace MdaTest

#define MDA_INSTANTIATE_BACKEND_TESTS(Fixture)                                                     \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Backends, Fixture,                                                                         \
        ::testing::Values(::MdaTest::EBackend::Sqlite, ::MdaTest::EBackend::PostgreSql),           \
        ::testing::PrintToStringParamName())

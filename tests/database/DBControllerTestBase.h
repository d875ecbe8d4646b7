#pragma once

#include "CDatabaseMultiInstance.h"
#include "DatabaseTestBackend.h"

#include <QFile>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

namespace MdaTest
{

/// A fresh database per backend with one open connection, and a folder for files.
class CDBControllerTest : public CDatabaseBackendTest
{
protected:
    void SetUp() override
    {
        CDatabaseBackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
        {
            return;
        }
        m_pDb = OpenConnection();
        ASSERT_TRUE(m_pDb->IsOpen());
        ASSERT_TRUE(m_Files.isValid());
    }

    OrvelFramework::CDatabaseMultiInstance& Db() { return *m_pDb; }

    QString WriteFile(const QString& sName, const QByteArray& content)
    {
        const QString sPath = m_Files.filePath(sName);
        QFile file(sPath);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        return sPath;
    }

    QByteArray ReadFile(const QString& sPath)
    {
        QFile file(sPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    /// Plain SQL for what no controller can do (chosen ids, counts written behind its back).
    void Exec(const QString& sStatement, const QVariantList& values)
    {
        QSqlQuery* pQuery = m_pDb->GetPreparedQuery(sStatement);
        ASSERT_NE(pQuery, nullptr) << m_pDb->LastError().toStdString();
        for (int i = 0; i < values.size(); ++i)
        {
            pQuery->bindValue(i, values[i]);
        }
        ASSERT_TRUE(m_pDb->Execute(*pQuery, sStatement)) << m_pDb->LastError().toStdString();
    }

    QTemporaryDir m_Files;
    std::unique_ptr<OrvelFramework::CDatabaseMultiInstance> m_pDb;
};

/// Texts that break naive SQL, encodings or buffers. No one contains another, ignoring case.
inline QStringList HostileTexts()
{
    return {
        QStringLiteral("O'Brien said \"hi\""),
        QStringLiteral("x'); DROP TABLE session; --"),
        QStringLiteral("' OR '1'='1"),
        QStringLiteral("100%_\\ wild"),
        QString::fromUtf8("Grüße — 日本語 — Ελληνικά — العربية — 😀"),
        QStringLiteral("line1\nline2\ttab\r"),
        QString(100 * 1024, QLatin1Char('k')) + QStringLiteral("end"),
    };
}

/// Every byte value, several times over, so a text round trip that loses any shows.
inline QByteArray AllBytes()
{
    QByteArray bytes;
    for (int i = 0; i < 4 * 256; ++i)
    {
        bytes.append(static_cast<char>(i % 256));
    }
    return bytes;
}

} // namespace MdaTest

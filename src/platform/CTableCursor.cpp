#include "CTableCursor.h"

#include "CDatabaseMultiInstance.h"

#include <QSqlError>
#include <QSqlQuery>

namespace OrvelFramework
{

CTableCursor::CTableCursor(CDatabaseMultiInstance& db) : m_Db(db) {}

CTableCursor::~CTableCursor()
{
    if (m_pQuery != nullptr)
    {
        m_pQuery->finish();
    }
}

bool CTableCursor::Open(const QString& sStatement, const QVariantList& values,
                        const std::function<QString()>& what)
{
    Finish();
    QSqlQuery* pQuery = m_Db.ExecutePrepared(sStatement, values, what);
    if (pQuery == nullptr)
    {
        return false;
    }
    m_pQuery = pQuery;
    m_What = what;
    return true;
}

bool CTableCursor::Next()
{
    return m_pQuery != nullptr && m_pQuery->next();
}

QVariant CTableCursor::Value(int i) const
{
    return m_pQuery->value(i);
}

bool CTableCursor::Finish()
{
    if (m_pQuery == nullptr)
    {
        return true;
    }
    const QSqlError error = m_pQuery->lastError();
    // Releases the read snapshot at once, so the file's log can be checkpointed.
    m_pQuery->finish();
    m_pQuery = nullptr;
    if (error.isValid())
    {
        return m_Db.Fail(m_What() + QStringLiteral(": ") + error.text().trimmed());
    }
    return true;
}

} // namespace OrvelFramework

#include "CDatabaseTransaction.h"

namespace OrvelFramework
{

CDatabaseTransaction::CDatabaseTransaction(CDatabaseMultiInstance& db) : m_Db(db)
{
    m_bActive = m_Db.BeginTransaction();
    m_iDepth = m_Db.GetTransactionDepth();
}

CDatabaseTransaction::~CDatabaseTransaction()
{
    // A connection closed (or a level ended) behind our back is no longer ours to roll back.
    if (m_bActive && m_Db.GetTransactionDepth() == m_iDepth)
    {
        m_Db.Rollback();
    }
}

bool CDatabaseTransaction::Commit()
{
    if (!m_bActive)
    {
        return m_Db.Fail(QStringLiteral("The transaction is no longer active"));
    }
    m_bActive = false;
    if (m_Db.GetTransactionDepth() != m_iDepth)
    {
        return m_Db.Fail(QStringLiteral("The transaction was ended by its connection"));
    }
    return m_Db.Commit();
}

bool CDatabaseTransaction::IsActive() const
{
    return m_bActive;
}

} // namespace OrvelFramework

#include "CTableSession.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace OrvelFramework
{

namespace
{

// Every column after the id, in table order.
const CTableBase::Columns& SessionColumns()
{
    static const CTableBase::Columns s_Columns = {
        {&CTableSession::c_sColumnUniquIid, false},
        {&CTableSession::c_sColumnDescription, false},
        {&CTableSession::c_sColumnFirstRun, false},
        {&CTableSession::c_sColumnLastRun, false},
        {&CTableSession::c_sColumnScanCount, true},
        {&CTableSession::c_sColumnSite, false},
        {&CTableSession::c_sColumnTestPoint, false},
        {&CTableSession::c_sColumnName, false},
        {&CTableSession::c_sColumnENumber, false},
        {&CTableSession::c_sColumnTNumber, false},
        {&CTableSession::c_sColumnEMail, false},
        {&CTableSession::c_sColumnHWMOdel, false},
        {&CTableSession::c_sColumnFirmwarVersion, false},
        {&CTableSession::c_sColumnSoftwareVersion, false},
        {&CTableSession::c_sColumnSerialNr, false},
        {&CTableSession::c_sColumnOwner, false},
        {&CTableSession::c_sColumnLimitFileID, false},
        {&CTableSession::c_sColumnChannelFileID, false},
    };
    return s_Columns;
}

// The columns a filter searches.
const std::vector<const QString*>& FilterColumns()
{
    static const std::vector<const QString*> s_Names = {
        &CTableSession::c_sColumnUniquIid, &CTableSession::c_sColumnDescription,
        &CTableSession::c_sColumnSite,     &CTableSession::c_sColumnTestPoint,
        &CTableSession::c_sColumnName,
    };
    return s_Names;
}

bool IsTextColumn(const QString* pName)
{
    const CTableBase::Columns& columns = SessionColumns();
    return std::any_of(columns.begin(), columns.end(),
                       [pName](const CTableBase::SColumn& column)
                       { return column.pName == pName && !column.bInteger; });
}

// Texts are read one character past the bound, which tells that one was longer.
QString JoinNames(const std::vector<const QString*>& names)
{
    static_assert(CTableSession::c_iMaxTextLength == 1048576, "the statement's bound");
    QString sList;
    for (const QString* pName : names)
    {
        if (!sList.isEmpty())
        {
            sList += QStringLiteral(", ");
        }
        sList += IsTextColumn(pName)
                     ? QStringLiteral("substr(") + *pName + QStringLiteral(", 1, 1048577)")
                     : *pName;
    }
    return sList;
}

// A text longer than the bound is cut there, visibly.
void DoBoundTexts(TableRows& rows, size_t uFrom)
{
    for (size_t i = uFrom; i < rows.size(); ++i)
    {
        if (rows[i].GetValue().size() > CTableSession::c_iMaxTextLength)
        {
            rows[i] = CTableRecordSet(rows[i].GetColumn(),
                                      rows[i].GetValue().left(CTableSession::c_iMaxTextLength) +
                                          CTableSession::c_sCutMarker);
        }
    }
}

const std::vector<const QString*>& AllNames()
{
    static const std::vector<const QString*> s_Names = []
    {
        std::vector<const QString*> names{&CTableSession::c_sColumnId};
        for (const CTableBase::SColumn& column : SessionColumns())
        {
            names.push_back(column.pName);
        }
        return names;
    }();
    return s_Names;
}

const std::vector<const QString*>& IdAndFilterNames()
{
    static const std::vector<const QString*> s_Names = []
    {
        std::vector<const QString*> names{&CTableSession::c_sColumnId};
        names.insert(names.end(), FilterColumns().begin(), FilterColumns().end());
        return names;
    }();
    return s_Names;
}

TableRows WithoutColumn(const TableRows& row, const QString& sColumn)
{
    TableRows result;
    result.reserve(row.size());
    for (const CTableRecordSet& pair : row)
    {
        if (pair.GetColumn() != sColumn)
        {
            result.push_back(pair);
        }
    }
    return result;
}

} // namespace

CTableSession::CTableSession(CDatabaseMultiInstance& db) : CTableBase(db) {}

bool CTableSession::Create(const TableRows& row, long& lId)
{
    return DoInsert(QStringLiteral("session"), SessionColumns(), WithoutColumn(row, c_sColumnId),
                    lId, QStringLiteral("Cannot store the session"));
}

bool CTableSession::Update(long lId, const TableRows& row)
{
    return DoUpdate(QStringLiteral("session"), SessionColumns(), WithoutColumn(row, c_sColumnId),
                    QStringLiteral("id = ?"), {qlonglong(lId)},
                    QStringLiteral("Cannot change session %1").arg(lId));
}

TableRows CTableSession::Get(long lId)
{
    static const QString s_sStatement = QStringLiteral("SELECT ") + JoinNames(AllNames()) +
                                        QStringLiteral(" FROM session WHERE id = ?");
    TableRows rows;
    DoSelect(s_sStatement, {qlonglong(lId)}, AllNames(), rows,
             QStringLiteral("Cannot read session %1").arg(lId));
    DoBoundTexts(rows, 0);
    return rows;
}

bool CTableSession::Get(const QString& sFilter, TableRows& rows)
{
    return DoGetFiltered(sFilter, true, rows);
}

bool CTableSession::GetSessionIds(const QString& sFilter, TableRows& rows)
{
    return DoGetFiltered(sFilter, false, rows);
}

bool CTableSession::DoGetFiltered(const QString& sFilter, bool bAllColumns, TableRows& rows)
{
    // The filter is matched here rather than in SQL: it stays data whatever it contains, and
    // letter case is ignored beyond ASCII on both backends alike.
    static const QString s_sAll = QStringLiteral("SELECT ") + JoinNames(AllNames()) +
                                  QStringLiteral(" FROM session ORDER BY id");
    static const QString s_sIds = QStringLiteral("SELECT ") + JoinNames(IdAndFilterNames()) +
                                  QStringLiteral(" FROM session ORDER BY id");
    const std::vector<const QString*>& names = bAllColumns ? AllNames() : IdAndFilterNames();
    TableRows all;
    if (!DoSelect(bAllColumns ? s_sAll : s_sIds, {}, names, all,
                  QStringLiteral("Cannot read the sessions")))
    {
        return false;
    }
    DoBoundTexts(all, 0);
    std::vector<size_t> filterIndexes;
    for (const QString* pFilterName : FilterColumns())
    {
        const auto it = std::find(names.begin(), names.end(), pFilterName);
        if (it != names.end())
        {
            filterIndexes.push_back(static_cast<size_t>(it - names.begin()));
        }
    }
    const size_t uWidth = names.size();
    for (size_t uRow = 0; uRow + uWidth <= all.size(); uRow += uWidth)
    {
        bool bMatch = sFilter.isEmpty();
        for (size_t i = 0; !bMatch && i < filterIndexes.size(); ++i)
        {
            bMatch = all[uRow + filterIndexes[i]].GetValue().contains(sFilter, Qt::CaseInsensitive);
        }
        if (!bMatch)
        {
            continue;
        }
        if (bAllColumns)
        {
            rows.insert(rows.end(), all.begin() + static_cast<std::ptrdiff_t>(uRow),
                        all.begin() + static_cast<std::ptrdiff_t>(uRow + uWidth));
        }
        else
        {
            rows.push_back(all[uRow]);
        }
    }
    return true;
}

bool CTableSession::GetScanCounts(const TableRows& idRows, QHash<qint64, qint64>& counts)
{
    static const QString s_sStatement =
        QStringLiteral("SELECT session_id, COUNT(*) FROM scan GROUP BY session_id");
    static const QString s_sSession = QStringLiteral("session");
    static const QString s_sCount = QStringLiteral("count");
    TableRows all;
    if (!DoSelect(s_sStatement, {}, {&s_sSession, &s_sCount}, all,
                  QStringLiteral("Cannot count the scans")))
    {
        return false;
    }
    QHash<qint64, qint64> found;
    for (size_t i = 0; i + 1 < all.size(); i += 2)
    {
        found.insert(all[i].GetValue().toLongLong(), all[i + 1].GetValue().toLongLong());
    }
    for (const CTableRecordSet& pair : idRows)
    {
        const qint64 llId = pair.GetValue().toLongLong();
        counts.insert(llId, found.value(llId, 0));
    }
    return true;
}

long CTableSession::GetHighestScanID(long lSessionId)
{
    long lHighest = 0;
    if (!DoSelectNumber(QStringLiteral("SELECT MAX(id) FROM scan WHERE session_id = ?"),
                        {qlonglong(lSessionId)}, 0, lHighest,
                        QStringLiteral("Cannot read the scans of session %1").arg(lSessionId)))
    {
        return -1;
    }
    return lHighest;
}

bool CTableSession::GetSessionIdsByUniqueId(const QString& sUniqueId, std::vector<qint64>& ids)
{
    ids.clear();
    QSqlQuery* pQuery = m_Db.ExecutePrepared(
        QStringLiteral("SELECT id FROM session WHERE unique_id = ? ORDER BY id"), {sUniqueId},
        [] { return QStringLiteral("Cannot search the sessions"); });
    if (pQuery == nullptr)
    {
        return false;
    }
    while (pQuery->next())
    {
        ids.push_back(pQuery->value(0).toLongLong());
    }
    const QSqlError error = pQuery->lastError();
    pQuery->finish();
    if (error.isValid())
    {
        ids.clear();
        return m_Db.Fail(QStringLiteral("Cannot search the sessions: ") + error.text().trimmed());
    }
    return true;
}

bool CTableSession::LockForWriting(qint64 llKey)
{
    if (m_Db.GetTransactionDepth() < 1)
    {
        return m_Db.Fail(QStringLiteral("A write lock is only taken inside a transaction"));
    }
    const auto what = [] { return QStringLiteral("Cannot lock the database for writing"); };
    if (m_Db.IsPostgreSql())
    {
        QSqlQuery* pQuery =
            m_Db.ExecutePrepared(QStringLiteral("SELECT pg_advisory_xact_lock(?)"), {llKey}, what);
        if (pQuery == nullptr)
        {
            return false;
        }
        pQuery->finish();
        return true;
    }
    // A write that changes nothing: SQLite's write lock is taken before anything is read, so
    // two writers never both find a session missing.
    QSqlQuery* pQuery =
        m_Db.ExecutePrepared(QStringLiteral("DELETE FROM session WHERE id = -1"), {}, what);
    if (pQuery == nullptr)
    {
        return false;
    }
    pQuery->finish();
    return true;
}

} // namespace OrvelFramework

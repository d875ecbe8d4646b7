#include "CTableBase.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <charconv>

namespace OrvelFramework
{

CTableBase::CTableBase(CDatabaseMultiInstance& db) : m_Db(db) {}

bool CTableBase::DoCollect(const Columns& columns, const TableRows& row, QVector<int>& indexes,
                           QVariantList& values, const QString& sWhat)
{
    std::vector<const CTableRecordSet*> chosen(columns.size(), nullptr);
    for (const CTableRecordSet& pair : row)
    {
        size_t i = 0;
        while (i < columns.size() && *columns[i].pName != pair.GetColumn())
        {
            ++i;
        }
        if (i == columns.size())
        {
            return m_Db.Fail(
                QStringLiteral("%1: there is no column '%2'").arg(sWhat, pair.GetColumn()));
        }
        chosen[i] = &pair;
    }
    // Table order, whatever the order of the pairs: one statement text per column set.
    for (size_t i = 0; i < columns.size(); ++i)
    {
        if (chosen[i] == nullptr)
        {
            continue;
        }
        const QString& sValue = chosen[i]->GetValue();
        if (columns[i].bInteger)
        {
            bool bOk = false;
            const qlonglong llValue = sValue.trimmed().toLongLong(&bOk);
            if (!bOk)
            {
                return m_Db.Fail(QStringLiteral("%1: the column '%2' takes a whole number, not "
                                                "'%3'")
                                     .arg(sWhat, *columns[i].pName, sValue.left(40)));
            }
            values.append(llValue);
        }
        else
        {
            // A null string would be bound as NULL; the column holds text, empty or not.
            values.append(sValue.isNull() ? QStringLiteral("") : sValue);
        }
        indexes.append(static_cast<int>(i));
    }
    return true;
}

namespace
{

// Which columns a statement names: with the caller's column table and the table name (an
// insert) or the condition (an update), this fixes the statement's text.
quint64 StatementBits(const QVector<int>& indexes)
{
    quint64 uBits = 0;
    for (int i : indexes)
    {
        uBits |= quint64(1) << i;
    }
    return uBits;
}

} // namespace

bool CTableBase::DoInsert(const QString& sTable, const Columns& columns, const TableRows& row,
                          long& lId, const QString& sWhat)
{
    QVector<int> indexes;
    QVariantList values;
    if (!DoCollect(columns, row, indexes, values, sWhat))
    {
        return false;
    }
    const CDatabaseMultiInstance::SStatementKey key{&columns, StatementBits(indexes), sTable};
    QSqlQuery* pQuery = m_Db.FindPreparedQuery(key);
    if (pQuery == nullptr)
    {
        QString sStatement = QStringLiteral("INSERT INTO ") + sTable;
        if (indexes.isEmpty())
        {
            sStatement += QStringLiteral(" DEFAULT VALUES");
        }
        else
        {
            QString sNames;
            QString sMarks;
            for (int i : indexes)
            {
                if (!sNames.isEmpty())
                {
                    sNames += QStringLiteral(", ");
                    sMarks += QStringLiteral(", ");
                }
                sNames += *columns[static_cast<size_t>(i)].pName;
                sMarks += QLatin1Char('?');
            }
            sStatement += QStringLiteral(" (") + sNames + QStringLiteral(") VALUES (") + sMarks +
                          QLatin1Char(')');
        }
        pQuery = m_Db.GetPreparedQuery(m_Db.InsertStatement(sStatement), sWhat);
        if (pQuery == nullptr)
        {
            return false;
        }
        m_Db.RememberPreparedQuery(key, pQuery);
    }
    for (int i = 0; i < values.size(); ++i)
    {
        pQuery->bindValue(i, values[i]);
    }
    return m_Db.ExecuteInsert(*pQuery, sWhat, lId);
}

bool CTableBase::DoUpdate(const QString& sTable, const Columns& columns, const TableRows& row,
                          const QString& sWhere, const QVariantList& whereValues,
                          const QString& sWhat)
{
    QVector<int> indexes;
    QVariantList values;
    if (!DoCollect(columns, row, indexes, values, sWhat))
    {
        return false;
    }
    if (indexes.isEmpty())
    {
        return m_Db.Fail(sWhat + QStringLiteral(": no column to change"));
    }
    const CDatabaseMultiInstance::SStatementKey key{&columns, StatementBits(indexes), sWhere};
    QSqlQuery* pQuery = m_Db.FindPreparedQuery(key);
    if (pQuery == nullptr)
    {
        QString sStatement = QStringLiteral("UPDATE ") + sTable + QStringLiteral(" SET ");
        for (int i = 0; i < indexes.size(); ++i)
        {
            if (i > 0)
            {
                sStatement += QStringLiteral(", ");
            }
            sStatement += *columns[static_cast<size_t>(indexes[i])].pName + QStringLiteral(" = ?");
        }
        sStatement += QStringLiteral(" WHERE ") + sWhere;
        pQuery = m_Db.GetPreparedQuery(sStatement, sWhat);
        if (pQuery == nullptr)
        {
            return false;
        }
        m_Db.RememberPreparedQuery(key, pQuery);
    }
    values += whereValues;
    for (int i = 0; i < values.size(); ++i)
    {
        pQuery->bindValue(i, values[i]);
    }
    if (!m_Db.Execute(*pQuery, sWhat))
    {
        return false;
    }
    if (pQuery->numRowsAffected() < 1)
    {
        return m_Db.Fail(sWhat + QStringLiteral(": there is no such row"));
    }
    return true;
}

QSqlQuery* CTableBase::DoFixedStatement(const void* pOwner, quint64 uId,
                                        const std::function<QString()>& text,
                                        const std::function<QString()>& what)
{
    const CDatabaseMultiInstance::SStatementKey key{pOwner, uId, QString()};
    QSqlQuery* pQuery = m_Db.FindPreparedQuery(key);
    if (pQuery == nullptr)
    {
        pQuery = m_Db.GetPreparedQuery(text(), what);
        if (pQuery != nullptr)
        {
            m_Db.RememberPreparedQuery(key, pQuery);
        }
    }
    return pQuery;
}

bool CTableBase::DoExecuteChange(QSqlQuery& query, const std::function<QString()>& what)
{
    if (!m_Db.Execute(query, what))
    {
        return false;
    }
    if (query.numRowsAffected() < 1)
    {
        return m_Db.Fail(what() + QStringLiteral(": there is no such row"));
    }
    return true;
}

void CTableBase::DoBindNumber(QSqlQuery& query, int iPosition, qlonglong llValue)
{
    // Bound values stay with the statement from run to run; only a number of the same type
    // counts as bound (a position never bound reads as an invalid value).
    const QVariant bound = query.boundValue(iPosition);
    if (bound.userType() != QMetaType::LongLong || bound.toLongLong() != llValue)
    {
        query.bindValue(iPosition, llValue);
    }
}

namespace
{

// The texts of the small whole numbers, made once for the process and only read after that,
// so every read shares them instead of formatting and allocating them again.
const QString* SmallNumberText(qlonglong llValue)
{
    static constexpr int c_iSmall = 1024;
    static const std::vector<QString> s_Texts = []
    {
        std::vector<QString> texts;
        texts.reserve(c_iSmall);
        for (int i = 0; i < c_iSmall; ++i)
        {
            texts.push_back(QString::number(i));
        }
        return texts;
    }();
    return llValue >= 0 && llValue < c_iSmall ? &s_Texts[static_cast<size_t>(llValue)] : nullptr;
}

} // namespace

const QString& CTableBase::SNumberTexts::Text(qlonglong llValue)
{
    if (const QString* pSmall = SmallNumberText(llValue))
    {
        return *pSmall;
    }
    if (!bHasLast || llValue != llLast)
    {
        llLast = llValue;
        // Most rows bring an id of their own: to_chars spares the locale-aware formatting.
        char buffer[24];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, llValue);
        sLast = QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer));
        bHasLast = true;
    }
    return sLast;
}

bool CTableBase::DoSelect(const QString& sStatement, const QVariantList& values,
                          const std::vector<const QString*>& names, TableRows& rows,
                          const QString& sWhat)
{
    return DoSelect(sStatement, values, names, rows, [&sWhat] { return sWhat; });
}

bool CTableBase::DoSelect(const QString& sStatement, const QVariantList& values,
                          const std::vector<const QString*>& names, TableRows& rows,
                          const std::function<QString()>& what)
{
    QSqlQuery* pQuery = m_Db.ExecutePrepared(sStatement, values, what);
    if (pQuery == nullptr)
    {
        return false;
    }
    const size_t uStart = rows.size();
    const size_t uColumns = names.size();
    // Whole numbers repeat from row to row (session, scan, channel, item, state): a text made
    // once is shared instead of formatted and allocated again for every row.
    std::vector<SNumberTexts> numbers(uColumns);
    // Room for a few dozen rows from the first one on, instead of growing pair by pair.
    static constexpr size_t c_nFirstRows = 64;
    bool bFirstRow = true;
    while (pQuery->next())
    {
        if (bFirstRow)
        {
            rows.reserve(std::max(rows.capacity(), uStart + uColumns * c_nFirstRows));
            bFirstRow = false;
        }
        for (size_t i = 0; i < uColumns; ++i)
        {
            // The column names are shared, not copied, between the rows.
            const QVariant value = pQuery->value(static_cast<int>(i));
            const int iType = value.userType();
            if (iType == QMetaType::LongLong || iType == QMetaType::Int)
            {
                rows.emplace_back(*names[i], numbers[i].Text(value.toLongLong()));
            }
            else
            {
                rows.emplace_back(*names[i], value.toString());
            }
        }
    }
    const QSqlError error = pQuery->lastError();
    // Releases the read snapshot at once, so the file's log can be checkpointed.
    pQuery->finish();
    if (error.isValid())
    {
        rows.resize(uStart);
        return m_Db.Fail(what() + QStringLiteral(": ") + error.text().trimmed());
    }
    return true;
}

bool CTableBase::DoSelectNumber(const QString& sStatement, const QVariantList& values,
                                long lDefault, long& lResult, const QString& sWhat)
{
    QSqlQuery* pQuery = m_Db.ExecutePrepared(sStatement, values, [&sWhat] { return sWhat; });
    if (pQuery == nullptr)
    {
        return false;
    }
    lResult = lDefault;
    if (pQuery->next() && !pQuery->isNull(0))
    {
        lResult = static_cast<long>(pQuery->value(0).toLongLong());
    }
    const QSqlError error = pQuery->lastError();
    pQuery->finish();
    if (error.isValid())
    {
        return m_Db.Fail(sWhat + QStringLiteral(": ") + error.text().trimmed());
    }
    return true;
}

} // namespace OrvelFramework

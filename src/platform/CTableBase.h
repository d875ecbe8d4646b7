#pragma once

#include "CDatabaseMultiInstance.h"
#include "CTableRecordSet.h"

#include <QVariant>
#include <QVector>
#include <functional>

class QSqlQuery;

namespace OrvelFramework
{

/// What the table classes share: turning record sets into bound statements and result rows
/// back into record sets. Statement texts are built only from the table's own column names;
/// a pair naming a column the table does not have makes the call fail.
class CTableBase
{
public:
    /// One column a caller may write: its name (also the text of the record-set pairs) and
    /// whether it holds a whole number.
    struct SColumn
    {
        const QString* pName;
        bool bInteger;
    };
    using Columns = std::vector<SColumn>;

protected:
    explicit CTableBase(CDatabaseMultiInstance& db);

    /// Inserts the pairs of row (the last pair for a column wins) and hands back the row id.
    bool DoInsert(const QString& sTable, const Columns& columns, const TableRows& row, long& lId,
                  const QString& sWhat);
    /// Updates the columns named in row of the rows matching sWhere (a fixed text with
    /// placeholders for whereValues); false when no row matched.
    bool DoUpdate(const QString& sTable, const Columns& columns, const TableRows& row,
                  const QString& sWhere, const QVariantList& whereValues, const QString& sWhat);
    /// The prepared statement of a fixed text that a table's hot path names by an address of
    /// its own and a number, found without building or hashing the text again; text() is
    /// called once per connection. nullptr (LastError() set) when the connection is unusable.
    QSqlQuery* DoFixedStatement(const void* pOwner, quint64 uId,
                                const std::function<QString()>& text,
                                const std::function<QString()>& what);
    /// Executes a bound update meant to change one row; false when none matched. The error
    /// text is made only when it fails.
    bool DoExecuteChange(QSqlQuery& query, const std::function<QString()>& what);
    /// Binds a whole number at a position unless the statement holds that very number there
    /// from its previous run: Qt's bind costs more than a repeated value is worth.
    static void DoBindNumber(QSqlQuery& query, int iPosition, qlonglong llValue);
    /// Runs a prepared select and appends one pair per selected column and row; the result
    /// columns are named by names, in select order.
    bool DoSelect(const QString& sStatement, const QVariantList& values,
                  const std::vector<const QString*>& names, TableRows& rows, const QString& sWhat);
    /// As above, with the operation's name for error texts made only when the read fails.
    bool DoSelect(const QString& sStatement, const QVariantList& values,
                  const std::vector<const QString*>& names, TableRows& rows,
                  const std::function<QString()>& what);
    /// A select of one whole number; lDefault when it yields no row or NULL.
    bool DoSelectNumber(const QString& sStatement, const QVariantList& values, long lDefault,
                        long& lResult, const QString& sWhat);

    CDatabaseMultiInstance& m_Db;

private:
    // Texts of the whole numbers of one result column.
    struct SNumberTexts
    {
        qlonglong llLast = 0;
        QString sLast;
        bool bHasLast = false;
        const QString& Text(qlonglong llValue);
    };

    bool DoCollect(const Columns& columns, const TableRows& row, QVector<int>& indexes,
                   QVariantList& values, const QString& sWhat);
};

} // namespace OrvelFramework

#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <functional>
#include <vector>

class QSqlQuery;
struct sqlite3_stmt;

namespace OrvelFramework
{

class CDatabaseMultiInstance;

/// The rows of one select, read one at a time as the database hands them out, with each
/// column as the driver delivers it (numbers stay numbers). A table class opens it; it reads
/// forward only and releases the result when finished or destroyed, so a long read needs no
/// more memory than one row. While it is open, its statement must not be run again.
class CTableCursor
{
public:
    explicit CTableCursor(CDatabaseMultiInstance& db);
    CTableCursor(const CTableCursor&) = delete;
    CTableCursor& operator=(const CTableCursor&) = delete;
    ~CTableCursor();

    /// Runs the prepared statement with values; false (with the connection's LastError()
    /// naming what()) when it cannot run.
    bool Open(const QString& sStatement, const QVariantList& values,
              const std::function<QString()>& what);
    /// Moves to the next row; false after the last one or when the read failed.
    bool Next();
    /// Column i of the current row.
    QVariant Value(int i) const;
    /// Column i as a whole number when the database holds one there (true), as Value(i)
    /// would give it, without making a QVariant; false for anything else.
    bool WholeNumber(int i, qint64& llValue) const;
    /// Column i as text, the same as Value(i).toString(). With bShare a short text met
    /// recently is handed out as the copy kept from then: the values of a large read repeat
    /// (levels with two decimals, lock states, error texts), and share one copy each.
    QString Text(int i, bool bShare);
    /// Ends the read; false when it failed on the way (LastError() tells why).
    bool Finish();

private:
    CDatabaseMultiInstance& m_Db;
    QSqlQuery* m_pQuery = nullptr;
    std::function<QString()> m_What;
    // On SQLite, the driver's statement stepped here: the rows go straight from the
    // statement to the caller instead of through the driver's copy of each row.
    sqlite3_stmt* m_pStatement = nullptr;
    bool m_bOnFirstRow = false;
    bool m_bDone = false;
    QString m_sStepError;
    // The texts shared by Text(): a fixed number of slots, by hash, keeps the cost per row small
    // whatever the texts. Made at the first shared text.
    std::vector<QString> m_aShared;
};

} // namespace OrvelFramework

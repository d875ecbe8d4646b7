#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <functional>

class QSqlQuery;

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
    /// Ends the read; false when it failed on the way (LastError() tells why).
    bool Finish();

private:
    CDatabaseMultiInstance& m_Db;
    QSqlQuery* m_pQuery = nullptr;
    std::function<QString()> m_What;
};

} // namespace OrvelFramework

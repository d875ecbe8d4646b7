#pragma once

#include <QString>
#include <vector>

namespace OrvelFramework
{

/// One column/value pair of a database row; both are text, integers in decimal. A read
/// returns the pairs of all matching rows one after another in one flat vector.
class CTableRecordSet
{
public:
    CTableRecordSet();
    CTableRecordSet(const QString& sColumn, const QString& sValue);
    CTableRecordSet(const QString& sColumn, QString&& sValue);

    const QString& GetColumn() const;
    const QString& GetValue() const;

private:
    QString m_sColumn;
    QString m_sValue;
};

/// The pairs of one or more rows, row after row.
using TableRows = std::vector<CTableRecordSet>;

} // namespace OrvelFramework

#include "CTableRecordSet.h"

namespace OrvelFramework
{

CTableRecordSet::CTableRecordSet() = default;

CTableRecordSet::CTableRecordSet(const QString& sColumn, const QString& sValue)
    : m_sColumn(sColumn), m_sValue(sValue)
{
}

CTableRecordSet::CTableRecordSet(const QString& sColumn, QString&& sValue)
    : m_sColumn(sColumn), m_sValue(std::move(sValue))
{
}

const QString& CTableRecordSet::GetColumn() const
{
    return m_sColumn;
}

const QString& CTableRecordSet::GetValue() const
{
    return m_sValue;
}

} // namespace OrvelFramework

#include "CRDMatrixData.h"

namespace OrvelFramework
{

void CRDMatrixData::Clear()
{
    m_vItems.clear();
}

void CRDMatrixData::AppendMatrixItem(short iIndex, const QString& sText, const QString& sName)
{
    m_vItems.emplace_back(iIndex, sText, sName);
}

int CRDMatrixData::GetItemCount() const
{
    return static_cast<int>(m_vItems.size());
}

const CRDMatrixItem& CRDMatrixData::GetItem(int i) const
{
    return m_vItems.at(static_cast<std::size_t>(i));
}

} // namespace OrvelFramework

#pragma once

#include "MainDataAccess_export.h"

#include "CRDMatrixItem.h"

#include <vector>

namespace OrvelFramework
{

/// The tiles the result display draws, in the order they were appended.
class MDA_EXPORT CRDMatrixData
{
public:
    void Clear();
    void AppendMatrixItem(short iIndex, const QString& sText, const QString& sName);
    int GetItemCount() const;
    /// The tile at position i; a position outside the matrix throws std::out_of_range.
    const CRDMatrixItem& GetItem(int i) const;

private:
    std::vector<CRDMatrixItem> m_vItems;
};

} // namespace OrvelFramework

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
    /// Removes every tile.
    void Clear();
    /// Appends a tile with palette index iIndex, detail text sText and label sName.
    void AppendMatrixItem(short iIndex, const QString& sText, const QString& sName);
    /// The number of tiles.
    int GetItemCount() const;
    /// The tile at position i; a position outside the matrix throws std::out_of_range.
    const CRDMatrixItem& GetItem(int i) const;

private:
    std::vector<CRDMatrixItem> m_vItems;
};

} // namespace OrvelFramework

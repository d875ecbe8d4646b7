#pragma once

#include "MainDataAccess_export.h"

#include "CChannelCellValue.h"
#include "EMeasurementItems.h"

namespace LumoraMeasurement
{

/// The value of one measurement item of one channel in the measurement-side channel table.
/// Unlike the settings cell, a matching setter always stores and reports a change.
class MDA_EXPORT CChannelItemDataMeasurement : public CChannelCellValue<EMeasurementItems, short>
{
public:
    /// An unset cell of eItem with the item's value type and unit.
    explicit CChannelItemDataMeasurement(EMeasurementItems eItem = eMeasItem_None);

    ///@{
    /// Each Set stores only when it matches the value type, and then returns true.
    bool Set(const QString& sValue, EUnitTypes eUnit);
    bool Set(short iValue, EUnitTypes eUnit);
    bool Set(double dValue, EUnitTypes eUnit);
    bool Set(bool bValue, EUnitTypes eUnit);
    ///@}
    /// Keeps a string literal from binding to the bool overload.
    bool Set(const char* pszValue, EUnitTypes eUnit)
    {
        return Set(QString::fromUtf8(pszValue), eUnit);
    }

    /// The measurement item of the cell.
    EMeasurementItems Id() const { return m_eItem; }
};

} // namespace LumoraMeasurement

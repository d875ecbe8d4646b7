#pragma once

#include "MainDataAccess_export.h"

#include "CChannelCellValue.h"
#include "ESettingsItems.h"

namespace LumoraMeasurement
{

/// The value of one setting of one channel in the editable channel table. The cell knows its
/// value type and unit from its settings item; the setters report whether the value changed so
/// that the table editor can tell edits from no-ops.
class MDA_EXPORT CChannelItemData : public CChannelCellValue<ESettingsItems, long>
{
public:
    /// An unset cell of eItem with the item's value type, unit and default value.
    explicit CChannelItemData(ESettingsItems eItem = eSettingsItem_None);

    ///@{
    /// Each Set returns true when the stored value changed. Only the overload that matches the
    /// value type stores; the text overload parses into integer and floating cells.
    bool Set(const QString& sValue, EUnitTypes eUnit);
    bool Set(long lValue, EUnitTypes eUnit);
    bool Set(double dValue, EUnitTypes eUnit);
    bool Set(bool bValue, EUnitTypes eUnit);
    ///@}
    /// Keeps a string literal from binding to the bool overload.
    bool Set(const char* pszValue, EUnitTypes eUnit)
    {
        return Set(QString::fromUtf8(pszValue), eUnit);
    }

    /// Frequencies, symbol rates and the power limit offset have their own floating forms.
    QString ToString() const;

    /// The settings item of the cell.
    ESettingsItems GetItemEnum() const { return m_eItem; }
};

} // namespace LumoraMeasurement

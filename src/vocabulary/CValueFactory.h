#pragma once

#include "MainDataAccess_export.h"

#include "ECategory.h"
#include "EMeasurementItems.h"
#include "ESettingsItems.h"
#include "EUnitTypes.h"
#include "EValueType.h"

#include <QString>

namespace LumoraMeasurement
{

/// What kind of value each measurement item and each channel settings item carries: value
/// type, default unit, category, and the names under which other programs refer to items.
/// Every lookup is guarded by a range check and falls back instead of failing.
class MDA_EXPORT CValueFactory
{
public:
    CValueFactory() = delete;

    /// Value type of a measurement item; integer for a value without an item.
    static EValueType MeasurementItem_GetItemValueType(EMeasurementItems eItem);
    /// Category of a measurement item by item range; General for a value without an item.
    static ECategory MeasurementItem_GetItemValueCategory(EMeasurementItems eItem);
    /// Default unit of a measurement item; no unit for a value without an item.
    static EUnitTypes MeasurementItem_GetItemUnit(EMeasurementItems eItem);
    /// The item whose value-list name equals the trimmed name (case-sensitive); the category
    /// only tells the digital from the analogue carrier frequency offset. eMeasItem_None when
    /// no item has that name.
    static EMeasurementItems MeasurementItem_GetEnumValue(const QString& sCategory,
                                                          const QString& sName);
    /// The item's name as a profile measurement-result parameter; empty when it has none.
    static QString MeasurementItem_GetProfileName(EMeasurementItems eItem);
    /// The item's compact numeric id (0 to 96); -1 when it has none.
    static long MeasurementItem_GetNumericId(EMeasurementItems eItem);

    /// Value type of a settings item; integer for a value without an item.
    static EValueType SettingsItem_GetItemValueType(ESettingsItems eItem);
    /// Unit of a settings item; no unit for a value without an item.
    static EUnitTypes SettingsItem_GetItemUnit(ESettingsItems eItem);
    /// Whether the item's value is chosen from an enumeration's list.
    static bool SettingsItem_HasSelectionList(ESettingsItems eItem);
    /// Category of a settings item; eCategory_NoCategory for a value without an item.
    static ECategory ChannelSettings_GetItemValueCategory(ESettingsItems eItem);
    /// Display text of a settings item; empty for a value without an item.
    static QString SettingsItem_GetItemName(ESettingsItems eItem);
    /// The item whose display text equals sText exactly; eSettingsItem_None when none does.
    static ESettingsItems SettingsItem_GetEnumValue(const QString& sText);
};

} // namespace LumoraMeasurement

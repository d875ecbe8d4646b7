#pragma once

#include "MainDataAccess_export.h"

#include "EMeasurementItemState.h"
#include "EUnitTypes.h"
#include "EValueType.h"

#include <QString>

namespace LumoraMeasurement
{

/// The value, unit and state shared by the two channel cell kinds: the settings cell and the
/// measurement cell differ only in the item that keys them (TItem), the width of their integer
/// field (TInt), how they store and how they show floating values. The members are defined in
/// CChannelCellValue.cpp for those two kinds only.
template <typename TItem, typename TInt> class MDA_EXPORT CChannelCellValue
{
public:
    /// Every floating value in the general 6-digit form with its unit; the settings cell shows
    /// some items in their own forms.
    QString ToString() const;
    /// Floating values are truncated toward zero and narrowed to TInt.
    TInt ToInt() const;
    /// The value as a floating number: an integer as is, a boolean as 1 or 0, a text as 0.
    double ToFloat() const;
    /// The value as a boolean: a number is true when it is not zero, a text is false.
    bool ToBool() const;

    /// Marks the cell as an item the device does not measure.
    void SetToNotImplemented();
    /// Marks the cell as failed.
    void SetToErrorState();
    /// True when the cell's state is valid (a value was stored).
    bool HasValidMeasurementData() const;
    /// True when the cell was marked as not implemented.
    bool IsNotImplemented() const;
    /// True when the cell was marked as failed.
    bool IsInErrorState() const;
    /// True when nothing was stored yet (state only initialised).
    bool IsNotSet() const;

    /// The unit of the value.
    EUnitTypes Unit() const { return m_eUnit; }
    /// Which of the fields holds the value.
    EValueType ValueType() const { return m_eValueType; }

protected:
    /// An empty cell for eItem, whose value is of eValueType in eUnit.
    CChannelCellValue(TItem eItem, EValueType eValueType, EUnitTypes eUnit)
        : m_eItem(eItem), m_eState(eMeasurementItemState_OnlyInitialized), m_eValueType(eValueType),
          m_eUnit(eUnit), m_bValue(false), m_iValue(0), m_dValue(0.0)
    {
    }

    /// Stores value into field when eType is the cell's value type, then takes the unit unless
    /// it is none and marks the cell valid. False, with nothing changed, on another type.
    template <typename T> bool Store(EValueType eType, T& rField, const T& value, EUnitTypes eUnit)
    {
        if (m_eValueType != eType)
        {
            return false;
        }
        rField = value;
        if (eUnit != eUnitType_None)
        {
            m_eUnit = eUnit;
        }
        m_eState = eMeasurementItemState_Valid;
        return true;
    }

    TItem m_eItem;                  ///< The item that keys the cell.
    EMeasurementItemState m_eState; ///< Valid, failed, not implemented or not set.
    EValueType m_eValueType;        ///< Which field holds the value.
    EUnitTypes m_eUnit;             ///< The unit of the value.
    QString m_sValue;               ///< The value of a text cell.
    bool m_bValue;                  ///< The value of a boolean cell.
    TInt m_iValue;                  ///< The value of an integer cell.
    double m_dValue;                ///< The value of a floating cell.
};

} // namespace LumoraMeasurement

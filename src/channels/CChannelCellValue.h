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
    double ToFloat() const;
    bool ToBool() const;

    void SetToNotImplemented();
    void SetToErrorState();
    bool HasValidMeasurementData() const;
    bool IsNotImplemented() const;
    bool IsInErrorState() const;
    bool IsNotSet() const;

    EUnitTypes Unit() const { return m_eUnit; }
    EValueType ValueType() const { return m_eValueType; }

protected:
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

    TItem m_eItem;
    EMeasurementItemState m_eState;
    EValueType m_eValueType;
    EUnitTypes m_eUnit;
    QString m_sValue;
    bool m_bValue;
    TInt m_iValue;
    double m_dValue;
};

} // namespace LumoraMeasurement

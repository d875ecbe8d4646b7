#pragma once

#include "MainDataAccess_export.h"

#include "EMeasurementItemState.h"
#include "EMeasurementItems.h"
#include "EUnitTypes.h"
#include "EValueType.h"

#include <QString>

namespace LumoraMeasurement
{

/// One measured value of one measurement item, with its unit and a state telling whether the
/// value is real, missing, unsupported or faulty. Only the value field that matches the item's
/// value type is ever written.
class MDA_EXPORT CMeasurementItem
{
public:
    /// A cell of no item (eMeasItem_None): integer, no unit.
    CMeasurementItem();
    /// An unset cell of eId with the item's value type and unit.
    explicit CMeasurementItem(EMeasurementItems eId);

    ///@{
    /// A setter stores only when the cell's value type matches; otherwise the cell is left
    /// untouched. A stored value makes the cell valid; eUnitType_None keeps the current unit.
    void Set(const QString& sValue, EUnitTypes eUnit);
    void Set(short iValue, EUnitTypes eUnit);
    void Set(double dValue, EUnitTypes eUnit);
    void Set(bool bValue, EUnitTypes eUnit);
    ///@}
    /// Stores the low 16 bits of a coded value into an integer cell; the unit stays.
    void SetEnum(long lValue);

    ///@{
    /// Sets the state (not implemented, error, out of range, or the one given); the value
    /// stays.
    void SetToNotImplemented();
    void SetToErrorState();
    void SetOutOfRange();
    void SetState(EMeasurementItemState eState);
    ///@}

    /// True when the state is valid (a value was stored).
    bool HasValidMeasurementData() const;
    /// True when the state is not implemented.
    bool IsNotImplemented() const;
    /// True when the state is error.
    bool IsInErrorState() const;
    /// True when nothing was stored yet (state only initialised).
    bool IsNotSet() const;

    /// The measurement item of the cell.
    EMeasurementItems Id() const;
    /// The item's display text.
    QString Name() const;
    /// The state of the cell.
    EMeasurementItemState State() const;
    /// Which value the cell holds.
    EValueType ValueType() const;
    /// The unit of the value.
    EUnitTypes Unit() const;

    // The conversions ignore the state: an unset cell converts its zero or empty value.

    /// "ON"/"OFF", a number followed by a blank and the unit text, or the text value.
    QString ToString() const;
    /// Floating values are truncated toward zero; text gives -1.
    short ToInt() const;
    /// Text gives 0.0.
    double ToFloat() const;
    /// Non-zero numbers (NaN included) are true; text gives false.
    bool ToBool() const;

private:
    void DoStore(EUnitTypes eUnit);

    EMeasurementItems m_eId;
    QString m_sName;
    EMeasurementItemState m_eState;
    EValueType m_eValueType;
    EUnitTypes m_eUnit;
    QString m_sValue;
    bool m_bValue;
    short m_iValue;
    double m_dValue;
};

} // namespace LumoraMeasurement

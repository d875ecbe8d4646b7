#pragma once

#include "MainDataAccess_export.h"

#include "ECategory.h"
#include "ECompareType.h"
#include "EInstrumentImpedance.h"
#include "ELevelUnit.h"
#include "EMeasurementItems.h"
#include "EUnitTypes.h"
#include "EValueType.h"

#include <QString>
#include <QVariant>

namespace LumoraMeasurement
{

/// The limit of one measurement item: the comparison, the lower and upper limit (for state
/// items the expected state, for boolean and text items the expected value in the high
/// value) and whether the item is measured. Judges measured values and writes the violation
/// text, and converts its limits to and from display text.
class MDA_EXPORT CComparativeValueDataItem
{
public:
    /// The item's catalogue data and built-in default limits; eMeasItem_None gives an empty
    /// limit without defaults.
    explicit CComparativeValueDataItem(EMeasurementItems eItem = eMeasItem_None);

    /// The measurement item the limit is for.
    EMeasurementItems GetMeasurementItem() const { return m_eMeasurementItem; }
    /// The item's category.
    ECategory GetCategory() const { return m_eCategory; }
    /// The type of the item's values.
    EValueType GetValueType() const { return m_eValueType; }
    /// The unit the limits are held in.
    EUnitTypes GetUnit() const { return m_eUnit; }
    /// How a value is compared with the limits.
    ECompareType GetCompareType() const { return m_eCompareType; }
    /// Whether the item is measured.
    bool GetMeasurementEnabled() const { return m_bMeasurementEnabled; }
    /// The upper limit (the expected value of text and boolean items).
    const QVariant& GetHighValue() const { return m_vHighValue; }
    /// The lower limit.
    const QVariant& GetLowValue() const { return m_vLowValue; }

    /// State items only take "Not Used", "Equal" and "Not Equal"; anything else is stored as
    /// given.
    void SetCompareType(ECompareType eCompareType);
    /// Sets the expected text (held as the upper limit).
    void SetString(const QString& sValue);
    /// Sets the expected boolean (held as the upper limit).
    void SetBool(bool bValue);
    /// Sets the lower limit of a floating-point item.
    void SetFloatLowLimit(double dValue);
    /// Sets the upper limit of a floating-point item.
    void SetFloatHighLimit(double dValue);
    /// Keeps the low 32 bits, unsigned.
    void SetLongLowLimit(long lValue);
    /// As SetLongLowLimit(), for the upper limit.
    void SetLongHighLimit(long lValue);
    /// Sets whether the item is measured.
    void SetMeasurementEnabled(bool bEnabled);

    /// Puts the item's built-in limits in place; items without defaults keep their limits.
    void SetDefaultLimits();

    /// Display texts of the limits; levels are shown in eLevelUnit at eImpedance.
    QString LowValueToString(ELevelUnit eLevelUnit, EInstrumentImpedance eImpedance, bool bWithUnit,
                             double dOffset) const;
    /// As LowValueToString(), for the upper limit.
    QString HighValueToString(ELevelUnit eLevelUnit, EInstrumentImpedance eImpedance,
                              bool bWithUnit, double dOffset) const;

    /// Parse and store; true when the stored value changed.
    bool LowValueFromString(const QString& sValue);
    /// As LowValueFromString(), for the upper limit.
    bool HighValueFromString(const QString& sValue);

    /// The state text of a stored id for a state item (empty when no state has it);
    /// "Unknown" for every other item.
    QString GetEnumStringFromInteger(long lCode) const;

    /// True when the measured text satisfies the limit; otherwise sViolation says why. dOffset
    /// shifts both limits of floating-point items.
    bool InRange(const QString& sValue, QString& sViolation, double dOffset) const;
    /// InRange() for a boolean value: compared with the expected one.
    bool InRangeBool(bool bValue, QString& sViolation) const;
    /// InRange() for an integer value.
    bool InRangeInteger(long lValue, QString& sViolation) const;
    /// InRange() for a floating-point value; sValue is its text, for the violation.
    bool InRangeFloat(double dValue, const QString& sValue, QString& sViolation,
                      double dOffset) const;
    /// InRange() for a text value: compared with the expected one.
    bool InRangeString(const QString& sValue, QString& sViolation) const;
    /// InRangeFloat() without the violation text, for judging many values: the value text
    /// need only be written for a violation.
    bool IsFloatWithin(double dValue, double dOffset) const;

    /// True for the items whose values are states (lock, on/off ...).
    bool IsStateItem() const;

private:
    // Every change of a limit goes through these, so that the numbers compared stay in step.
    void DoSetLowValue(const QVariant& vValue);
    void DoSetHighValue(const QVariant& vValue);
    QString DoGetItemName() const;
    QString DoFloatToString(double dValue, bool bWithUnit, double dOffset) const;

    EMeasurementItems m_eMeasurementItem = eMeasItem_None;
    ECategory m_eCategory = eCategory_General;
    EValueType m_eValueType = eValueType_Bool;
    EUnitTypes m_eUnit = eUnitType_None;
    ECompareType m_eCompareType = eCompareType_Between;
    bool m_bMeasurementEnabled = true;
    QVariant m_vHighValue;
    QVariant m_vLowValue;
    // The limits as the comparisons read them, converted once rather than per value.
    double m_dLowLimit = 0.0;
    double m_dHighLimit = 0.0;
    long m_lLowLimit = 0;
    long m_lHighLimit = 0;
};

} // namespace LumoraMeasurement

#pragma once

#include "EMeasurementItemState.h"
#include "EMeasurementItems.h"
#include "EUnitTypes.h"
#include "EValueType.h"

#include <QString>

namespace LumoraMeasurement
{

/// The value of one measurement item of one channel in the measurement-side channel table.
/// Unlike the settings cell, a matching setter always stores and reports a change.
class CChannelItemDataMeasurement
{
public:
    explicit CChannelItemDataMeasurement(EMeasurementItems eItem = eMeasItem_None);

    /// Each Set stores only when it matches the value type, and then returns true.
    bool Set(const QString& sValue, EUnitTypes eUnit);
    bool Set(short iValue, EUnitTypes eUnit);
    bool Set(double dValue, EUnitTypes eUnit);
    bool Set(bool bValue, EUnitTypes eUnit);
    /// Keeps a string literal from binding to the bool overload.
    bool Set(const char* pszValue, EUnitTypes eUnit)
    {
        return Set(QString::fromUtf8(pszValue), eUnit);
    }

    QString ToString() const;
    short ToInt() const;
    double ToFloat() const;
    bool ToBool() const;

    void SetToNotImplemented();
    void SetToErrorState();
    bool HasValidMeasurementData() const;
    bool IsNotImplemented() const;
    bool IsInErrorState() const;
    bool IsNotSet() const;

    EUnitTypes Unit() const { return m_eUnit; }
    EMeasurementItems Id() const { return m_eItem; }
    EValueType ValueType() const { return m_eValueType; }

private:
    bool DoStore(EValueType eType, EUnitTypes eUnit);

    EMeasurementItems m_eItem;
    EMeasurementItemState m_eState;
    EValueType m_eValueType;
    EUnitTypes m_eUnit;
    QString m_sValue;
    bool m_bValue;
    short m_iValue;
    double m_dValue;
};

} // namespace LumoraMeasurement

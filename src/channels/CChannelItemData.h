#pragma once

#include "EMeasurementItemState.h"
#include "ESettingsItems.h"
#include "EUnitTypes.h"
#include "EValueType.h"

#include <QString>

namespace LumoraMeasurement
{

/// The value of one setting of one channel in the editable channel table. The cell knows its
/// value type and unit from its settings item; the setters report whether the value changed so
/// that the table editor can tell edits from no-ops.
class CChannelItemData
{
public:
    explicit CChannelItemData(ESettingsItems eItem = eSettingsItem_None);

    /// Each Set returns true when the stored value changed. Only the overload that matches the
    /// value type stores; the text overload parses into integer and floating cells.
    bool Set(const QString& sValue, EUnitTypes eUnit);
    bool Set(long lValue, EUnitTypes eUnit);
    bool Set(double dValue, EUnitTypes eUnit);
    bool Set(bool bValue, EUnitTypes eUnit);
    /// Keeps a string literal from binding to the bool overload.
    bool Set(const char* pszValue, EUnitTypes eUnit)
    {
        return Set(QString::fromUtf8(pszValue), eUnit);
    }

    QString ToString() const;
    long ToInt() const;
    double ToFloat() const;
    bool ToBool() const;

    void SetToNotImplemented();
    void SetToErrorState();
    bool HasValidMeasurementData() const;
    bool IsNotImplemented() const;
    bool IsInErrorState() const;
    bool IsNotSet() const;

    EUnitTypes Unit() const { return m_eUnit; }
    ESettingsItems GetItemEnum() const { return m_eItem; }
    EValueType ValueType() const { return m_eValueType; }

private:
    ESettingsItems m_eItem;
    EMeasurementItemState m_eState;
    EValueType m_eValueType;
    EUnitTypes m_eUnit;
    QString m_sValue;
    bool m_bValue;
    long m_lValue;
    double m_dValue;
};

} // namespace LumoraMeasurement

#include "CChannelItemData.h"

#include "CConverter.h"
#include "CEnumTemplate.h"
#include "CValueFactory.h"
#include "ERefLevelMode.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace LumoraMeasurement
{

namespace
{

// Truncation toward zero without the undefined behaviour of casting NaN or huge values.
long TruncateToLong(double dValue)
{
    if (std::isnan(dValue))
    {
        return 0;
    }
    constexpr double c_dMax = static_cast<double>(std::numeric_limits<long>::max());
    constexpr double c_dMin = static_cast<double>(std::numeric_limits<long>::min());
    if (dValue >= c_dMax)
    {
        return std::numeric_limits<long>::max();
    }
    if (dValue <= c_dMin)
    {
        return std::numeric_limits<long>::min();
    }
    return static_cast<long>(dValue);
}

QString GeneralNumberWithUnit(double dValue, EUnitTypes eUnit)
{
    return QString::number(dValue, 'g', 6) + QLatin1Char(' ') + CConverter::GetUnitString(eUnit);
}

} // namespace

CChannelItemData::CChannelItemData(ESettingsItems eItem)
    : m_eItem(eItem), m_eState(eMeasurementItemState_OnlyInitialized),
      m_eValueType(CValueFactory::SettingsItem_GetItemValueType(eItem)),
      m_eUnit(CValueFactory::SettingsItem_GetItemUnit(eItem)), m_bValue(false), m_lValue(0),
      m_dValue(0.0)
{
    if (eItem == eSettingsItem_ReferenceLevelMode)
    {
        m_lValue = CEnumTemplate<ERefLevelMode>::ToId(eRefLevelMode_Automatic);
    }
}

bool CChannelItemData::Set(const QString& sValue, EUnitTypes eUnit)
{
    if (CValueFactory::SettingsItem_HasSelectionList(m_eItem) || m_eValueType == eValueType_Integer)
    {
        bool bOk = false;
        long lValue = sValue.toLong(&bOk, 10);
        if (!bOk)
        {
            lValue = 0;
        }
        if (lValue == m_lValue)
        {
            return false;
        }
        m_lValue = lValue;
        m_eState = eMeasurementItemState_Valid;
        return true;
    }

    switch (m_eValueType)
    {
    case eValueType_Text:
        if (sValue == m_sValue)
        {
            return false;
        }
        m_sValue = sValue;
        if (eUnit != eUnitType_None)
        {
            m_eUnit = eUnit;
        }
        m_eState = eMeasurementItemState_Valid;
        return true;

    case eValueType_Float:
    {
        double dValue = CConverter::ConvertValue(sValue, m_eUnit);
        if (m_eItem == eSettingsItem_PowerLimitOffset)
        {
            // The offset is edited in hundredths of a dB within a sensible range.
            dValue = std::trunc(dValue * 100.0) / 100.0;
            dValue = std::max(-100.0, std::min(100.0, dValue));
        }
        if (dValue == m_dValue)
        {
            return false;
        }
        m_dValue = dValue;
        m_eState = eMeasurementItemState_Valid;
        return true;
    }

    default:
        return false;
    }
}

bool CChannelItemData::Set(long lValue, EUnitTypes eUnit)
{
    if (m_eValueType != eValueType_Integer || lValue == m_lValue)
    {
        return false;
    }
    m_lValue = lValue;
    if (eUnit != eUnitType_None)
    {
        m_eUnit = eUnit;
    }
    m_eState = eMeasurementItemState_Valid;
    return true;
}

bool CChannelItemData::Set(double dValue, EUnitTypes eUnit)
{
    if (m_eValueType != eValueType_Float || dValue == m_dValue)
    {
        return false;
    }
    m_dValue = dValue;
    if (eUnit != eUnitType_None)
    {
        m_eUnit = eUnit;
    }
    m_eState = eMeasurementItemState_Valid;
    return true;
}

bool CChannelItemData::Set(bool bValue, EUnitTypes eUnit)
{
    if (m_eValueType != eValueType_Bool || bValue == m_bValue)
    {
        return false;
    }
    m_bValue = bValue;
    if (eUnit != eUnitType_None)
    {
        m_eUnit = eUnit;
    }
    m_eState = eMeasurementItemState_Valid;
    return true;
}

QString CChannelItemData::ToString() const
{
    switch (m_eValueType)
    {
    case eValueType_Bool:
        return m_bValue ? QStringLiteral("ON") : QStringLiteral("OFF");
    case eValueType_Integer:
        return QString::number(m_lValue) + QLatin1Char(' ') + CConverter::GetUnitString(m_eUnit);
    case eValueType_Text:
        return m_sValue;
    case eValueType_Float:
        switch (m_eItem)
        {
        case eSettingsItem_CenterFrequency:
        case eSettingsItem_FrequencyOffset:
        case eSettingsItem_PilotFrequency:
        case eSettingsItem_Subcarrier0Frequency:
            return CConverter::GetFrequencyString(m_dValue, 2, true);
        case eSettingsItem_PowerLimitOffset:
            return QString::number(m_dValue, 'f', 2) + QLatin1Char(' ') +
                   CConverter::GetUnitString(m_eUnit);
        case eSettingsItem_SymbolRate:
            return CConverter::GetSymbolRateString(m_dValue, 8, true);
        default:
            return GeneralNumberWithUnit(m_dValue, m_eUnit);
        }
    default:
        return QStringLiteral("Cannot cast value to string");
    }
}

long CChannelItemData::ToInt() const
{
    switch (m_eValueType)
    {
    case eValueType_Integer:
        return m_lValue;
    case eValueType_Float:
        return TruncateToLong(m_dValue);
    case eValueType_Bool:
        return m_bValue ? 1 : 0;
    default:
        return -1;
    }
}

double CChannelItemData::ToFloat() const
{
    switch (m_eValueType)
    {
    case eValueType_Integer:
        return static_cast<double>(m_lValue);
    case eValueType_Float:
        return m_dValue;
    case eValueType_Bool:
        return m_bValue ? 1.0 : 0.0;
    default:
        return 0.0;
    }
}

bool CChannelItemData::ToBool() const
{
    switch (m_eValueType)
    {
    case eValueType_Integer:
        return m_lValue != 0;
    case eValueType_Float:
        return m_dValue != 0.0; // NaN compares unequal, so it counts as true
    case eValueType_Bool:
        return m_bValue;
    default:
        return false;
    }
}

void CChannelItemData::SetToNotImplemented()
{
    m_eState = eMeasurementItemState_NotImplemented;
}

void CChannelItemData::SetToErrorState()
{
    m_eState = eMeasurementItemState_Error;
}

bool CChannelItemData::HasValidMeasurementData() const
{
    return m_eState == eMeasurementItemState_Valid;
}

bool CChannelItemData::IsNotImplemented() const
{
    return m_eState == eMeasurementItemState_NotImplemented;
}

bool CChannelItemData::IsInErrorState() const
{
    return m_eState == eMeasurementItemState_Error;
}

bool CChannelItemData::IsNotSet() const
{
    return m_eState == eMeasurementItemState_OnlyInitialized;
}

} // namespace LumoraMeasurement

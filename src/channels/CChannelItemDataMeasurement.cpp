#include "CChannelItemDataMeasurement.h"

#include "CConverter.h"
#include "CValueFactory.h"

#include <cmath>
#include <limits>

namespace LumoraMeasurement
{

namespace
{

// Truncation toward zero, then narrowing to 16 bits as the cell's integer field does; NaN and
// values beyond the 32-bit range are pinned first so that no cast is undefined.
short TruncateToShort(double dValue)
{
    if (std::isnan(dValue))
    {
        return 0;
    }
    constexpr double c_dMax = static_cast<double>(std::numeric_limits<int>::max());
    constexpr double c_dMin = static_cast<double>(std::numeric_limits<int>::min());
    const int iValue = dValue >= c_dMax   ? std::numeric_limits<int>::max()
                       : dValue <= c_dMin ? std::numeric_limits<int>::min()
                                          : static_cast<int>(dValue);
    return static_cast<short>(iValue);
}

} // namespace

CChannelItemDataMeasurement::CChannelItemDataMeasurement(EMeasurementItems eItem)
    : m_eItem(eItem), m_eState(eMeasurementItemState_OnlyInitialized),
      m_eValueType(CValueFactory::MeasurementItem_GetItemValueType(eItem)),
      m_eUnit(CValueFactory::MeasurementItem_GetItemUnit(eItem)), m_bValue(false), m_iValue(0),
      m_dValue(0.0)
{
}

bool CChannelItemDataMeasurement::DoStore(EValueType eType, EUnitTypes eUnit)
{
    if (m_eValueType != eType)
    {
        return false;
    }
    if (eUnit != eUnitType_None)
    {
        m_eUnit = eUnit;
    }
    m_eState = eMeasurementItemState_Valid;
    return true;
}

bool CChannelItemDataMeasurement::Set(const QString& sValue, EUnitTypes eUnit)
{
    if (!DoStore(eValueType_Text, eUnit))
    {
        return false;
    }
    m_sValue = sValue;
    return true;
}

bool CChannelItemDataMeasurement::Set(short iValue, EUnitTypes eUnit)
{
    if (!DoStore(eValueType_Integer, eUnit))
    {
        return false;
    }
    m_iValue = iValue;
    return true;
}

bool CChannelItemDataMeasurement::Set(double dValue, EUnitTypes eUnit)
{
    if (!DoStore(eValueType_Float, eUnit))
    {
        return false;
    }
    m_dValue = dValue;
    return true;
}

bool CChannelItemDataMeasurement::Set(bool bValue, EUnitTypes eUnit)
{
    if (!DoStore(eValueType_Bool, eUnit))
    {
        return false;
    }
    m_bValue = bValue;
    return true;
}

QString CChannelItemDataMeasurement::ToString() const
{
    switch (m_eValueType)
    {
    case eValueType_Bool:
        return m_bValue ? QStringLiteral("ON") : QStringLiteral("OFF");
    case eValueType_Integer:
        return QString::number(m_iValue) + QLatin1Char(' ') + CConverter::GetUnitString(m_eUnit);
    case eValueType_Text:
        return m_sValue;
    case eValueType_Float:
        return QString::number(m_dValue, 'g', 6) + QLatin1Char(' ') +
               CConverter::GetUnitString(m_eUnit);
    default:
        return QStringLiteral("Cannot cast value to string");
    }
}

short CChannelItemDataMeasurement::ToInt() const
{
    switch (m_eValueType)
    {
    case eValueType_Integer:
        return m_iValue;
    case eValueType_Float:
        return TruncateToShort(m_dValue);
    case eValueType_Bool:
        return m_bValue ? 1 : 0;
    default:
        return -1;
    }
}

double CChannelItemDataMeasurement::ToFloat() const
{
    switch (m_eValueType)
    {
    case eValueType_Integer:
        return m_iValue;
    case eValueType_Float:
        return m_dValue;
    case eValueType_Bool:
        return m_bValue ? 1.0 : 0.0;
    default:
        return 0.0;
    }
}

bool CChannelItemDataMeasurement::ToBool() const
{
    switch (m_eValueType)
    {
    case eValueType_Integer:
        return m_iValue != 0;
    case eValueType_Float:
        return m_dValue != 0.0; // NaN compares unequal, so it counts as true
    case eValueType_Bool:
        return m_bValue;
    default:
        return false;
    }
}

void CChannelItemDataMeasurement::SetToNotImplemented()
{
    m_eState = eMeasurementItemState_NotImplemented;
}

void CChannelItemDataMeasurement::SetToErrorState()
{
    m_eState = eMeasurementItemState_Error;
}

bool CChannelItemDataMeasurement::HasValidMeasurementData() const
{
    return m_eState == eMeasurementItemState_Valid;
}

bool CChannelItemDataMeasurement::IsNotImplemented() const
{
    return m_eState == eMeasurementItemState_NotImplemented;
}

bool CChannelItemDataMeasurement::IsInErrorState() const
{
    return m_eState == eMeasurementItemState_Error;
}

bool CChannelItemDataMeasurement::IsNotSet() const
{
    return m_eState == eMeasurementItemState_OnlyInitialized;
}

} // namespace LumoraMeasurement

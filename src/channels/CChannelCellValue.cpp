#include "CChannelCellValue.h"

#include "CConverter.h"
#include "EMeasurementItems.h"
#include "ESettingsItems.h"

#include <cmath>
#include <limits>
#include <type_traits>

namespace LumoraMeasurement
{

namespace
{

// Truncation toward zero, then narrowing to the cell's integer field as a store into it would.
// NaN and values beyond the promoted type's range are pinned first so that no cast is undefined.
template <typename TInt> TInt TruncateTowardZero(double dValue)
{
    using TWide = std::common_type_t<TInt, int>;
    if (std::isnan(dValue))
    {
        return 0;
    }
    constexpr double c_dMax = static_cast<double>(std::numeric_limits<TWide>::max());
    constexpr double c_dMin = static_cast<double>(std::numeric_limits<TWide>::min());
    const TWide wideValue = dValue >= c_dMax   ? std::numeric_limits<TWide>::max()
                            : dValue <= c_dMin ? std::numeric_limits<TWide>::min()
                                               : static_cast<TWide>(dValue);
    return static_cast<TInt>(wideValue);
}

} // namespace

template <typename TItem, typename TInt> QString CChannelCellValue<TItem, TInt>::ToString() const
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

template <typename TItem, typename TInt> TInt CChannelCellValue<TItem, TInt>::ToInt() const
{
    switch (m_eValueType)
    {
    case eValueType_Integer:
        return m_iValue;
    case eValueType_Float:
        return TruncateTowardZero<TInt>(m_dValue);
    case eValueType_Bool:
        return m_bValue ? 1 : 0;
    default:
        return -1;
    }
}

template <typename TItem, typename TInt> double CChannelCellValue<TItem, TInt>::ToFloat() const
{
    switch (m_eValueType)
    {
    case eValueType_Integer:
        return static_cast<double>(m_iValue);
    case eValueType_Float:
        return m_dValue;
    case eValueType_Bool:
        return m_bValue ? 1.0 : 0.0;
    default:
        return 0.0;
    }
}

template <typename TItem, typename TInt> bool CChannelCellValue<TItem, TInt>::ToBool() const
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

template <typename TItem, typename TInt> void CChannelCellValue<TItem, TInt>::SetToNotImplemented()
{
    m_eState = eMeasurementItemState_NotImplemented;
}

template <typename TItem, typename TInt> void CChannelCellValue<TItem, TInt>::SetToErrorState()
{
    m_eState = eMeasurementItemState_Error;
}

template <typename TItem, typename TInt>
bool CChannelCellValue<TItem, TInt>::HasValidMeasurementData() const
{
    return m_eState == eMeasurementItemState_Valid;
}

template <typename TItem, typename TInt>
bool CChannelCellValue<TItem, TInt>::IsNotImplemented() const
{
    return m_eState == eMeasurementItemState_NotImplemented;
}

template <typename TItem, typename TInt> bool CChannelCellValue<TItem, TInt>::IsInErrorState() const
{
    return m_eState == eMeasurementItemState_Error;
}

template <typename TItem, typename TInt> bool CChannelCellValue<TItem, TInt>::IsNotSet() const
{
    return m_eState == eMeasurementItemState_OnlyInitialized;
}

// The settings cell holds 64-bit integers, the measurement cell 16-bit ones.
template class CChannelCellValue<ESettingsItems, long>;
template class CChannelCellValue<EMeasurementItems, short>;

} // namespace LumoraMeasurement

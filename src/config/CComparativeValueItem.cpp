#include "CComparativeValueItem.h"

#include <QJsonValue>

#include <cmath>
#include <cstdint>

namespace OrvelFramework
{

namespace
{

QJsonValue ToUnsigned32(long lValue)
{
    return QJsonValue(static_cast<double>(static_cast<std::uint32_t>(lValue)));
}

// Whole numbers in the signed or unsigned 32-bit range; the unsigned upper half folds back
// to negative so that a written -1 (4294967295) reads back as -1. Anything else gives 0.
long FromInteger32(const QJsonValue& jValue)
{
    if (!jValue.isDouble())
    {
        return 0;
    }
    const double d = jValue.toDouble();
    if (!std::isfinite(d) || std::floor(d) != d || d < -2147483648.0 || d > 4294967295.0)
    {
        return 0;
    }
    return static_cast<long>(
        static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(d))));
}

} // namespace

CComparativeValueItem::CComparativeValueItem(const QJsonObject& jObject)
{
    FromJson(jObject);
}

QJsonObject CComparativeValueItem::ToJson() const
{
    QJsonObject jObject;
    jObject.insert(c_sKeyCompareType, ToUnsigned32(m_lCompareType));
    jObject.insert(c_sKeyHighValue, m_sHighValue);
    jObject.insert(c_sKeyID, ToUnsigned32(m_lID));
    jObject.insert(c_sKeyLowValue, m_sLowValue);
    jObject.insert(c_sKeyMeasurementEnabled, m_bMeasurementEnabled);
    return jObject;
}

void CComparativeValueItem::FromJson(QJsonObject jObject)
{
    m_lCompareType = FromInteger32(jObject[c_sKeyCompareType]);
    m_sHighValue = jObject[c_sKeyHighValue].toString();
    m_lID = FromInteger32(jObject[c_sKeyID]);
    m_sLowValue = jObject[c_sKeyLowValue].toString();
    const QJsonValue jEnabled = jObject[c_sKeyMeasurementEnabled];
    if (!jEnabled.isUndefined() && !jEnabled.isNull())
    {
        m_bMeasurementEnabled = jEnabled.isBool() && jEnabled.toBool();
    }
}

} // namespace OrvelFramework

#include "CMeasurementItem.h"

#include "CConverter.h"
#include "CEnumTemplate.h"
#include "CValueFactory.h"

#include <cmath>

namespace LumoraMeasurement
{

namespace
{

// The integer field is 16 bits wide; wider values keep their low 16 bits.
short Low16Bits(long long llValue)
{
    const int iLow = static_cast<int>(static_cast<unsigned long long>(llValue) & 0xFFFFu);
    return static_cast<short>(iLow >= 0x8000 ? iLow - 0x10000 : iLow);
}

// Truncates toward zero, then keeps the low 16 bits. Done in floating point so that no value
// (huge, infinite or NaN) reaches an integer conversion it does not fit; infinities and NaN
// give 0.
short TruncateToShort(double dValue)
{
    const double dLow = std::fmod(std::trunc(dValue), 65536.0);
    return std::isfinite(dLow) ? Low16Bits(static_cast<long long>(dLow)) : 0;
}

} // namespace

CMeasurementItem::CMeasurementItem() : CMeasurementItem(eMeasItem_None) {}

CMeasurementItem::CMeasurementItem(EMeasurementItems eId)
    : m_eId(eId), m_sName(CEnumTemplate<EMeasurementItems>::ToString(eId)),
      m_eState(eMeasurementItemState_OnlyInitialized),
      m_eValueType(CValueFactory::MeasurementItem_GetItemValueType(eId)),
      m_eUnit(CValueFactory::MeasurementItem_GetItemUnit(eId)), m_bValue(false), m_iValue(0),
      m_dValue(0.0)
{
}

void CMeasurementItem::DoStore(EUnitTypes eUnit)
{
    m_eState = eMeasurementItemState_Valid;
    if (eUnit != eUnitType_None)
    {
        m_eUnit = eUnit;
    }
}

void CMeasurementItem::Set(const QString& sValue, EUnitTypes eUnit)
{
    if (m_eValueType == eValueType_Text)
    {
        m_sValue = sValue;
        DoStore(eUnit);
    }
}

void CMeasurementItem::Set(short iValue, EUnitTypes eUnit)
{
    if (m_eValueType == eValueType_Integer)
    {
        m_iValue = iValue;
        DoStore(eUnit);
    }
}

void CMeasurementItem::Set(double dValue, EUnitTypes eUnit)
{
    if (m_eValueType == eValueType_Float)
    {
        m_dValue = dValue;
        DoStore(eUnit);
    }
}

void CMeasurementItem::Set(bool bValue, EUnitTypes eUnit)
{
    if (m_eValueType == eValueType_Bool)
    {
        m_bValue = bValue;
        DoStore(eUnit);
    }
}

void CMeasurementItem::SetEnum(long lValue)
{
    if (m_eValueType == eValueType_Integer)
    {
        m_iValue = Low16Bits(lValue);
        m_eState = eMeasurementItemState_Valid;
    }
}

void CMeasurementItem::SetToNotImplemented()
{
    m_eState = eMeasurementItemState_NotImplemented;
}

void CMeasurementItem::SetToErrorState()
{
    m_eState = eMeasurementItemState_Error;
}

void CMeasurementItem::SetOutOfRange()
{
    m_eState = eMeasurementItemState_OutOfRange;
}

void CMeasurementItem::SetState(EMeasurementItemState eState)
{
    m_eState = eState;
}

bool CMeasurementItem::HasValidMeasurementData() const
{
    return m_eState == eMeasurementItemState_Valid;
}

bool CMeasurementItem::IsNotImplemented() const
{
    return m_eState == eMeasurementItemState_NotImplemented;
}

bool CMeasurementItem::IsInErrorState() const
{
    return m_eState == eMeasurementItemState_Error;
}

bool CMeasurementItem::IsNotSet() const
{
    return m_eState == eMeasurementItemState_OnlyInitialized;
}

EMeasurementItems CMeasurementItem::Id() const
{
    return m_eId;
}

QString CMeasurementItem::Name() const
{
    return m_sName;
}

EMeasurementItemState CMeasurementItem::State() const
{
    return m_eState;
}

EValueType CMeasurementItem::ValueType() const
{
    return m_eValueType;
}

EUnitTypes CMeasurementItem::Unit() const
{
    return m_eUnit;
}

QString CMeasurementItem::ToString() const
{
    switch (m_eValueType)
    {
    case eValueType_Bool:
        return m_bValue ? QStringLiteral("ON") : QStringLiteral("OFF");
    case eValueType_Integer:
        return QString::number(m_iValue) + QLatin1Char(' ') + CConverter::GetUnitString(m_eUnit);
    case eValueType_Float:
        return QString::number(m_dValue, 'g', 6) + QLatin1Char(' ') +
               CConverter::GetUnitString(m_eUnit);
    case eValueType_Text:
        return m_sValue;
    default:
        return QStringLiteral("Cannot cast value to string");
    }
}

short CMeasurementItem::ToInt() const
{
    switch (m_eValueType)
    {
    case eValueType_Bool:
        return m_bValue ? 1 : 0;
    case eValueType_Integer:
        return m_iValue;
    case eValueType_Float:
        return TruncateToShort(m_dValue);
    default:
        return -1;
    }
}

double CMeasurementItem::ToFloat() const
{
    switch (m_eValueType)
    {
    case eValueType_Bool:
        return m_bValue ? 1.0 : 0.0;
    case eValueType_Integer:
        return m_iValue;
    case eValueType_Float:
        return m_dValue;
    default:
        return 0.0;
    }
}

bool CMeasurementItem::ToBool() const
{
    switch (m_eValueType)
    {
    case eValueType_Bool:
        return m_bValue;
    case eValueType_Integer:
        return m_iValue != 0;
    case eValueType_Float:
        return m_dValue != 0.0; // NaN compares unequal, so it counts as true
    default:
        return false;
    }
}

} // namespace LumoraMeasurement

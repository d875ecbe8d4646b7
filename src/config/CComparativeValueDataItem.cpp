#include "CComparativeValueDataItem.h"

#include "CConverter.h"
#include "CEnumTemplate.h"
#include "CStringUtil.h"
#include "CValueFactory.h"
#include "ELocked.h"
#include "EOnOff.h"
#include "EPresent.h"

#include <cstdint>
#include <limits>

using OrvelFramework::CStringUtil;

namespace LumoraMeasurement
{

namespace
{

enum class EStateFamily
{
    None,
    Locked,
    OnOff,
    Present
};

struct SStateItem
{
    short m_sItem;
    EStateFamily m_eFamily;
    bool m_bDefaultFirstState; ///< default expected state: the family's value 0
};

// Items whose integer value is the stored id of a state, compared by equality.
constexpr SStateItem c_StateItems[] = {
    {eMeasItem_InternalReference, EStateFamily::Locked, false},
    {eMeasItem_DemodLock, EStateFamily::Locked, true},
    {eMeasItem_MPEGLock, EStateFamily::Locked, true},
    {eMeasItem_PLPLock, EStateFamily::Locked, true},
    {eMeasItem_FICLock, EStateFamily::Locked, true},
    {eMeasItem_VisionDetector, EStateFamily::Locked, true},
    {eMeasItem_DecodeLock, EStateFamily::Locked, true},
    {eMeasItem_PLCLock, EStateFamily::Locked, true},
    {eMeasItem_Preamplifier, EStateFamily::OnOff, false},
    {eMeasItem_Preselector, EStateFamily::OnOff, true},
    {eMeasItem_FM1SoundCarrier, EStateFamily::Present, false},
    {eMeasItem_FM2SoundCarrier, EStateFamily::Present, false},
};

constexpr bool I = true;  // limit held as signed 32-bit integer
constexpr bool D = false; // limit held as double

struct SDefaultLimit
{
    short m_aItems[6]; ///< 0 ends the list
    double m_dLow;
    bool m_bLowInt;
    double m_dHigh;
    bool m_bHighInt;
};

// Built-in limits in the item's unit, one row per group of items.
// clang-format off
constexpr SDefaultLimit c_DefaultLimits[] = {
    {{3}, -40.0, D, 60.0, D},
    {{5}, 0.0, D, 70.0, D},
    {{7}, -15.0, D, 47.0, D},
    {{8}, -30000.0, D, 30000.0, D},
    {{9}, -1000, I, 1000, I},
    {{10}, -10, I, 10, I},
    {{15, 19, 23, 27, 31}, 30.0, D, 70.0, D},
    {{16, 20, 24, 28, 32}, 0.03, D, 3, I},
    {{17, 21, 25, 29, 33}, 20.0, D, 70.0, D},
    {{18, 22, 26, 30, 34}, 0.03, D, 10, I},
    {{35, 39, 95, 121}, 0.0, D, 0.01, D},
    {{36}, 0.0, D, 0.0002, D},
    {{37}, 0.0, D, 1e-11, D},
    {{38, 117, 118, 122, 125}, 0.0, D, 1e-06, D},
    {{40}, 1.0, D, 5.0, D},
    {{42}, 0.0, D, 0.05, D},
    {{43}, 0.0, D, 10.0, D},
    {{44, 94}, 0.0, D, 100000000.0, D},
    {{45, 46}, 40.0, D, 70.0, D},
    {{47}, 0.0, D, 0.5, D},
    {{48}, 7.0, D, 13.0, D},
    {{49}, 0.0, D, 500, I},
    {{50}, 0.0, D, 1.0, D},
    {{51}, 0.0, D, 30.0, D},
    {{52, 53}, -0.5, D, 0.5, D},
    {{54, 56}, 40.0, D, 100.0, D},
    {{55}, -360, I, 360, I},
    {{77}, 0.0, D, 57.0, D},
    {{78}, -20000.0, D, 20000.0, D},
    {{80}, -10.0, D, 10.0, D},
    {{81}, 90.0, D, 110.0, D},
    {{82, 83}, 50.0, D, 70.0, D},
    {{86}, 87.0, D, 91.0, D},
    {{87}, 9.0, D, 13.0, D},
    {{88}, -20.0, D, -6.0, D},
    {{89, 91}, -1000.0, D, 1000.0, D},
    {{90}, -27.0, D, -13.0, D},
    {{92}, 30.0, D, 100.0, D},
    {{96, 97}, 0.0, D, 1e-08, D},
    {{99}, 24000000.0, D, 192000000.0, D},
    {{100}, -15.0, D, 15.0, D},
    {{101}, 0.0, D, 100.0, D},
    {{102}, 0.0, D, 2400000000.0, D},
    {{103, 105, 107, 111, 113, 115}, 35.0, D, 60.0, D},
    {{104, 106, 108, 112, 114, 116}, 25.0, D, 60.0, D},
    {{109}, 40.0, D, 60.0, D},
    {{110}, 30.0, D, 60.0, D},
    {{119, 120, 124}, 0.0, D, 0.001, D},
    {{123}, 0.0, D, 1e-09, D},
    {{126}, 0.0, D, 1000.0, D},
    {{127}, 1.0, D, 4.0, D},
};
// clang-format on

constexpr short c_FrequencyItems[] = {
    eMeasItem_CarrierFrequencyOffsetDigital,
    eMeasItem_CarrierFrequencyOffset,
    eMeasItem_FM1IntercarrierFrequency,
    eMeasItem_FM2IntercarrierFrequency,
    eMeasItem_OccupiedBandwidth,
};

EStateFamily GetStateFamily(EMeasurementItems eItem)
{
    for (const auto& row : c_StateItems)
    {
        if (row.m_sItem == static_cast<short>(eItem))
        {
            return row.m_eFamily;
        }
    }
    return EStateFamily::None;
}

// Calls fn with a value of the family's enumeration type, so one generic lambda serves all.
template <typename F> auto WithStateEnum(EStateFamily eFamily, F&& fn)
{
    switch (eFamily)
    {
    case EStateFamily::OnOff:
        return fn(eOnOff_None);
    case EStateFamily::Present:
        return fn(ePresent_None);
    default:
        return fn(eLocked_None);
    }
}

QString StateTextOfId(EStateFamily eFamily, long lId)
{
    return WithStateEnum(eFamily, [lId](auto eTag)
                         { return CEnumTemplate<decltype(eTag)>::IdToString(lId); });
}

long StateIdOfText(EStateFamily eFamily, const QString& sText)
{
    return WithStateEnum(eFamily,
                         [&sText](auto eTag) -> long
                         {
                             for (const auto& row : CRepresentation<decltype(eTag)>::Table())
                             {
                                 if (row.m_sText == sText)
                                 {
                                     return row.m_lId;
                                 }
                             }
                             return -1;
                         });
}

long StateIdOfValue(EStateFamily eFamily, int iValue)
{
    return WithStateEnum(
        eFamily, [iValue](auto eTag)
        { return CEnumTemplate<decltype(eTag)>::ToId(static_cast<decltype(eTag)>(iValue)); });
}

QVariant ToUnsigned32(long lValue)
{
    return QVariant(static_cast<uint>(static_cast<std::uint32_t>(lValue)));
}

bool IsFrequencyItem(EMeasurementItems eItem)
{
    for (short sItem : c_FrequencyItems)
    {
        if (sItem == static_cast<short>(eItem))
        {
            return true;
        }
    }
    return false;
}

bool IsLevelUnit(EUnitTypes eUnit)
{
    return eUnit == eUnitType_dBm || eUnit == eUnitType_dBmV || eUnit == eUnitType_dBuV ||
           eUnit == eUnitType_dBV;
}

QString NumberG6(double d)
{
    return QString::number(d, 'g', 6);
}

// Limits are compared in single precision, as they are read.
double AsFloat(const QVariant& v)
{
    return static_cast<double>(v.toFloat());
}

// Single precision without the undefined narrowing of numbers beyond its range.
float ToFloat(double d)
{
    if (d > std::numeric_limits<float>::max())
    {
        return std::numeric_limits<float>::infinity();
    }
    if (d < -std::numeric_limits<float>::max())
    {
        return -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(d);
}

} // namespace

CComparativeValueDataItem::CComparativeValueDataItem(EMeasurementItems eItem)
    : m_eMeasurementItem(eItem),
      m_eCategory(CValueFactory::MeasurementItem_GetItemValueCategory(eItem)),
      m_eValueType(CValueFactory::MeasurementItem_GetItemValueType(eItem)),
      m_eUnit(CValueFactory::MeasurementItem_GetItemUnit(eItem))
{
    if (IsStateItem())
    {
        m_eCompareType = eCompareType_Equal;
    }
    SetDefaultLimits();
}

bool CComparativeValueDataItem::IsStateItem() const
{
    return GetStateFamily(m_eMeasurementItem) != EStateFamily::None;
}

void CComparativeValueDataItem::SetCompareType(ECompareType eCompareType)
{
    if (IsStateItem() && eCompareType > eCompareType_NotEqual)
    {
        return;
    }
    m_eCompareType = eCompareType;
}

void CComparativeValueDataItem::SetString(const QString& sValue)
{
    DoSetHighValue(QVariant(sValue));
}

void CComparativeValueDataItem::SetBool(bool bValue)
{
    DoSetHighValue(QVariant(bValue));
}

void CComparativeValueDataItem::SetFloatLowLimit(double dValue)
{
    DoSetLowValue(QVariant(dValue));
}

void CComparativeValueDataItem::SetFloatHighLimit(double dValue)
{
    DoSetHighValue(QVariant(dValue));
}

void CComparativeValueDataItem::SetLongLowLimit(long lValue)
{
    DoSetLowValue(ToUnsigned32(lValue));
}

void CComparativeValueDataItem::SetLongHighLimit(long lValue)
{
    DoSetHighValue(ToUnsigned32(lValue));
}

void CComparativeValueDataItem::SetMeasurementEnabled(bool bEnabled)
{
    m_bMeasurementEnabled = bEnabled;
}

void CComparativeValueDataItem::SetDefaultLimits()
{
    const short sItem = static_cast<short>(m_eMeasurementItem);
    if (sItem < eMeasItem_ReferenceLevel || sItem > eMeasItem_AverageLPDCIterations)
    {
        return;
    }
    for (const auto& row : c_StateItems)
    {
        if (row.m_sItem == sItem && row.m_bDefaultFirstState)
        {
            DoSetLowValue(ToUnsigned32(StateIdOfValue(row.m_eFamily, 0)));
            return;
        }
    }
    for (const auto& row : c_DefaultLimits)
    {
        for (short sRowItem : row.m_aItems)
        {
            if (sRowItem == 0)
            {
                break;
            }
            if (sRowItem == sItem)
            {
                DoSetLowValue(row.m_bLowInt ? QVariant(static_cast<int>(row.m_dLow))
                                            : QVariant(row.m_dLow));
                DoSetHighValue(row.m_bHighInt ? QVariant(static_cast<int>(row.m_dHigh))
                                              : QVariant(row.m_dHigh));
                return;
            }
        }
    }
}

void CComparativeValueDataItem::DoSetLowValue(const QVariant& vValue)
{
    m_vLowValue = vValue;
    m_dLowLimit = AsFloat(m_vLowValue);
    m_lLowLimit = m_vLowValue.toInt();
}

void CComparativeValueDataItem::DoSetHighValue(const QVariant& vValue)
{
    m_vHighValue = vValue;
    m_dHighLimit = AsFloat(m_vHighValue);
    m_lHighLimit = m_vHighValue.toInt();
}

QString CComparativeValueDataItem::DoGetItemName() const
{
    return CEnumTemplate<EMeasurementItems>::ToString(m_eMeasurementItem);
}

QString CComparativeValueDataItem::DoFloatToString(double dValue, bool bWithUnit,
                                                   double dOffset) const
{
    if (IsFrequencyItem(m_eMeasurementItem))
    {
        return CConverter::GetFrequencyString(dValue, 2, bWithUnit);
    }
    if (m_eMeasurementItem == eMeasItem_SymbolRateOffset)
    {
        return CConverter::GetSymbolRateString(dValue, 2, bWithUnit);
    }
    if (m_eMeasurementItem == eMeasItem_TSBitrate)
    {
        return CConverter::GetBitString(dValue, 2, bWithUnit);
    }
    QString sText = NumberG6(dValue + dOffset);
    if (bWithUnit)
    {
        sText += QLatin1Char(' ') + CConverter::GetUnitString(m_eUnit);
    }
    return sText;
}

QString CComparativeValueDataItem::LowValueToString(ELevelUnit eLevelUnit,
                                                    EInstrumentImpedance eImpedance, bool bWithUnit,
                                                    double dOffset) const
{
    QString sText;
    switch (m_eValueType)
    {
    case eValueType_Integer:
        sText = IsStateItem()
                    ? StateTextOfId(GetStateFamily(m_eMeasurementItem), m_vLowValue.toInt())
                    : QString::number(m_vLowValue.toInt());
        break;
    case eValueType_Text:
        sText = m_vHighValue.toString();
        break;
    case eValueType_Bool:
        sText = CStringUtil::ConvertBool(m_vHighValue.toBool());
        break;
    case eValueType_Float:
        sText = DoFloatToString(AsFloat(m_vLowValue), bWithUnit, dOffset);
        break;
    default:
        break;
    }
    if (IsLevelUnit(m_eUnit))
    {
        CConverter::GetRequestedDisplayUnit(m_eUnit, eLevelUnit, eImpedance, sText, true);
    }
    return sText;
}

QString CComparativeValueDataItem::HighValueToString(ELevelUnit eLevelUnit,
                                                     EInstrumentImpedance eImpedance,
                                                     bool bWithUnit, double dOffset) const
{
    QString sText;
    if (m_eValueType == eValueType_Integer)
    {
        sText = QString::number(m_vHighValue.toInt());
    }
    else if (m_eValueType == eValueType_Float)
    {
        sText = DoFloatToString(AsFloat(m_vHighValue), bWithUnit, dOffset);
    }
    if (bWithUnit && IsLevelUnit(m_eUnit))
    {
        CConverter::GetRequestedDisplayUnit(m_eUnit, eLevelUnit, eImpedance, sText, true);
    }
    return sText;
}

bool CComparativeValueDataItem::LowValueFromString(const QString& sValue)
{
    if (m_eValueType == eValueType_Integer)
    {
        if (IsStateItem())
        {
            const long lId = StateIdOfText(GetStateFamily(m_eMeasurementItem), sValue);
            if (m_vLowValue.isValid() && m_vLowValue.toInt() == static_cast<int>(lId))
            {
                return false;
            }
            DoSetLowValue(ToUnsigned32(lId));
            return true;
        }
        const int iValue = sValue.toInt(nullptr, 10);
        if (m_vLowValue.isValid() && m_vLowValue.toInt() == iValue)
        {
            return false;
        }
        DoSetLowValue(QVariant(iValue));
        return true;
    }
    if (m_eValueType == eValueType_Bool || m_eValueType == eValueType_Text)
    {
        // Their expected value lives in the high value; the low value has no meaning.
        return false;
    }
    const double dValue = CConverter::ConvertValue(sValue, m_eUnit);
    if (m_vLowValue.isValid() && m_vLowValue.toFloat() == ToFloat(dValue))
    {
        return false;
    }
    DoSetLowValue(QVariant(dValue));
    return true;
}

bool CComparativeValueDataItem::HighValueFromString(const QString& sValue)
{
    QVariant vNew;
    bool bEqual = false;
    switch (m_eValueType)
    {
    case eValueType_Integer:
        vNew = QVariant(sValue.toInt(nullptr, 10));
        bEqual = m_vHighValue.toInt() == vNew.toInt();
        break;
    case eValueType_Text:
        vNew = QVariant(sValue);
        bEqual = m_vHighValue.toString() == sValue;
        break;
    case eValueType_Bool:
        vNew = QVariant(CStringUtil::ConvertToBool(sValue));
        bEqual = m_vHighValue.toBool() == vNew.toBool();
        break;
    default:
    {
        const double dValue = CConverter::ConvertValue(sValue, m_eUnit);
        vNew = QVariant(dValue);
        bEqual = m_vHighValue.toFloat() == ToFloat(dValue);
        break;
    }
    }
    if (m_vHighValue.isValid() && bEqual)
    {
        return false;
    }
    DoSetHighValue(vNew);
    return true;
}

QString CComparativeValueDataItem::GetEnumStringFromInteger(long lCode) const
{
    const EStateFamily eFamily = GetStateFamily(m_eMeasurementItem);
    if (eFamily == EStateFamily::None)
    {
        return QStringLiteral("Unknown");
    }
    return StateTextOfId(eFamily, lCode);
}

bool CComparativeValueDataItem::InRange(const QString& sValue, QString& sViolation,
                                        double dOffset) const
{
    switch (m_eValueType)
    {
    case eValueType_Integer:
        return InRangeInteger(sValue.toInt(nullptr, 10), sViolation);
    case eValueType_Bool:
        return InRangeBool(CStringUtil::ConvertToBool(sValue), sViolation);
    case eValueType_Float:
        return InRangeFloat(CConverter::ConvertValueMeasurement(sValue, m_eUnit), sValue,
                            sViolation, dOffset);
    case eValueType_Text:
        return InRangeString(sValue, sViolation);
    default:
        return false;
    }
}

bool CComparativeValueDataItem::InRangeBool(bool bValue, QString& sViolation) const
{
    const bool bExpected = m_vHighValue.toBool();
    const QString sValue = bValue ? QStringLiteral("true") : QStringLiteral("false");
    if (m_eCompareType == eCompareType_Equal && bValue != bExpected)
    {
        sViolation = DoGetItemName() + QStringLiteral(" is not == ") + sValue;
        return false;
    }
    if (m_eCompareType == eCompareType_NotEqual && bValue == bExpected)
    {
        sViolation = DoGetItemName() + QStringLiteral(" is not != ") + sValue;
        return false;
    }
    return true;
}

bool CComparativeValueDataItem::InRangeInteger(long lValue, QString& sViolation) const
{
    const long lLow = m_lLowLimit;
    const long lHigh = m_lHighLimit;
    // Values within their limits are the rule: the item name is only looked up for a violation.
    switch (m_eCompareType)
    {
    case eCompareType_Equal:
        if (lValue == lLow)
        {
            return true;
        }
        sViolation = DoGetItemName() + QStringLiteral(" is not ") + GetEnumStringFromInteger(lLow);
        return false;
    case eCompareType_NotEqual:
        if (lValue != lLow)
        {
            return true;
        }
        sViolation = DoGetItemName() + QStringLiteral(" is ") + GetEnumStringFromInteger(lLow);
        return false;
    case eCompareType_Between:
        if (lLow <= lValue && lValue <= lHigh)
        {
            return true;
        }
        sViolation = DoGetItemName() + QStringLiteral(" is not ") + QString::number(lLow) +
                     QStringLiteral(" <= value(") + QString::number(lValue) +
                     QStringLiteral(") <= ") + QString::number(lHigh);
        return false;
    case eCompareType_Lower:
        if (lValue <= lHigh)
        {
            return true;
        }
        sViolation =
            DoGetItemName() + QStringLiteral(" is not lower than ") + QString::number(lHigh);
        return false;
    case eCompareType_Higher:
        if (lValue >= lLow)
        {
            return true;
        }
        sViolation =
            DoGetItemName() + QStringLiteral(" is not higher than ") + QString::number(lLow);
        return false;
    default:
        return true;
    }
}

bool CComparativeValueDataItem::IsFloatWithin(double dValue, double dOffset) const
{
    // Written so that a NaN anywhere fails.
    switch (m_eCompareType)
    {
    case eCompareType_Between:
        return dValue >= m_dLowLimit + dOffset && m_dHighLimit + dOffset >= dValue;
    case eCompareType_Lower:
        return m_dHighLimit + dOffset >= dValue;
    case eCompareType_Higher:
        return dValue >= m_dLowLimit + dOffset;
    default:
        return true;
    }
}

bool CComparativeValueDataItem::InRangeFloat(double dValue, const QString& sValue,
                                             QString& sViolation, double dOffset) const
{
    if (IsFloatWithin(dValue, dOffset))
    {
        return true;
    }
    // A NaN offset is no zero offset: it shows like any other.
    QString sOffset;
    if (!(dOffset == 0.0))
    {
        sOffset = QStringLiteral("(") + (dOffset > 0.0 ? QStringLiteral("+") : QString()) +
                  NumberG6(dOffset) + QStringLiteral(")");
    }
    const QString sName = DoGetItemName();
    if (m_eCompareType == eCompareType_Between)
    {
        sViolation = sName + QStringLiteral(" is not between ") + NumberG6(m_dLowLimit) + sOffset +
                     QStringLiteral(" <= value(") + sValue + QStringLiteral(") <= ") +
                     NumberG6(m_dHighLimit) + sOffset;
    }
    else if (m_eCompareType == eCompareType_Lower)
    {
        sViolation =
            sName + QStringLiteral(" is not lower than ") + NumberG6(m_dHighLimit) + sOffset;
    }
    else
    {
        sViolation =
            sName + QStringLiteral(" is not higher than ") + NumberG6(m_dLowLimit) + sOffset;
    }
    return false;
}

bool CComparativeValueDataItem::InRangeString(const QString& sValue, QString& sViolation) const
{
    const QString sExpected = m_vHighValue.toString();
    if (m_eCompareType == eCompareType_Equal && sValue != sExpected)
    {
        sViolation = DoGetItemName() + QStringLiteral(" is not == ") + sValue;
        return false;
    }
    if (m_eCompareType == eCompareType_NotEqual && sValue == sExpected)
    {
        sViolation = DoGetItemName() + QStringLiteral(" is not != ") + sValue;
        return false;
    }
    return true;
}

} // namespace LumoraMeasurement

#include "CComparativeValueData.h"

#include "CComparativeValue.h"
#include "CConverter.h"
#include "CEnumTemplate.h"
#include "CLoggingCategories.h"
#include "CUtilJson.h"
#include "CValueFactory.h"
#include "ELocked.h"
#include "EOnOff.h"
#include "EPresent.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cmath>
#include <limits>

using OrvelFramework::CComparativeValue;
using OrvelFramework::CComparativeValueItem;

namespace LumoraMeasurement
{

namespace
{

void LogLimitFileProblem(const QString& sMessage)
{
    OrvelFramework::CLoggingCategories::DoLog(OrvelFramework::CLoggingCategories::Config(),
                                              sMessage);
}

// Limits are compared in single precision: a number beyond it would be written as "inf",
// which reads back as 0.
bool IsUsableLimitText(const CComparativeValueDataItem& row, const QString& sText)
{
    if (row.GetValueType() != eValueType_Float)
    {
        return true;
    }
    if (!CConverter::HasFiniteNumber(sText))
    {
        return false;
    }
    const double dValue = CConverter::ConvertValue(sText, row.GetUnit());
    return std::isfinite(dValue) && std::fabs(dValue) <= std::numeric_limits<float>::max();
}

bool IsFiniteLimit(const CComparativeValueDataItem& row, const QVariant& vValue)
{
    return row.GetValueType() != eValueType_Float || !vValue.isValid() ||
           std::isfinite(vValue.toFloat());
}

// How an older limit file's value for a state item selects the expected state: the state
// chosen for a zero value and for any other value.
struct SPTVStateItem
{
    short m_sItem;
    int m_iStateForZero;
    int m_iStateOtherwise;
    int m_iFamily; ///< 0 ELocked, 1 EOnOff, 2 EPresent
};

// clang-format off
constexpr SPTVStateItem c_PTVStateItems[] = {
    {eMeasItem_InternalReference, eLocked_Unlocked, eLocked_Locked, 0},
    {eMeasItem_DemodLock, eLocked_Unlocked, eLocked_Locked, 0},
    {eMeasItem_MPEGLock, eLocked_Unlocked, eLocked_Locked, 0},
    {eMeasItem_PLPLock, eLocked_Unlocked, eLocked_Locked, 0},
    {eMeasItem_FICLock, eLocked_Unlocked, eLocked_Locked, 0},
    {eMeasItem_VisionDetector, eLocked_Unlocked, eLocked_Locked, 0},
    {eMeasItem_DecodeLock, eLocked_Unlocked, eLocked_Locked, 0},
    {eMeasItem_PLCLock, eLocked_Unlocked, eLocked_Locked, 0},
    {eMeasItem_Preamplifier, eOnOff_Off, eOnOff_On, 1},
    {eMeasItem_Preselector, eOnOff_Off, eOnOff_On, 1},
    {eMeasItem_FM1SoundCarrier, ePresent_Present, ePresent_Missing, 2},
    {eMeasItem_FM2SoundCarrier, ePresent_Present, ePresent_Missing, 2},
};
// clang-format on

constexpr short c_PTVOldPowerItems[] = {eMeasItem_ReferenceLevel, eMeasItem_Power,
                                        eMeasItem_VisionCarrierLevel};

// The older format wrote frequencies without unit; a bare number would read as MHz.
constexpr short c_PTVFrequencyItems[] = {
    eMeasItem_CarrierFrequencyOffsetDigital,
    eMeasItem_CarrierFrequencyOffset,
    eMeasItem_FM1IntercarrierFrequency,
    eMeasItem_FM2IntercarrierFrequency,
    eMeasItem_OccupiedBandwidth,
};

template <size_t N> bool Contains(const short (&aItems)[N], EMeasurementItems eItem)
{
    for (short sItem : aItems)
    {
        if (sItem == static_cast<short>(eItem))
        {
            return true;
        }
    }
    return false;
}

QString StateText(int iFamily, int iValue)
{
    switch (iFamily)
    {
    case 1:
        return CEnumTemplate<EOnOff>::ToString(static_cast<EOnOff>(iValue));
    case 2:
        return CEnumTemplate<EPresent>::ToString(static_cast<EPresent>(iValue));
    default:
        return CEnumTemplate<ELocked>::ToString(static_cast<ELocked>(iValue));
    }
}

void AppendUnit(QString& sValue, const char* pszUnit)
{
    if (!sValue.isEmpty())
    {
        sValue += QLatin1String(pszUnit);
    }
}

} // namespace

CComparativeValueData::CComparativeValueData() : m_NullItem(eMeasItem_None)
{
    for (short s = eMeasItem_InternalReference; s <= eMeasItem_Preselector; ++s)
    {
        m_Items.emplace_back(static_cast<EMeasurementItems>(s));
    }
    for (ECategory eCategory : {eCategory_Analog, eCategory_Digital, eCategory_Docsis})
    {
        for (short s = 0; s < eMeasItem_None; ++s)
        {
            const auto eItem = static_cast<EMeasurementItems>(s);
            if (CValueFactory::MeasurementItem_GetItemValueCategory(eItem) == eCategory)
            {
                m_Items.emplace_back(eItem);
            }
        }
    }
}

CComparativeValueData::~CComparativeValueData() = default;

bool CComparativeValueData::DoIsValidIndex(long lIndex) const
{
    return lIndex >= 0 && lIndex < GetItemCount();
}

bool CComparativeValueData::Read(const QString& sFile)
{
    if (sFile.isEmpty())
    {
        return false;
    }
    QJsonObject jObject;
    return CUtilJson::LoadJsonFile(sFile, jObject) && DoRead(jObject, sFile);
}

bool CComparativeValueData::ReadData(const QByteArray& bytes, const QString& sName)
{
    QJsonObject jObject;
    return CUtilJson::LoadJsonData(bytes, sName, jObject) && DoRead(jObject, sName);
}

bool CComparativeValueData::DoRead(const QJsonObject& jObject, const QString& sFile)
{
    const CComparativeValue records(jObject[c_sKeyComparativeValues].toArray());
    for (const auto& record : records.GetComparativeValueDataItem())
    {
        const ECompareType eType = CEnumTemplate<ECompareType>::ToEnum(record.GetCompareType());
        const EMeasurementItems eItem = CEnumTemplate<EMeasurementItems>::ToEnum(record.GetID());
        const long lIndex = GetIndexFromEnum(eItem);
        if (lIndex < 0)
        {
            continue;
        }
        // As UpdateItem(), but a limit that is not a finite number keeps what it was.
        CComparativeValueDataItem& row = m_Items[static_cast<size_t>(lIndex)];
        const QString sName = CEnumTemplate<EMeasurementItems>::ToString(eItem);
        for (const bool bLow : {true, false})
        {
            const QString sText = bLow ? record.GetLowValue() : record.GetHighValue();
            if (!IsUsableLimitText(row, sText))
            {
                LogLimitFileProblem(QStringLiteral("Limit file \"%1\": the %2 limit \"%3\" of %4 "
                                                   "is not a finite number; it is not used.\n")
                                        .arg(sFile,
                                             bLow ? QStringLiteral("low") : QStringLiteral("high"),
                                             sText, sName));
            }
            else if (bLow)
            {
                row.LowValueFromString(sText);
            }
            else
            {
                row.HighValueFromString(sText);
            }
        }
        row.SetCompareType(eType);
        row.SetMeasurementEnabled(record.GetMeasurementEnabled());
    }
    m_sLoadedLimitFile = sFile;
    return true;
}

bool CComparativeValueData::Write(const QString& sFile) const
{
    const auto eLevelUnit = eLevelUnit_dBmV;
    const auto eImpedance = eInstrumentImpedance_50Ohm;
    for (const auto& row : m_Items)
    {
        if (!IsFiniteLimit(row, row.GetLowValue()) || !IsFiniteLimit(row, row.GetHighValue()))
        {
            // Its text ("inf") would read back as another limit.
            LogLimitFileProblem(QStringLiteral("Limit file \"%1\" is not written: a limit of %2 "
                                               "is not a finite number.\n")
                                    .arg(sFile, CEnumTemplate<EMeasurementItems>::ToString(
                                                    row.GetMeasurementItem())));
            return false;
        }
    }
    CComparativeValue records;
    auto& items = records.GetComparativeValueDataItem();
    items.reserve(m_Items.size());
    for (const auto& row : m_Items)
    {
        CComparativeValueItem record;
        record.SetID(CEnumTemplate<EMeasurementItems>::ToId(row.GetMeasurementItem()));
        record.SetCompareType(CEnumTemplate<ECompareType>::ToId(row.GetCompareType()));
        record.SetLowValue(row.LowValueToString(eLevelUnit, eImpedance, true, 0.0));
        const EValueType eType = row.GetValueType();
        // Boolean and text limits keep their expected value in the high value, so the file
        // carries it there too.
        record.SetHighValue(eType == eValueType_Bool || eType == eValueType_Text
                                ? row.LowValueToString(eLevelUnit, eImpedance, true, 0.0)
                                : row.HighValueToString(eLevelUnit, eImpedance, true, 0.0));
        record.SetMeasurementEnabled(row.GetMeasurementEnabled());
        items.push_back(record);
    }
    QJsonObject jObject;
    jObject.insert(c_sKeyComparativeValues, records.ToJson());
    return CUtilJson::SaveJsonFile(sFile, jObject);
}

CComparativeValueDataItem& CComparativeValueData::GetItem(EMeasurementItems eItem)
{
    const long lIndex = GetIndexFromEnum(eItem);
    if (lIndex < 0)
    {
        // A caller may have changed the sentinel through an earlier answer.
        m_NullItem = CComparativeValueDataItem(eMeasItem_None);
        return m_NullItem;
    }
    return m_Items[static_cast<size_t>(lIndex)];
}

const CComparativeValueDataItem& CComparativeValueData::GetItem(EMeasurementItems eItem) const
{
    const long lIndex = GetIndexFromEnum(eItem);
    return lIndex < 0 ? m_NullItem : m_Items[static_cast<size_t>(lIndex)];
}

long CComparativeValueData::GetIndexFromEnum(EMeasurementItems eItem) const
{
    if (eItem == eMeasItem_None)
    {
        return -1;
    }
    for (size_t i = 0; i < m_Items.size(); ++i)
    {
        if (m_Items[i].GetMeasurementItem() == eItem)
        {
            return static_cast<long>(i);
        }
    }
    return -1;
}

EMeasurementItems CComparativeValueData::GetValueEnumFromIndex(long lIndex) const
{
    return DoIsValidIndex(lIndex) ? m_Items[static_cast<size_t>(lIndex)].GetMeasurementItem()
                                  : eMeasItem_None;
}

QString CComparativeValueData::GetLowValueByIndex(long lIndex, bool bWithUnit, double dOffset) const
{
    if (!DoIsValidIndex(lIndex))
    {
        return QString();
    }
    return m_Items[static_cast<size_t>(lIndex)].LowValueToString(m_eLevelUnit, m_eImpedance,
                                                                 bWithUnit, dOffset);
}

QString CComparativeValueData::GetHigherValueByIndex(long lIndex, bool bWithUnit,
                                                     double dOffset) const
{
    if (!DoIsValidIndex(lIndex))
    {
        return QString();
    }
    return m_Items[static_cast<size_t>(lIndex)].HighValueToString(m_eLevelUnit, m_eImpedance,
                                                                  bWithUnit, dOffset);
}

bool CComparativeValueData::SetLowValueByIndex(long lIndex, QString& sValue)
{
    return DoIsValidIndex(lIndex) &&
           m_Items[static_cast<size_t>(lIndex)].LowValueFromString(sValue);
}

bool CComparativeValueData::SetHigherValueByIndex(long lIndex, QString& sValue)
{
    return DoIsValidIndex(lIndex) &&
           m_Items[static_cast<size_t>(lIndex)].HighValueFromString(sValue);
}

ECompareType CComparativeValueData::GetCompareTypeValueByIndex(long lIndex) const
{
    return DoIsValidIndex(lIndex) ? m_Items[static_cast<size_t>(lIndex)].GetCompareType()
                                  : eCompareType_None;
}

bool CComparativeValueData::SetCompareTypeValueByIndex(long lIndex, QString& sText)
{
    if (!DoIsValidIndex(lIndex))
    {
        return false;
    }
    CComparativeValueDataItem& row = m_Items[static_cast<size_t>(lIndex)];
    const ECompareType eType = CEnumTemplate<ECompareType>::TextToEnum(sText);
    if (eType == row.GetCompareType())
    {
        return false;
    }
    row.SetCompareType(eType);
    return true;
}

ECategory CComparativeValueData::GetCategoryByIndex(long lIndex) const
{
    return DoIsValidIndex(lIndex) ? m_Items[static_cast<size_t>(lIndex)].GetCategory()
                                  : eCategory_NoCategory;
}

EValueType CComparativeValueData::GetValueTypeByIndex(long lIndex) const
{
    return DoIsValidIndex(lIndex) ? m_Items[static_cast<size_t>(lIndex)].GetValueType()
                                  : eValueType_Text;
}

bool CComparativeValueData::GetMeasurementEnabledByIndex(long lIndex) const
{
    return DoIsValidIndex(lIndex) && m_Items[static_cast<size_t>(lIndex)].GetMeasurementEnabled();
}

bool CComparativeValueData::SetMeasurementEnabledByIndex(long lIndex, bool bEnabled)
{
    if (!DoIsValidIndex(lIndex))
    {
        return false;
    }
    CComparativeValueDataItem& row = m_Items[static_cast<size_t>(lIndex)];
    if (row.GetMeasurementEnabled() == bEnabled)
    {
        return false;
    }
    row.SetMeasurementEnabled(bEnabled);
    return true;
}

void CComparativeValueData::UpdateItem(EMeasurementItems eItem, ECompareType eType, QString& sLow,
                                       QString sHigh, bool bEnabled)
{
    const long lIndex = GetIndexFromEnum(eItem);
    if (lIndex < 0)
    {
        return;
    }
    CComparativeValueDataItem& row = m_Items[static_cast<size_t>(lIndex)];
    row.LowValueFromString(sLow);
    row.HighValueFromString(sHigh);
    row.SetCompareType(eType);
    row.SetMeasurementEnabled(bEnabled);
}

void CComparativeValueData::UpdateItemFromPTVFile(EMeasurementItems eItem, QString& sLow,
                                                  QString sHigh)
{
    if (eItem == eMeasItem_None)
    {
        return;
    }
    if (eItem == eMeasItem_GroupDelay)
    {
        AppendUnit(sLow, " s");
        AppendUnit(sHigh, " s");
    }
    const long lIndex = GetIndexFromEnum(eItem);
    if (lIndex < 0)
    {
        return;
    }
    CComparativeValueDataItem& row = m_Items[static_cast<size_t>(lIndex)];

    if (Contains(c_PTVOldPowerItems, eItem))
    {
        row.SetFloatLowLimit(CConverter::GetOldLumoraPower(sLow));
        row.SetFloatHighLimit(CConverter::GetOldLumoraPower(sHigh));
        return;
    }
    for (const auto& state : c_PTVStateItems)
    {
        if (state.m_sItem == static_cast<short>(eItem))
        {
            const int iSelected =
                sLow.toInt(nullptr, 10) == 0 ? state.m_iStateForZero : state.m_iStateOtherwise;
            // The comparison reads the expected state from the low value.
            row.SetCompareType(eCompareType_Equal);
            row.LowValueFromString(StateText(state.m_iFamily, iSelected));
            return;
        }
    }
    if (Contains(c_PTVFrequencyItems, eItem))
    {
        AppendUnit(sLow, " Hz");
        AppendUnit(sHigh, " Hz");
    }
    row.LowValueFromString(sLow);
    row.HighValueFromString(sHigh);
    if (!sLow.isEmpty() && !sHigh.isEmpty())
    {
        row.SetCompareType(eCompareType_Between);
    }
    else if (!sLow.isEmpty())
    {
        row.SetCompareType(eCompareType_Higher);
    }
    else if (!sHigh.isEmpty())
    {
        row.SetCompareType(eCompareType_Lower);
    }
}

} // namespace LumoraMeasurement

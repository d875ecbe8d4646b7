#include "CMeasurementResultSingleChannelData.h"

#include "CConverter.h"
#include "CEnumTemplate.h"
#include "CMeasurementResultData.h"
#include "CValueFactory.h"
#include "ELocked.h"
#include "EOnOff.h"
#include "EPresent.h"

#include <algorithm>

namespace LumoraMeasurement
{

namespace
{

struct SStateTextRow
{
    EMeasurementItems m_eItem;
    QString (*m_pfnText)(long);
};

// Integer items whose stored number is the id of a state and shown as its text.
constexpr SStateTextRow c_StateTexts[] = {
    {eMeasItem_InternalReference, &CEnumTemplate<ELocked>::IdToString},
    {eMeasItem_DemodLock, &CEnumTemplate<ELocked>::IdToString},
    {eMeasItem_MPEGLock, &CEnumTemplate<ELocked>::IdToString},
    {eMeasItem_PLPLock, &CEnumTemplate<ELocked>::IdToString},
    {eMeasItem_FICLock, &CEnumTemplate<ELocked>::IdToString},
    {eMeasItem_VisionDetector, &CEnumTemplate<ELocked>::IdToString},
    {eMeasItem_DecodeLock, &CEnumTemplate<ELocked>::IdToString},
    {eMeasItem_PLCLock, &CEnumTemplate<ELocked>::IdToString},
    {eMeasItem_Preamplifier, &CEnumTemplate<EOnOff>::IdToString},
    {eMeasItem_Preselector, &CEnumTemplate<EOnOff>::IdToString},
    {eMeasItem_FM1SoundCarrier, &CEnumTemplate<EPresent>::IdToString},
    {eMeasItem_FM2SoundCarrier, &CEnumTemplate<EPresent>::IdToString},
};

bool IsLevelUnit(EUnitTypes eUnit)
{
    return eUnit == eUnitType_dBm || eUnit == eUnitType_dBmV || eUnit == eUnitType_dBuV ||
           eUnit == eUnitType_dBV;
}

} // namespace

CMeasurementResultSingleChannelData::CMeasurementResultSingleChannelData(
    CMeasurementResultData& data, long lScanId, long lChannelId, bool bLimitFlag)
    : m_pLimits(&data.GetComparativeValueData()), m_rLimitSource(data), m_rData(data),
      m_lScanId(lScanId), m_lChannelId(lChannelId)
{
    UpdateLimitValues(bLimitFlag);
}

void CMeasurementResultSingleChannelData::UpdateLimitValues(bool bLimitFlag)
{
    m_bLimitFlag = bLimitFlag;
    m_rData.GetMeasurementListAll(m_lScanId, m_lChannelId, m_vRecords);
}

CDBMeasurement CMeasurementResultSingleChannelData::GetMeasItem(long lIndex) const
{
    return lIndex >= 0 && lIndex < GetMeasCount() ? m_vRecords[static_cast<size_t>(lIndex)]
                                                  : CDBMeasurement();
}

double CMeasurementResultSingleChannelData::GetPowerLimitOffset() const
{
    return m_rLimitSource.PowerLimitOffset(m_lChannelId);
}

long CMeasurementResultSingleChannelData::GetResultPosition(EMeasurementItems eItem) const
{
    if (eItem == eMeasItem_None || m_vRecords.empty())
    {
        return -1;
    }
    const long lKey = CEnumTemplate<EMeasurementItems>::ToId(eItem);
    const auto it =
        std::find_if(m_vRecords.begin(), m_vRecords.end(),
                     [lKey](const CDBMeasurement& m) { return m.GetMeasurementItem() == lKey; });
    return it == m_vRecords.end() ? -1 : static_cast<long>(it - m_vRecords.begin());
}

QString CMeasurementResultSingleChannelData::GetValue(EMeasurementItems eItem) const
{
    const long lPosition = GetResultPosition(eItem);
    QString sText;
    if (lPosition >= 0)
    {
        sText = m_vRecords[static_cast<size_t>(lPosition)].GetValue();
        if (CValueFactory::MeasurementItem_GetItemValueType(eItem) == eValueType_Integer)
        {
            for (const SStateTextRow& row : c_StateTexts)
            {
                if (row.m_eItem == eItem)
                {
                    sText = row.m_pfnText(sText.toLong(nullptr, 10));
                    break;
                }
            }
        }
    }
    const EUnitTypes eUnit = CValueFactory::MeasurementItem_GetItemUnit(eItem);
    if (IsLevelUnit(eUnit))
    {
        CConverter::GetRequestedDisplayUnit(eUnit, m_rData.GetLevelUnit(),
                                            m_rData.GetDeviceSettingsData().Impedance(), sText,
                                            true);
    }
    return sText;
}

QString CMeasurementResultSingleChannelData::GetErrorDescription(EMeasurementItems eItem) const
{
    const long lPosition = GetResultPosition(eItem);
    return lPosition < 0 ? QString()
                         : m_vRecords[static_cast<size_t>(lPosition)].GetErrorDescription();
}

} // namespace LumoraMeasurement

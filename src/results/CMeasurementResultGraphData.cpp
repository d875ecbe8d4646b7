#include "CMeasurementResultGraphData.h"

#include "CDBScanController.h"
#include "CEnumTemplate.h"
#include "CMeasurementResultData.h"

namespace LumoraMeasurement
{

CMeasurementResultGraphData::CMeasurementResultGraphData(CMeasurementResultData& data)
    : m_lSessionId(data.GetSessionData().GetSessionId()),
      m_vScanIds(CDBScanController(data.GetDatabase()).GetScanIds(m_lSessionId)), m_rData(data)
{
}

bool CMeasurementResultGraphData::DoIsIndex(long lIndex) const
{
    return lIndex >= 0 && lIndex < GetNumberOfDataItems();
}

void CMeasurementResultGraphData::AddNewMeasurementResultItem()
{
    m_vItems.emplace_back(m_rData.GetDatabase(), m_lSessionId, m_vScanIds);
}

void CMeasurementResultGraphData::RemoveMeasurementResultItem(long lIndex)
{
    if (DoIsIndex(lIndex))
    {
        m_vItems.erase(m_vItems.begin() + lIndex);
    }
}

long CMeasurementResultGraphData::GetNumberOfLines() const
{
    long lLines = 0;
    for (const auto& item : m_vItems)
    {
        lLines += item.GetEnabled() ? 1 : 0;
    }
    return lLines;
}

long CMeasurementResultGraphData::ConvertLineIdToMeasdataId(long lLine) const
{
    long lSeen = 0;
    long lItem = 0;
    for (const CMeasurementResultGraphDataItem& item : m_vItems)
    {
        if (item.GetEnabled())
        {
            if (lSeen == lLine)
            {
                return lItem;
            }
            ++lSeen;
        }
        ++lItem;
    }
    return 0;
}

bool CMeasurementResultGraphData::SetDataItemEnabled(bool bEnabled, long lIndex, bool bRefresh)
{
    if (!DoIsIndex(lIndex) || m_vItems[static_cast<size_t>(lIndex)].GetEnabled() == bEnabled)
    {
        return false;
    }
    m_vItems[static_cast<size_t>(lIndex)].SetEnabled(bEnabled, bRefresh);
    return true;
}

bool CMeasurementResultGraphData::SetDataItemMeasItem(EMeasurementItems eItem, long lIndex,
                                                      bool bRefresh)
{
    if (!DoIsIndex(lIndex) || m_vItems[static_cast<size_t>(lIndex)].GetItemType() == eItem)
    {
        return false;
    }
    m_vItems[static_cast<size_t>(lIndex)].SetItemType(eItem, bRefresh);
    return true;
}

bool CMeasurementResultGraphData::SetChannelNameMeasItem(const QString& sName, long lIndex,
                                                         bool bRefresh)
{
    if (!DoIsIndex(lIndex) || m_vItems[static_cast<size_t>(lIndex)].GetChannelName() == sName)
    {
        return false;
    }
    m_vItems[static_cast<size_t>(lIndex)].SetChannelName(sName, m_rData.GetChannelId(sName),
                                                         bRefresh);
    return true;
}

bool CMeasurementResultGraphData::IsDataItemEnabled(long lIndex) const
{
    return DoIsIndex(lIndex) && m_vItems[static_cast<size_t>(lIndex)].GetEnabled();
}

EMeasurementItems CMeasurementResultGraphData::GetDataItemMeasItem(long lIndex) const
{
    return DoIsIndex(lIndex) ? m_vItems[static_cast<size_t>(lIndex)].GetItemType() : eMeasItem_None;
}

EMeasurementItems CMeasurementResultGraphData::GetLineMeasurementItem(long lIndex) const
{
    return GetDataItemMeasItem(lIndex);
}

QString CMeasurementResultGraphData::GetChannelNameMeasItem(long lIndex) const
{
    return DoIsIndex(lIndex) ? m_vItems[static_cast<size_t>(lIndex)].GetChannelName() : QString();
}

long CMeasurementResultGraphData::GetNumberOfPoints(long lIndex) const
{
    return DoIsIndex(lIndex) ? m_vItems[static_cast<size_t>(lIndex)].GetNumberOfPoints() : 0;
}

double CMeasurementResultGraphData::GetXMeasValue(long lIndex, long lPoint) const
{
    return DoIsIndex(lIndex) ? m_vItems[static_cast<size_t>(lIndex)].GetXMeasValue(lPoint) : 0.0;
}

double CMeasurementResultGraphData::GetYMeasValue(long lIndex, long lPoint,
                                                  bool& bInterpolated) const
{
    return DoIsIndex(lIndex)
               ? m_vItems[static_cast<size_t>(lIndex)].GetYMeasValue(lPoint, bInterpolated)
               : 0.0;
}

double CMeasurementResultGraphData::GetMinMeasValue(long lIndex) const
{
    return DoIsIndex(lIndex) ? m_vItems[static_cast<size_t>(lIndex)].GetMinValue() : 0.0;
}

double CMeasurementResultGraphData::GetMaxMeasValue(long lIndex) const
{
    return DoIsIndex(lIndex) ? m_vItems[static_cast<size_t>(lIndex)].GetMaxValue() : 0.0;
}

QString CMeasurementResultGraphData::GetLineName(long lIndex) const
{
    if (!DoIsIndex(lIndex))
    {
        return QString();
    }
    const auto& item = m_vItems[static_cast<size_t>(lIndex)];
    return item.GetChannelName() + QStringLiteral(" / ") +
           CEnumTemplate<EMeasurementItems>::ToString(item.GetItemType());
}

const CComparativeValueData& CMeasurementResultGraphData::GetCompData() const
{
    return m_rData.GetComparativeValueData();
}

QStringList CMeasurementResultGraphData::GetChannelNames() const
{
    return m_rData.GetChannelNames();
}

ECategory CMeasurementResultGraphData::GetChannelType(const QString& sName) const
{
    return m_rData.GetChannelType(sName);
}

ETVStandards CMeasurementResultGraphData::GetTvStandard(const QString& sName) const
{
    return m_rData.GetTvStandard(sName);
}

bool CMeasurementResultGraphData::SetScalingDataItem(long lIndex)
{
    if (m_lScalingItem == lIndex)
    {
        return false;
    }
    m_lScalingItem = lIndex;
    return true;
}

} // namespace LumoraMeasurement

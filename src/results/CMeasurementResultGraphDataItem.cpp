#include "CMeasurementResultGraphDataItem.h"

#include "CConverter.h"
#include "CDBMeasurementController.h"
#include "CEnumTemplate.h"
#include "CValueFactory.h"

#include <QHash>

#include <algorithm>

namespace LumoraMeasurement
{

CMeasurementResultGraphDataItem::CMeasurementResultGraphDataItem(
    OrvelFramework::CDatabaseMultiInstance& rDatabase, long lSessionId,
    const std::vector<long>& rScanIds)
    : m_rDatabase(rDatabase), m_lSessionId(lSessionId), m_rScanIds(rScanIds)
{
}

CMeasurementResultGraphDataItem&
CMeasurementResultGraphDataItem::operator=(const CMeasurementResultGraphDataItem& other)
{
    if (this != &other)
    {
        m_eItem = other.m_eItem;
        m_sChannelName = other.m_sChannelName;
        m_lChannelId = other.m_lChannelId;
        m_lSessionId = other.m_lSessionId;
        m_bEnabled = other.m_bEnabled;
        m_vPoints = other.m_vPoints;
        m_dMinimum = other.m_dMinimum;
        m_dMaximum = other.m_dMaximum;
    }
    return *this;
}

void CMeasurementResultGraphDataItem::SetEnabled(bool bEnabled, bool bRefresh)
{
    m_bEnabled = bEnabled;
    if (bRefresh)
    {
        RefreshMeasValues();
    }
}

void CMeasurementResultGraphDataItem::SetItemType(EMeasurementItems eItem, bool bRefresh)
{
    m_eItem = eItem;
    if (bRefresh)
    {
        RefreshMeasValues();
    }
}

void CMeasurementResultGraphDataItem::SetChannelName(const QString& sName, long lChannelId,
                                                     bool bRefresh)
{
    m_sChannelName = sName;
    m_lChannelId = lChannelId;
    if (bRefresh)
    {
        RefreshMeasValues();
    }
}

double CMeasurementResultGraphDataItem::GetXMeasValue(long lPoint) const
{
    return lPoint >= 0 && lPoint < static_cast<long>(m_rScanIds.size())
               ? static_cast<double>(m_rScanIds[static_cast<size_t>(lPoint)])
               : 0.0;
}

double CMeasurementResultGraphDataItem::GetYMeasValue(long lPoint, bool& bInterpolated) const
{
    if (lPoint < 0 || lPoint >= GetNumberOfPoints())
    {
        return 0.0;
    }
    const SPoint& point = m_vPoints[static_cast<size_t>(lPoint)];
    bInterpolated = point.m_bInterpolated;
    return point.m_dValue;
}

void CMeasurementResultGraphDataItem::RefreshMeasValues()
{
    m_vPoints.clear();
    m_dMinimum = 0.0;
    m_dMaximum = 0.0;

    std::vector<CDBMeasurement> records;
    CDBMeasurementController(m_rDatabase)
        .GetMeasurementResultsForChannel(m_lSessionId, m_lChannelId,
                                         CEnumTemplate<EMeasurementItems>::ToId(m_eItem), records);
    // The first record of each scan counts.
    QHash<long, size_t> firstOfScan;
    firstOfScan.reserve(static_cast<int>(records.size()));
    for (size_t i = 0; i < records.size(); ++i)
    {
        if (!firstOfScan.contains(records[i].GetScanId()))
        {
            firstOfScan.insert(records[i].GetScanId(), i);
        }
    }

    const EUnitTypes eUnit = CValueFactory::MeasurementItem_GetItemUnit(m_eItem);
    bool bMeasured = false;
    m_vPoints.reserve(m_rScanIds.size());
    for (long lScanId : m_rScanIds)
    {
        const auto it = firstOfScan.constFind(lScanId);
        if (it == firstOfScan.constEnd())
        {
            m_vPoints.push_back({m_vPoints.empty() ? 0.0 : m_vPoints.back().m_dValue, true});
            continue;
        }
        const double dValue = CConverter::ConvertValue(records[it.value()].GetValue(), eUnit);
        m_vPoints.push_back({dValue, false});
        if (!bMeasured)
        {
            m_dMinimum = m_dMaximum = dValue;
            bMeasured = true;
        }
        else
        {
            m_dMinimum = std::min(m_dMinimum, dValue);
            m_dMaximum = std::max(m_dMaximum, dValue);
        }
        InterPolateValuesBefore();
    }
}

void CMeasurementResultGraphDataItem::InterPolateValuesBefore()
{
    const long n = GetNumberOfPoints();
    if (n < 2)
    {
        return;
    }
    const double dLast = m_vPoints[static_cast<size_t>(n - 1)].m_dValue;
    long b = n - 2;
    while (b >= 0 && m_vPoints[static_cast<size_t>(b)].m_bInterpolated)
    {
        --b;
    }
    // Without a measured point before the gap, the gap takes the first measured value.
    const long lGap = b >= 0 ? n - 2 - b : n - 1;
    const double dBase = b >= 0 ? m_vPoints[static_cast<size_t>(b)].m_dValue : dLast;
    const long lStart = b + 1;
    for (long j = 0; j < lGap; ++j)
    {
        m_vPoints[static_cast<size_t>(lStart + j)].m_dValue =
            dBase + (dLast - dBase) / static_cast<double>(lGap + 1 - j);
    }
}

} // namespace LumoraMeasurement

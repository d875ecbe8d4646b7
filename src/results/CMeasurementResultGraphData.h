#pragma once

#include "MainDataAccess_export.h"

#include "CMeasurementResultGraphDataItem.h"
#include "ECategory.h"
#include "EMeasurementItems.h"
#include "ETVStandards.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace LumoraMeasurement
{

class CComparativeValueData;
class CMeasurementResultData;

/// The data of the result graph of a session: the session's scan ids as the x axis and a
/// list of possible lines (channel, measurement item, enabled), each with its points. Lines
/// are the enabled items, numbered in item order.
class MDA_EXPORT CMeasurementResultGraphData
{
public:
    explicit CMeasurementResultGraphData(CMeasurementResultData& data);
    // The items refer to the scan id list of this object.
    CMeasurementResultGraphData(const CMeasurementResultGraphData&) = delete;
    CMeasurementResultGraphData& operator=(const CMeasurementResultGraphData&) = delete;

    /// A disabled item without channel and measurement item.
    void AddNewMeasurementResultItem();
    void RemoveMeasurementResultItem(long lIndex);
    long GetNumberOfDataItems() const { return static_cast<long>(m_vItems.size()); }
    long GetNumberOfLines() const;
    /// The index of the enabled item that is line lLine; 0 when there is no such line.
    long ConvertLineIdToMeasdataId(long lLine) const;

    // False for an index outside the list or an unchanged value; else store, refresh when
    // asked and true.
    bool SetDataItemEnabled(bool bEnabled, long lIndex, bool bRefresh);
    bool SetDataItemMeasItem(EMeasurementItems eItem, long lIndex, bool bRefresh);
    bool SetChannelNameMeasItem(const QString& sName, long lIndex, bool bRefresh);

    bool IsDataItemEnabled(long lIndex) const;
    /// eMeasItem_None outside the list.
    EMeasurementItems GetDataItemMeasItem(long lIndex) const;
    EMeasurementItems GetLineMeasurementItem(long lIndex) const;
    QString GetChannelNameMeasItem(long lIndex) const;

    // Values of the item at lIndex; 0 outside the list.
    long GetNumberOfPoints(long lIndex) const;
    double GetXMeasValue(long lIndex, long lPoint) const;
    double GetYMeasValue(long lIndex, long lPoint, bool& bInterpolated) const;
    double GetMinMeasValue(long lIndex) const;
    double GetMaxMeasValue(long lIndex) const;

    /// "<channel> / <item>"; empty outside the list.
    QString GetLineName(long lIndex) const;

    const CComparativeValueData& GetCompData() const;
    QStringList GetChannelNames() const;
    ECategory GetChannelType(const QString& sName) const;
    ETVStandards GetTvStandard(const QString& sName) const;

    long GetScalingDataItem() const { return m_lScalingItem; }
    /// False when unchanged.
    bool SetScalingDataItem(long lIndex);

private:
    bool DoIsIndex(long lIndex) const;

    long m_lSessionId;
    std::vector<long> m_vScanIds;
    CMeasurementResultData& m_rData;
    std::vector<CMeasurementResultGraphDataItem> m_vItems;
    long m_lScalingItem = 0;
};

} // namespace LumoraMeasurement

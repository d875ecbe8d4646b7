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
    /// An empty list of lines over the scans of the loaded session data, which must outlive
    /// this object.
    explicit CMeasurementResultGraphData(CMeasurementResultData& data);
    // The items refer to the scan id list of this object.
    CMeasurementResultGraphData(const CMeasurementResultGraphData&) = delete;
    CMeasurementResultGraphData& operator=(const CMeasurementResultGraphData&) = delete;

    /// A disabled item without channel and measurement item.
    void AddNewMeasurementResultItem();
    /// Removes the item at lIndex; nothing happens outside the list.
    void RemoveMeasurementResultItem(long lIndex);
    /// The number of items, enabled or not.
    long GetNumberOfDataItems() const { return static_cast<long>(m_vItems.size()); }
    /// The number of enabled items.
    long GetNumberOfLines() const;
    /// The index of the enabled item that is line lLine; 0 when there is no such line.
    long ConvertLineIdToMeasdataId(long lLine) const;

    ///@{
    /// Sets the enabled flag, measurement item or channel of the item at lIndex. False for an
    /// index outside the list or an unchanged value; else stores, re-reads the points when
    /// bRefresh and returns true.
    bool SetDataItemEnabled(bool bEnabled, long lIndex, bool bRefresh);
    bool SetDataItemMeasItem(EMeasurementItems eItem, long lIndex, bool bRefresh);
    bool SetChannelNameMeasItem(const QString& sName, long lIndex, bool bRefresh);
    ///@}

    /// Whether the item at lIndex is enabled; false outside the list.
    bool IsDataItemEnabled(long lIndex) const;
    /// eMeasItem_None outside the list.
    EMeasurementItems GetDataItemMeasItem(long lIndex) const;
    /// As GetDataItemMeasItem(): lIndex counts every item, enabled or not.
    EMeasurementItems GetLineMeasurementItem(long lIndex) const;
    /// The channel name of the item at lIndex; empty outside the list.
    QString GetChannelNameMeasItem(long lIndex) const;

    ///@{
    /// A value of the item at lIndex (see CMeasurementResultGraphDataItem); 0 outside the list.
    long GetNumberOfPoints(long lIndex) const;
    double GetXMeasValue(long lIndex, long lPoint) const;
    double GetYMeasValue(long lIndex, long lPoint, bool& bInterpolated) const;
    double GetMinMeasValue(long lIndex) const;
    double GetMaxMeasValue(long lIndex) const;
    ///@}

    /// "<channel> / <item>"; empty outside the list.
    QString GetLineName(long lIndex) const;

    /// The session model's limits.
    const CComparativeValueData& GetCompData() const;
    /// The channel names of the session's channel table.
    QStringList GetChannelNames() const;
    /// The category of the named channel in the session's channel table.
    ECategory GetChannelType(const QString& sName) const;
    /// The TV standard of the named channel in the session's channel table.
    ETVStandards GetTvStandard(const QString& sName) const;

    /// The index of the item whose range scales the graph.
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

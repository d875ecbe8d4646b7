#pragma once

#include "MainDataAccess_export.h"

#include "EMeasurementItems.h"

#include <QString>

#include <vector>

namespace OrvelFramework
{
class CDatabaseMultiInstance;
}

namespace LumoraMeasurement
{

/// One line of the result graph: one measurement item of one channel over the scans of a
/// session. Scans in which the item was not measured get a carried or interpolated point,
/// flagged as such. The scan id list is shared with the graph that owns the line.
class MDA_EXPORT CMeasurementResultGraphDataItem
{
public:
    /// A disabled line without channel and item over rScanIds (which must outlive it), reading
    /// from session lSessionId of rDatabase.
    CMeasurementResultGraphDataItem(OrvelFramework::CDatabaseMultiInstance& rDatabase,
                                    long lSessionId, const std::vector<long>& rScanIds);
    /// A copy sharing the connection and the scan id list.
    CMeasurementResultGraphDataItem(const CMeasurementResultGraphDataItem&) = default;
    /// Copies everything but the connection; the scan id list stays shared.
    CMeasurementResultGraphDataItem& operator=(const CMeasurementResultGraphDataItem& other);

    ///@{
    /// Stores the enabled flag, the measurement item or the channel (name and id), then
    /// re-reads the points when bRefresh.
    void SetEnabled(bool bEnabled, bool bRefresh);
    void SetItemType(EMeasurementItems eItem, bool bRefresh);
    void SetChannelName(const QString& sName, long lChannelId, bool bRefresh);
    ///@}

    /// Whether the line is shown.
    bool GetEnabled() const { return m_bEnabled; }
    /// The measurement item of the line.
    EMeasurementItems GetItemType() const { return m_eItem; }
    /// The channel name of the line.
    const QString& GetChannelName() const { return m_sChannelName; }
    /// The number of points (one per scan after a refresh).
    long GetNumberOfPoints() const { return static_cast<long>(m_vPoints.size()); }
    ///@{
    /// Range of the measured points only.
    double GetMinValue() const { return m_dMinimum; }
    double GetMaxValue() const { return m_dMaximum; }
    ///@}

    /// The scan id at that position; 0 beyond the scan list.
    double GetXMeasValue(long lPoint) const;
    /// The point's value and whether it was filled in; 0 (flag untouched) beyond the points.
    double GetYMeasValue(long lPoint, bool& bInterpolated) const;

    /// Reads the item's values of the channel, one point per scan id.
    void RefreshMeasValues();
    /// Fills the gap before the measured point just appended.
    void InterPolateValuesBefore();

private:
    struct SPoint
    {
        double m_dValue;
        bool m_bInterpolated;
    };

    OrvelFramework::CDatabaseMultiInstance& m_rDatabase;
    EMeasurementItems m_eItem = eMeasItem_None;
    QString m_sChannelName;
    long m_lChannelId = -1;
    long m_lSessionId;
    bool m_bEnabled = false;
    const std::vector<long>& m_rScanIds;
    std::vector<SPoint> m_vPoints;
    double m_dMinimum = 0.0;
    double m_dMaximum = 0.0;
};

} // namespace LumoraMeasurement

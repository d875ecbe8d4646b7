#pragma once

#include "MainDataAccess_export.h"

#include "CComparativeValueData.h"
#include "CDBMeasurement.h"
#include "EMeasurementItems.h"

#include <QString>

#include <vector>

namespace LumoraMeasurement
{

class CMeasurementResultData;

/// The data behind the detail view of one channel in one scan of a loaded session: the
/// judged records of that scan and channel, each item's value as display text (coded states
/// as their texts, levels in the session's level unit) and its violation text.
class MDA_EXPORT CMeasurementResultSingleChannelData
{
public:
    /// The records of channel lChannelId in scan lScanId of the loaded session data, which must
    /// outlive this object.
    CMeasurementResultSingleChannelData(CMeasurementResultData& data, long lScanId, long lChannelId,
                                        bool bLimitFlag);

    /// Refills the records from the session model, e.g. after it switched limits.
    void UpdateLimitValues(bool bLimitFlag);

    /// The number of records.
    long GetMeasCount() const { return static_cast<long>(m_vRecords.size()); }
    /// The record at lIndex (0 to GetMeasCount() - 1); an empty record outside.
    CDBMeasurement GetMeasItem(long lIndex) const;
    /// The session model's limits.
    CComparativeValueData* GetCompData() const { return m_pLimits; }
    /// The power limit offset of the channel in the session's channel table.
    double GetPowerLimitOffset() const;

    /// Index of the item's first record; -1 when it has none.
    long GetResultPosition(EMeasurementItems eItem) const;
    /// The display text of the item's first record; empty when it has none.
    QString GetValue(EMeasurementItems eItem) const;
    /// The violation or error text of the item's first record; empty when it has none.
    QString GetErrorDescription(EMeasurementItems eItem) const;

private:
    CComparativeValueData* m_pLimits;
    CMeasurementResultData& m_rLimitSource;
    CMeasurementResultData& m_rData;
    std::vector<CDBMeasurement> m_vRecords;
    long m_lScanId;
    long m_lChannelId;
    bool m_bLimitFlag = false;
};

} // namespace LumoraMeasurement

#pragma once

#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CDBMeasurement.h"
#include "CDatabaseMultiInstance.h"
#include "CMeasConfigData.h"
#include "CMeasurementJudge.h"
#include "EJudgement.h"

#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CToolContext;

/// A stored session ready to be read row by row: the configuration it was measured with
/// restored, a judge built from it, and the small lookups a row needs (scan times, channel
/// names, item names). The rows themselves are streamed from the database, never held.
class CJudgedSession
{
public:
    CJudgedSession(CToolContext& context, OrvelFramework::CDatabaseMultiInstance& db);

    /// Restores the session's configuration (or the files the options name) and reads it.
    bool Open(long lSessionId, QString& sReason);

    /// Every stored value of the session, ordered by scan, channel and id: the row as stored
    /// and as judged. The callback returns false to stop; false when the read failed (sReason tells
    /// why).
    bool ForEachRow(const std::function<bool(const LumoraMeasurement::CDBMeasurement&,
                                             const LumoraMeasurement::CDBMeasurement&,
                                             LumoraMeasurement::EJudgement)>& row,
                    QString& sReason);
    /// The number of stored values of the session; -1 when the read fails.
    long CountRows();

    long SessionId() const { return m_lSessionId; }
    const LumoraMeasurement::CMeasConfigData& Config() const { return m_Config; }
    const LumoraMeasurement::CChannelTableData& Channels() const { return m_Channels; }
    const LumoraMeasurement::CComparativeValueData& Limits() const { return m_Limits; }
    const std::vector<long>& ScanIds() const { return m_vScanIds; }
    /// Empty for a channel beyond the table or a scan without a scan row.
    const QString& ChannelName(long lChannelId) const;
    const QString& ScanTime(long lScanId) const;
    /// Position in the ascending scan list; -1 for a scan without a scan row.
    long ScanIndex(long lScanId) const;
    const QString& ItemName(long lItemId) const;

private:
    CToolContext& m_rContext;
    OrvelFramework::CDatabaseMultiInstance& m_rDb;
    long m_lSessionId = 0;
    LumoraMeasurement::CMeasConfigData m_Config;
    LumoraMeasurement::CChannelTableData m_Channels;
    LumoraMeasurement::CComparativeValueData m_Limits;
    std::unique_ptr<LumoraMeasurement::CMeasurementJudge> m_pJudge;
    std::vector<long> m_vScanIds;
    QHash<long, QString> m_ScanTimes;
    std::vector<QString> m_vChannelNames;
    std::vector<QString> m_vItemNames;
    QString m_sEmpty;
};

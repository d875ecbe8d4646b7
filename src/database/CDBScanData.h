#pragma once

#include <QString>

namespace LumoraMeasurement
{

/// One scan of a session as stored in the scan table: its id, state and last change.
class CDBScanData
{
public:
    /// Scan id 0, state -1, date-time now.
    explicit CDBScanData(long lSessionId);
    CDBScanData(long lSessionId, long lScanId);
    CDBScanData(const CDBScanData&) = default;
    CDBScanData(CDBScanData&&) noexcept = default;
    CDBScanData& operator=(const CDBScanData&) = default;
    CDBScanData& operator=(CDBScanData&&) noexcept = default;
    virtual ~CDBScanData() = default;

    long GetScanId() const { return m_lScanId; }
    void SetScanId(long lScanId) { m_lScanId = lScanId; }
    long GetSessionId() const { return m_lSessionId; }
    void SetSessionId(long lSessionId) { m_lSessionId = lSessionId; }
    /// An EScanState value.
    long GetState() const { return m_lState; }
    void SetState(long lState) { m_lState = lState; }
    const QString& DateTime() const { return m_sDateTime; }
    void SetDateTime(const QString& sDateTime) { m_sDateTime = sDateTime; }

private:
    long m_lScanId = 0;
    long m_lSessionId = 0;
    long m_lState = -1;
    QString m_sDateTime;
};

} // namespace LumoraMeasurement

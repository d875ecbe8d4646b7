#pragma once

#include "MainDataAccess_export.h"

#include <QString>

namespace LumoraMeasurement
{

/// One scan of a session as stored in the scan table: its id, state and last change.
class MDA_EXPORT CDBScanData
{
public:
    /// Scan id 0, state -1, date-time now.
    explicit CDBScanData(qint64 lSessionId);
    CDBScanData(qint64 lSessionId, qint64 lScanId);
    CDBScanData(const CDBScanData&) = default;
    CDBScanData(CDBScanData&&) noexcept = default;
    CDBScanData& operator=(const CDBScanData&) = default;
    CDBScanData& operator=(CDBScanData&&) noexcept = default;
    virtual ~CDBScanData() = default;

    qint64 GetScanId() const { return m_lScanId; }
    void SetScanId(qint64 lScanId) { m_lScanId = lScanId; }
    qint64 GetSessionId() const { return m_lSessionId; }
    void SetSessionId(qint64 lSessionId) { m_lSessionId = lSessionId; }
    /// An EScanState value.
    long GetState() const { return m_lState; }
    void SetState(long lState) { m_lState = lState; }
    const QString& DateTime() const { return m_sDateTime; }
    void SetDateTime(const QString& sDateTime) { m_sDateTime = sDateTime; }

private:
    qint64 m_lScanId = 0;
    qint64 m_lSessionId = 0;
    long m_lState = -1;
    QString m_sDateTime;
};

} // namespace LumoraMeasurement

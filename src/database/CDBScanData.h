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
    /// The given ids, state -1 and the current time as date-time.
    CDBScanData(qint64 lSessionId, qint64 lScanId);
    /// A copy of the other record.
    CDBScanData(const CDBScanData&) = default;
    /// Takes the other record's fields.
    CDBScanData(CDBScanData&&) noexcept = default;
    /// Copies the other record's fields.
    CDBScanData& operator=(const CDBScanData&) = default;
    /// Takes the other record's fields.
    CDBScanData& operator=(CDBScanData&&) noexcept = default;
    virtual ~CDBScanData() = default;

    /// The scan's id within its session, chosen by the caller on creation; 0 when not read.
    qint64 GetScanId() const { return m_lScanId; }
    /// Sets the scan that CDBScanController::Update() writes to; below 1 makes it fail.
    void SetScanId(qint64 lScanId) { m_lScanId = lScanId; }
    /// The row id of the session the scan belongs to.
    qint64 GetSessionId() const { return m_lSessionId; }
    /// Sets the session the scan belongs to.
    void SetSessionId(qint64 lSessionId) { m_lSessionId = lSessionId; }
    /// An EScanState value.
    long GetState() const { return m_lState; }
    /// Kept in the record; CDBScanController::Update() stores the state it is given instead.
    void SetState(long lState) { m_lState = lState; }
    /// When the scan row last changed, as "yyyy-MM-dd HH:mm:ss" local time.
    const QString& DateTime() const { return m_sDateTime; }
    /// Sets the date-time text; only CDBScanController::CreateCopy() writes it as given.
    void SetDateTime(const QString& sDateTime) { m_sDateTime = sDateTime; }

private:
    qint64 m_lScanId = 0;
    qint64 m_lSessionId = 0;
    long m_lState = -1;
    QString m_sDateTime;
};

} // namespace LumoraMeasurement

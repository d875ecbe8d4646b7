#pragma once

#include "MainDataAccess_export.h"

#include <QString>

#include "CDBScanData.h"

#include <vector>

namespace OrvelFramework
{
class CDatabaseMultiInstance;
}

namespace LumoraMeasurement
{

/// Creates, updates and reads the scan rows of a session. The caller chooses scan ids and
/// owns the connection, which must stay open while the controller is used.
class MDA_EXPORT CDBScanController
{
public:
    /// Works on rDatabase, which must outlive the controller.
    explicit CDBScanController(OrvelFramework::CDatabaseMultiInstance& rDatabase);

    /// A new scan row with the caller's id, stamped now; the state is written by Update.
    bool Create(long lSessionId, long& lScanId);
    /// Stores lState (not the record's state) and stamps now; false for a scan id below 1.
    bool Update(const CDBScanData& scan, long lState);
    /// The stored scan; for a missing one scan id 0, state -1 and the current time.
    CDBScanData GetData(long lSessionId, long lScanId) const;
    /// The session's scan ids, ascending.
    std::vector<long> GetScanIds(long lSessionId) const;
    /// As above; false (LastError()) when the read failed, and ids then empty.
    bool GetScanIds(long lSessionId, std::vector<long>& ids) const;
    /// Every scan of the session by id, in one read; false (LastError()) when it failed.
    bool GetAllData(long lSessionId, std::vector<CDBScanData>& scans) const;
    /// -1 when the read failed.
    long GetNumberOfScans(long lSessionId) const;

    /// Why the most recent failing call failed, in words (the connection's LastError()).
    QString LastError() const;

private:
    OrvelFramework::CDatabaseMultiInstance& m_rDatabase;

public:
    /// Writes the scan row as recorded: its id, state and date-time as scan holds them.
    bool CreateCopy(long lSessionId, const CDBScanData& scan);
};

} // namespace LumoraMeasurement

#pragma once

#include "MainDataAccess_export.h"

#include <QString>

#include "CDBMeasurement.h"

#include <functional>
#include <vector>

namespace OrvelFramework
{
class CDatabaseMultiInstance;
}

namespace LumoraMeasurement
{

/// Writes and reads measurement rows: one per item, channel and scan. A run creates a row
/// before measuring and updates it with value, state and error text afterwards. The
/// connection belongs to the caller and must stay open while the controller is used.
class MDA_EXPORT CDBMeasurementController
{
public:
    /// Works on rDatabase, which must outlive the controller.
    explicit CDBMeasurementController(OrvelFramework::CDatabaseMultiInstance& rDatabase);

    /// An empty row for the three ids; lMeasurementId receives its id.
    bool Create(long lSessionId, long lScanId, long lChannelId, long& lMeasurementId);
    /// Writes channel, item, state, value, and the error text only when there is one, so a
    /// later update without text keeps an earlier one. False for a measurement id below 1.
    bool Update(const CDBMeasurement& measurement);
    /// The stored row; a default record (ids 0, item and state -1, texts empty) when there is
    /// none or the read failed.
    CDBMeasurement GetData(long lSessionId, long lScanId, long lMeasurementId) const;

    // The reads below are false (LastError() tells why) when the database ends the read with
    // an error; measurements then holds none of that read's rows, never the rows read so far.
    // A value or error text longer than CDBMeasurement::c_iMaxTextLength characters comes
    // cut there, followed by CDBMeasurement::c_sCutMarker.

    /// Replace the content of measurements.
    bool GetAllErrorsForSession(long lSessionId, std::vector<CDBMeasurement>& measurements);
    /// Every stored row of the session in id order, replacing the content of measurements.
    bool GetAllResultsForSession(long lSessionId, std::vector<CDBMeasurement>& measurements);
    /// Append to measurements: one item of one channel over all scans.
    bool GetMeasurementResultsForChannel(long lSessionId, long lChannelId, long lItemId,
                                         std::vector<CDBMeasurement>& measurements);
    /// Append to measurements: all items of one channel in the scan at position lScan of the
    /// session's ascending scan list; "number unit" values come with two decimals.
    bool GetAllMeasurementResultsForChannel(long lSessionId, long lScan, long lChannelId,
                                            std::vector<CDBMeasurement>& measurements);
    /// Hands row every stored row of the session as stored, ordered by scan id, channel id
    /// and id, in one read that holds one row at a time; row returns false to stop, and must
    /// not use the connection while the read is open. False when the read failed.
    bool ForEachResultOfSession(long lSessionId,
                                const std::function<bool(const CDBMeasurement&)>& row);
    /// Hands row, one at a time, what GetAllMeasurementResultsForChannel gives for every scan
    /// position below lScans and every channel row below lChannels, scan by scan, channel by
    /// channel, in one read; row returns false to stop, and must not use the connection while
    /// the read is open. False when the read failed (LastError()).
    bool
    ForEachMeasurementResultByScanAndChannel(long lSessionId, long lScans, long lChannels,
                                             const std::function<bool(const CDBMeasurement&)>& row);
    /// Number of rows the channel has in the session, over all scans and items; -1 when the
    /// count failed (LastError()).
    long GetAmountOfMeasurementValuesForChannel(long lSessionId, long lChannelId);

    /// Why the most recent failing call failed, in words (the connection's LastError()).
    QString LastError() const;

private:
    OrvelFramework::CDatabaseMultiInstance& m_rDatabase;

public:
    /// Stores the rows under lSessionId as they are (scan, channel, item, state, value, error
    /// text; their own session and measurement ids are not used), many per statement; the
    /// database gives them ids in the order given.
    bool CreateCopies(long lSessionId, const std::vector<CDBMeasurement>& measurements);
};

} // namespace LumoraMeasurement

#pragma once

#include "CTableBase.h"
#include "CTableCursor.h"

namespace OrvelFramework
{

/// The measurement table: one row per measured item per channel per scan. A row belongs to
/// an existing scan of its session. Every read returns per row the pairs id, session id,
/// scan id, channel id, measurement item, state, value, error description (always last),
/// rows by ascending id. Item and state are -1 until the row is updated.
class CTableMeasurements : public CTableBase
{
public:
    explicit CTableMeasurements(CDatabaseMultiInstance& db);

    static inline const QString c_sColumnId = QStringLiteral("id");
    static inline const QString c_sColumnSessionId = QStringLiteral("session_id");
    static inline const QString c_sColumnScanId = QStringLiteral("scan_id");
    static inline const QString c_sColumnChannelId = QStringLiteral("channel_id");
    static inline const QString c_sColumnMeasurementItem = QStringLiteral("measurement_item");
    static inline const QString c_sColumnState = QStringLiteral("state");
    static inline const QString c_sColumnValue = QStringLiteral("value");
    static inline const QString c_sColumnErrorDescription = QStringLiteral("error_description");

    /// The stored state ids that count as errors: "Error" and "Out of range".
    static constexpr long c_lStateError = 3;
    static constexpr long c_lStateOutOfRange = 4;

    bool Create(const TableRows& row, long& lId);
    /// What Create() stores for the pairs session, scan and channel, without the pairs: the
    /// recording's hot path.
    bool Create(qint64 llSessionId, qint64 llScanId, qint64 llChannelId, long& lId);
    /// What Update() stores for the pairs channel, item, state, value and (when not empty)
    /// error description; a null value is stored as an empty text.
    bool Update(qint64 llSessionId, qint64 llScanId, qint64 llMeasurementId, qint64 llChannelId,
                qint64 llItem, qint64 llState, const QString& sValue, const QString& sError);
    bool Update(long lSessionId, long lScanId, long lMeasurementId, const TableRows& row);
    TableRows Get(long lSessionId, long lScanId, long lMeasurementId);
    /// The rows whose state is "Error" or "Out of range".
    bool GetAllErrorsForSession(long lSessionId, TableRows& rows);
    bool GetAllResultsForSession(long lSessionId, TableRows& rows);
    /// The rows of one channel in one scan; lScan is the scan's position (from 0) in the
    /// session's ascending list of scan ids, not the scan id.
    bool GetAllMeasurementsForChannel(long lSessionId, long lScan, long lChannelId,
                                      TableRows& rows);
    /// One item of one channel over all scans.
    bool GetMeasurementsForChannel(long lSessionId, long lChannelId, long lItemId, TableRows& rows);

    // The same reads row by row: the cursor's columns are those of the pairs, in that order.
    /// The reads hand out at most this many characters of a value or an error text, and one
    /// more when it is longer: a stored text of any size costs a row no more memory.
    static constexpr int c_iMaxTextLength = 4 * 1024 * 1024;
    static constexpr int c_iReadId = 0;
    static constexpr int c_iReadSessionId = 1;
    static constexpr int c_iReadScanId = 2;
    static constexpr int c_iReadChannelId = 3;
    static constexpr int c_iReadMeasurementItem = 4;
    static constexpr int c_iReadState = 5;
    static constexpr int c_iReadValue = 6;
    static constexpr int c_iReadErrorDescription = 7;
    bool OpenAllErrorsForSession(long lSessionId, CTableCursor& cursor);
    bool OpenAllResultsForSession(long lSessionId, CTableCursor& cursor);
    /// Every row of the session ordered by scan id, channel id and id.
    bool OpenAllResultsForSessionByScan(long lSessionId, CTableCursor& cursor);
    bool OpenAllMeasurementsForChannel(long lSessionId, long lScan, long lChannelId,
                                       CTableCursor& cursor);
    bool OpenMeasurementsForChannel(long lSessionId, long lChannelId, long lItemId,
                                    CTableCursor& cursor);
    /// What GetAllMeasurementsForChannel gives for every scan position below lScans and every
    /// channel id from 0 below lChannels, in that order, in one read. A channel id the
    /// database holds as something else than a whole number is among the rows (ordered by
    /// its value), though no channel read would find it.
    bool OpenMeasurementsByScanAndChannel(long lSessionId, long lScans, long lChannels,
                                          CTableCursor& cursor);

    /// The number of rows of the session; -1 when the read fails.
    long GetAmountOfResultsForSession(long lSessionId);
    /// The number of rows of the channel in the session; -1 when the read fails.
    long GetAmountOfMeasurementValuesForChannel(long lSessionId, long lChannelId);

public:
    /// Values of one stored row for CreateRows(), in this order.
    static constexpr int c_iCopyScanId = 0;
    static constexpr int c_iCopyChannelId = 1;
    static constexpr int c_iCopyMeasurementItem = 2;
    static constexpr int c_iCopyState = 3;
    static constexpr int c_iCopyValue = 4;
    static constexpr int c_iCopyErrorDescription = 5;
    static constexpr int c_iCopyColumns = 6;
    /// Stores complete rows of one session, c_iCopyColumns values per row, many rows per
    /// statement; the database chooses their ids in the order given.
    bool CreateRows(qint64 llSessionId, const QVariantList& values);
};

} // namespace OrvelFramework

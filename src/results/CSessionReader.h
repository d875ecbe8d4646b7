#pragma once

#include "MainDataAccess_export.h"

#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CDBMeasurement.h"
#include "CDBScanData.h"
#include "CDBSessionData.h"
#include "EJudgement.h"
#include "ELevelUnit.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace OrvelFramework
{
class CDatabaseMultiInstance;
}

namespace LumoraMeasurement
{

/// Reads one stored session from its database alone: the session row, its scans, the copies
/// of the channel table and limit file registered with it (restored in memory, or other files
/// the caller names), and every stored value, streamed once in scan, channel and id order,
/// each judged once against those limits. It never writes: a SQLite file is opened read-only,
/// and a database that is not a measurement database is refused. Every read that the database
/// ends with an error is a failure with the database's reason, never a shorter result.
class MDA_EXPORT CSessionReader
{
public:
    /// One stored value as it is handed out: the row as stored, the row as judged (its value
    /// text rewritten, state and violation or error text set), the judgement, the position of
    /// its scan in the scan list (-1 for a scan without a scan row) and the number its value
    /// stands for, where it has one.
    struct SRow
    {
        /// The row as read from the database.
        const CDBMeasurement& m_Stored;
        /// The row after judging: value text rewritten, state and violation or error text set.
        const CDBMeasurement& m_Judged;
        /// How the value fared against the limits.
        EJudgement m_eJudgement;
        /// Position of the row's scan in Scans(); -1 for a scan without a scan row.
        long m_lScanIndex;
        /// Whether the stored value text starts with a number (never for a row judged an error).
        bool m_bHasNumber;
        /// The number before the first space of the stored value; 0 when m_bHasNumber is false.
        double m_dNumber;
    };

    /// Reads through a connection of its own, opened by Open().
    CSessionReader();
    /// Reads through the caller's open connection, which must outlive the reader.
    explicit CSessionReader(OrvelFramework::CDatabaseMultiInstance& rDatabase);
    CSessionReader(const CSessionReader&) = delete;
    CSessionReader& operator=(const CSessionReader&) = delete;
    ~CSessionReader();

    /// Opens the database as device settings name it (a SQLite path or a postgresql:// URL,
    /// user, password) for reading only.
    bool Open(const QString& sDatabaseName, const QString& sUser, const QString& sPassword);

    /// Judge with these files instead of the copies registered with the session; an empty
    /// name goes back to the registered copy. Takes effect with the next SelectSession().
    void SetChannelTableFile(const QString& sFile);
    /// As SetChannelTableFile(), for the limit file.
    void SetLimitFile(const QString& sFile);
    /// The level unit the limits are read in (dBµV unless set).
    void SetLevelUnit(ELevelUnit eLevelUnit);

    /// Selects a session by its id ("42", "000042") or its unique id, and reads its row, its
    /// scans and its configuration. False with LastError() when there is no such session, it
    /// has no registered file, a file cannot be read or a read failed.
    bool SelectSession(const QString& sSession);
    /// As above, by row id; false for an id below 1.
    bool SelectSession(long lSessionId);

    /// For callers that judge with files of their own (the session model), without selecting
    /// a session: the session's row (a record with only the id when there is none; false then,
    /// and when the read failed, with LastError()).
    bool ReadSessionRow(long lSessionId, CDBSessionData& session);
    /// As above: every stored value of the session as stored, by ascending id, replacing the
    /// vector's content; false when the read failed, and the vector is then empty.
    bool ReadStoredRows(long lSessionId, std::vector<CDBMeasurement>& rows);
    /// As above: the ids of the session's scans, ascending.
    bool ReadScanIds(long lSessionId, std::vector<long>& ids);

    /// Every stored value of the selected session, ordered by scan id, channel id and id. row
    /// returns false to stop (not a failure); false when the read failed (LastError()).
    bool ForEachRow(const std::function<bool(const SRow&)>& row);

    /// The stored values of the selected session in the order of ForEachRow(), as stored and
    /// not judged, for a caller that judges them elsewhere with JudgeRow() (on a thread of its
    /// own, for one). row returns false to stop; false when the read failed (LastError()).
    bool ForEachStoredRow(const std::function<bool(const CDBMeasurement&)>& row);
    /// Judges a stored value of the selected session as ForEachRow() does: judged receives the
    /// row after judging; the result refers to stored and judged. Reads nothing from the
    /// database, changes nothing in the reader, but is for one thread at a time.
    SRow JudgeRow(const CDBMeasurement& stored, CDBMeasurement& judged) const;

    /// The row of the selected session; a record with only the id when its row could not be read.
    const CDBSessionData& Session() const;
    /// The row id of the selected session; 0 before any SelectSession().
    long SessionId() const;
    /// The scans by ascending id.
    const std::vector<CDBScanData>& Scans() const;
    /// The ids of Scans(), ascending.
    const std::vector<long>& ScanIds() const;
    /// Position in the scan list; -1 for a scan without a scan row.
    long ScanIndex(long lScanId) const;
    /// The scan's date-time; empty for a scan without a scan row.
    const QString& ScanTime(long lScanId) const;
    /// The channel table the selected session is judged with.
    const CChannelTableData& ChannelTable() const;
    /// The limits the selected session is judged with, in the level unit set.
    const CComparativeValueData& Limits() const;
    /// The channel's name; empty for a channel beyond the table.
    const QString& ChannelName(long lChannelId) const;
    /// The channel's "Power Limit Offset" in dB; 0 when it has none.
    double PowerLimitOffset(long lChannelId) const;

    /// The connection it reads through (open after Open()).
    OrvelFramework::CDatabaseMultiInstance& Database();

    /// Why the most recent failing call failed, in words.
    QString LastError() const;

private:
    struct SPrivate;
    std::unique_ptr<SPrivate> m_pD;
};

} // namespace LumoraMeasurement

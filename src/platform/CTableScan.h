#pragma once

#include "CTableBase.h"

namespace OrvelFramework
{

/// The scan table: one row per pass over all channels of a session. The caller chooses the
/// scan id, unique within its session; the session must exist.
class CTableScan : public CTableBase
{
public:
    explicit CTableScan(CDatabaseMultiInstance& db);

    static inline const QString c_sColumnId = QStringLiteral("id");
    static inline const QString c_sColumnSessionId = QStringLiteral("session_id");
    static inline const QString c_sColumnState = QStringLiteral("state");
    static inline const QString c_sColumnDatetime = QStringLiteral("date_time");

    /// Stores the row under lScanId (an id pair in row is ignored). The state is -1 until
    /// it is written.
    bool Create(const TableRows& row, long lScanId);
    bool Update(long lSessionId, long lScanId, const TableRows& row);
    /// Pairs id, session id, state, date-time; empty when there is no such scan.
    TableRows Get(long lSessionId, long lScanId);
    /// One id pair per scan of the session, ascending.
    bool GetScanIds(long lSessionId, TableRows& rows);
    /// Id, state and date-time of every scan of the session, by id; a date-time longer than
    /// c_iMaxDateTimeLength characters comes cut there.
    bool GetAll(long lSessionId, TableRows& rows);
    static constexpr int c_iMaxDateTimeLength = 64;
};

} // namespace OrvelFramework

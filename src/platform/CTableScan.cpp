#include "CTableScan.h"

namespace OrvelFramework
{

namespace
{

const CTableBase::Columns& ScanColumns()
{
    static const CTableBase::Columns s_Columns = {
        {&CTableScan::c_sColumnId, true},
        {&CTableScan::c_sColumnSessionId, true},
        {&CTableScan::c_sColumnState, true},
        {&CTableScan::c_sColumnDatetime, false},
    };
    return s_Columns;
}

} // namespace

CTableScan::CTableScan(CDatabaseMultiInstance& db) : CTableBase(db) {}

bool CTableScan::Create(const TableRows& row, long lScanId)
{
    TableRows withId = row;
    // The last pair of a column wins: the argument decides the id.
    withId.emplace_back(c_sColumnId, QString::number(lScanId));
    long lRowId = 0;
    return DoInsert(QStringLiteral("scan"), ScanColumns(), withId, lRowId,
                    QStringLiteral("Cannot store scan %1").arg(lScanId));
}

bool CTableScan::Update(long lSessionId, long lScanId, const TableRows& row)
{
    return DoUpdate(
        QStringLiteral("scan"), ScanColumns(), row, QStringLiteral("session_id = ? AND id = ?"),
        {qlonglong(lSessionId), qlonglong(lScanId)},
        QStringLiteral("Cannot change scan %1 of session %2").arg(lScanId).arg(lSessionId));
}

TableRows CTableScan::Get(long lSessionId, long lScanId)
{
    TableRows rows;
    DoSelect(QStringLiteral("SELECT id, session_id, state, date_time FROM scan "
                            "WHERE session_id = ? AND id = ?"),
             {qlonglong(lSessionId), qlonglong(lScanId)},
             {&c_sColumnId, &c_sColumnSessionId, &c_sColumnState, &c_sColumnDatetime}, rows,
             QStringLiteral("Cannot read scan %1 of session %2").arg(lScanId).arg(lSessionId));
    return rows;
}

bool CTableScan::GetScanIds(long lSessionId, TableRows& rows)
{
    return DoSelect(QStringLiteral("SELECT id FROM scan WHERE session_id = ? ORDER BY id"),
                    {qlonglong(lSessionId)}, {&c_sColumnId}, rows,
                    QStringLiteral("Cannot read the scans of session %1").arg(lSessionId));
}

bool CTableScan::GetAll(long lSessionId, TableRows& rows)
{
    static_assert(c_iMaxDateTimeLength == 64, "the statement's bound");
    return DoSelect(QStringLiteral("SELECT id, state, substr(date_time, 1, 64) FROM scan WHERE "
                                   "session_id = ? ORDER BY id"),
                    {qlonglong(lSessionId)}, {&c_sColumnId, &c_sColumnState, &c_sColumnDatetime},
                    rows, QStringLiteral("Cannot read the scans of session %1").arg(lSessionId));
}

} // namespace OrvelFramework

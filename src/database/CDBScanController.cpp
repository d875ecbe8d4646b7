#include "CDBScanController.h"

#include "CDatabaseMultiInstance.h"
#include "COSAbstraction.h"
#include "CTableScan.h"

#include <algorithm>

using OrvelFramework::COSAbstraction;
using OrvelFramework::CTableRecordSet;
using OrvelFramework::CTableScan;
using OrvelFramework::TableRows;

namespace LumoraMeasurement
{

CDBScanController::CDBScanController(OrvelFramework::CDatabaseMultiInstance& rDatabase)
    : m_rDatabase(rDatabase)
{
}

bool CDBScanController::Create(long lSessionId, long& lScanId)
{
    TableRows row;
    row.reserve(3);
    row.emplace_back(CTableScan::c_sColumnId, QString::number(lScanId));
    row.emplace_back(CTableScan::c_sColumnSessionId, QString::number(lSessionId));
    row.emplace_back(CTableScan::c_sColumnDatetime, COSAbstraction::GetFormattedDateTime());
    CTableScan table(m_rDatabase);
    return table.Create(row, lScanId);
}

bool CDBScanController::Update(const CDBScanData& scan, long lState)
{
    if (scan.GetScanId() < 1)
    {
        return m_rDatabase.Fail(
            QStringLiteral("Cannot change scan %1 of session %2: scan ids start at 1")
                .arg(scan.GetScanId())
                .arg(scan.GetSessionId()));
    }
    TableRows row;
    row.reserve(2);
    row.emplace_back(CTableScan::c_sColumnState, QString::number(lState));
    row.emplace_back(CTableScan::c_sColumnDatetime, COSAbstraction::GetFormattedDateTime());
    CTableScan table(m_rDatabase);
    return table.Update(scan.GetSessionId(), scan.GetScanId(), row);
}

CDBScanData CDBScanController::GetData(long lSessionId, long lScanId) const
{
    CDBScanData scan(0);
    CTableScan table(m_rDatabase);
    const TableRows rows = table.Get(lSessionId, lScanId);
    for (const CTableRecordSet& pair : rows)
    {
        const QString& sColumn = pair.GetColumn();
        if (sColumn == CTableScan::c_sColumnId)
        {
            scan.SetScanId(lScanId);
        }
        else if (sColumn == CTableScan::c_sColumnSessionId)
        {
            scan.SetSessionId(pair.GetValue().toLongLong());
        }
        else if (sColumn == CTableScan::c_sColumnState)
        {
            scan.SetState(pair.GetValue().toInt());
        }
        else if (sColumn == CTableScan::c_sColumnDatetime)
        {
            scan.SetDateTime(pair.GetValue());
        }
    }
    return scan;
}

std::vector<long> CDBScanController::GetScanIds(long lSessionId) const
{
    std::vector<long> ids;
    GetScanIds(lSessionId, ids);
    return ids;
}

bool CDBScanController::GetScanIds(long lSessionId, std::vector<long>& ids) const
{
    ids.clear();
    TableRows rows;
    CTableScan table(m_rDatabase);
    if (!table.GetScanIds(lSessionId, rows))
    {
        return false;
    }
    ids.reserve(rows.size());
    for (const CTableRecordSet& pair : rows)
    {
        ids.push_back(pair.GetValue().toLongLong());
    }
    std::sort(ids.begin(), ids.end());
    return true;
}

bool CDBScanController::GetAllData(long lSessionId, std::vector<CDBScanData>& scans) const
{
    scans.clear();
    TableRows rows;
    CTableScan table(m_rDatabase);
    if (!table.GetAll(lSessionId, rows))
    {
        return false;
    }
    scans.reserve(rows.size() / 3);
    // A new record stamps the current time, which costs a time zone lookup: copies do not.
    const CDBScanData prototype(lSessionId);
    for (size_t i = 0; i + 2 < rows.size(); i += 3)
    {
        CDBScanData& scan = scans.emplace_back(prototype);
        scan.SetScanId(rows[i].GetValue().toLongLong());
        scan.SetState(rows[i + 1].GetValue().toInt());
        scan.SetDateTime(rows[i + 2].GetValue());
    }
    // Ids held as texts sort as the database sorts them; the list is by number.
    std::stable_sort(scans.begin(), scans.end(),
                     [](const CDBScanData& a, const CDBScanData& b)
                     { return a.GetScanId() < b.GetScanId(); });
    return true;
}

long CDBScanController::GetNumberOfScans(long lSessionId) const
{
    TableRows rows;
    CTableScan table(m_rDatabase);
    return table.GetScanIds(lSessionId, rows) ? static_cast<long>(rows.size()) : -1;
}

QString CDBScanController::LastError() const
{
    return m_rDatabase.LastError();
}

bool CDBScanController::CreateCopy(long lSessionId, const CDBScanData& scan)
{
    TableRows row;
    row.reserve(3);
    row.emplace_back(CTableScan::c_sColumnSessionId, QString::number(lSessionId));
    row.emplace_back(CTableScan::c_sColumnState, QString::number(scan.GetState()));
    row.emplace_back(CTableScan::c_sColumnDatetime, scan.DateTime());
    return CTableScan(m_rDatabase).Create(row, static_cast<long>(scan.GetScanId()));
}

} // namespace LumoraMeasurement

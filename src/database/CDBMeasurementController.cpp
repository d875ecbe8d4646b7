#include "CDBMeasurementController.h"

#include "CDatabaseMultiInstance.h"
#include "CTableMeasurements.h"

#include <algorithm>

using OrvelFramework::CTableMeasurements;
using OrvelFramework::CTableRecordSet;
using OrvelFramework::TableRows;

namespace LumoraMeasurement
{

namespace
{

// "12.3456 dBuV" -> "12.35 dBuV"; anything but exactly one blank stays as it is.
QString DoReformatValue(const QString& sValue)
{
    const int iBlank = sValue.indexOf(QLatin1Char(' '));
    if (iBlank < 0 || sValue.indexOf(QLatin1Char(' '), iBlank + 1) >= 0)
    {
        return sValue;
    }
    const double dNumber = sValue.leftRef(iBlank).toDouble();
    return QString::number(dNumber, 'f', 2) + sValue.midRef(iBlank);
}

// Room for the rows a result will add, estimated from the width of its first row. Grows
// geometrically so that many small appends stay linear.
void DoReserve(std::vector<CDBMeasurement>& measurements, const TableRows& rows)
{
    const auto itEnd =
        std::find_if(rows.begin(), rows.end(),
                     [](const CTableRecordSet& pair)
                     { return pair.GetColumn() == CTableMeasurements::c_sColumnErrorDescription; });
    if (itEnd == rows.end())
    {
        return;
    }
    const size_t nRowWidth = static_cast<size_t>(itEnd - rows.begin()) + 1;
    const size_t nNeeded = measurements.size() + rows.size() / nRowWidth;
    if (nNeeded > measurements.capacity())
    {
        measurements.reserve(std::max(nNeeded, 2 * measurements.capacity()));
    }
}

// One working record walks the flat result; an error-description pair closes a row. The
// record is not reset, so a column a row lacks keeps the previous row's value.
void DoAppendRows(const TableRows& rows, std::vector<CDBMeasurement>& measurements,
                  bool bReformatValues)
{
    DoReserve(measurements, rows);
    CDBMeasurement working;
    for (const CTableRecordSet& pair : rows)
    {
        const QString& sColumn = pair.GetColumn();
        if (sColumn == CTableMeasurements::c_sColumnId)
        {
            working.SetMeasurementId(pair.GetValue().toInt());
        }
        else if (sColumn == CTableMeasurements::c_sColumnSessionId)
        {
            working.SetSessionId(pair.GetValue().toInt());
        }
        else if (sColumn == CTableMeasurements::c_sColumnScanId)
        {
            working.SetScanId(pair.GetValue().toInt());
        }
        else if (sColumn == CTableMeasurements::c_sColumnChannelId)
        {
            working.SetChannelId(pair.GetValue().toInt());
        }
        else if (sColumn == CTableMeasurements::c_sColumnMeasurementItem)
        {
            working.SetMeasurementItem(pair.GetValue().toInt());
        }
        else if (sColumn == CTableMeasurements::c_sColumnState)
        {
            working.SetMeasurementState(pair.GetValue().toInt());
        }
        else if (sColumn == CTableMeasurements::c_sColumnValue)
        {
            working.SetValue(bReformatValues ? DoReformatValue(pair.GetValue()) : pair.GetValue());
        }
        else if (sColumn == CTableMeasurements::c_sColumnErrorDescription)
        {
            working.SetErrorDescription(pair.GetValue());
            measurements.push_back(working);
        }
    }
}

} // namespace

CDBMeasurementController::CDBMeasurementController(
    OrvelFramework::CDatabaseMultiInstance& rDatabase)
    : m_rDatabase(rDatabase)
{
}

bool CDBMeasurementController::Create(long lSessionId, long lScanId, long lChannelId,
                                      long& lMeasurementId)
{
    TableRows row;
    row.reserve(3);
    row.emplace_back(CTableMeasurements::c_sColumnSessionId, QString::number(lSessionId));
    row.emplace_back(CTableMeasurements::c_sColumnScanId, QString::number(lScanId));
    row.emplace_back(CTableMeasurements::c_sColumnChannelId, QString::number(lChannelId));
    CTableMeasurements table(m_rDatabase);
    return table.Create(row, lMeasurementId);
}

bool CDBMeasurementController::Update(const CDBMeasurement& measurement)
{
    if (measurement.GetMeasurementId() < 1)
    {
        return false;
    }
    TableRows row;
    row.reserve(5);
    row.emplace_back(CTableMeasurements::c_sColumnChannelId,
                     QString::number(measurement.GetChannelId()));
    row.emplace_back(CTableMeasurements::c_sColumnMeasurementItem,
                     QString::number(measurement.GetMeasurementItem()));
    row.emplace_back(CTableMeasurements::c_sColumnState,
                     QString::number(measurement.GetMeasurementState()));
    row.emplace_back(CTableMeasurements::c_sColumnValue, measurement.GetValue());
    if (!measurement.GetErrorDescription().isEmpty())
    {
        row.emplace_back(CTableMeasurements::c_sColumnErrorDescription,
                         measurement.GetErrorDescription());
    }
    CTableMeasurements table(m_rDatabase);
    return table.Update(measurement.GetSessionId(), measurement.GetScanId(),
                        measurement.GetMeasurementId(), row);
}

CDBMeasurement CDBMeasurementController::GetData(long lSessionId, long lScanId,
                                                 long lMeasurementId) const
{
    CDBMeasurement measurement;
    CTableMeasurements table(m_rDatabase);
    const TableRows rows = table.Get(lSessionId, lScanId, lMeasurementId);
    for (const CTableRecordSet& pair : rows)
    {
        const QString& sColumn = pair.GetColumn();
        if (sColumn == CTableMeasurements::c_sColumnId)
        {
            measurement.SetMeasurementId(lMeasurementId);
        }
        else if (sColumn == CTableMeasurements::c_sColumnSessionId)
        {
            measurement.SetSessionId(pair.GetValue().toInt());
        }
        else if (sColumn == CTableMeasurements::c_sColumnScanId)
        {
            measurement.SetScanId(pair.GetValue().toInt());
        }
        else if (sColumn == CTableMeasurements::c_sColumnChannelId)
        {
            measurement.SetChannelId(pair.GetValue().toInt());
        }
        else if (sColumn == CTableMeasurements::c_sColumnMeasurementItem)
        {
            measurement.SetMeasurementItem(pair.GetValue().toInt());
        }
        else if (sColumn == CTableMeasurements::c_sColumnState)
        {
            measurement.SetMeasurementState(pair.GetValue().toInt());
        }
        else if (sColumn == CTableMeasurements::c_sColumnValue)
        {
            measurement.SetValue(pair.GetValue());
        }
        else if (sColumn == CTableMeasurements::c_sColumnErrorDescription)
        {
            measurement.SetErrorDescription(pair.GetValue());
        }
    }
    return measurement;
}

void CDBMeasurementController::GetAllErrorsForSession(long lSessionId,
                                                      std::vector<CDBMeasurement>& measurements)
{
    measurements.clear();
    TableRows rows;
    CTableMeasurements table(m_rDatabase);
    table.GetAllErrorsForSession(lSessionId, rows);
    DoAppendRows(rows, measurements, false);
}

void CDBMeasurementController::GetAllResultsForSession(long lSessionId,
                                                       std::vector<CDBMeasurement>& measurements)
{
    measurements.clear();
    TableRows rows;
    CTableMeasurements table(m_rDatabase);
    table.GetAllResultsForSession(lSessionId, rows);
    DoAppendRows(rows, measurements, false);
}

void CDBMeasurementController::GetMeasurementResultsForChannel(
    long lSessionId, long lChannelId, long lItemId, std::vector<CDBMeasurement>& measurements)
{
    TableRows rows;
    CTableMeasurements table(m_rDatabase);
    table.GetMeasurementsForChannel(lSessionId, lChannelId, lItemId, rows);
    DoAppendRows(rows, measurements, false);
}

void CDBMeasurementController::GetAllMeasurementResultsForChannel(
    long lSessionId, long lScan, long lChannelId, std::vector<CDBMeasurement>& measurements)
{
    TableRows rows;
    CTableMeasurements table(m_rDatabase);
    table.GetAllMeasurementsForChannel(lSessionId, lScan, lChannelId, rows);
    DoAppendRows(rows, measurements, true);
}

long CDBMeasurementController::GetAmountOfMeasurementValuesForChannel(long lSessionId,
                                                                      long lChannelId)
{
    CTableMeasurements table(m_rDatabase);
    return table.GetAmountOfMeasurementValuesForChannel(lSessionId, lChannelId);
}

} // namespace LumoraMeasurement

#include "CDBMeasurementController.h"

#include "CDatabaseMultiInstance.h"
#include "CTableMeasurements.h"

#include <algorithm>
#include <charconv>
#include <cmath>

using OrvelFramework::CTableMeasurements;
using OrvelFramework::CTableRecordSet;
using OrvelFramework::TableRows;

namespace LumoraMeasurement
{

namespace
{

// The number part of a value when it is a plain decimal ([-]digits[.digits], at most 15
// digits), read as toDouble() reads it; false for anything else.
bool DoReadPlainDecimal(QStringView sNumber, double& dNumber)
{
    char buffer[24];
    const int iSize = static_cast<int>(sNumber.size());
    if (iSize == 0 || iSize > static_cast<int>(sizeof buffer))
    {
        return false;
    }
    int iDigits = 0;
    int iPoint = -1;
    for (int i = 0; i < iSize; ++i)
    {
        const ushort c = sNumber.at(i).unicode();
        if (c >= '0' && c <= '9')
        {
            ++iDigits;
        }
        else if (c == '.' && iPoint < 0)
        {
            iPoint = i;
        }
        else if (c != '-' || i != 0)
        {
            return false;
        }
        buffer[i] = static_cast<char>(c);
    }
    const int iFirstDigit = buffer[0] == '-' ? 1 : 0;
    if (iDigits == 0 || iDigits > 15 || iPoint == iFirstDigit || iPoint == iSize - 1)
    {
        return false;
    }
    const auto result = std::from_chars(buffer, buffer + iSize, dNumber);
    return result.ec == std::errc() && result.ptr == buffer + iSize;
}

// "12.3456 dBuV" -> "12.35 dBuV"; anything but exactly one blank stays as it is.
QString DoReformatValue(const QString& sValue)
{
    const int iBlank = sValue.indexOf(QLatin1Char(' '));
    if (iBlank < 0 || sValue.indexOf(QLatin1Char(' '), iBlank + 1) >= 0)
    {
        return sValue;
    }
    const QStringView sNumber = QStringView(sValue).left(iBlank);
    double dNumber = 0;
    // Printing a plain decimal needs no locale machinery. Values that round to zero (the sign)
    // and exact halves of a cent (multiples of 1/8 such as 0.125: the tie rule) take the
    // general path, so the text is the same either way.
    if (DoReadPlainDecimal(sNumber, dNumber) && std::fabs(dNumber) >= 0.01 &&
        std::fmod(dNumber * 8, 2) != 1 && std::fmod(dNumber * 8, 2) != -1)
    {
        char buffer[32];
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, dNumber, std::chars_format::fixed, 2);
        if (result.ec == std::errc())
        {
            const int iLength = static_cast<int>(result.ptr - buffer);
            QString sResult;
            sResult.reserve(iLength + sValue.size() - iBlank);
            sResult.append(QLatin1String(buffer, iLength));
            sResult.append(sValue.constData() + iBlank, sValue.size() - iBlank);
            return sResult;
        }
    }
    dNumber = sNumber.toDouble();
    return QString::number(dNumber, 'f', 2) + sValue.mid(iBlank);
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

// A whole number as toInt() (TNumber int) or toLongLong() (qint64) reads it: the plain digits
// the table classes write are read directly, anything else (blanks, a plus sign, overflow) by
// Qt as before.
template <typename TNumber> TNumber DoReadWhole(const QString& sText)
{
    // Digits that cannot overflow the type whatever they are.
    constexpr int c_iSafeDigits = sizeof(TNumber) == 4 ? 9 : 18;
    const int iSize = sText.size();
    const int iFirst = iSize > 0 && sText.at(0) == QLatin1Char('-') ? 1 : 0;
    if (iSize == iFirst || iSize - iFirst > c_iSafeDigits)
    {
        return sizeof(TNumber) == 4 ? static_cast<TNumber>(sText.toInt())
                                    : static_cast<TNumber>(sText.toLongLong());
    }
    TNumber number = 0;
    for (int i = iFirst; i < iSize; ++i)
    {
        const ushort c = sText.at(i).unicode();
        if (c < '0' || c > '9')
        {
            return sizeof(TNumber) == 4 ? static_cast<TNumber>(sText.toInt())
                                        : static_cast<TNumber>(sText.toLongLong());
        }
        number = number * 10 + (c - '0');
    }
    return iFirst == 1 ? -number : number;
}

int DoReadInt(const QString& sText)
{
    return DoReadWhole<int>(sText);
}

// Row ids are 64-bit: a large central database must not mix rows up.
qint64 DoReadId(const QString& sText)
{
    return DoReadWhole<qint64>(sText);
}

enum class EField
{
    Id,
    SessionId,
    ScanId,
    ChannelId,
    MeasurementItem,
    State,
    Value,
    ErrorDescription,
    None
};

// Which field a pair sets. The table classes name the columns with these very strings, so
// the shared text data settles it without comparing characters.
EField DoField(const QString& sColumn)
{
    struct SName
    {
        const QString* pName;
        EField eField;
    };
    static const SName s_Names[] = {
        {&CTableMeasurements::c_sColumnId, EField::Id},
        {&CTableMeasurements::c_sColumnSessionId, EField::SessionId},
        {&CTableMeasurements::c_sColumnScanId, EField::ScanId},
        {&CTableMeasurements::c_sColumnChannelId, EField::ChannelId},
        {&CTableMeasurements::c_sColumnMeasurementItem, EField::MeasurementItem},
        {&CTableMeasurements::c_sColumnState, EField::State},
        {&CTableMeasurements::c_sColumnValue, EField::Value},
        {&CTableMeasurements::c_sColumnErrorDescription, EField::ErrorDescription},
    };
    for (const SName& name : s_Names)
    {
        if (sColumn.constData() == name.pName->constData())
        {
            return name.eField;
        }
    }
    for (const SName& name : s_Names)
    {
        if (sColumn == *name.pName)
        {
            return name.eField;
        }
    }
    return EField::None;
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
        const QString& sValue = pair.GetValue();
        switch (DoField(pair.GetColumn()))
        {
        case EField::Id:
            working.SetMeasurementId(DoReadId(sValue));
            break;
        case EField::SessionId:
            working.SetSessionId(DoReadId(sValue));
            break;
        case EField::ScanId:
            working.SetScanId(DoReadId(sValue));
            break;
        case EField::ChannelId:
            working.SetChannelId(DoReadId(sValue));
            break;
        case EField::MeasurementItem:
            working.SetMeasurementItem(DoReadInt(sValue));
            break;
        case EField::State:
            working.SetMeasurementState(DoReadInt(sValue));
            break;
        case EField::Value:
            working.SetValue(bReformatValues ? DoReformatValue(sValue) : sValue);
            break;
        case EField::ErrorDescription:
            working.SetErrorDescription(sValue);
            measurements.push_back(working);
            break;
        case EField::None:
            break;
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
    CTableMeasurements table(m_rDatabase);
    return table.Create(lSessionId, lScanId, lChannelId, lMeasurementId);
}

bool CDBMeasurementController::Update(const CDBMeasurement& measurement)
{
    if (measurement.GetMeasurementId() < 1)
    {
        return m_rDatabase.Fail(
            QStringLiteral("Cannot change measurement %1: measurement ids start at 1")
                .arg(measurement.GetMeasurementId()));
    }
    CTableMeasurements table(m_rDatabase);
    return table.Update(measurement.GetSessionId(), measurement.GetScanId(),
                        measurement.GetMeasurementId(), measurement.GetChannelId(),
                        measurement.GetMeasurementItem(), measurement.GetMeasurementState(),
                        measurement.GetValue(), measurement.GetErrorDescription());
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
            measurement.SetSessionId(pair.GetValue().toLongLong());
        }
        else if (sColumn == CTableMeasurements::c_sColumnScanId)
        {
            measurement.SetScanId(pair.GetValue().toLongLong());
        }
        else if (sColumn == CTableMeasurements::c_sColumnChannelId)
        {
            measurement.SetChannelId(pair.GetValue().toLongLong());
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

QString CDBMeasurementController::LastError() const
{
    return m_rDatabase.LastError();
}

} // namespace LumoraMeasurement

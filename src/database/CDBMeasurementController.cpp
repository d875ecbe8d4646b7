#include "CDBMeasurementController.h"

#include "CDatabaseMultiInstance.h"
#include "CTableMeasurements.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

using OrvelFramework::CTableMeasurements;
using OrvelFramework::CTableRecordSet;
using OrvelFramework::TableRows;

namespace LumoraMeasurement
{

namespace
{

constexpr double c_dNotPlain = std::numeric_limits<double>::quiet_NaN();

// The number part of a value when it is a plain decimal ([-]digits[.digits], at most 15
// digits), read as toDouble() reads it; NaN for anything else.
double DoReadPlainDecimal(QStringView sNumber)
{
    // Zeroed, so that the parse never takes stale stack bytes for digits.
    char buffer[24] = {};
    const int iSize = static_cast<int>(sNumber.size());
    if (iSize == 0 || iSize > static_cast<int>(sizeof buffer))
    {
        return c_dNotPlain;
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
            return c_dNotPlain;
        }
        buffer[i] = static_cast<char>(c);
    }
    const int iFirstDigit = buffer[0] == '-' ? 1 : 0;
    if (iDigits == 0 || iDigits > 15 || iPoint == iFirstDigit || iPoint == iSize - 1)
    {
        return c_dNotPlain;
    }
    double dNumber = c_dNotPlain;
    const auto result = std::from_chars(buffer, buffer + iSize, dNumber);
    return result.ec == std::errc() && result.ptr == buffer + iSize ? dNumber : c_dNotPlain;
}

// Whether the number is an odd multiple of 1/8 (0.125, 0.375, ...). Both steps are exact for
// any double, so the answer holds whatever the number of digits.
bool IsOddEighth(double dNumber)
{
    return std::fabs(std::fmod(dNumber * 8, 2.0)) == 1.0;
}

// Whether a number is already printed as the reformatting prints it: a plain decimal of at most
// 15 digits with two decimals, no leading zero and not zero ("12.30", "-0.05"). Such a text
// reads as the double nearest to it, which prints back as the same text.
bool IsPrintedWithTwoDecimals(QStringView sNumber)
{
    const int iSize = static_cast<int>(sNumber.size());
    const int iFirst = sNumber.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (iSize - iFirst < 4 || iSize - iFirst > 16 || sNumber.at(iSize - 3) != QLatin1Char('.'))
    {
        return false;
    }
    bool bNonZero = false;
    int i = iFirst;
    for (const QChar ch : sNumber.mid(iFirst))
    {
        const ushort c = ch.unicode();
        if (i != iSize - 3 && (c < '0' || c > '9'))
        {
            return false;
        }
        bNonZero = bNonZero || (c > '0' && c <= '9');
        ++i;
    }
    return bNonZero && (sNumber.at(iFirst) != QLatin1Char('0') || iFirst + 1 == iSize - 3);
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
    if (IsPrintedWithTwoDecimals(sNumber))
    {
        return sValue;
    }
    // Printing a plain decimal needs no locale machinery. Values that round to zero (the sign)
    // and exact halves of a cent (multiples of 1/8 such as 0.125: the tie rule) take the
    // general path, so the text is the same either way; NaN (no plain decimal) takes it too.
    const double dNumber = DoReadPlainDecimal(sNumber);
    if (std::fabs(dNumber) >= 0.01 && !IsOddEighth(dNumber))
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
    return QString::number(sNumber.toDouble(), 'f', 2) + sValue.mid(iBlank);
}

// A whole number as the driver hands it out (SQLite: qint64; PostgreSQL: qint64 when
// negative, quint64 otherwise); false for anything else, which a SQLite file written by other
// tools may hold: a text, a real, NULL.
bool IsWholeNumber(const QVariant& value, qint64& llValue)
{
    switch (value.userType())
    {
    case QMetaType::LongLong:
    case QMetaType::Int:
        llValue = value.toLongLong();
        return true;
    case QMetaType::ULongLong:
    case QMetaType::UInt:
        if (value.toULongLong() > static_cast<qulonglong>(std::numeric_limits<qint64>::max()))
        {
            return false;
        }
        llValue = value.toLongLong();
        return true;
    default:
        return false;
    }
}

// A whole-number column as the text reads gave it: a number is taken as it is (a 32-bit field
// is 0 when it does not fit, as toInt() of its text), anything else goes through its text.
int DoReadInt(const QVariant& value)
{
    qint64 llValue = 0;
    if (IsWholeNumber(value, llValue))
    {
        return llValue >= std::numeric_limits<int>::min() &&
                       llValue <= std::numeric_limits<int>::max()
                   ? static_cast<int>(llValue)
                   : 0;
    }
    return value.toString().toInt();
}

// Row ids are 64-bit: a large central database must not mix rows up.
qint64 DoReadId(const QVariant& value)
{
    qint64 llValue = 0;
    return IsWholeNumber(value, llValue) ? llValue : value.toString().toLongLong();
}

// The same, from column i of the cursor's row: a stored whole number needs no QVariant.
int DoReadInt(const OrvelFramework::CTableCursor& cursor, int i)
{
    qint64 llValue = 0;
    if (cursor.WholeNumber(i, llValue))
    {
        return llValue >= std::numeric_limits<int>::min() &&
                       llValue <= std::numeric_limits<int>::max()
                   ? static_cast<int>(llValue)
                   : 0;
    }
    return DoReadInt(cursor.Value(i));
}

qint64 DoReadId(const OrvelFramework::CTableCursor& cursor, int i)
{
    qint64 llValue = 0;
    return cursor.WholeNumber(i, llValue) ? llValue : DoReadId(cursor.Value(i));
}

using Table = CTableMeasurements;

// A text read one character past the bound was longer: it is cut where the bound is, visibly.
void DoBoundText(QString& sText)
{
    static_assert(Table::c_iMaxTextLength == CDBMeasurement::c_iMaxTextLength,
                  "the read and the record agree on the bound");
    if (sText.size() > CDBMeasurement::c_iMaxTextLength)
    {
        sText.truncate(CDBMeasurement::c_iMaxTextLength);
        sText += CDBMeasurement::c_sCutMarker;
    }
}

// The record of the cursor's current row.
void DoReadRow(OrvelFramework::CTableCursor& cursor, CDBMeasurement& record, bool bReformatValue,
               bool bShare = false)
{
    record.SetMeasurementId(DoReadId(cursor, Table::c_iReadId));
    record.SetSessionId(DoReadId(cursor, Table::c_iReadSessionId));
    record.SetScanId(DoReadId(cursor, Table::c_iReadScanId));
    record.SetChannelId(DoReadId(cursor, Table::c_iReadChannelId));
    record.SetMeasurementItem(DoReadInt(cursor, Table::c_iReadMeasurementItem));
    record.SetMeasurementState(DoReadInt(cursor, Table::c_iReadState));
    // The records of a large read share one copy of a text met recently.
    QString sValue = cursor.Text(Table::c_iReadValue, bShare);
    DoBoundText(sValue);
    if (bReformatValue)
    {
        sValue = DoReformatValue(sValue);
    }
    QString sError = cursor.Text(Table::c_iReadErrorDescription, bShare);
    DoBoundText(sError);
    record.SetValue(sValue);
    record.SetErrorDescription(sError);
}

// Appends the records of an opened read, straight from the rows; a read that fails on the
// way adds none.
bool DoAppendRows(OrvelFramework::CTableCursor& cursor, std::vector<CDBMeasurement>& measurements,
                  bool bReformatValues, bool bShare = false)
{
    const size_t uStart = measurements.size();
    while (cursor.Next())
    {
        DoReadRow(cursor, measurements.emplace_back(), bReformatValues, bShare);
    }
    if (!cursor.Finish())
    {
        measurements.resize(uStart);
        return false;
    }
    return true;
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

bool CDBMeasurementController::GetAllErrorsForSession(long lSessionId,
                                                      std::vector<CDBMeasurement>& measurements)
{
    measurements.clear();
    OrvelFramework::CTableCursor cursor(m_rDatabase);
    return CTableMeasurements(m_rDatabase).OpenAllErrorsForSession(lSessionId, cursor) &&
           DoAppendRows(cursor, measurements, false);
}

bool CDBMeasurementController::GetAllResultsForSession(long lSessionId,
                                                       std::vector<CDBMeasurement>& measurements)
{
    measurements.clear();
    CTableMeasurements table(m_rDatabase);
    // A whole session is large: room for it at once spares copying it while it grows. The
    // count is only a hint; a failed count leaves the read to fail or succeed on its own.
    const long lCount = table.GetAmountOfResultsForSession(lSessionId);
    if (lCount > 0)
    {
        measurements.reserve(static_cast<size_t>(lCount));
    }
    OrvelFramework::CTableCursor cursor(m_rDatabase);
    if (!table.OpenAllResultsForSession(lSessionId, cursor))
    {
        return false;
    }
    return DoAppendRows(cursor, measurements, false, true);
}

bool CDBMeasurementController::ForEachResultOfSession(
    long lSessionId, const std::function<bool(const CDBMeasurement&)>& row)
{
    OrvelFramework::CTableCursor cursor(m_rDatabase);
    if (!CTableMeasurements(m_rDatabase).OpenAllResultsForSessionByScan(lSessionId, cursor))
    {
        return false;
    }
    CDBMeasurement record;
    while (cursor.Next())
    {
        DoReadRow(cursor, record, false);
        if (!row(record))
        {
            break;
        }
    }
    return cursor.Finish();
}

bool CDBMeasurementController::GetMeasurementResultsForChannel(
    long lSessionId, long lChannelId, long lItemId, std::vector<CDBMeasurement>& measurements)
{
    OrvelFramework::CTableCursor cursor(m_rDatabase);
    return CTableMeasurements(m_rDatabase)
               .OpenMeasurementsForChannel(lSessionId, lChannelId, lItemId, cursor) &&
           DoAppendRows(cursor, measurements, false);
}

bool CDBMeasurementController::GetAllMeasurementResultsForChannel(
    long lSessionId, long lScan, long lChannelId, std::vector<CDBMeasurement>& measurements)
{
    OrvelFramework::CTableCursor cursor(m_rDatabase);
    return CTableMeasurements(m_rDatabase)
               .OpenAllMeasurementsForChannel(lSessionId, lScan, lChannelId, cursor) &&
           DoAppendRows(cursor, measurements, true);
}

bool CDBMeasurementController::ForEachMeasurementResultByScanAndChannel(
    long lSessionId, long lScans, long lChannels,
    const std::function<bool(const CDBMeasurement&)>& row)
{
    OrvelFramework::CTableCursor cursor(m_rDatabase);
    if (lScans <= 0 || lChannels <= 0)
    {
        return true;
    }
    if (!CTableMeasurements(m_rDatabase)
             .OpenMeasurementsByScanAndChannel(lSessionId, lScans, lChannels, cursor))
    {
        return false;
    }
    CDBMeasurement record;
    while (cursor.Next())
    {
        // A channel id held as a text or a fraction equals no channel row.
        qint64 llChannel = 0;
        if (!IsWholeNumber(cursor.Value(CTableMeasurements::c_iReadChannelId), llChannel))
        {
            continue;
        }
        DoReadRow(cursor, record, true);
        if (!row(record))
        {
            break;
        }
    }
    return cursor.Finish();
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

bool CDBMeasurementController::CreateCopies(long lSessionId,
                                            const std::vector<CDBMeasurement>& measurements)
{
    QVariantList values;
    values.reserve(static_cast<int>(measurements.size()) * CTableMeasurements::c_iCopyColumns);
    const auto text = [](const QString& s) { return s.isNull() ? QStringLiteral("") : s; };
    for (const CDBMeasurement& measurement : measurements)
    {
        values.append(measurement.GetScanId());
        values.append(measurement.GetChannelId());
        values.append(static_cast<qlonglong>(measurement.GetMeasurementItem()));
        values.append(static_cast<qlonglong>(measurement.GetMeasurementState()));
        values.append(text(measurement.GetValue()));
        values.append(text(measurement.GetErrorDescription()));
    }
    return CTableMeasurements(m_rDatabase).CreateRows(lSessionId, values);
}

} // namespace LumoraMeasurement

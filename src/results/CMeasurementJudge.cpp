#include "CMeasurementJudge.h"

#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CComparativeValueDataItem.h"
#include "CConverter.h"
#include "CEnumTemplate.h"
#include "CStringUtil.h"
#include "ESettingsItems.h"

#include <QtGlobal>

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace LumoraMeasurement
{

namespace
{

/// Stored id to enumerator for a representation table, first row winning; the sentinel for
/// ids without a row. Built once so that a million records need no table walk.
template <typename E> std::vector<E> IdLookup()
{
    long lMax = -1;
    for (const auto& row : CRepresentation<E>::Table())
    {
        lMax = std::max(lMax, row.m_lId);
    }
    std::vector<E> byId(static_cast<size_t>(lMax + 1), CEnumTemplate<E>::Sentinel());
    std::vector<bool> taken(byId.size(), false);
    for (const auto& row : CRepresentation<E>::Table())
    {
        if (row.m_lId >= 0 && !taken[static_cast<size_t>(row.m_lId)])
        {
            taken[static_cast<size_t>(row.m_lId)] = true;
            byId[static_cast<size_t>(row.m_lId)] = row.m_eEnumValue;
        }
    }
    return byId;
}

template <typename E> E Lookup(const std::vector<E>& byId, long lId)
{
    return lId >= 0 && lId < static_cast<long>(byId.size()) ? byId[static_cast<size_t>(lId)]
                                                            : CEnumTemplate<E>::Sentinel();
}

// An error text quotes at most this much of a stored value.
constexpr int c_iQuotedValueLength = 64;

QString UnreadableValueText(EMeasurementItems eItem, const QString& sValue)
{
    const QString sQuoted = sValue.size() > c_iQuotedValueLength
                                ? sValue.left(c_iQuotedValueLength) + QStringLiteral("...")
                                : sValue;
    return CEnumTemplate<EMeasurementItems>::ToString(eItem) +
           QStringLiteral(": the stored value \"") + sQuoted +
           QStringLiteral("\" is not a finite number");
}

/// The part of a value text before its first blank (the whole text without one), as the
/// number parsers may see it: the whitespace Qt would skip is trimmed here, and a part that
/// then holds anything but printable ASCII (a NUL, a control character, a full-width digit) is
/// no number. Qt 5 and Qt 6 read such texts differently; both read printable ASCII alike.
bool NumberText(const QString& sValue, QStringView& number)
{
    const int iBlank = sValue.indexOf(QLatin1Char(' '));
    number = QStringView(sValue).left(iBlank < 0 ? sValue.size() : iBlank);
    const auto isSkipped = [](QChar c)
    { return c == QLatin1Char('\t') || (c >= QLatin1Char('\n') && c <= QLatin1Char('\r')); };
    while (!number.isEmpty() && isSkipped(number.front()))
    {
        number = number.mid(1);
    }
    while (!number.isEmpty() && isSkipped(number.back()))
    {
        number.chop(1);
    }
    for (const QChar c : number)
    {
        if (c.unicode() < 0x21 || c.unicode() > 0x7E)
        {
            return false;
        }
    }
    return true;
}

/// The number before the first blank of a value text (the whole text without one).
float LeadingFloat(const QString& sValue, bool* pOk = nullptr)
{
    QStringView number;
    if (!NumberText(sValue, number))
    {
        if (pOk != nullptr)
        {
            *pOk = false;
        }
        return 0.0F;
    }
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return number.toFloat(pOk);
#else
    // The same parser as QString::toFloat, without a copy of the text.
    return QStringRef(&sValue, static_cast<int>(number.data() - sValue.constData()),
                      static_cast<int>(number.size()))
        .toFloat(pOk);
#endif
}

int LeadingInt(const QString& sValue, bool* pOk)
{
    QStringView number;
    if (!NumberText(sValue, number))
    {
        *pOk = false;
        return 0;
    }
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return number.toInt(pOk, 10);
#else
    return number.toString().toInt(pOk, 10);
#endif
}

/// A floating-point value as judging rewrites it: the number in fixed notation with two
/// decimals (exponent notation below 0.01), as QString::number() writes it; that text read
/// back in single precision, the value the cell holds; and what the limit compares, the
/// number of the cell's six-digit value text.
struct SNormalisedFloat
{
    char m_acNumber[48] = {}; // the longest is -FLT_MAX: 40 digits, sign and decimals
    int m_iLength = 0;
    double m_dCell = 0.0;
    double m_dCompared = 0.0;
};

constexpr std::uint64_t c_auPowersOfTen[] = {
    1,        10,        100,        1000,        10000,        100000,        1000000,
    10000000, 100000000, 1000000000, 10000000000, 100000000000, 1000000000000, 10000000000000};

/// The number the six-significant-digit text of a cell value (QString::number(d, 'g', 6))
/// reads back as, without writing the text where integer arithmetic is exact.
double SixDigitValue(double dCell)
{
    const double dAbs = std::fabs(dCell);
    if (!(dAbs >= 1e4 && dAbs < 0x1p63))
    {
        // Beyond any measurement: below single precision's normal range or above 2^63.
        return QString::number(dCell, 'g', 6).toDouble();
    }
    // dAbs is uScaled / 2^iShift exactly: a single-precision value from 1e4 on has at most ten
    // bits after the point.
    double dScaled = dAbs;
    int iShift = 0;
    while (dScaled != std::floor(dScaled))
    {
        dScaled *= 2.0;
        ++iShift;
    }
    const auto uScaled = static_cast<std::uint64_t>(dScaled);
    int iDigits = 0;
    for (std::uint64_t uWhole = uScaled >> iShift; uWhole != 0; uWhole /= 10)
    {
        ++iDigits;
    }
    // Five whole digits keep one decimal; more lose iDigits - 6 of them. Halves round away
    // from zero, as QString rounds them.
    std::uint64_t uNumerator = uScaled;
    std::uint64_t uDenominator = std::uint64_t(1) << iShift;
    if (iDigits == 5)
    {
        uNumerator *= 10;
    }
    else
    {
        uDenominator *= c_auPowersOfTen[iDigits - 6];
    }
    std::uint64_t uRounded = uNumerator / uDenominator;
    if (2 * (uNumerator % uDenominator) >= uDenominator)
    {
        ++uRounded;
    }
    // One correctly rounded operation on exact operands: the double nearest to the text.
    const double dRounded = iDigits == 5 ? static_cast<double>(uRounded) / 10.0
                                         : static_cast<double>(uRounded) *
                                               static_cast<double>(c_auPowersOfTen[iDigits - 6]);
    return dCell < 0 ? -dRounded : dRounded;
}

SNormalisedFloat NormaliseFloat(float fValue)
{
    SNormalisedFloat number;
    char* const pBegin = number.m_acNumber;
    char* const pEnd = pBegin + sizeof number.m_acNumber;
    const double dValue = static_cast<double>(fValue);
    const bool bFixed = fValue == 0.0f || std::fabs(fValue) >= 0.01f;
    if (!std::isfinite(fValue))
    {
        // Never judged, only rewritten.
        const QByteArray text = QString::number(dValue, bFixed ? 'f' : 'e', 2).toLatin1();
        number.m_iLength =
            std::min(static_cast<int>(text.size()), static_cast<int>(sizeof number.m_acNumber));
        std::copy_n(text.constData(), number.m_iLength, pBegin);
        return number;
    }
    if (fValue == 0.0f)
    {
        // Without a sign, also for -0.
        number.m_iLength = 4;
        std::copy_n("0.00", 4, pBegin);
        return number;
    }
    double dText = 0.0; // the double nearest to the text's number
    const double dAbs = std::fabs(dValue);
    if (bFixed && dAbs < 0x1p24)
    {
        // Exact: 24 significant bits times 100 fit into 53. Halves round away from zero.
        const double dHundredths = dAbs * 100.0;
        const double dWhole = std::floor(dHundredths);
        const std::uint32_t uHundredths =
            static_cast<std::uint32_t>(dWhole) + (dHundredths - dWhole >= 0.5 ? 1u : 0u);
        char* p = pBegin;
        if (fValue < 0.0f)
        {
            *p++ = '-';
        }
        p = std::to_chars(p, pEnd, uHundredths / 100).ptr;
        *p++ = '.';
        *p++ = static_cast<char>('0' + uHundredths / 10 % 10);
        *p++ = static_cast<char>('0' + uHundredths % 10);
        number.m_iLength = static_cast<int>(p - pBegin);
        // A quotient of exact operands is correctly rounded, as reading the text is.
        dText = static_cast<double>(uHundredths) / 100.0;
        dText = fValue < 0.0f ? -dText : dText;
        number.m_dCell = static_cast<double>(static_cast<float>(dText));
        // Up to six digits the six-digit text of the cell is the number itself: single
        // precision lies far closer to it than half a sixth digit.
        number.m_dCompared = uHundredths < 1000000 ? dText : SixDigitValue(number.m_dCell);
        return number;
    }
    // Whole numbers from 2^24 on are written exactly, and no exponent form below 0.01 lies
    // halfway between two texts: correct rounding is QString's rounding here.
    const auto written = std::to_chars(
        pBegin, pEnd, dValue, bFixed ? std::chars_format::fixed : std::chars_format::scientific, 2);
    number.m_iLength = static_cast<int>(written.ptr - pBegin);
    std::from_chars(pBegin, written.ptr, dText);
    // Never beyond single precision nor below its smallest value: a plain conversion.
    number.m_dCell = static_cast<double>(static_cast<float>(dText));
    number.m_dCompared = !bFixed && std::fabs(number.m_dCell) >= static_cast<double>(FLT_MIN)
                             ? dText
                             : SixDigitValue(number.m_dCell);
    return number;
}

/// Writes the normalised number into the value text, followed by a blank and the text's
/// unit (its second word); the text is left alone when it reads so already.
void RewriteValueText(CDBMeasurement& record, const SNormalisedFloat& number)
{
    const QString& sStored = record.GetValue();
    const QLatin1String sNumber(number.m_acNumber, number.m_iLength);
    const int iBlank = sStored.indexOf(QLatin1Char(' '));
    const int iNext = iBlank < 0 ? -1 : sStored.indexOf(QLatin1Char(' '), iBlank + 1);
    if (iBlank == number.m_iLength && iNext < 0 && sStored.startsWith(sNumber))
    {
        return;
    }
    const int iUnit = iBlank < 0 ? sStored.size() : iBlank + 1;
    const int iUnitEnd = iNext < 0 ? sStored.size() : iNext;
    QString sValue;
    sValue.reserve(number.m_iLength + 1 + iUnitEnd - iUnit);
    sValue.append(sNumber);
    sValue.append(QLatin1Char(' '));
    sValue.append(sStored.constData() + iUnit, iUnitEnd - iUnit);
    record.SetValue(sValue);
}

} // namespace

CMeasurementJudge::CMeasurementJudge(const CComparativeValueData& limits,
                                     const CChannelTableData& channelTable)
    : m_vItemOfId(IdLookup<EMeasurementItems>()), m_vStateOfId(IdLookup<EMeasurementItemState>()),
      m_lValidId(CEnumTemplate<EMeasurementItemState>::ToId(eMeasurementItemState_Valid)),
      m_lOutOfRangeId(CEnumTemplate<EMeasurementItemState>::ToId(eMeasurementItemState_OutOfRange)),
      m_lErrorId(CEnumTemplate<EMeasurementItemState>::ToId(eMeasurementItemState_Error))
{
    m_vPrototypes.reserve(eMeasItem_None + 1);
    m_vRules.reserve(eMeasItem_None + 1);
    for (int i = 0; i <= eMeasItem_None; ++i)
    {
        const auto eItem = static_cast<EMeasurementItems>(i);
        m_vPrototypes.emplace_back(eItem);
        const CMeasurementItem& prototype = m_vPrototypes.back();
        SItemRule rule;
        rule.m_eValueType = prototype.ValueType();
        rule.m_pLimit = &limits.GetItem(eItem);
        rule.m_sUnitSuffix = QLatin1Char(' ') + CConverter::GetUnitString(prototype.Unit());
        const EValueType eLimitType = rule.m_pLimit->GetValueType();
        if (rule.m_eValueType == eValueType_Float && eLimitType == eValueType_Float)
        {
            // The limit must read the numbers of the value text unchanged: its unit is the
            // item's, and the unit text brings no characters of a number.
            const auto reads = [&rule](const QString& sNumber)
            {
                return CConverter::ConvertValueMeasurement(sNumber + rule.m_sUnitSuffix,
                                                           rule.m_pLimit->GetUnit()) ==
                       sNumber.toDouble();
            };
            if (reads(QStringLiteral("-1.5")) && reads(QStringLiteral("2.5e-05")))
            {
                rule.m_eRoute = ERoute::Number;
            }
        }
        else if (rule.m_eValueType == eValueType_Integer && eLimitType == eValueType_Integer)
        {
            rule.m_eRoute = ERoute::Integer;
            CMeasurementItem probe = prototype;
            probe.Set(static_cast<short>(12), eUnitType_None);
            bool bOk = false;
            rule.m_bIntegerTextReadsBack = probe.ToString().toInt(&bOk, 10) == 12 && bOk;
        }
        m_vRules.push_back(rule);
    }
    const QString sOffsetColumn =
        CEnumTemplate<ESettingsItems>::ToString(eSettingsItem_PowerLimitOffset);
    m_vPowerOffsets.reserve(static_cast<size_t>(std::max(0L, channelTable.GetRowCount())));
    for (long r = 0; r < channelTable.GetRowCount(); ++r)
    {
        m_vPowerOffsets.push_back(
            static_cast<double>(LeadingFloat(channelTable.GetValue(r, sOffsetColumn))));
    }
}

double CMeasurementJudge::PowerLimitOffset(long lChannelId) const
{
    return lChannelId >= 0 && lChannelId < static_cast<long>(m_vPowerOffsets.size())
               ? m_vPowerOffsets[static_cast<size_t>(lChannelId)]
               : 0.0;
}

QString CMeasurementJudge::DoValueText(EMeasurementItems eItem, const CDBMeasurement& record,
                                       double dCell, int iInteger) const
{
    CMeasurementItem item = m_vPrototypes[static_cast<size_t>(eItem)];
    switch (item.ValueType())
    {
    case eValueType_Bool:
        item.Set(OrvelFramework::CStringUtil::ConvertToBool(record.GetValue()), eUnitType_None);
        break;
    case eValueType_Integer:
        item.Set(static_cast<short>(iInteger), eUnitType_None);
        break;
    case eValueType_Float:
        item.Set(dCell, eUnitType_None);
        break;
    case eValueType_Text:
        item.Set(record.GetValue(), eUnitType_None);
        break;
    default:
        break;
    }
    return item.ToString();
}

EJudgement CMeasurementJudge::Judge(CDBMeasurement& record) const
{
    return DoJudge(record, true);
}

EJudgement CMeasurementJudge::JudgeWithoutText(CDBMeasurement& record) const
{
    return DoJudge(record, false);
}

QString CMeasurementJudge::ViolationText(const CDBMeasurement& record) const
{
    // Judging a rewritten value again rewrites nothing: the same number meets the same limit.
    CDBMeasurement judged = record;
    return DoJudge(judged, true) == eJudgement_Violation ? judged.GetErrorDescription() : QString();
}

EJudgement CMeasurementJudge::DoJudge(CDBMeasurement& record, bool bWithText) const
{
    const EMeasurementItems eItem = Lookup(m_vItemOfId, record.GetMeasurementItem());
    const SItemRule& rule = m_vRules[static_cast<size_t>(eItem)];
    const EMeasurementItemState eStoredState = Lookup(m_vStateOfId, record.GetMeasurementState());
    const bool bMeasured = eStoredState == eMeasurementItemState_Valid ||
                           eStoredState == eMeasurementItemState_OutOfRange;

    bool bReadable = true;
    int iInteger = 0;
    SNormalisedFloat number;
    if (rule.m_eValueType == eValueType_Integer)
    {
        iInteger = LeadingInt(record.GetValue(), &bReadable);
    }
    else if (rule.m_eValueType == eValueType_Float)
    {
        // A text that is no number reads as 0, as toFloat() gives it.
        const float fNumber = LeadingFloat(record.GetValue(), &bReadable);
        bReadable = bReadable && std::isfinite(fNumber);
        // A measured value that cannot be read is left as stored: the error text quotes it.
        if (!bMeasured || bReadable)
        {
            number = NormaliseFloat(fNumber);
            RewriteValueText(record, number);
        }
    }

    if (!bMeasured)
    {
        return eStoredState == eMeasurementItemState_Error ? eJudgement_Error
                                                           : eJudgement_NotJudged;
    }
    // A measured value whose number cannot be read is a measurement error, never a silent 0.
    if (!bReadable)
    {
        record.SetMeasurementState(m_lErrorId);
        record.SetErrorDescription(UnreadableValueText(eItem, record.GetValue()));
        return eJudgement_Error;
    }
    const double dOffset = eItem == eMeasItem_Power ? PowerLimitOffset(record.GetChannelId()) : 0.0;
    const CComparativeValueDataItem& limit = *rule.m_pLimit;
    QString sViolation;
    bool bWithin = false;
    switch (rule.m_eRoute)
    {
    case ERoute::Number:
        // The value text is only written for the violation text.
        bWithin = limit.IsFloatWithin(number.m_dCompared, dOffset) ||
                  (bWithText &&
                   limit.InRangeFloat(number.m_dCompared,
                                      QString::number(number.m_dCell, 'g', 6) + rule.m_sUnitSuffix,
                                      sViolation, dOffset));
        break;
    case ERoute::Integer:
        bWithin = limit.InRangeInteger(
            rule.m_bIntegerTextReadsBack ? static_cast<short>(iInteger) : 0, sViolation);
        break;
    case ERoute::Text:
        bWithin = limit.InRange(DoValueText(eItem, record, number.m_dCell, iInteger), sViolation,
                                dOffset);
        break;
    }
    if (bWithin)
    {
        record.SetErrorDescription(QString());
        record.SetMeasurementState(m_lValidId);
        return eJudgement_Within;
    }
    record.SetErrorDescription(bWithText ? sViolation : QString());
    record.SetMeasurementState(m_lOutOfRangeId);
    return eJudgement_Violation;
}

} // namespace LumoraMeasurement

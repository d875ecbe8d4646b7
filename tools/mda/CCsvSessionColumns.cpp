#include "CCsvSessionColumns.h"

#include "CComparativeValueDataItem.h"
#include "CConverter.h"
#include "CCsvField.h"
#include "CEnumTemplate.h"
#include "CJudgedSession.h"
#include "CValueFactory.h"
#include "ECompareType.h"
#include "EMeasurementItems.h"
#include "ESettingsItems.h"
#include "ETVStandards.h"

#include <QDateTime>

#include <algorithm>
#include <charconv>
#include <cmath>

using namespace LumoraMeasurement;

namespace
{

// Frequency units of a channel cell, by the factor to Hz; longest names first, so that "Hz"
// is only tried after the scaled ones.
struct SFrequencyUnit
{
    const char* m_pszName;
    double m_dFactor;
};
const SFrequencyUnit c_aFrequencyUnits[] = {
    {"GHz", 1e9},
    {"MHz", 1e6},
    {"kHz", 1e3},
    {"Hz", 1.0},
};

// Codes a state item's words are looked up for; the state enumerations have two.
constexpr long c_lStateCodes = 16;

QString Chars(const char* pBegin, const char* pEnd)
{
    return QString::fromLatin1(pBegin, static_cast<int>(pEnd - pBegin));
}

/// The shortest text that reads back as the single-precision number.
QString FloatText(float fValue)
{
    if (!std::isfinite(fValue))
    {
        return QString();
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, fValue);
    return Chars(buffer, result.ptr);
}

/// iDigits significant digits, exponent form only where it is shorter; empty when not finite.
QString NumberText(double dValue, int iDigits)
{
    if (!std::isfinite(dValue))
    {
        return QString();
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, dValue == 0.0 ? 0.0 : dValue,
                                      std::chars_format::general, iDigits);
    return Chars(buffer, result.ptr);
}

/// The whole of sText as a decimal number, plain ASCII only. The texts read here are numbers
/// as the library writes them (judged values, limits, channel cells), never with a plus sign.
bool ReadDecimal(QStringView sText, double& dValue)
{
    if (sText.isEmpty() || sText.size() > 64)
    {
        return false;
    }
    char buffer[64];
    const qsizetype iSize = sText.size();
    for (qsizetype i = 0; i < iSize; ++i)
    {
        const ushort uChar = sText[i].unicode();
        if (uChar >= 0x80)
        {
            return false;
        }
        buffer[i] = static_cast<char>(uChar);
    }
    const auto result = std::from_chars(buffer, buffer + iSize, dValue);
    return result.ec == std::errc() && result.ptr == buffer + iSize && std::isfinite(dValue);
}

/// The part of a value text before its first blank.
QStringView NumberPart(QStringView sValue)
{
    const auto iBlank = sValue.indexOf(QLatin1Char(' '));
    return iBlank < 0 ? sValue : sValue.left(iBlank);
}

/// The word after the first blank of a value text.
QStringView UnitPart(QStringView sValue)
{
    const auto iBlank = sValue.indexOf(QLatin1Char(' '));
    if (iBlank < 0)
    {
        return QStringView();
    }
    const QStringView sRest = sValue.mid(iBlank + 1);
    const auto iNext = sRest.indexOf(QLatin1Char(' '));
    return iNext < 0 ? sRest : sRest.left(iNext);
}

bool IsRange(ECompareType eCompare)
{
    return eCompare == eCompareType_Between || eCompare == eCompareType_Lower ||
           eCompare == eCompareType_Higher;
}

bool IsEquality(ECompareType eCompare)
{
    return eCompare == eCompareType_Equal || eCompare == eCompareType_NotEqual;
}

} // namespace

CCsvSessionColumns::CCsvSessionColumns(CJudgedSession& session)
{
    // Items by stored id, the first row of an id winning, as the judge reads them.
    for (const auto& row : CRepresentation<EMeasurementItems>::Table())
    {
        if (row.m_lId < 0 || row.m_eEnumValue == eMeasItem_None)
        {
            continue;
        }
        if (static_cast<size_t>(row.m_lId) >= m_vItems.size())
        {
            m_vItems.resize(static_cast<size_t>(row.m_lId) + 1);
        }
        SItem& item = m_vItems[static_cast<size_t>(row.m_lId)];
        if (item.m_bKnown)
        {
            continue;
        }
        const EMeasurementItems eItem = row.m_eEnumValue;
        const CComparativeValueDataItem& limit = session.Limits().GetItem(eItem);
        const ECompareType eCompare = limit.GetCompareType();
        const EValueType eLimitType = limit.GetValueType();
        item.m_bKnown = true;
        item.m_eValueType = CValueFactory::MeasurementItem_GetItemValueType(eItem);
        item.m_bState = limit.IsStateItem();
        if (item.m_bState)
        {
            for (long lCode = 0; lCode < c_lStateCodes; ++lCode)
            {
                item.m_vStateWords.push_back(limit.GetEnumStringFromInteger(lCode));
            }
        }
        const QString sCompare = CEnumTemplate<ECompareType>::ToString(eCompare);
        item.m_sCompare =
            CCsvField::Make(sCompare.isEmpty() ? QString::number(eCompare) : sCompare);

        // Only the limits the comparison reads; an equality's expected value is the low one.
        SLimitFields& fields = item.m_Limits;
        const bool bRange = IsRange(eCompare);
        item.m_bLow = eCompare == eCompareType_Between || eCompare == eCompareType_Higher;
        item.m_bHigh = eCompare == eCompareType_Between || eCompare == eCompareType_Lower;
        if (eLimitType == eValueType_Float && bRange)
        {
            fields.m_dLow = static_cast<double>(limit.GetLowValue().toFloat());
            fields.m_dHigh = static_cast<double>(limit.GetHighValue().toFloat());
            fields.m_sLow = FloatText(limit.GetLowValue().toFloat());
            fields.m_sHigh = FloatText(limit.GetHighValue().toFloat());
            item.m_bMargin = item.m_eValueType == eValueType_Float &&
                             limit.GetUnit() == CValueFactory::MeasurementItem_GetItemUnit(eItem);
            item.m_bPerChannel = eItem == eMeasItem_Power;
        }
        else if (eLimitType == eValueType_Integer && item.m_bState && IsEquality(eCompare))
        {
            const QString sWord = limit.GetEnumStringFromInteger(limit.GetLowValue().toInt());
            fields.m_sLow = CCsvField::Make(
                sWord.isEmpty() ? QString::number(limit.GetLowValue().toInt()) : sWord);
            item.m_bLow = true;
        }
        else if (eLimitType == eValueType_Integer && !item.m_bState &&
                 (bRange || IsEquality(eCompare)))
        {
            fields.m_sLow = QString::number(limit.GetLowValue().toInt());
            fields.m_sHigh = QString::number(limit.GetHighValue().toInt());
            item.m_bLow = item.m_bLow || IsEquality(eCompare);
        }
        else if (eLimitType == eValueType_Text && IsEquality(eCompare))
        {
            fields.m_sLow = CCsvField::Make(limit.GetHighValue().toString());
            item.m_bLow = true;
        }
        // Any other pairing leaves both limit fields empty, whichever the comparison names.
        if ((item.m_bLow || item.m_bHigh) && !item.m_bState && limit.GetUnit() != eUnitType_None &&
            (eLimitType == eValueType_Float || eLimitType == eValueType_Integer))
        {
            item.m_sUnitText = CConverter::GetUnitString(limit.GetUnit());
            item.m_sUnit = CCsvField::Make(item.m_sUnitText);
        }
        if (item.m_bPerChannel)
        {
            // The judge shifts both limits of Power by the channel's offset (0 beyond the
            // table): the limits written are the shifted ones, the offset beside them.
            const auto shifted = [&fields](double dOffset)
            {
                SLimitFields channel;
                const float fOffset = static_cast<float>(dOffset);
                double dDecimalOffset = 0.0;
                ReadDecimal(FloatText(fOffset), dDecimalOffset);
                double dLow = 0.0;
                double dHigh = 0.0;
                ReadDecimal(fields.m_sLow, dLow);
                ReadDecimal(fields.m_sHigh, dHigh);
                channel.m_sOffset = std::isfinite(dOffset) ? FloatText(fOffset) : QString();
                channel.m_sLow = NumberText(dLow + dDecimalOffset, 9);
                channel.m_sHigh = NumberText(dHigh + dDecimalOffset, 9);
                channel.m_dLow = fields.m_dLow + dOffset;
                channel.m_dHigh = fields.m_dHigh + dOffset;
                return channel;
            };
            for (long c = 0; c < session.Channels().GetRowCount(); ++c)
            {
                m_vPowerLimits.push_back(shifted(session.Reader().PowerLimitOffset(c)));
            }
            m_PowerBeyondTable = shifted(0.0);
        }
    }

    const CChannelTableData& table = session.Channels();
    const QString sFrequencyColumn =
        CEnumTemplate<ESettingsItems>::ToString(eSettingsItem_CenterFrequency);
    m_sNoChannel = QStringLiteral(",,");
    for (long c = 0; c < table.GetRowCount(); ++c)
    {
        QString sFields = QStringLiteral(",");
        CCsvField::Append(sFields, CEnumTemplate<ETVStandards>::ToString(table.GetTvStandard(c)));
        sFields += QLatin1Char(',');
        double dHz = 0.0;
        if (ReadFrequency(table.GetValue(c, sFrequencyColumn), dHz))
        {
            sFields += NumberText(dHz, 15);
        }
        m_vChannelFields.push_back(sFields);
    }
}

const CCsvSessionColumns::SItem* CCsvSessionColumns::Item(long lItemId) const
{
    if (lItemId < 0 || lItemId >= static_cast<long>(m_vItems.size()))
    {
        return nullptr;
    }
    const SItem& item = m_vItems[static_cast<size_t>(lItemId)];
    return item.m_bKnown ? &item : nullptr;
}

const CCsvSessionColumns::SLimitFields& CCsvSessionColumns::Limits(const SItem& item,
                                                                   long lChannelId) const
{
    if (!item.m_bPerChannel)
    {
        return item.m_Limits;
    }
    return lChannelId >= 0 && lChannelId < static_cast<long>(m_vPowerLimits.size())
               ? m_vPowerLimits[static_cast<size_t>(lChannelId)]
               : m_PowerBeyondTable;
}

void CCsvSessionColumns::AppendValue(QString& sLine, const CSessionReader::SRow& row,
                                     QString& sCode) const
{
    sCode.clear();
    const QStringView sValue(row.m_Stored.GetValue());
    const SItem* pItem = Item(row.m_Stored.GetMeasurementItem());
    if (pItem && pItem->m_eValueType == eValueType_Text)
    {
        // A text item's value is its whole text; blanks belong to it.
        CCsvField::Append(sLine, sValue);
        sLine += QLatin1Char(',');
        return;
    }
    const QStringView sNumber = NumberPart(sValue);
    const auto iBlank = sValue.indexOf(QLatin1Char(' '));
    const QStringView sUnit = iBlank < 0 ? QStringView() : sValue.mid(iBlank + 1);
    if (pItem && pItem->m_bState && !sNumber.isEmpty())
    {
        bool bOk = false;
        const long lCode = sNumber.toString().toLong(&bOk, 10);
        if (bOk)
        {
            sCode = QString::number(lCode);
            if (lCode >= 0 && lCode < static_cast<long>(pItem->m_vStateWords.size()) &&
                !pItem->m_vStateWords[static_cast<size_t>(lCode)].isEmpty())
            {
                CCsvField::Append(sLine, pItem->m_vStateWords[static_cast<size_t>(lCode)]);
                sLine += QLatin1Char(',');
                CCsvField::Append(sLine, sUnit);
                return;
            }
        }
    }
    CCsvField::Append(sLine, sNumber);
    sLine += QLatin1Char(',');
    CCsvField::Append(sLine, sUnit);
}

bool CCsvSessionColumns::Margin(const SItem& item, const SLimitFields& limits,
                                const CSessionReader::SRow& row, double& dMargin) const
{
    if (!item.m_bMargin ||
        (row.m_eJudgement != eJudgement_Within && row.m_eJudgement != eJudgement_Violation))
    {
        return false;
    }
    // The judge compares the number of the value as judged, to six significant digits, and
    // ignores the stored unit: a value in another unit has no margin in its own.
    const QStringView sJudged(row.m_Judged.GetValue());
    const QStringView sUnit = UnitPart(sJudged);
    double dJudged = 0.0;
    if ((!sUnit.isEmpty() && sUnit != item.m_sUnitText) ||
        !ReadDecimal(NumberPart(sJudged), dJudged))
    {
        return false;
    }
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer,
                                       static_cast<double>(static_cast<float>(dJudged)),
                                       std::chars_format::general, 6);
    double dValue = 0.0;
    std::from_chars(buffer, written.ptr, dValue);
    const double dToLow = dValue - limits.m_dLow;
    const double dToHigh = limits.m_dHigh - dValue;
    dMargin = item.m_bLow && item.m_bHigh ? std::min(dToLow, dToHigh)
              : item.m_bLow               ? dToLow
                                          : dToHigh;
    return std::isfinite(dMargin);
}

void CCsvSessionColumns::AppendLimits(QString& sLine, const CSessionReader::SRow& row) const
{
    const SItem* pItem = Item(row.m_Stored.GetMeasurementItem());
    if (!pItem)
    {
        sLine += QLatin1String(",,,,,,");
        return;
    }
    const SLimitFields& limits = Limits(*pItem, row.m_Stored.GetChannelId());
    sLine += QLatin1Char(',');
    sLine += pItem->m_sCompare;
    sLine += QLatin1Char(',');
    if (pItem->m_bLow)
    {
        sLine += limits.m_sLow;
    }
    sLine += QLatin1Char(',');
    if (pItem->m_bHigh)
    {
        sLine += limits.m_sHigh;
    }
    sLine += QLatin1Char(',');
    sLine += pItem->m_sUnit;
    sLine += QLatin1Char(',');
    sLine += limits.m_sOffset;
    sLine += QLatin1Char(',');
    double dMargin = 0.0;
    if (Margin(*pItem, limits, row, dMargin))
    {
        sLine += NumberText(dMargin, 6);
    }
}

void CCsvSessionColumns::AppendChannel(QString& sLine, long lChannelId) const
{
    sLine += lChannelId >= 0 && lChannelId < static_cast<long>(m_vChannelFields.size())
                 ? m_vChannelFields[static_cast<size_t>(lChannelId)]
                 : m_sNoChannel;
}

QString CCsvSessionColumns::ToIsoTime(const QString& sStored)
{
    const QString sFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    const QDateTime time = QDateTime::fromString(sStored, sFormat);
    // A time in the hour skipped at the start of summer time comes back moved: no such time.
    if (!time.isValid() || time.toString(sFormat) != sStored)
    {
        return sStored;
    }
    const int iOffset = time.offsetFromUtc();
    if (iOffset % 60 != 0)
    {
        return sStored;
    }
    const int iMinutes = std::abs(iOffset) / 60;
    return time.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")) +
           (iOffset < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
           QStringLiteral("%1:%2")
               .arg(iMinutes / 60, 2, 10, QLatin1Char('0'))
               .arg(iMinutes % 60, 2, 10, QLatin1Char('0'));
}

bool CCsvSessionColumns::ReadFrequency(const QString& sCell, double& dHz)
{
    const QString sText = sCell.trimmed();
    // Without a unit a frequency is meant in MHz, as the channel table reads it.
    double dFactor = 1e6;
    QStringView sNumber(sText);
    for (const SFrequencyUnit& unit : c_aFrequencyUnits)
    {
        const QLatin1String sName(unit.m_pszName);
        if (sText.endsWith(sName, Qt::CaseInsensitive))
        {
            dFactor = unit.m_dFactor;
            sNumber = sNumber.left(sText.size() - sName.size()).trimmed();
            break;
        }
    }
    double dNumber = 0.0;
    if (!ReadDecimal(sNumber, dNumber) || dNumber < 0.0)
    {
        return false;
    }
    dHz = dNumber * dFactor;
    return std::isfinite(dHz);
}

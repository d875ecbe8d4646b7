#include "CMeasurementJudge.h"

#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CComparativeValueDataItem.h"
#include "CEnumTemplate.h"
#include "CStringUtil.h"
#include "ESettingsItems.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

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

/// The number before the first blank of a value text (the whole text without one).
float LeadingFloat(const QString& sValue, bool* pOk = nullptr)
{
    const int iBlank = sValue.indexOf(QLatin1Char(' '));
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const QStringView number = QStringView(sValue);
    return (iBlank < 0 ? number : number.left(iBlank)).toFloat(pOk);
#else
    return (iBlank < 0 ? sValue.midRef(0) : sValue.leftRef(iBlank)).toFloat(pOk);
#endif
}

int LeadingInt(const QString& sValue, bool* pOk)
{
    const int iBlank = sValue.indexOf(QLatin1Char(' '));
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const QStringView number = QStringView(sValue);
    return (iBlank < 0 ? number : number.left(iBlank)).toInt(pOk, 10);
#else
    return (iBlank < 0 ? sValue.midRef(0) : sValue.leftRef(iBlank)).toInt(pOk, 10);
#endif
}

/// Rewrites a floating-point value text, whose number part reads as fValue, as
/// "<number> <unit>" with a two-decimal number (in exponent form for magnitudes below 0.01)
/// and returns the number as stored in the cell.
double NormaliseFloatValue(QString& sValue, float fValue)
{
    const int iBlank = sValue.indexOf(QLatin1Char(' '));
    QString sUnit;
    if (iBlank >= 0)
    {
        const int iNext = sValue.indexOf(QLatin1Char(' '), iBlank + 1);
        sUnit = iNext < 0 ? sValue.mid(iBlank + 1) : sValue.mid(iBlank + 1, iNext - iBlank - 1);
    }
    const QString sNumber = (fValue == 0.0f || std::fabs(fValue) >= 0.01f)
                                ? QString::number(static_cast<double>(fValue), 'f', 2)
                                : QString::number(static_cast<double>(fValue), 'e', 2);
    sValue = sNumber + QLatin1Char(' ') + sUnit;
    return static_cast<double>(sNumber.toFloat());
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
    m_vLimits.reserve(eMeasItem_None + 1);
    for (int i = 0; i <= eMeasItem_None; ++i)
    {
        const auto eItem = static_cast<EMeasurementItems>(i);
        m_vPrototypes.emplace_back(eItem);
        m_vLimits.push_back(&limits.GetItem(eItem));
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

EJudgement CMeasurementJudge::Judge(CDBMeasurement& record) const
{
    const EMeasurementItems eItem = Lookup(m_vItemOfId, record.GetMeasurementItem());
    CMeasurementItem item = m_vPrototypes[static_cast<size_t>(eItem)];
    const EMeasurementItemState eStoredState = Lookup(m_vStateOfId, record.GetMeasurementState());
    const bool bMeasured = eStoredState == eMeasurementItemState_Valid ||
                           eStoredState == eMeasurementItemState_OutOfRange;

    bool bReadable = true;
    switch (item.ValueType())
    {
    case eValueType_Bool:
        item.Set(OrvelFramework::CStringUtil::ConvertToBool(record.GetValue()), eUnitType_None);
        break;
    case eValueType_Integer:
        item.Set(static_cast<short>(LeadingInt(record.GetValue(), &bReadable)), eUnitType_None);
        break;
    case eValueType_Float:
    {
        // A text that is no number reads as 0, as toFloat() gives it.
        const float fNumber = LeadingFloat(record.GetValue(), &bReadable);
        bReadable = bReadable && std::isfinite(fNumber);
        if (bMeasured && !bReadable)
        {
            break; // left as stored: the error text quotes it
        }
        QString sValue = record.GetValue();
        item.Set(NormaliseFloatValue(sValue, fNumber), eUnitType_None);
        record.SetValue(sValue);
        break;
    }
    case eValueType_Text:
        item.Set(record.GetValue(), eUnitType_None);
        break;
    default:
        break;
    }
    item.SetState(eStoredState);

    // A measured value whose number cannot be read is a measurement error, never a silent 0.
    if (bMeasured && !bReadable)
    {
        record.SetMeasurementState(m_lErrorId);
        record.SetErrorDescription(UnreadableValueText(eItem, record.GetValue()));
        return eJudgement_Error;
    }
    if (bMeasured)
    {
        const double dOffset =
            eItem == eMeasItem_Power ? PowerLimitOffset(record.GetChannelId()) : 0.0;
        QString sViolation;
        if (m_vLimits[static_cast<size_t>(eItem)]->InRange(item.ToString(), sViolation, dOffset))
        {
            record.SetErrorDescription(QString());
            record.SetMeasurementState(m_lValidId);
            return eJudgement_Within;
        }
        record.SetErrorDescription(sViolation);
        record.SetMeasurementState(m_lOutOfRangeId);
        return eJudgement_Violation;
    }
    if (item.State() == eMeasurementItemState_Error)
    {
        return eJudgement_Error;
    }
    return eJudgement_NotJudged;
}

} // namespace LumoraMeasurement

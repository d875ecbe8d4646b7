#pragma once

#include "CDBMeasurement.h"
#include "CMeasurementItem.h"
#include "EJudgement.h"
#include "EMeasurementItemState.h"
#include "EMeasurementItems.h"
#include "EValueType.h"

#include <QString>

#include <vector>

namespace LumoraMeasurement
{

class CChannelTableData;
class CComparativeValueData;
class CComparativeValueDataItem;

/// Judges stored values one at a time against a limit table, with the power limit offsets
/// of a channel table: the evaluation of the session model, usable on a stream of rows that
/// is never held whole. Looks everything up once on construction; the limit table must
/// outlive the judge.
class CMeasurementJudge
{
public:
    CMeasurementJudge(const CComparativeValueData& limits, const CChannelTableData& channelTable);

    /// A value stored as measured ("Valid" or "Out of range") is judged: its state becomes
    /// "Valid" or "Out of range" and its error description the violation text (empty when
    /// within). A floating-point value is rewritten as "<number> <unit>" with two decimals
    /// first. A value stored as measured whose number cannot be read (nan, inf, out of range,
    /// empty, no number) is a measurement error: state "Error", a text quoting the value. A
    /// value in state "Error" is an error and keeps its text; any other state is not judged.
    ///
    /// The result is that of the limit's InRange() on the item's value text, but numbers are
    /// compared as numbers: no text is written for a value within its limits.
    EJudgement Judge(CDBMeasurement& record) const;
    /// Judge() with the same judgement, state and value text, but no violation text: the
    /// error description of a violation is left empty. ViolationText() makes it later.
    EJudgement JudgeWithoutText(CDBMeasurement& record) const;
    /// The error description Judge() writes for a record judged by this judge as a violation
    /// (its value text already rewritten); empty when it is none.
    QString ViolationText(const CDBMeasurement& record) const;

    /// The "Power Limit Offset" of a channel row in dB; 0 for a row beyond the table.
    double PowerLimitOffset(long lChannelId) const;

private:
    /// How a measured value of an item meets its limit.
    enum class ERoute
    {
        /// Both are floating point and the limit reads the item's value text in the item's
        /// unit: the number the text stands for is compared.
        Number,
        /// Both are integers: the value text reads back as the number, or as 0 when a unit
        /// follows it.
        Integer,
        /// Anything else: the item's value text, as the limit's InRange() reads it.
        Text,
    };

    struct SItemRule
    {
        EValueType m_eValueType = eValueType_None;
        ERoute m_eRoute = ERoute::Text;
        const CComparativeValueDataItem* m_pLimit = nullptr;
        bool m_bIntegerTextReadsBack = false;
        QString m_sUnitSuffix; ///< " <unit>", how the item's value text ends
    };

    EJudgement DoJudge(CDBMeasurement& record, bool bWithText) const;

    /// The item's value text as CMeasurementItem::ToString() writes it for the record.
    QString DoValueText(EMeasurementItems eItem, const CDBMeasurement& record, double dCell,
                        int iInteger) const;

    std::vector<EMeasurementItems> m_vItemOfId;
    std::vector<EMeasurementItemState> m_vStateOfId;
    std::vector<CMeasurementItem> m_vPrototypes;
    std::vector<SItemRule> m_vRules;
    std::vector<double> m_vPowerOffsets;
    long m_lValidId;
    long m_lOutOfRangeId;
    long m_lErrorId;
};

} // namespace LumoraMeasurement

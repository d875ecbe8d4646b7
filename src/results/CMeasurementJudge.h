#pragma once

#include "CDBMeasurement.h"
#include "CMeasurementItem.h"
#include "EJudgement.h"
#include "EMeasurementItemState.h"
#include "EMeasurementItems.h"

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
    EJudgement Judge(CDBMeasurement& record) const;

    /// The "Power Limit Offset" of a channel row in dB; 0 for a row beyond the table.
    double PowerLimitOffset(long lChannelId) const;

private:
    std::vector<EMeasurementItems> m_vItemOfId;
    std::vector<EMeasurementItemState> m_vStateOfId;
    std::vector<CMeasurementItem> m_vPrototypes;
    std::vector<const CComparativeValueDataItem*> m_vLimits;
    std::vector<double> m_vPowerOffsets;
    long m_lValidId;
    long m_lOutOfRangeId;
    long m_lErrorId;
};

} // namespace LumoraMeasurement

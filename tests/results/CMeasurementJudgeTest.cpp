#include "CMeasurementJudge.h"

#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CEnumTemplate.h"

#include <gtest/gtest.h>

using namespace LumoraMeasurement;

namespace
{

long StateId(EMeasurementItemState eState)
{
    return CEnumTemplate<EMeasurementItemState>::ToId(eState);
}

long ItemId(EMeasurementItems eItem)
{
    return CEnumTemplate<EMeasurementItems>::ToId(eItem);
}

struct SJudgeRow
{
    const char* m_pszWhat;
    EMeasurementItems m_eItem;
    long m_lChannel;
    EMeasurementItemState m_eStored;
    const char* m_pszValue;
    EJudgement m_eExpected;
    EMeasurementItemState m_eStateAfter;
    const char* m_pszValueAfter;
    bool m_bText; ///< an error description after judging
};

} // namespace

// A floating-point text is rewritten whatever the state, as the session model's views have
// always shown it. Power between -15 and 40 dBµV; channel row 0 lifts it by its 3 dB power limit
// offset, row 1 has none, and a row beyond the table counts as without offset.
TEST(CMeasurementJudgeTest, JudgesOneStoredValueAsTheSessionModelDoes)
{
    CComparativeValueData limits;
    QString sLow = QStringLiteral("-15");
    limits.UpdateItem(eMeasItem_Power, eCompareType_Between, sLow, QStringLiteral("40"), true);
    sLow = QStringLiteral("5");
    limits.UpdateItem(eMeasItem_MERRMSdB, eCompareType_Between, sLow, QStringLiteral("70"), true);
    CChannelTableData channels;
    channels.AddChannel(CChannelData(eTVStandard_DVBT, QStringLiteral("Ch1")),
                        CChannelTableData::c_lAppendRow);
    channels.AddChannel(CChannelData(eTVStandard_DVBT, QStringLiteral("Ch2")),
                        CChannelTableData::c_lAppendRow);
    channels.SetValue(0, QStringLiteral("Power Limit Offset"), QStringLiteral("3"));
    const CMeasurementJudge judge(limits, channels);

    const SJudgeRow rows[] = {
        {"within, offset lifts the limit", eMeasItem_Power, 0, eMeasurementItemState_Valid,
         "42.5 dBµV", eJudgement_Within, eMeasurementItemState_Valid, "42.50 dBµV", false},
        {"same value without offset", eMeasItem_Power, 1, eMeasurementItemState_Valid, "42.5 dBµV",
         eJudgement_Violation, eMeasurementItemState_OutOfRange, "42.50 dBµV", true},
        {"channel beyond the table has no offset", eMeasItem_Power, 9, eMeasurementItemState_Valid,
         "42.5 dBµV", eJudgement_Violation, eMeasurementItemState_OutOfRange, "42.50 dBµV", true},
        {"stored out of range but within is re-judged", eMeasItem_MERRMSdB, 1,
         eMeasurementItemState_OutOfRange, "30.126 dB", eJudgement_Within,
         eMeasurementItemState_Valid, "30.13 dB", false},
        {"below the low limit", eMeasItem_MERRMSdB, 1, eMeasurementItemState_Valid, "4.2 dB",
         eJudgement_Violation, eMeasurementItemState_OutOfRange, "4.20 dB", true},
        {"measurement error keeps its text", eMeasItem_MERRMSdB, 1, eMeasurementItemState_Error, "",
         eJudgement_Error, eMeasurementItemState_Error, "0.00 ", true},
        {"unreadable number is an error, not 0", eMeasItem_MERRMSdB, 1, eMeasurementItemState_Valid,
         "nan dB", eJudgement_Error, eMeasurementItemState_Error, "nan dB", true},
        {"empty measured number is an error", eMeasItem_Power, 0, eMeasurementItemState_Valid, "",
         eJudgement_Error, eMeasurementItemState_Error, "", true},
        {"not implemented is not judged", eMeasItem_MERRMSdB, 1,
         eMeasurementItemState_NotImplemented, "", eJudgement_NotJudged,
         eMeasurementItemState_NotImplemented, "0.00 ", false},
    };
    for (const SJudgeRow& row : rows)
    {
        SCOPED_TRACE(row.m_pszWhat);
        CDBMeasurement record(1, 2, row.m_lChannel, 3);
        record.SetMeasurementItem(ItemId(row.m_eItem));
        record.SetMeasurementState(StateId(row.m_eStored));
        record.SetValue(QString::fromUtf8(row.m_pszValue));
        if (row.m_eStored == eMeasurementItemState_Error)
        {
            record.SetErrorDescription(QStringLiteral("Receiver timeout"));
        }
        EXPECT_EQ(row.m_eExpected, judge.Judge(record));
        EXPECT_EQ(StateId(row.m_eStateAfter), record.GetMeasurementState());
        EXPECT_EQ(QString::fromUtf8(row.m_pszValueAfter), record.GetValue());
        EXPECT_EQ(row.m_bText, !record.GetErrorDescription().isEmpty())
            << record.GetErrorDescription().toStdString();
    }
    CDBMeasurement unreadable(1, 2, 0, 3);
    unreadable.SetMeasurementItem(ItemId(eMeasItem_MERRMSdB));
    unreadable.SetMeasurementState(StateId(eMeasurementItemState_Valid));
    unreadable.SetValue(QStringLiteral("inf dB"));
    judge.Judge(unreadable);
    EXPECT_EQ(QStringLiteral("MER RMS dB: the stored value \"inf dB\" is not a finite number"),
              unreadable.GetErrorDescription());

    EXPECT_DOUBLE_EQ(3.0, judge.PowerLimitOffset(0));
    EXPECT_DOUBLE_EQ(0.0, judge.PowerLimitOffset(9));
    EXPECT_DOUBLE_EQ(0.0, judge.PowerLimitOffset(-1));
}

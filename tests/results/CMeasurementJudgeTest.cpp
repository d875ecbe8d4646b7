#include "CMeasurementJudge.h"

#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CEnumTemplate.h"
#include "ResultsTestData.h"

#include <gtest/gtest.h>

using namespace LumoraMeasurement;

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

    using Items = CEnumTemplate<EMeasurementItems>;
    using States = CEnumTemplate<EMeasurementItemState>;
    const QStringList judgements = {"not judged", "within", "violation", "error"};
    for (const QStringList& row : ResultsTestData::ReadTable("judge.tsv"))
    {
        SCOPED_TRACE(row[0].toStdString());
        CDBMeasurement record(1, 2, row[2].toLong(), 3);
        record.SetMeasurementItem(Items::ToId(Items::TextToEnum(row[1])));
        record.SetMeasurementState(States::ToId(States::TextToEnum(row[3])));
        record.SetValue(row[4]);
        if (row[3] == "Error")
        {
            record.SetErrorDescription(QStringLiteral("Receiver timeout"));
        }
        EXPECT_EQ(judge.Judge(record), judgements.indexOf(row[5]));
        EXPECT_EQ(record.GetMeasurementState(), States::ToId(States::TextToEnum(row[6])));
        EXPECT_EQ(record.GetValue(), row[7]);
        EXPECT_EQ(row[8] == "yes", !record.GetErrorDescription().isEmpty())
            << record.GetErrorDescription().toStdString();
    }
    CDBMeasurement unreadable(1, 2, 0, 3);
    unreadable.SetMeasurementItem(Items::ToId(eMeasItem_MERRMSdB));
    unreadable.SetMeasurementState(States::ToId(eMeasurementItemState_Valid));
    unreadable.SetValue(QStringLiteral("inf dB"));
    judge.Judge(unreadable);
    EXPECT_EQ(QStringLiteral("MER RMS dB: the stored value \"inf dB\" is not a finite number"),
              unreadable.GetErrorDescription());

    EXPECT_DOUBLE_EQ(3.0, judge.PowerLimitOffset(0));
    EXPECT_DOUBLE_EQ(0.0, judge.PowerLimitOffset(9));
    EXPECT_DOUBLE_EQ(0.0, judge.PowerLimitOffset(-1));
}

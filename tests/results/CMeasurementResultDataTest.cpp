#include "CMeasurementResultData.h"
#include "CMeasurementResultGraphData.h"
#include "CMeasurementResultSingleChannelData.h"
#include "ResultsTestSession.h"

#include <QFile>

using namespace LumoraMeasurement;
using MdaTest::SStored;

namespace
{

constexpr auto eValid = eMeasurementItemState_Valid;

// Scans 2, 4, 9 and 11; channel rows 0 (Ch1, power offset 3 dB), 1 (Ch2), 2 (Ch3, never
// measured) and a stray channel 7 that the channel table does not have.
const std::vector<long> c_Scans = {2, 4, 9, 11};
const std::vector<SStored> c_Rows = {
    {2, 0, eMeasItem_Power, eValid, "50 dBmV", ""}, // at the limit raised by the offset
    {2, 0, eMeasItem_DemodLock, eValid, "0", ""},
    {2, 1, eMeasItem_Power, eValid, "12.3456 dBuV", ""},
    {2, 1, eMeasItem_MERRMSdB, eValid, "10 dB", ""},
    {2, 1, eMeasItem_Attenuation, eValid, "10 dB", ""},
    {4, 0, eMeasItem_Power, eValid, "50.5 dBmV", ""},
    {4, 0, eMeasItem_DemodLock, eValid, "1", "receiver unlocked"},
    {4, 0, eMeasItem_MERRMSdB, eValid, "15", ""},
    {9, 0, eMeasItem_MERRMSdB, eMeasurementItemState_Error, "", "timeout"},
    {9, 0, eMeasItem_Power, eMeasurementItemState_NotImplemented, "", ""},
    {9, 1, eMeasItem_MERRMSdB, eValid, "20 dB", ""},
    {9, 0, eMeasItem_BERBeforeRS, eValid, "0.004", ""},
    {9, 7, eMeasItem_MERRMSdB, eValid, "5 dB", ""},
    {11, 1, eMeasItem_Attenuation, eValid, "40 dB", ""},
    {11, 0, eMeasItem_Power, eValid, "-0.004 dBm", ""},
    {11, 0, eMeasItem_DemodLock, eValid, "7", ""},
};

class CMeasurementResultDataTest : public MdaTest::CResultsSessionTest
{
protected:
    void SetUp() override
    {
        CResultsSessionTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
        {
            return;
        }
        Record(c_Scans, c_Rows);
    }

    long Id(size_t lRow) const { return m_vIds.at(lRow); }

    /// Everything the lists hold, as the views see it.
    QStringList Snapshot(CMeasurementResultData& model) const
    {
        QStringList lines;
        for (long i = 0; i < model.GetNumberOfErrorsInSession(); ++i)
        {
            lines << QStringLiteral("violation %1 %2 %3")
                         .arg(model.GetScanIdOfError(i))
                         .arg(model.GetChannelIdOfSessionError(i))
                         .arg(model.GetChannelErrorDescriptionOfSessionError(i));
        }
        std::vector<CDBMeasurement> list;
        for (long lScan : c_Scans)
        {
            for (long lChannel : {0L, 1L, 2L, 7L})
            {
                model.GetMeasurementListAll(lScan, lChannel, list);
                for (const CDBMeasurement& m : list)
                {
                    lines << QStringLiteral("%1 %2 %3 [%4] %5")
                                 .arg(m.GetMeasurementId())
                                 .arg(m.GetMeasurementState())
                                 .arg(m.GetValue(), m.GetErrorDescription())
                                 .arg(lChannel);
                }
            }
        }
        return lines;
    }
};

TEST_P(CMeasurementResultDataTest, LoadJudgesEveryStoredValue)
{
    CMeasurementResultData model(m_lSession, eLevelUnit_dBm);
    ASSERT_TRUE(model.LoadData(m_Config));

    struct SViolation
    {
        size_t m_lRow;
        long m_lScan;
        long m_lChannel;
        const char* m_pszChannel;
        const char* m_pszText;
    };
    const SViolation c_Expected[] = {
        {3, 2, 1, "Ch2", "MER RMS dB is not between 30 <= value(10 dB) <= 70"},
        {5, 4, 0, "Ch1", "Power is not between -15(+3) <= value(50.5 dBmV) <= 47(+3)"},
        {6, 4, 0, "Ch1", "Demod Lock is not Locked"},
        {7, 4, 0, "Ch1", "MER RMS dB is not between 30 <= value(15 dB) <= 70"},
        {10, 9, 1, "Ch2", "MER RMS dB is not between 30 <= value(20 dB) <= 70"},
        {11, 9, 0, "Ch1", "BER before RS is not between 0 <= value(0.004 ) <= 0.0002"},
        {12, 9, 7, "Unknown channel", "MER RMS dB is not between 30 <= value(5 dB) <= 70"},
        {15, 11, 0, "Ch1", "Demod Lock is not Locked"},
    };
    ASSERT_EQ(model.GetNumberOfErrorsInSession(), long(std::size(c_Expected)));
    for (long i = 0; i < long(std::size(c_Expected)); ++i)
    {
        SCOPED_TRACE(i);
        const SViolation& v = c_Expected[i];
        EXPECT_EQ(model.GetScanIdOfError(i), v.m_lScan);
        EXPECT_EQ(model.GetChannelIdOfSessionError(i), v.m_lChannel);
        EXPECT_EQ(model.GetChannelNameOfSessionError(i), v.m_pszChannel);
        EXPECT_EQ(model.GetChannelErrorDescriptionOfSessionError(i), v.m_pszText);
    }
    for (long i : {-1L, long(std::size(c_Expected))})
    {
        EXPECT_EQ(model.GetScanIdOfError(i), -1);
        EXPECT_EQ(model.GetChannelIdOfSessionError(i), -1);
        EXPECT_EQ(model.GetChannelNameOfSessionError(i), "");
        EXPECT_EQ(model.GetChannelErrorDescriptionOfSessionError(i), "");
        EXPECT_EQ(model.GetChannelTimeStampOfSessionError(i), "");
    }

    // Scan 9 of Ch1: the error record and the violation, by id; "Not Implemented" is nowhere.
    std::vector<CDBMeasurement> list;
    model.GetMeasurementListAll(9, 0, list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].GetMeasurementId(), Id(8));
    EXPECT_EQ(list[0].GetMeasurementState(), 3);
    EXPECT_EQ(list[0].GetErrorDescription(), "timeout");
    EXPECT_EQ(list[1].GetMeasurementId(), Id(11));
    EXPECT_EQ(list[1].GetValue(), "4.00e-03 ");
    EXPECT_EQ(list[1].GetMeasurementState(), 4);

    // Values are rewritten with two decimals; passing values lose their stored error text.
    model.GetMeasurementListAll(11, 0, list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].GetValue(), "-4.00e-03 dBm");
    EXPECT_EQ(list[0].GetMeasurementState(), 2);
    model.GetMeasurementListAll(2, 0, list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].GetValue(), "50.00 dBmV");
    EXPECT_EQ(list[0].GetErrorDescription(), "");
    model.GetMeasurementListAll(4, 0, list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[2].GetValue(), "15.00 ");

    EXPECT_DOUBLE_EQ(model.PowerLimitOffset(0), 3.0);
    EXPECT_DOUBLE_EQ(model.PowerLimitOffset(1), 0.0);
    EXPECT_DOUBLE_EQ(model.PowerLimitOffset(9), 0.0);
    EXPECT_EQ(model.GetChannelId("Ch2"), 1);
    EXPECT_EQ(model.GetChannelId("ch2"), -1);
    EXPECT_EQ(model.GetChannelName(2), "Ch3");
    EXPECT_EQ(model.GetChannelNames(), QStringList({"Ch1", "Ch2", "Ch3"}));
    EXPECT_EQ(model.GetChannelType("Ch2"), eCategory_Analog);
    EXPECT_EQ(model.GetTvStandard("Ch3"), eTVStandard_J83A);
    EXPECT_EQ(model.GetTvStandard("nope"), eTVStandard_DVBT);
    EXPECT_EQ(model.GetSessionData().Description(), "Night, run");
}

TEST_P(CMeasurementResultDataTest, SwitchingLimitsMatchesAFreshLoad)
{
    CMeasurementResultData model(m_lSession, eLevelUnit_dBmV);
    ASSERT_TRUE(model.LoadData(m_Config));
    const QStringList initial = Snapshot(model);

    CMeasConfigData otherConfig = m_Config;
    otherConfig.SetComparativeValuesFile(Path("other-limits.json"));
    CMeasurementResultData fresh(m_lSession, eLevelUnit_dBmV);
    ASSERT_TRUE(fresh.LoadData(otherConfig));
    const QStringList other = Snapshot(fresh);
    // Power above 40(+3) fails now; MER from 5 and any lock state pass.
    ASSERT_EQ(fresh.GetNumberOfErrorsInSession(), 3);
    EXPECT_EQ(fresh.GetChannelErrorDescriptionOfSessionError(0),
              "Power is not between -15(+3) <= value(50 dBmV) <= 40(+3)");
    EXPECT_NE(initial, other);

    for (int i = 0; i < 2; ++i)
    {
        SCOPED_TRACE(i);
        model.UseOtherLimits(Path("other-limits.json"));
        EXPECT_EQ(Snapshot(model), other);
        model.UseInititalLimits();
        EXPECT_EQ(Snapshot(model), initial);
    }
}

TEST_P(CMeasurementResultDataTest, NavigationOverScansAndDates)
{
    SetScanDateTime(2, "2026-01-05 08:00:00");
    SetScanDateTime(4, "2026-01-05 09:30:00");
    SetScanDateTime(9, "2026-01-06 07:00:00");
    SetScanDateTime(11, "2026-01-05 23:00:00");
    CMeasurementResultData model(m_lSession, eLevelUnit_dBmV);
    ASSERT_TRUE(model.LoadData(m_Config));

    EXPECT_EQ(model.GetNumberOfScans(), 4);
    const struct
    {
        long m_lScan;
        bool m_bForward;
        long m_lExpected;
    } c_Next[] = {
        {4, true, 4}, {4, false, 4},  {5, false, 4},  {5, true, 9},   {1, false, 2},
        {1, true, 2}, {10, false, 9}, {12, false, 2}, {12, true, 11},
    };
    for (const auto& row : c_Next)
    {
        SCOPED_TRACE(testing::Message() << row.m_lScan << (row.m_bForward ? " forward" : " back"));
        EXPECT_EQ(model.GetNextScanId(row.m_lScan, row.m_bForward), row.m_lExpected);
    }
    EXPECT_EQ(model.GetScanIdOfScanIndex(-1), -1);
    EXPECT_EQ(model.GetScanIdOfScanIndex(0), 2);
    EXPECT_EQ(model.GetScanIdOfScanIndex(3), 11);
    EXPECT_EQ(model.GetScanIdOfScanIndex(4), -1);
    EXPECT_TRUE(model.IsScanIdValid(9));
    EXPECT_FALSE(model.IsScanIdValid(3));

    EXPECT_EQ(model.GetScanIdOfFirstChannelError(0), 4);
    EXPECT_EQ(model.GetScanIdOfFirstChannelError(2), 2);

    EXPECT_EQ(model.GetAvailableDates(), QStringList({"2026-01-05", "2026-01-06"}));
    EXPECT_EQ(model.GetAvailableScansOfDate("2026-01-05"),
              QStringList({"Scan 2 ( 2026-01-05 08:00:00)", "Scan 4 ( 2026-01-05 09:30:00)",
                           "Scan 11 ( 2026-01-05 23:00:00)"}));
    EXPECT_EQ(model.GetAvailableScansOfDate("2026-01-07"), QStringList());
    EXPECT_EQ(model.GetChannelTimeStampOfSessionError(1), "2026-01-05 09:30:00");
    EXPECT_EQ(model.GetScanData(9).DateTime(), "2026-01-06 07:00:00");
}

TEST_P(CMeasurementResultDataTest, CsvListsStoredRowsScanByScan)
{
    CMeasurementResultData model(m_lSession, eLevelUnit_dBmV);
    ASSERT_TRUE(model.LoadData(m_Config));
    const QStringList lines = model.GetCSVExport();

    const QString sSession = QString::number(m_lSession);
    EXPECT_EQ(lines.value(0), "Session Data," + sSession + ",uid-1,Night, run," +
                                  model.GetSessionData().FirstRun() +
                                  ",,Roof,TP 3,Ann,E12,T34,a@b.c,RX-1,1.2,3.4,SN9,Lab");

    // Scan-major, then channel row, then id; the stray channel 7 is no row and not listed.
    const size_t c_Order[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 10, 14, 15, 13};
    ASSERT_EQ(lines.size(), int(std::size(c_Order)) + 1);
    for (size_t i = 0; i < std::size(c_Order); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[int(i) + 1].section(',', 4, 4), QString::number(Id(c_Order[i])));
    }
    auto line = [&](size_t lRow, const QString& sRest)
    {
        const SStored& row = c_Rows[lRow];
        return QStringLiteral("Scan Data,%1,%2,%3,%4,")
                   .arg(sSession)
                   .arg(row.m_lScan)
                   .arg(row.m_lChannel)
                   .arg(Id(lRow)) +
               sRest;
    };
    // Stored states and texts, not the judged ones; "number unit" values with two decimals.
    EXPECT_EQ(lines[3], line(2, "8,12.35 dBuV,2,"));
    EXPECT_EQ(lines[7], line(6, "12,1,2,receiver unlocked"));
    EXPECT_EQ(lines[9], line(8, "15,,3,timeout"));
    EXPECT_EQ(lines[11], line(11, "36,0.004,2,"));
    EXPECT_EQ(lines[13], line(14, "8,-0.00 dBm,2,"));

    EXPECT_EQ(model.GetScanDataAsCSV(), lines.mid(1));
    EXPECT_EQ(model.GetNumberOfErrorsInSession(), 8);
}

TEST_P(CMeasurementResultDataTest, SingleChannelViewShowsDisplayTexts)
{
    CMeasurementResultData model(m_lSession, eLevelUnit_dBm);
    ASSERT_TRUE(model.LoadData(m_Config));

    CMeasurementResultSingleChannelData scan4(model, 4, 0, false);
    EXPECT_EQ(scan4.GetMeasCount(), 3);
    EXPECT_EQ(scan4.GetMeasItem(1).GetMeasurementId(), Id(6));
    EXPECT_EQ(scan4.GetResultPosition(eMeasItem_MERRMSdB), 2);
    EXPECT_EQ(scan4.GetResultPosition(eMeasItem_Attenuation), -1);
    EXPECT_EQ(scan4.GetResultPosition(eMeasItem_None), -1);
    // The stored dBmV level at 50 Ohm in dBm.
    EXPECT_EQ(scan4.GetValue(eMeasItem_Power), "3.51 dBm");
    EXPECT_EQ(scan4.GetValue(eMeasItem_DemodLock), "Unlocked");
    EXPECT_EQ(scan4.GetValue(eMeasItem_MERRMSdB), "15.00 ");
    EXPECT_EQ(scan4.GetValue(eMeasItem_Attenuation), "");
    EXPECT_EQ(scan4.GetErrorDescription(eMeasItem_Power),
              "Power is not between -15(+3) <= value(50.5 dBmV) <= 47(+3)");
    EXPECT_EQ(scan4.GetErrorDescription(eMeasItem_Attenuation), "");
    EXPECT_DOUBLE_EQ(scan4.GetPowerLimitOffset(), 3.0);
    EXPECT_EQ(scan4.GetCompData(), &model.GetComparativeValueData());

    CMeasurementResultSingleChannelData scan11(model, 11, 0, true);
    EXPECT_EQ(scan11.GetValue(eMeasItem_DemodLock), "");
    // Whatever unit the text carries, the number is taken as dBmV.
    EXPECT_EQ(scan11.GetValue(eMeasItem_Power), "-46.99 dBm");

    // A view follows the model's limits when refreshed.
    model.UseOtherLimits(Path("other-limits.json"));
    scan4.UpdateLimitValues(true);
    EXPECT_EQ(scan4.GetErrorDescription(eMeasItem_DemodLock), "");
    EXPECT_EQ(scan4.GetErrorDescription(eMeasItem_Power),
              "Power is not between -15(+3) <= value(50.5 dBmV) <= 40(+3)");
}

TEST_P(CMeasurementResultDataTest, GraphLinesFillGapsBetweenScans)
{
    CMeasurementResultData model(m_lSession, eLevelUnit_dBmV);
    ASSERT_TRUE(model.LoadData(m_Config));
    CMeasurementResultGraphData graph(model);

    const struct
    {
        const char* m_pszChannel;
        EMeasurementItems m_eItem;
        double m_aValues[4];
        bool m_aInterpolated[4];
        double m_dMin;
        double m_dMax;
    } c_Lines[] = {
        {"Ch2", eMeasItem_MERRMSdB, {10, 15, 20, 20}, {false, true, false, true}, 10, 20},
        {"Ch2", eMeasItem_Attenuation, {10, 20, 25, 40}, {false, true, true, false}, 10, 40},
        {"Ch1",
         eMeasItem_BERBeforeRS,
         {0.004, 0.004, 0.004, 0.004},
         {true, true, false, true},
         0.004,
         0.004},
        {"Ch3", eMeasItem_Power, {0, 0, 0, 0}, {true, true, true, true}, 0, 0},
    };
    for (long i = 0; i < long(std::size(c_Lines)); ++i)
    {
        SCOPED_TRACE(i);
        const auto& row = c_Lines[i];
        graph.AddNewMeasurementResultItem();
        EXPECT_TRUE(graph.SetChannelNameMeasItem(row.m_pszChannel, i, false));
        EXPECT_TRUE(graph.SetDataItemMeasItem(row.m_eItem, i, true));
        EXPECT_FALSE(graph.SetDataItemMeasItem(row.m_eItem, i, true));
        ASSERT_EQ(graph.GetNumberOfPoints(i), 4);
        for (long p = 0; p < 4; ++p)
        {
            bool bInterpolated = !row.m_aInterpolated[p];
            EXPECT_DOUBLE_EQ(graph.GetYMeasValue(i, p, bInterpolated), row.m_aValues[p]);
            EXPECT_EQ(bInterpolated, row.m_aInterpolated[p]) << p;
            EXPECT_DOUBLE_EQ(graph.GetXMeasValue(i, p), double(c_Scans[size_t(p)]));
        }
        EXPECT_DOUBLE_EQ(graph.GetMinMeasValue(i), row.m_dMin);
        EXPECT_DOUBLE_EQ(graph.GetMaxMeasValue(i), row.m_dMax);
    }
    bool bFlag = true;
    EXPECT_DOUBLE_EQ(graph.GetYMeasValue(0, 4, bFlag), 0.0);
    EXPECT_TRUE(bFlag);
    EXPECT_DOUBLE_EQ(graph.GetXMeasValue(0, 4), 0.0);

    EXPECT_EQ(graph.GetLineName(0), "Ch2 / MER RMS dB");
    EXPECT_EQ(graph.GetLineName(9), "");
    EXPECT_EQ(graph.GetNumberOfLines(), 0);
    EXPECT_EQ(graph.ConvertLineIdToMeasdataId(0), 0);
    EXPECT_TRUE(graph.SetDataItemEnabled(true, 1, false));
    EXPECT_TRUE(graph.SetDataItemEnabled(true, 3, false));
    EXPECT_FALSE(graph.SetDataItemEnabled(true, 3, false));
    EXPECT_FALSE(graph.SetDataItemEnabled(true, 9, false));
    EXPECT_EQ(graph.GetNumberOfLines(), 2);
    EXPECT_EQ(graph.ConvertLineIdToMeasdataId(0), 1);
    EXPECT_EQ(graph.ConvertLineIdToMeasdataId(1), 3);
    EXPECT_EQ(graph.ConvertLineIdToMeasdataId(2), 0);

    // Removing a line keeps the others' points and their shared x axis.
    graph.RemoveMeasurementResultItem(0);
    EXPECT_EQ(graph.GetNumberOfDataItems(), 3);
    EXPECT_EQ(graph.GetDataItemMeasItem(0), eMeasItem_Attenuation);
    EXPECT_DOUBLE_EQ(graph.GetXMeasValue(0, 3), 11.0);
    bool bInterpolated = false;
    EXPECT_DOUBLE_EQ(graph.GetYMeasValue(0, 2, bInterpolated), 25.0);
    EXPECT_EQ(graph.GetDataItemMeasItem(3), eMeasItem_None);
    EXPECT_EQ(graph.GetChannelNameMeasItem(3), "");
    EXPECT_TRUE(graph.SetScalingDataItem(2));
    EXPECT_FALSE(graph.SetScalingDataItem(2));
}

TEST_P(CMeasurementResultDataTest, MatrixShowsEveryChannelOfTheTable)
{
    CMeasurementResultData model(m_lSession, eLevelUnit_dBmV);
    ASSERT_TRUE(model.LoadData(m_Config));
    OrvelFramework::CRDMatrixData matrix;
    model.CreateChannelMatrixData(matrix);

    ASSERT_EQ(matrix.GetItemCount(), 3);
    EXPECT_EQ(matrix.GetItem(0).GetName(), "Ch1");
    // Violations in all 3 of 3 counted scan gaps: the top of the gradient.
    EXPECT_EQ(matrix.GetItem(0).GetIndex(), 13);
    EXPECT_EQ(matrix.GetItem(0).GetText(),
              "Channel Ch1\n----------------------------\nTotal limit violation count: 5\n"
              "\n  Limit violation at ScanID 4: Power is not between -15(+3) <= value(50.5 dBmV) "
              "<= 47(+3)"
              "\n  Limit violation at ScanID 4: Demod Lock is not Locked"
              "\n  Limit violation at ScanID 4: MER RMS dB is not between 30 <= value(15 dB) <= 70"
              "\n  Limit violation at ScanID 9: BER before RS is not between 0 <= value(0.004 ) "
              "<= 0.0002"
              "\n  Limit violation at ScanID 11: Demod Lock is not Locked");
    EXPECT_EQ(matrix.GetItem(1).GetName(), "Ch2");
    EXPECT_EQ(matrix.GetItem(2).GetIndex(), 1);
    EXPECT_EQ(matrix.GetItem(2).GetText(), "");
}

MDA_INSTANTIATE_BACKEND_TESTS(CMeasurementResultDataTest);

/// Configurations whose loading fails at each step; the model must stay usable after.
class CMeasurementResultDataFailureTest : public MdaTest::CResultsSessionTest
{
};

TEST_P(CMeasurementResultDataFailureTest, FailedLoadLeavesAUsableModel)
{
    Record(c_Scans, c_Rows);
    QFile garbage(Path("garbage.json"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("{ not json");
    garbage.close();
    CDeviceSettingsData unusable;
    unusable.SetDatabaseName(Path("garbage.json") + "/db.sqlite");
    ASSERT_TRUE(unusable.Write(Path("unusable-device.json")));

    const struct
    {
        const char* m_pszCase;
        QString m_sDevice;
        QString m_sChannels;
        QString m_sLimits;
    } c_Cases[] = {
        {"missing device settings", Path("none.json"), Path("channels.json"), Path("limits.json")},
        {"missing channel table", Path("device.json"), Path("none.json"), Path("limits.json")},
        {"unreadable limits", Path("device.json"), Path("channels.json"), Path("garbage.json")},
        {"database cannot open", Path("unusable-device.json"), Path("channels.json"),
         Path("limits.json")},
    };
    for (const auto& row : c_Cases)
    {
        SCOPED_TRACE(row.m_pszCase);
        CMeasConfigData config = m_Config;
        config.SetDeviceSettingFile(row.m_sDevice);
        config.SetChannelTableFile(row.m_sChannels);
        config.SetComparativeValuesFile(row.m_sLimits);
        CMeasurementResultData model(m_lSession, eLevelUnit_dBm);
        EXPECT_FALSE(model.LoadData(config));

        EXPECT_EQ(model.GetNumberOfScans(), 0);
        EXPECT_EQ(model.GetNumberOfErrorsInSession(), 0);
        EXPECT_EQ(model.GetNextScanId(5, true), 5);
        EXPECT_EQ(model.GetScanIdOfFirstChannelError(0), -1);
        EXPECT_EQ(model.GetAvailableDates(), QStringList());
        EXPECT_EQ(model.GetCSVExport(),
                  QStringList("Session Data," + QString::number(m_lSession) + ",,,,,,,,,,,,,,,"));
        OrvelFramework::CRDMatrixData matrix;
        model.CreateChannelMatrixData(matrix);
        for (int i = 0; i < matrix.GetItemCount(); ++i)
        {
            EXPECT_EQ(matrix.GetItem(i).GetIndex(), 1);
        }
        model.UseOtherLimits(Path("other-limits.json"));
        CMeasurementResultSingleChannelData view(model, 2, 0, false);
        EXPECT_EQ(view.GetMeasCount(), 0);
        CMeasurementResultGraphData graph(model);
        graph.AddNewMeasurementResultItem();
        graph.SetChannelNameMeasItem("Ch1", 0, true);
        EXPECT_EQ(graph.GetNumberOfPoints(0), 0);
    }
}

MDA_INSTANTIATE_BACKEND_TESTS(CMeasurementResultDataFailureTest);

} // namespace

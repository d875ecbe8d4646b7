#include "CMeasurementResultData.h"
#include "CEnumTemplate.h"
#include "CMeasurementResultGraphData.h"
#include "CMeasurementResultSingleChannelData.h"
#include "CTableScan.h"
#include "ResultsTestTools.h"

#include <QBuffer>

using namespace LumoraMeasurement;

namespace
{

// Scans 2, 4, 9 and 11; channel rows 0 (Ch1, power offset 3 dB), 1 (Ch2), 2 (Ch3, never
// measured) and a stray channel 7 that the channel table does not have.
const std::vector<long> c_Scans = {2, 4, 9, 11};

/// Takes at most m_llMost bytes per write, as a device may.
class CPartialWriteDevice : public QIODevice
{
public:
    QByteArray m_Bytes;
    qint64 m_llMost = 40000;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* pData, qint64 iSize) override
    {
        m_Bytes.append(pData, int(std::min(iSize, m_llMost)));
        return std::min(iSize, m_llMost);
    }
};

/// The configuration files in a temporary folder (device settings naming the test database;
/// Ch1 with a power limit offset of 3 dB; default limits and a second limit file) and the
/// session recorded through the controllers.
class CMeasurementResultDataTest : public MdaTest::CResultsTest
{
protected:
    void Prepare() override
    {
        ASSERT_NO_FATAL_FAILURE(CDBControllerTest::Prepare());
        ASSERT_TRUE(MdaTest::DeviceSettings(Database()).Write(Path("device.json")));
        ASSERT_TRUE(MdaTest::Channels({"Ch1", "Ch2", "Ch3"},
                                      {eTVStandard_DVBT, eTVStandard_BG_Pal, eTVStandard_J83A},
                                      {"3"})
                        .Write(Path("channels.json")));
        ASSERT_TRUE(CComparativeValueData().Write(Path("limits.json")));
        CComparativeValueData other;
        MdaTest::Limit(other, eMeasItem_Power, "-15", "40");
        MdaTest::Limit(other, eMeasItem_MERRMSdB, "5", "70");
        MdaTest::Limit(other, eMeasItem_DemodLock, "Locked", "", eCompareType_NotUsed);
        ASSERT_TRUE(other.Write(Path("other-limits.json")));
        m_Config = MdaTest::Config(m_Files);
        m_vIds = MdaTest::RecordSession(*m_pDb, m_Files, m_lSession);
    }

    /// Stores a measurement (scan, channel row, item id, state id, value, error text); its id.
    long Store(const QStringList& row) { return MdaTest::Store(*m_pDb, m_lSession, row); }

    CMeasConfigData m_Config;
    std::vector<long> m_vIds;
};

TEST_P(CMeasurementResultDataTest, LoadJudgesEveryStoredValue)
{
    CMeasurementResultData model(m_lSession, eLevelUnit_dBm);
    ASSERT_TRUE(model.LoadData(m_Config));
    EXPECT_EQ(model.LastError(), "");

    const std::vector<QStringList> violations = MdaTest::ReadDataTable("results/violations.tsv");
    const long lCount = long(violations.size());
    ASSERT_EQ(model.GetNumberOfErrorsInSession(), lCount);
    for (long i = -1; i <= lCount; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(QStringList({QString::number(model.GetScanIdOfError(i)),
                               QString::number(model.GetChannelIdOfSessionError(i)),
                               model.GetChannelNameOfSessionError(i),
                               model.GetChannelErrorDescriptionOfSessionError(i)}),
                  i < 0 || i == lCount ? QStringList({"-1", "-1", "", ""}) : violations[size_t(i)]);
    }
    EXPECT_EQ("", model.GetChannelTimeStampOfSessionError(-1) +
                      model.GetChannelTimeStampOfSessionError(lCount));

    // Per scan and channel: the judged records (as rows of the recorded session), rewritten
    // values, the state as judged.
    // "Not Implemented" (scan 9, Ch1) is in no list.
    std::vector<CDBMeasurement> list;
    for (const QStringList& row : MdaTest::ReadDataTable("results/judged-lists.tsv"))
    {
        SCOPED_TRACE(row.join(' ').toStdString());
        model.GetMeasurementListAll(row[0].toLong(), row[1].toLong(), list);
        QStringList rows;
        for (const CDBMeasurement& m : list)
        {
            const auto it = std::find(m_vIds.begin(), m_vIds.end(), m.GetMeasurementId());
            rows << QString::number(it - m_vIds.begin());
        }
        EXPECT_EQ(rows.join(','), row[2]);
        // A row without records leaves the first record's columns empty.
        EXPECT_EQ(list.empty() ? QStringList({"", "", ""})
                               : QStringList({list[0].GetValue(),
                                              QString::number(list[0].GetMeasurementState()),
                                              list[0].GetErrorDescription()}),
                  row.mid(3, 3));
    }
    model.GetMeasurementListAll(4, 0, list);
    EXPECT_EQ(list[2].GetValue(), "15.00 ");

    EXPECT_DOUBLE_EQ(model.PowerLimitOffset(0), 3.0);
    EXPECT_EQ(model.GetChannelId("ch2"), -1);
    EXPECT_EQ(model.GetChannelType("Ch2"), eCategory_Analog);
    EXPECT_EQ(model.GetTvStandard("nope"), eTVStandard_DVBT);
}

// A model loaded in a worker thread and shown from another (a view's thread): each thread
// reads through a connection of its own, and what it shows is what a model used in one thread
// shows.
TEST_P(CMeasurementResultDataTest, ModelLoadedInAWorkerThreadDisplaysFromTheMainThread)
{
    OrvelFramework::CTableScan scans(*m_pDb);
    for (auto [lScan, pszDateTime] :
         {std::pair(2L, "2026-01-05 08:00:00"), std::pair(4L, "2026-01-05 09:30:00"),
          std::pair(9L, "2026-01-06 07:00:00"), std::pair(11L, "2026-01-05 23:00:00")})
    {
        ASSERT_TRUE(
            scans.Update(m_lSession, lScan,
                         {{OrvelFramework::CTableScan::c_sColumnDatetime, QString(pszDateTime)}}));
    }
    CMeasurementResultData single(m_lSession, eLevelUnit_dBmV);
    ASSERT_TRUE(single.LoadData(m_Config));
    const QStringList expected = MdaTest::Shown(single);
    // Navigation over scans and dates, with the scans' times set above.
    for (const QStringList& row : MdaTest::ReadDataTable("results/next-scans.tsv"))
    {
        EXPECT_EQ(single.GetNextScanId(row[0].toLong(), row[1] == "1"), row[2].toLong())
            << row.join(' ').toStdString();
    }
    EXPECT_EQ(
        (std::vector<long>{single.GetNumberOfScans(), single.GetScanIdOfScanIndex(-1),
                           single.GetScanIdOfScanIndex(0), single.GetScanIdOfScanIndex(3),
                           single.GetScanIdOfScanIndex(4), single.GetScanIdOfFirstChannelError(0),
                           single.GetScanIdOfFirstChannelError(2)}),
        (std::vector<long>{4, -1, 2, 11, -1, 4, 2}));

    EXPECT_EQ(single.GetAvailableDates(), QStringList({"2026-01-05", "2026-01-06"}));
    EXPECT_EQ(single.GetAvailableScansOfDate("2026-01-05"),
              QStringList({"Scan 2 ( 2026-01-05 08:00:00)", "Scan 4 ( 2026-01-05 09:30:00)",
                           "Scan 11 ( 2026-01-05 23:00:00)"}));
    EXPECT_EQ(single.GetChannelTimeStampOfSessionError(0) + ", " +
                  single.GetChannelTimeStampOfSessionError(1),
              "2026-01-05 08:00:00, 2026-01-05 09:30:00");

    // One model made here and one made there, both loaded there.
    CMeasurementResultData madeHere(m_lSession, eLevelUnit_dBmV);
    std::unique_ptr<CMeasurementResultData> pMadeThere;
    std::thread(
        [&]
        {
            pMadeThere = std::make_unique<CMeasurementResultData>(m_lSession, eLevelUnit_dBmV);
            EXPECT_TRUE(madeHere.LoadData(m_Config) && pMadeThere->LoadData(m_Config));
        })
        .join();
    EXPECT_EQ(MdaTest::Shown(madeHere), expected);
    EXPECT_EQ(MdaTest::Shown(*pMadeThere), expected);
    // Both threads at once on one model.
    QStringList lOther;
    std::thread other([&] { lOther = MdaTest::Shown(madeHere); });
    EXPECT_EQ(MdaTest::Shown(madeHere), expected);
    other.join();
    EXPECT_EQ(lOther, expected);
}

TEST_P(CMeasurementResultDataTest, SwitchingLimitsMatchesAFreshLoad)
{
    CMeasurementResultData model(m_lSession, eLevelUnit_dBmV);
    ASSERT_TRUE(model.LoadData(m_Config));
    // Graph lines fill the gaps between scans.
    CMeasurementResultGraphData graph(model);
    // Line i has the points (value, interpolated or not, scan) and range of a table row.
    const auto expectLine = [&graph](long i, const QStringList& row)
    {
        SCOPED_TRACE(i);
        ASSERT_EQ(graph.GetNumberOfPoints(i), 4);
        for (long p = 0; p < 4; ++p)
        {
            const bool bExpected = row[3].split(',')[int(p)] == "1";
            bool bInterpolated = !bExpected;
            EXPECT_DOUBLE_EQ(graph.GetYMeasValue(i, p, bInterpolated),
                             row[2].split(',')[int(p)].toDouble());
            EXPECT_EQ(bInterpolated, bExpected) << p;
            EXPECT_DOUBLE_EQ(graph.GetXMeasValue(i, p), double(c_Scans[size_t(p)]));
        }
        EXPECT_DOUBLE_EQ(graph.GetMinMeasValue(i), row[4].toDouble());
        EXPECT_DOUBLE_EQ(graph.GetMaxMeasValue(i), row[5].toDouble());
    };

    const std::vector<QStringList> lines = MdaTest::ReadDataTable("results/graph-lines.tsv");
    for (long i = 0; i < long(lines.size()); ++i)
    {
        const QStringList& row = lines[size_t(i)];
        SCOPED_TRACE(row.join(' ').toStdString());
        const auto eItem = CEnumTemplate<EMeasurementItems>::ToEnum(row[1].toLong());
        graph.AddNewMeasurementResultItem();
        EXPECT_TRUE(graph.SetChannelNameMeasItem(row[0], i, false));
        EXPECT_FALSE(graph.SetChannelNameMeasItem(row[0], i, false));
        EXPECT_TRUE(graph.SetDataItemMeasItem(eItem, i, true));
        EXPECT_FALSE(graph.SetDataItemMeasItem(eItem, i, true));
        expectLine(i, row);
    }
    EXPECT_EQ(graph.GetLineName(0), "Ch2 / MER RMS dB");
    EXPECT_TRUE(graph.SetDataItemEnabled(true, 1, false));
    EXPECT_TRUE(graph.SetDataItemEnabled(true, 3, false));
    EXPECT_FALSE(graph.SetDataItemEnabled(true, 3, false));
    const long lPast = long(lines.size());
    EXPECT_EQ(QVector<bool>({graph.IsDataItemEnabled(-1), graph.IsDataItemEnabled(0),
                             graph.IsDataItemEnabled(3), graph.IsDataItemEnabled(lPast)}),
              QVector<bool>({false, false, true, false}));
    EXPECT_EQ(QStringList({graph.GetChannelNameMeasItem(0), graph.GetChannelNameMeasItem(lPast)}),
              QStringList({lines[0][0], ""}));
    EXPECT_EQ(QVector<long>({graph.GetLineMeasurementItem(0), graph.GetDataItemMeasItem(-1),
                             graph.GetNumberOfLines(), graph.ConvertLineIdToMeasdataId(1),
                             graph.ConvertLineIdToMeasdataId(2)}),
              QVector<long>({CEnumTemplate<EMeasurementItems>::ToEnum(lines[0][1].toLong()),
                             eMeasItem_None, 2, 3, 0}));
    EXPECT_EQ(graph.GetXMeasValue(0, -1) + graph.GetXMeasValue(0, 4), 0.0);
    EXPECT_TRUE(graph.SetScalingDataItem(2));
    EXPECT_FALSE(graph.SetScalingDataItem(2));

    // Removing a line keeps the others' points, in their order, and their shared x axis.
    graph.RemoveMeasurementResultItem(1);
    for (long i = 0; i + 1 < long(lines.size()); ++i)
    {
        expectLine(i, lines[size_t(i < 1 ? i : i + 1)]);
    }
    // The lines behind the removed one keep their channels: a re-read finds Ch1's values.
    EXPECT_TRUE(graph.SetDataItemMeasItem(eMeasItem_DemodLock, 3, true));
    expectLine(3, lines[5]);
    // A line switched to an item its channel never measured has no range left.
    EXPECT_TRUE(graph.SetDataItemMeasItem(eMeasItem_BERBeforeRS, 0, true));
    EXPECT_EQ(QStringLiteral("%1 %2").arg(graph.GetMinMeasValue(0)).arg(graph.GetMaxMeasValue(0)),
              "0 0");
    // A line assigned from another one reads that one's item, channel and session.
    CMeasurementResultGraphDataItem line(*m_pDb, m_lSession, c_Scans), assigned(*m_pDb, 0, c_Scans);
    line.SetItemType(eMeasItem_MERRMSdB, false);
    line.SetChannelName("Ch2", model.GetChannelId("Ch2"), false);
    (assigned = line).RefreshMeasValues();
    EXPECT_EQ(assigned.GetMaxValue(), 20.0);

    const QStringList initial = MdaTest::Shown(model);
    const QStringList tiles = MdaTest::Tiles(model);
    ASSERT_EQ(tiles.size(), 3);
    // Violations in 3 scans of 4 (3 gaps): the top of the gradient.
    EXPECT_EQ(tiles[0],
              "13 Ch1 Channel Ch1\n----------------------------\nTotal limit violation count: 5\n"
              "\n  Limit violation at ScanID 4: Power is not between -15(+3) <= value(50.5 dBmV) "
              "<= 47(+3)"
              "\n  Limit violation at ScanID 4: Demod Lock is not Locked"
              "\n  Limit violation at ScanID 4: MER RMS dB is not between 30 <= value(15 dB) <= 70"
              "\n  Limit violation at ScanID 9: BER before RS is not between 0 <= value(0.004 ) "
              "<= 0.0002"
              "\n  Limit violation at ScanID 11: Demod Lock is not Locked");
    EXPECT_EQ(tiles[2], "1 Ch3 ");

    CMeasurementResultData fresh(m_lSession, eLevelUnit_dBmV);
    ASSERT_TRUE(fresh.LoadData(
        MdaTest::Config(m_Files, {"device.json", "channels.json", "other-limits.json"})));
    const QStringList other = MdaTest::Shown(fresh);
    // Power above 40(+3) fails now; MER from 5 and any lock state pass.
    ASSERT_EQ(fresh.GetNumberOfErrorsInSession(), 3);
    EXPECT_EQ(fresh.GetChannelErrorDescriptionOfSessionError(0),
              "Power is not between -15(+3) <= value(50 dBmV) <= 40(+3)");

    for (int i = 0; i < 2; ++i)
    {
        SCOPED_TRACE(i);
        model.UseOtherLimits(Path("other-limits.json"));
        EXPECT_EQ(MdaTest::Shown(model), other);
        model.UseInititalLimits();
        EXPECT_EQ(MdaTest::Shown(model), initial);
    }

    // Limits edited or shown in another unit without judging again keep the texts of the
    // judging, also where a text is only written when asked for.
    CComparativeValueData& limits = model.GetComparativeValueData();
    QString sLow = QStringLiteral("-30");
    ASSERT_TRUE(limits.SetLowValueByIndex(limits.GetIndexFromEnum(eMeasItem_Power), sLow));
    model.SetLevelUnit(eLevelUnit_dBm);
    EXPECT_EQ(MdaTest::Shown(model), initial);
    EXPECT_EQ(limits.GetLowValueByIndex(limits.GetIndexFromEnum(eMeasItem_Power), true, 0),
              "-76.99 dBm");
    model.UpdateDataAffectedByLimitValues();
    EXPECT_NE(MdaTest::Shown(model), initial);
    model.UseOtherLimits(Path("none.json"));
    EXPECT_EQ(model.LastError(), "Reading the limit file \"" + Path("none.json") +
                                     "\" failed: the file cannot be opened: No such file or "
                                     "directory");
    model.UseOtherLimits(Path("other-limits.json"));
    EXPECT_EQ(model.LastError(), "");

    // A new unit shows the limits at the device's impedance: -15 dBmV at 75 Ohm.
    CDeviceSettingsData device = MdaTest::DeviceSettings(Database());
    ASSERT_TRUE(device.SetImpedance(eInstrumentImpedance_75Ohm) && device.Write(Path("75.json")));
    CMeasurementResultData at75(m_lSession, eLevelUnit_dBmV);
    ASSERT_TRUE(
        at75.LoadData(MdaTest::Config(m_Files, {"75.json", "channels.json", "limits.json"})));
    at75.SetLevelUnit(eLevelUnit_dBm);
    EXPECT_EQ(at75.GetComparativeValueData().GetLowValueByIndex(
                  limits.GetIndexFromEnum(eMeasItem_Power), true, 0),
              "-63.75 dBm");
    EXPECT_EQ(CMeasurementResultSingleChannelData(at75, 4, 0, false).GetValue(eMeasItem_Power),
              "1.75 dBm");
}

TEST_P(CMeasurementResultDataTest, CsvListsStoredRowsScanByScan)
{
    // Last in export order: the last scan, the last channel row. Texts go out unquoted.
    const long lLast = Store({"11", "2", "8", "3", QString::fromUtf8("1,5 \"dB\"\n\u00c4"),
                              QString::fromUtf8("x,\"y\"\r\n\u00fc")});
    CMeasurementResultData model(m_lSession, eLevelUnit_dBmV);
    ASSERT_TRUE(model.LoadData(m_Config));
    QStringList lines = model.GetCSVExport();

    QBuffer refusing;
    EXPECT_FALSE(model.WriteCSVExport(refusing));

    EXPECT_EQ(lines.takeLast(),
              QStringLiteral("Scan Data,%1,11,2,%2,8,").arg(m_lSession).arg(lLast) +
                  QString::fromUtf8("0.00 \"dB\"\n\u00c4,3,x,\"y\"\r\n\u00fc"));

    const QString sSession = QString::number(m_lSession);
    EXPECT_EQ(lines.value(0), "Session Data," + sSession + ",uid-1,Night, run," +
                                  model.GetSessionData().FirstRun() +
                                  ",,Roof,TP 3,Ann,E12,T34,a@b.c,RX-1,1.2,3.4,SN9,Lab");
    // Stored states and texts, not the judged ones.
    const std::vector<QStringList> stored = MdaTest::ReadDataTable("results/session.tsv");
    const std::vector<QStringList> expected = MdaTest::ReadDataTable("results/csv-lines.tsv");
    ASSERT_EQ(size_t(lines.size()), expected.size() + 1);
    for (size_t i = 0; i < expected.size(); ++i)
    {
        const size_t lRow = expected[i][0].toULong();
        EXPECT_EQ(lines[int(i) + 1], QStringLiteral("Scan Data,%1,%2,%3,%4,%5")
                                         .arg(sSession, stored[lRow][0], stored[lRow][1],
                                              QString::number(m_vIds.at(lRow)), expected[i][1]));
    }
    EXPECT_EQ(model.GetNumberOfErrorsInSession(), 8);

    // Sixteen violations of Ch3, one more than its tile lists, with texts long enough for the
    // export to span several writes of a device that takes at most 40,000 bytes at a time, one
    // longer than a piece of the export. The file is the list as the application writes it:
    // UTF-8, each line ended by a line feed.
    for (int i = 0; i < 16; ++i)
    {
        Store({"11", "2", "15", "2", "15 dB", QString(i == 0 ? 40000 : 5000, 'e')});
    }
    CMeasurementResultData longer(m_lSession, eLevelUnit_dBmV);
    CPartialWriteDevice partial;
    ASSERT_TRUE(longer.LoadData(m_Config) && partial.open(QIODevice::WriteOnly));
    EXPECT_TRUE(longer.WriteCSVExport(partial));
    const QByteArray whole = (longer.GetCSVExport().join('\n') + '\n').toUtf8();
    EXPECT_EQ(partial.m_Bytes, whole);
    // One byte at a time is slow but whole.
    partial.m_llMost = 1;
    EXPECT_TRUE(longer.WriteCSVExport(partial) && partial.m_Bytes == whole + whole);
    // One that takes nothing fails the export rather than being offered the bytes forever.
    partial.m_llMost = 0;
    EXPECT_FALSE(longer.WriteCSVExport(partial));
    EXPECT_EQ(
        MdaTest::Tiles(longer).value(2),
        "10 Ch3 Channel Ch3\n----------------------------\nTotal limit violation count: 16\n" +
            QString("\n  Limit violation at ScanID 11: MER RMS dB is not between 30 <= "
                    "value(15 dB) <= 70")
                .repeated(15) +
            "\n  ...");
}

TEST_P(CMeasurementResultDataTest, SingleChannelViewShowsDisplayTexts)
{
    // A whole number that names no state is shown as it is.
    Store({"4", "0", "41", "2", "17"});
    Store({"4", "0", "0", "2", "dBu text"});
    Store({"9", "0", "12", "2", "a"});
    CMeasurementResultData model(m_lSession, eLevelUnit_dBm);
    ASSERT_TRUE(model.LoadData(m_Config));

    // Scan 4 holds the value above; scan 11's power is taken as dBmV, whatever unit it carries.
    for (const QStringList& row : MdaTest::ReadDataTable("results/single-channel.tsv"))
    {
        SCOPED_TRACE(row.join(' ').toStdString());
        CMeasurementResultSingleChannelData view(model, row[0].toLong(), 0, row[1] == "1");
        const auto eItem = CEnumTemplate<EMeasurementItems>::ToEnum(row[2].toLong());
        EXPECT_EQ(QStringList({view.GetValue(eItem), QString::number(view.GetResultPosition(eItem)),
                               view.GetErrorDescription(eItem)}),
                  row.mid(3, 3));
    }
    CMeasurementResultSingleChannelData scan4(model, 4, 0, false);
    EXPECT_EQ(QStringList({QString::number(scan4.GetMeasCount()), scan4.GetMeasItem(0).GetValue(),
                           scan4.GetMeasItem(5).GetValue(), scan4.GetMeasItem(-1).GetValue()}),
              QStringList({"5", "50.50 dBmV", "", ""}));
    EXPECT_EQ(scan4.GetResultPosition(eMeasItem_None), -1);
    EXPECT_DOUBLE_EQ(scan4.GetPowerLimitOffset(), 3.0);
    model.UseOtherLimits(Path("other-limits.json"));
    scan4.UpdateLimitValues(true);
    EXPECT_EQ(scan4.GetErrorDescription(eMeasItem_DemodLock), "");
}

TEST_P(CMeasurementResultDataTest, FailedLoadLeavesAUsableModel)
{
    MdaTest::WriteFile(m_Files, "garbage.json", "{ not json");
    CDeviceSettingsData unusable;
    unusable.SetDatabaseName(Path("garbage.json") + "/db.sqlite");
    ASSERT_TRUE(unusable.Write(Path("unusable-device.json")));

    for (const QStringList& row : MdaTest::ReadDataTable("results/failed-loads.tsv"))
    {
        SCOPED_TRACE(row.mid(0, 3).join(' ').toStdString());
        CMeasurementResultData model(m_lSession, eLevelUnit_dBm);
        EXPECT_FALSE(model.LoadData(MdaTest::Config(m_Files, row.mid(0, 3))));
        // The reason names the step, the file and the cause.
        const QString sFailed = Path(row[0] != "device.json"     ? row[0]
                                     : row[1] != "channels.json" ? row[1]
                                                                 : row[2]);
        const QString sReason = QString(row[3]).replace("%2", Path("garbage.json")).arg(sFailed);
        EXPECT_TRUE(model.LastError().startsWith(sReason)) << model.LastError().toStdString();

        EXPECT_EQ(model.GetNextScanId(5, true), 5);
        EXPECT_EQ(model.GetScanIdOfFirstChannelError(0), -1);
        EXPECT_EQ(model.GetCSVExport(),
                  QStringList("Session Data," + QString::number(m_lSession) + ",,,,,,,,,,,,,,,"));
        for (const QString& sTile : MdaTest::Tiles(model))
        {
            EXPECT_TRUE(sTile.startsWith("1 ")) << sTile.toStdString();
        }
        model.UseOtherLimits(Path("other-limits.json"));
        EXPECT_EQ(CMeasurementResultSingleChannelData(model, 2, 0, false).GetMeasCount(), 0);
        CMeasurementResultGraphData graph(model);
        graph.AddNewMeasurementResultItem();
        graph.SetChannelNameMeasItem("Ch1", 0, true);
        EXPECT_EQ(graph.GetNumberOfPoints(0), 0);
    }
    // LoadData was true for a session that does not exist: the session read returned a record
    // carrying the requested id.
    const long lMissing = m_lSession + 1000;
    CMeasurementResultData model(lMissing, eLevelUnit_dBmV);
    EXPECT_FALSE(model.LoadData(m_Config));
    EXPECT_EQ(model.LastError(), QStringLiteral("Reading session %1 failed: There is no session "
                                                "%1 in the database")
                                     .arg(lMissing));
    EXPECT_TRUE(!model.ReadSessionData() && model.GetSessionData().GetSessionId() == lMissing);

    // A session without a scan yet loads with a tile per channel; scans that cannot be read
    // while the values can fail the load.
    CMeasurementResultData fresh(CreateSession(), eLevelUnit_dBmV);
    EXPECT_TRUE(fresh.LoadData(m_Config) && MdaTest::Tiles(fresh).size() == 3);
    const char* pszFails = GetParam() == MdaTest::EBackend::Sqlite ? "abs(1 << 63)" : "1 / 0";
    ASSERT_TRUE(Database().ExecuteDirect("ALTER TABLE scan RENAME TO scan_kept") &&
                Database().ExecuteDirect(
                    QStringLiteral("CREATE VIEW scan AS SELECT * FROM scan_kept WHERE %1 > 0")
                        .arg(pszFails)));
    EXPECT_TRUE(!fresh.LoadData(m_Config) &&
                fresh.LastError().startsWith("Reading the scans of session "));
}

TEST_P(CMeasurementResultDataTest, UnreadableStoredValueIsAMeasurementError)
{
    long lScan = 20;
    ASSERT_TRUE(CDBScanController(*m_pDb).Create(m_lSession, lScan));
    // Item id (8 Power: float; 12 Demod Lock: integer), stored value ("huge": a megabyte of 9s).
    std::vector<QStringList> values = MdaTest::ReadDataTable("results/unreadable.tsv");
    std::vector<long> ids;
    for (QStringList& row : values)
    {
        row[1] = row[1] == "huge" ? QString(1024 * 1024, QLatin1Char('9')) : row[1];
        ids.push_back(Store({"20", "1", row[0], "2", row[1]}));
    }
    CMeasurementResultData model(m_lSession, eLevelUnit_dBmV);
    ASSERT_TRUE(model.LoadData(m_Config));
    for (int iRound = 0; iRound < 2; ++iRound)
    {
        SCOPED_TRACE(iRound);
        // The violations of the session's own limits, then of the other limits.
        EXPECT_EQ(model.GetNumberOfErrorsInSession(), iRound == 0 ? 8 : 3);
        std::vector<CDBMeasurement> list;
        model.GetMeasurementListAll(20, 1, list);
        ASSERT_EQ(list.size(), values.size());
        for (size_t i = 0; i < list.size(); ++i)
        {
            const QString& sValue = values[i][1];
            SCOPED_TRACE(sValue.left(20).toStdString());
            EXPECT_EQ(list[i].GetMeasurementId(), ids[i]);
            EXPECT_EQ(list[i].GetMeasurementState(), 3);
            EXPECT_EQ(list[i].GetValue(), sValue);
            EXPECT_EQ(list[i].GetErrorDescription(),
                      (values[i][0] == "8" ? "Power" : "Demod Lock") +
                          QStringLiteral(": the stored value \"") +
                          (sValue.size() > 64 ? sValue.left(64) + "..." : sValue) +
                          "\" is not a finite number");
        }
        model.UseOtherLimits(Path("other-limits.json"));
    }
    // More errors than violations: the channel's tile shows the error state.
    EXPECT_EQ(MdaTest::Tiles(model).value(1), "2 Ch2 Channel Ch2\n----------------------------");
    const CDBMeasurement stored = CDBMeasurementController(*m_pDb).GetData(m_lSession, 20, ids[7]);
    EXPECT_EQ(stored.GetValue(), "n/a dBmV");
    EXPECT_EQ(stored.GetMeasurementState(), 2);
    EXPECT_EQ(stored.GetErrorDescription(), "");
}

MDA_INSTANTIATE_BACKEND_TESTS(CMeasurementResultDataTest);

} // namespace

#include "CMatrixStateColorHandler.h"
#include "CChannelTableData.h"
#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "CDBSessionControler.h"
#include "DatabaseTestBackend.h"

using namespace LumoraMeasurement;
using OrvelFramework::CRDColor;
using OrvelFramework::CRDMatrixData;

namespace
{

constexpr long c_lValid = 2;
constexpr long c_lError = 3;
constexpr long c_lOutOfRange = 4;

class CMatrixStateColorHandlerTest : public MdaTest::CDatabaseBackendTest
{
protected:
    void SetUp() override
    {
        CDatabaseBackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
        {
            return;
        }
        m_pDb = OpenConnection();
        const QString s;
        ASSERT_TRUE(CDBSessionControler(*m_pDb).Create(m_lSession, "u", "d", s, s, s, s, s, s, s, s,
                                                       s, s, s, s, s));
        long lScan = 1;
        ASSERT_TRUE(CDBScanController(*m_pDb).Create(m_lSession, lScan));
    }

    /// A channel table of channels A, B, C, ...
    static CChannelTableData Channels(int iCount)
    {
        CChannelTableData table;
        for (int i = 0; i < iCount; ++i)
        {
            table.AddChannel(CChannelData(eTVStandard_DVBT, QString(QChar('A' + i))),
                             CChannelTableData::c_lAppendRow);
        }
        return table;
    }

    void Store(long lChannel, long lState, const QString& sError)
    {
        CDBMeasurementController controller(*m_pDb);
        long lId = 0;
        ASSERT_TRUE(controller.Create(m_lSession, 1, lChannel, lId));
        CDBMeasurement m(m_lSession, 1, lChannel, lId);
        m.SetMeasurementItem(15);
        m.SetMeasurementState(lState);
        m.SetValue("1 dB");
        m.SetErrorDescription(sError);
        ASSERT_TRUE(controller.Update(m));
    }

    long m_lSession = 0;
    std::unique_ptr<OrvelFramework::CDatabaseMultiInstance> m_pDb;
};

TEST_P(CMatrixStateColorHandlerTest, ViolationRateSelectsTheGradientIndex)
{
    Store(0, c_lValid, QString());
    CChannelTableData table = Channels(1);
    CDBMeasurementController controller(*m_pDb);

    const struct
    {
        bool m_bRecentOnly;
        long m_lScanCount;
        std::vector<long> m_ViolatedScans;
        short m_iExpected;
    } c_Rows[] = {
        {false, 10, {1}, 7},                   // 1/9 is above 0.10
        {false, 10, {1, 2}, 9},                // 2/9 is above 0.21
        {false, 101, {5}, 3},                  // 1/100 is the first threshold
        {false, 10, {1, 2, 3, 4, 5, 6}, 13},   // 6/9 is above 0.55
        {false, 1, {1}, 13},                   // a single scan divides by 1
        {true, 20, {10}, 3},                   // scans 8 to 19 count: 1/11
        {true, 20, {8, 9, 10}, 5},             // 3/11
        {true, 20, {8, 9, 10, 11, 12, 13}, 8}, // 6/11
        {true, 20, {3, 5}, 3},                 // only before the window: yellow
        {true, 5, {1}, 5},                     // fewer than 12 scans: all count, 1/4
    };
    for (const auto& row : c_Rows)
    {
        SCOPED_TRACE(testing::Message()
                     << (row.m_bRecentOnly ? "recent " : "all ") << row.m_lScanCount << " scans, "
                     << row.m_ViolatedScans.size() << " violated");
        std::vector<CDBMeasurement> records;
        for (long lScan : row.m_ViolatedScans)
        {
            // Two violations in one scan count once for the rate.
            for (int i = 0; i < 2; ++i)
            {
                CDBMeasurement m(m_lSession, lScan, 0, lScan * 10 + i);
                m.SetMeasurementState(c_lOutOfRange);
                records.push_back(m);
            }
        }
        CRDMatrixData matrix;
        CMatrixStateColorHandler().DoCreateChannelMatrixData(matrix, controller, records, table,
                                                             m_lSession, row.m_lScanCount,
                                                             row.m_bRecentOnly, false);
        ASSERT_EQ(matrix.GetItemCount(), 1);
        EXPECT_EQ(matrix.GetItem(0).GetIndex(), row.m_iExpected);
        EXPECT_TRUE(
            matrix.GetItem(0).GetText().contains(QStringLiteral("Total limit violation count: %1\n")
                                                     .arg(2 * row.m_ViolatedScans.size())));
    }
}

TEST_P(CMatrixStateColorHandlerTest, TileKindsAndTheirTexts)
{
    Store(0, c_lValid, QString());
    Store(2, c_lError, "e1");
    Store(2, c_lError, "e2");
    Store(3, c_lError, "e3");
    for (int i = 0; i < 20; ++i)
    {
        Store(3, c_lOutOfRange, QStringLiteral("V%1").arg(i));
    }
    CChannelTableData table = Channels(4);
    CDBMeasurementController controller(*m_pDb);
    // A stale record the builder replaces with the stored errors.
    CDBMeasurement stale(m_lSession, 1, 0, 99);
    stale.SetMeasurementState(c_lOutOfRange);
    std::vector<CDBMeasurement> records = {stale};

    CRDMatrixData matrix;
    CMatrixStateColorHandler().DoCreateChannelMatrixData(matrix, controller, records, table,
                                                         m_lSession, 1, false, true);
    EXPECT_EQ(records.size(), 23u);
    ASSERT_EQ(matrix.GetItemCount(), 4);
    const QString sRule = QStringLiteral("\n----------------------------");
    EXPECT_EQ(matrix.GetItem(0).GetIndex(), 0);
    EXPECT_EQ(matrix.GetItem(0).GetText(), "Channel A" + sRule);
    EXPECT_EQ(matrix.GetItem(1).GetIndex(), 1);
    EXPECT_EQ(matrix.GetItem(1).GetText(), "");
    EXPECT_EQ(matrix.GetItem(1).GetName(), "B");
    EXPECT_EQ(matrix.GetItem(2).GetIndex(), 2);
    EXPECT_EQ(matrix.GetItem(2).GetText(), "Channel C" + sRule);

    // Errors and violations: the rate decides; 15 detail lines, then one cut marker.
    EXPECT_EQ(matrix.GetItem(3).GetIndex(), 13);
    QString sExpected = "Channel D" + sRule + "\nTotal limit violation count: 20\n";
    for (int i = 0; i < 15; ++i)
    {
        sExpected += QStringLiteral("\n  Limit violation at ScanID 1: V%1").arg(i);
    }
    sExpected += "\n  ...";
    EXPECT_EQ(matrix.GetItem(3).GetText(), sExpected);

    // With the error first and the only violation outside the counted window: yellow.
    std::vector<CDBMeasurement> mixed = {records[2], records[3]};
    CMatrixStateColorHandler().DoCreateChannelMatrixData(matrix, controller, mixed, table,
                                                         m_lSession, 30, true, false);
    EXPECT_EQ(matrix.GetItem(3).GetIndex(), 3);
    EXPECT_EQ(matrix.GetItem(3).GetText(), "Channel D" + sRule +
                                               "\nTotal limit violation count: 1\n"
                                               "\n  Limit violation at ScanID 1: V0");
}

TEST_P(CMatrixStateColorHandlerTest, SessionBelowOneLeavesTheMatrixAlone)
{
    CChannelTableData table = Channels(2);
    CDBMeasurementController controller(*m_pDb);
    std::vector<CDBMeasurement> records;
    CRDMatrixData matrix;
    matrix.AppendMatrixItem(5, "kept", "X");
    CMatrixStateColorHandler().DoCreateChannelMatrixData(matrix, controller, records, table, 0, 3,
                                                         false, true);
    ASSERT_EQ(matrix.GetItemCount(), 1);
    EXPECT_EQ(matrix.GetItem(0).GetText(), "kept");
}

MDA_INSTANTIATE_BACKEND_TESTS(CMatrixStateColorHandlerTest);

TEST(CMatrixStateColorHandlerPalette, NamedColoursAtTheirIndexes)
{
    const std::vector<CRDColor> colors = CMatrixStateColorHandler().GetMatrixStateColors();
    ASSERT_EQ(colors.size(), 14u);
    EXPECT_EQ(colors[0], OrvelFramework::c_ColorGreen);
    EXPECT_EQ(colors[1], OrvelFramework::c_ColorLightGray);
    EXPECT_EQ(colors[2], CRDColor(220, 0, 255));
    EXPECT_EQ(colors[3], OrvelFramework::c_ColorYellow);
    EXPECT_EQ(colors[13], OrvelFramework::c_ColorRed);
    // Between yellow and red the gradient loses green in steps of 25.
    for (size_t i = 4; i < 13; ++i)
    {
        EXPECT_EQ(colors[i], CRDColor(255, static_cast<unsigned char>(225 - 25 * (i - 4)), 0)) << i;
    }
}

} // namespace

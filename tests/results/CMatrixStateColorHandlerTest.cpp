#include "CMatrixStateColorHandler.h"
#include "ResultsTestTools.h"

using namespace LumoraMeasurement;
using OrvelFramework::CRDMatrixData;

namespace
{

constexpr long c_lError = 3;
constexpr long c_lOutOfRange = 4;
const QString c_sRule = QStringLiteral("\n----------------------------");

/// A session with scan 1 and channels A, B, C, D; Store() records values per channel.
class CMatrixStateColorHandlerTest : public MdaTest::CResultsTest
{
protected:
    void Prepare() override
    {
        m_pDb = OpenConnection();
        long lScan = 1;
        ASSERT_TRUE(CreateSession(m_lSession, "") &&
                    CDBScanController(*m_pDb).Create(m_lSession, lScan));
    }

    void Store(long lChannel, long lState, const QString& sError)
    {
        MdaTest::Store(*m_pDb, m_lSession, 1, lChannel, 15, lState, "1 dB", sError);
    }

    CRDMatrixData Build(std::vector<CDBMeasurement>& records, long lScanCount, bool bRecentOnly,
                        bool bLoad, long lSession = -1, CRDMatrixData matrix = CRDMatrixData())
    {
        CDBMeasurementController controller(*m_pDb);
        // Nothing to build (session 0) is no failure either.
        EXPECT_TRUE(CMatrixStateColorHandler().DoCreateChannelMatrixData(
            matrix, controller, records, m_Table, lSession < 0 ? m_lSession : lSession, lScanCount,
            bRecentOnly, bLoad));
        return matrix;
    }

    CChannelTableData m_Table = MdaTest::Channels({"A", "B", "C", "D"});
};

// A channel whose every measurement failed (C) was a green "OK" tile: the matrix saw only the
// limit violations. Violations still outrank errors (D).
TEST_P(CMatrixStateColorHandlerTest, GradientTileKindsAndTheirTexts)
{
    Store(0, 2, QString());
    // The violation rate over the counted scans selects the gradient index.
    for (const QStringList& row : MdaTest::ReadDataTable("results/gradient.tsv"))
    {
        SCOPED_TRACE(row.join(' ').toStdString());
        const QStringList lScans = row[2].split(',');
        std::vector<CDBMeasurement> records;
        for (const QString& sScan : lScans)
        {
            const long lScan = sScan.toLong();
            // Two violations in one scan count once for the rate.
            for (long i = 0; i < 2; ++i)
            {
                records.emplace_back(m_lSession, lScan, 0, lScan * 10 + i);
                records.back().SetMeasurementState(c_lOutOfRange);
            }
        }
        const CRDMatrixData matrix = Build(records, row[1].toLong(), row[0] == "1", false);
        EXPECT_EQ(matrix.GetItem(0).GetIndex(), row[3].toShort());
        EXPECT_TRUE(matrix.GetItem(0).GetText().contains(
            QStringLiteral("count: %1\n").arg(2 * lScans.size())));
    }
    Store(2, c_lError, "e1");
    Store(3, c_lError, "e2");
    for (int i = 0; i < 20; ++i)
    {
        Store(3, c_lOutOfRange, QStringLiteral("V%1").arg(i));
    }
    // A stale record the builder replaces with the stored errors.
    std::vector<CDBMeasurement> records = {CDBMeasurement(m_lSession, 1, 0, 99)};
    records[0].SetMeasurementState(c_lOutOfRange);
    CRDMatrixData matrix = Build(records, 1, false, true);
    EXPECT_EQ(records.size(), 22u);
    // 15 detail lines of D, then one cut marker.
    QString sD = "Channel D" + c_sRule + "\nTotal limit violation count: 20\n";
    for (int i = 0; i < 15; ++i)
    {
        sD += QStringLiteral("\n  Limit violation at ScanID 1: V%1").arg(i);
    }
    EXPECT_EQ(MdaTest::Tiles(matrix),
              QStringList({"0 A Channel A" + c_sRule, "1 B ", "2 C Channel C" + c_sRule,
                           "13 D " + sD + "\n  ..."}));

    // An error and a violation outside the counted window: yellow.
    std::vector<CDBMeasurement> mixed = {records[1], records[2]};
    matrix = Build(mixed, 30, true, false);
    EXPECT_EQ(MdaTest::Tiles(matrix).value(3), "3 D Channel D" + c_sRule +
                                                   "\nTotal limit violation count: 1\n"
                                                   "\n  Limit violation at ScanID 1: V0");

    // No scan to divide by and nothing violated: still green.
    std::vector<CDBMeasurement> none;
    EXPECT_EQ(Build(none, 0, false, false).GetItem(0).GetIndex(), 0);

    // Session 0 leaves the matrix as it was.
    matrix.AppendMatrixItem(5, "kept", "X");
    EXPECT_EQ(Build(records, 3, false, true, 0, matrix).GetItemCount(), 5);
    // The palette: green, grey, violet, then yellow to red.
    const auto colors = CMatrixStateColorHandler().GetMatrixStateColors();
    const std::vector<QStringList> rows = MdaTest::ReadDataTable("results/palette.tsv");
    ASSERT_EQ(colors.size(), rows.size());
    for (const QStringList& row : rows)
    {
        EXPECT_EQ(colors[row[0].toULong()],
                  OrvelFramework::CRDColor(row[1].toInt(), row[2].toInt(), row[3].toInt()))
            << row[0].toStdString();
    }
}

MDA_INSTANTIATE_BACKEND_TESTS(CMatrixStateColorHandlerTest);

} // namespace

#include "CDBScanController.h"
#include "CDBSessionControler.h"
#include "COSAbstraction.h"
#include "DBControllerTestBase.h"

using namespace LumoraMeasurement;
using OrvelFramework::COSAbstraction;

namespace
{

class CDBScanControllerTest : public MdaTest::CDBControllerTest
{
protected:
    long CreateSession()
    {
        long lId = 0;
        const QString s;
        EXPECT_TRUE(
            CDBSessionControler(Db()).Create(lId, "u", "d", s, s, s, s, s, s, s, s, s, s, s, s, s));
        return lId;
    }
};

TEST_P(CDBScanControllerTest, ScanIdsComeBackAscending)
{
    const long lSession = CreateSession();
    const long lOther = CreateSession();
    CDBScanController scans(Db());
    for (long lScan : {5L, 2L, 9L})
    {
        ASSERT_TRUE(scans.Create(lSession, lScan));
    }
    long lScan = 1;
    ASSERT_TRUE(scans.Create(lOther, lScan));
    EXPECT_EQ(scans.GetScanIds(lSession), (std::vector<long>{2, 5, 9}));
    EXPECT_EQ(scans.GetNumberOfScans(lSession), 3);
    EXPECT_EQ(scans.GetScanIds(lOther), (std::vector<long>{1}));
    EXPECT_TRUE(scans.GetScanIds(lOther + 1).empty());
    EXPECT_EQ(scans.GetNumberOfScans(lOther + 1), 0);
}

TEST_P(CDBScanControllerTest, UpdateStoresTheGivenStateAndMissingScanGivesStartRecord)
{
    const long lSession = CreateSession();
    CDBScanController scans(Db());
    long lScan = 4;
    const QString sNow = COSAbstraction::GetFormattedDateTime();
    ASSERT_TRUE(scans.Create(lSession, lScan));
    CDBScanData scan = scans.GetData(lSession, 4);
    EXPECT_EQ(scan.GetScanId(), 4);
    EXPECT_EQ(scan.GetSessionId(), lSession);
    EXPECT_EQ(scan.GetState(), -1);
    EXPECT_TRUE(scan.DateTime() == sNow ||
                scan.DateTime() == COSAbstraction::GetFormattedDateTime());

    scan.SetState(1);
    ASSERT_TRUE(scans.Update(scan, 2));
    EXPECT_EQ(scans.GetData(lSession, 4).GetState(), 2);
    EXPECT_FALSE(scans.Update(CDBScanData(lSession, 99), 0));
    for (long lBad : {0L, -1L})
    {
        EXPECT_FALSE(scans.Update(CDBScanData(lSession, lBad), 0));
    }
    EXPECT_EQ(scans.GetData(lSession, 4).GetState(), 2);

    const CDBScanData missing = scans.GetData(lSession, 8);
    EXPECT_EQ(QVector<long>({missing.GetScanId(), missing.GetSessionId(), missing.GetState()}),
              QVector<long>({0, 0, -1}));
    EXPECT_FALSE(missing.DateTime().isEmpty());
}

MDA_INSTANTIATE_BACKEND_TESTS(CDBScanControllerTest);

} // namespace

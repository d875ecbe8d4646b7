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

TEST_P(CDBScanControllerTest, CreateStampsAndUpdateStoresTheGivenState)
{
    const long lSession = CreateSession();
    CDBScanController scans(Db());
    long lScan = 4;
    const QString sBefore = COSAbstraction::GetFormattedDateTime();
    ASSERT_TRUE(scans.Create(lSession, lScan));
    const QString sAfter = COSAbstraction::GetFormattedDateTime();

    CDBScanData scan = scans.GetData(lSession, 4);
    EXPECT_EQ(scan.GetScanId(), 4);
    EXPECT_EQ(scan.GetSessionId(), lSession);
    EXPECT_EQ(scan.GetState(), -1);
    EXPECT_TRUE(scan.DateTime() == sBefore || scan.DateTime() == sAfter);

    scan.SetState(1);
    ASSERT_TRUE(scans.Update(scan, 2));
    EXPECT_EQ(scans.GetData(lSession, 4).GetState(), 2);

    CDBScanData missing(lSession, 99);
    EXPECT_FALSE(scans.Update(missing, 0));
}

TEST_P(CDBScanControllerTest, UpdateRefusesScanIdBelowOne)
{
    const long lSession = CreateSession();
    CDBScanController scans(Db());
    long lScan = 1;
    ASSERT_TRUE(scans.Create(lSession, lScan));
    for (long lBad : {0L, -1L})
    {
        EXPECT_FALSE(scans.Update(CDBScanData(lSession, lBad), 2));
    }
    EXPECT_EQ(scans.GetData(lSession, 1).GetState(), -1);
}

TEST_P(CDBScanControllerTest, MissingScanGivesStartRecord)
{
    const QString sBefore = COSAbstraction::GetFormattedDateTime();
    const CDBScanData scan = CDBScanController(Db()).GetData(3, 8);
    const QString sAfter = COSAbstraction::GetFormattedDateTime();
    EXPECT_EQ(scan.GetScanId(), 0);
    EXPECT_EQ(scan.GetSessionId(), 0);
    EXPECT_EQ(scan.GetState(), -1);
    EXPECT_TRUE(scan.DateTime() == sBefore || scan.DateTime() == sAfter);
}

MDA_INSTANTIATE_BACKEND_TESTS(CDBScanControllerTest);

} // namespace

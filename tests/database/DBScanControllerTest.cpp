#include "CDBScanController.h"
#include "COSAbstraction.h"
#include "DBControllerTestBase.h"

using namespace LumoraMeasurement;
using OrvelFramework::COSAbstraction;

namespace
{

using CDBScanControllerTest = MdaTest::CDBControllerTest;

TEST_P(CDBScanControllerTest, ScansPerSessionAscendingWithStateGivenOnUpdate)
{
    const long lSession = CreateSession();
    const long lOther = CreateSession();
    CDBScanController scans(Db());
    const QString sNow = COSAbstraction::GetFormattedDateTime();
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

    CDBScanData scan = scans.GetData(lSession, 5);
    EXPECT_EQ(QVector<long>({scan.GetScanId(), scan.GetSessionId(), scan.GetState()}),
              QVector<long>({5, lSession, -1}));
    EXPECT_TRUE(scan.DateTime() == sNow ||
                scan.DateTime() == COSAbstraction::GetFormattedDateTime());
    // The state comes from the argument, not from the record.
    scan.SetState(1);
    ASSERT_TRUE(scans.Update(scan, 2));
    for (long lBad : {99L, 0L, -1L})
    {
        EXPECT_FALSE(scans.Update(CDBScanData(lSession, lBad), 0));
    }
    EXPECT_EQ(scans.GetData(lSession, 5).GetState(), 2);

    // A missing scan reads as a fresh record stamped now.
    const CDBScanData missing = scans.GetData(lSession, 8);
    EXPECT_EQ(QVector<long>({missing.GetScanId(), missing.GetSessionId(), missing.GetState()}),
              QVector<long>({0, 0, -1}));
    EXPECT_FALSE(missing.DateTime().isEmpty());
}

MDA_INSTANTIATE_BACKEND_TESTS(CDBScanControllerTest);

} // namespace

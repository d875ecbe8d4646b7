#include "CDBMeasurement.h"
#include "CDBScanData.h"
#include "COSAbstraction.h"
#include "DBControllerTestBase.h"

using namespace LumoraMeasurement;

TEST(DBRecords, MeasurementStartsWithNoItemAndNoState)
{
    for (const CDBMeasurement& m : {CDBMeasurement(), CDBMeasurement(1, 2, 3, 4)})
    {
        EXPECT_EQ(m.GetMeasurementItem(), -1);
        EXPECT_EQ(m.GetMeasurementState(), -1);
        EXPECT_TRUE(m.GetValue().isEmpty() && m.GetErrorDescription().isEmpty());
    }
    const CDBMeasurement m(1, 2, 3, 4);
    EXPECT_EQ(
        QVector<long>({m.GetSessionId(), m.GetScanId(), m.GetChannelId(), m.GetMeasurementId()}),
        QVector<long>({1, 2, 3, 4}));
    EXPECT_EQ(CDBMeasurement().GetMeasurementId(), 0);
}

TEST(DBRecords, ScanDataStartsWithoutScanAndStampsNow)
{
    const QString sBefore = OrvelFramework::COSAbstraction::GetFormattedDateTime();
    const CDBScanData scan(7);
    const QString sAfter = OrvelFramework::COSAbstraction::GetFormattedDateTime();
    EXPECT_EQ(scan.GetScanId(), 0);
    EXPECT_EQ(scan.GetSessionId(), 7);
    EXPECT_EQ(scan.GetState(), -1);
    EXPECT_TRUE(scan.DateTime() == sBefore || scan.DateTime() == sAfter);
    EXPECT_EQ(CDBScanData(7, 3).GetScanId(), 3);
}

TEST(DBRecords, SessionConstructorsAndAssociatedFiles)
{
    CDBSessionData empty(42);
    EXPECT_EQ(empty.ScanCount(), 0);
    EXPECT_EQ(MdaTest::Fields(empty).join(QString()), QString());
    empty.SetAssociatedFiles(12, 5);
    EXPECT_EQ(MdaTest::Fields(empty).mid(13), QStringList({"12", "5"}));

    // The full constructor takes the channel file id before the limit file id.
    const CDBSessionData s(9, "uid", "desc", "first", "last", "site", "tp", "name", "enr", "tnr",
                           "mail", "hw", "fw", "sw", "snr", "owner", 17, "channel", "limit");
    EXPECT_EQ(MdaTest::Fields(s),
              QStringList({"uid", "desc", "site", "tp", "name", "enr", "tnr", "mail", "hw", "fw",
                           "sw", "snr", "owner", "limit", "channel"}));
    EXPECT_EQ(QStringList({s.FirstRun(), s.LastRun()}), QStringList({"first", "last"}));
    EXPECT_EQ(s.ScanCount(), 17);
}

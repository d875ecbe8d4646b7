#include "CMeasurementItem.h"
#include "VocabularyTestData.h"

#include <cmath>

using namespace LumoraMeasurement;

TEST(CMeasurementItem, ConstructionTakesTypeUnitAndNameFromTheCatalogue)
{
    for (const QStringList& row : VocabularyTest::ReadRows("fresh_cells.tsv", 5))
    {
        SCOPED_TRACE(row[1].toStdString());
        const CMeasurementItem cell(static_cast<EMeasurementItems>(row[0].toInt()));
        EXPECT_EQ(cell.Id(), row[0].toInt());
        EXPECT_EQ(cell.Name(), row[1]);
        EXPECT_EQ(cell.ValueType(), row[2].toInt());
        EXPECT_EQ(cell.Unit(), row[3].toInt());
        EXPECT_EQ(cell.State(), eMeasurementItemState_OnlyInitialized);
        EXPECT_TRUE(cell.IsNotSet());
        EXPECT_FALSE(cell.HasValidMeasurementData());
        EXPECT_EQ(cell.ToString(), row[4]);
    }
    const CMeasurementItem defaultCell;
    EXPECT_EQ(defaultCell.Id(), eMeasItem_None);
    EXPECT_EQ(defaultCell.ToString(), QStringLiteral("0 "));
}

// Written with six significant digits; as an integer the truncated value keeps its low 16 bits.
TEST(CMeasurementItem, FloatingValueConversions)
{
    for (const QStringList& row : VocabularyTest::ReadRows("float_cells.tsv", 6))
    {
        SCOPED_TRACE(row[3].toStdString());
        CMeasurementItem cell(static_cast<EMeasurementItems>(row[0].toInt()));
        const double dValue = row[1].toDouble();
        cell.Set(dValue, static_cast<EUnitTypes>(row[2].toInt()));
        EXPECT_TRUE(cell.HasValidMeasurementData());
        EXPECT_EQ(cell.ToString(), row[3]);
        EXPECT_EQ(cell.ToInt(), row[4].toShort());
        EXPECT_EQ(cell.ToBool(), row[5] == "1");
        EXPECT_TRUE(std::isnan(dValue) || cell.ToFloat() == dValue);
    }
}

TEST(CMeasurementItem, IntegerAndTextConversions)
{
    CMeasurementItem lock(eMeasItem_DemodLock);
    lock.Set(short(1), eUnitType_None);
    EXPECT_EQ(lock.State(), eMeasurementItemState_Valid);
    EXPECT_EQ(lock.ToString(), QStringLiteral("1 "));
    EXPECT_EQ(lock.ToInt(), 1);
    EXPECT_DOUBLE_EQ(lock.ToFloat(), 1.0);
    EXPECT_TRUE(lock.ToBool());
    lock.Set(short(-7), eUnitType_Hz);
    EXPECT_EQ(lock.ToString(), QStringLiteral("-7 Hz"));
    lock.Set(short(0), eUnitType_None);
    EXPECT_FALSE(lock.ToBool());
    EXPECT_EQ(lock.Unit(), eUnitType_Hz); // no unit keeps the one set before

    CMeasurementItem stamp(eMeasItem_TimeStamp);
    stamp.Set(QStringLiteral("2026-12-06 02:10:00"), eUnitType_s);
    EXPECT_EQ(stamp.ToString(), QStringLiteral("2026-12-06 02:10:00")); // text has no unit
    EXPECT_EQ(stamp.ToInt(), -1);
    EXPECT_DOUBLE_EQ(stamp.ToFloat(), 0.0);
    EXPECT_FALSE(stamp.ToBool());
}

TEST(CMeasurementItem, SetEnumKeepsTheLow16Bits)
{
    const std::pair<long, short> rows[] = {
        {2, 2}, {-1, -1}, {0x12345, 0x2345}, {40000, -25536}, {-65537, -1}};
    for (const auto& [lValue, iStored] : rows)
    {
        SCOPED_TRACE(lValue);
        CMeasurementItem cell(eMeasItem_VisionDetector);
        cell.Set(short(5), eUnitType_Hz);
        cell.SetToErrorState();
        cell.SetEnum(lValue);
        EXPECT_EQ(cell.ToInt(), iStored);
        EXPECT_EQ(cell.State(), eMeasurementItemState_Valid);
        EXPECT_EQ(cell.Unit(), eUnitType_Hz);
    }
}

TEST(CMeasurementItem, SettersOfAnotherValueTypeChangeNothing)
{
    for (const EMeasurementItems eItem :
         {eMeasItem_DemodLock, eMeasItem_MERRMSdB, eMeasItem_TimeStamp})
    {
        SCOPED_TRACE(eItem);
        const CMeasurementItem fresh(eItem);
        CMeasurementItem cell(eItem);
        if (cell.ValueType() != eValueType_Float)
        {
            cell.Set(12.5, eUnitType_Hz);
        }
        if (cell.ValueType() != eValueType_Integer)
        {
            cell.Set(short(3), eUnitType_Hz);
            cell.SetEnum(3);
        }
        if (cell.ValueType() != eValueType_Text)
        {
            cell.Set(QStringLiteral("x"), eUnitType_Hz);
        }
        cell.Set(true, eUnitType_Hz); // no item holds a boolean
        EXPECT_TRUE(cell.IsNotSet());
        EXPECT_EQ(cell.Unit(), fresh.Unit());
        EXPECT_EQ(cell.ToString(), fresh.ToString());
    }
}

TEST(CMeasurementItem, StateSettersKeepTheValue)
{
    CMeasurementItem cell(eMeasItem_MERRMSdB);
    cell.Set(32.5, eUnitType_None);

    cell.SetToErrorState();
    EXPECT_TRUE(cell.IsInErrorState());
    EXPECT_FALSE(cell.HasValidMeasurementData());
    EXPECT_EQ(cell.ToString(), QStringLiteral("32.5 dB"));

    cell.SetToNotImplemented();
    EXPECT_TRUE(cell.IsNotImplemented());
    cell.SetOutOfRange();
    EXPECT_EQ(cell.State(), eMeasurementItemState_OutOfRange);
    EXPECT_FALSE(cell.IsInErrorState() || cell.IsNotImplemented() || cell.IsNotSet());
    EXPECT_DOUBLE_EQ(cell.ToFloat(), 32.5);

    cell.Set(1.0, eUnitType_None);
    EXPECT_TRUE(cell.HasValidMeasurementData());
    cell.SetState(eMeasurementItemState_OnlyInitialized);
    EXPECT_TRUE(cell.IsNotSet());
    EXPECT_DOUBLE_EQ(cell.ToFloat(), 1.0);
}

#include "CMeasurementItem.h"
#include "CEnumTemplate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace LumoraMeasurement;

TEST(MeasurementItemState, TableRowsAndSentinel)
{
    using StateTable = CEnumTemplate<EMeasurementItemState>;
    EXPECT_EQ(StateTable::ToStringList(), QStringList({"Only Initialized", "Not Implemented",
                                                       "Valid", "Error", "Out of range"}));
    const struct
    {
        EMeasurementItemState m_eState;
        long m_lId;
    } rows[] = {{eMeasurementItemState_OnlyInitialized, 0},
                {eMeasurementItemState_NotImplemented, 1},
                {eMeasurementItemState_Valid, 2},
                {eMeasurementItemState_Error, 3},
                {eMeasurementItemState_OutOfRange, 4}};
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_lId);
        EXPECT_EQ(StateTable::ToId(row.m_eState), row.m_lId);
        EXPECT_EQ(StateTable::ToEnum(row.m_lId), row.m_eState);
    }
    EXPECT_EQ(StateTable::ToEnum(5), eMeasurementItemState_None);
    EXPECT_EQ(static_cast<int>(eMeasurementItemState_None), 5);
}

TEST(CMeasurementItem, ConstructionTakesTypeUnitAndNameFromTheCatalogue)
{
    const struct
    {
        EMeasurementItems m_eItem;
        const char* m_pszName;
        EValueType m_eType;
        EUnitTypes m_eUnit;
        const char* m_pszText; // ToString() before any value is set
    } rows[] = {
        {eMeasItem_None, "", eValueType_Integer, eUnitType_None, "0 "},
        {eMeasItem_TimeStamp, "Time Stamp", eValueType_Text, eUnitType_None, ""},
        {eMeasItem_DemodLock, "Demod Lock", eValueType_Integer, eUnitType_None, "0 "},
        {eMeasItem_MERRMSdB, "MER RMS dB", eValueType_Float, eUnitType_dB, "0 dB"},
        {eMeasItem_GroupDelay, "Group Delay", eValueType_Float, eUnitType_ns, "0 ns"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszName);
        const CMeasurementItem cell(row.m_eItem);
        EXPECT_EQ(cell.Id(), row.m_eItem);
        EXPECT_EQ(cell.Name(), QString::fromLatin1(row.m_pszName));
        EXPECT_EQ(cell.ValueType(), row.m_eType);
        EXPECT_EQ(cell.Unit(), row.m_eUnit);
        EXPECT_EQ(cell.State(), eMeasurementItemState_OnlyInitialized);
        EXPECT_TRUE(cell.IsNotSet());
        EXPECT_FALSE(cell.HasValidMeasurementData());
        EXPECT_EQ(cell.ToString(), QString::fromLatin1(row.m_pszText));
    }
    const CMeasurementItem defaultCell;
    EXPECT_EQ(defaultCell.Id(), eMeasItem_None);
    EXPECT_EQ(defaultCell.ValueType(), eValueType_Integer);
    EXPECT_EQ(defaultCell.ToString(), QStringLiteral("0 "));
}

TEST(CMeasurementItem, FloatingValueConversions)
{
    const double dNaN = std::numeric_limits<double>::quiet_NaN();
    const struct
    {
        EMeasurementItems m_eItem;
        double m_dValue;
        EUnitTypes m_eUnit;
        const char* m_pszText;
        short m_iInt;
        bool m_bBool;
    } rows[] = {
        {eMeasItem_MERRMSdB, 32.5, eUnitType_None, "32.5 dB", 32, true},
        {eMeasItem_Power, -12.34567, eUnitType_None, "-12.3457 dBmV", -12, true},
        {eMeasItem_CarrierFrequencyOffsetDigital, 1234567.0, eUnitType_None, "1.23457e+06 Hz",
         -10617, true}, // 1234567 keeps its low 16 bits
        {eMeasItem_MERRMSdB, 0.000012345, eUnitType_Percent, "1.2345e-05 %", 0, true},
        {eMeasItem_MERRMSdB, -0.9, eUnitType_None, "-0.9 dB", 0, true},
        {eMeasItem_MERRMSdB, 70000.9, eUnitType_None, "70000.9 dB", 4464, true},
        {eMeasItem_MERRMSdB, -70000.9, eUnitType_None, "-70000.9 dB", -4464, true},
        {eMeasItem_MERRMSdB, 0.0, eUnitType_None, "0 dB", 0, false},
        {eMeasItem_MERRMSdB, 1e300, eUnitType_None, "1e+300 dB", 0, true},
        {eMeasItem_MERRMSdB, dNaN, eUnitType_None, "nan dB", 0, true},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszText);
        CMeasurementItem cell(row.m_eItem);
        cell.Set(row.m_dValue, row.m_eUnit);
        EXPECT_TRUE(cell.HasValidMeasurementData());
        EXPECT_EQ(cell.ToString(), QString::fromLatin1(row.m_pszText));
        EXPECT_EQ(cell.ToInt(), row.m_iInt);
        EXPECT_EQ(cell.ToBool(), row.m_bBool);
        if (!std::isnan(row.m_dValue))
        {
            EXPECT_DOUBLE_EQ(cell.ToFloat(), row.m_dValue);
        }
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
    const struct
    {
        long m_lValue;
        short m_iStored;
    } rows[] = {{2, 2}, {-1, -1}, {0x12345, 0x2345}, {40000, -25536}, {-65537, -1}};
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_lValue);
        CMeasurementItem cell(eMeasItem_VisionDetector);
        cell.Set(short(5), eUnitType_Hz);
        cell.SetToErrorState();
        cell.SetEnum(row.m_lValue);
        EXPECT_EQ(cell.ToInt(), row.m_iStored);
        EXPECT_EQ(cell.State(), eMeasurementItemState_Valid);
        EXPECT_EQ(cell.Unit(), eUnitType_Hz);
    }
}

TEST(CMeasurementItem, SettersOfAnotherValueTypeChangeNothing)
{
    const struct
    {
        EMeasurementItems m_eItem;
        const char* m_pszText;
    } cells[] = {
        {eMeasItem_DemodLock, "0 "}, {eMeasItem_MERRMSdB, "0 dB"}, {eMeasItem_TimeStamp, ""}};
    for (const auto& row : cells)
    {
        SCOPED_TRACE(row.m_pszText);
        CMeasurementItem cell(row.m_eItem);
        const EValueType eType = cell.ValueType();
        if (eType != eValueType_Float)
        {
            cell.Set(12.5, eUnitType_Hz);
        }
        if (eType != eValueType_Integer)
        {
            cell.Set(short(3), eUnitType_Hz);
            cell.SetEnum(3);
        }
        if (eType != eValueType_Text)
        {
            cell.Set(QStringLiteral("x"), eUnitType_Hz);
        }
        cell.Set(true, eUnitType_Hz); // no item holds a boolean
        EXPECT_TRUE(cell.IsNotSet());
        EXPECT_EQ(cell.Unit(), CMeasurementItem(row.m_eItem).Unit());
        EXPECT_EQ(cell.ToString(), QString::fromLatin1(row.m_pszText));
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

    const CMeasurementItem copy = cell;
    cell.Set(1.0, eUnitType_None);
    EXPECT_TRUE(cell.HasValidMeasurementData());
    EXPECT_EQ(copy.State(), eMeasurementItemState_OutOfRange);
    EXPECT_DOUBLE_EQ(copy.ToFloat(), 32.5);

    cell.SetState(eMeasurementItemState_OnlyInitialized);
    EXPECT_TRUE(cell.IsNotSet());
    EXPECT_DOUBLE_EQ(cell.ToFloat(), 1.0);
}

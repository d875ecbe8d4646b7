#include "CEnumTemplate.h"
#include "EInstrumentImpedance.h"
#include "ELevelUnit.h"
#include "EUnitTypes.h"

#include <gtest/gtest.h>

using namespace LumoraMeasurement;

TEST(UnitTypesTest, UnitTableRows)
{
    using Units = CEnumTemplate<EUnitTypes>;
    // ns has no row and Bits/s sits before the larger symbol rates; ids run 0..28 in row order.
    const int enumerators[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                               15, 16, 17, 19, 20, 21, 22, 26, 23, 24, 25, 27, 28, 29};
    const QStringList texts = {"W",          "mW",        "dBm",     "dBmV",       "V",
                               "mV",         "uV",        "dBuV",    "dBV",        "A",
                               "mA",         "Hz",        "KHz",     "MHz",        "GHz",
                               "S",          "mS",        "uS",      "Percent",    "dB",
                               "Deg",        "Symbols/s", "Bits/s",  "kSymbols/s", "MSymbols/s",
                               "GSymbols/s", "kBits/s",   "MBits/s", "GBits/s"};
    const auto& table = CRepresentation<EUnitTypes>::Table();
    ASSERT_EQ(29, table.size());
    EXPECT_EQ(texts, Units::ToStringList());
    for (int i = 0; i < table.size(); ++i)
    {
        SCOPED_TRACE(table[i].m_sText.toStdString());
        EXPECT_EQ(enumerators[i], table[i].m_eEnumValue);
        EXPECT_EQ(i, table[i].m_lId);
    }
    EXPECT_EQ(-1, Units::ToId(eUnitType_ns));
    EXPECT_EQ(QString(), Units::ToString(eUnitType_ns));
    EXPECT_EQ(eUnitType_None, Units::ToEnum(29));
    EXPECT_EQ(eUnitType_None, Units::Sentinel());
}

TEST(UnitTypesTest, LevelUnitAndImpedanceRows)
{
    using Levels = CEnumTemplate<ELevelUnit>;
    using Impedances = CEnumTemplate<EInstrumentImpedance>;
    EXPECT_EQ(QStringList({"dBm", "dBmV", QString::fromUtf8("dB\u03bcV")}), Levels::ToStringList());
    EXPECT_EQ(eLevelUnit_dBm, Levels::ToEnum(0));
    EXPECT_EQ(eLevelUnit_dBuV, Levels::ToEnum(2));
    EXPECT_EQ(1, Levels::ToId(eLevelUnit_dBmV));
    EXPECT_EQ(eLevelUnit_None, Levels::Sentinel());
    EXPECT_EQ(QStringList({"50 Ohm", "75 Ohm"}), Impedances::ToStringList());
    EXPECT_EQ(eInstrumentImpedance_75Ohm, Impedances::ToEnum(1));
    EXPECT_EQ(eInstrumentImpedance_None, Impedances::Sentinel());
}

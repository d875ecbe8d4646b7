#include "CEnumTemplate.h"
#include "EInstrumentImpedance.h"
#include "ELevelUnit.h"
#include "EUnitTypes.h"

#include <gtest/gtest.h>

#include <vector>

using namespace LumoraMeasurement;

namespace
{

template <typename E> struct SRow
{
    E m_eValue;
    long m_lId;
    const char* m_pszText;
};

template <typename E> void ExpectTable(const std::vector<SRow<E>>& expected)
{
    const auto& table = CRepresentation<E>::Table();
    ASSERT_EQ(static_cast<int>(expected.size()), table.size());
    for (int i = 0; i < table.size(); ++i)
    {
        SCOPED_TRACE(expected[i].m_pszText);
        EXPECT_EQ(expected[i].m_eValue, table[i].m_eEnumValue);
        EXPECT_EQ(expected[i].m_lId, table[i].m_lId);
        EXPECT_EQ(QString::fromUtf8(expected[i].m_pszText), table[i].m_sText);
    }
}

} // namespace

TEST(UnitTypesTest, UnitTableRowsInStoredOrder)
{
    ExpectTable<EUnitTypes>({
        {eUnitType_W, 0, "W"},
        {eUnitType_mW, 1, "mW"},
        {eUnitType_dBm, 2, "dBm"},
        {eUnitType_dBmV, 3, "dBmV"},
        {eUnitType_V, 4, "V"},
        {eUnitType_mV, 5, "mV"},
        {eUnitType_uV, 6, "uV"},
        {eUnitType_dBuV, 7, "dBuV"},
        {eUnitType_dBV, 8, "dBV"},
        {eUnitType_A, 9, "A"},
        {eUnitType_mA, 10, "mA"},
        {eUnitType_Hz, 11, "Hz"},
        {eUnitType_kHz, 12, "KHz"},
        {eUnitType_MHz, 13, "MHz"},
        {eUnitType_GHz, 14, "GHz"},
        {eUnitType_s, 15, "S"},
        {eUnitType_ms, 16, "mS"},
        {eUnitType_us, 17, "uS"},
        {eUnitType_Percent, 18, "Percent"},
        {eUnitType_dB, 19, "dB"},
        {eUnitType_Deg, 20, "Deg"},
        {eUnitType_SymbolPerSec, 21, "Symbols/s"},
        {eUnitType_BitPerSec, 22, "Bits/s"},
        {eUnitType_kSymbolPerSec, 23, "kSymbols/s"},
        {eUnitType_MSymbolPerSec, 24, "MSymbols/s"},
        {eUnitType_GSymbolPerSec, 25, "GSymbols/s"},
        {eUnitType_kBitPerSec, 26, "kBits/s"},
        {eUnitType_MBitPerSec, 27, "MBits/s"},
        {eUnitType_GBitPerSec, 28, "GBits/s"},
    });
}

TEST(UnitTypesTest, LevelUnitAndImpedanceRows)
{
    ExpectTable<ELevelUnit>({
        {eLevelUnit_dBm, 0, "dBm"},
        {eLevelUnit_dBmV, 1, "dBmV"},
        {eLevelUnit_dBuV, 2, "dB\u03bcV"},
    });
    ExpectTable<EInstrumentImpedance>({
        {eInstrumentImpedance_50Ohm, 0, "50 Ohm"},
        {eInstrumentImpedance_75Ohm, 1, "75 Ohm"},
    });
}

TEST(UnitTypesTest, LookupsThroughShiftedIds)
{
    using Units = CEnumTemplate<EUnitTypes>;
    // ns has no row, so the stored ids after it are shifted against the enumerators.
    EXPECT_EQ(eUnitType_Percent, Units::ToEnum(18));
    EXPECT_EQ(eUnitType_BitPerSec, Units::ToEnum(22));
    EXPECT_EQ(eUnitType_kBitPerSec, Units::ToEnum(26));
    EXPECT_EQ(eUnitType_None, Units::ToEnum(29));
    EXPECT_EQ(-1, Units::ToId(eUnitType_ns));
    EXPECT_EQ(QString(), Units::ToString(eUnitType_ns));
    EXPECT_EQ(28, Units::ToId(eUnitType_GBitPerSec));
    EXPECT_EQ(eUnitType_None, Units::Sentinel());
    EXPECT_EQ(eLevelUnit_None, CEnumTemplate<ELevelUnit>::Sentinel());
    EXPECT_EQ(eLevelUnit_dBuV, CEnumTemplate<ELevelUnit>::TextToEnum(QString::fromUtf8("dBμV")));
    EXPECT_EQ(eInstrumentImpedance_None, CEnumTemplate<EInstrumentImpedance>::Sentinel());
}

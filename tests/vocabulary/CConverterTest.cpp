#include "CConverter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace LumoraMeasurement;

namespace
{

QString U(const char* pszUtf8)
{
    return QString::fromUtf8(pszUtf8);
}

void ExpectClose(double expected, double actual)
{
    // Relative, so that results of 1e-9 are told apart from 0.
    EXPECT_NEAR(expected, actual, expected == 0 ? 1e-12 : 1e-12 * std::fabs(expected));
}

// Read during static start-up of this test program, which runs before the library's own
// static initialisers: the spellings and scale tables must already be usable.
struct SEarlyUse
{
    QString m_sUnit = CConverter::GetUnit(QStringLiteral("3 MSymbol/s"));
    QString m_sRate = CConverter::GetSymbolRateString(6952000, 3, true);
    double m_dHz = CConverter::ConvertValue(QStringLiteral("474"), eUnitType_Hz);
};
const SEarlyUse g_EarlyUse;

constexpr double c_dNaN = std::numeric_limits<double>::quiet_NaN();
constexpr auto c_e50 = eInstrumentImpedance_50Ohm;
constexpr auto c_e75 = eInstrumentImpedance_75Ohm;
constexpr auto c_eNoOhm = eInstrumentImpedance_None;

} // namespace

TEST(CConverterTest, UsableDuringStaticInitialisation)
{
    EXPECT_EQ(QStringLiteral("MSymb/s"), g_EarlyUse.m_sUnit);
    EXPECT_EQ(QStringLiteral("6.952 MSymbol/s"), g_EarlyUse.m_sRate);
    EXPECT_EQ(474000000.0, g_EarlyUse.m_dHz);
}

TEST(CConverterTest, UnitIsValid)
{
    struct
    {
        const char* m_pszText;
        bool m_bValid;
        EUnitTypes m_eUnit;
    } const rows[] = {
        {"474 MHz", true, eUnitType_MHz},
        {"1 us", true, eUnitType_us},
        {"3 μs", true, eUnitType_us},
        {"5 deg", true, eUnitType_Deg},
        {"1 Symbol/s", true, eUnitType_SymbolPerSec},
        {"-1.00 kSymbol/s", true, eUnitType_kSymbolPerSec},
        {"6.95200000 MSymbol/s", true, eUnitType_MSymbolPerSec},
        {"1 GSymbol/s", true, eUnitType_GSymbolPerSec},
        {"474,25 MHZ", true, eUnitType_MHz},
        {"-1.5e-3 V", true, eUnitType_V},
        {"xyz 90deg", true, eUnitType_Deg},
        // The micro sign is not the Greek mu: it is skipped, leaving seconds.
        {"3 \u00b5s", true, eUnitType_s},
        {"474", true, eUnitType_None},
        {"", true, eUnitType_None},
        {"474 xyz", false, eUnitType_None},
        {"1E3 Hz", false, eUnitType_None},
        {"12 dBμV", false, eUnitType_None},
        {"2 sec", false, eUnitType_None},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszText);
        EUnitTypes unit = eUnitType_W;
        EXPECT_EQ(row.m_bValid, CConverter::UnitIsValid(U(row.m_pszText), unit));
        EXPECT_EQ(row.m_eUnit, unit);
    }
    // Every unit text reads back as its unit.
    for (int i = 0; i < eUnitType_None; ++i)
    {
        const QString text = QStringLiteral("1 ") + CConverter::GetUnitString(EUnitTypes(i));
        SCOPED_TRACE(text.toStdString());
        EUnitTypes unit = eUnitType_None;
        EXPECT_TRUE(CConverter::UnitIsValid(text, unit));
        EXPECT_EQ(i, unit);
    }
}

TEST(CConverterTest, UnitTexts)
{
    const char* const texts[] = {"W",       "mW",      "dBm",   "dBmV",   "V",      "mV",
                                 "uV",      "dBuV",    "dBV",   "A",      "mA",     "Hz",
                                 "kHz",     "MHz",     "GHz",   "s",      "ms",     "μs",
                                 "ns",      "%",       "dB",    "deg",    "Symb/s", "KSymb/s",
                                 "MSymb/s", "GSymb/s", "Bit/s", "kBit/s", "MBit/s", "GBit/s"};
    for (int i = 0; i < 30; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(U(texts[i]), CConverter::GetUnitString(static_cast<EUnitTypes>(i)));
    }
    EXPECT_EQ(QString(), CConverter::GetUnitString(eUnitType_None));
    EXPECT_EQ(QString(), CConverter::GetUnitString(static_cast<EUnitTypes>(-1)));
    EXPECT_EQ(QString(), CConverter::GetUnitString(static_cast<EUnitTypes>(31)));

    EXPECT_EQ(QStringLiteral("MHz"), CConverter::GetUnit(QStringLiteral("474 mhz")));
    EXPECT_EQ(U("μs"), CConverter::GetUnit(QStringLiteral("3 us")));
    EXPECT_EQ(QStringLiteral("KSymb/s"), CConverter::GetUnit(QStringLiteral("1 ksymb/s")));
    EXPECT_EQ(QString(), CConverter::GetUnit(QStringLiteral("474")));
    EXPECT_EQ(QString(), CConverter::GetUnit(QStringLiteral("474 xyz")));
}

TEST(CConverterTest, GetOrvelFloatKeepsOnlyNumberCharacters)
{
    struct
    {
        const char* m_pszText;
        double m_dValue;
        const char* m_pszAfter;
    } const rows[] = {
        {"-12.5 dBmV", -12.5, "-12.5 dBmV"},
        {"1,5", 15, "1,5"},
        {"1E3", 13, "1E3"},
        {"abc", 0, "abc"},
        {"90 deg", 90, "90"},
        {" -45deg ", -45, "-45"},
        {"1deg2deg", 12, "12"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszText);
        QString text = U(row.m_pszText);
        EXPECT_EQ(row.m_dValue, CConverter::getORVELFloat(text));
        EXPECT_EQ(U(row.m_pszAfter), text);
    }
}

TEST(CConverterTest, ConvertToUnitTable)
{
    struct
    {
        EUnitTypes m_eFrom;
        EUnitTypes m_eTo;
        const char* m_pszValue;
        short m_iOhm;
        double m_dExpected;
    } const rows[] = {
        {eUnitType_W, eUnitType_mW, "2", 0, 2000},
        {eUnitType_W, eUnitType_dBm, "1", 0, 30},
        {eUnitType_mW, eUnitType_W, "500", 0, 0.5},
        {eUnitType_mW, eUnitType_dBm, "100", 0, 20},
        {eUnitType_dBm, eUnitType_W, "30", 0, 1},
        {eUnitType_dBm, eUnitType_mW, "20", 0, 100},
        {eUnitType_dBmV, eUnitType_dBm, "0", 75, -48.750612633917},
        {eUnitType_dBmV, eUnitType_dBm, "0", 50, -46.98970004336019},
        {eUnitType_dBmV, eUnitType_dBm, "0", 0, 0},
        {eUnitType_dBmV, eUnitType_dBuV, "40.5", 75, 100.5},
        {eUnitType_dBmV, eUnitType_dBuV, "40.5", 0, 40.5},
        {eUnitType_V, eUnitType_mV, "1.5", 0, 1500},
        {eUnitType_V, eUnitType_uV, "2", 0, 2e6},
        {eUnitType_V, eUnitType_dBuV, "1", 0, 120},
        {eUnitType_V, eUnitType_dBV, "10", 0, 20},
        {eUnitType_mV, eUnitType_V, "250", 0, 0.25},
        {eUnitType_mV, eUnitType_dBuV, "1", 0, 60},
        {eUnitType_mV, eUnitType_dBV, "100", 0, -20},
        {eUnitType_uV, eUnitType_V, "5", 0, 5e-6},
        {eUnitType_dBuV, eUnitType_V, "120", 0, 1},
        {eUnitType_dBuV, eUnitType_mV, "60", 0, 1},
        {eUnitType_dBuV, eUnitType_dBV, "100", 0, -20},
        {eUnitType_dBV, eUnitType_V, "20", 0, 10},
        {eUnitType_dBV, eUnitType_mV, "0", 0, 1000},
        {eUnitType_dBV, eUnitType_dBuV, "-20", 0, 100},
        {eUnitType_A, eUnitType_mA, "0.2", 0, 200},
        {eUnitType_mA, eUnitType_A, "30", 0, 0.03},
        {eUnitType_Hz, eUnitType_kHz, "1500", 0, 1.5},
        {eUnitType_ns, eUnitType_us, "1500", 0, 1.5},
        {eUnitType_SymbolPerSec, eUnitType_MSymbolPerSec, "6952000", 0, 6.952},
        {eUnitType_BitPerSec, eUnitType_kBitPerSec, "64000", 0, 64},
        // Pairs without a conversion keep the number.
        {eUnitType_dBm, eUnitType_dBmV, "-20", 75, -20},
        {eUnitType_dBuV, eUnitType_dBmV, "60", 75, 60},
        {eUnitType_uV, eUnitType_mV, "5", 0, 5},
        {eUnitType_Hz, eUnitType_s, "5", 0, 5},
        {eUnitType_MBitPerSec, eUnitType_MSymbolPerSec, "5", 0, 5},
        {eUnitType_None, eUnitType_Hz, "5", 0, 5},
        {static_cast<EUnitTypes>(31), eUnitType_Hz, "5", 0, 5},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(testing::Message()
                     << row.m_eFrom << " -> " << row.m_eTo << " of " << row.m_pszValue);
        ExpectClose(row.m_dExpected, CConverter::ConvertToUnit(U(row.m_pszValue), row.m_eFrom,
                                                               row.m_eTo, row.m_iOhm));
    }
}

TEST(CConverterTest, ConvertValueForms)
{
    struct
    {
        const char* m_pszText;
        EUnitTypes m_eTarget;
        double m_dValue;
        double m_dMeasurement;
    } const rows[] = {
        {"474", eUnitType_Hz, 474e6, 474},
        {"474,25 MHz", eUnitType_Hz, 474250000, 474250000},
        {"35", eUnitType_dBmV, 35, 35},
        {"35 foo", eUnitType_dBmV, 0, 0},
        {"1E3 Hz", eUnitType_Hz, 0, 0},
        {"0 dBmV", eUnitType_dBm, 0, 0},
        {"-12,5 dBmV", eUnitType_dBmV, -12.5, -12.5},
        {"6.95200000 MSymbol/s", eUnitType_SymbolPerSec, 6952000, 6952000},
        {"-1.00 kSymbol/s", eUnitType_SymbolPerSec, -1000, -1000},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszText);
        ExpectClose(row.m_dValue, CConverter::ConvertValue(U(row.m_pszText), row.m_eTarget));
        ExpectClose(row.m_dMeasurement,
                    CConverter::ConvertValueMeasurement(U(row.m_pszText), row.m_eTarget));
    }

    EXPECT_EQ(474e6, CConverter::ConvertValue(QStringLiteral("474"), QStringLiteral("MHz"),
                                              QStringLiteral("Hz")));
    EXPECT_EQ(1.5, CConverter::ConvertValue(QStringLiteral("1500"), QStringLiteral("kHz"),
                                            QStringLiteral("MHz")));
    // With impedance 0 the level stays; an unknown unit text gives the plain number.
    EXPECT_EQ(7, CConverter::ConvertValue(QStringLiteral("7"), QStringLiteral("dBmV"),
                                          QStringLiteral("dBm")));
    EXPECT_EQ(15, CConverter::ConvertValue(QStringLiteral("1,5"), QStringLiteral("xyz"),
                                           QStringLiteral("Hz")));
}

TEST(CConverterTest, OldPowerIsReadInSinglePrecision)
{
    QString text = QStringLiteral("-20");
    ExpectClose(26.9897, CConverter::GetOldLumoraPower(text));
    text = QStringLiteral("0.1");
    EXPECT_NEAR(47.089700001490115, CConverter::GetOldLumoraPower(text), 1e-12);
}

TEST(CConverterTest, ScaledTexts)
{
    const auto freq = &CConverter::GetFrequencyString;
    const auto symbols = &CConverter::GetSymbolRateString;
    const auto bits = &CConverter::GetBitString;
    struct
    {
        QString (*m_pfnWrite)(double, short, bool);
        double m_dValue;
        short m_iDecimals;
        bool m_bWithUnit;
        const char* m_pszText;
    } const rows[] = {
        {freq, 474e6, 3, true, "474.000 MHz"},
        {freq, 2e12, 0, true, "2000 GHz"},
        {freq, 999, -1, false, "999.00000000"},
        {freq, 1000, 1, true, "1.0 kHz"},
        {freq, -5e6, 2, true, "-5.00 MHz"},
        {freq, c_dNaN, 2, true, ""},
        {symbols, 6.9e6, 3, true, "6.900 MSymbol/s"},
        {symbols, -1000, 2, true, "-1.00 kSymbol/s"},
        {symbols, 2e12, 0, false, "2000"},
        {bits, 0, 2, true, "0.00 Bit/s"},
        {bits, 1.5e9, 1, true, "1.5 GBit/s"},
        {bits, 64000, -5, true, "64.00000000 kBit/s"},
        {bits, c_dNaN, 2, false, ""},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszText);
        EXPECT_EQ(U(row.m_pszText), row.m_pfnWrite(row.m_dValue, row.m_iDecimals, row.m_bWithUnit));
    }
}

TEST(CConverterTest, ParseFrequencyAndSymbolRateTexts)
{
    struct
    {
        bool m_bSymbols;
        const char* m_pszText;
        bool m_bOk;
        double m_dValue;
        const char* m_pszAfter;
    } const rows[] = {
        {false, "474 MHz", true, 474e6, "474.00000000 MHz"},
        // Single precision: 474.1 is not exactly representable as a float.
        {false, "474.1 MHz", true, 474100006.1035156, "474.10000610 MHz"},
        {false, "123456789", true, 123456792, "123.45679200 MHz"},
        {false, "8 kHz", true, 8000, "8.00000000 kHz"},
        {false, "1 THz", true, 1e12, "1000.00000000 GHz"},
        {false, " 50 Hz ", true, 50, "50.00000000 Hz"},
        {false, "abc", false, 0, "abc"},
        {false, "MHz", false, 0, "MHz"},
        {false, "474,1 MHz", false, 0, "474,1 MHz"},
        {true, "6952000", true, 6952000, "6.95200000 MSymbol/s"},
        {true, "6.952 MSymbol/s", true, 6952000.141143799, "6.95200014 MSymbol/s"},
        {true, "27500 ksymbol/s", true, 27.5e6, "27.50000000 MSymbol/s"},
        {true, "6.9 MSymb/s", false, 0, "6.9 MSymb/s"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszText);
        QString text = U(row.m_pszText);
        bool ok = !row.m_bOk;
        const double value = row.m_bSymbols ? CConverter::Convert2Symbols(text, ok)
                                            : CConverter::Convert2Hz(text, ok);
        EXPECT_EQ(row.m_bOk, ok);
        ExpectClose(row.m_dValue, value);
        EXPECT_EQ(U(row.m_pszAfter), text);
    }
}

TEST(CConverterTest, WrittenTextsReadBack)
{
    struct
    {
        QString m_sText;
        EUnitTypes m_eBase;
        double m_dValue;
    } const rows[] = {
        {CConverter::GetSymbolRateString(6952000, 8, true), eUnitType_SymbolPerSec, 6952000},
        {CConverter::GetSymbolRateString(-1000, 2, true), eUnitType_SymbolPerSec, -1000},
        {CConverter::GetFrequencyString(474e6, 8, true), eUnitType_Hz, 474e6},
        {CConverter::GetBitString(2.5e6, 8, true), eUnitType_BitPerSec, 2.5e6},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_sText.toStdString());
        ExpectClose(row.m_dValue, CConverter::ConvertValue(row.m_sText, row.m_eBase));
    }
}

TEST(CConverterTest, RequestedDisplayUnit)
{
    struct
    {
        EUnitTypes m_eUnit;
        ELevelUnit m_eLevel;
        EInstrumentImpedance m_eImpedance;
        const char* m_pszText;
        bool m_bWithUnit;
        const char* m_pszShown;
    } const rows[] = {
        {eUnitType_dBmV, eLevelUnit_dBuV, c_e75, "40.5 dBmV", true, "100.50 dBμV"},
        {eUnitType_dBmV, eLevelUnit_dBuV, c_e75, "40.5 dBmV", false, "100.50"},
        {eUnitType_dBmV, eLevelUnit_dBm, c_e75, "0 dBmV", true, "-48.75 dBm"},
        {eUnitType_dBmV, eLevelUnit_dBm, c_e50, "0", true, "-46.99 dBm"},
        {eUnitType_dBmV, eLevelUnit_dBm, c_eNoOhm, "0", true, "0.00 dBm"},
        {eUnitType_dBmV, eLevelUnit_dBuV, c_eNoOhm, "3", true, "3.00 dBμV"},
        {eUnitType_dBV, eLevelUnit_None, c_e75, "7", true, "7.00 dBmV"},
        {eUnitType_dBuV, eLevelUnit_dBuV, c_e75, "40", true, "100.00 dBμV"},
        {eUnitType_dBm, eLevelUnit_dBm, c_e75, "10", false, "-38.75"},
        {eUnitType_MHz, eLevelUnit_dBm, c_e75, "474.000 MHz", false, "474.000"},
        {eUnitType_None, eLevelUnit_dBm, c_e75, "12 dBuV", true, "12 dBμV"},
        {eUnitType_None, eLevelUnit_dBm, c_e75, "abc", false, "abc"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszShown);
        QString text = U(row.m_pszText);
        CConverter::GetRequestedDisplayUnit(row.m_eUnit, row.m_eLevel, row.m_eImpedance, text,
                                            row.m_bWithUnit);
        EXPECT_EQ(U(row.m_pszShown), text);
    }
}

TEST(CConverterTest, ConvertIntoDisplayUnit)
{
    struct
    {
        EUnitTypes m_eUnit;
        ELevelUnit m_eLevel;
        EInstrumentImpedance m_eImpedance;
        double m_dValue;
        double m_dShown;
    } const rows[] = {
        {eUnitType_dBmV, eLevelUnit_dBm, c_e75, 0, -48.750612633917},
        {eUnitType_dBmV, eLevelUnit_dBm, c_e50, 0, -46.98970004336019},
        {eUnitType_dBmV, eLevelUnit_dBm, c_eNoOhm, 0, -46.98970004336019},
        {eUnitType_dBmV, eLevelUnit_dBuV, c_e50, 40.5, 100.5},
        {eUnitType_dBV, eLevelUnit_dBm, c_e75, 10, -38.750612633917},
        // Written with ten significant digits on the way.
        {eUnitType_dBmV, eLevelUnit_dBuV, c_e75, 1.23456789012345, 61.23456789},
        // Same unit as the target, or not a level: untouched.
        {eUnitType_dBmV, eLevelUnit_None, c_e75, 40.5, 40.5},
        {eUnitType_dBuV, eLevelUnit_dBuV, c_e75, 40.5, 40.5},
        {eUnitType_MHz, eLevelUnit_dBm, c_e75, 474, 474},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(testing::Message()
                     << row.m_eUnit << ", " << row.m_eLevel << ", " << row.m_dValue);
        double value = row.m_dValue;
        CConverter::ConvertIntoDisplayUnit(row.m_eUnit, row.m_eLevel, row.m_eImpedance, value);
        EXPECT_DOUBLE_EQ(row.m_dShown, value);
    }
}

TEST(CConverterTest, ThousandStepConversions)
{
    using C = CConverter;
    using Fn = double (*)(double);
    // Per family, smallest unit first: entry [i][j] converts from unit i into unit j.
    const Fn families[4][4][4] = {
        {{nullptr, &C::Hz2kHz, &C::Hz2MHz, &C::Hz2GHz},
         {&C::kHz2Hz, nullptr, &C::kHz2MHz, &C::kHz2GHz},
         {&C::MHz2Hz, &C::MHz2kHz, nullptr, &C::MHz2GHz},
         {&C::GHz2Hz, &C::GHz2kHz, &C::GHz2MHz, nullptr}},
        {{nullptr, &C::nS2uS, &C::nS2mS, &C::nS2S},
         {&C::uS2nS, nullptr, &C::uS2mS, &C::uS2S},
         {&C::mS2nS, &C::mS2uS, nullptr, &C::mS2S},
         {&C::S2nS, &C::S2uS, &C::S2mS, nullptr}},
        {{nullptr, &C::Symbol2kSymbol, &C::Symbol2mSymbol, &C::Symbol2gSymbol},
         {&C::kSymbol2Symbol, nullptr, &C::kSymbol2mSymbol, &C::kSymbol2gSymbol},
         {&C::mSymbol2Symbol, &C::mSymbol2kSymbol, nullptr, &C::mSymbol2gSymbol},
         {&C::gSymbol2Symbol, &C::gSymbol2kSymbol, &C::gSymbol2mSymbol, nullptr}},
        {{nullptr, &C::Bit2kBit, &C::Bit2mBit, &C::Bit2gBit},
         {&C::kBit2Bit, nullptr, &C::kBit2mBit, &C::kBit2gBit},
         {&C::mBit2Bit, &C::mBit2kBit, nullptr, &C::mBit2gBit},
         {&C::gBit2Bit, &C::gBit2kBit, &C::gBit2mBit, nullptr}},
    };
    for (int f = 0; f < 4; ++f)
    {
        for (int i = 0; i < 4; ++i)
        {
            for (int j = 0; j < 4; ++j)
            {
                if (i != j)
                {
                    SCOPED_TRACE(testing::Message() << "family " << f << ", " << i << " -> " << j);
                    ExpectClose(std::pow(1000.0, i - j), families[f][i][j](2.0) / 2.0);
                }
            }
        }
    }
}

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

} // namespace

TEST(CConverterTest, UsableDuringStaticInitialisation)
{
    EXPECT_EQ(QStringLiteral("MSymb/s"), g_EarlyUse.m_sUnit);
    EXPECT_EQ(QStringLiteral("6.952 MSymbol/s"), g_EarlyUse.m_sRate);
    EXPECT_EQ(474000000.0, g_EarlyUse.m_dHz);
}

TEST(CConverterTest, UnitIsValidRecognisesEverySpelling)
{
    struct
    {
        const char* m_pszText;
        EUnitTypes m_eUnit;
    } const rows[] = {
        {"1 W", eUnitType_W},
        {"1 mW", eUnitType_mW},
        {"1 dBm", eUnitType_dBm},
        {"1 A", eUnitType_A},
        {"1 mA", eUnitType_mA},
        {"1 V", eUnitType_V},
        {"1 mV", eUnitType_mV},
        {"1 uV", eUnitType_uV},
        {"1 dBV", eUnitType_dBV},
        {"1 dBuV", eUnitType_dBuV},
        {"1 Hz", eUnitType_Hz},
        {"1 kHz", eUnitType_kHz},
        {"474 MHz", eUnitType_MHz},
        {"1 GHz", eUnitType_GHz},
        {"1 s", eUnitType_s},
        {"1 ms", eUnitType_ms},
        {"1 us", eUnitType_us},
        {"3 μs", eUnitType_us},
        {"1 ns", eUnitType_ns},
        {"1 %", eUnitType_Percent},
        {"5 deg", eUnitType_Deg},
        {"1 dB", eUnitType_dB},
        {"-12.5 dBmV", eUnitType_dBmV},
        {"1 Bit/s", eUnitType_BitPerSec},
        {"1 kBit/s", eUnitType_kBitPerSec},
        {"1 MBit/s", eUnitType_MBitPerSec},
        {"1 GBit/s", eUnitType_GBitPerSec},
        {"1 Symb/s", eUnitType_SymbolPerSec},
        {"1 KSymb/s", eUnitType_kSymbolPerSec},
        {"6.9 MSymb/s", eUnitType_MSymbolPerSec},
        {"1 GSymb/s", eUnitType_GSymbolPerSec},
        {"1 Symbol/s", eUnitType_SymbolPerSec},
        {"-1.00 kSymbol/s", eUnitType_kSymbolPerSec},
        {"6.95200000 MSymbol/s", eUnitType_MSymbolPerSec},
        {"1 GSymbol/s", eUnitType_GSymbolPerSec},
        // Letter case of the unit does not matter, and neither do separators.
        {"474MHZ", eUnitType_MHz},
        {"474,25 MHz", eUnitType_MHz},
        {"-1.5e-3 V", eUnitType_V},
        // "deg" anywhere wins over whatever else is written.
        {"xyz 90deg", eUnitType_Deg},
        // The micro sign is not the Greek mu: it is skipped, leaving seconds.
        {"3 \u00b5s", eUnitType_s},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszText);
        EUnitTypes unit = eUnitType_W;
        EXPECT_TRUE(CConverter::UnitIsValid(U(row.m_pszText), unit));
        EXPECT_EQ(row.m_eUnit, unit);
    }
}

TEST(CConverterTest, UnitIsValidWithoutOrWithUnknownUnit)
{
    struct
    {
        const char* m_pszText;
        bool m_bValid;
    } const rows[] = {
        {"474", true},      {"", true},        {"-1.5e+3", true},
        {"474 xyz", false}, {"1E3 Hz", false}, {"12 dBμV", false},
        {"5 Deg", false},   {"2 sec", false},  {"1 MSymbols/s", false},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszText);
        EUnitTypes unit = eUnitType_W;
        EXPECT_EQ(row.m_bValid, CConverter::UnitIsValid(U(row.m_pszText), unit));
        EXPECT_EQ(eUnitType_None, unit);
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
        {"1e3 Hz", 1000, "1e3 Hz"},
        {"1E3", 13, "1E3"},
        {"abc", 0, "abc"},
        {"1.2.3", 0, "1.2.3"},
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
        {eUnitType_Hz, eUnitType_GHz, "2000000000", 0, 2},
        {eUnitType_MHz, eUnitType_kHz, "474", 0, 474000},
        {eUnitType_GHz, eUnitType_Hz, "1.5", 0, 1.5e9},
        {eUnitType_s, eUnitType_ms, "1", 0, 1000},
        {eUnitType_s, eUnitType_ns, "2", 0, 2e9},
        {eUnitType_ns, eUnitType_us, "1500", 0, 1.5},
        {eUnitType_us, eUnitType_s, "3", 0, 3e-6},
        {eUnitType_SymbolPerSec, eUnitType_MSymbolPerSec, "6952000", 0, 6.952},
        {eUnitType_GSymbolPerSec, eUnitType_kSymbolPerSec, "1", 0, 1e6},
        {eUnitType_kSymbolPerSec, eUnitType_SymbolPerSec, "-1.00", 0, -1000},
        {eUnitType_BitPerSec, eUnitType_kBitPerSec, "64000", 0, 64},
        {eUnitType_MBitPerSec, eUnitType_BitPerSec, "2.5", 0, 2.5e6},
        {eUnitType_kBitPerSec, eUnitType_GBitPerSec, "1000000", 0, 1},
        // Pairs without a conversion keep the number.
        {eUnitType_dBm, eUnitType_dBmV, "-20", 75, -20},
        {eUnitType_dBuV, eUnitType_dBmV, "60", 75, 60},
        {eUnitType_dBV, eUnitType_dBmV, "0", 75, 0},
        {eUnitType_dBmV, eUnitType_dBV, "10", 75, 10},
        {eUnitType_uV, eUnitType_mV, "5", 0, 5},
        {eUnitType_mV, eUnitType_uV, "1", 0, 1},
        {eUnitType_dBuV, eUnitType_uV, "1", 0, 1},
        {eUnitType_dB, eUnitType_dBm, "3", 0, 3},
        {eUnitType_Percent, eUnitType_dB, "3", 0, 3},
        {eUnitType_Hz, eUnitType_s, "5", 0, 5},
        {eUnitType_kHz, eUnitType_kSymbolPerSec, "5", 0, 5},
        {eUnitType_MBitPerSec, eUnitType_MSymbolPerSec, "5", 0, 5},
        {eUnitType_W, eUnitType_V, "5", 0, 5},
        {eUnitType_MHz, eUnitType_MHz, "5", 0, 5},
        {eUnitType_None, eUnitType_Hz, "5", 0, 5},
        {eUnitType_Hz, eUnitType_None, "5", 0, 5},
        {static_cast<EUnitTypes>(31), eUnitType_Hz, "5", 0, 5},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(QStringLiteral("%1 -> %2 of %3 at %4 Ohm")
                         .arg(row.m_eFrom)
                         .arg(row.m_eTo)
                         .arg(row.m_pszValue)
                         .arg(row.m_iOhm)
                         .toStdString());
        ExpectClose(row.m_dExpected, CConverter::ConvertToUnit(U(row.m_pszValue), row.m_eFrom,
                                                               row.m_eTo, row.m_iOhm));
    }
}

TEST(CConverterTest, DbmvToDbmAtTwoDecimals)
{
    const auto dBm = [](short ohm)
    {
        return QString::number(
            CConverter::ConvertToUnit(QStringLiteral("0"), eUnitType_dBmV, eUnitType_dBm, ohm), 'f',
            2);
    };
    EXPECT_EQ(QStringLiteral("-48.75"), dBm(75));
    EXPECT_EQ(QStringLiteral("-46.99"), dBm(50));
    EXPECT_EQ(QStringLiteral("0.00"), dBm(0));
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
        {"500 kHz", eUnitType_Hz, 500000, 500000},
        {"1 GHz", eUnitType_MHz, 1000, 1000},
        {"35", eUnitType_dBmV, 35, 35},
        {"35 foo", eUnitType_dBmV, 0, 0},
        {"1E3 Hz", eUnitType_Hz, 0, 0},
        {"0 dBmV", eUnitType_dBm, 0, 0},
        {"90 deg", eUnitType_Deg, 90, 90},
        {"-12,5 dBmV", eUnitType_dBmV, -12.5, -12.5},
        {"6.95200000 MSymbol/s", eUnitType_SymbolPerSec, 6952000, 6952000},
        {"-1.00 kSymbol/s", eUnitType_SymbolPerSec, -1000, -1000},
        {"2 MBit/s", eUnitType_kBitPerSec, 2000, 2000},
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
    enum EKind
    {
        eFreq,
        eSymbol,
        eBit
    };
    struct
    {
        EKind m_eKind;
        double m_dValue;
        short m_iDecimals;
        bool m_bWithUnit;
        const char* m_pszText;
    } const rows[] = {
        {eFreq, 474e6, 3, true, "474.000 MHz"},
        {eFreq, 2e12, 0, true, "2000 GHz"},
        {eFreq, 999, -1, false, "999.00000000"},
        {eFreq, 1000, 1, true, "1.0 kHz"},
        {eFreq, 999.5, 1, true, "999.5 Hz"},
        {eFreq, -5e6, 2, true, "-5.00 MHz"},
        {eFreq, -999, 0, true, "-999 Hz"},
        {eFreq, c_dNaN, 2, true, ""},
        {eSymbol, 6.9e6, 3, true, "6.900 MSymbol/s"},
        {eSymbol, 6952000, 8, true, "6.95200000 MSymbol/s"},
        {eSymbol, -1000, 2, true, "-1.00 kSymbol/s"},
        {eSymbol, 500, 0, true, "500 Symbol/s"},
        {eSymbol, 2e12, 0, false, "2000"},
        {eSymbol, c_dNaN, 2, true, ""},
        {eBit, 0, 2, true, "0.00 Bit/s"},
        {eBit, 1.5e9, 1, true, "1.5 GBit/s"},
        {eBit, 64000, -5, true, "64.00000000 kBit/s"},
        {eBit, c_dNaN, 2, false, ""},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszText);
        QString text;
        switch (row.m_eKind)
        {
        case eFreq:
            text = CConverter::GetFrequencyString(row.m_dValue, row.m_iDecimals, row.m_bWithUnit);
            break;
        case eSymbol:
            text = CConverter::GetSymbolRateString(row.m_dValue, row.m_iDecimals, row.m_bWithUnit);
            break;
        case eBit:
            text = CConverter::GetBitString(row.m_dValue, row.m_iDecimals, row.m_bWithUnit);
            break;
        }
        EXPECT_EQ(U(row.m_pszText), text);
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
        {false, "474.1 mhz", true, 474100006.1035156, "474.10000610 MHz"},
        {false, "123456789", true, 123456792, "123.45679200 MHz"},
        {false, "8 kHz", true, 8000, "8.00000000 kHz"},
        {false, "1.5 GHz", true, 1.5e9, "1.50000000 GHz"},
        {false, "1 THz", true, 1e12, "1000.00000000 GHz"},
        {false, " 50 Hz ", true, 50, "50.00000000 Hz"},
        {false, "abc", false, 0, "abc"},
        {false, "MHz", false, 0, "MHz"},
        {false, "474,1 MHz", false, 0, "474,1 MHz"},
        {true, "6952000", true, 6952000, "6.95200000 MSymbol/s"},
        {true, "6.952 MSymbol/s", true, 6952000.141143799, "6.95200014 MSymbol/s"},
        {true, "27500 ksymbol/s", true, 27.5e6, "27.50000000 MSymbol/s"},
        {true, "1 GSymbol/s", true, 1e9, "1.00000000 GSymbol/s"},
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
        {CConverter::GetSymbolRateString(1.2e9, 8, true), eUnitType_SymbolPerSec, 1.2e9},
        {CConverter::GetSymbolRateString(300, 8, true), eUnitType_SymbolPerSec, 300},
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
    const auto eNoImpedance = eInstrumentImpedance_None;
    struct
    {
        EUnitTypes m_eUnit;
        ELevelUnit m_eLevel;
        EInstrumentImpedance m_eImpedance;
        const char* m_pszText;
        bool m_bWithUnit;
        const char* m_pszShown;
    } const rows[] = {
        {eUnitType_dBmV, eLevelUnit_dBuV, eInstrumentImpedance_75Ohm, "40.5 dBmV", true,
         "100.50 dBμV"},
        {eUnitType_dBmV, eLevelUnit_dBuV, eInstrumentImpedance_75Ohm, "40.5 dBmV", false, "100.50"},
        {eUnitType_dBmV, eLevelUnit_dBm, eInstrumentImpedance_75Ohm, "0 dBmV", true, "-48.75 dBm"},
        {eUnitType_dBmV, eLevelUnit_dBm, eInstrumentImpedance_50Ohm, "0", true, "-46.99 dBm"},
        {eUnitType_dBmV, eLevelUnit_dBm, eNoImpedance, "0", true, "0.00 dBm"},
        {eUnitType_dBmV, eLevelUnit_dBuV, eNoImpedance, "3", true, "3.00 dBμV"},
        {eUnitType_dBmV, eLevelUnit_dBmV, eInstrumentImpedance_75Ohm, "12.3", true, "12.30 dBmV"},
        {eUnitType_dBV, eLevelUnit_None, eInstrumentImpedance_75Ohm, "7", true, "7.00 dBmV"},
        {eUnitType_dBuV, eLevelUnit_dBuV, eInstrumentImpedance_75Ohm, "40", true, "100.00 dBμV"},
        {eUnitType_dBm, eLevelUnit_dBm, eInstrumentImpedance_75Ohm, "10", false, "-38.75"},
        {eUnitType_MHz, eLevelUnit_dBm, eInstrumentImpedance_75Ohm, "474.000 MHz", true,
         "474.000 MHz"},
        {eUnitType_MHz, eLevelUnit_dBm, eInstrumentImpedance_75Ohm, "474.000 MHz", false,
         "474.000"},
        {eUnitType_None, eLevelUnit_dBm, eInstrumentImpedance_75Ohm, "12 dBuV", true, "12 dBμV"},
        {eUnitType_None, eLevelUnit_dBm, eInstrumentImpedance_75Ohm, "abc", false, "abc"},
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
        {eUnitType_dBmV, eLevelUnit_dBm, eInstrumentImpedance_75Ohm, 0, -48.750612633917},
        {eUnitType_dBmV, eLevelUnit_dBm, eInstrumentImpedance_50Ohm, 0, -46.98970004336019},
        {eUnitType_dBmV, eLevelUnit_dBm, eInstrumentImpedance_None, 0, -46.98970004336019},
        {eUnitType_dBmV, eLevelUnit_dBuV, eInstrumentImpedance_50Ohm, 40.5, 100.5},
        {eUnitType_dBV, eLevelUnit_dBm, eInstrumentImpedance_75Ohm, 10, -38.750612633917},
        // Written with ten significant digits on the way.
        {eUnitType_dBmV, eLevelUnit_dBuV, eInstrumentImpedance_75Ohm, 1.23456789012345,
         61.23456789},
        // Same unit as the target, or not a level: untouched.
        {eUnitType_dBmV, eLevelUnit_dBmV, eInstrumentImpedance_75Ohm, 40.5, 40.5},
        {eUnitType_dBmV, eLevelUnit_None, eInstrumentImpedance_75Ohm, 40.5, 40.5},
        {eUnitType_dBuV, eLevelUnit_dBuV, eInstrumentImpedance_75Ohm, 40.5, 40.5},
        {eUnitType_dBm, eLevelUnit_dBm, eInstrumentImpedance_75Ohm, 40.5, 40.5},
        {eUnitType_MHz, eLevelUnit_dBm, eInstrumentImpedance_75Ohm, 474, 474},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(QStringLiteral("unit %1, level unit %2, value %3")
                         .arg(row.m_eUnit)
                         .arg(row.m_eLevel)
                         .arg(row.m_dValue)
                         .toStdString());
        double value = row.m_dValue;
        CConverter::ConvertIntoDisplayUnit(row.m_eUnit, row.m_eLevel, row.m_eImpedance, value);
        EXPECT_DOUBLE_EQ(row.m_dShown, value);
    }
}

TEST(CConverterTest, SingleStepConversions)
{
    struct
    {
        const char* m_pszName;
        double (*m_pfn)(double);
        double m_dIn;
        double m_dOut;
    } const rows[] = {
        {"A2mA", &CConverter::A2mA, 1, 1e3},
        {"mA2A", &CConverter::mA2A, 1, 1e-3},
        {"V2mV", &CConverter::V2mV, 1, 1e3},
        {"V2uV", &CConverter::V2uV, 1, 1e6},
        {"V2dBuV", &CConverter::V2dBuV, 0.001, 60},
        {"V2dBV", &CConverter::V2dBV, 0.1, -20},
        {"mV2V", &CConverter::mV2V, 1, 1e-3},
        {"uV2V", &CConverter::uV2V, 1, 1e-6},
        {"mV2dBuV", &CConverter::mV2dBuV, 10, 80},
        {"mV2dBV", &CConverter::mV2dBV, 10, -40},
        {"dBV2V", &CConverter::dBV2V, 40, 100},
        {"dBV2mV", &CConverter::dBV2mV, -20, 100},
        {"dBV2dBuV", &CConverter::dBV2dBuV, 1, 121},
        {"dBuV2V", &CConverter::dBuV2V, 100, 0.1},
        {"dBuV2mV", &CConverter::dBuV2mV, 80, 10},
        {"dBuV2dBV", &CConverter::dBuV2dBV, 121, 1},
        {"W2mW", &CConverter::W2mW, 1, 1e3},
        {"W2dBm", &CConverter::W2dBm, 0.01, 10},
        {"mW2W", &CConverter::mW2W, 1, 1e-3},
        {"mW2dBm", &CConverter::mW2dBm, 1000, 30},
        {"dBm2W", &CConverter::dBm2W, 40, 10},
        {"dBm2mW", &CConverter::dBm2mW, -10, 0.1},
        {"dBmV2dBuV", &CConverter::dBmV2dBuV, -60, 0},
        {"Hz2kHz", &CConverter::Hz2kHz, 1, 1e-3},
        {"Hz2MHz", &CConverter::Hz2MHz, 1, 1e-6},
        {"Hz2GHz", &CConverter::Hz2GHz, 1, 1e-9},
        {"kHz2Hz", &CConverter::kHz2Hz, 1, 1e3},
        {"kHz2MHz", &CConverter::kHz2MHz, 1, 1e-3},
        {"kHz2GHz", &CConverter::kHz2GHz, 1, 1e-6},
        {"MHz2Hz", &CConverter::MHz2Hz, 1, 1e6},
        {"MHz2kHz", &CConverter::MHz2kHz, 1, 1e3},
        {"MHz2GHz", &CConverter::MHz2GHz, 1, 1e-3},
        {"GHz2Hz", &CConverter::GHz2Hz, 1, 1e9},
        {"GHz2kHz", &CConverter::GHz2kHz, 1, 1e6},
        {"GHz2MHz", &CConverter::GHz2MHz, 1, 1e3},
        {"S2mS", &CConverter::S2mS, 1, 1e3},
        {"S2uS", &CConverter::S2uS, 1, 1e6},
        {"S2nS", &CConverter::S2nS, 1, 1e9},
        {"mS2S", &CConverter::mS2S, 1, 1e-3},
        {"mS2uS", &CConverter::mS2uS, 1, 1e3},
        {"mS2nS", &CConverter::mS2nS, 1, 1e6},
        {"uS2S", &CConverter::uS2S, 1, 1e-6},
        {"uS2mS", &CConverter::uS2mS, 1, 1e-3},
        {"uS2nS", &CConverter::uS2nS, 1, 1e3},
        {"nS2S", &CConverter::nS2S, 1, 1e-9},
        {"nS2mS", &CConverter::nS2mS, 1, 1e-6},
        {"nS2uS", &CConverter::nS2uS, 1, 1e-3},
        {"Symbol2kSymbol", &CConverter::Symbol2kSymbol, 1, 1e-3},
        {"Symbol2mSymbol", &CConverter::Symbol2mSymbol, 1, 1e-6},
        {"Symbol2gSymbol", &CConverter::Symbol2gSymbol, 1, 1e-9},
        {"kSymbol2Symbol", &CConverter::kSymbol2Symbol, 1, 1e3},
        {"kSymbol2mSymbol", &CConverter::kSymbol2mSymbol, 1, 1e-3},
        {"kSymbol2gSymbol", &CConverter::kSymbol2gSymbol, 1, 1e-6},
        {"mSymbol2Symbol", &CConverter::mSymbol2Symbol, 1, 1e6},
        {"mSymbol2kSymbol", &CConverter::mSymbol2kSymbol, 1, 1e3},
        {"mSymbol2gSymbol", &CConverter::mSymbol2gSymbol, 1, 1e-3},
        {"gSymbol2Symbol", &CConverter::gSymbol2Symbol, 1, 1e9},
        {"gSymbol2kSymbol", &CConverter::gSymbol2kSymbol, 1, 1e6},
        {"gSymbol2mSymbol", &CConverter::gSymbol2mSymbol, 1, 1e3},
        {"Bit2kBit", &CConverter::Bit2kBit, 1, 1e-3},
        {"Bit2mBit", &CConverter::Bit2mBit, 1, 1e-6},
        {"Bit2gBit", &CConverter::Bit2gBit, 1, 1e-9},
        {"kBit2Bit", &CConverter::kBit2Bit, 1, 1e3},
        {"kBit2mBit", &CConverter::kBit2mBit, 1, 1e-3},
        {"kBit2gBit", &CConverter::kBit2gBit, 1, 1e-6},
        {"mBit2Bit", &CConverter::mBit2Bit, 1, 1e6},
        {"mBit2kBit", &CConverter::mBit2kBit, 1, 1e3},
        {"mBit2gBit", &CConverter::mBit2gBit, 1, 1e-3},
        {"gBit2Bit", &CConverter::gBit2Bit, 1, 1e9},
        {"gBit2kBit", &CConverter::gBit2kBit, 1, 1e6},
        {"gBit2mBit", &CConverter::gBit2mBit, 1, 1e3},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszName);
        ExpectClose(row.m_dOut, row.m_pfn(row.m_dIn));
    }
    ExpectClose(-48.750612633917, CConverter::dBmV2dBm(0, 75));
    ExpectClose(-46.98970004336019, CConverter::dBmV2dBm(0, 50));
    EXPECT_EQ(5, CConverter::dBmV2dBm(5, 0));
    EXPECT_EQ(5, CConverter::dBmV2dBm(5, -50));
}

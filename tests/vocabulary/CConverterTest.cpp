#include "CConverter.h"
#include "VocabularyTestData.h"

#include <QMap>

#include <array>
#include <cmath>

using namespace LumoraMeasurement;
using VocabularyTest::ReadRows;

namespace
{

void ExpectClose(double expected, double actual)
{
    // Relative, so that results of 1e-9 are told apart from 0.
    EXPECT_NEAR(expected, actual, expected == 0 ? 1e-12 : 1e-12 * std::fabs(expected));
}

// The fixtures name units by their enumerator without the prefix; a number stands for itself.
EUnitTypes Unit(const QString& sName)
{
    // clang-format off
    static const QStringList s_Names = {
        "W", "mW", "dBm", "dBmV", "V", "mV", "uV", "dBuV", "dBV", "A", "mA", "Hz", "kHz", "MHz",
        "GHz", "s", "ms", "us", "ns", "Percent", "dB", "Deg", "SymbolPerSec", "kSymbolPerSec",
        "MSymbolPerSec", "GSymbolPerSec", "BitPerSec", "kBitPerSec", "MBitPerSec", "GBitPerSec",
        "None"};
    // clang-format on
    const int iIndex = s_Names.indexOf(sName);
    return static_cast<EUnitTypes>(iIndex >= 0 ? iIndex : sName.toInt());
}

ELevelUnit Level(const QString& sName)
{
    return static_cast<ELevelUnit>(QStringList({"", "dBm", "dBmV", "dBuV", "None"}).indexOf(sName));
}

EInstrumentImpedance Impedance(const QString& sOhm)
{
    return static_cast<EInstrumentImpedance>(QStringList({"50", "75", "None"}).indexOf(sOhm));
}

} // namespace

TEST(CConverterTest, UnitTexts)
{
    for (const QStringList& row : ReadRows("unit_strings.tsv", 2))
    {
        EXPECT_EQ(row[1], CConverter::GetUnitString(Unit(row[0]))) << row[0].toStdString();
    }
    for (const QStringList& row : ReadRows("unit_parse.tsv", 4))
    {
        SCOPED_TRACE(row[0].toStdString());
        EUnitTypes unit = eUnitType_W;
        EXPECT_EQ(row[1] == "1", CConverter::UnitIsValid(row[0], unit));
        EXPECT_EQ(std::tuple(Unit(row[2]), row[3]), std::tuple(unit, CConverter::GetUnit(row[0])));
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

// Pairs without a conversion keep the number; levels in dBmV need an impedance.
TEST(CConverterTest, ConvertToUnitAndValueForms)
{
    for (const QStringList& row : ReadRows("convert_to_unit.tsv", 5))
    {
        SCOPED_TRACE((row[0] + " -> " + row[1] + " of " + row[2]).toStdString());
        ExpectClose(row[4].toDouble(), CConverter::ConvertToUnit(row[2], Unit(row[0]), Unit(row[1]),
                                                                 row[3].toShort()));
    }

    // dBmV reaches dBuV only with an impedance; a unit reaches the others of its family only.
    for (const QStringList& row : ReadRows("convertible_pairs.tsv", 4))
    {
        SCOPED_TRACE(row.join(" ").toStdString());
        EXPECT_EQ(CConverter::CanConvert(Unit(row[0]), Unit(row[1]), row[2].toShort()),
                  row[3] == "1");
    }

    // "3 µs" typed with the micro sign was read as 3 seconds: a million times the limit.
    for (const QStringList& row : ReadRows("convert_value.tsv", 4))
    {
        SCOPED_TRACE(row[0].toStdString());
        ExpectClose(row[2].toDouble(), CConverter::ConvertValue(row[0], Unit(row[1])));
        ExpectClose(row[3].toDouble(), CConverter::ConvertValueMeasurement(row[0], Unit(row[1])));
    }
    for (const QStringList& row : ReadRows("convert_value_units.tsv", 4))
    {
        SCOPED_TRACE((row[0] + " " + row[1] + " -> " + row[2]).toStdString());
        EXPECT_EQ(row[3].toDouble(), CConverter::ConvertValue(row[0], row[1], row[2]));
    }

    QString text = QStringLiteral("0.1"); // read in single precision
    EXPECT_NEAR(47.089700001490115, CConverter::GetOldLumoraPower(text), 1e-12);

    // Old formats keep only number characters and single precision.
    for (const QStringList& row : ReadRows("orvel_float.tsv", 3))
    {
        SCOPED_TRACE(row[0].toStdString());
        QString text = row[0];
        EXPECT_EQ(row[1].toDouble(), CConverter::getORVELFloat(text));
        EXPECT_EQ(row[2], text);
    }
}

// Written with a scale prefix and read back; frequency and symbol-rate texts are parsed in
// single precision.
TEST(CConverterTest, ScaledAndDisplayTexts)
{
    using FnWrite = QString (*)(double, short, bool);
    const QMap<QString, QPair<FnWrite, EUnitTypes>> writers = {
        {"frequency", {&CConverter::GetFrequencyString, eUnitType_Hz}},
        {"symbol rate", {&CConverter::GetSymbolRateString, eUnitType_SymbolPerSec}},
        {"bit rate", {&CConverter::GetBitString, eUnitType_BitPerSec}}};
    for (const QStringList& row : ReadRows("scaled_texts.tsv", 5))
    {
        SCOPED_TRACE(row[4].toStdString());
        ASSERT_TRUE(writers.contains(row[0]));
        const auto [pfnWrite, eBase] = writers[row[0]];
        const double value = row[1].toDouble();
        EXPECT_EQ(row[4], pfnWrite(value, row[2].toShort(), row[3] == "1"));
        if (row[3] == "1" && !std::isnan(value))
        {
            ExpectClose(value, CConverter::ConvertValue(row[4], eBase));
        }
    }
    for (const QStringList& row : ReadRows("parsed_rates.tsv", 5))
    {
        SCOPED_TRACE(row[1].toStdString());
        QString text = row[1];
        bool ok = row[2] != "1";
        const double value = row[0] == "symbol rate" ? CConverter::Convert2Symbols(text, ok)
                                                     : CConverter::Convert2Hz(text, ok);
        EXPECT_EQ(row[2] == "1", ok);
        ExpectClose(row[3].toDouble(), value);
        EXPECT_EQ(row[4], text);
    }

    // Texts and values in the requested display unit.
    for (const QStringList& row : ReadRows("display_texts.tsv", 6))
    {
        SCOPED_TRACE(row[5].toStdString());
        QString text = row[3];
        CConverter::GetRequestedDisplayUnit(Unit(row[0]), Level(row[1]), Impedance(row[2]), text,
                                            row[4] == "1");
        EXPECT_EQ(row[5], text);
    }
    // Values are written with ten significant digits on the way.
    for (const QStringList& row : ReadRows("display_values.tsv", 5))
    {
        SCOPED_TRACE((row[0] + ", " + row[1] + ", " + row[3]).toStdString());
        double value = row[3].toDouble();
        CConverter::ConvertIntoDisplayUnit(Unit(row[0]), Level(row[1]), Impedance(row[2]), value);
        EXPECT_DOUBLE_EQ(row[4].toDouble(), value);
    }
}

TEST(CConverterTest, ThousandStepConversions)
{
    using C = CConverter;
    // Per family of units, smallest first: every conversion from unit i to unit j != i, in
    // the order (0,1), (0,2), (0,3), (1,0), (1,2), ..., (3,2).
    // clang-format off
#define FAMILY(a, b, c, d) {&C::a##2##b, &C::a##2##c, &C::a##2##d, &C::b##2##a, &C::b##2##c, \
    &C::b##2##d, &C::c##2##a, &C::c##2##b, &C::c##2##d, &C::d##2##a, &C::d##2##b, &C::d##2##c}
    const std::array<double (*)(double), 12> families[] = {FAMILY(Hz, kHz, MHz, GHz),
        FAMILY(nS, uS, mS, S), FAMILY(Symbol, kSymbol, mSymbol, gSymbol),
        FAMILY(Bit, kBit, mBit, gBit)};
#undef FAMILY
    // clang-format on
    for (const auto& family : families)
    {
        for (int k = 0; k < 12; ++k)
        {
            const int i = k / 3;
            const int j = k % 3 < i ? k % 3 : k % 3 + 1;
            SCOPED_TRACE(testing::Message()
                         << "family " << &family - families << ", " << i << " -> " << j);
            ExpectClose(std::pow(1000.0, i - j), family[k](2.0) / 2.0);
        }
    }
}

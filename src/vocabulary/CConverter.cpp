#include "CConverter.h"

#include "SBitUnit.h"
#include "SFrequencyUnit.h"
#include "SSymbolRateUnit.h"

#include <QVector>

#include <cmath>
#include <vector>

using namespace LumoraMeasurement;

namespace
{

// Everything here is either constant-initialised or a function-local static, so CConverter
// works from another translation unit's static constructor.

/// Unit texts, indexed by EUnitTypes (UTF-8).
// clang-format off
constexpr const char* c_aUnitTexts[] = {
    "W",
    "mW",
    "dBm",
    "dBmV",
    "V",
    "mV",
    "uV",
    "dBuV",
    "dBV",
    "A",
    "mA",
    "Hz",
    "kHz",
    "MHz",
    "GHz",
    "s",
    "ms",
    "\u03bcs",
    "ns",
    "%",
    "dB",
    "deg",
    "Symb/s",
    "KSymb/s",
    "MSymb/s",
    "GSymb/s",
    "Bit/s",
    "kBit/s",
    "MBit/s",
    "GBit/s",
};
// clang-format on
static_assert(sizeof(c_aUnitTexts) / sizeof(c_aUnitTexts[0]) == eUnitType_None,
              "one unit text per unit");

struct SSpellingRow
{
    const char* m_pszSpelling; // lower case, UTF-8
    EUnitTypes m_eUnit;
};

/// Spellings recognised in value texts, in the order they are tried. The long symbol-rate
/// spellings come last: they are what GetSymbolRateString writes, so its texts read back.
// clang-format off
constexpr SSpellingRow c_aSpellings[] = {
    {"w", eUnitType_W},
    {"mw", eUnitType_mW},
    {"dbm", eUnitType_dBm},
    {"a", eUnitType_A},
    {"ma", eUnitType_mA},
    {"v", eUnitType_V},
    {"mv", eUnitType_mV},
    {"uv", eUnitType_uV},
    {"dbv", eUnitType_dBV},
    {"dbuv", eUnitType_dBuV},
    {"hz", eUnitType_Hz},
    {"khz", eUnitType_kHz},
    {"mhz", eUnitType_MHz},
    {"ghz", eUnitType_GHz},
    {"s", eUnitType_s},
    {"ms", eUnitType_ms},
    {"us", eUnitType_us},
    {"\u03bcs", eUnitType_us},
    {"ns", eUnitType_ns},
    {"%", eUnitType_Percent},
    {"deg", eUnitType_Deg},
    {"db", eUnitType_dB},
    {"dbmv", eUnitType_dBmV},
    {"bit/s", eUnitType_BitPerSec},
    {"kbit/s", eUnitType_kBitPerSec},
    {"mbit/s", eUnitType_MBitPerSec},
    {"gbit/s", eUnitType_GBitPerSec},
    {"symb/s", eUnitType_SymbolPerSec},
    {"ksymb/s", eUnitType_kSymbolPerSec},
    {"msymb/s", eUnitType_MSymbolPerSec},
    {"gsymb/s", eUnitType_GSymbolPerSec},
    {"symbol/s", eUnitType_SymbolPerSec},
    {"ksymbol/s", eUnitType_kSymbolPerSec},
    {"msymbol/s", eUnitType_MSymbolPerSec},
    {"gsymbol/s", eUnitType_GSymbolPerSec},
};
// clang-format on

struct SSpelling
{
    QString m_sSpelling;
    EUnitTypes m_eUnit;
};

const QVector<SSpelling>& Spellings()
{
    static const QVector<SSpelling> s_lSpellings = []
    {
        QVector<SSpelling> list;
        for (const auto& row : c_aSpellings)
        {
            list.append({QString::fromUtf8(row.m_pszSpelling), row.m_eUnit});
        }
        return list;
    }();
    return s_lSpellings;
}

// The scale tables, largest unit first; the base unit's factor 0 means no scaling.
// clang-format off
const std::vector<SFrequencyUnit>& FreqUnits()
{
    static const std::vector<SFrequencyUnit> c_FreqUnits = {
        {QStringLiteral("THz"), 1e12},
        {QStringLiteral("GHz"), 1e9},
        {QStringLiteral("MHz"), 1e6},
        {QStringLiteral("kHz"), 1e3},
        {QStringLiteral("Hz"), 0},
    };
    return c_FreqUnits;
}

const std::vector<SSymbolRateUnit>& SymbolRateUnits()
{
    static const std::vector<SSymbolRateUnit> c_SymbolRateUnits = {
        {QStringLiteral("GSymbol/s"), 1e9},
        {QStringLiteral("MSymbol/s"), 1e6},
        {QStringLiteral("kSymbol/s"), 1e3},
        {QStringLiteral("Symbol/s"), 0},
    };
    return c_SymbolRateUnits;
}

const std::vector<SBitUnit>& BitUnits()
{
    static const std::vector<SBitUnit> c_BitUnits = {
        {QStringLiteral("GBit/s"), 1e9},
        {QStringLiteral("MBit/s"), 1e6},
        {QStringLiteral("kBit/s"), 1e3},
        {QStringLiteral("Bit/s"), 0},
    };
    return c_BitUnits;
}
// clang-format on

/// Units that differ by a factor of 1000 per step within their family.
struct SLadderRow
{
    EUnitTypes m_eUnit;
    int m_iFamily;
    int m_iStep;
};

// clang-format off
constexpr SLadderRow c_aLadder[] = {
    {eUnitType_Hz, 0, 0},
    {eUnitType_kHz, 0, 1},
    {eUnitType_MHz, 0, 2},
    {eUnitType_GHz, 0, 3},
    {eUnitType_s, 1, 0},
    {eUnitType_ms, 1, -1},
    {eUnitType_us, 1, -2},
    {eUnitType_ns, 1, -3},
    {eUnitType_SymbolPerSec, 2, 0},
    {eUnitType_kSymbolPerSec, 2, 1},
    {eUnitType_MSymbolPerSec, 2, 2},
    {eUnitType_GSymbolPerSec, 2, 3},
    {eUnitType_BitPerSec, 3, 0},
    {eUnitType_kBitPerSec, 3, 1},
    {eUnitType_MBitPerSec, 3, 2},
    {eUnitType_GBitPerSec, 3, 3},
};
// clang-format on

const SLadderRow* FindLadderRow(EUnitTypes unit)
{
    for (const auto& row : c_aLadder)
    {
        if (row.m_eUnit == unit)
        {
            return &row;
        }
    }
    return nullptr;
}

/// Moves value up (steps > 0: to a larger unit, so the number shrinks) or down the ladder.
double Scale(double value, int steps)
{
    static constexpr double c_aPowers[] = {1.0, 1e3, 1e6, 1e9};
    return steps >= 0 ? value / c_aPowers[steps] : value * c_aPowers[-steps];
}

bool IsLevelUnit(EUnitTypes unit)
{
    return unit == eUnitType_dBm || unit == eUnitType_dBmV || unit == eUnitType_dBuV ||
           unit == eUnitType_dBV;
}

EUnitTypes DisplayTarget(ELevelUnit levelUnit)
{
    if (levelUnit == eLevelUnit_dBm)
    {
        return eUnitType_dBm;
    }
    return levelUnit == eLevelUnit_dBuV ? eUnitType_dBuV : eUnitType_dBmV;
}

/// Conversions between units outside the 1000-per-step families, with their function.
struct SConversionRow
{
    EUnitTypes m_eFrom;
    EUnitTypes m_eTo;
    double (*m_pfnConvert)(double);
};

// clang-format off
constexpr SConversionRow c_aConversions[] = {
    {eUnitType_W, eUnitType_mW, &CConverter::W2mW},
    {eUnitType_W, eUnitType_dBm, &CConverter::W2dBm},
    {eUnitType_mW, eUnitType_W, &CConverter::mW2W},
    {eUnitType_mW, eUnitType_dBm, &CConverter::mW2dBm},
    {eUnitType_dBm, eUnitType_W, &CConverter::dBm2W},
    {eUnitType_dBm, eUnitType_mW, &CConverter::dBm2mW},
    {eUnitType_V, eUnitType_mV, &CConverter::V2mV},
    {eUnitType_V, eUnitType_uV, &CConverter::V2uV},
    {eUnitType_V, eUnitType_dBuV, &CConverter::V2dBuV},
    {eUnitType_V, eUnitType_dBV, &CConverter::V2dBV},
    {eUnitType_mV, eUnitType_V, &CConverter::mV2V},
    {eUnitType_mV, eUnitType_dBuV, &CConverter::mV2dBuV},
    {eUnitType_mV, eUnitType_dBV, &CConverter::mV2dBV},
    {eUnitType_uV, eUnitType_V, &CConverter::uV2V},
    {eUnitType_dBuV, eUnitType_V, &CConverter::dBuV2V},
    {eUnitType_dBuV, eUnitType_mV, &CConverter::dBuV2mV},
    {eUnitType_dBuV, eUnitType_dBV, &CConverter::dBuV2dBV},
    {eUnitType_dBV, eUnitType_V, &CConverter::dBV2V},
    {eUnitType_dBV, eUnitType_mV, &CConverter::dBV2mV},
    {eUnitType_dBV, eUnitType_dBuV, &CConverter::dBV2dBuV},
    {eUnitType_A, eUnitType_mA, &CConverter::A2mA},
    {eUnitType_mA, eUnitType_A, &CConverter::mA2A},
};
// clang-format on

template <typename Row>
QString ScaledText(const std::vector<Row>& table, std::size_t first, double value, short decimals,
                   bool withUnit)
{
    for (std::size_t i = first; i < table.size(); ++i)
    {
        const double factor = table[i].m_dFactor;
        if (value >= factor || value <= -factor)
        {
            const double scaled = factor == 0 ? value : value / factor;
            QString text = QString::number(scaled, 'f', decimals < 0 ? 8 : decimals);
            if (withUnit)
            {
                text += QLatin1Char(' ') + table[i].m_sName;
            }
            return text;
        }
    }
    return QString();
}

/// Reads text in the unit of the first table name it contains; single precision on purpose,
/// as the stored values were always read that way.
template <typename Row>
double ParseScaled(const std::vector<Row>& table, const QString& text, bool& ok)
{
    for (const auto& row : table)
    {
        if (text.contains(row.m_sName, Qt::CaseInsensitive))
        {
            const float number =
                QString(text).remove(row.m_sName, Qt::CaseInsensitive).trimmed().toFloat(&ok);
            return static_cast<double>(number) * (row.m_dFactor == 0 ? 1.0 : row.m_dFactor);
        }
    }
    return static_cast<double>(text.toFloat(&ok));
}

} // namespace

bool CConverter::UnitIsValid(QString value, EUnitTypes& unit)
{
    unit = eUnitType_None;
    QString unitText;
    for (const QChar c : qAsConst(value))
    {
        const ushort u = c.unicode();
        const bool isNumberChar =
            u == ' ' || u == '+' || u == '-' || u == '.' || (u >= '0' && u <= '9') || u == 'e';
        if (isNumberChar)
        {
            continue;
        }
        const bool isAsciiLetter = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
        if (isAsciiLetter || u == 0x03BC || u == '%' || u == '/')
        {
            unitText.append(c);
        }
        else if (u == 0x00B5)
        {
            // The micro sign is what many keyboards type for the Greek mu.
            unitText.append(QChar(0x03BC));
        }
    }
    unitText = unitText.toLower();
    // The e of "deg" was skipped above with the number characters.
    if (value.contains(QLatin1String("deg")))
    {
        unitText = QStringLiteral("deg");
    }
    for (const auto& spelling : Spellings())
    {
        if (unitText == spelling.m_sSpelling)
        {
            unit = spelling.m_eUnit;
            return true;
        }
    }
    return unitText.isEmpty();
}

QString CConverter::GetUnit(QString value)
{
    EUnitTypes unit = eUnitType_None;
    if (!UnitIsValid(value, unit))
    {
        return QString();
    }
    return GetUnitString(unit);
}

QString CConverter::GetUnitString(EUnitTypes unit)
{
    if (unit < 0 || unit >= eUnitType_None)
    {
        return QString();
    }
    return QString::fromUtf8(c_aUnitTexts[unit]);
}

double CConverter::getORVELFloat(QString& value)
{
    if (value.contains(QLatin1String("deg")))
    {
        value.remove(QLatin1String("deg"));
        value = value.trimmed();
    }
    QString number;
    for (const QChar c : qAsConst(value))
    {
        const ushort u = c.unicode();
        if (u == '+' || u == '-' || u == '.' || (u >= '0' && u <= '9') || u == 'e')
        {
            number.append(c);
        }
    }
    return number.toDouble();
}

double CConverter::ConvertToUnit(QString value, EUnitTypes from, EUnitTypes to, short impedance)
{
    const double x = getORVELFloat(value);
    if (from == to)
    {
        return x;
    }
    // Levels leave dBmV only for a known line impedance.
    if (from == eUnitType_dBmV)
    {
        if (to == eUnitType_dBm)
        {
            return dBmV2dBm(x, impedance);
        }
        return to == eUnitType_dBuV && impedance >= 1 ? dBmV2dBuV(x) : x;
    }
    for (const auto& row : c_aConversions)
    {
        if (row.m_eFrom == from && row.m_eTo == to)
        {
            return row.m_pfnConvert(x);
        }
    }
    const SLadderRow* pFrom = FindLadderRow(from);
    const SLadderRow* pTo = FindLadderRow(to);
    if (pFrom != nullptr && pTo != nullptr && pFrom->m_iFamily == pTo->m_iFamily)
    {
        return Scale(x, pTo->m_iStep - pFrom->m_iStep);
    }
    return x;
}

double CConverter::ConvertValue(QString value, EUnitTypes target)
{
    value.replace(QLatin1Char(','), QLatin1Char('.'));
    EUnitTypes unit = eUnitType_None;
    if (!UnitIsValid(value, unit))
    {
        return 0;
    }
    // Frequencies typed without unit are meant in MHz.
    if (target == eUnitType_Hz && unit == eUnitType_None)
    {
        unit = eUnitType_MHz;
    }
    return ConvertToUnit(value, unit, target, 0);
}

bool CConverter::CanConvert(EUnitTypes from, EUnitTypes to, short impedance)
{
    if (from == to)
    {
        return true;
    }
    if (from == eUnitType_dBmV)
    {
        return to == eUnitType_dBm || (to == eUnitType_dBuV && impedance >= 1);
    }
    for (const auto& row : c_aConversions)
    {
        if (row.m_eFrom == from && row.m_eTo == to)
        {
            return true;
        }
    }
    const SLadderRow* pFrom = FindLadderRow(from);
    const SLadderRow* pTo = FindLadderRow(to);
    return pFrom != nullptr && pTo != nullptr && pFrom->m_iFamily == pTo->m_iFamily;
}

bool CConverter::HasFiniteNumber(const QString& value)
{
    // Neither is a unit: their number part reads as nothing at all.
    if (value.contains(QLatin1String("inf"), Qt::CaseInsensitive) ||
        value.contains(QLatin1String("nan"), Qt::CaseInsensitive))
    {
        return false;
    }
    QString number = value;
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    return std::isfinite(getORVELFloat(number));
}

double CConverter::ConvertValueMeasurement(QString value, EUnitTypes target)
{
    value.replace(QLatin1Char(','), QLatin1Char('.'));
    EUnitTypes unit = eUnitType_None;
    if (!UnitIsValid(value, unit))
    {
        return 0;
    }
    return ConvertToUnit(value, unit, target, 0);
}

double CConverter::ConvertValue(QString value, QString fromUnit, QString toUnit)
{
    EUnitTypes from = eUnitType_None;
    EUnitTypes to = eUnitType_None;
    if (UnitIsValid(fromUnit, from) && UnitIsValid(toUnit, to))
    {
        return ConvertToUnit(value, from, to, 0);
    }
    return getORVELFloat(value);
}

double CConverter::GetOldLumoraPower(QString& value)
{
    return static_cast<double>(value.toFloat()) + 46.9897;
}

QString CConverter::GetFrequencyString(double hz, short decimals, bool withUnit)
{
    // Starts below THz: such values are written in GHz.
    return ScaledText(FreqUnits(), 1, hz, decimals, withUnit);
}

QString CConverter::GetSymbolRateString(double symbolsPerSecond, short decimals, bool withUnit)
{
    return ScaledText(SymbolRateUnits(), 0, symbolsPerSecond, decimals, withUnit);
}

QString CConverter::GetBitString(double bitsPerSecond, short decimals, bool withUnit)
{
    return ScaledText(BitUnits(), 0, bitsPerSecond, decimals, withUnit);
}

double CConverter::Convert2Hz(QString& text, bool& ok)
{
    const double hz = ParseScaled(FreqUnits(), text, ok);
    if (ok)
    {
        text = GetFrequencyString(hz, 8, true);
    }
    return hz;
}

double CConverter::Convert2Symbols(QString& text, bool& ok)
{
    const double symbols = ParseScaled(SymbolRateUnits(), text, ok);
    if (ok)
    {
        text = GetSymbolRateString(symbols, 8, true);
    }
    return symbols;
}

void CConverter::GetRequestedDisplayUnit(EUnitTypes unit, ELevelUnit levelUnit,
                                         EInstrumentImpedance impedance, QString& text,
                                         bool withUnit)
{
    short ohm = 0;
    if (impedance == eInstrumentImpedance_50Ohm)
    {
        ohm = 50;
    }
    else if (impedance == eInstrumentImpedance_75Ohm)
    {
        ohm = 75;
    }
    const EUnitTypes target = DisplayTarget(levelUnit);
    if (IsLevelUnit(unit))
    {
        const double level = ConvertToUnit(text, eUnitType_dBmV, target, ohm);
        text = QString::number(level, 'f', 2) + QLatin1Char(' ') + GetUnitString(target);
    }
    text.replace(QLatin1String("dBu"), QString::fromUtf8("dB\u03bc"));
    if (!withUnit)
    {
        const int blank = text.indexOf(QLatin1Char(' '));
        if (blank >= 0)
        {
            text.truncate(blank);
        }
    }
}

void CConverter::ConvertIntoDisplayUnit(EUnitTypes unit, ELevelUnit levelUnit,
                                        EInstrumentImpedance impedance, double& value)
{
    const EUnitTypes target = DisplayTarget(levelUnit);
    if (!IsLevelUnit(unit) || unit == target)
    {
        return;
    }
    const short ohm = impedance == eInstrumentImpedance_75Ohm ? 75 : 50;
    value = ConvertToUnit(QString::number(value, 'g', 10), eUnitType_dBmV, target, ohm);
}

// The single-step conversions, one per line.
// clang-format off
double CConverter::A2mA(double value) { return value * 1000.0; }
double CConverter::mA2A(double value) { return value / 1000.0; }

double CConverter::V2mV(double value) { return value * 1000.0; }
double CConverter::V2uV(double value) { return value * 1e6; }
double CConverter::V2dBuV(double value) { return 20.0 * std::log10(value * 1e6); }
double CConverter::V2dBV(double value) { return 20.0 * std::log10(value); }
double CConverter::mV2V(double value) { return value / 1000.0; }
double CConverter::uV2V(double value) { return value / 1e6; }
double CConverter::mV2dBuV(double value) { return V2dBuV(mV2V(value)); }
double CConverter::mV2dBV(double value) { return V2dBV(mV2V(value)); }
double CConverter::dBV2V(double value) { return std::pow(10.0, value / 20.0); }
double CConverter::dBV2mV(double value) { return V2mV(dBV2V(value)); }
double CConverter::dBV2dBuV(double value) { return V2dBuV(dBV2V(value)); }
double CConverter::dBuV2V(double value) { return std::pow(10.0, value / 20.0) / 1e6; }
double CConverter::dBuV2mV(double value) { return V2mV(dBuV2V(value)); }
double CConverter::dBuV2dBV(double value) { return V2dBV(dBuV2V(value)); }

double CConverter::Hz2kHz(double value) { return Scale(value, 1); }
double CConverter::Hz2MHz(double value) { return Scale(value, 2); }
double CConverter::Hz2GHz(double value) { return Scale(value, 3); }
double CConverter::kHz2Hz(double value) { return Scale(value, -1); }
double CConverter::kHz2MHz(double value) { return Scale(value, 1); }
double CConverter::kHz2GHz(double value) { return Scale(value, 2); }
double CConverter::MHz2Hz(double value) { return Scale(value, -2); }
double CConverter::MHz2kHz(double value) { return Scale(value, -1); }
double CConverter::MHz2GHz(double value) { return Scale(value, 1); }
double CConverter::GHz2Hz(double value) { return Scale(value, -3); }
double CConverter::GHz2kHz(double value) { return Scale(value, -2); }
double CConverter::GHz2MHz(double value) { return Scale(value, -1); }

double CConverter::W2mW(double value) { return value * 1000.0; }
double CConverter::W2dBm(double value) { return 10.0 * std::log10(value * 1000.0); }
double CConverter::mW2W(double value) { return value / 1000.0; }
double CConverter::mW2dBm(double value) { return 10.0 * std::log10(value); }
double CConverter::dBm2W(double value) { return std::pow(10.0, value / 10.0) / 1000.0; }
double CConverter::dBm2mW(double value) { return std::pow(10.0, value / 10.0); }

double CConverter::dBmV2dBm(double value, short impedance)
{
    if (impedance < 1)
    {
        return value;
    }
    return value - 10.0 * std::log10(static_cast<double>(impedance)) - 30.0;
}

double CConverter::dBmV2dBuV(double value) { return value + 60.0; }

double CConverter::S2mS(double value) { return Scale(value, -1); }
double CConverter::S2uS(double value) { return Scale(value, -2); }
double CConverter::S2nS(double value) { return Scale(value, -3); }
double CConverter::mS2S(double value) { return Scale(value, 1); }
double CConverter::mS2uS(double value) { return Scale(value, -1); }
double CConverter::mS2nS(double value) { return Scale(value, -2); }
double CConverter::uS2S(double value) { return Scale(value, 2); }
double CConverter::uS2mS(double value) { return Scale(value, 1); }
double CConverter::uS2nS(double value) { return Scale(value, -1); }
double CConverter::nS2S(double value) { return Scale(value, 3); }
double CConverter::nS2mS(double value) { return Scale(value, 2); }
double CConverter::nS2uS(double value) { return Scale(value, 1); }

double CConverter::Symbol2kSymbol(double value) { return Scale(value, 1); }
double CConverter::Symbol2mSymbol(double value) { return Scale(value, 2); }
double CConverter::Symbol2gSymbol(double value) { return Scale(value, 3); }
double CConverter::kSymbol2Symbol(double value) { return Scale(value, -1); }
double CConverter::kSymbol2mSymbol(double value) { return Scale(value, 1); }
double CConverter::kSymbol2gSymbol(double value) { return Scale(value, 2); }
double CConverter::mSymbol2Symbol(double value) { return Scale(value, -2); }
double CConverter::mSymbol2kSymbol(double value) { return Scale(value, -1); }
double CConverter::mSymbol2gSymbol(double value) { return Scale(value, 1); }
double CConverter::gSymbol2Symbol(double value) { return Scale(value, -3); }
double CConverter::gSymbol2kSymbol(double value) { return Scale(value, -2); }
double CConverter::gSymbol2mSymbol(double value) { return Scale(value, -1); }

double CConverter::Bit2kBit(double value) { return Scale(value, 1); }
double CConverter::Bit2mBit(double value) { return Scale(value, 2); }
double CConverter::Bit2gBit(double value) { return Scale(value, 3); }
double CConverter::kBit2Bit(double value) { return Scale(value, -1); }
double CConverter::kBit2mBit(double value) { return Scale(value, 1); }
double CConverter::kBit2gBit(double value) { return Scale(value, 2); }
double CConverter::mBit2Bit(double value) { return Scale(value, -2); }
double CConverter::mBit2kBit(double value) { return Scale(value, -1); }
double CConverter::mBit2gBit(double value) { return Scale(value, 1); }
double CConverter::gBit2Bit(double value) { return Scale(value, -3); }
double CConverter::gBit2kBit(double value) { return Scale(value, -2); }
double CConverter::gBit2mBit(double value) { return Scale(value, -1); }
// clang-format on

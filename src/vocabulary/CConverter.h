#pragma once

#include "MainDataAccess_export.h"

#include "EInstrumentImpedance.h"
#include "ELevelUnit.h"
#include "EUnitTypes.h"

#include <QString>

namespace LumoraMeasurement
{

/// Recognises unit spellings in value texts, writes unit texts, converts numbers between units,
/// writes and reads scaled frequency, symbol-rate and bit-rate texts, and turns stored dBmV
/// levels into the level unit chosen for display. Stateless; usable during static start-up.
class MDA_EXPORT CConverter
{
public:
    CConverter() = delete;

    /// Finds the unit written in value. A text without unit letters gives eUnitType_None and
    /// true; unit letters that match no spelling give eUnitType_None and false.
    static bool UnitIsValid(QString value, EUnitTypes& unit);
    /// Unit text of the unit found in value; empty when there is none or it is unknown.
    static QString GetUnit(QString value);
    /// Unit text of unit ("MHz", "μs", "Symb/s" ...); empty for eUnitType_None and out of range.
    static QString GetUnitString(EUnitTypes unit);
    /// The number in a value text; a text containing "deg" loses every "deg" and is trimmed.
    static double getORVELFloat(QString& value);

    /// The number of value converted from one unit into another; impedance (Ohm) is used only
    /// from dBmV. Pairs without a conversion return the number unchanged.
    static double ConvertToUnit(QString value, EUnitTypes from, EUnitTypes to, short impedance);
    /// value converted into target; a bare number into Hz is taken as MHz; 0 for an unknown unit.
    static double ConvertValue(QString value, EUnitTypes target);
    /// Like ConvertValue, but a bare number is taken to be in target already.
    static double ConvertValueMeasurement(QString value, EUnitTypes target);
    /// value converted between two unit texts; the plain number when either is not recognised.
    static double ConvertValue(QString value, QString fromUnit, QString toUnit);
    /// True when ConvertToUnit() takes a number from one unit into the other (equal units
    /// included); false for the pairs it passes through unchanged.
    static bool CanConvert(EUnitTypes from, EUnitTypes to, short impedance);
    /// False when the number of a value text is not finite ("inf", "nan", "1e999 dB"):
    /// such a text must not be taken for a value, which would read as 0 or infinity.
    static bool HasFiniteNumber(const QString& value);
    /// A 50 Ohm dBm level of the older file generation, read in single precision, as dBmV.
    static double GetOldLumoraPower(QString& value);

    /// Scaled texts ("474.000 MHz"); negative decimals mean 8; NaN gives an empty text.
    static QString GetFrequencyString(double hz, short decimals, bool withUnit);
    /// As GetFrequencyString(), for symbol rates ("6.952 MSymbol/s").
    static QString GetSymbolRateString(double symbolsPerSecond, short decimals, bool withUnit);
    /// As GetFrequencyString(), for bit rates ("38.000 MBit/s").
    static QString GetBitString(double bitsPerSecond, short decimals, bool withUnit);

    /// Reads a frequency text in single precision into Hz; on success ok is true and text is
    /// rewritten as "<value with 8 decimals> <unit>", otherwise text is left as it was.
    static double Convert2Hz(QString& text, bool& ok);
    /// As Convert2Hz, for symbol rates in symbols per second.
    static double Convert2Symbols(QString& text, bool& ok);

    /// Rewrites a level text (held in dBmV) into the chosen level unit with two decimals, shows
    /// "dBu" as "dBμ", and without withUnit keeps only the part before the first blank.
    static void GetRequestedDisplayUnit(EUnitTypes unit, ELevelUnit levelUnit,
                                        EInstrumentImpedance impedance, QString& text,
                                        bool withUnit);
    /// Converts a stored dBmV level into the chosen level unit in place.
    static void ConvertIntoDisplayUnit(EUnitTypes unit, ELevelUnit levelUnit,
                                       EInstrumentImpedance impedance, double& value);

    ///@{
    /// value converted between the two units the name gives (A to mA, V to dBuV, Hz to MHz ...).
    static double A2mA(double value);
    static double mA2A(double value);

    static double V2mV(double value);
    static double V2uV(double value);
    static double V2dBuV(double value);
    static double V2dBV(double value);
    static double mV2V(double value);
    static double uV2V(double value);
    static double mV2dBuV(double value);
    static double mV2dBV(double value);
    static double dBV2V(double value);
    static double dBV2mV(double value);
    static double dBV2dBuV(double value);
    static double dBuV2V(double value);
    static double dBuV2mV(double value);
    static double dBuV2dBV(double value);

    static double Hz2kHz(double value);
    static double Hz2MHz(double value);
    static double Hz2GHz(double value);
    static double kHz2Hz(double value);
    static double kHz2MHz(double value);
    static double kHz2GHz(double value);
    static double MHz2Hz(double value);
    static double MHz2kHz(double value);
    static double MHz2GHz(double value);
    static double GHz2Hz(double value);
    static double GHz2kHz(double value);
    static double GHz2MHz(double value);

    static double W2mW(double value);
    static double W2dBm(double value);
    static double mW2W(double value);
    static double mW2dBm(double value);
    static double dBm2W(double value);
    static double dBm2mW(double value);
    /// Unchanged when impedance is below 1 Ohm.
    static double dBmV2dBm(double value, short impedance);
    static double dBmV2dBuV(double value);

    static double S2mS(double value);
    static double S2uS(double value);
    static double S2nS(double value);
    static double mS2S(double value);
    static double mS2uS(double value);
    static double mS2nS(double value);
    static double uS2S(double value);
    static double uS2mS(double value);
    static double uS2nS(double value);
    static double nS2S(double value);
    static double nS2mS(double value);
    static double nS2uS(double value);

    static double Symbol2kSymbol(double value);
    static double Symbol2mSymbol(double value);
    static double Symbol2gSymbol(double value);
    static double kSymbol2Symbol(double value);
    static double kSymbol2mSymbol(double value);
    static double kSymbol2gSymbol(double value);
    static double mSymbol2Symbol(double value);
    static double mSymbol2kSymbol(double value);
    static double mSymbol2gSymbol(double value);
    static double gSymbol2Symbol(double value);
    static double gSymbol2kSymbol(double value);
    static double gSymbol2mSymbol(double value);

    static double Bit2kBit(double value);
    static double Bit2mBit(double value);
    static double Bit2gBit(double value);
    static double kBit2Bit(double value);
    static double kBit2mBit(double value);
    static double kBit2gBit(double value);
    static double mBit2Bit(double value);
    static double mBit2kBit(double value);
    static double mBit2gBit(double value);
    static double gBit2Bit(double value);
    static double gBit2kBit(double value);
    static double gBit2mBit(double value);
    ///@}
};

} // namespace LumoraMeasurement

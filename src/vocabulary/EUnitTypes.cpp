#include "EUnitTypes.h"

using namespace LumoraMeasurement;

// ns has no row; the rows after it keep their older ids, and Bit/s sits before the symbol rates.
// clang-format off
MDA_DEFINE_REPRESENTATION(EUnitTypes,
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
    {eUnitType_GBitPerSec, 28, "GBits/s"})
// clang-format on

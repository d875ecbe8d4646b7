#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The physical unit of a value. Levels are held in dBmV, frequencies in Hz, symbol rates in
/// symbols per second and bit rates in bits per second; eUnitType_None marks a unitless value.
enum EUnitTypes : int
{
    eUnitType_W = 0,
    eUnitType_mW = 1,
    eUnitType_dBm = 2,
    eUnitType_dBmV = 3,
    eUnitType_V = 4,
    eUnitType_mV = 5,
    eUnitType_uV = 6,
    eUnitType_dBuV = 7,
    eUnitType_dBV = 8,
    eUnitType_A = 9,
    eUnitType_mA = 10,
    eUnitType_Hz = 11,
    eUnitType_kHz = 12,
    eUnitType_MHz = 13,
    eUnitType_GHz = 14,
    eUnitType_s = 15,
    eUnitType_ms = 16,
    eUnitType_us = 17,
    eUnitType_ns = 18,
    eUnitType_Percent = 19,
    eUnitType_dB = 20,
    eUnitType_Deg = 21,
    eUnitType_SymbolPerSec = 22,
    eUnitType_kSymbolPerSec = 23,
    eUnitType_MSymbolPerSec = 24,
    eUnitType_GSymbolPerSec = 25,
    eUnitType_BitPerSec = 26,
    eUnitType_kBitPerSec = 27,
    eUnitType_MBitPerSec = 28,
    eUnitType_GBitPerSec = 29,
    eUnitType_None = 30 ///< sentinel: no unit
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EUnitTypes)

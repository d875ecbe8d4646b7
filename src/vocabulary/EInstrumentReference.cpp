#include "EInstrumentReference.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EInstrumentReference,
    {eInstrumentReference_Internal10MHz, 0, "Internal reference 10 MHz (ARV, BEX)"},
    {eInstrumentReference_External10MHz, 2, "External reference 10 MHz (ARV, BEX)"},
    {eInstrumentReference_External10_24MHz, 1, "External reference 10.24 MHz (BEX)"})
// clang-format on

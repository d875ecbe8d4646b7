#include "EInstrumentImpedance.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EInstrumentImpedance,
    {eInstrumentImpedance_50Ohm, 0, "50 Ohm"},
    {eInstrumentImpedance_75Ohm, 1, "75 Ohm"})
// clang-format on

#include "EDTMBModulation.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EDTMBModulation,
    {eDTMBModulation_MultiCarrier, 0, "Multi Carrier"},
    {eDTMBModulation_SingleCarrier, 1, "Single Carrier"},
    {eDTMBModulation_Auto, 2, "Auto"})
// clang-format on

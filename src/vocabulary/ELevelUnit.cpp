#include "ELevelUnit.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(ELevelUnit,
    {eLevelUnit_dBm, 0, "dBm"},
    {eLevelUnit_dBmV, 1, "dBmV"},
    {eLevelUnit_dBuV, 2, "dB\u03bcV"})
// clang-format on

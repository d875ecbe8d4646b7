#include "EDVBT2Profiles.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EDVBT2Profiles,
    {eDVBT2Profiles_T2Base, 0, "T2-base"},
    {eDVBT2Profiles_T2Lite, 1, "T2-lite"})
// clang-format on

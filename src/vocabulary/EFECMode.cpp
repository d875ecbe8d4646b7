#include "EFECMode.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EFECMode,
    {eFECMode_A, 0, "A"},
    {eFECMode_B, 1, "B"},
    {eFECMode_C, 2, "C"})
// clang-format on

#include "EISDBTLayer.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EISDBTLayer,
    {eISDBTLayer_A, 0, "A"},
    {eISDBTLayer_B, 1, "B"},
    {eISDBTLayer_C, 2, "C"},
    {eISDBTLayer_ABC, 3, "A+B+C"})
// clang-format on

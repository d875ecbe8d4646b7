#include "ESideBandPosition.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(ESideBandPosition,
    {eSideBandPosition_Automatic, 0, "Automatic"},
    {eSideBandPosition_Normal, 1, "Normal"},
    {eSideBandPosition_Inverted, 2, "Inverted"})
// clang-format on

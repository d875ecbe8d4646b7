#include "ECompareType.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(ECompareType,
    {eCompareType_NotUsed, 0, "Not Used"},
    {eCompareType_Equal, 1, "Equal"},
    {eCompareType_NotEqual, 2, "Not Equal"},
    {eCompareType_Between, 3, "Between"},
    {eCompareType_Lower, 4, "Lower"},
    {eCompareType_Higher, 5, "Higher"})
// clang-format on

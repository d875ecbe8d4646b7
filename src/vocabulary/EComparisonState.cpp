#include "EComparisonState.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EComparisonState,
    {eComparisonState_Ok, 0, "Ok"},
    {eComparisonState_NotOk, 1, "Not Ok"},
    {eComparisonState_NotImplemented, 2, "Not Implemented"},
    {eComparisonState_NotMeasured, 3, "Not measured"})
// clang-format on

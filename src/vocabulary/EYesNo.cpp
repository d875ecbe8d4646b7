#include "EYesNo.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EYesNo,
    {eYesNo_Yes, 0, "Yes"},
    {eYesNo_No, 1, "No"})
// clang-format on

#include "ESignal.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(ESignal,
    {eSignal_Positive, 0, "Positv"},
    {eSignal_Negative, 1, "Negative"})
// clang-format on

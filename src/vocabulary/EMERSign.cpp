#include "EMERSign.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EMERSign,
    {eMERSign_Positive, 0, "Positive"},
    {eMERSign_Negative, 1, "Negative"})
// clang-format on

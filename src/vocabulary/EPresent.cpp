#include "EPresent.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EPresent,
    {ePresent_Present, 0, "Present"},
    {ePresent_Missing, 1, "Missing"})
// clang-format on

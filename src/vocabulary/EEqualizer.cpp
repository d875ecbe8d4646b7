#include "EEqualizer.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EEqualizer,
    {eEqualizer_On, 0, "On"},
    {eEqualizer_Off, 1, "Off"},
    {eEqualizer_Freeze, 2, "Freeze"})
// clang-format on

#include "EAcquisitionMode.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EAcquisitionMode,
    {eAcquisitionMode_Manual, 0, "Manual"},
    {eAcquisitionMode_Automatic, 1, "Automatic"})
// clang-format on

#include "ERestorationDeviceSettings.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(ERestorationDeviceSettings,
    {eRestorationDeviceSettings_Keep, 0, "Keep the current device settings after measurement"},
    {eRestorationDeviceSettings_Restore, 1, "Restore saved device settings after measurement"})
// clang-format on

#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// What happens to the instrument's settings after a measurement run.
enum ERestorationDeviceSettings : int
{
    eRestorationDeviceSettings_Keep = 0,
    eRestorationDeviceSettings_Restore = 1,
    eRestorationDeviceSettings_None = 2 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::ERestorationDeviceSettings)

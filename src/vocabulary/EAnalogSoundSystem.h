#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The sound carrier system of an analogue channel.
enum EAnalogSoundSystem : int
{
    eAnalogSoundSystem_FM55_NICAM585 = 0,
    eAnalogSoundSystem_FM55_FM5742 = 1,
    eAnalogSoundSystem_FM55_MONO = 2,
    eAnalogSoundSystem_FM65_NICAM585 = 3,
    eAnalogSoundSystem_FM65_FM6258 = 4,
    eAnalogSoundSystem_FM65_FM6742 = 5,
    eAnalogSoundSystem_FM65_MONO = 6,
    eAnalogSoundSystem_FM60_NICAM6552 = 7,
    eAnalogSoundSystem_FM60_MONO = 8,
    eAnalogSoundSystem_FM45_BTSC = 9,
    eAnalogSoundSystem_FM45_EIA_J = 10,
    eAnalogSoundSystem_FM45_FM4724 = 11,
    eAnalogSoundSystem_FM45_MONO = 12,
    eAnalogSoundSystem_AM65 = 13,
    eAnalogSoundSystem_None = 14 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EAnalogSoundSystem)

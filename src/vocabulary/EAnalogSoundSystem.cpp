#include "EAnalogSoundSystem.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EAnalogSoundSystem,
    {eAnalogSoundSystem_FM55_NICAM585, 0, "FM 5.5 MHz / NICAM 5.85 MHz"},
    {eAnalogSoundSystem_FM55_FM5742, 1, "FM 5.5 MHz / FM 5.742 MHz"},
    {eAnalogSoundSystem_FM55_MONO, 2, "FM 5.5 MHz MONO"},
    {eAnalogSoundSystem_FM65_NICAM585, 3, "FM 6.5 MHz / NICAM 5.85 MHz"},
    {eAnalogSoundSystem_FM65_FM6258, 4, "FM 6.5 MHz / FM 6.258 MHz"},
    {eAnalogSoundSystem_FM65_FM6742, 5, "FM 6.5 MHz / FM 6.742 MHz"},
    {eAnalogSoundSystem_FM65_MONO, 6, "FM 6.5 MHz MONO"},
    {eAnalogSoundSystem_FM60_NICAM6552, 7, "FM 6.0 MHz / NICAM 6.552 MHz"},
    {eAnalogSoundSystem_FM60_MONO, 8, "FM 6.0 MHz MONO"},
    {eAnalogSoundSystem_FM45_BTSC, 9, "FM 4.5 MHz / BTSC"},
    {eAnalogSoundSystem_FM45_EIA_J, 10, "FM 4.5 MHz / EIA_J"},
    {eAnalogSoundSystem_FM45_FM4724, 11, "FM 4.5 MHz / FM 4.724 MHz"},
    {eAnalogSoundSystem_FM45_MONO, 12, "FM 4.5 MHz MONO"},
    {eAnalogSoundSystem_AM65, 13, "AM 6.5 MHz"})
// clang-format on

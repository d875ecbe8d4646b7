#include "CFilterAudioStandard.h"

#include <iterator>

namespace LumoraMeasurement
{

const CFilterAudioStandard::SAdmission CFilterAudioStandard::c_Admissions[] = {
    {Standards({eTVStandard_BG_Pal, eTVStandard_BG_Secam}),
     Entries({eAnalogSoundSystem_FM55_NICAM585, eAnalogSoundSystem_FM55_FM5742,
              eAnalogSoundSystem_FM55_MONO})},
    {Standards({eTVStandard_DK_Pal, eTVStandard_DK_Secam, eTVStandard_K1_Secam}),
     Entries({eAnalogSoundSystem_FM65_NICAM585, eAnalogSoundSystem_FM65_FM6258,
              eAnalogSoundSystem_FM65_FM6742, eAnalogSoundSystem_FM65_MONO})},
    {Standards({eTVStandard_I_Pal}),
     Entries({eAnalogSoundSystem_FM60_NICAM6552, eAnalogSoundSystem_FM60_MONO})},
    {Standards({eTVStandard_M_Pal, eTVStandard_M_NTSC, eTVStandard_N_Pal}),
     Entries({eAnalogSoundSystem_FM45_BTSC, eAnalogSoundSystem_FM45_EIA_J,
              eAnalogSoundSystem_FM45_FM4724, eAnalogSoundSystem_FM45_MONO})},
};

CFilterAudioStandard::CFilterAudioStandard(ETVStandards eStandard)
    : CStandardEnumFilter(eStandard, c_Admissions, std::size(c_Admissions))
{
}

} // namespace LumoraMeasurement

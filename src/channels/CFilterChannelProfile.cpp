#include "CFilterChannelProfile.h"

#include <iterator>

namespace LumoraMeasurement
{

const CFilterChannelProfile::SAdmission CFilterChannelProfile::c_Admissions[] = {
    {Standards({eTVStandard_DOCSIS31}),
     Entries({eChannelProfile_All, eChannelProfile_A, eChannelProfile_B, eChannelProfile_C,
              eChannelProfile_D, eChannelProfile_E, eChannelProfile_F, eChannelProfile_G,
              eChannelProfile_H, eChannelProfile_I, eChannelProfile_J, eChannelProfile_K,
              eChannelProfile_L, eChannelProfile_M, eChannelProfile_N, eChannelProfile_O,
              eChannelProfile_P})},
};

CFilterChannelProfile::CFilterChannelProfile(ETVStandards eStandard)
    : CStandardEnumFilter(eStandard, c_Admissions, std::size(c_Admissions))
{
}

} // namespace LumoraMeasurement

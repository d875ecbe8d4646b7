#include "CFilterGroupDelay.h"

#include <iterator>

namespace LumoraMeasurement
{

const CFilterGroupDelay::SAdmission CFilterGroupDelay::c_Admissions[] = {
    {Standards({eTVStandard_BG_Pal, eTVStandard_BG_Secam}),
     Entries({eAnalogGroupDelay_General, eAnalogGroupDelay_GeneralHalf, eAnalogGroupDelay_Australia,
              eAnalogGroupDelay_Denmark, eAnalogGroupDelay_NewZealand, eAnalogGroupDelay_Norway,
              eAnalogGroupDelay_SwedenFull, eAnalogGroupDelay_Flat})},
    {Standards({eTVStandard_DK_Pal, eTVStandard_DK_Secam}),
     Entries({eAnalogGroupDelay_Flat, eAnalogGroupDelay_Oirt75, eAnalogGroupDelay_Oirt83,
              eAnalogGroupDelay_CCIR})},
    {Standards({eTVStandard_I_Pal}), Entries({eAnalogGroupDelay_Flat})},
    {Standards({eTVStandard_K1_Secam}), Entries({eAnalogGroupDelay_Flat, eAnalogGroupDelay_K1})},
    {Standards({eTVStandard_M_Pal, eTVStandard_M_NTSC, eTVStandard_N_Pal}),
     Entries({eAnalogGroupDelay_Flat, eAnalogGroupDelay_FCC})},
};

CFilterGroupDelay::CFilterGroupDelay(ETVStandards eStandard)
    : CStandardEnumFilter(eStandard, c_Admissions, std::size(c_Admissions))
{
}

} // namespace LumoraMeasurement

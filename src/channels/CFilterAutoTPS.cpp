#include "CFilterAutoTPS.h"

#include <iterator>

namespace LumoraMeasurement
{

const CFilterAutoTPS::SAdmission CFilterAutoTPS::c_Admissions[] = {
    {Standards({eTVStandard_DTMB, eTVStandard_DVBT, eTVStandard_DVBT2, eTVStandard_TDMB,
                eTVStandard_ISDBT}),
     Entries({eOnOff_On, eOnOff_Off})},
};

CFilterAutoTPS::CFilterAutoTPS(ETVStandards eStandard)
    : CStandardEnumFilter(eStandard, c_Admissions, std::size(c_Admissions))
{
}

} // namespace LumoraMeasurement

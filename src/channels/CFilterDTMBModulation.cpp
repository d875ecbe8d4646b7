#include "CFilterDTMBModulation.h"

#include <iterator>

namespace LumoraMeasurement
{

const CFilterDTMBModulation::SAdmission CFilterDTMBModulation::c_Admissions[] = {
    {Standards({eTVStandard_DTMB}),
     Entries({eDTMBModulation_MultiCarrier, eDTMBModulation_SingleCarrier})},
};

CFilterDTMBModulation::CFilterDTMBModulation(ETVStandards eStandard)
    : CStandardEnumFilter(eStandard, c_Admissions, std::size(c_Admissions))
{
}

} // namespace LumoraMeasurement

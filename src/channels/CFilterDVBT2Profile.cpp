#include "CFilterDVBT2Profile.h"

#include <iterator>

namespace LumoraMeasurement
{

const CFilterDVBT2Profile::SAdmission CFilterDVBT2Profile::c_Admissions[] = {
    {Standards({eTVStandard_DVBT2}), Entries({eDVBT2Profiles_T2Base, eDVBT2Profiles_T2Lite})},
};

CFilterDVBT2Profile::CFilterDVBT2Profile(ETVStandards eStandard)
    : CStandardEnumFilter(eStandard, c_Admissions, std::size(c_Admissions))
{
}

} // namespace LumoraMeasurement

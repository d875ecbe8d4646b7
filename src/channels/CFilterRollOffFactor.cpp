#include "CFilterRollOffFactor.h"

#include <iterator>

namespace LumoraMeasurement
{

const CFilterRollOffFactor::SAdmission CFilterRollOffFactor::c_Admissions[] = {
    {c_uCableStandards,
     Entries({eRollOffFactor_0_12, eRollOffFactor_0_13, eRollOffFactor_0_15, eRollOffFactor_0_18})},
    {Standards({eTVStandard_ATSC_8VSB, eTVStandard_ATSC_MDTV}), Entries({eRollOffFactor_0_115})},
    {c_uDocsis30Standards,
     Entries({eRollOffFactor_Auto, eRollOffFactor_0_12, eRollOffFactor_0_13, eRollOffFactor_0_14,
              eRollOffFactor_0_15, eRollOffFactor_0_16, eRollOffFactor_0_17, eRollOffFactor_0_18,
              eRollOffFactor_0_19, eRollOffFactor_0_20})},
};

CFilterRollOffFactor::CFilterRollOffFactor(ETVStandards eStandard)
    : CStandardEnumFilter(eStandard, c_Admissions, std::size(c_Admissions))
{
}

} // namespace LumoraMeasurement

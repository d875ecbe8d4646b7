#include "CFilterEqualizer.h"

#include <iterator>

namespace LumoraMeasurement
{

const CFilterEqualizer::SAdmission CFilterEqualizer::c_Admissions[] = {
    {c_uCableStandards | Standards({eTVStandard_ATSC_8VSB, eTVStandard_ATSC_MDTV}) |
         c_uDocsisStandards,
     Entries({eEqualizer_On, eEqualizer_Off})},
};

CFilterEqualizer::CFilterEqualizer(ETVStandards eStandard)
    : CStandardEnumFilter(eStandard, c_Admissions, std::size(c_Admissions))
{
}

} // namespace LumoraMeasurement

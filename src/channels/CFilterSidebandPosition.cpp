#include "CFilterSidebandPosition.h"

#include <iterator>

namespace LumoraMeasurement
{

const CFilterSidebandPosition::SAdmission CFilterSidebandPosition::c_Admissions[] = {
    {c_uCableStandards |
         Standards({eTVStandard_DTMB, eTVStandard_DVBT, eTVStandard_TDMB, eTVStandard_ISDBT}) |
         c_uDocsisStandards,
     Entries({eSideBandPosition_Automatic, eSideBandPosition_Normal, eSideBandPosition_Inverted})},
    {c_uAnalogStandards |
         Standards({eTVStandard_DVBT2, eTVStandard_ATSC_8VSB, eTVStandard_ATSC_MDTV}),
     Entries({eSideBandPosition_Normal, eSideBandPosition_Inverted})},
};

CFilterSidebandPosition::CFilterSidebandPosition(ETVStandards eStandard)
    : CStandardEnumFilter(eStandard, c_Admissions, std::size(c_Admissions))
{
}

} // namespace LumoraMeasurement

#include "CFilterTestLineType.h"

#include <iterator>

namespace LumoraMeasurement
{

const CFilterTestLineType::SAdmission CFilterTestLineType::c_Admissions[] = {
    {c_uAnalogStandards & ~Standards({eTVStandard_M_Pal, eTVStandard_M_NTSC}),
     Entries({eTestLineType_CCIR17})},
    {Standards({eTVStandard_M_Pal, eTVStandard_M_NTSC}),
     Entries({eTestLineType_NTC7Composite, eTestLineType_FCCComposite})},
};

CFilterTestLineType::CFilterTestLineType(ETVStandards eStandard)
    : CStandardEnumFilter(eStandard, c_Admissions, std::size(c_Admissions))
{
}

} // namespace LumoraMeasurement

#include "CFilterISDBTLayer.h"

#include <iterator>

namespace LumoraMeasurement
{

const CFilterISDBTLayer::SAdmission CFilterISDBTLayer::c_Admissions[] = {
    {Standards({eTVStandard_ISDBT}), Entries({eISDBTLayer_A, eISDBTLayer_B, eISDBTLayer_C})},
};

CFilterISDBTLayer::CFilterISDBTLayer(ETVStandards eStandard)
    : CStandardEnumFilter(eStandard, c_Admissions, std::size(c_Admissions))
{
}

} // namespace LumoraMeasurement

#include "CFilterDTMBFrameHeader.h"

#include <iterator>

namespace LumoraMeasurement
{

const CFilterDTMBFrameHeader::SAdmission CFilterDTMBFrameHeader::c_Admissions[] = {
    {Standards({eTVStandard_DTMB}),
     Entries({eDTMBFrameHeader_G420, eDTMBFrameHeader_G595, eDTMBFrameHeader_G945})},
};

CFilterDTMBFrameHeader::CFilterDTMBFrameHeader(ETVStandards eStandard)
    : CStandardEnumFilter(eStandard, c_Admissions, std::size(c_Admissions))
{
}

} // namespace LumoraMeasurement

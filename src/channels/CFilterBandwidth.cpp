#include "CFilterBandwidth.h"

#include <iterator>

namespace LumoraMeasurement
{

const CFilterBandwidth::SAdmission CFilterBandwidth::c_Admissions[] = {
    {Standards({eTVStandard_DVBT}), Entries({eChannelBandwidth_5MHz, eChannelBandwidth_6MHz,
                                             eChannelBandwidth_7MHz, eChannelBandwidth_8MHz})},
    {Standards({eTVStandard_DVBT2}),
     Entries({eChannelBandwidth_1_7MHz, eChannelBandwidth_5MHz, eChannelBandwidth_6MHz,
              eChannelBandwidth_7MHz, eChannelBandwidth_8MHz})},
    {Standards({eTVStandard_DTMB}),
     Entries({eChannelBandwidth_6MHz, eChannelBandwidth_7MHz, eChannelBandwidth_8MHz})},
};

CFilterBandwidth::CFilterBandwidth(ETVStandards eStandard)
    : CStandardEnumFilter(eStandard, c_Admissions, std::size(c_Admissions))
{
}

} // namespace LumoraMeasurement

#include "CFilterConstellation.h"

#include <iterator>

namespace LumoraMeasurement
{

const CFilterConstellation::SAdmission CFilterConstellation::c_Admissions[] = {
    {c_uCableStandards, Entries({eDigitalConstellation_QAM4, eDigitalConstellation_QAM16,
                                 eDigitalConstellation_QAM32, eDigitalConstellation_QAM64,
                                 eDigitalConstellation_QAM128, eDigitalConstellation_QAM256})},
    {Standards({eTVStandard_DTMB}),
     Entries({eDigitalConstellation_QAM4, eDigitalConstellation_QAM16, eDigitalConstellation_QAM32,
              eDigitalConstellation_QAM64, eDigitalConstellation_QAM4NR})},
    {Standards({eTVStandard_DVBT}),
     Entries({eDigitalConstellation_QPSK, eDigitalConstellation_QAM16NH,
              eDigitalConstellation_QAM16H1, eDigitalConstellation_QAM16H2,
              eDigitalConstellation_QAM16H4, eDigitalConstellation_QAM64NH,
              eDigitalConstellation_QAM64H1, eDigitalConstellation_QAM64H2,
              eDigitalConstellation_QAM64H4})},
    {Standards({eTVStandard_DVBT2}),
     Entries({eDigitalConstellation_QAM16, eDigitalConstellation_QAM64,
              eDigitalConstellation_QAM256, eDigitalConstellation_QPSK,
              eDigitalConstellation_BPSK})},
    {Standards({eTVStandard_ATSC_8VSB, eTVStandard_ATSC_MDTV}),
     Entries({eDigitalConstellation_VSB})},
    {Standards({eTVStandard_TDMB}), Entries({eDigitalConstellation_QAM4})},
    {Standards({eTVStandard_ISDBT}),
     Entries(
         {eDigitalConstellation_QAM16, eDigitalConstellation_QAM64, eDigitalConstellation_QPSK})},
    {c_uDocsis30Standards, Entries({eDigitalConstellation_QAM64, eDigitalConstellation_QAM256})},
};

CFilterConstellation::CFilterConstellation(ETVStandards eStandard)
    : CStandardEnumFilter(eStandard, c_Admissions, std::size(c_Admissions))
{
}

} // namespace LumoraMeasurement

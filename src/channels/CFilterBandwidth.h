#pragma once

#include "CStandardEnumFilter.h"
#include "EChannelBandwidth.h"

namespace LumoraMeasurement
{

/// Offers the entries of the channel bandwidth that the channel's TV standard supports.
class CFilterBandwidth : public CStandardEnumFilter<EChannelBandwidth>
{
public:
    explicit CFilterBandwidth(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

#pragma once

#include "MainDataAccess_export.h"

#include "CStandardEnumFilter.h"
#include "EChannelBandwidth.h"

namespace LumoraMeasurement
{

/// Offers the entries of the channel bandwidth that the channel's TV standard supports.
class MDA_EXPORT CFilterBandwidth : public CStandardEnumFilter<EChannelBandwidth>
{
public:
    /// The filter for a channel of TV standard eStandard.
    explicit CFilterBandwidth(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

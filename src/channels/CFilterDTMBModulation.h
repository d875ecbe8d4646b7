#pragma once

#include "MainDataAccess_export.h"

#include "CStandardEnumFilter.h"
#include "EDTMBModulation.h"

namespace LumoraMeasurement
{

/// Offers the entries of the DTMB modulation that the channel's TV standard supports.
class MDA_EXPORT CFilterDTMBModulation : public CStandardEnumFilter<EDTMBModulation>
{
public:
    /// The filter for a channel of TV standard eStandard.
    explicit CFilterDTMBModulation(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

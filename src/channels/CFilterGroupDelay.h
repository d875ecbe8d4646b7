#pragma once

#include "MainDataAccess_export.h"

#include "CStandardEnumFilter.h"
#include "EAnalogGroupDelay.h"

namespace LumoraMeasurement
{

/// Offers the entries of the analog group delay pre-correction that the channel's TV standard
/// supports.
class MDA_EXPORT CFilterGroupDelay : public CStandardEnumFilter<EAnalogGroupDelay>
{
public:
    /// The filter for a channel of TV standard eStandard.
    explicit CFilterGroupDelay(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

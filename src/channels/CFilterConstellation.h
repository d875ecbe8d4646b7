#pragma once

#include "MainDataAccess_export.h"

#include "CStandardEnumFilter.h"
#include "EDigitalConstellation.h"

namespace LumoraMeasurement
{

/// Offers the entries of the QAM order that the channel's TV standard supports.
class MDA_EXPORT CFilterConstellation : public CStandardEnumFilter<EDigitalConstellation>
{
public:
    /// The filter for a channel of TV standard eStandard.
    explicit CFilterConstellation(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

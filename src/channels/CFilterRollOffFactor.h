#pragma once

#include "MainDataAccess_export.h"

#include "CStandardEnumFilter.h"
#include "ERollOffFactor.h"

namespace LumoraMeasurement
{

/// Offers the entries of the roll-off factor that the channel's TV standard supports.
class MDA_EXPORT CFilterRollOffFactor : public CStandardEnumFilter<ERollOffFactor>
{
public:
    /// The filter for a channel of TV standard eStandard.
    explicit CFilterRollOffFactor(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

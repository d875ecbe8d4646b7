#pragma once

#include "MainDataAccess_export.h"

#include "CStandardEnumFilter.h"
#include "ESideBandPosition.h"

namespace LumoraMeasurement
{

/// Offers the entries of the sideband position that the channel's TV standard supports.
class MDA_EXPORT CFilterSidebandPosition : public CStandardEnumFilter<ESideBandPosition>
{
public:
    /// The filter for a channel of TV standard eStandard.
    explicit CFilterSidebandPosition(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

#pragma once

#include "MainDataAccess_export.h"

#include "CStandardEnumFilter.h"
#include "EDVBT2Profiles.h"

namespace LumoraMeasurement
{

/// Offers the entries of the DVB-T2 profile that the channel's TV standard supports.
class MDA_EXPORT CFilterDVBT2Profile : public CStandardEnumFilter<EDVBT2Profiles>
{
public:
    /// The filter for a channel of TV standard eStandard.
    explicit CFilterDVBT2Profile(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

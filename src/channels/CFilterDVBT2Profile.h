#pragma once

#include "CStandardEnumFilter.h"
#include "EDVBT2Profiles.h"

namespace LumoraMeasurement
{

/// Offers the entries of the DVB-T2 profile that the channel's TV standard supports.
class CFilterDVBT2Profile : public CStandardEnumFilter<EDVBT2Profiles>
{
public:
    explicit CFilterDVBT2Profile(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

#pragma once

#include "MainDataAccess_export.h"

#include "CStandardEnumFilter.h"
#include "EChannelProfile.h"

namespace LumoraMeasurement
{

/// Offers the entries of the DOCSIS 3.1 profile that the channel's TV standard supports.
class MDA_EXPORT CFilterChannelProfile : public CStandardEnumFilter<EChannelProfile>
{
public:
    /// The filter for a channel of TV standard eStandard.
    explicit CFilterChannelProfile(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

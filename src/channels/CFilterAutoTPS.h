#pragma once

#include "MainDataAccess_export.h"

#include "CStandardEnumFilter.h"
#include "EOnOff.h"

namespace LumoraMeasurement
{

/// Offers the entries of the automatic detection of transmission parameters that the channel's TV
/// standard supports.
class MDA_EXPORT CFilterAutoTPS : public CStandardEnumFilter<EOnOff>
{
public:
    /// The filter for a channel of TV standard eStandard.
    explicit CFilterAutoTPS(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

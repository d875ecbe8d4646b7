#pragma once

#include "MainDataAccess_export.h"

#include "CStandardEnumFilter.h"
#include "EEqualizer.h"

namespace LumoraMeasurement
{

/// Offers the entries of the equalizer that the channel's TV standard supports.
class MDA_EXPORT CFilterEqualizer : public CStandardEnumFilter<EEqualizer>
{
public:
    /// The filter for a channel of TV standard eStandard.
    explicit CFilterEqualizer(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

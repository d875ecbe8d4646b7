#pragma once

#include "CStandardEnumFilter.h"
#include "EEqualizer.h"

namespace LumoraMeasurement
{

/// Offers the entries of the equalizer that the channel's TV standard supports.
class CFilterEqualizer : public CStandardEnumFilter<EEqualizer>
{
public:
    explicit CFilterEqualizer(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

#pragma once

#include "MainDataAccess_export.h"

#include "CStandardEnumFilter.h"
#include "EAnalogSoundSystem.h"

namespace LumoraMeasurement
{

/// Offers the entries of the analog sound system that the channel's TV standard supports.
class MDA_EXPORT CFilterAudioStandard : public CStandardEnumFilter<EAnalogSoundSystem>
{
public:
    /// The filter for a channel of TV standard eStandard.
    explicit CFilterAudioStandard(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

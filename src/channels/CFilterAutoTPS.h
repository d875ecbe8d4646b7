#pragma once

#include "CStandardEnumFilter.h"
#include "EOnOff.h"

namespace LumoraMeasurement
{

/// Offers the entries of the automatic detection of transmission parameters that the channel's TV
/// standard supports.
class CFilterAutoTPS : public CStandardEnumFilter<EOnOff>
{
public:
    explicit CFilterAutoTPS(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

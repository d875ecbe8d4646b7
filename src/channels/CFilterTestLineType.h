#pragma once

#include "CStandardEnumFilter.h"
#include "ETestLineType.h"

namespace LumoraMeasurement
{

/// Offers the entries of the test line signal that the channel's TV standard supports.
class CFilterTestLineType : public CStandardEnumFilter<ETestLineType>
{
public:
    explicit CFilterTestLineType(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

#pragma once

#include "MainDataAccess_export.h"

#include "CStandardEnumFilter.h"
#include "ETestLineType.h"

namespace LumoraMeasurement
{

/// Offers the entries of the test line signal that the channel's TV standard supports.
class MDA_EXPORT CFilterTestLineType : public CStandardEnumFilter<ETestLineType>
{
public:
    /// The filter for a channel of TV standard eStandard.
    explicit CFilterTestLineType(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

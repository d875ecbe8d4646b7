#pragma once

#include "MainDataAccess_export.h"

#include "CStandardEnumFilter.h"
#include "ETestLineField.h"

namespace LumoraMeasurement
{

/// Offers the entries of the test line field that the channel's TV standard supports.
class MDA_EXPORT CFilterTestLineField : public CStandardEnumFilter<ETestLineField>
{
public:
    /// The filter for a channel of TV standard eStandard.
    explicit CFilterTestLineField(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

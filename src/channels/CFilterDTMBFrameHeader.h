#pragma once

#include "MainDataAccess_export.h"

#include "CStandardEnumFilter.h"
#include "EDTMBFrameHeader.h"

namespace LumoraMeasurement
{

/// Offers the entries of the DTMB frame header that the channel's TV standard supports.
class MDA_EXPORT CFilterDTMBFrameHeader : public CStandardEnumFilter<EDTMBFrameHeader>
{
public:
    /// The filter for a channel of TV standard eStandard.
    explicit CFilterDTMBFrameHeader(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

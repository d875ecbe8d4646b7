#pragma once

#include "MainDataAccess_export.h"

#include "CStandardEnumFilter.h"
#include "EISDBTLayer.h"

namespace LumoraMeasurement
{

/// Offers the entries of the ISDB-T layer that the channel's TV standard supports.
class MDA_EXPORT CFilterISDBTLayer : public CStandardEnumFilter<EISDBTLayer>
{
public:
    /// The filter for a channel of TV standard eStandard.
    explicit CFilterISDBTLayer(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

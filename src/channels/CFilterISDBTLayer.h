#pragma once

#include "CStandardEnumFilter.h"
#include "EISDBTLayer.h"

namespace LumoraMeasurement
{

/// Offers the entries of the ISDB-T layer that the channel's TV standard supports.
class CFilterISDBTLayer : public CStandardEnumFilter<EISDBTLayer>
{
public:
    explicit CFilterISDBTLayer(ETVStandards eStandard);

private:
    static const SAdmission c_Admissions[];
};

} // namespace LumoraMeasurement

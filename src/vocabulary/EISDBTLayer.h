#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The hierarchical layer of an ISDB-T channel that is measured.
enum EISDBTLayer : int
{
    eISDBTLayer_A = 0,
    eISDBTLayer_B = 1,
    eISDBTLayer_C = 2,
    eISDBTLayer_ABC = 3,
    eISDBTLayer_None = 4 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EISDBTLayer)

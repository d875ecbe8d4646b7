#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The unit in which levels are shown to the user; stored levels are always dBmV.
enum ELevelUnit : int
{
    eLevelUnit_dBm = 1,
    eLevelUnit_dBmV = 2,
    eLevelUnit_dBuV = 3,
    eLevelUnit_None = 4 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::ELevelUnit)

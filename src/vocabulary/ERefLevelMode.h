#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// How the instrument's reference level is set.
enum ERefLevelMode : int
{
    eRefLevelMode_Manual = 0,
    eRefLevelMode_Automatic = 1,
    eRefLevelMode_AutomaticTimeOptimized = 2,
    eRefLevelMode_None = 3 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::ERefLevelMode)

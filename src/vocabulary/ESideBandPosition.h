#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The sideband position of a channel's spectrum.
enum ESideBandPosition : int
{
    eSideBandPosition_Automatic = 0,
    eSideBandPosition_Normal = 1,
    eSideBandPosition_Inverted = 2,
    eSideBandPosition_None = 3 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::ESideBandPosition)

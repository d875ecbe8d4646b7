#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The lock state of a receiver stage.
enum ELocked : int
{
    eLocked_Locked = 0,
    eLocked_Unlocked = 1,
    eLocked_None = 2 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::ELocked)

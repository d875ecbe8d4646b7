#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The forward error correction mode of a channel.
enum EFECMode : int
{
    eFECMode_A = 0,
    eFECMode_B = 1,
    eFECMode_C = 2,
    eFECMode_None = 3 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EFECMode)

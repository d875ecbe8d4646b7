#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// How the instrument acquires a channel.
enum EAcquisitionMode : int
{
    eAcquisitionMode_Automatic = 0,
    eAcquisitionMode_Manual = 1,
    eAcquisitionMode_None = 2 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EAcquisitionMode)

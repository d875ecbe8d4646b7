#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The colour system of an analogue picture.
enum EColorSystem : int
{
    eColorSystem_PAL = 0,
    eColorSystem_SECAM = 1,
    eColorSystem_NTSC = 2,
    eColorSystem_None = 3 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EColorSystem)

#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// How the bit error ratio measurement is controlled.
enum EBERMode : int
{
    eBERMode_Automatic = 0,
    eBERMode_Manual = 1,
    eBERMode_SemiAutomatic = 2,
    eBERMode_None = 3 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EBERMode)

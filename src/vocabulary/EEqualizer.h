#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The state of the receiver's equalizer.
enum EEqualizer : int
{
    eEqualizer_On = 0,
    eEqualizer_Off = 1,
    eEqualizer_Freeze = 2,
    eEqualizer_None = 3 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EEqualizer)

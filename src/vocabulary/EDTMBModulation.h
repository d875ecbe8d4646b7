#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The carrier mode of a DTMB channel.
enum EDTMBModulation : int
{
    eDTMBModulation_MultiCarrier = 0,
    eDTMBModulation_SingleCarrier = 1,
    eDTMBModulation_Auto = 2,
    eDTMBModulation_None = 3 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EDTMBModulation)

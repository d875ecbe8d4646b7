#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The group delay pre-correction used for an analogue channel.
enum EAnalogGroupDelay : int
{
    eAnalogGroupDelay_General = 0,
    eAnalogGroupDelay_GeneralHalf = 1,
    eAnalogGroupDelay_Australia = 2,
    eAnalogGroupDelay_Denmark = 3,
    eAnalogGroupDelay_NewZealand = 4,
    eAnalogGroupDelay_Norway = 5,
    eAnalogGroupDelay_SwedenFull = 6,
    eAnalogGroupDelay_Flat = 7,
    eAnalogGroupDelay_Oirt = 8,
    eAnalogGroupDelay_Oirt75 = 9,
    eAnalogGroupDelay_Oirt83 = 10,
    eAnalogGroupDelay_CCIR = 11,
    eAnalogGroupDelay_TDF = 12,
    eAnalogGroupDelay_K1 = 13,
    eAnalogGroupDelay_FCC = 14,
    eAnalogGroupDelay_None = 15 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EAnalogGroupDelay)

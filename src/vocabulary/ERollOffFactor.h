#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The roll-off factor of a digital channel's pulse shaping.
enum ERollOffFactor : int
{
    eRollOffFactor_Auto = 0,
    eRollOffFactor_0_12 = 1,
    eRollOffFactor_0_13 = 2,
    eRollOffFactor_0_14 = 3,
    eRollOffFactor_0_15 = 4,
    eRollOffFactor_0_16 = 5,
    eRollOffFactor_0_17 = 6,
    eRollOffFactor_0_18 = 7,
    eRollOffFactor_0_19 = 8,
    eRollOffFactor_0_20 = 9,
    eRollOffFactor_0_115 = 10,
    eRollOffFactor_None = 11 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::ERollOffFactor)

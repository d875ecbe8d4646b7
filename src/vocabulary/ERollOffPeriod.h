#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The roll-off period of an OFDM symbol.
enum ERollOffPeriod : int
{
    eRollOffPeriod_0 = 0,
    eRollOffPeriod_0_3125 = 1,
    eRollOffPeriod_0_625 = 2,
    // The rows for 0.9375 and 1.25 carry the value of 0.625; only their stored ids differ.
    eRollOffPeriod_0_9375 = eRollOffPeriod_0_625,
    eRollOffPeriod_1_25 = eRollOffPeriod_0_625,
    eRollOffPeriod_None = 3 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::ERollOffPeriod)

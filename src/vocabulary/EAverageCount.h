#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The number of sweeps an analysis averages over.
enum EAverageCount : int
{
    eAverageCount_0 = 0,
    eAverageCount_4 = 1,
    eAverageCount_8 = 2,
    eAverageCount_16 = 3,
    eAverageCount_32 = 4,
    eAverageCount_64 = 5,
    eAverageCount_128 = 6,
    eAverageCount_256 = 7,
    eAverageCount_None = 8 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EAverageCount)

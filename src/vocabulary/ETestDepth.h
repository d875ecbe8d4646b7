#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The number of bits a bit error ratio test covers.
enum ETestDepth : int
{
    eTestDepth_1 = 0,
    eTestDepth_10 = 1,
    eTestDepth_100 = 2,
    eTestDepth_1K = 3,
    eTestDepth_10K = 4,
    eTestDepth_100K = 5,
    eTestDepth_1G = 6,
    eTestDepth_None = 7 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::ETestDepth)

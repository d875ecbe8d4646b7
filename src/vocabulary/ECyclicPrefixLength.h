#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The cyclic prefix length of an OFDM symbol.
enum ECyclicPrefixLength : int
{
    eCyclicPrefixLength_0_9375us = 0,
    eCyclicPrefixLength_1_25us = 1,
    eCyclicPrefixLength_2_50us = 2,
    eCyclicPrefixLength_3_75us = 3,
    eCyclicPrefixLength_5_00us = 4,
    eCyclicPrefixLength_None = 5 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::ECyclicPrefixLength)

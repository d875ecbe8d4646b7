#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// Where the bit error ratio is taken from.
enum EBERSource : int
{
    eBERSource_MACLFSR = 0,
    eBERSource_PN23 = 1,
    eBERSource_EstimateFromFEC = 2,
    eBERSource_None = 3 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EBERSource)

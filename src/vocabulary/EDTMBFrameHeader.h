#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The frame header mode of a DTMB channel.
enum EDTMBFrameHeader : int
{
    eDTMBFrameHeader_G420 = 0,
    eDTMBFrameHeader_G595 = 1,
    eDTMBFrameHeader_G945 = 2,
    eDTMBFrameHeader_None = 3 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EDTMBFrameHeader)

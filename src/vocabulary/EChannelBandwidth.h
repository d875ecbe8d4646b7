#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The bandwidth of a digital channel.
enum EChannelBandwidth : int
{
    eChannelBandwidth_1_7MHz = 0,
    eChannelBandwidth_5MHz = 1,
    eChannelBandwidth_6MHz = 2,
    eChannelBandwidth_7MHz = 3,
    eChannelBandwidth_8MHz = 4,
    eChannelBandwidth_None = 5 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EChannelBandwidth)

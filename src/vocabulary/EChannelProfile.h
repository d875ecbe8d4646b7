#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The OFDM profile of a channel that is measured.
enum EChannelProfile : int
{
    eChannelProfile_All = 0,
    eChannelProfile_A = 1,
    eChannelProfile_B = 2,
    eChannelProfile_C = 3,
    eChannelProfile_D = 4,
    eChannelProfile_E = 5,
    eChannelProfile_F = 6,
    eChannelProfile_G = 7,
    eChannelProfile_H = 8,
    eChannelProfile_I = 9,
    eChannelProfile_J = 10,
    eChannelProfile_K = 11,
    eChannelProfile_L = 12,
    eChannelProfile_M = 13,
    eChannelProfile_N = 14,
    eChannelProfile_O = 15,
    eChannelProfile_P = 16,
    eChannelProfile_None = 17 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EChannelProfile)

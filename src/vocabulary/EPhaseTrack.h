#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The bandwidth of the receiver's phase tracking.
enum EPhaseTrack : int
{
    ePhaseTrack_1kHz = 0,
    ePhaseTrack_6kHz = 1,
    ePhaseTrack_60kHz = 2,
    ePhaseTrack_None = 3 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EPhaseTrack)

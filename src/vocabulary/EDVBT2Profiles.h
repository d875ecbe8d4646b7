#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The DVB-T2 profile of a channel.
enum EDVBT2Profiles : int
{
    eDVBT2Profiles_T2Base = 0,
    eDVBT2Profiles_T2Lite = 1,
    eDVBT2Profiles_None = 2 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EDVBT2Profiles)

#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// A switch of a channel setting.
enum EOnOff : int
{
    eOnOff_On = 0,
    eOnOff_Off = 1,
    eOnOff_None = 2 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EOnOff)

#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// A yes/no choice of the device settings.
enum EYesNo : int
{
    eYesNo_Yes = 0,
    eYesNo_No = 1,
    eYesNo_None = 2 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EYesNo)

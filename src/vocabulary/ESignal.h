#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The polarity of a signal.
enum ESignal : int
{
    eSignal_Positive = 0,
    eSignal_Negative = 1,
    eSignal_None = 2 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::ESignal)

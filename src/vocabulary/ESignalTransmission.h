#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// Whether a signal is transmitted digitally or analogue.
enum ESignalTransmission : int
{
    eSignalTransmission_Digital = 0,
    eSignalTransmission_Analog = 1,
    eSignalTransmission_None = 2 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::ESignalTransmission)

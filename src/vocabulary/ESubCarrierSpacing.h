#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The OFDM subcarrier spacing and FFT size.
enum ESubCarrierSpacing : int
{
    eSubCarrierSpacing_50kHz_4kFFT = 0,
    eSubCarrierSpacing_25kHz_8kFFT = 1,
    eSubCarrierSpacing_None = 2 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::ESubCarrierSpacing)

#include "ESubCarrierSpacing.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(ESubCarrierSpacing,
    {eSubCarrierSpacing_50kHz_4kFFT, 0, "50 kHz / 4k FFT"},
    {eSubCarrierSpacing_25kHz_8kFFT, 1, "25 kHz / 8K FFT"})
// clang-format on

#include "ESignalTransmission.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(ESignalTransmission,
    {eSignalTransmission_Digital, 0, "Digital"},
    {eSignalTransmission_Analog, 1, "Analog"})
// clang-format on

#include "EScanState.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EScanState,
    {eScanState_Success, 0, "Success"},
    {eScanState_SCPIError, 1, "SCPI Error Occured"},
    {eScanState_MeasurementError, 2, "Measurement Error Occured"})
// clang-format on

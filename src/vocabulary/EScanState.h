#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// How a scan ended.
enum EScanState : int
{
    eScanState_Success = 0,
    eScanState_SCPIError = 1,
    eScanState_MeasurementError = 2,
    eScanState_None = 3 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EScanState)

#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// What a measurement run does after a measurement error.
enum EMeasurementErrorStrategie : int
{
    eMeasurementErrorStrategie_StopAfterError = 0,
    eMeasurementErrorStrategie_RepeatMeasurement = 1,
    eMeasurementErrorStrategie_IgnoreError = 2,
    eMeasurementErrorStrategie_None = 3 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EMeasurementErrorStrategie)

#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The kind of measurement step.
enum EMeasurementType : int
{
    eMeasurementType_Preparation = 0,
    eMeasurementType_AnalogTv = 1,
    eMeasurementType_Digital = 2,
    eMeasurementType_Restoration = 3,
    eMeasurementType_None = 4 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EMeasurementType)

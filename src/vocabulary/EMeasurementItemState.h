#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// Whether a measurement cell holds a real value, and if not, why.
enum EMeasurementItemState : int
{
    eMeasurementItemState_OnlyInitialized = 0, ///< constructed, never set
    eMeasurementItemState_NotImplemented = 1,  ///< not delivered by the instrument or mode
    eMeasurementItemState_Error = 2,           ///< the measurement failed
    eMeasurementItemState_Valid = 3,           ///< a value was stored
    eMeasurementItemState_OutOfRange = 4,      ///< beyond what the instrument can report
    eMeasurementItemState_None = 5             ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EMeasurementItemState)

#include "EMeasurementItemState.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EMeasurementItemState,
    {eMeasurementItemState_OnlyInitialized, 0, "Only Initialized"},
    {eMeasurementItemState_NotImplemented, 1, "Not Implemented"},
    {eMeasurementItemState_Valid, 2, "Valid"},
    {eMeasurementItemState_Error, 3, "Error"},
    {eMeasurementItemState_OutOfRange, 4, "Out of range"})
// clang-format on

#include "EMeasurementErrorStrategie.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EMeasurementErrorStrategie,
    {eMeasurementErrorStrategie_IgnoreError, 0, "Ignore error, continue measurement"},
    {eMeasurementErrorStrategie_RepeatMeasurement, 1, "Repeat measurement after error"},
    {eMeasurementErrorStrategie_StopAfterError, 2, "Stop after error"})
// clang-format on

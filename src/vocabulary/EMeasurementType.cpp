#include "EMeasurementType.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EMeasurementType,
    {eMeasurementType_Preparation, 0, "Preparation Measurement"},
    {eMeasurementType_AnalogTv, 1, "Analog Tv Measurement"},
    {eMeasurementType_Digital, 2, "Digital Measurement"},
    {eMeasurementType_Restoration, 3, "Restoration Measurement"})
// clang-format on

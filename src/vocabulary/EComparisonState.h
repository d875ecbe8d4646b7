#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The outcome of comparing a measured value with its limit.
enum EComparisonState : int
{
    eComparisonState_Ok = 0,
    eComparisonState_NotOk = 1,
    eComparisonState_NotImplemented = 2,
    eComparisonState_NotMeasured = 3,
    eComparisonState_None = 4 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EComparisonState)

#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// How a measured value is compared with its limit.
enum ECompareType : int
{
    eCompareType_NotUsed = 0,
    eCompareType_Equal = 1,
    eCompareType_NotEqual = 2,
    eCompareType_Between = 3,
    eCompareType_Lower = 4,
    eCompareType_Higher = 5,
    eCompareType_None = 6 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::ECompareType)

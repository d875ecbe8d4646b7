#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The kind of test line inserted in an analogue picture.
enum ETestLineType : int
{
    eTestLineType_CCIR17 = 0,
    eTestLineType_NTC7Composite = 1,
    eTestLineType_FCCComposite = 2,
    eTestLineType_None = 3 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::ETestLineType)

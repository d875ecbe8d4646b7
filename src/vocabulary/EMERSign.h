#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The sign of a modulation error ratio figure.
enum EMERSign : int
{
    eMERSign_Positive = 0,
    eMERSign_Negative = 1,
    eMERSign_None = 2 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EMERSign)

#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// Whether a signal component is present.
enum EPresent : int
{
    ePresent_Present = 0,
    ePresent_Missing = 1,
    ePresent_None = 2 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EPresent)

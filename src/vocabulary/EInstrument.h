#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The kind of measuring receiver.
enum EInstrument : int
{
    eInstrument_Arv = 0,
    eInstrument_Bex = 1,
    eInstrument_None = 2 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EInstrument)

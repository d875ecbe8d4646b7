#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The 10 MHz frequency reference of the instrument.
enum EInstrumentReference : int
{
    eInstrumentReference_Internal10MHz = 0,
    eInstrumentReference_External10MHz = 1,
    eInstrumentReference_External10_24MHz = 2,
    eInstrumentReference_None = 3 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EInstrumentReference)

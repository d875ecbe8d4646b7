#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The line impedance of the measuring instrument; needed to take dBmV levels to dBm.
enum EInstrumentImpedance : int
{
    eInstrumentImpedance_50Ohm = 0,
    eInstrumentImpedance_75Ohm = 1,
    eInstrumentImpedance_None = 2 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EInstrumentImpedance)

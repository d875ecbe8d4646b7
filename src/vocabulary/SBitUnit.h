#pragma once

#include "MainDataAccess_export.h"

#include <QString>

namespace LumoraMeasurement
{

/// One step of the bit-rate scale used to write and read scaled texts: the unit name and how
/// many bits per second it stands for (0 for the base unit, which means no scaling).
struct MDA_EXPORT SBitUnit
{
    /// The unit as written, e.g. "MBit/s".
    QString m_sName;
    /// Bits per second of one unit; 0 for the base unit.
    double m_dFactor;
};

} // namespace LumoraMeasurement

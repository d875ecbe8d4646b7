#pragma once

#include "MainDataAccess_export.h"

#include <QString>

namespace LumoraMeasurement
{

/// One step of the symbol-rate scale used to write and read scaled texts: the unit name and how
/// many symbols per second it stands for (0 for the base unit, which means no scaling).
struct MDA_EXPORT SSymbolRateUnit
{
    /// The unit as written, e.g. "MSymbol/s".
    QString m_sName;
    /// Symbols per second of one unit; 0 for the base unit.
    double m_dFactor;
};

} // namespace LumoraMeasurement

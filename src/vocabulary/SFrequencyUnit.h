#pragma once

#include "MainDataAccess_export.h"

#include <QString>

namespace LumoraMeasurement
{

/// One step of the frequency scale used to write and read scaled texts: the unit name and how
/// many Hz it stands for (0 for the base unit, which means no scaling).
struct MDA_EXPORT SFrequencyUnit
{
    /// The unit as written, e.g. "MHz".
    QString m_sName;
    /// Hertz of one unit; 0 for the base unit.
    double m_dFactor;
};

} // namespace LumoraMeasurement

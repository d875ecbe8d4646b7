#pragma once

#include "MainDataAccess_export.h"

#include <QString>

namespace LumoraMeasurement
{

/// One row of an enumeration's representation table: the enumerator, the identifier that
/// files and the database store, and the text that screens show.
template <typename E> struct MDA_EXPORT stEnumRepresentation
{
    E m_eEnumValue;
    long m_lId;
    QString m_sText;
};

} // namespace LumoraMeasurement

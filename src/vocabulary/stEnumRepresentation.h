#pragma once

#include "MainDataAccess_export.h"

#include <QString>

namespace LumoraMeasurement
{

/// One row of an enumeration's representation table: the enumerator, the identifier that
/// files and the database store, and the text that screens show.
template <typename E> struct MDA_EXPORT stEnumRepresentation
{
    /// The enumerator.
    E m_eEnumValue;
    /// The id that files and the database store.
    long m_lId;
    /// The text that screens show.
    QString m_sText;
};

} // namespace LumoraMeasurement

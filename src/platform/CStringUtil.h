#pragma once

#include "MainDataAccess_export.h"

#include <QString>

namespace OrvelFramework
{

/// Yes/no texts for boolean values.
class MDA_EXPORT CStringUtil
{
public:
    /// "Yes" or "No".
    static QString ConvertBool(bool bValue);
    /// True for "yes", "true", "on" and "1" (trimmed, any letter case); false otherwise.
    static bool ConvertToBool(const QString& sValue);
};

} // namespace OrvelFramework

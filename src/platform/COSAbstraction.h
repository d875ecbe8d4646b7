#pragma once

#include <QString>

namespace OrvelFramework
{

/// Operating-system services: the per-user data folder, identifiers and time stamps.
class COSAbstraction
{
public:
    /// The generic data location + "/" + company + "/" + sub-path. Creates nothing.
    static QString GetUserDataPath(const QString& sCompany, const QString& sSubPath);
    /// A new UUID without braces.
    static QString GetUniqueIdentifier();
    /// Local time as "yyyy-MM-dd HH:mm:ss".
    static QString GetFormattedDateTime();
};

} // namespace OrvelFramework

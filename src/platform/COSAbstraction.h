#pragma once

#include "MainDataAccess_export.h"

#include <QByteArray>
#include <QString>

namespace OrvelFramework
{

/// Operating-system services: the per-user data folder, identifiers, time stamps and files
/// replaced whole.
class MDA_EXPORT COSAbstraction
{
public:
    /// The generic data location + "/" + company + "/" + sub-path. Creates nothing.
    static QString GetUserDataPath(const QString& sCompany, const QString& sSubPath);
    /// A new UUID without braces.
    static QString GetUniqueIdentifier();
    /// Local time as "yyyy-MM-dd HH:mm:ss".
    static QString GetFormattedDateTime();
    /// Writes the bytes beside sPath and renames them over it, so that a reader sees the old
    /// file or the new one, never a part. False, with sPath as it was and sError saying why,
    /// when there is no byte to write or the folder, the disk or the rename refuses.
    static bool ReplaceFile(const QString& sPath, const QByteArray& bytes, QString& sError);
};

} // namespace OrvelFramework

#pragma once

#include <QString>

namespace LumoraMeasurement
{

/// A hidden folder beside an import folder: the archive is unpacked and checked there and only
/// a complete import replaces the import folder, in one step where the file system allows.
/// The folder is removed with everything in it (what was unpacked, or what it replaced) when
/// the object goes. Its owner holds a lock on it meanwhile, so that the next import can tell
/// the leftovers of an attempt that was killed (no lock) from a running one and remove them.
class CImportStaging
{
public:
    /// Start of the staging folders' names; no import folder may be named so.
    static inline const QString c_sPrefix = QStringLiteral(".import-");

    CImportStaging() = default;
    ~CImportStaging();
    CImportStaging(const CImportStaging&) = delete;
    CImportStaging& operator=(const CImportStaging&) = delete;

    /// Removes stale staging folders from sParent (an existing folder) and creates a new one
    /// there, locked; true when it exists.
    bool DoCreate(const QString& sParent);
    /// The folder to unpack into (inside the staging folder); empty before DoCreate.
    QString GetUnpackFolder() const;
    /// Puts the unpack folder in place of sFolder, a sibling of the staging folder. The folder
    /// it replaces stays inside the staging folder until the object goes. On failure sFolder
    /// is as it was.
    bool DoReplace(const QString& sFolder);
    /// Why the last call failed, in words.
    QString LastError() const { return m_sLastError; }

private:
    bool Fail(const QString& sWhat, int iErrno);
    void DoRemoveStale(const QString& sParent);

    QString m_sFolder;
    QString m_sLastError;
    int m_iLock = -1;
};

} // namespace LumoraMeasurement

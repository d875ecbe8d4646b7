#pragma once

#include "MainDataAccess_export.h"

#include <QString>
#include <QStringList>

namespace LumoraMeasurement
{

/// Packs files into a flat zip archive and unpacks such an archive into a folder.
///
/// Entries carry plain file names and the time stamps of their source files. Extraction
/// never writes outside the output folder: an archive with an entry that would leave it
/// (absolute or drive-letter paths, backslashes, ".." parts) or with a symbolic-link entry is
/// refused as a whole before anything is written.
class MDA_EXPORT CArchivHandler
{
public:
    CArchivHandler() = default;
    virtual ~CArchivHandler() = default;

    /// Makes sure the folder exists, creating missing parents; true when it exists afterwards.
    bool CreateOutputFolder(const QString& sPath);

    /// Creates (or replaces) sArchive with one deflated entry per regular file of lFiles,
    /// in list order. Folders are skipped; a missing file or one that cannot be read or added
    /// makes the result false while the others are still added. At most 32767 paths are
    /// taken; a longer list leaves the rest out and gives false.
    bool CreateArchive(const QString& sArchive, const QStringList& lFiles);

    /// Normalises sOutputFolder (native separators, trailing separator), creates it and
    /// unpacks sArchive into it. With bRename, entry names are renamed after the archive.
    bool ExtractArchive(const QString& sArchive, QString& sOutputFolder, bool bRename);

    /// Unpacks sArchive into sOutputFolder, a folder path ending with a separator.
    bool ExtractZipArchive(const QString& sArchive, QString& sOutputFolder, bool bRename);

    /// Why the last extraction failed, in words ("entry '../x' would leave the folder").
    QString LastError() const;

private:
    bool Fail(const QString& sWhy);
    bool DoCreateArchive(const QString& sArchive, const QStringList& lFiles);
    bool DoExtractZipArchive(const QString& sArchive, const QString& sOutputFolder, bool bRename);

    QString m_sLastError;
};

} // namespace LumoraMeasurement

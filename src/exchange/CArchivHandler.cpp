#include "CArchivHandler.h"

#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>
#include <quazipnewinfo.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtGlobal>

#include <exception>
#include <limits>

namespace LumoraMeasurement
{

namespace
{

// List positions are counted in a signed 16-bit integer; a longer list stops here, never wraps.
constexpr int c_iMaxFilesInArchive = std::numeric_limits<qint16>::max();
constexpr qint64 c_iCopyChunkSize = 64 * 1024;
// A configuration archive holds a handful of documents; these bounds stop an archive that
// would fill the disk (many entries, or a small body that inflates to gigabytes).
constexpr int c_iMaxEntriesToExtract = 1000;
constexpr quint64 c_uMaxUnpackedBytes = 256ULL * 1024 * 1024;

// Refuses names that could reach outside the output folder on any platform: a backslash is a
// separator elsewhere, and "C:" starts a drive path there.
bool IsSafeEntryName(const QString& sName)
{
    if (sName.isEmpty() || sName.contains(QLatin1Char('\\')) || sName.contains(QChar(0)))
    {
        return false;
    }
    if (sName.startsWith(QLatin1Char('/')))
    {
        return false;
    }
    if (sName.size() >= 2 && sName.at(1) == QLatin1Char(':') && sName.at(0).isLetter())
    {
        return false;
    }
    const QString sClean = QDir::cleanPath(sName);
    return sClean != QLatin1String(".") && sClean != QLatin1String("..") &&
           !sClean.startsWith(QLatin1String("../"));
}

// The name with the suffix text removed everywhere: "Site1.measurement" gives "Site1.".
QString StemOf(const QString& sName)
{
    QString sStem = sName;
    const QString sSuffix = QFileInfo(sName).suffix();
    if (!sSuffix.isEmpty())
    {
        sStem.remove(sSuffix);
    }
    return sStem;
}

// "Default.measconfig" from "Site1.measurement" becomes "Site1.measconfig".
QString RenamedAfterArchive(const QString& sEntryName, const QString& sArchive)
{
    const QString sEntryStem = StemOf(sEntryName);
    if (sEntryStem.isEmpty())
    {
        return sEntryName;
    }
    QString sRenamed = sEntryName;
    return sRenamed.replace(sEntryStem, StemOf(QFileInfo(sArchive).fileName()));
}

QString EntryTargetName(const QString& sEntryName, const QString& sArchive, bool bRename)
{
    return bRename ? RenamedAfterArchive(sEntryName, sArchive) : sEntryName;
}

// The target's folder must exist and, with links resolved, lie inside the output folder: a
// link placed there earlier must not lead the write elsewhere.
bool IsInsideFolder(const QString& sTarget, const QString& sCanonicalFolder)
{
    const QString sParent = QFileInfo(QFileInfo(sTarget).absolutePath()).canonicalFilePath();
    if (sParent.isEmpty())
    {
        return false;
    }
    return sParent == sCanonicalFolder || sParent.startsWith(sCanonicalFolder + QLatin1Char('/'));
}

// Closing an entry checks it: a read entry's checksum, a written entry's last buffer.
bool Closed(QuaZipFile& entry)
{
    entry.close();
    return entry.getZipError() == UNZ_OK;
}

// Streams the entry into the target in chunks, counting against the archive's remaining budget.
// The file appears under its name only when the whole entry was read with a correct checksum;
// a damaged entry leaves nothing (and an existing file of that name untouched).
bool WriteEntryFile(const QString& sTarget, QuaZipFile& entry, quint64& uBudget)
{
    // An existing link of that name is replaced, never written through.
    if (QFileInfo(sTarget).isSymLink() && !QFile::remove(sTarget))
    {
        return false;
    }
    // Unbuffered: each chunk reaches the disk or fails here; a commit would rename a file whose
    // last buffer could not be written.
    QSaveFile target(sTarget);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    {
        return false;
    }
    QByteArray baChunk(static_cast<int>(c_iCopyChunkSize), Qt::Uninitialized);
    for (;;)
    {
        const qint64 iRead = entry.read(baChunk.data(), c_iCopyChunkSize);
        if (iRead < 0)
        {
            return false;
        }
        if (iRead == 0)
        {
            break;
        }
        if (static_cast<quint64>(iRead) > uBudget ||
            target.write(baChunk.constData(), iRead) != iRead)
        {
            return false;
        }
        uBudget -= static_cast<quint64>(iRead);
    }
    return Closed(entry) && target.commit();
}

quint16 ReadLittleEndian16(const QByteArray& baData, int iPos)
{
    return quint16(quint8(baData.at(iPos)) | (quint8(baData.at(iPos + 1)) << 8));
}

// The zip layer refuses to open an archive without entries. Such an archive is only the end
// record: signature, zero disk numbers, entry counts, directory size and offset, then its
// comment.
bool IsEmptyZipArchive(const QString& sArchive)
{
    constexpr int c_iEndRecordSize = 22;
    QFile file(sArchive);
    if (!file.open(QIODevice::ReadOnly) || file.size() < c_iEndRecordSize ||
        file.size() > c_iEndRecordSize + 0xFFFF)
    {
        return false;
    }
    const QByteArray baData = file.readAll();
    return baData.startsWith("PK\x05\x06") && baData.mid(4, 16) == QByteArray(16, '\0') &&
           c_iEndRecordSize + ReadLittleEndian16(baData, 20) == baData.size();
}

// The zip layer and Qt may throw (out of memory); a caller of the archive functions gets false.
template <typename TWork> bool Guarded(const TWork& work) noexcept
{
    try
    {
        return work();
    }
    catch (const std::exception& e)
    {
        qWarning("Error %s", e.what());
    }
    catch (...)
    {
    }
    return false;
}

// Reads to the end rather than to the size the file system states: some files state none.
bool CopyInto(QFile& source, QuaZipFile& entry)
{
    QByteArray baChunk(static_cast<int>(c_iCopyChunkSize), Qt::Uninitialized);
    for (;;)
    {
        const qint64 iRead = source.read(baChunk.data(), c_iCopyChunkSize);
        if (iRead <= 0 || entry.write(baChunk.constData(), iRead) != iRead)
        {
            return iRead == 0;
        }
    }
}

} // namespace

bool CArchivHandler::CreateOutputFolder(const QString& sPath)
{
    QDir dir(sPath);
    if (!dir.exists())
    {
        dir.mkpath(QStringLiteral("."));
    }
    return dir.exists();
}

bool CArchivHandler::CreateArchive(const QString& sArchive, const QStringList& lFiles)
{
    return Guarded([&] { return DoCreateArchive(sArchive, lFiles); });
}

bool CArchivHandler::DoCreateArchive(const QString& sArchive, const QStringList& lFiles)
{
    const QString sNativeArchive = QDir::toNativeSeparators(sArchive);
    if (!CreateOutputFolder(QFileInfo(sNativeArchive).absolutePath()))
    {
        return false;
    }

    QuaZip zip(sNativeArchive);
    zip.setUtf8Enabled(true);
    if (!zip.open(QuaZip::mdCreate))
    {
        return false;
    }

    bool bResult = lFiles.size() <= c_iMaxFilesInArchive;
    const int iCount = qMin(lFiles.size(), c_iMaxFilesInArchive);
    for (int i = 0; i < iCount; ++i)
    {
        const QFileInfo info(lFiles.at(i));
        if (!info.exists())
        {
            bResult = false;
            continue;
        }
        if (!info.isFile())
        {
            continue;
        }
        // The entry gets the plain name; the full path serves reading and the time stamp, so
        // the process's current directory is left alone.
        const QString sPath = info.absoluteFilePath();
        QFile source(sPath);
        if (!source.open(QIODevice::ReadOnly))
        {
            bResult = false;
            continue;
        }
        QuaZipFile entry(&zip);
        if (!entry.open(QIODevice::WriteOnly, QuaZipNewInfo(info.fileName(), sPath), nullptr, 0,
                        Z_DEFLATED, Z_DEFAULT_COMPRESSION, false, -MAX_WBITS, DEF_MEM_LEVEL,
                        Z_DEFAULT_STRATEGY))
        {
            bResult = false;
            source.close();
            continue;
        }
        const bool bCopied = CopyInto(source, entry);
        if (!Closed(entry) || !bCopied)
        {
            bResult = false;
        }
        source.close();
    }

    zip.close();
    return bResult && zip.getZipError() == ZIP_OK;
}

bool CArchivHandler::ExtractArchive(const QString& sArchive, QString& sOutputFolder, bool bRename)
{
    sOutputFolder = QDir::toNativeSeparators(sOutputFolder);
    if (!sOutputFolder.endsWith(QDir::separator()))
    {
        sOutputFolder.append(QDir::separator());
    }
    if (!CreateOutputFolder(sOutputFolder))
    {
        return false;
    }
    return ExtractZipArchive(sArchive, sOutputFolder, bRename);
}

bool CArchivHandler::ExtractZipArchive(const QString& sArchive, QString& sOutputFolder,
                                       bool bRename)
{
    // Without the separator the names would be glued to the folder's own name.
    QString sFolder = sOutputFolder;
    if (!sFolder.endsWith(QDir::separator()))
    {
        sFolder.append(QDir::separator());
    }
    return Guarded([&] { return DoExtractZipArchive(sArchive, sFolder, bRename); });
}

bool CArchivHandler::DoExtractZipArchive(const QString& sArchive, const QString& sOutputFolder,
                                         bool bRename)
{
    QuaZip zip(sArchive);
    if (!zip.open(QuaZip::mdUnzip))
    {
        return IsEmptyZipArchive(sArchive);
    }
    if (!zip.goToFirstFile())
    {
        const int iError = zip.getZipError();
        const bool bEmpty = iError == UNZ_OK || iError == UNZ_END_OF_LIST_OF_FILE;
        zip.close();
        return bEmpty;
    }

    // Every entry is checked before the first one is written, so a refused archive leaves
    // nothing behind.
    bool bMore = true;
    int iEntries = 0;
    quint64 uDeclared = 0;
    while (bMore)
    {
        QuaZipFileInfo64 info;
        if (++iEntries > c_iMaxEntriesToExtract || !zip.getCurrentFileInfo(&info) ||
            info.isSymbolicLink() ||
            !IsSafeEntryName(EntryTargetName(info.name, sArchive, bRename)))
        {
            zip.close();
            return false;
        }
        uDeclared += qMin(info.uncompressedSize, c_uMaxUnpackedBytes + 1);
        if (uDeclared > c_uMaxUnpackedBytes)
        {
            zip.close();
            return false;
        }
        bMore = zip.goToNextFile();
    }
    if (zip.getZipError() != UNZ_OK)
    {
        zip.close();
        return false;
    }

    // The declared sizes may lie; the budget also bounds what is really written.
    quint64 uBudget = c_uMaxUnpackedBytes;
    const QString sCanonicalFolder = QFileInfo(sOutputFolder).canonicalFilePath();
    bool bResult = !sCanonicalFolder.isEmpty() && zip.goToFirstFile();
    for (bMore = bResult; bMore; bMore = zip.goToNextFile())
    {
        QuaZipFile entry(&zip);
        if (!entry.open(QIODevice::ReadOnly))
        {
            bResult = false;
            break;
        }
        const QString sName = EntryTargetName(zip.getCurrentFileName(), sArchive, bRename);
        const QString sTarget = sOutputFolder + sName;
        if (!IsInsideFolder(sTarget, sCanonicalFolder) || !WriteEntryFile(sTarget, entry, uBudget))
        {
            bResult = false;
            break;
        }
    }
    const bool bComplete = bResult && zip.getZipError() == UNZ_OK;
    zip.close();
    return bComplete;
}

} // namespace LumoraMeasurement

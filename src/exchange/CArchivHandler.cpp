#include "CArchivHandler.h"

#include "CLoggingCategories.h"

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

QString CannotWrite(const QString& sTarget)
{
    return QStringLiteral("cannot write '%1'").arg(QDir::cleanPath(sTarget));
}

QString Damaged(const QString& sName)
{
    return QStringLiteral("entry '%1' is damaged").arg(sName);
}

QString BeyondBound()
{
    return QStringLiteral("it unpacks to more than %1 MiB").arg(c_uMaxUnpackedBytes >> 20);
}

// Streams the entry into the target in chunks, counting against the archive's remaining budget.
// The file appears under its name only when the whole entry was read with a correct checksum;
// a damaged entry leaves nothing (and an existing file of that name untouched).
bool WriteEntryFile(const QString& sTarget, const QString& sName, QuaZipFile& entry,
                    quint64& uBudget, QString& sWhy)
{
    // An existing link of that name is replaced, never written through.
    if (QFileInfo(sTarget).isSymLink() && !QFile::remove(sTarget))
    {
        sWhy = CannotWrite(sTarget);
        return false;
    }
    // Unbuffered: each chunk reaches the disk or fails here; a commit would rename a file whose
    // last buffer could not be written.
    QSaveFile target(sTarget);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    {
        sWhy = CannotWrite(sTarget);
        return false;
    }
    QByteArray baChunk(static_cast<int>(c_iCopyChunkSize), Qt::Uninitialized);
    for (;;)
    {
        const qint64 iRead = entry.read(baChunk.data(), c_iCopyChunkSize);
        if (iRead < 0)
        {
            sWhy = Damaged(sName);
            return false;
        }
        if (iRead == 0)
        {
            break;
        }
        if (static_cast<quint64>(iRead) > uBudget)
        {
            sWhy = BeyondBound();
            return false;
        }
        if (target.write(baChunk.constData(), iRead) != iRead)
        {
            sWhy = CannotWrite(sTarget);
            return false;
        }
        uBudget -= static_cast<quint64>(iRead);
    }
    if (!Closed(entry))
    {
        sWhy = Damaged(sName);
        return false;
    }
    if (!target.commit())
    {
        sWhy = CannotWrite(sTarget);
        return false;
    }
    return true;
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
        qCWarning(OrvelFramework::CLoggingCategories::Exchange(), "Error %s", e.what());
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

    // The archive appears whole or not at all. Its list of entries is written last, by the
    // close; the explicit flush reports a failed last write, which commit() alone would not.
    QSaveFile file(sNativeArchive);
    QuaZip zip(&file);
    zip.setAutoClose(false);
    zip.setUtf8Enabled(true);
    if (!file.open(QIODevice::WriteOnly) || !zip.open(QuaZip::mdCreate))
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
        QuaZipFile entry(&zip);
        if (!source.open(QIODevice::ReadOnly) ||
            !entry.open(QIODevice::WriteOnly, QuaZipNewInfo(info.fileName(), sPath), nullptr, 0,
                        Z_DEFLATED, Z_DEFAULT_COMPRESSION, false, -MAX_WBITS, DEF_MEM_LEVEL,
                        Z_DEFAULT_STRATEGY))
        {
            bResult = false;
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
    return zip.getZipError() == ZIP_OK && file.flush() && file.commit() && bResult;
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
        m_sLastError =
            QStringLiteral("cannot create the folder '%1'").arg(QDir::cleanPath(sOutputFolder));
        return false;
    }
    return ExtractZipArchive(sArchive, sOutputFolder, bRename);
}

bool CArchivHandler::ExtractZipArchive(const QString& sArchive, QString& sOutputFolder,
                                       bool bRename)
{
    m_sLastError.clear();
    // Without the separator the names would be glued to the folder's own name.
    QString sFolder = sOutputFolder;
    if (!sFolder.endsWith(QDir::separator()))
    {
        sFolder.append(QDir::separator());
    }
    const bool bExtracted =
        Guarded([&] { return DoExtractZipArchive(sArchive, sFolder, bRename); });
    if (!bExtracted && m_sLastError.isEmpty())
    {
        m_sLastError = QStringLiteral("the zip layer failed");
    }
    return bExtracted;
}

QString CArchivHandler::LastError() const
{
    return m_sLastError;
}

bool CArchivHandler::Fail(const QString& sWhy)
{
    m_sLastError = sWhy;
    return false;
}

bool CArchivHandler::DoExtractZipArchive(const QString& sArchive, const QString& sOutputFolder,
                                         bool bRename)
{
    // Read only: the archive closes itself on every way out.
    QuaZip zip(sArchive);
    if (!zip.open(QuaZip::mdUnzip))
    {
        return IsEmptyZipArchive(sArchive) ||
               Fail(QFileInfo::exists(sArchive) ? QStringLiteral("it is no zip archive")
                                                : QStringLiteral("it does not exist"));
    }
    if (!zip.goToFirstFile())
    {
        const int iError = zip.getZipError();
        const bool bEmpty = iError == UNZ_OK || iError == UNZ_END_OF_LIST_OF_FILE;
        return bEmpty || Fail(QStringLiteral("its list of entries is damaged"));
    }

    // Every entry is checked before the first one is written, so a refused archive leaves
    // nothing behind.
    bool bMore = true;
    int iEntries = 0;
    quint64 uDeclared = 0;
    while (bMore)
    {
        QuaZipFileInfo64 info;
        QString sWhy;
        if (++iEntries > c_iMaxEntriesToExtract)
        {
            sWhy = QStringLiteral("it has more than %1 entries").arg(c_iMaxEntriesToExtract);
        }
        else if (!zip.getCurrentFileInfo(&info))
        {
            sWhy = QStringLiteral("its list of entries is damaged");
        }
        else if (info.isSymbolicLink())
        {
            sWhy = QStringLiteral("entry '%1' is a symbolic link").arg(info.name);
        }
        else if (!IsSafeEntryName(EntryTargetName(info.name, sArchive, bRename)))
        {
            sWhy = QStringLiteral("entry '%1' would leave the folder").arg(info.name);
        }
        else
        {
            uDeclared += qMin(info.uncompressedSize, c_uMaxUnpackedBytes + 1);
            sWhy = uDeclared > c_uMaxUnpackedBytes ? BeyondBound() : QString();
        }
        if (!sWhy.isEmpty())
        {
            return Fail(sWhy);
        }
        bMore = zip.goToNextFile();
    }
    if (zip.getZipError() != UNZ_OK)
    {
        return Fail(QStringLiteral("its list of entries is damaged"));
    }

    // The declared sizes may lie; the budget also bounds what is really written.
    quint64 uBudget = c_uMaxUnpackedBytes;
    const QString sCanonicalFolder = QFileInfo(sOutputFolder).canonicalFilePath();
    if (sCanonicalFolder.isEmpty() || !zip.goToFirstFile())
    {
        return Fail(QStringLiteral("cannot unpack into '%1'").arg(QDir::cleanPath(sOutputFolder)));
    }
    QString sWhy;
    for (bMore = true; bMore; bMore = zip.goToNextFile())
    {
        const QString sEntryName = zip.getCurrentFileName();
        QuaZipFile entry(&zip);
        if (!entry.open(QIODevice::ReadOnly))
        {
            sWhy = Damaged(sEntryName);
            break;
        }
        const QString sTarget = sOutputFolder + EntryTargetName(sEntryName, sArchive, bRename);
        if (!IsInsideFolder(sTarget, sCanonicalFolder))
        {
            sWhy = QStringLiteral("entry '%1' names no folder inside the output folder")
                       .arg(sEntryName);
            break;
        }
        if (!WriteEntryFile(sTarget, sEntryName, entry, uBudget, sWhy))
        {
            break;
        }
    }
    if (sWhy.isEmpty() && zip.getZipError() != UNZ_OK)
    {
        sWhy = QStringLiteral("its list of entries is damaged");
    }
    return sWhy.isEmpty() || Fail(sWhy);
}

} // namespace LumoraMeasurement

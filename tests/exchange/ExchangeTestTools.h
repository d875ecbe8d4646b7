#pragma once

// Helpers shared by the exchange tests: files with chosen time stamps, folder listings, case
// tables and other zip tools (python3's zipfile through ziptool.py, Info-ZIP) run by QProcess.

#include "TestDataTable.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace ExchangeTestTools
{

inline bool WriteFile(const QString& sPath, const QByteArray& baData,
                      const QDateTime& modified = QDateTime())
{
    QDir().mkpath(QFileInfo(sPath).absolutePath());
    QFile file(sPath);
    // Flushed before the time stamp is set: a later flush would move it again.
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(baData) == baData.size() && file.flush() &&
           (!modified.isValid() || file.setFileTime(modified, QFileDevice::FileModificationTime));
}

using MdaTest::ReadBytes;

/// Every entry below sFolder (files, folders, links), relative and sorted; with bDeep false only
/// those directly in it.
inline QStringList ListTree(const QString& sFolder, bool bDeep = true)
{
    QStringList lEntries;
    QDirIterator it(sFolder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    bDeep ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    while (it.hasNext())
    {
        lEntries << QDir(sFolder).relativeFilePath(it.next());
    }
    lEntries.sort();
    return lEntries;
}

/// Every entry below sFolder as ListTree gives it, each file followed by "=" and the SHA-1 of
/// its bytes and each link by " -> " and its target: equal listings mean an untouched tree.
inline QStringList TreeWithContents(const QString& sFolder)
{
    QStringList lEntries = ListTree(sFolder);
    for (QString& sEntry : lEntries)
    {
        const QFileInfo entry(QDir(sFolder).filePath(sEntry));
        if (entry.isSymLink())
        {
            sEntry += " -> " + entry.symLinkTarget();
        }
        else if (entry.isFile())
        {
            sEntry += "=" + QCryptographicHash::hash(ReadBytes(entry.filePath()),
                                                     QCryptographicHash::Sha1)
                                .toHex();
        }
    }
    return lEntries;
}

inline bool HasTool(const QString& sName)
{
    return !QStandardPaths::findExecutable(sName).isEmpty();
}

/// Runs a program; true when it exits normally with code 0. Its standard output is returned.
inline bool RunTool(const QString& sProgram, const QStringList& lArgs,
                    QByteArray* pOutput = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(sProgram, lArgs);
    const bool bOk = process.waitForFinished(60000) &&
                     process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (pOutput != nullptr)
    {
        *pOutput = process.readAllStandardOutput();
    }
    return bOk;
}

inline bool RunZipTool(const QStringList& lArgs, QByteArray* pOutput = nullptr)
{
    return RunTool("python3", QStringList(MDA_TEST_DATA_DIR "/exchange/ziptool.py") + lArgs,
                   pOutput);
}

/// Writes a zip with python3's zipfile from a JSON entry list (see ziptool.py); sMode "badcrc",
/// "half" or "tail" spoils it. The list goes through a file: a long one exceeds the argument
/// limit.
inline bool MakeZip(const QString& sArchive, const QByteArray& baEntries,
                    const QString& sMode = "ok")
{
    const QString sList = sArchive + ".entries.json";
    const bool bMade = WriteFile(sList, baEntries) && RunZipTool({"make", sArchive, sList, sMode});
    QFile::remove(sList);
    return bMade;
}

/// python3's view of an archive: "list" gives JSON text, "names" the entry names a line (see
/// ziptool.py); nothing when python cannot read it or a checksum fails.
inline QString ReadZip(const QString& sCommand, const QString& sArchive)
{
    QByteArray baOut;
    return RunZipTool({sCommand, sArchive}, &baOut) ? QString::fromUtf8(baOut).trimmed() : "";
}

} // namespace ExchangeTestTools

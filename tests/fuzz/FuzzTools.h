#pragma once

// Shared by the fuzz targets: a private working folder, file helpers, a check that fails the
// run (libFuzzer keeps the input, the corpus replay fails its test) and a tree snapshot for
// "nothing written outside the folder" checks.

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define MDA_FUZZ_CHECK(cond, what)                                                                 \
    do                                                                                             \
    {                                                                                              \
        if (!(cond))                                                                               \
        {                                                                                          \
            std::fprintf(stderr, "%s:%d: check failed: %s (%s)\n", __FILE__, __LINE__, #cond,      \
                         std::string(what).c_str());                                               \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace MdaFuzz
{

/// Sets up Qt once per process: test-mode user data below a fresh HOME, so nothing a target
/// does reaches the real user folders. The folder and the application live until the end.
inline const QString& Home()
{
    // Held by a static so that the leak checker sees it reachable until the end.
    static const QTemporaryDir* const s_pHome = new QTemporaryDir();
    static const QString s_sHome = []
    {
        MDA_FUZZ_CHECK(s_pHome->isValid(), "no temporary HOME");
        const QString sHome = QDir(s_pHome->path()).canonicalPath();
        qputenv("HOME", sHome.toUtf8());
        qputenv("XDG_DATA_HOME", QByteArray());
        QStandardPaths::setTestModeEnabled(true);
        static int s_iArgc = 1;
        static char s_sName[] = "mda-fuzz";
        static char* s_pArgv[] = {s_sName, nullptr};
        new QCoreApplication(s_iArgc, s_pArgv);
        return sHome;
    }();
    return s_sHome;
}

/// A folder below Home() that the caller may empty and fill.
inline QString WorkFolder(const QString& sName)
{
    const QString sPath = Home() + QStringLiteral("/") + sName;
    QDir(sPath).removeRecursively();
    QDir().mkpath(sPath);
    return sPath;
}

/// Writes data to sPath, making its folder first.
inline bool WriteBytes(const QString& sPath, const QByteArray& data)
{
    QFile file(sPath);
    return QDir().mkpath(QFileInfo(sPath).path()) &&
           file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}
inline bool WriteBytes(const QString& sPath, const uint8_t* pData, size_t uiSize)
{
    return WriteBytes(sPath, QByteArray(reinterpret_cast<const char*>(pData), int(uiSize)));
}

inline QByteArray ReadBytes(const QString& sPath)
{
    QFile file(sPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

/// Every entry below sFolder with the MD5 of its content ("link" for links, empty for folders),
/// except those below sSkip (relative path prefix), so a caller can compare before and after.
inline QMap<QString, QByteArray> Snapshot(const QString& sFolder, const QString& sSkip = QString())
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(sFolder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    const QDir root(sFolder);
    while (it.hasNext())
    {
        const QFileInfo info(it.next());
        const QString sRelative = root.relativeFilePath(info.filePath());
        if (sSkip.isEmpty() || (sRelative != sSkip && !sRelative.startsWith(sSkip + "/")))
        {
            tree.insert(sRelative, info.isSymLink() ? QByteArray("link")
                                   : info.isFile()
                                       ? QCryptographicHash::hash(ReadBytes(info.filePath()),
                                                                  QCryptographicHash::Md5)
                                       : QByteArray());
        }
    }
    return tree;
}

/// Fails the run when the tree below sFolder (outside sSkip) is no longer as it was before,
/// naming what changed ("-": removed).
inline void CheckUnchanged(const QMap<QString, QByteArray>& before, const QString& sFolder,
                           const QString& sSkip, const std::string& sWhat)
{
    const auto after = Snapshot(sFolder, sSkip);
    QStringList lChanged;
    for (const QString& sKey : before.keys() + after.keys())
    {
        if (before.value(sKey, "-") != after.value(sKey, "-") && !lChanged.contains(sKey))
        {
            lChanged << (after.contains(sKey) ? sKey : QStringLiteral("-") + sKey);
        }
    }
    MDA_FUZZ_CHECK(lChanged.isEmpty(),
                   sWhat + ": " + lChanged.join(QStringLiteral(", ")).toStdString());
}

} // namespace MdaFuzz

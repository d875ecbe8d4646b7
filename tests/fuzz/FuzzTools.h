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
/// does reaches the real user folders.
inline const QString& Home()
{
    static QTemporaryDir* s_pHome = nullptr;
    static QString s_sHome;
    if (!s_pHome)
    {
        s_pHome = new QTemporaryDir();
        if (!s_pHome->isValid())
        {
            std::abort();
        }
        s_sHome = QDir(s_pHome->path()).canonicalPath();
        qputenv("HOME", s_sHome.toUtf8());
        qputenv("XDG_DATA_HOME", QByteArray());
        QStandardPaths::setTestModeEnabled(true);
        static int s_iArgc = 1;
        static char s_sName[] = "mda-fuzz";
        static char* s_pArgv[] = {s_sName, nullptr};
        new QCoreApplication(s_iArgc, s_pArgv);
    }
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

inline bool WriteBytes(const QString& sPath, const QByteArray& data)
{
    QFile file(sPath);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
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

/// Every entry below sFolder with the MD5 of its content (empty for folders and links),
/// except those below sSkip (relative path prefix), so a caller can compare before and after.
inline QMap<QString, QByteArray> Snapshot(const QString& sFolder, const QString& sSkip = QString())
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(sFolder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    const QDir root(sFolder);
    while (it.hasNext())
    {
        const QString sPath = it.next();
        const QString sRelative = root.relativeFilePath(sPath);
        if (!sSkip.isEmpty() && (sRelative == sSkip || sRelative.startsWith(sSkip + "/")))
        {
            continue;
        }
        const QFileInfo info(sPath);
        QByteArray hash;
        if (info.isFile() && !info.isSymLink())
        {
            hash = QCryptographicHash::hash(ReadBytes(sPath), QCryptographicHash::Md5);
        }
        tree.insert(sRelative, hash);
    }
    return tree;
}

/// The differences of two snapshots as text, for the failure message ("-": removed).
inline std::string Difference(const QMap<QString, QByteArray>& before,
                              const QMap<QString, QByteArray>& after)
{
    QStringList lChanged;
    for (const QString& sKey : before.keys() + after.keys())
    {
        if (before.value(sKey, "-") != after.value(sKey, "-") && !lChanged.contains(sKey))
        {
            lChanged << (after.contains(sKey) ? sKey : QStringLiteral("-") + sKey);
        }
    }
    return lChanged.join(QStringLiteral(", ")).toStdString();
}

} // namespace MdaFuzz

#pragma once

// Helpers shared by the exchange tests: files with chosen time stamps, folder listings and
// other zip tools (python3's zipfile, Info-ZIP) run through QProcess.

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <iostream>
#include <ostream>

// Readable failure messages for the Qt types the tests compare.
inline void PrintTo(const QString& sText, std::ostream* pOut)
{
    *pOut << '"' << sText.toStdString() << '"';
}
inline void PrintTo(const QStringList& lTexts, std::ostream* pOut)
{
    *pOut << '[' << lTexts.join(QStringLiteral(", ")).toStdString() << ']';
}
inline void PrintTo(const QJsonArray& array, std::ostream* pOut)
{
    *pOut << QJsonDocument(array).toJson(QJsonDocument::Compact).toStdString();
}

namespace ExchangeTestTools
{

inline bool WriteFile(const QString& sPath, const QByteArray& baData,
                      const QDateTime& modified = QDateTime())
{
    QDir().mkpath(QFileInfo(sPath).absolutePath());
    QFile file(sPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(baData) != baData.size())
    {
        return false;
    }
    // Flushed first: a later flush would move the time stamp again.
    if (modified.isValid() &&
        (!file.flush() || !file.setFileTime(modified, QFileDevice::FileModificationTime)))
    {
        return false;
    }
    file.close();
    return true;
}

inline QByteArray ReadFile(const QString& sPath)
{
    QFile file(sPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

/// Every entry below sFolder (files, folders, links), relative and sorted.
inline QStringList ListTree(const QString& sFolder)
{
    QStringList lEntries;
    QDirIterator it(sFolder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
    {
        lEntries << QDir(sFolder).relativeFilePath(it.next());
    }
    lEntries.sort();
    return lEntries;
}

inline bool HasTool(const QString& sName)
{
    return !QStandardPaths::findExecutable(sName).isEmpty();
}

/// Runs a program; true when it exits normally with code 0. Its standard output is returned.
inline bool RunTool(const QString& sProgram, const QStringList& lArgs,
                    QByteArray* pOutput = nullptr, const QString& sWorkDir = QString())
{
    QProcess process;
    if (!sWorkDir.isEmpty())
    {
        process.setWorkingDirectory(sWorkDir);
    }
    process.start(sProgram, lArgs);
    if (!process.waitForFinished(60000))
    {
        process.kill();
        process.waitForFinished();
        return false;
    }
    if (pOutput != nullptr)
    {
        *pOutput = process.readAllStandardOutput();
    }
    const bool bOk = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!bOk)
    {
        std::cerr << sProgram.toStdString()
                  << " failed: " << process.readAllStandardError().toStdString() << '\n';
    }
    return bOk;
}

/// Runs a python3 snippet with the given arguments (sys.argv[1:]).
inline bool RunPython(const char* pScript, const QStringList& lArgs, QByteArray* pOutput = nullptr)
{
    return RunTool(QStringLiteral("python3"),
                   QStringList{QStringLiteral("-c"), QString::fromUtf8(pScript)} + lArgs, pOutput);
}

/// Writes a zip with python3's zipfile. Each entry is {"name", "data", "method": "stored" or
/// "deflated", "symlink": bool}; with bBadCrc every entry's checksum is spoilt.
inline bool MakeZipWithPython(const QString& sArchive, const QJsonArray& entries,
                              bool bBadCrc = false)
{
    static const char* const c_pScript = R"PY(
import json, struct, sys, zipfile, zlib
path, entries, bad = sys.argv[1], json.load(open(sys.argv[2], encoding="utf-8")), sys.argv[3] == "1"
crcs = []
with zipfile.ZipFile(path, "w") as z:
    for e in entries:
        info = zipfile.ZipInfo(e["name"], (2020, 1, 2, 3, 4, 6))
        info.compress_type = zipfile.ZIP_DEFLATED if e.get("method") == "deflated" else zipfile.ZIP_STORED
        if e.get("symlink"):
            info.create_system = 3
            info.external_attr = 0o120777 << 16
        data = e.get("data", "").encode()
        crcs.append(zlib.crc32(data))
        z.writestr(info, data)
if bad:
    raw = open(path, "rb").read()
    for c in crcs:
        raw = raw.replace(struct.pack("<I", c), struct.pack("<I", c ^ 0x5A5A5A5A))
    open(path, "wb").write(raw)
)PY";
    // The entry list goes through a file: a long list would exceed the argument limit.
    const QString sList = sArchive + QStringLiteral(".entries.json");
    if (!WriteFile(sList, QJsonDocument(entries).toJson()))
    {
        return false;
    }
    const bool bMade = RunPython(
        c_pScript, {sArchive, sList, bBadCrc ? QStringLiteral("1") : QStringLiteral("0")});
    QFile::remove(sList);
    return bMade;
}

/// python3's view of an archive: [[name, [y, m, d, h, min, s], method, size], ...] or an
/// empty array when python cannot read it or a checksum fails.
inline QJsonArray ListZipWithPython(const QString& sArchive)
{
    static const char* const c_pScript = R"PY(
import json, sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    if z.testzip() is not None:
        sys.exit(2)
    print(json.dumps([[i.filename, list(i.date_time), i.compress_type, i.file_size]
                      for i in z.infolist()]))
)PY";
    QByteArray baOut;
    if (!RunPython(c_pScript, {sArchive}, &baOut))
    {
        return QJsonArray();
    }
    return QJsonDocument::fromJson(baOut).array();
}

} // namespace ExchangeTestTools

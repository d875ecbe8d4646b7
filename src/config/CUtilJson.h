#pragma once

#include "MainDataAccess_export.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

namespace LumoraMeasurement
{

/// Reads and writes the JSON files that hold every configuration document: one top-level
/// object per file. Failures are reported by the result and a line in the platform log.
class MDA_EXPORT CUtilJson
{
public:
    /// True when the file was read and holds a JSON object, which is then assigned to
    /// jObject; jObject is untouched otherwise.
    static bool LoadJsonFile(const QString& sFile, QJsonObject& jObject);
    /// As LoadJsonFile(), for a document already in memory; sName names it in the log.
    static bool LoadJsonData(const QByteArray& bytes, const QString& sName, QJsonObject& jObject);
    /// Replaces the file with the indented document in one step (a reader sees the old file or
    /// the new one); true when it was written. On failure the old file stays as it was.
    static bool SaveJsonFile(const QString& sFile, const QJsonObject& jObject);
    /// Reads the file as LoadJsonFile() does, but logs nothing: on failure sReason tells why
    /// in words (the parser's message with line and column for a file that is not JSON) and
    /// iLine, iColumn give the position (0 when none applies). bytes receives the content.
    static bool ParseJsonFile(const QString& sFile, QByteArray& bytes, QJsonObject& jObject,
                              QString& sReason, int& iLine, int& iColumn);
    /// The 1-based line and column (in characters) of a byte offset into a UTF-8 document.
    static void LineAndColumn(const QByteArray& bytes, int iOffset, int& iLine, int& iColumn);
};

} // namespace LumoraMeasurement

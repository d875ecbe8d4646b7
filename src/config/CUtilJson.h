#pragma once

#include <QJsonObject>
#include <QString>

namespace LumoraMeasurement
{

/// Reads and writes the JSON files that hold every configuration document: one top-level
/// object per file. Failures are reported by the result and a line in the platform log.
class CUtilJson
{
public:
    /// True when the file was read and holds a JSON object, which is then assigned to
    /// jObject; jObject is untouched otherwise.
    static bool LoadJsonFile(const QString& sFile, QJsonObject& jObject);
    /// Replaces the file with the indented document in one step (a reader sees the old file or
    /// the new one); true when it was written. On failure the old file stays as it was.
    static bool SaveJsonFile(const QString& sFile, const QJsonObject& jObject);
};

} // namespace LumoraMeasurement

#pragma once

#include "MainDataAccess_export.h"

#include <QString>

namespace LumoraMeasurement
{

/// One file kept in the export-file table under a caller-chosen unique id. The file text is
/// the file's content in Base64; it stays empty when only the list of stored files was read.
class MDA_EXPORT CDBExportFiles
{
public:
    explicit CDBExportFiles(const QString& sUniqueId);
    CDBExportFiles(const QString& sUniqueId, const QString& sExportFile,
                   const QString& sDescription);
    CDBExportFiles(const CDBExportFiles&) = default;
    CDBExportFiles(CDBExportFiles&&) noexcept = default;
    CDBExportFiles& operator=(const CDBExportFiles&) = default;
    CDBExportFiles& operator=(CDBExportFiles&&) noexcept = default;
    virtual ~CDBExportFiles() = default;

    const QString& GetUniqueId() const { return m_sUniqueId; }
    void SetUniqueId(const QString& sUniqueId) { m_sUniqueId = sUniqueId; }
    const QString& GetExportFile() const { return m_sExportFile; }
    void SetExportFile(const QString& sExportFile) { m_sExportFile = sExportFile; }
    const QString& GetDescription() const { return m_sDescription; }
    void SetDescription(const QString& sDescription) { m_sDescription = sDescription; }

private:
    QString m_sUniqueId;
    QString m_sExportFile;
    QString m_sDescription;
};

} // namespace LumoraMeasurement

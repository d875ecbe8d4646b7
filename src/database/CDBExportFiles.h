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
    /// An entry with that id and empty file and description; what reading a missing id gives.
    explicit CDBExportFiles(const QString& sUniqueId);
    /// An entry with the given id, Base64 file text and description.
    CDBExportFiles(const QString& sUniqueId, const QString& sExportFile,
                   const QString& sDescription);
    /// A copy of the other entry.
    CDBExportFiles(const CDBExportFiles&) = default;
    /// Takes the other entry's fields.
    CDBExportFiles(CDBExportFiles&&) noexcept = default;
    /// Copies the other entry's fields.
    CDBExportFiles& operator=(const CDBExportFiles&) = default;
    /// Takes the other entry's fields.
    CDBExportFiles& operator=(CDBExportFiles&&) noexcept = default;
    virtual ~CDBExportFiles() = default;

    /// The caller-chosen id the file is stored under; the key of the export-file table.
    const QString& GetUniqueId() const { return m_sUniqueId; }
    /// Sets the id that CDBExportFilesController::Update() writes to.
    void SetUniqueId(const QString& sUniqueId) { m_sUniqueId = sUniqueId; }
    /// The file's content in standard Base64; empty when only the list was read.
    const QString& GetExportFile() const { return m_sExportFile; }
    /// Sets the content as Base64 text (standard alphabet, padded, no line breaks).
    void SetExportFile(const QString& sExportFile) { m_sExportFile = sExportFile; }
    /// Free text describing the stored file.
    const QString& GetDescription() const { return m_sDescription; }
    /// Sets the description text.
    void SetDescription(const QString& sDescription) { m_sDescription = sDescription; }

private:
    QString m_sUniqueId;
    QString m_sExportFile;
    QString m_sDescription;
};

} // namespace LumoraMeasurement

#pragma once

#include "MainDataAccess_export.h"

#include "CDBExportFiles.h"

#include <QString>

#include <vector>

namespace OrvelFramework
{
class CDatabaseMultiInstance;
}

namespace LumoraMeasurement
{

/// Keeps whole files (exported configuration packages) in the export-file table under a
/// caller-chosen unique id, lists what is stored and writes a stored file back to disk.
/// The connection belongs to the caller and must stay open while the controller is used.
class MDA_EXPORT CDBExportFilesController
{
public:
    /// Works on rDatabase, which must outlive the controller; the list starts empty.
    explicit CDBExportFilesController(OrvelFramework::CDatabaseMultiInstance& rDatabase);

    /// Refills the list with id and description of every stored file (contents not loaded).
    void ReadAvailableFiles();
    /// Empties the list; the stored files stay.
    void Clear();
    /// Number of entries the last ReadAvailableFiles() listed (0 after Clear()).
    unsigned long GetRowCount() const;
    /// Throw std::out_of_range for an index not below GetRowCount().
    QString GetUniqueId(unsigned long lIndex) const;
    /// The description of the listed entry at lIndex.
    QString GetDescription(unsigned long lIndex) const;
    /// No time is stored; a placeholder naming the index.
    QString GetTimeOfLastUpdate(unsigned long lIndex) const;

    /// The stored entry; one with only the id when there is none.
    CDBExportFiles GetData(const QString& sUniqueId);
    /// Stores a new entry with the Base64 content sExportFile; false (LastError()) when the
    /// database refuses it, for one when the id is already taken.
    bool Create(const QString& sUniqueId, const QString& sExportFile, const QString& sDescription);
    /// Replaces content and description of the entry with file's unique id; false (LastError()) on
    /// a failed write.
    bool Update(const CDBExportFiles& file);
    /// Stores the file's content under sUniqueId, replacing an entry of that id.
    bool CreateDbEntryFromFile(const QString& sUniqueId, const QString& sPath,
                               const QString& sDescription);
    /// Writes the stored content to sTargetPath, whose folder must exist; true when a byte
    /// was written.
    bool GetMeasurementFileFromDb(const QString& sUniqueId, const QString& sTargetPath);

    /// Why the most recent failing call failed, in words (the connection's LastError()).
    QString LastError() const;

private:
    OrvelFramework::CDatabaseMultiInstance& m_rDatabase;
    std::vector<CDBExportFiles> m_vFiles;
};

} // namespace LumoraMeasurement

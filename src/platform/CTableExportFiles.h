#pragma once

#include "CTableBase.h"

namespace OrvelFramework
{

/// The export-file table: whole files (as text) stored under a unique id chosen by the
/// caller, with a description. A unique id can be stored once.
class CTableExportFiles : public CTableBase
{
public:
    explicit CTableExportFiles(CDatabaseMultiInstance& db);

    static inline const QString c_sColumnId = QStringLiteral("unique_id");
    static inline const QString c_sColumnFile = QStringLiteral("file");
    static inline const QString c_sColumnDescription = QStringLiteral("description");

    /// lId receives the row id the database chose.
    bool Create(const TableRows& row, long& lId);
    /// False when no file is stored under the unique id.
    bool Update(const QString& sUniqueId, const QString& sFile, const QString& sDescription);
    /// Pairs unique id, file, description; empty when nothing is stored under the id.
    TableRows Get(const QString& sUniqueId);
    /// Pairs unique id, description for every stored file, in the order of storing.
    TableRows GetDescriptions();
};

} // namespace OrvelFramework

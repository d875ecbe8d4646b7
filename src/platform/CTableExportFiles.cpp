#include "CTableExportFiles.h"

namespace OrvelFramework
{

namespace
{

const CTableBase::Columns& ExportFileColumns()
{
    static const CTableBase::Columns s_Columns = {
        {&CTableExportFiles::c_sColumnId, false},
        {&CTableExportFiles::c_sColumnFile, false},
        {&CTableExportFiles::c_sColumnDescription, false},
    };
    return s_Columns;
}

} // namespace

CTableExportFiles::CTableExportFiles(CDatabaseMultiInstance& db) : CTableBase(db) {}

bool CTableExportFiles::Create(const TableRows& row, long& lId)
{
    return DoInsert(QStringLiteral("export_file"), ExportFileColumns(), row, lId,
                    QStringLiteral("Cannot store the export file"));
}

bool CTableExportFiles::Update(const QString& sUniqueId, const QString& sFile,
                               const QString& sDescription)
{
    const TableRows row = {{c_sColumnFile, sFile}, {c_sColumnDescription, sDescription}};
    return DoUpdate(QStringLiteral("export_file"), ExportFileColumns(), row,
                    QStringLiteral("unique_id = ?"), {sUniqueId},
                    QStringLiteral("Cannot change the export file"));
}

TableRows CTableExportFiles::Get(const QString& sUniqueId)
{
    TableRows rows;
    DoSelect(QStringLiteral("SELECT unique_id, file, description FROM export_file "
                            "WHERE unique_id = ?"),
             {sUniqueId}, {&c_sColumnId, &c_sColumnFile, &c_sColumnDescription}, rows,
             QStringLiteral("Cannot read the export file"));
    return rows;
}

TableRows CTableExportFiles::GetDescriptions()
{
    TableRows rows;
    DoSelect(QStringLiteral("SELECT unique_id, description FROM export_file ORDER BY id"), {},
             {&c_sColumnId, &c_sColumnDescription}, rows,
             QStringLiteral("Cannot read the export files"));
    return rows;
}

} // namespace OrvelFramework

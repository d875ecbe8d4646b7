#include "CDBExportFilesController.h"

#include "CDatabaseMultiInstance.h"
#include "COSAbstraction.h"
#include "CTableExportFiles.h"

#include <QFile>

#include <algorithm>
#include <limits>

using OrvelFramework::COSAbstraction;
using OrvelFramework::CTableExportFiles;
using OrvelFramework::CTableRecordSet;
using OrvelFramework::TableRows;

namespace LumoraMeasurement
{

namespace
{

// Results are walked with a 16-bit position; a longer result is served up to that bound.
size_t DoBoundedCount(const TableRows& rows)
{
    return std::min<size_t>(rows.size(), std::numeric_limits<quint16>::max());
}

} // namespace

CDBExportFilesController::CDBExportFilesController(
    OrvelFramework::CDatabaseMultiInstance& rDatabase)
    : m_rDatabase(rDatabase)
{
}

void CDBExportFilesController::ReadAvailableFiles()
{
    m_vFiles.clear();
    CTableExportFiles table(m_rDatabase);
    const TableRows rows = table.GetDescriptions();
    QString sId;
    QString sDescription;
    const size_t nCount = DoBoundedCount(rows);
    for (size_t i = 0; i < nCount; ++i)
    {
        const CTableRecordSet& pair = rows[i];
        if (pair.GetColumn() == CTableExportFiles::c_sColumnId)
        {
            sId = pair.GetValue();
        }
        else if (pair.GetColumn() == CTableExportFiles::c_sColumnDescription)
        {
            sDescription = pair.GetValue();
            if (!sId.isEmpty())
            {
                m_vFiles.emplace_back(sId, QString(), sDescription);
                sId.clear();
                sDescription.clear();
            }
        }
    }
}

void CDBExportFilesController::Clear()
{
    m_vFiles.clear();
}

unsigned long CDBExportFilesController::GetRowCount() const
{
    return static_cast<unsigned long>(m_vFiles.size());
}

QString CDBExportFilesController::GetUniqueId(unsigned long lIndex) const
{
    return m_vFiles.at(lIndex).GetUniqueId();
}

QString CDBExportFilesController::GetDescription(unsigned long lIndex) const
{
    return m_vFiles.at(lIndex).GetDescription();
}

QString CDBExportFilesController::GetTimeOfLastUpdate(unsigned long lIndex) const
{
    return QStringLiteral("TODO%1").arg(lIndex);
}

CDBExportFiles CDBExportFilesController::GetData(const QString& sUniqueId)
{
    CTableExportFiles table(m_rDatabase);
    const TableRows rows = table.Get(sUniqueId);
    if (rows.empty())
    {
        return CDBExportFiles(sUniqueId);
    }
    // The row was found by its unique id, which it holds exactly as asked.
    QString sFile, sDescription;
    const size_t nCount = DoBoundedCount(rows);
    for (size_t i = 0; i < nCount; ++i)
    {
        const CTableRecordSet& pair = rows[i];
        if (pair.GetColumn() == CTableExportFiles::c_sColumnFile)
        {
            sFile = pair.GetValue();
        }
        else if (pair.GetColumn() == CTableExportFiles::c_sColumnDescription)
        {
            sDescription = pair.GetValue();
        }
    }
    return CDBExportFiles(sUniqueId, sFile, sDescription);
}

bool CDBExportFilesController::Create(const QString& sUniqueId, const QString& sExportFile,
                                      const QString& sDescription)
{
    TableRows row;
    row.reserve(3);
    row.emplace_back(CTableExportFiles::c_sColumnId, sUniqueId);
    row.emplace_back(CTableExportFiles::c_sColumnFile, sExportFile);
    row.emplace_back(CTableExportFiles::c_sColumnDescription, sDescription);
    long lId = 0;
    CTableExportFiles table(m_rDatabase);
    return table.Create(row, lId);
}

bool CDBExportFilesController::Update(const CDBExportFiles& file)
{
    CTableExportFiles table(m_rDatabase);
    return table.Update(file.GetUniqueId(), file.GetExportFile(), file.GetDescription());
}

bool CDBExportFilesController::CreateDbEntryFromFile(const QString& sUniqueId, const QString& sPath,
                                                     const QString& sDescription)
{
    // An empty name is simply unreadable; asking Qt to open it would log a warning.
    QFile file(sPath);
    if (sPath.isEmpty())
    {
        return m_rDatabase.Fail(QStringLiteral("Cannot store a file without a name"));
    }
    if (!file.open(QIODevice::ReadOnly))
    {
        return m_rDatabase.Fail(
            QStringLiteral("Cannot read \"%1\": %2").arg(sPath, file.errorString()));
    }
    const QString sBase64 = QString::fromLatin1(file.readAll().toBase64());

    bool bExists = false;
    {
        CTableExportFiles table(m_rDatabase);
        const TableRows rows = table.GetDescriptions();
        bExists = std::any_of(rows.begin(), rows.end(),
                              [&sUniqueId](const CTableRecordSet& pair) {
                                  return pair.GetColumn() == CTableExportFiles::c_sColumnId &&
                                         pair.GetValue() == sUniqueId;
                              });
    }
    const bool bResult =
        bExists ? CTableExportFiles(m_rDatabase).Update(sUniqueId, sBase64, sDescription)
                : Create(sUniqueId, sBase64, sDescription);
    return bResult;
}

bool CDBExportFilesController::GetMeasurementFileFromDb(const QString& sUniqueId,
                                                        const QString& sTargetPath)
{
    m_rDatabase.Fail(QString());
    const CDBExportFiles stored = GetData(sUniqueId);
    if (stored.GetExportFile().isEmpty())
    {
        if (!m_rDatabase.LastError().isEmpty())
        {
            return false;
        }
        return m_rDatabase.Fail(
            QStringLiteral("No export file with content is stored under the id \"%1\"")
                .arg(sUniqueId));
    }
    const QByteArray bytes = QByteArray::fromBase64(stored.GetExportFile().toUtf8());
    if (sTargetPath.isEmpty())
    {
        return m_rDatabase.Fail(QStringLiteral("Cannot write a file without a name"));
    }
    // Written beside the target and renamed over it, so a reader never sees half an archive.
    QString sError;
    if (!COSAbstraction::ReplaceFile(sTargetPath, bytes, sError))
    {
        return m_rDatabase.Fail(QStringLiteral("Cannot write \"%1\": %2").arg(sTargetPath, sError));
    }
    return true;
}

QString CDBExportFilesController::LastError() const
{
    return m_rDatabase.LastError();
}

} // namespace LumoraMeasurement

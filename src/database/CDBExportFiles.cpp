#include "CDBExportFiles.h"

namespace LumoraMeasurement
{

CDBExportFiles::CDBExportFiles(const QString& sUniqueId) : m_sUniqueId(sUniqueId) {}

CDBExportFiles::CDBExportFiles(const QString& sUniqueId, const QString& sExportFile,
                               const QString& sDescription)
    : m_sUniqueId(sUniqueId), m_sExportFile(sExportFile), m_sDescription(sDescription)
{
}

} // namespace LumoraMeasurement

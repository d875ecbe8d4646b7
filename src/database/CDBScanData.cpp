#include "CDBScanData.h"

#include "COSAbstraction.h"

namespace LumoraMeasurement
{

CDBScanData::CDBScanData(qint64 lSessionId) : CDBScanData(lSessionId, 0) {}

CDBScanData::CDBScanData(qint64 lSessionId, qint64 lScanId)
    : m_lScanId(lScanId), m_lSessionId(lSessionId),
      m_sDateTime(OrvelFramework::COSAbstraction::GetFormattedDateTime())
{
}

} // namespace LumoraMeasurement

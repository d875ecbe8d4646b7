#include "CDBScanData.h"

#include "COSAbstraction.h"

namespace LumoraMeasurement
{

CDBScanData::CDBScanData(long lSessionId) : CDBScanData(lSessionId, 0) {}

CDBScanData::CDBScanData(long lSessionId, long lScanId)
    : m_lScanId(lScanId), m_lSessionId(lSessionId),
      m_sDateTime(OrvelFramework::COSAbstraction::GetFormattedDateTime())
{
}

} // namespace LumoraMeasurement

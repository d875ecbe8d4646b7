#include "CDBMeasurement.h"

#include "CEnumTemplate.h"
#include "EMeasurementItemState.h"
#include "EMeasurementItems.h"

namespace LumoraMeasurement
{

namespace
{

// Looked up once: records are built per row on the read paths, the tables never change.
long NoItemId()
{
    static const long s_lId = CEnumTemplate<EMeasurementItems>::ToId(eMeasItem_None);
    return s_lId;
}

long NoStateId()
{
    static const long s_lId =
        CEnumTemplate<EMeasurementItemState>::ToId(eMeasurementItemState_None);
    return s_lId;
}

} // namespace

CDBMeasurement::CDBMeasurement() : CDBMeasurement(0, 0, 0, 0) {}

CDBMeasurement::CDBMeasurement(qint64 lSessionId, qint64 lScanId, qint64 lChannelId,
                               qint64 lMeasurementId)
    : m_lSessionId(lSessionId), m_lScanId(lScanId), m_lChannelId(lChannelId),
      m_lMeasurementId(lMeasurementId), m_lMeasurementItem(NoItemId()),
      m_lMeasurementState(NoStateId())
{
}

} // namespace LumoraMeasurement

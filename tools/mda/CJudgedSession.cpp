#include "CJudgedSession.h"

#include "CEnumTemplate.h"
#include "EMeasurementItems.h"

#include <algorithm>

using namespace LumoraMeasurement;

CJudgedSession::CJudgedSession()
{
    long lMaxId = 0;
    for (const auto& row : CRepresentation<EMeasurementItems>::Table())
    {
        lMaxId = std::max(lMaxId, row.m_lId);
    }
    m_vItemNames.assign(static_cast<size_t>(lMaxId + 1), QString());
    for (const auto& row : CRepresentation<EMeasurementItems>::Table())
    {
        if (row.m_lId >= 0 && row.m_eEnumValue != eMeasItem_None &&
            m_vItemNames[static_cast<size_t>(row.m_lId)].isEmpty())
        {
            m_vItemNames[static_cast<size_t>(row.m_lId)] =
                CEnumTemplate<EMeasurementItems>::ToString(row.m_eEnumValue);
        }
    }
}

bool CJudgedSession::ForEachRow(const std::function<bool(const CSessionReader::SRow&)>& row,
                                QString& sReason)
{
    return ReadSucceeded(m_Reader.ForEachRow(row), sReason);
}

bool CJudgedSession::ForEachStoredRow(const std::function<bool(const CDBMeasurement&)>& row,
                                      QString& sReason)
{
    return ReadSucceeded(m_Reader.ForEachStoredRow(row), sReason);
}

bool CJudgedSession::ReadSucceeded(bool bRead, QString& sReason) const
{
    if (!bRead)
    {
        sReason = QStringLiteral("cannot read session ") + QString::number(SessionId()) +
                  QStringLiteral(": ") + m_Reader.LastError();
    }
    return bRead;
}

const QString& CJudgedSession::ItemName(long lItemId) const
{
    return lItemId >= 0 && lItemId < static_cast<long>(m_vItemNames.size())
               ? m_vItemNames[static_cast<size_t>(lItemId)]
               : m_sEmpty;
}

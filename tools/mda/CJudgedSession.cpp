#include "CJudgedSession.h"

#include "CDBScanController.h"
#include "CEnumTemplate.h"
#include "CToolContext.h"
#include "EMeasurementItems.h"
#include "ESettingsItems.h"

#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

using namespace LumoraMeasurement;
using OrvelFramework::CDatabaseMultiInstance;

namespace
{

// The level unit the tool judges in; every subcommand uses the same one.
constexpr ELevelUnit c_eLevelUnit = eLevelUnit_dBuV;

} // namespace

CJudgedSession::CJudgedSession(CToolContext& context, CDatabaseMultiInstance& db)
    : m_rContext(context), m_rDb(db)
{
}

bool CJudgedSession::Open(long lSessionId, QString& sReason)
{
    m_lSessionId = lSessionId;
    if (!m_rContext.RestoreSession(m_rDb, lSessionId, m_Config, sReason))
    {
        return false;
    }
    m_Limits.SetLevelUnit(c_eLevelUnit);
    if (!m_Channels.Read(m_Config.ChannelTableFile()))
    {
        sReason =
            QStringLiteral("cannot read the channel table '%1'").arg(m_Config.ChannelTableFile());
        return false;
    }
    if (!m_Limits.Read(m_Config.ComparativeValuesFile()))
    {
        sReason =
            QStringLiteral("cannot read the limits '%1'").arg(m_Config.ComparativeValuesFile());
        return false;
    }
    m_pJudge = std::make_unique<CMeasurementJudge>(m_Limits, m_Channels);

    CDBScanController scans(m_rDb);
    m_vScanIds = scans.GetScanIds(lSessionId);
    for (long lScanId : m_vScanIds)
    {
        m_ScanTimes.insert(lScanId, scans.GetData(lSessionId, lScanId).DateTime());
    }
    const QString sNameColumn = CEnumTemplate<ESettingsItems>::ToString(eSettingsItem_ChannelName);
    for (long r = 0; r < m_Channels.GetRowCount(); ++r)
    {
        m_vChannelNames.push_back(m_Channels.GetValue(r, sNameColumn));
    }
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
    return true;
}

long CJudgedSession::CountRows()
{
    QSqlQuery* pQuery = m_rDb.GetPreparedQuery(
        QStringLiteral("SELECT COUNT(*) FROM measurement WHERE session_id = ?"),
        QStringLiteral("Cannot count the stored values"));
    if (pQuery == nullptr)
    {
        return -1;
    }
    pQuery->bindValue(0, static_cast<qlonglong>(m_lSessionId));
    if (!m_rDb.Execute(*pQuery, QStringLiteral("Cannot count the stored values")) ||
        !pQuery->next())
    {
        return -1;
    }
    const long lCount = static_cast<long>(pQuery->value(0).toLongLong());
    pQuery->finish();
    return lCount;
}

bool CJudgedSession::ForEachRow(
    const std::function<bool(const CDBMeasurement&, const CDBMeasurement&, EJudgement)>& row,
    QString& sReason)
{
    // Read forward only, one row at a time: memory stays flat however long the session.
    QSqlQuery* pQuery = m_rDb.GetPreparedQuery(
        QStringLiteral("SELECT id, scan_id, channel_id, measurement_item, state, value, "
                       "error_description FROM measurement WHERE session_id = ? "
                       "ORDER BY scan_id, channel_id, id"),
        QStringLiteral("Cannot read the stored values"));
    if (pQuery == nullptr)
    {
        sReason = m_rDb.LastError();
        return false;
    }
    pQuery->bindValue(0, static_cast<qlonglong>(m_lSessionId));
    if (!m_rDb.Execute(*pQuery, QStringLiteral("Cannot read the stored values")))
    {
        sReason = m_rDb.LastError();
        return false;
    }
    CDBMeasurement record;
    record.SetSessionId(m_lSessionId);
    while (pQuery->next())
    {
        record.SetMeasurementId(static_cast<long>(pQuery->value(0).toLongLong()));
        record.SetScanId(static_cast<long>(pQuery->value(1).toLongLong()));
        record.SetChannelId(static_cast<long>(pQuery->value(2).toLongLong()));
        const QVariant item = pQuery->value(3);
        const QVariant state = pQuery->value(4);
        record.SetMeasurementItem(item.isNull() ? -1 : static_cast<long>(item.toLongLong()));
        record.SetMeasurementState(state.isNull() ? -1 : static_cast<long>(state.toLongLong()));
        record.SetValue(pQuery->value(5).toString());
        record.SetErrorDescription(pQuery->value(6).toString());
        CDBMeasurement judged = record;
        const EJudgement eJudgement = m_pJudge->Judge(judged);
        if (!row(record, judged, eJudgement))
        {
            break;
        }
    }
    pQuery->finish();
    return true;
}

const QString& CJudgedSession::ChannelName(long lChannelId) const
{
    return lChannelId >= 0 && lChannelId < static_cast<long>(m_vChannelNames.size())
               ? m_vChannelNames[static_cast<size_t>(lChannelId)]
               : m_sEmpty;
}

const QString& CJudgedSession::ScanTime(long lScanId) const
{
    const auto it = m_ScanTimes.constFind(lScanId);
    return it == m_ScanTimes.constEnd() ? m_sEmpty : it.value();
}

long CJudgedSession::ScanIndex(long lScanId) const
{
    const auto it = std::lower_bound(m_vScanIds.begin(), m_vScanIds.end(), lScanId);
    return it != m_vScanIds.end() && *it == lScanId ? static_cast<long>(it - m_vScanIds.begin())
                                                    : -1;
}

const QString& CJudgedSession::ItemName(long lItemId) const
{
    return lItemId >= 0 && lItemId < static_cast<long>(m_vItemNames.size())
               ? m_vItemNames[static_cast<size_t>(lItemId)]
               : m_sEmpty;
}

#include "CSessionDigest.h"

#include "CJudgedSession.h"

#include <cmath>

using namespace LumoraMeasurement;

bool CSessionDigest::Build(CJudgedSession& session, bool bSeries, QString& sReason)
{
    const long lRows = session.Channels().GetRowCount();
    const size_t uScans = session.ScanIds().size();
    m_vChannels.assign(static_cast<size_t>(std::max(0L, lRows)), SChannel());
    for (SChannel& channel : m_vChannels)
    {
        channel.m_vScanStatus.assign(uScans, eScanStatus_NotMeasured);
    }
    m_lOrphanRows = 0;
    return session.ForEachRow(
        [&](const CDBMeasurement& stored, const CDBMeasurement& judged, EJudgement eJudgement)
        {
            const long lChannel = stored.GetChannelId();
            const long lScanIndex = session.ScanIndex(stored.GetScanId());
            if (lChannel < 0 || lChannel >= lRows || lScanIndex < 0)
            {
                ++m_lOrphanRows;
                return true;
            }
            SChannel& channel = m_vChannels[static_cast<size_t>(lChannel)];
            EScanStatus eStatus = eScanStatus_NotMeasured;
            switch (eJudgement)
            {
            case eJudgement_Within:
                ++channel.m_lJudged;
                eStatus = eScanStatus_Within;
                break;
            case eJudgement_Violation:
                ++channel.m_lJudged;
                ++channel.m_lViolations;
                eStatus = eScanStatus_Violation;
                // Rows come scan by scan: the first one seen is the earliest.
                if (channel.m_lFirstViolationScan < 0)
                {
                    channel.m_lFirstViolationScan = stored.GetScanId();
                    channel.m_sFirstViolation = judged.GetErrorDescription();
                }
                break;
            case eJudgement_Error:
                ++channel.m_lErrors;
                eStatus = eScanStatus_Error;
                break;
            case eJudgement_NotJudged:
                return true;
            }
            EScanStatus& eWorst = channel.m_vScanStatus[static_cast<size_t>(lScanIndex)];
            eWorst = std::max(eWorst, eStatus);
            if (!bSeries)
            {
                return true;
            }
            SItem& item = channel.m_Items[stored.GetMeasurementItem()];
            item.m_lViolations += eJudgement == eJudgement_Violation;
            item.m_lErrors += eJudgement == eJudgement_Error;
            SPoint point;
            point.m_lScanIndex = lScanIndex;
            point.m_lScanId = stored.GetScanId();
            point.m_eJudgement = eJudgement;
            point.m_sValue = judged.GetValue();
            point.m_sText = judged.GetErrorDescription();
            if (eJudgement != eJudgement_Error)
            {
                const QString& sValue = stored.GetValue();
                const int iBlank = sValue.indexOf(QLatin1Char(' '));
                bool bOk = false;
                const double dValue = (iBlank < 0 ? sValue : sValue.left(iBlank)).toDouble(&bOk);
                point.m_bHasNumber = bOk && std::isfinite(dValue);
                point.m_dValue = point.m_bHasNumber ? dValue : 0.0;
            }
            item.m_vPoints.push_back(point);
            return true;
        },
        sReason);
}

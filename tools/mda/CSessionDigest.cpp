#include "CSessionDigest.h"

#include "CDBMeasurementController.h"
#include "CJudgedSession.h"
#include "CMatrixStateColorHandler.h"
#include "CRDMatrixData.h"

#include <algorithm>
#include <iterator>

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
    const long lTextsPerTile = CMatrixStateColorHandler().DetailLineLimit();
    return session.ForEachRow(
        [&](const CSessionReader::SRow& row)
        {
            const CDBMeasurement& stored = row.m_Stored;
            const CDBMeasurement& judged = row.m_Judged;
            const EJudgement eJudgement = row.m_eJudgement;
            if (eJudgement == eJudgement_Violation)
            {
                CDBMeasurement& kept = m_vViolations.emplace_back(judged);
                kept.SetErrorDescription(QString());
                std::map<qint64, QString>& texts = m_FirstTexts[judged.GetChannelId()];
                if (static_cast<long>(texts.size()) < lTextsPerTile ||
                    judged.GetMeasurementId() < texts.rbegin()->first)
                {
                    texts.emplace(judged.GetMeasurementId(), judged.GetErrorDescription());
                    if (static_cast<long>(texts.size()) > lTextsPerTile)
                    {
                        texts.erase(std::prev(texts.end()));
                    }
                }
            }
            else if (eJudgement == eJudgement_Error)
            {
                m_vErrors.push_back(judged);
            }
            const long lChannel = stored.GetChannelId();
            const long lScanIndex = row.m_lScanIndex;
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
                if (channel.m_lFirstErrorScan < 0)
                {
                    channel.m_lFirstErrorScan = stored.GetScanId();
                    channel.m_sFirstError = judged.GetErrorDescription();
                }
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
            point.m_eJudgement = eJudgement;
            // Texts only where they tell more than the number: a series holds every value.
            if (!row.m_bHasNumber)
            {
                point.m_sValue = judged.GetValue();
            }
            if (eJudgement == eJudgement_Violation || eJudgement == eJudgement_Error)
            {
                point.m_sText = judged.GetErrorDescription();
            }
            point.m_bHasNumber = row.m_bHasNumber;
            point.m_dValue = row.m_dNumber;
            item.m_vPoints.push_back(point);
            return true;
        },
        sReason);
}

bool CSessionDigest::CreateChannelMatrixData(CJudgedSession& session,
                                             OrvelFramework::CRDMatrixData& matrix,
                                             QString& sReason)
{
    const auto byId = [](const CDBMeasurement& a, const CDBMeasurement& b)
    { return a.GetMeasurementId() < b.GetMeasurementId(); };
    std::vector<CDBMeasurement> records;
    records.reserve(m_vViolations.size() + m_vErrors.size());
    records = m_vViolations;
    std::stable_sort(records.begin(), records.end(), byId);
    for (CDBMeasurement& record : records)
    {
        const auto channel = m_FirstTexts.find(record.GetChannelId());
        if (channel == m_FirstTexts.end())
        {
            continue;
        }
        const auto text = channel->second.find(record.GetMeasurementId());
        if (text != channel->second.end())
        {
            record.SetErrorDescription(text->second);
        }
    }
    const size_t uViolations = records.size();
    records.insert(records.end(), m_vErrors.begin(), m_vErrors.end());
    std::stable_sort(records.begin() + static_cast<std::ptrdiff_t>(uViolations), records.end(),
                     byId);
    CChannelTableData channels = session.Channels();
    CDBMeasurementController controller(session.Reader().Database());
    if (!CMatrixStateColorHandler().DoCreateChannelMatrixData(
            matrix, controller, records, channels, session.SessionId(),
            static_cast<long>(session.ScanIds().size()), false, false))
    {
        sReason = QStringLiteral("cannot read session ") + QString::number(session.SessionId()) +
                  QStringLiteral(": ") + controller.LastError();
        return false;
    }
    return true;
}

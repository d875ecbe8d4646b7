#pragma once

#include "CDBMeasurement.h"
#include "EJudgement.h"

#include <QString>

#include <map>
#include <vector>

class CJudgedSession;

namespace OrvelFramework
{
class CRDMatrixData;
}

/// What a person looks at first, gathered in one pass over a judged session: per channel
/// the counts, the first violation, the worst result of every scan and, when asked, the
/// series of every item (values with their judgement, scan by scan).
class CSessionDigest
{
public:
    /// The worst result of one channel in one scan, from best to worst.
    enum EScanStatus
    {
        eScanStatus_NotMeasured = 0,
        eScanStatus_Within,
        eScanStatus_Error,
        eScanStatus_Violation,
    };

    struct SPoint
    {
        long m_lScanIndex = 0;
        bool m_bHasNumber = false;
        double m_dValue = 0;
        LumoraMeasurement::EJudgement m_eJudgement = LumoraMeasurement::eJudgement_NotJudged;
        QString m_sValue; ///< as judged, only when it is no number ("Locked")
        QString m_sText;  ///< violation or error text
    };

    struct SItem
    {
        long m_lViolations = 0;
        long m_lErrors = 0;
        std::vector<SPoint> m_vPoints;
    };

    struct SChannel
    {
        long m_lJudged = 0; ///< within or violation
        long m_lViolations = 0;
        long m_lErrors = 0;
        long m_lFirstViolationScan = -1;
        QString m_sFirstViolation;
        long m_lFirstErrorScan = -1;
        QString m_sFirstError;
        std::vector<EScanStatus> m_vScanStatus; ///< by scan index
        std::map<long, SItem> m_Items;          ///< by item id
    };

    /// Fills a new digest: one Build() per digest. bSeries keeps the item series (for the
    /// report); without it memory stays per channel.
    bool Build(CJudgedSession& session, bool bSeries, QString& sReason);
    /// The colour matrix of the session model from the same pass: the violations in id order,
    /// the first ones of each channel with their texts, then the errors in id order. Reads the
    /// channels' value counts through the session's connection; call after Build().
    /// False with sReason when a read of the database failed.
    bool CreateChannelMatrixData(CJudgedSession& session, OrvelFramework::CRDMatrixData& matrix,
                                 QString& sReason);

    /// One per row of the channel table.
    const std::vector<SChannel>& Channels() const { return m_vChannels; }
    /// Stored values of channels beyond the table or of scans without a scan row.
    long OrphanRows() const { return m_lOrphanRows; }
    /// Every limit violation of the session, of orphan rows too.
    long Violations() const { return static_cast<long>(m_vViolations.size()); }

private:
    std::vector<SChannel> m_vChannels;
    long m_lOrphanRows = 0;
    std::vector<LumoraMeasurement::CDBMeasurement> m_vViolations; ///< without their texts
    std::vector<LumoraMeasurement::CDBMeasurement> m_vErrors;
    /// Per channel id the texts of the violations with the smallest ids, as many as a tile
    /// lists.
    std::map<long, std::map<qint64, QString>> m_FirstTexts;
};

#include "CSessionCopier.h"

#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "CDBSessionControler.h"
#include "CDatabaseMultiInstance.h"
#include "CDatabaseTransaction.h"
#include "CSessionContentDigest.h"

#include <vector>

using OrvelFramework::CDatabaseMultiInstance;
using OrvelFramework::CDatabaseTransaction;

namespace LumoraMeasurement
{

namespace
{

// Rows held between reading them and storing them: enough for few statements, little memory.
constexpr size_t c_nBatchRows = 4096;

} // namespace

struct CSessionCopier::SPrivate
{
    CDatabaseMultiInstance& m_rSource;
    CDatabaseMultiInstance& m_rTarget;
    std::function<void(qint64)> m_Progress;
    bool m_bReadBack = false;
};

CSessionCopier::CSessionCopier(CDatabaseMultiInstance& rSource, CDatabaseMultiInstance& rTarget)
    : m_pD(new SPrivate{rSource, rTarget, {}, false})
{
}

CSessionCopier::~CSessionCopier() = default;

void CSessionCopier::SetProgress(const std::function<void(qint64)>& progress)
{
    m_pD->m_Progress = progress;
}

void CSessionCopier::SetReadBack(bool bReadBack)
{
    m_pD->m_bReadBack = bReadBack;
}

QString CSessionCopier::ToString(EOutcome eOutcome)
{
    switch (eOutcome)
    {
    case eOutcome_Copied:
        return QStringLiteral("copied");
    case eOutcome_AlreadyThere:
        return QStringLiteral("already there");
    case eOutcome_Refused:
        return QStringLiteral("refused");
    case eOutcome_Failed:
        break;
    }
    return QStringLiteral("failed");
}

bool CSessionCopier::CopySession(long lSourceSessionId, SResult& result)
{
    result = SResult();
    result.m_lSourceId = lSourceSessionId;
    DoCopy(lSourceSessionId, result);
    return result.m_eOutcome == eOutcome_Copied || result.m_eOutcome == eOutcome_AlreadyThere;
}

bool CSessionCopier::DoCopy(long lSourceId, SResult& result)
{
    const auto fail = [&result](EOutcome eOutcome, const QString& sReason)
    {
        result.m_eOutcome = eOutcome;
        result.m_sReason = sReason;
        return false;
    };
    CDBSessionControler sourceSessions(m_pD->m_rSource);
    CDBSessionData session(lSourceId);
    if (lSourceId < 1 || !sourceSessions.GetData(lSourceId, session))
    {
        return fail(eOutcome_Failed, QStringLiteral("Cannot read session %1: %2")
                                         .arg(lSourceId)
                                         .arg(sourceSessions.LastError()));
    }
    const QString sUniqueId = session.UniqueIdentifier();
    result.m_sUniqueId = sUniqueId;
    if (sUniqueId.trimmed().isEmpty())
    {
        return fail(eOutcome_Refused,
                    QStringLiteral("Session %1 has no unique id to be known by").arg(lSourceId));
    }
    QString sLimitId;
    QString sChannelId;
    session.GetAssociatedFiles(sLimitId, sChannelId);
    QByteArray channelFile;
    QByteArray limitFile;
    if (!sourceSessions.GetRegisteredChannelSettingsFile(sChannelId, channelFile) ||
        !sourceSessions.GetRegisteredLimitValuesFile(sLimitId, limitFile))
    {
        return fail(eOutcome_Failed, QStringLiteral("Cannot read the files of session %1: %2")
                                         .arg(lSourceId)
                                         .arg(sourceSessions.LastError()));
    }
    if (channelFile.size() > CDBSessionControler::c_llMaxRegisteredFileSize ||
        limitFile.size() > CDBSessionControler::c_llMaxRegisteredFileSize)
    {
        return fail(eOutcome_Refused,
                    QStringLiteral("Session %1 has a registered file larger than %2 bytes")
                        .arg(lSourceId)
                        .arg(CDBSessionControler::c_llMaxRegisteredFileSize));
    }
    std::vector<CDBScanData> scans;
    CDBScanController sourceScans(m_pD->m_rSource);
    if (!sourceScans.GetAllData(lSourceId, scans))
    {
        return fail(eOutcome_Failed, QStringLiteral("Cannot read the scans of session %1: %2")
                                         .arg(lSourceId)
                                         .arg(sourceScans.LastError()));
    }
    CSessionContentDigest digest;
    digest.AddSession(session, channelFile, limitFile);
    for (const CDBScanData& scan : scans)
    {
        digest.AddScan(scan);
    }

    // Locked before the target is asked whether it holds the session: two copies of one
    // session never both find it missing.
    CDatabaseTransaction transaction(m_pD->m_rTarget);
    CDBSessionControler targetSessions(m_pD->m_rTarget);
    std::vector<long> held;
    if (!transaction.IsActive() || !targetSessions.LockUniqueId(sUniqueId) ||
        !targetSessions.GetSessionIdsByUniqueId(sUniqueId, held))
    {
        return fail(eOutcome_Failed,
                    QStringLiteral("Cannot write to the target: ") + m_pD->m_rTarget.LastError());
    }
    CDBMeasurementController sourceMeasurements(m_pD->m_rSource);
    if (!held.empty())
    {
        if (!sourceMeasurements.ForEachResultOfSession(lSourceId,
                                                       [&digest](const CDBMeasurement& row)
                                                       {
                                                           digest.AddRow(row);
                                                           return true;
                                                       }))
        {
            return fail(eOutcome_Failed, QStringLiteral("Cannot read the rows of session %1: %2")
                                             .arg(lSourceId)
                                             .arg(sourceMeasurements.LastError()));
        }
        result.m_llValues = digest.GetRowCount();
        result.m_sSourceDigest = digest.GetHex();
        if (held.size() > 1)
        {
            return fail(eOutcome_Refused,
                        QStringLiteral("The target holds the unique id %1 %2 times")
                            .arg(sUniqueId)
                            .arg(held.size()));
        }
        QString sError;
        qint64 llRows = 0;
        if (!CSessionContentDigest::Compute(m_pD->m_rTarget, held.front(), result.m_sTargetDigest,
                                            llRows, sError))
        {
            return fail(eOutcome_Failed, QStringLiteral("Cannot read session %1 of the target: %2")
                                             .arg(held.front())
                                             .arg(sError));
        }
        result.m_lTargetId = held.front();
        if (result.m_sTargetDigest == result.m_sSourceDigest)
        {
            result.m_eOutcome = eOutcome_AlreadyThere;
            return true;
        }
        return fail(eOutcome_Refused,
                    QStringLiteral("The target's session %1 has the unique id %2 with other "
                                   "content (source digest %3, target digest %4)")
                        .arg(held.front())
                        .arg(sUniqueId, result.m_sSourceDigest, result.m_sTargetDigest));
    }

    const auto failWrite = [&](const QString& sWhat)
    {
        return fail(eOutcome_Failed, QStringLiteral("Cannot store %1 of session %2: %3")
                                         .arg(sWhat)
                                         .arg(lSourceId)
                                         .arg(m_pD->m_rTarget.LastError()));
    };
    // A session registered without a file keeps file id 0 on the target too.
    long lChannelFileId = 0;
    long lLimitFileId = 0;
    if ((!channelFile.isEmpty() &&
         !targetSessions.AddChannelSettingsFileData(channelFile, lChannelFileId)) ||
        (!limitFile.isEmpty() && !targetSessions.AddLimitValuesFileData(limitFile, lLimitFileId)))
    {
        return failWrite(QStringLiteral("the files"));
    }
    channelFile.clear();
    limitFile.clear();
    CDBSessionData copy = session;
    copy.SetAssociatedFiles(lLimitFileId, lChannelFileId);
    long lTargetId = 0;
    if (!targetSessions.CreateCopy(copy, lTargetId))
    {
        return failWrite(QStringLiteral("the session row"));
    }
    CDBScanController targetScans(m_pD->m_rTarget);
    for (const CDBScanData& scan : scans)
    {
        if (!targetScans.CreateCopy(lTargetId, scan))
        {
            return failWrite(QStringLiteral("scan %1").arg(scan.GetScanId()));
        }
    }

    CDBMeasurementController targetMeasurements(m_pD->m_rTarget);
    std::vector<CDBMeasurement> batch;
    batch.reserve(c_nBatchRows);
    bool bWriteFailed = false;
    QString sRefusal;
    const auto store = [&]
    {
        if (!targetMeasurements.CreateCopies(lTargetId, batch))
        {
            bWriteFailed = true;
            return false;
        }
        batch.clear();
        if (m_pD->m_Progress)
        {
            m_pD->m_Progress(digest.GetRowCount());
        }
        return true;
    };
    const bool bRead = sourceMeasurements.ForEachResultOfSession(
        lSourceId,
        [&](const CDBMeasurement& row)
        {
            // A text the read hands out cut could only be stored cut: refuse rather than
            // store less than the source holds.
            if (row.GetValue().size() > CDBMeasurement::c_iMaxTextLength ||
                row.GetErrorDescription().size() > CDBMeasurement::c_iMaxTextLength)
            {
                sRefusal = QStringLiteral("Row %1 of session %2 holds a text longer than %3 "
                                          "characters")
                               .arg(row.GetMeasurementId())
                               .arg(lSourceId)
                               .arg(CDBMeasurement::c_iMaxTextLength);
                return false;
            }
            digest.AddRow(row);
            batch.push_back(row);
            return batch.size() < c_nBatchRows || store();
        });
    if (!bRead)
    {
        return fail(eOutcome_Failed, QStringLiteral("Cannot read the rows of session %1: %2")
                                         .arg(lSourceId)
                                         .arg(sourceMeasurements.LastError()));
    }
    if (!sRefusal.isEmpty())
    {
        return fail(eOutcome_Refused, sRefusal);
    }
    if (bWriteFailed || (!batch.empty() && !store()))
    {
        return failWrite(QStringLiteral("the rows"));
    }
    result.m_llValues = digest.GetRowCount();
    result.m_sSourceDigest = digest.GetHex();

    // Read back before it is made durable: what is committed has the source's digest.
    if (m_pD->m_bReadBack)
    {
        QString sCopyDigest;
        QString sError;
        qint64 llRows = 0;
        if (!CSessionContentDigest::Compute(m_pD->m_rTarget, lTargetId, sCopyDigest, llRows,
                                            sError))
        {
            return fail(eOutcome_Failed, QStringLiteral("Cannot read back the copy of session "
                                                        "%1: %2")
                                             .arg(lSourceId)
                                             .arg(sError));
        }
        if (sCopyDigest != result.m_sSourceDigest)
        {
            return fail(eOutcome_Failed,
                        QStringLiteral("The copy of session %1 reads back as digest %2, not %3; "
                                       "nothing was stored")
                            .arg(lSourceId)
                            .arg(sCopyDigest, result.m_sSourceDigest));
        }
    }
    if (!transaction.Commit())
    {
        return failWrite(QStringLiteral("(commit)"));
    }
    result.m_lTargetId = lTargetId;
    result.m_eOutcome = eOutcome_Copied;
    return true;
}

} // namespace LumoraMeasurement

#pragma once

#include "MainDataAccess_export.h"
#include <QString>

#include <functional>
#include <memory>

namespace OrvelFramework
{
class CDatabaseMultiInstance;
}

namespace LumoraMeasurement
{

/// Copies stored sessions from one measurement database into another (an embedded file or a
/// server, either way). A session is named everywhere by its unique id: the target gives it a
/// session id and measurement ids of its own, scan ids stay as recorded, and the registered
/// channel table and limit file are shared with any session of the target that registered the
/// same content. The copy is one transaction on the target: whole or absent. A session the
/// target already holds with the same content is left alone; one it holds under the same
/// unique id with other content is refused, never merged or overwritten. Copies of the same
/// unique id into one target wait for each other, so it is never stored twice.
class MDA_EXPORT CSessionCopier
{
public:
    /// What became of one session.
    enum EOutcome
    {
        eOutcome_Copied = 0,   ///< Now stored in the target.
        eOutcome_AlreadyThere, ///< The target already held it with the same content.
        eOutcome_Refused,      ///< Not copied: it cannot or must not be (reason in m_sReason).
        eOutcome_Failed,       ///< A read or write failed; nothing of it was stored.
    };

    /// What became of one session.
    struct SResult
    {
        /// What became of it; eOutcome_Failed until it is known.
        EOutcome m_eOutcome = eOutcome_Failed;
        /// The unique id the session is named by; empty when its row could not be read.
        QString m_sUniqueId;
        /// The session's id in the source.
        long m_lSourceId = 0;
        /// The session's id on the target (0 when it is not there).
        long m_lTargetId = 0;
        /// Number of stored values of the session in the source (0 when not read that far).
        qint64 m_llValues = 0;
        /// The source session's content digest (see CSessionContentDigest).
        QString m_sSourceDigest;
        /// The digest of the target's session of that unique id; empty when it held none.
        QString m_sTargetDigest;
        /// Why it was refused or failed.
        QString m_sReason;
    };

    /// Reads from rSource (best opened for reading only) and writes into rTarget (opened for
    /// writing); both must stay open while the copier is used.
    CSessionCopier(OrvelFramework::CDatabaseMultiInstance& rSource,
                   OrvelFramework::CDatabaseMultiInstance& rTarget);
    CSessionCopier(const CSessionCopier&) = delete;
    CSessionCopier& operator=(const CSessionCopier&) = delete;
    ~CSessionCopier();

    /// Called now and then while rows are copied, with the number copied so far.
    void SetProgress(const std::function<void(qint64)>& progress);

    /// Read each copy back before committing it and commit only when it has the source's
    /// digest (off unless set: it reads every copied row a second time).
    void SetReadBack(bool bReadBack);

    /// Copies session lSourceSessionId of the source. True when the session is on the target
    /// afterwards (copied or already there); result tells which, or why not.
    bool CopySession(long lSourceSessionId, SResult& result);

    /// The text of an outcome: "copied", "already there", "refused", "failed".
    static QString ToString(EOutcome eOutcome);

private:
    bool DoCopy(long lSourceSessionId, SResult& result);

    // Behind a pointer, so that the copier can grow without changing its size.
    struct SPrivate;
    std::unique_ptr<SPrivate> m_pD;
};

} // namespace LumoraMeasurement

#pragma once

#include <QString>

#include <memory>

class QFileDevice;
class QIODevice;

/// Where a command writes its result: a file that appears whole or not at all, or standard
/// output for "-". A file is written beside its target under a temporary name and renamed into
/// place by Commit(); without a successful Commit() nothing of it remains. A target that is no
/// regular file (a device, a pipe) is written directly, never replaced.
class COutputFile
{
public:
    explicit COutputFile(const QString& sPath);
    ~COutputFile();
    COutputFile(const COutputFile&) = delete;
    COutputFile& operator=(const COutputFile&) = delete;

    /// False with LastError() when the target cannot be written (a missing folder, a folder of
    /// that name, no permission).
    bool Open();
    /// The open device; valid between a successful Open() and Commit().
    QIODevice& Device();
    bool IsStandardOutput() const { return m_bStandardOutput; }
    /// What the messages call the target: its path, or "standard output".
    QString DisplayName() const;

    /// Puts the written bytes in place. False with LastError() when any write failed or the
    /// bytes could not be flushed or renamed; the target is then left as it was.
    bool Commit();
    /// Drops whatever was written; the target is left as it was.
    void Discard();

    /// "cannot write '<path>': <cause>", empty while nothing failed.
    const QString& LastError() const { return m_sLastError; }

private:
    void SetError(const QString& sCause);
    bool DoTake(std::unique_ptr<QFileDevice> pDevice, bool bOpened);

    QString m_sPath;
    bool m_bStandardOutput = false;
    bool m_bDirect = false;
    std::unique_ptr<QFileDevice> m_pDevice;
    QString m_sLastError;
};

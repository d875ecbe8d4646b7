#pragma once

#include "MainDataAccess_export.h"

#include <QString>
#include <QStringList>

#include <mutex>

namespace OrvelFramework
{

/// Keeps the newest appended log messages in memory (a bounded number, counting the ones it
/// dropped) and, when a log file has been set, appends every message to that file too. The
/// library never sets a log file on its own.
class MDA_EXPORT CLoggingStream
{
public:
    /// How many messages the memory keeps unless an application chooses otherwise.
    static constexpr int c_iDefaultMaxMessageCount = 10000;

    CLoggingStream() = default;
    CLoggingStream(const CLoggingStream&) = delete;
    CLoggingStream& operator=(const CLoggingStream&) = delete;

    /// Keeps sMessage (dropping the oldest one beyond the bound) and appends it to the log file
    /// when one is set.
    void AppendString(const QString& sMessage);

    /// The kept messages, oldest first.
    QStringList GetMessages() const;
    /// Forgets the kept messages and the count of dropped ones, and gives their memory back.
    void ClearMessages();

    /// Keeps at most iCount messages in memory (0 or less keeps none); older ones are dropped
    /// at once. The log file is not affected.
    void SetMaxMessageCount(int iCount);
    /// How many messages the memory keeps at most.
    int GetMaxMessageCount() const;
    /// Messages dropped from memory to stay within the bound since the last ClearMessages().
    quint64 GetDroppedMessageCount() const;

    /// An empty path stops writing to a file.
    void SetLogFilePath(const QString& sPath);
    /// The log file's path; empty when there is none.
    QString GetLogFilePath() const;

private:
    void DoTrim();

    // A standard mutex, so that thread checkers see what it orders.
    mutable std::mutex m_Mutex;
    QStringList m_lMessages;
    int m_iMaxMessageCount = c_iDefaultMaxMessageCount;
    quint64 m_uiDroppedMessageCount = 0;
    QString m_sLogFilePath;
};

} // namespace OrvelFramework

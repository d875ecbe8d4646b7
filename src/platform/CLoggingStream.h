#pragma once

#include <QMutex>
#include <QString>
#include <QStringList>

namespace OrvelFramework
{

/// Keeps every appended log message in memory and, when a log file has been set, appends it
/// to that file too. The library never sets a log file on its own.
class CLoggingStream
{
public:
    CLoggingStream() = default;
    CLoggingStream(const CLoggingStream&) = delete;
    CLoggingStream& operator=(const CLoggingStream&) = delete;

    void AppendString(const QString& sMessage);

    QStringList GetMessages() const;
    void ClearMessages();

    /// An empty path stops writing to a file.
    void SetLogFilePath(const QString& sPath);
    QString GetLogFilePath() const;

private:
    mutable QMutex m_Mutex;
    QStringList m_lMessages;
    QString m_sLogFilePath;
};

} // namespace OrvelFramework

#include "CLoggingStream.h"

#include <QFile>
#include <QMutexLocker>

namespace OrvelFramework
{

void CLoggingStream::AppendString(const QString& sMessage)
{
    QMutexLocker lock(&m_Mutex);
    m_lMessages.append(sMessage);
    if (m_sLogFilePath.isEmpty())
    {
        return;
    }
    QFile file(m_sLogFilePath);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
    {
        file.write(sMessage.toUtf8());
    }
}

QStringList CLoggingStream::GetMessages() const
{
    QMutexLocker lock(&m_Mutex);
    return m_lMessages;
}

void CLoggingStream::ClearMessages()
{
    QMutexLocker lock(&m_Mutex);
    m_lMessages.clear();
}

void CLoggingStream::SetLogFilePath(const QString& sPath)
{
    QMutexLocker lock(&m_Mutex);
    m_sLogFilePath = sPath;
}

QString CLoggingStream::GetLogFilePath() const
{
    QMutexLocker lock(&m_Mutex);
    return m_sLogFilePath;
}

} // namespace OrvelFramework

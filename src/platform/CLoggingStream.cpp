#include "CLoggingStream.h"

#include <QFile>

#include <algorithm>

namespace OrvelFramework
{

void CLoggingStream::AppendString(const QString& sMessage)
{
    const std::lock_guard<std::mutex> lock(m_Mutex);
    m_lMessages.append(sMessage);
    DoTrim();
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
    const std::lock_guard<std::mutex> lock(m_Mutex);
    return m_lMessages;
}

void CLoggingStream::ClearMessages()
{
    QStringList lReleased;
    {
        const std::lock_guard<std::mutex> lock(m_Mutex);
        // Swapping with an empty list frees the storage, not just the entries.
        lReleased.swap(m_lMessages);
        m_uiDroppedMessageCount = 0;
    }
}

void CLoggingStream::SetMaxMessageCount(int iCount)
{
    const std::lock_guard<std::mutex> lock(m_Mutex);
    m_iMaxMessageCount = std::max(iCount, 0);
    DoTrim();
    if (m_lMessages.isEmpty())
    {
        m_lMessages = QStringList();
    }
}

int CLoggingStream::GetMaxMessageCount() const
{
    const std::lock_guard<std::mutex> lock(m_Mutex);
    return m_iMaxMessageCount;
}

quint64 CLoggingStream::GetDroppedMessageCount() const
{
    const std::lock_guard<std::mutex> lock(m_Mutex);
    return m_uiDroppedMessageCount;
}

void CLoggingStream::SetLogFilePath(const QString& sPath)
{
    const std::lock_guard<std::mutex> lock(m_Mutex);
    m_sLogFilePath = sPath;
}

QString CLoggingStream::GetLogFilePath() const
{
    const std::lock_guard<std::mutex> lock(m_Mutex);
    return m_sLogFilePath;
}

void CLoggingStream::DoTrim()
{
    const int iExcess = m_lMessages.size() - m_iMaxMessageCount;
    if (iExcess <= 0)
    {
        return;
    }
    if (iExcess == 1)
    {
        m_lMessages.removeFirst();
    }
    else
    {
        m_lMessages.erase(m_lMessages.begin(), m_lMessages.begin() + iExcess);
    }
    m_uiDroppedMessageCount += static_cast<quint64>(iExcess);
}

} // namespace OrvelFramework

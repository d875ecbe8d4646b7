#pragma once

#include "MainDataAccess_export.h"

#include "CLoggingStream.h"

#include <QString>

#include <atomic>

namespace OrvelFramework
{

/// The process-wide logging service; reach it through CSingleton<CLoggingDataProvider>.
class MDA_EXPORT CLoggingDataProvider
{
public:
    /// True once the library is loaded; a caller may switch logging off by clearing it, from
    /// any thread while others log.
    static std::atomic<bool> m_bIsLoggingPossible;

    /// Local time "yyyy-MM-dd HH:mm:ss.zzz", one blank, then the message.
    static QString CreateSimpleLogMsgWithTimeStamp(const QString& sMsg);

    /// Where the library's log messages are kept.
    CLoggingStream m_LoggingStream;
};

} // namespace OrvelFramework

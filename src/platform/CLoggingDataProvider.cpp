#include "CLoggingDataProvider.h"

#include <QDateTime>

namespace OrvelFramework
{

// The atomic's constructor is constexpr, so the flag is constant-initialised: true before any
// constructor of the library runs.
std::atomic<bool> CLoggingDataProvider::m_bIsLoggingPossible{true};

QString CLoggingDataProvider::CreateSimpleLogMsgWithTimeStamp(const QString& sMsg)
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) +
           QLatin1Char(' ') + sMsg;
}

} // namespace OrvelFramework

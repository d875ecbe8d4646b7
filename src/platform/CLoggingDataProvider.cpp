#include "CLoggingDataProvider.h"

#include <QDateTime>

namespace OrvelFramework
{

// A plain bool is constant-initialised, so it is true before any constructor of the library runs.
bool CLoggingDataProvider::m_bIsLoggingPossible = true;

QString CLoggingDataProvider::CreateSimpleLogMsgWithTimeStamp(const QString& sMsg)
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) +
           QLatin1Char(' ') + sMsg;
}

} // namespace OrvelFramework

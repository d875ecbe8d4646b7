#include "CStringUtil.h"

namespace OrvelFramework
{

QString CStringUtil::ConvertBool(bool bValue)
{
    return bValue ? QStringLiteral("Yes") : QStringLiteral("No");
}

bool CStringUtil::ConvertToBool(const QString& sValue)
{
    const QString s = sValue.trimmed().toLower();
    return s == QLatin1String("yes") || s == QLatin1String("true") || s == QLatin1String("on") ||
           s == QLatin1String("1");
}

} // namespace OrvelFramework

#include "CCountText.h"

QString CCountText::Get(long lCount, const QString& sOne, const QString& sMany)
{
    return QString::number(lCount) + QLatin1Char(' ') + (lCount == 1 ? sOne : sMany);
}

QString CCountText::Violations(long lCount)
{
    return Get(lCount, QStringLiteral("violation"), QStringLiteral("violations"));
}

QString CCountText::Errors(long lCount)
{
    return Get(lCount, QStringLiteral("error"), QStringLiteral("errors"));
}

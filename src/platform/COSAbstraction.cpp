#include "COSAbstraction.h"

#include <QDateTime>
#include <QStandardPaths>
#include <QUuid>

namespace OrvelFramework
{

QString COSAbstraction::GetUserDataPath(const QString& sCompany, const QString& sSubPath)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QLatin1Char('/') + sCompany + QLatin1Char('/') + sSubPath;
}

QString COSAbstraction::GetUniqueIdentifier()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString COSAbstraction::GetFormattedDateTime()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace OrvelFramework

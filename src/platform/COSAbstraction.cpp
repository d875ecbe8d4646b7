#include "COSAbstraction.h"

#include <QDateTime>
#include <QSaveFile>
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

bool COSAbstraction::ReplaceFile(const QString& sPath, const QByteArray& bytes, QString& sError)
{
    if (bytes.isEmpty())
    {
        sError = QStringLiteral("no byte to write");
        return false;
    }
    // Unbuffered: a commit renames even when flushing its buffer failed, so every byte must have
    // reached the file before it is called. A full disk can take a part without an error.
    QSaveFile file(sPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    {
        sError = file.errorString();
        return false;
    }
    // Left uncommitted, the file beside is removed when it goes out of scope.
    const qint64 iWritten = file.write(bytes);
    if (iWritten != bytes.size())
    {
        sError =
            file.error() != QFileDevice::NoError
                ? file.errorString()
                : QStringLiteral("only %1 of %2 bytes written").arg(iWritten).arg(bytes.size());
        return false;
    }
    if (!file.commit())
    {
        sError = file.errorString();
        return false;
    }
    return true;
}

} // namespace OrvelFramework

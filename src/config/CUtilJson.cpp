#include "CUtilJson.h"

#include "CLoggingDataProvider.h"
#include "CSingleton.h"

#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

using OrvelFramework::CLoggingDataProvider;
using OrvelFramework::CSingleton;

namespace LumoraMeasurement
{

namespace
{

// sFormat holds one %1 for the path; the text is only built when somebody can log it.
void DoLog(const char* sFormat, const QString& sFile)
{
    if (!CLoggingDataProvider::m_bIsLoggingPossible.load())
    {
        return;
    }
    const QString sMsg = QString::fromLatin1(sFormat).arg(sFile);
    CSingleton<CLoggingDataProvider>::GetInstance().m_LoggingStream.AppendString(
        CLoggingDataProvider::CreateSimpleLogMsgWithTimeStamp(sMsg));
}

} // namespace

bool CUtilJson::LoadJsonFile(const QString& sFile, QJsonObject& jObject)
{
    QFile file(sFile);
    if (!file.open(QIODevice::ReadOnly))
    {
        DoLog("Could not load JSON file: %1.\n", sFile);
        return false;
    }
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    file.close();
    if (!doc.isObject())
    {
        DoLog("No JSON object found in file: \"%1\".\n", sFile);
        return false;
    }
    jObject = doc.object();
    return true;
}

bool CUtilJson::SaveJsonFile(const QString& sFile, const QJsonObject& jObject)
{
    // The document goes to a temporary file beside the target, which then replaces it in one
    // rename: a reader in another thread or process sees the old file or the new one, never a
    // half-written one.
    QSaveFile file(sFile);
    if (!file.open(QIODevice::WriteOnly))
    {
        DoLog("Could not open file to save JSON objct: %1.\n", sFile);
        return false;
    }
    file.write(QJsonDocument(jObject).toJson(QJsonDocument::Indented));
    if (!file.commit())
    {
        DoLog("Could not open file to save JSON objct: %1.\n", sFile);
        return false;
    }
    return true;
}

} // namespace LumoraMeasurement

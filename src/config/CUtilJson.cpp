#include "CUtilJson.h"

#include "CLoggingCategories.h"
#include "COSAbstraction.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>

#include <algorithm>

using OrvelFramework::CLoggingCategories;

namespace LumoraMeasurement
{

namespace
{

// sFormat holds one %1 for the path; the text is only built when somebody can log it.
void DoLog(const char* sFormat, const QString& sFile)
{
    if (!CLoggingCategories::IsLogged(CLoggingCategories::Config()))
    {
        return;
    }
    CLoggingCategories::DoLog(CLoggingCategories::Config(),
                              QString::fromLatin1(sFormat).arg(sFile));
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
    const QByteArray bytes = file.readAll();
    file.close();
    return LoadJsonData(bytes, sFile, jObject);
}

bool CUtilJson::LoadJsonData(const QByteArray& bytes, const QString& sName, QJsonObject& jObject)
{
    const QJsonDocument doc = QJsonDocument::fromJson(bytes);
    if (!doc.isObject())
    {
        DoLog("No JSON object found in file: \"%1\".\n", sName);
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
    QString sError;
    if (!OrvelFramework::COSAbstraction::ReplaceFile(
            sFile, QJsonDocument(jObject).toJson(QJsonDocument::Indented), sError))
    {
        DoLog("Could not open file to save JSON objct: %1.\n", sFile);
        return false;
    }
    return true;
}

bool CUtilJson::ParseJsonFile(const QString& sFile, QByteArray& bytes, QJsonObject& jObject,
                              QString& sReason, int& iLine, int& iColumn)
{
    iLine = 0;
    iColumn = 0;
    if (sFile.isEmpty())
    {
        sReason = QStringLiteral("no file is named");
        return false;
    }
    QFile file(sFile);
    if (!file.open(QIODevice::ReadOnly))
    {
        sReason = QStringLiteral("the file cannot be opened: ") + file.errorString();
        return false;
    }
    bytes = file.readAll();
    file.close();
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
    {
        LineAndColumn(bytes, error.offset, iLine, iColumn);
        sReason = QStringLiteral("the file is not valid JSON: %1 at line %2, column %3")
                      .arg(error.errorString(), QString::number(iLine), QString::number(iColumn));
        return false;
    }
    if (!doc.isObject())
    {
        iLine = 1;
        iColumn = 1;
        sReason = QStringLiteral("the file holds no JSON object at its top level");
        return false;
    }
    jObject = doc.object();
    return true;
}

void CUtilJson::LineAndColumn(const QByteArray& bytes, int iOffset, int& iLine, int& iColumn)
{
    iOffset = std::max(0, std::min(iOffset, static_cast<int>(bytes.size())));
    iLine = 1;
    int iLineStart = 0;
    for (int i = 0; i < iOffset; ++i)
    {
        if (bytes.at(i) == '\n')
        {
            ++iLine;
            iLineStart = i + 1;
        }
    }
    iColumn = QString::fromUtf8(bytes.constData() + iLineStart, iOffset - iLineStart).size() + 1;
}

} // namespace LumoraMeasurement

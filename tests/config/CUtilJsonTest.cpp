#include "CUtilJson.h"

#include "ConfigTestTools.h"

#include <QJsonArray>
#include <QRegularExpression>

using namespace LumoraMeasurement;
using namespace ConfigTest;

namespace
{

class CUtilJsonTest : public LogTest
{
};

TEST_F(CUtilJsonTest, FilesWithoutAnObjectFailAndLeaveTheTargetAlone)
{
    struct SRow
    {
        const char* m_pszName;
        QByteArray m_Content;
    };
    const SRow rows[] = {
        {"empty", QByteArray()},
        {"array", "[]"},
        {"array of objects", "[{\"a\": 1}]"},
        {"string", "\"text\""},
        {"number", "42"},
        {"truncated", "{\"DeviceSettings\": [{\"Name\": \"Visa"},
        {"binary", QByteArray("\x00\xff\xfe{\x01\x02}", 7)},
        {"two objects", "{} {}"},
        {"unbalanced nesting", QByteArray(5000, '[')},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszName);
        const QString sPath = WriteFile(m_Dir, QStringLiteral("bad.json"), row.m_Content);
        QJsonObject jObject{{QStringLiteral("keep"), 1}};
        EXPECT_FALSE(CUtilJson::LoadJsonFile(sPath, jObject));
        EXPECT_EQ(jObject, (QJsonObject{{QStringLiteral("keep"), 1}}));
        EXPECT_EQ(
            TakeLog(),
            QStringList{QStringLiteral("No JSON object found in file: \"%1\".\n").arg(sPath)});
    }
}

TEST_F(CUtilJsonTest, MissingFileIsLoggedWithItsPath)
{
    const QString sPath = m_Dir.filePath(QStringLiteral("missing.json"));
    QJsonObject jObject;
    EXPECT_FALSE(CUtilJson::LoadJsonFile(sPath, jObject));
    EXPECT_TRUE(jObject.isEmpty());
    EXPECT_EQ(TakeLog(), QStringList{QStringLiteral("Could not load JSON file: %1.\n").arg(sPath)});
}

TEST_F(CUtilJsonTest, LogLineCarriesATimeStamp)
{
    QJsonObject jObject;
    CUtilJson::LoadJsonFile(m_Dir.filePath(QStringLiteral("missing.json")), jObject);
    const QStringList lMessages = LogStream().GetMessages();
    ASSERT_EQ(lMessages.size(), 1);
    EXPECT_TRUE(QRegularExpression(
                    QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} Could not"))
                    .match(lMessages.first())
                    .hasMatch())
        << lMessages.first().toStdString();
}

TEST_F(CUtilJsonTest, NothingIsLoggedWhenLoggingIsImpossible)
{
    OrvelFramework::CLoggingDataProvider::m_bIsLoggingPossible = false;
    QJsonObject jObject;
    EXPECT_FALSE(CUtilJson::LoadJsonFile(m_Dir.filePath(QStringLiteral("missing.json")), jObject));
    EXPECT_FALSE(
        CUtilJson::LoadJsonFile(WriteFile(m_Dir, QStringLiteral("a.json"), "[]"), jObject));
    EXPECT_FALSE(
        CUtilJson::SaveJsonFile(m_Dir.filePath(QStringLiteral("no/such/dir.json")), QJsonObject()));
    EXPECT_TRUE(LogStream().GetMessages().isEmpty());
}

TEST_F(CUtilJsonTest, SaveReplacesALongerFileAndReadsBack)
{
    const QString sPath =
        WriteFile(m_Dir, QStringLiteral("doc.json"), QByteArray(10000, 'x') + "{\"old\": 1}");
    const QJsonObject jSaved{{QStringLiteral("b"), QJsonArray{1, QStringLiteral("two")}},
                             {QStringLiteral("a"), true}};
    ASSERT_TRUE(CUtilJson::SaveJsonFile(sPath, jSaved));
    EXPECT_TRUE(ParsesWithPython(sPath));
    // Indented form, one member per line.
    EXPECT_TRUE(ReadBytes(sPath).startsWith("{\n    \"a\": true,\n"));

    QJsonObject jLoaded;
    ASSERT_TRUE(CUtilJson::LoadJsonFile(sPath, jLoaded));
    EXPECT_EQ(jLoaded, jSaved);
    EXPECT_TRUE(TakeLog().isEmpty());
}

TEST_F(CUtilJsonTest, SaveIntoMissingFolderFailsWithLogLine)
{
    const QString sPath = m_Dir.filePath(QStringLiteral("no/such/dir.json"));
    EXPECT_FALSE(CUtilJson::SaveJsonFile(sPath, QJsonObject()));
    EXPECT_EQ(
        TakeLog(),
        QStringList{QStringLiteral("Could not open file to save JSON objct: %1.\n").arg(sPath)});
}

} // namespace

#include "CUtilJson.h"

#include "ConfigTestTools.h"

#include <QJsonArray>

using namespace LumoraMeasurement;
using namespace ConfigTest;

namespace
{

using CUtilJsonTest = LogTest;

TEST_F(CUtilJsonTest, SaveReplacesALongerFileAndReadsBack)
{
    const QString sPath = WriteFile(m_Dir, QStringLiteral("doc.json"), QByteArray(10000, 'x'));
    const QJsonObject jSaved{{"b", QJsonArray{1, "two"}}, {"a", true}};
    ASSERT_TRUE(CUtilJson::SaveJsonFile(sPath, jSaved));
    EXPECT_TRUE(ParsesWithPython(sPath));
    EXPECT_TRUE(ReadBytes(sPath).startsWith("{\n    \"a\": true,\n")); // indented form

    QJsonObject jLoaded;
    ASSERT_TRUE(CUtilJson::LoadJsonFile(sPath, jLoaded));
    EXPECT_EQ(jLoaded, jSaved);
    EXPECT_TRUE(TakeLog().isEmpty());

    const QString sNoFolder = m_Dir.filePath(QStringLiteral("no/such/dir.json"));
    EXPECT_FALSE(CUtilJson::SaveJsonFile(sNoFolder, jSaved));
    EXPECT_EQ(TakeLog(),
              QStringList{
                  QStringLiteral("Could not open file to save JSON objct: %1.\n").arg(sNoFolder)});
}

} // namespace

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
    const QString sPath = WriteFile(m_Dir, "doc.json", QByteArray(10000, 'x'));
    const QJsonObject jSaved{{"b", QJsonArray{1, "two"}}, {"a", true}};
    ASSERT_TRUE(CUtilJson::SaveJsonFile(sPath, jSaved));
    // An independent JSON parser accepts the file.
    EXPECT_EQ(QProcess::execute("python3",
                                {"-c", "import json,sys; json.load(open(sys.argv[1]))", sPath}),
              0);
    EXPECT_TRUE(ReadBytes(sPath).startsWith("{\n    \"a\": true,\n")); // indented form

    QJsonObject jLoaded;
    ASSERT_TRUE(CUtilJson::LoadJsonFile(sPath, jLoaded));
    EXPECT_EQ(jLoaded, jSaved);
    EXPECT_TRUE(TakeLog().isEmpty());

    const QString sNoFolder = m_Dir.filePath("no/such/dir.json");
    EXPECT_FALSE(CUtilJson::SaveJsonFile(sNoFolder, jSaved));
    EXPECT_EQ(TakeLog(),
              QStringList("Could not open file to save JSON objct: " + sNoFolder + ".\n"));
    // Valid JSON without an object on top: the whole file is at fault, from its start.
    WriteFile(m_Dir, "list.json", "[1]");
    QByteArray bytes;
    QString sReason;
    int iLine = 0, iColumn = 0;
    EXPECT_FALSE(CUtilJson::ParseJsonFile(m_Dir.filePath("list.json"), bytes, jLoaded, sReason,
                                          iLine, iColumn));
    EXPECT_EQ(QStringLiteral("%1:%2 %3").arg(iLine).arg(iColumn).arg(sReason),
              "1:1 the file holds no JSON object at its top level");
    // No file at all has no position: nothing of the previous call's stays.
    EXPECT_FALSE(CUtilJson::ParseJsonFile("", bytes, jLoaded, sReason, iLine, iColumn));
    EXPECT_EQ(QStringLiteral("%1:%2 %3").arg(iLine).arg(iColumn).arg(sReason),
              "0:0 no file is named");
}

} // namespace

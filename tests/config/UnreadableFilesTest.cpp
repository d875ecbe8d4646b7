#include "CComparativeValueData.h"
#include "CUtilJson.h"

#include "ConfigTestTools.h"

#include <functional>
#include <map>

using namespace LumoraMeasurement;
using namespace ConfigTest;

namespace
{

class UnreadableFilesTest : public LogTest
{
protected:
    // What a document writes: the whole of its state.
    template <typename T> QByteArray Written(const T& document)
    {
        const QString sPath = m_Dir.filePath("state.json");
        EXPECT_TRUE(document.Write(sPath));
        return ReadBytes(sPath);
    }

    // Reads sPath into a document that already holds edits; true when it failed and kept them.
    template <typename T> bool FailsAndKeeps(T document, const QString& sPath)
    {
        const QByteArray before = Written(document);
        return !document.Read(sPath) && Written(document) == before;
    }
};

TEST_F(UnreadableFilesTest, EveryReaderFailsLogsAndKeepsWhatItHeld)
{
    CComparativeValueData limits;
    limits.GetItem(eMeasItem_Power).SetFloatLowLimit(1.0);
    CDeviceSettingsData device;
    device.SetBERCount(42);
    CMeasConfigData config;
    config.SetDescription("kept");

    const std::pair<const char*, std::function<bool(const QString&)>> readers[] = {
        {"file access",
         [](const QString& sPath)
         {
             QJsonObject jObject{{"keep", 1}};
             return !CUtilJson::LoadJsonFile(sPath, jObject) && jObject == QJsonObject{{"keep", 1}};
         }},
        {"limit table", [&](const QString& sPath) { return FailsAndKeeps(limits, sPath); }},
        {"device settings", [&](const QString& sPath) { return FailsAndKeeps(device, sPath); }},
        {"configuration", [&](const QString& sPath) { return FailsAndKeeps(config, sPath); }},
    };
    std::vector<QStringList> files = DataRows("unreadable_files.tsv");
    files.push_back({"deep nesting", QString(5000, '[')});
    for (const auto& file : files)
    {
        const bool bMissing = file[0] == "missing file";
        const QString sPath =
            bMissing
                ? m_Dir.filePath("missing.json")
                : WriteFile(m_Dir, "bad.json", QByteArray::fromPercentEncoding(file[1].toUtf8()));
        const QString sLog = bMissing ? QStringLiteral("Could not load JSON file: %1.\n")
                                      : QStringLiteral("No JSON object found in file: \"%1\".\n");
        for (const auto& reader : readers)
        {
            SCOPED_TRACE(testing::Message() << file[0].toStdString() << ", " << reader.first);
            EXPECT_TRUE(reader.second(sPath));
            EXPECT_EQ(TakeLog(), QStringList{sLog.arg(sPath)});
        }
    }
    EXPECT_TRUE(FailsAndKeeps(limits, QString()) && FailsAndKeeps(device, QString()));
    EXPECT_TRUE(TakeLog().isEmpty());
    // The configuration leaves an empty path to the file layer, which logs it.
    EXPECT_TRUE(FailsAndKeeps(config, QString()));
    EXPECT_EQ(TakeLog(), QStringList{QStringLiteral("Could not load JSON file: .\n")});
}

TEST_F(UnreadableFilesTest, OddDocumentsFallBack)
{
    // What a reader holds afterwards; each starts with one edit the document may replace.
    const std::map<QString, std::function<QString(const QString&)>> readers = {
        {"limits",
         [&](const QString& sPath)
         {
             CComparativeValueData limits;
             EXPECT_TRUE(limits.Read(sPath));
             EXPECT_EQ(limits.GetLoadedLimitFile(), sPath);
             return Written(limits) == Written(CComparativeValueData()) ? QStringLiteral("same")
                                                                        : QStringLiteral("changed");
         }},
        {"device",
         [](const QString& sPath)
         {
             CDeviceSettingsData device;
             device.SetBERCount(42);
             EXPECT_TRUE(device.Read(sPath));
             EXPECT_EQ(device.DoRestoreDeviceSettings(), eRestorationDeviceSettings_Keep);
             return QStringLiteral("%1|%2").arg(Pairs(device).size()).arg(device.BERCount());
         }},
        {"config",
         [](const QString& sPath)
         {
             CMeasConfigData config;
             config.SetDescription("kept");
             EXPECT_TRUE(config.Read(sPath));
             return QStringLiteral("%1|%2").arg(Pairs(config).size()).arg(config.Description());
         }},
    };
    std::vector<QStringList> rows = DataRows("odd_documents.tsv");
    // Thousands of records load; a name/value list answers with the first of equal names.
    for (const QStringList& m : DataRows("many_records.tsv"))
    {
        QStringList lRecords;
        for (int i = 0; i < 20000; ++i)
        {
            lRecords.append(m[2].arg(i));
        }
        rows.push_back({m[0], "thousands of records",
                        QStringLiteral(R"({"%1": [%2, %3]})").arg(m[1], lRecords.join(','), m[3]),
                        m[4]});
    }
    for (const QStringList& row : rows)
    {
        SCOPED_TRACE((row[0] + ": " + row[1]).toStdString());
        const QString sPath = WriteFile(m_Dir, "odd.json", row[2].toUtf8());
        EXPECT_EQ(readers.at(row[0])(sPath), row[3]);
        const QString sLog = row.value(4).replace("\\n", "\n");
        EXPECT_EQ(TakeLog(), sLog.isEmpty() ? QStringList() : QStringList{sLog.arg(sPath)});
    }
}

} // namespace

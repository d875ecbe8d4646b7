#include "CDocumentCheck.h"
#include "CComparativeValueData.h"

#include "ChannelTestTools.h"

#include <functional>
#include <map>

using namespace LumoraMeasurement;

namespace
{

class CDocumentCheckTest : public ConfigTest::LogTest
{
protected:
    QString Write(const QString& sName, const QByteArray& content) const
    {
        return MdaTest::WriteFile(m_Dir, sName, content);
    }

    /// What the library writes: a configuration naming device settings, limits and a channel
    /// table with an analog and a cable channel.
    QString WriteConfiguration() const
    {
        CDeviceSettingsData device;
        device.SetDatabaseName("measurements.sqlite");
        EXPECT_TRUE(device.Write(m_Dir.filePath("device.json")));
        CComparativeValueData limits;
        EXPECT_TRUE(limits.Write(m_Dir.filePath("limits.json")));
        CChannelTableData channels = ChannelTest::TableOf(eTVStandard_BG_Pal, {"K05"});
        channels.AddChannel(CChannelData(eTVStandard_J83A, "S21"), CChannelTableData::c_lAppendRow);
        channels.SetValue(1, "Symbol Rate", "6.952 MSymbol/s");
        channels.SetValue(1, "Power Limit Offset", "-2.5");
        EXPECT_TRUE(channels.Write(m_Dir.filePath("channels.json")));
        CMeasConfigData config;
        config.SetDeviceSettingFile(m_Dir.filePath("device.json"));
        config.SetComparativeValuesFile(m_Dir.filePath("limits.json"));
        config.SetChannelTableFile(m_Dir.filePath("channels.json"));
        config.CreateUniqueIdentifier();
        EXPECT_TRUE(config.Write(m_Dir.filePath("run.measconfig")));
        return m_Dir.filePath("run.measconfig");
    }

    /// The findings a case of document_findings.tsv lists, one a line, in the temporary folder.
    QString Expected(const QString& sCase) const
    {
        QStringList lLines;
        for (const QStringList& r : ChannelTest::DataRows("document_findings.tsv"))
        {
            lLines << (r[0] == sCase ? r[1].arg(m_Dir.path()) : QString());
        }
        lLines.removeAll(QString());
        return lLines.join('\n');
    }
};

QString Joined(const QVector<SDocumentFinding>& lFindings)
{
    QStringList lLines;
    for (const SDocumentFinding& finding : lFindings)
    {
        lLines << finding.ToString();
    }
    return lLines.join('\n');
}

TEST_F(CDocumentCheckTest, WhatTheLibraryWritesHasNoFindingsNamedFilesAndKindsAreChecked)
{
    const QString sConfig = WriteConfiguration();
    QVector<SDocumentFinding> lFindings;
    EXPECT_TRUE(CDocumentCheck::CheckMeasurementConfiguration(sConfig, lFindings));
    for (const char* pszName : {"device.json", "limits.json", "channels.json", "run.measconfig"})
    {
        EXPECT_TRUE(CDocumentCheck::CheckFile(m_Dir.filePath(pszName), lFindings)) << pszName;
    }
    EXPECT_TRUE(lFindings.isEmpty()) << Joined(lFindings).toStdString();

    // The configuration checks the files it names.
    // A limit file that is not JSON, and a channel table that is gone.
    Write("limits.json", "{\"ComparativeValues\": [\n  {\"ID\": 8,,}\n]}");
    ASSERT_TRUE(QFile::remove(m_Dir.filePath("channels.json")));
    // A file named as device settings is checked as such, whatever it holds.
    Write("device.json", "{\"ComparativeValues\": [{\"ID\": 9999}]}");
    EXPECT_FALSE(CDocumentCheck::CheckFile(sConfig, lFindings));
    EXPECT_EQ(Joined(lFindings), Expected("configuration"));

    // The kind of a file follows its keys, then its suffix.
    lFindings.clear();
    // Device settings under a configuration's suffix are checked as device settings.
    EXPECT_TRUE(CDocumentCheck::CheckFile(
        Write("device.measconfig", R"({"DeviceSettings": [{"Name": "BERCount", "Value": "7"}]})"),
        lFindings));
    // An empty object is a configuration only by its suffix.
    EXPECT_FALSE(CDocumentCheck::CheckFile(Write("empty.measconfig", "{}"), lFindings));
    EXPECT_FALSE(CDocumentCheck::CheckFile(Write("empty.json", "{}"), lFindings));
    EXPECT_FALSE(CDocumentCheck::CheckFile(m_Dir.filePath("missing.json"), lFindings));
    // A finding at a member that is not there points at the value around it.
    EXPECT_FALSE(CDocumentCheck::CheckFile(Write("noid.json", "{\"ChannelTableData\": [{\n"
                                                              "  \"ChannelItemData\": [\n"
                                                              "    {\"Value\": \"1\"}]}]}"),
                                           lFindings));
    EXPECT_EQ(Joined(lFindings), Expected("kind"));
}

// Each broken document is one finding, with the field, its position and what the reader
// does with it.
TEST_F(CDocumentCheckTest, EachBrokenDocumentIsOneFinding)
{
    const std::map<QString, std::function<bool(const QString&, QVector<SDocumentFinding>&)>>
        checks = {
            {"limits", &CDocumentCheck::CheckLimitTable},
            {"channels", &CDocumentCheck::CheckChannelTable},
            {"device", &CDocumentCheck::CheckDeviceSettings},
            {"config", &CDocumentCheck::CheckMeasurementConfiguration},
            {"any", &CDocumentCheck::CheckFile},
        };
    for (const QStringList& row : ChannelTest::DataRows("broken_documents.tsv"))
    {
        SCOPED_TRACE(row[1].toStdString());
        const QString sPath = Write("doc.json", row[2].toUtf8().replace("\\n", "\n"));
        QVector<SDocumentFinding> lFindings;
        EXPECT_FALSE(checks.at(row[0])(sPath, lFindings));
        ASSERT_EQ(lFindings.size(), 1) << Joined(lFindings).toStdString();
        const SDocumentFinding& finding = lFindings[0];
        EXPECT_EQ(std::tuple(finding.m_sFile, finding.m_sJsonPath), std::tuple(sPath, row[3]));
        EXPECT_EQ(QStringLiteral("%1:%2").arg(finding.m_iLine).arg(finding.m_iColumn), row[4]);
        EXPECT_EQ(finding.m_sMessage, row[5]);
    }
}

} // namespace

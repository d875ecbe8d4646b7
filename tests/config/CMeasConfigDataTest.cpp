#include "CMeasConfigData.h"

#include "ConfigTestTools.h"

#include <QJsonArray>

using namespace LumoraMeasurement;
using namespace ConfigTest;

namespace
{

class CMeasConfigDataTest : public LogTest
{
protected:
    static QStringList Pairs(const CMeasConfigData& config)
    {
        QStringList lPairs;
        for (const auto& item :
             config.GetMeasurementConfigSettings().GetMeasurementConfigSettingsItem())
        {
            lPairs.append(item.GetName() + QLatin1Char('=') + item.GetValue());
        }
        return lPairs;
    }

    QString WriteConfig(const QByteArray& list)
    {
        return WriteFile(m_Dir, QStringLiteral("a.measconfig"),
                         "{\"MeasurementConfigSettings\": " + list + "}");
    }
};

const QStringList c_lFresh = {"DeviceSettingFile=",
                              "ComparativeValuesFile=",
                              "ChannelTableFile=",
                              "UniqueIdentifier=",
                              "Description=",
                              "Limitsettings Timestamp=",
                              "Devicesettings Timestamp=",
                              "Channelsettings Timestamp="};

TEST_F(CMeasConfigDataTest, FreshConfigurationIsWrittenAsEightEmptyPairs)
{
    const CMeasConfigData config;
    EXPECT_EQ(Pairs(config), c_lFresh);
    const QString sPath = m_Dir.filePath(QStringLiteral("fresh.measconfig"));
    ASSERT_TRUE(config.Write(sPath));
    EXPECT_TRUE(ParsesWithPython(sPath));
    const QJsonObject jFile = ReadObject(sPath);
    EXPECT_EQ(jFile.keys(), QStringList{QStringLiteral("MeasurementConfigSettings")});
    const QJsonArray jList = jFile[QStringLiteral("MeasurementConfigSettings")].toArray();
    ASSERT_EQ(jList.size(), 8);
    for (int i = 0; i < 8; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(jList[i].toObject(),
                  (QJsonObject{{"Name", c_lFresh[i].chopped(1)}, {"Value", ""}}));
    }
}

TEST_F(CMeasConfigDataTest, SettersAndGettersPairUp)
{
    using Setter = bool (CMeasConfigData::*)(const QString&);
    using Getter = QString (CMeasConfigData::*)() const;
    struct SRow
    {
        Setter m_Set;
        Getter m_Get;
        int m_iPosition;
    };
    const SRow rows[] = {
        {&CMeasConfigData::SetDeviceSettingFile, &CMeasConfigData::DeviceSettingFile, 0},
        {&CMeasConfigData::SetComparativeValuesFile, &CMeasConfigData::ComparativeValuesFile, 1},
        {&CMeasConfigData::SetChannelTableFile, &CMeasConfigData::ChannelTableFile, 2},
        {&CMeasConfigData::SetDescription, &CMeasConfigData::Description, 4},
        {&CMeasConfigData::SetTimestampLimitsettings, &CMeasConfigData::LimitsettingsTimestamp, 5},
        {&CMeasConfigData::SetTimestampDevicesettings, &CMeasConfigData::DevicesettingsTimestamp,
         6},
        {&CMeasConfigData::SetTimestampChannelsettings, &CMeasConfigData::ChannelsettingsTimestamp,
         7},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_iPosition);
        CMeasConfigData config;
        const QString sValue = QStringLiteral("/data/value %1").arg(row.m_iPosition);
        EXPECT_FALSE((config.*row.m_Set)(QString()));
        EXPECT_TRUE((config.*row.m_Set)(sValue));
        EXPECT_FALSE((config.*row.m_Set)(sValue));
        EXPECT_EQ((config.*row.m_Get)(), sValue);
        QStringList lExpected = c_lFresh;
        lExpected[row.m_iPosition] += sValue;
        EXPECT_EQ(Pairs(config), lExpected);
    }
}

TEST_F(CMeasConfigDataTest, UniqueIdentifierIsCreatedOnceAndNeverReplaced)
{
    CMeasConfigData config;
    config.CreateUniqueIdentifier();
    const QString sFirst = config.UniqueIdentifier();
    EXPECT_EQ(sFirst.size(), 36);
    config.CreateUniqueIdentifier();
    EXPECT_EQ(config.UniqueIdentifier(), sFirst);
    CMeasConfigData other;
    other.CreateUniqueIdentifier();
    EXPECT_NE(other.UniqueIdentifier(), sFirst);

    // Without the entry nothing is added.
    ASSERT_TRUE(config.Read(WriteConfig("[{\"Name\": \"Description\", \"Value\": \"d\"}]")));
    config.CreateUniqueIdentifier();
    EXPECT_EQ(config.UniqueIdentifier(), QString());
    EXPECT_EQ(Pairs(config).size(), 4);
}

TEST_F(CMeasConfigDataTest, ReadingAddsMissingTimeStampsAtTheEnd)
{
    CMeasConfigData config;
    ASSERT_TRUE(config.Read(WriteConfig("[{\"Name\": \"DeviceSettingFile\", \"Value\": \"/d\"},"
                                        " {\"Name\": \"ComparativeValuesFile\", \"Value\": \"/l\"},"
                                        " {\"Name\": \"ChannelTableFile\", \"Value\": \"/c\"},"
                                        " {\"Name\": \"UniqueIdentifier\", \"Value\": \"u\"},"
                                        " {\"Name\": \"Description\", \"Value\": \"\"}]")));
    EXPECT_EQ(
        Pairs(config),
        (QStringList{"DeviceSettingFile=/d", "ComparativeValuesFile=/l", "ChannelTableFile=/c",
                     "UniqueIdentifier=u", "Description=", "Limitsettings Timestamp=",
                     "Devicesettings Timestamp=", "Channelsettings Timestamp="}));

    ASSERT_TRUE(config.Read(
        WriteConfig("[{\"Name\": \"Limitsettings Timestamp\", \"Value\": \"2024-01-01 10:00:00\"},"
                    " {\"Name\": \"Extra\", \"Value\": \"x\"}]")));
    EXPECT_EQ(Pairs(config), (QStringList{"Limitsettings Timestamp=2024-01-01 10:00:00", "Extra=x",
                                          "Limitsettings Timestamp=", "Devicesettings Timestamp=",
                                          "Channelsettings Timestamp="}));
    EXPECT_EQ(config.LimitsettingsTimestamp(), QStringLiteral("2024-01-01 10:00:00"));
    EXPECT_FALSE(config.SetDeviceSettingFile(QStringLiteral("/d")));

    // With the channel stamp present nothing is added, even when the others are missing.
    ASSERT_TRUE(config.Read(WriteConfig("[{\"Name\": \"Channelsettings Timestamp\"}]")));
    EXPECT_EQ(Pairs(config), QStringList{"Channelsettings Timestamp="});
}

TEST_F(CMeasConfigDataTest, WriteThenReadGivesTheSameConfiguration)
{
    CMeasConfigData written;
    written.SetDeviceSettingFile(QStringLiteral("/home/u/Lumora/device.json"));
    written.SetComparativeValuesFile(QStringLiteral("/home/u/Lumora/limits.json"));
    written.SetChannelTableFile(QStringLiteral("/home/u/Lumora/channels.json"));
    written.SetDescription(QStringLiteral("Head end \"north\"\n2nd line"));
    written.SetTimestampDevicesettings(QStringLiteral("2024-05-06 07:08:09"));
    written.CreateUniqueIdentifier();
    const QString sPath = m_Dir.filePath(QStringLiteral("b.measconfig"));
    ASSERT_TRUE(written.Write(sPath));
    EXPECT_TRUE(ParsesWithPython(sPath));

    CMeasConfigData readBack;
    ASSERT_TRUE(readBack.Read(sPath));
    EXPECT_EQ(Pairs(readBack), Pairs(written));
    EXPECT_TRUE(TakeLog().isEmpty());
}

TEST_F(CMeasConfigDataTest, BadFilesFailOrFallBackWithoutHarm)
{
    QByteArray many = "{\"MeasurementConfigSettings\": [";
    for (int i = 0; i < 20000; ++i)
    {
        many += QStringLiteral("{\"Name\": \"Description\", \"Value\": \"%1\"},").arg(i).toUtf8();
    }
    many += "{}]}";

    struct SRow
    {
        const char* m_pszName;
        QByteArray m_Content; ///< null: no file at all
        bool m_bRead;
        int m_iItems;
        const char* m_pszDescription;
        const char* m_pszLog;
    };
    const char* pszNoObject = "No JSON object found in file: \"%1\".\n";
    const SRow rows[] = {
        {"missing file", QByteArray(), false, 8, "kept", "Could not load JSON file: %1.\n"},
        {"empty file", QByteArray(""), false, 8, "kept", pszNoObject},
        {"top-level array", "[]", false, 8, "kept", pszNoObject},
        {"truncated", "{\"MeasurementConfigSettings\": [{\"Na", false, 8, "kept", pszNoObject},
        {"binary garbage", QByteArray("\0\0\0\0PK\x03\x04", 8), false, 8, "kept", pszNoObject},
        {"no member", "{\"Other\": 1}", true, 3, "", nullptr},
        {"member not an array", "{\"MeasurementConfigSettings\": \"x\"}", true, 3, "", nullptr},
        {"mistyped members",
         "{\"MeasurementConfigSettings\": [{\"Name\": \"Description\", \"Value\": 12}, true]}",
         true, 5, "", nullptr},
        {"enormous numbers",
         "{\"MeasurementConfigSettings\": [1e308, -1e308, 123456789012345678901234567890]}", true,
         6, "", nullptr},
        // Numbers beyond double range are no JSON this parser accepts.
        {"numbers beyond range", "{\"MeasurementConfigSettings\": [1e999]}", false, 8, "kept",
         pszNoObject},
        {"thousands of records", many, true, 20004, "0", nullptr},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszName);
        const QString sPath = row.m_Content.isNull()
                                  ? m_Dir.filePath(QStringLiteral("none.measconfig"))
                                  : WriteFile(m_Dir, QStringLiteral("c.measconfig"), row.m_Content);
        CMeasConfigData config;
        config.SetDescription(QStringLiteral("kept"));
        EXPECT_EQ(config.Read(sPath), row.m_bRead);
        EXPECT_EQ(Pairs(config).size(), row.m_iItems);
        EXPECT_EQ(config.Description(), QString::fromLatin1(row.m_pszDescription));
        const QStringList lExpectedLog =
            row.m_pszLog ? QStringList{QString::fromLatin1(row.m_pszLog).arg(sPath)}
                         : QStringList();
        EXPECT_EQ(TakeLog(), lExpectedLog);
    }

    // An empty path fails in the file layer, with its log line.
    CMeasConfigData config;
    EXPECT_FALSE(config.Read(QString()));
    EXPECT_EQ(TakeLog(), QStringList{QStringLiteral("Could not load JSON file: .\n")});
    EXPECT_EQ(Pairs(config), c_lFresh);
}

} // namespace

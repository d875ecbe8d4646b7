#include "CMeasConfigData.h"

#include "ConfigTestTools.h"

#include <tuple>
#include <utility>

using namespace LumoraMeasurement;
using namespace ConfigTest;

namespace
{

using CMeasConfigDataTest = LogTest;
const char* const c_pszList = "MeasurementConfigSettings";

// clang-format off
const QStringList c_lFresh = {
    "DeviceSettingFile=", "ComparativeValuesFile=", "ChannelTableFile=", "UniqueIdentifier=",
    "Description=", "Limitsettings Timestamp=", "Devicesettings Timestamp=",
    "Channelsettings Timestamp="};
// clang-format on

TEST_F(CMeasConfigDataTest, SettersAndGettersPairUp)
{
    using C = CMeasConfigData;
    // clang-format off
    const std::tuple<bool (C::*)(const QString&), QString (C::*)() const, int> rows[] = {
        {&C::SetDeviceSettingFile,        &C::DeviceSettingFile,        0},
        {&C::SetComparativeValuesFile,    &C::ComparativeValuesFile,    1},
        {&C::SetChannelTableFile,         &C::ChannelTableFile,         2},
        {&C::SetDescription,              &C::Description,              4},
        {&C::SetTimestampLimitsettings,   &C::LimitsettingsTimestamp,   5},
        {&C::SetTimestampDevicesettings,  &C::DevicesettingsTimestamp,  6},
        {&C::SetTimestampChannelsettings, &C::ChannelsettingsTimestamp, 7},
    };
    // clang-format on
    for (const auto& [Set, Get, iPosition] : rows)
    {
        SCOPED_TRACE(iPosition);
        CMeasConfigData config;
        const QString sValue = QStringLiteral("/data/value %1").arg(iPosition);
        EXPECT_TRUE(!(config.*Set)(QString()) && (config.*Set)(sValue) && !(config.*Set)(sValue));
        EXPECT_EQ((config.*Get)(), sValue);
        QStringList lExpected = c_lFresh;
        lExpected[iPosition] += sValue;
        EXPECT_EQ(Pairs(config), lExpected);
    }
}

TEST_F(CMeasConfigDataTest, ReadingAddsMissingTimeStampsAtTheEnd)
{
    // Only when the channel stamp is missing are the three stamps appended, the others kept.
    for (const QStringList& r : DataRows("config_reads.tsv"))
    {
        SCOPED_TRACE(r[0].toStdString());
        CMeasConfigData config;
        config.SetDeviceSettingFile("/replaced");
        ASSERT_TRUE(config.Read(WriteList(c_pszList, r[0].toUtf8())));
        EXPECT_EQ(Pairs(config), r[1].split('|'));
    }
    CMeasConfigData config;
    ASSERT_TRUE(config.Read(WriteList(c_pszList, DataRows("config_reads.tsv")[1][0].toUtf8())));
    EXPECT_EQ(config.LimitsettingsTimestamp(), "2024-01-01 10:00:00");
    EXPECT_FALSE(config.SetDeviceSettingFile("/d"));
    // Without the entry no unique identifier is added.
    ASSERT_TRUE(config.Read(WriteList(c_pszList, DataRows("config_reads.tsv")[3][0].toUtf8())));
    config.CreateUniqueIdentifier();
    EXPECT_EQ(config.UniqueIdentifier(), QString());
    EXPECT_EQ(Pairs(config).size(), 4);
    // A name that is not there clears the flag, whatever it held.
    bool bFound = true, bConstFound = true;
    config.Contains("none", bFound);
    std::as_const(config).Contains("none", bConstFound);
    EXPECT_FALSE(bFound || bConstFound);
}

TEST_F(CMeasConfigDataTest, WriteThenReadGivesTheSameConfiguration)
{
    const QString sPath = m_Dir.filePath("b.measconfig");
    ASSERT_TRUE(CMeasConfigData().Write(sPath));
    EXPECT_EQ(ReadObject(sPath), ReadObject(DataFile("fresh_config.json")));

    CMeasConfigData written;
    written.SetDeviceSettingFile("/home/u/Lumora/device.json");
    written.SetDescription("Head end \"north\"\n2nd line");
    written.SetTimestampDevicesettings("2024-05-06 07:08:09");
    // The unique identifier is created once and never replaced.
    written.CreateUniqueIdentifier();
    const QString sFirst = written.UniqueIdentifier();
    EXPECT_EQ(sFirst.size(), 36);
    written.CreateUniqueIdentifier();
    EXPECT_EQ(written.UniqueIdentifier(), sFirst);
    CMeasConfigData other;
    other.CreateUniqueIdentifier();
    EXPECT_NE(other.UniqueIdentifier(), sFirst);
    ASSERT_TRUE(written.Write(sPath));
    CMeasConfigData readBack;
    ASSERT_TRUE(readBack.Read(sPath));
    EXPECT_EQ(Pairs(readBack), Pairs(written));
    EXPECT_TRUE(TakeLog().isEmpty());
}

} // namespace

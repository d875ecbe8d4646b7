#include "CComparativeValue.h"
#include "CDeviceSettings.h"
#include "CMeasurementConfigSettings.h"
#include "CProfile.h"

#include "ConfigTestTools.h"

#include <QJsonArray>

using namespace OrvelFramework;

namespace
{

QJsonObject Object(const char* pszJson)
{
    return QJsonDocument::fromJson(pszJson).object();
}

QByteArray Compact(const QJsonObject& jObject)
{
    return QJsonDocument(jObject).toJson(QJsonDocument::Compact);
}

TEST(CComparativeValueItemTest, WritesCodesAsUnsigned32BitNumbersAndReadsThemBack)
{
    CComparativeValueItem item;
    item.SetID(-1);
    item.SetCompareType(3);
    item.SetLowValue(QStringLiteral("-15.00 dBmV"));
    item.SetMeasurementEnabled(false);
    const QByteArray json = "{\"CompareType\":3,\"HighValue\":\"\",\"ID\":4294967295,"
                            "\"LowValue\":\"-15.00 dBmV\",\"MeasurementEnabled\":false}";
    EXPECT_EQ(Compact(item.ToJson()), json);
    EXPECT_EQ(CComparativeValueItem(item.ToJson()).GetID(), -1);
    EXPECT_EQ(Compact(CComparativeValueItem(item.ToJson()).ToJson()), json);
}

TEST(CComparativeValueItemTest, MistypedMembersFallBack)
{
    struct SRow
    {
        const char* m_pszJson;
        bool m_bEnabledBefore;
        long m_lID;
        bool m_bEnabled;
        const char* m_pszLow;
    };
    // clang-format off
    const SRow rows[] = {
        {"{\"ID\": 17, \"LowValue\": \"1\"}",            true,  17, true,  "1"},
        {"{\"ID\": \"17\"}",                             true,  0,  true,  ""},
        {"{\"ID\": 17.5, \"LowValue\": 5}",              true,  0,  true,  ""},
        {"{\"ID\": -5}",                                 true,  -5, true,  ""},
        {"{\"ID\": 1e300}",                              true,  0,  true,  ""},
        {"{\"ID\": 4294967296}",                         true,  0,  true,  ""},
        {"{\"ID\": [1], \"LowValue\": {\"a\": 1}}",      true,  0,  true,  ""},
        {"{\"ID\": null, \"MeasurementEnabled\": null}", false, 0,  false, ""},
        {"{}",                                           false, 0,  false, ""},
        {"{\"MeasurementEnabled\": 1}",                  true,  0,  false, ""},
        {"{\"MeasurementEnabled\": \"true\"}",           true,  0,  false, ""},
        {"{\"MeasurementEnabled\": true}",               false, 0,  true,  ""},
    };
    // clang-format on
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszJson);
        CComparativeValueItem item;
        item.SetID(99);
        item.SetCompareType(99);
        item.SetLowValue(QStringLiteral("old"));
        item.SetMeasurementEnabled(row.m_bEnabledBefore);
        item.FromJson(Object(row.m_pszJson));
        EXPECT_EQ(item.GetID(), row.m_lID);
        EXPECT_EQ(item.GetCompareType(), 0);
        EXPECT_EQ(item.GetMeasurementEnabled(), row.m_bEnabled);
        EXPECT_EQ(item.GetLowValue(), QString::fromLatin1(row.m_pszLow));
    }
}

TEST(NameValueCollectionTest, FromJsonReplacesItemsAndTurnsNonObjectsIntoEmptyItems)
{
    const QJsonArray jArray =
        QJsonDocument::fromJson(
            "[\"text\", {\"Name\": \"a\", \"Value\": \"b\"}, {\"Name\": 5, \"Value\": true}]")
            .array();
    CDeviceSettings device(QJsonArray{QJsonObject{{"Name", "old"}}});
    device.FromJson(jArray);
    CMeasurementConfigSettings config;
    config.FromJson(jArray);
    config.FromJson(jArray);

    const QJsonArray jExpected{QJsonObject{{"Name", ""}, {"Value", ""}},
                               QJsonObject{{"Name", "a"}, {"Value", "b"}},
                               QJsonObject{{"Name", ""}, {"Value", ""}}};
    EXPECT_EQ(device.ToJson(), jExpected);
    EXPECT_EQ(config.ToJson(), jExpected);
}

TEST(CProfileTest, RoundTripKeepsEveryField)
{
    const QJsonObject jProfile = Object(
        "{\"ProfileMeasurementResults\": [{\"Category\": \"Digital\", \"CompareValues\": \"c\","
        " \"DefaultUnit\": \"dB\", \"DisplayName\": \"MER (RMS) [dB]\", \"EqualValue\": \"e\","
        " \"ID\": \"15\", \"MaxValue\": \"70\", \"MinValue\": \"30\", \"NotEqualValue\": \"n\","
        " \"Selected\": true}],"
        " \"ProfileSettings\": [{\"Category\": \"General\", \"DisplayName\": \"Frequency\","
        " \"ID\": \"2\", \"Selected\": false}]}");
    const CProfile profile(jProfile);
    EXPECT_EQ(profile.ToJson(), jProfile);
    const auto& result = profile.GetProfileMeasurementResults().GetProfileMeasurementResultsItem();
    ASSERT_EQ(result.size(), 1u);
    EXPECT_EQ(result[0].GetMinValue(), QStringLiteral("30"));
    EXPECT_TRUE(result[0].GetSelected());
}

TEST(CProfileTest, ReadingAppendsAndToleratesMissingParts)
{
    CProfile profile(Object("{\"ProfileSettings\": [{\"ID\": \"1\", \"Selected\": \"true\"}, 3],"
                            " \"ProfileMeasurementResults\": {\"not\": \"an array\"}}"));
    EXPECT_TRUE(profile.GetProfileMeasurementResults().GetProfileMeasurementResultsItem().empty());
    const auto& settings = profile.GetProfileSettings().GetProfileSettingsItem();
    ASSERT_EQ(settings.size(), 2u);
    EXPECT_EQ(settings[0].GetID(), QStringLiteral("1"));
    EXPECT_FALSE(settings[0].GetSelected());
    EXPECT_EQ(settings[1].GetID(), QString());

    CProfileSettings collection;
    const QJsonArray jOne{QJsonObject{{"ID", "x"}, {"Selected", true}}};
    collection.FromJson(jOne);
    collection.FromJson(jOne);
    ASSERT_EQ(collection.GetProfileSettingsItem().size(), 2u);
    EXPECT_TRUE(collection.GetProfileSettingsItem()[1].GetSelected());
    EXPECT_FALSE(CProfileMeasurementResultsItem().GetSelected());
}

} // namespace

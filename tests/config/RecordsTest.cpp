#include "CComparativeValue.h"
#include "CDeviceSettings.h"
#include "CMeasurementConfigSettings.h"
#include "CProfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace OrvelFramework;

namespace
{

QJsonObject Object(const char* pszJson)
{
    return QJsonDocument::fromJson(pszJson).object();
}

QJsonArray Array(const char* pszJson)
{
    return QJsonDocument::fromJson(pszJson).array();
}

TEST(CComparativeValueItemTest, WritesCodesAsUnsigned32BitNumbers)
{
    CComparativeValueItem item;
    item.SetID(-1);
    item.SetCompareType(3);
    item.SetLowValue(QStringLiteral("-15.00 dBmV"));
    item.SetHighValue(QStringLiteral("47.00 dBmV"));
    item.SetMeasurementEnabled(false);
    const QJsonObject jObject = item.ToJson();
    EXPECT_EQ(QJsonDocument(jObject).toJson(QJsonDocument::Compact),
              QByteArray("{\"CompareType\":3,\"HighValue\":\"47.00 dBmV\",\"ID\":4294967295,"
                         "\"LowValue\":\"-15.00 dBmV\",\"MeasurementEnabled\":false}"));

    const CComparativeValueItem back(jObject);
    EXPECT_EQ(back.GetID(), -1);
    EXPECT_EQ(back.GetCompareType(), 3);
    EXPECT_EQ(back.GetLowValue(), QStringLiteral("-15.00 dBmV"));
    EXPECT_EQ(back.GetHighValue(), QStringLiteral("47.00 dBmV"));
    EXPECT_FALSE(back.GetMeasurementEnabled());
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
    const SRow rows[] = {
        {"{\"ID\": 17, \"LowValue\": \"1\"}", true, 17, true, "1"},
        {"{\"ID\": \"17\"}", true, 0, true, ""},
        {"{\"ID\": 17.5, \"LowValue\": 5}", true, 0, true, ""},
        {"{\"ID\": -5}", true, -5, true, ""},
        {"{\"ID\": 1e300}", true, 0, true, ""},
        {"{\"ID\": 4294967296}", true, 0, true, ""},
        {"{\"ID\": null, \"MeasurementEnabled\": null}", false, 0, false, ""},
        {"{}", false, 0, false, ""},
        {"{\"MeasurementEnabled\": 1}", true, 0, false, ""},
        {"{\"MeasurementEnabled\": \"true\"}", true, 0, false, ""},
        {"{\"MeasurementEnabled\": true}", false, 0, true, ""},
        {"{\"ID\": [1], \"LowValue\": {\"a\": 1}}", true, 0, true, ""},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszJson);
        CComparativeValueItem item;
        item.SetID(99);
        item.SetLowValue(QStringLiteral("old"));
        item.SetMeasurementEnabled(row.m_bEnabledBefore);
        item.FromJson(Object(row.m_pszJson));
        EXPECT_EQ(item.GetID(), row.m_lID);
        EXPECT_EQ(item.GetCompareType(), 0);
        EXPECT_EQ(item.GetMeasurementEnabled(), row.m_bEnabled);
        EXPECT_EQ(item.GetLowValue(), QString::fromLatin1(row.m_pszLow));
    }
}

TEST(CComparativeValueItemTest, LookupDoesNotTouchTheCallersObject)
{
    const QJsonObject jObject = Object("{\"ID\": 3}");
    CComparativeValueItem item(jObject);
    EXPECT_EQ(jObject.keys(), QStringList{QStringLiteral("ID")});
}

TEST(NameValueCollectionTest, FromJsonReplacesItemsAndTurnsNonObjectsIntoEmptyItems)
{
    const QJsonArray jArray =
        Array("[\"text\", {\"Name\": \"a\", \"Value\": \"b\"}, {\"Name\": 5, \"Value\": true}, 7]");

    CDeviceSettings device(Array("[{\"Name\": \"old\"}]"));
    device.FromJson(jArray);
    CMeasurementConfigSettings config;
    config.FromJson(jArray);
    config.FromJson(jArray);

    ASSERT_EQ(device.GetDeviceSettingsItem().size(), 4u);
    ASSERT_EQ(config.GetMeasurementConfigSettingsItem().size(), 4u);
    for (size_t i = 0; i < 4; ++i)
    {
        SCOPED_TRACE(i);
        const QString sName = i == 1 ? QStringLiteral("a") : QString();
        const QString sValue = i == 1 ? QStringLiteral("b") : QString();
        EXPECT_EQ(device.GetDeviceSettingsItem()[i].GetName(), sName);
        EXPECT_EQ(device.GetDeviceSettingsItem()[i].GetValue(), sValue);
        EXPECT_EQ(config.GetMeasurementConfigSettingsItem()[i].GetName(), sName);
        EXPECT_EQ(config.GetMeasurementConfigSettingsItem()[i].GetValue(), sValue);
    }
    EXPECT_EQ(device.ToJson()[1].toObject(),
              (QJsonObject{{QStringLiteral("Name"), QStringLiteral("a")},
                           {QStringLiteral("Value"), QStringLiteral("b")}}));
}

TEST(NameValueCollectionTest, KeyConstants)
{
    EXPECT_EQ(CDeviceSettings::c_sKeyDeviceSettingsItem, QStringLiteral("DeviceSettingsItem"));
    EXPECT_EQ(CMeasurementConfigSettings::c_sKeyMeasurementConfigSettingsItem,
              QStringLiteral("MeasurementConfigSettingsItem"));
    EXPECT_EQ(CComparativeValue::c_sKeyComparativeValueDataItem,
              QStringLiteral("ComparativeValueDataItem"));
    EXPECT_EQ(CProfileMeasurementResults::c_sKeyProfileMeasurementResultsItem,
              QStringLiteral("ProfileMeasurementResultsItem"));
    EXPECT_EQ(CProfileSettings::c_sKeyProfileSettingsItem, QStringLiteral("ProfileSettingsItem"));
}

TEST(CProfileTest, RoundTripKeepsEveryField)
{
    CProfileMeasurementResultsItem result;
    result.SetCategory(QStringLiteral("Digital"));
    result.SetCompareValues(QStringLiteral("Between"));
    result.SetDefaultUnit(QStringLiteral("dB"));
    result.SetDisplayName(QStringLiteral("MER (RMS) [dB]"));
    result.SetEqualValue(QStringLiteral("e"));
    result.SetID(QStringLiteral("15"));
    result.SetMaxValue(QStringLiteral("70"));
    result.SetMinValue(QStringLiteral("30"));
    result.SetNotEqualValue(QStringLiteral("n"));
    result.SetSelected(true);
    CProfileSettingsItem setting;
    setting.SetCategory(QStringLiteral("General"));
    setting.SetDisplayName(QStringLiteral("Frequency"));
    setting.SetID(QStringLiteral("2"));
    setting.SetSelected(true);

    CProfile profile;
    profile.GetProfileMeasurementResults().GetProfileMeasurementResultsItem().push_back(result);
    profile.GetProfileSettings().GetProfileSettingsItem().push_back(setting);
    const QJsonObject jObject = profile.ToJson();
    EXPECT_EQ(jObject.keys(), (QStringList{QStringLiteral("ProfileMeasurementResults"),
                                           QStringLiteral("ProfileSettings")}));
    EXPECT_EQ(jObject[QStringLiteral("ProfileMeasurementResults")].toArray()[0].toObject().keys(),
              (QStringList{"Category", "CompareValues", "DefaultUnit", "DisplayName", "EqualValue",
                           "ID", "MaxValue", "MinValue", "NotEqualValue", "Selected"}));

    const CProfile back(jObject);
    EXPECT_EQ(back.ToJson(), jObject);
    const auto& r = back.GetProfileMeasurementResults().GetProfileMeasurementResultsItem().at(0);
    EXPECT_EQ(r.GetMinValue(), QStringLiteral("30"));
    EXPECT_EQ(r.GetNotEqualValue(), QStringLiteral("n"));
    EXPECT_TRUE(r.GetSelected());
}

TEST(CProfileTest, ReadingAppendsAndToleratesMissingParts)
{
    CProfile profile(Object("{\"ProfileSettings\": [{\"ID\": \"1\", \"Selected\": \"true\"}, 3],"
                            " \"ProfileMeasurementResults\": {\"not\": \"an array\"}}"));
    EXPECT_TRUE(profile.GetProfileMeasurementResults().GetProfileMeasurementResultsItem().empty());
    auto& settings = profile.GetProfileSettings().GetProfileSettingsItem();
    ASSERT_EQ(settings.size(), 2u);
    EXPECT_EQ(settings[0].GetID(), QStringLiteral("1"));
    EXPECT_FALSE(settings[0].GetSelected());
    EXPECT_EQ(settings[1].GetID(), QString());

    CProfileSettings collection;
    const QJsonArray jOne = Array("[{\"ID\": \"x\", \"Selected\": true}]");
    collection.FromJson(jOne);
    collection.FromJson(jOne);
    ASSERT_EQ(collection.GetProfileSettingsItem().size(), 2u);
    EXPECT_TRUE(collection.GetProfileSettingsItem()[1].GetSelected());

    EXPECT_FALSE(CProfileMeasurementResultsItem().GetSelected());
    EXPECT_FALSE(CProfileSettingsItem().GetSelected());
}

} // namespace

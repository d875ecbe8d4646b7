#include "CComparativeValue.h"
#include "CDeviceSettings.h"
#include "CMeasurementConfigSettings.h"
#include "CProfile.h"

#include "ConfigTestTools.h"

#include <QJsonArray>

using namespace OrvelFramework;
using namespace ConfigTest;

namespace
{

QByteArray Compact(const QJsonObject& jObject)
{
    return QJsonDocument(jObject).toJson(QJsonDocument::Compact);
}

// Codes are written as unsigned 32-bit numbers and read back; mistyped members fall back.
TEST(CComparativeValueItemTest, WritesCodesAsUnsigned32BitNumbersAndMistypedMembersFallBack)
{
    CComparativeValueItem item;
    item.SetID(-1);
    item.SetCompareType(3);
    item.SetLowValue("-15.00 dBmV");
    item.SetMeasurementEnabled(false);
    const QByteArray json = "{\"CompareType\":3,\"HighValue\":\"\",\"ID\":4294967295,"
                            "\"LowValue\":\"-15.00 dBmV\",\"MeasurementEnabled\":false}";
    EXPECT_EQ(Compact(item.ToJson()), json);
    EXPECT_EQ(CComparativeValueItem(item.ToJson()).GetID(), -1);
    EXPECT_EQ(Compact(CComparativeValueItem(item.ToJson()).ToJson()), json);

    QJsonObject jBefore{{"ID", 99}, {"CompareType", 99}, {"LowValue", "old"}};
    for (const QStringList& r : DataRows("mistyped_limit_records.tsv"))
    {
        SCOPED_TRACE(r[0].toStdString());
        jBefore["MeasurementEnabled"] = r[1] == "true";
        item = CComparativeValueItem(jBefore);
        item.FromJson(QJsonDocument::fromJson(r[0].toUtf8()).object());
        EXPECT_EQ(std::tuple(item.GetID(), item.GetCompareType()), std::tuple(r[2].toLong(), 0));
        EXPECT_EQ(item.GetMeasurementEnabled(), r[3] == "true");
        EXPECT_EQ(item.GetLowValue(), r[4]);
    }
}

// Name/value lists and limits replace what they held, non-objects become empty items; profiles
// append, tolerate missing parts and keep every field through a round trip.
TEST(RecordCollectionsTest, ListsReplaceProfilesAppendAndRoundTrip)
{
    const QJsonArray jArray{"text", QJsonObject{{"Name", "a"}, {"Value", "b"}},
                            QJsonObject{{"Name", 5}, {"Value", true}}};
    CDeviceSettings device(QJsonArray{QJsonObject{{"Name", "old"}}});
    device.FromJson(jArray);
    CMeasurementConfigSettings config;
    config.FromJson(jArray);
    config.FromJson(jArray);

    const QJsonArray jExpected{QJsonObject{{"Name", ""}, {"Value", ""}},
                               QJsonObject{{"Name", "a"}, {"Value", "b"}},
                               QJsonObject{{"Name", ""}, {"Value", ""}}};
    EXPECT_EQ(std::tuple(device.ToJson(), config.ToJson()), std::tuple(jExpected, jExpected));
    // Limits replace what they held as well; profiles are merged.
    const auto readTwice = [&jArray](auto collection)
    {
        collection.FromJson(jArray);
        collection.FromJson(jArray);
        return QString::number(collection.ToJson().size());
    };
    EXPECT_EQ(readTwice(CComparativeValue()) + readTwice(CProfileSettings()) +
                  readTwice(CProfileMeasurementResults()),
              "366");

    const QJsonObject jProfile = ReadObject(DataFile("profile.json"));
    const CProfile profile(jProfile);
    EXPECT_EQ(profile.ToJson(), jProfile);
    const auto& results = profile.GetProfileMeasurementResults().GetProfileMeasurementResultsItem();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_TRUE(results[0].GetMinValue() == "30" && results[0].GetSelected());

    // Reading appends and tolerates missing parts.
    const CProfile partial(QJsonObject{
        {"ProfileSettings", QJsonArray{QJsonObject{{"ID", "1"}, {"Selected", "true"}}, 3}},
        {"ProfileMeasurementResults", QJsonObject{{"not", "an array"}}}});
    EXPECT_TRUE(partial.GetProfileMeasurementResults().GetProfileMeasurementResultsItem().empty());
    const auto& settings = partial.GetProfileSettings().GetProfileSettingsItem();
    ASSERT_EQ(settings.size(), 2u);
    EXPECT_EQ(settings[0].GetID() + "|" + settings[1].GetID(), "1|");
    EXPECT_FALSE(settings[0].GetSelected());

    CProfileSettings collection;
    const QJsonArray jOne{QJsonObject{{"ID", "x"}, {"Selected", true}}};
    collection.FromJson(jOne);
    collection.FromJson(jOne);
    ASSERT_EQ(collection.GetProfileSettingsItem().size(), 2u);
    EXPECT_TRUE(collection.GetProfileSettingsItem()[1].GetSelected() &&
                !CProfileMeasurementResultsItem().GetSelected());
    CProfileMeasurementResultsItem result;
    result.FromJson(QJsonObject{{"ID", "7"}, {"Selected", "true"}});
    EXPECT_FALSE(result.GetSelected()) << "a text is no flag";
}

} // namespace

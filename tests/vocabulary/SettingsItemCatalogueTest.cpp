#include "CEnumConverter.h"
#include "CEnumTemplate.h"
#include "CValueFactory.h"
#include "ProfileSettingsParameter.h"
#include "VocabularyTestData.h"

using namespace LumoraMeasurement;
using VocabularyTest::ReadRows;

using SettingsTable = CEnumTemplate<ESettingsItems>;

TEST(SettingsItemCatalogue, EveryItemMatchesTheCatalogue)
{
    const auto rows = ReadRows("settings_items.tsv", 7);
    ASSERT_EQ(rows.size(), 36u);
    QStringList expectedTexts;
    for (const QStringList& row : rows)
    {
        SCOPED_TRACE(row[2].toStdString());
        const ESettingsItems eItem = static_cast<ESettingsItems>(row[0].toInt());
        expectedTexts << row[2];

        EXPECT_EQ(SettingsTable::ToId(eItem), row[1].toLong());
        EXPECT_EQ(SettingsTable::ToEnum(row[1].toLong()), eItem);
        EXPECT_EQ(CValueFactory::SettingsItem_GetItemName(eItem), row[2]);
        EXPECT_EQ(CValueFactory::SettingsItem_GetEnumValue(row[2]), eItem);
        EXPECT_EQ(CValueFactory::SettingsItem_GetItemValueType(eItem), row[3].toInt());
        EXPECT_EQ(CValueFactory::SettingsItem_GetItemUnit(eItem), row[4].toInt());
        EXPECT_EQ(CValueFactory::ChannelSettings_GetItemValueCategory(eItem), row[5].toInt());
        EXPECT_EQ(CValueFactory::SettingsItem_HasSelectionList(eItem), row[6] == "1");
    }
    // Lists built from the table follow the table, not the enumerators.
    EXPECT_EQ(SettingsTable::ToStringList(), expectedTexts);

    for (int iValue : {36, 37, 1000, -1})
    {
        SCOPED_TRACE(iValue);
        const ESettingsItems eItem = static_cast<ESettingsItems>(iValue);
        EXPECT_EQ(CValueFactory::SettingsItem_GetItemValueType(eItem), eValueType_Integer);
        EXPECT_EQ(CValueFactory::SettingsItem_GetItemUnit(eItem), eUnitType_None);
        EXPECT_FALSE(CValueFactory::SettingsItem_HasSelectionList(eItem));
        EXPECT_EQ(CValueFactory::ChannelSettings_GetItemValueCategory(eItem), eCategory_NoCategory);
        EXPECT_EQ(CValueFactory::SettingsItem_GetItemName(eItem), QString());
    }
    EXPECT_EQ(SettingsTable::ToEnum(12), eSettingsItem_None);
    // Display texts are matched exactly.
    for (const char* pszText : {"center / vision carrier frequency",
                                " Center / Vision Carrier Frequency", "Channel Centre", ""})
    {
        EXPECT_EQ(CValueFactory::SettingsItem_GetEnumValue(pszText), eSettingsItem_None) << pszText;
    }

    // Profile names are matched trimmed and in any case; display texts and partial names are not
    // profile names.
    using namespace ProfileSettingsParameter;
    // clang-format off
    // The constants in the order of the first rows of settings_profile_names.tsv.
    const QString* const constants[] = {
        &c_sGeneral_Channel, &c_sGeneral_Description, &c_sGeneral_TVStandard,
        &c_sGeneral_ChannelCenterAE, &c_sGeneral_ChannelCenterBE, &c_sGeneral_FrequencyOffset,
        &c_sGeneral_ReferenceLevel, &c_sGeneral_Preamp, &c_sGeneral_Attenuation,
        &c_sGeneral_SidebandPosition, &c_sDigital_ChannelBandwidth, &c_sDigital_DigitalStandard,
        &c_sDigital_Payload, &c_sDigital_CenterFrequencyAE, &c_sDigital_CenterFrequencyBE,
        &c_sDigital_PilotFrequency, &c_sDigital_SAWFilterBandwidthCYR, &c_sDigital_QAMOrder,
        &c_sDigital_SymbolRate, &c_sDigital_RollOffFactor, &c_sDigital_SystemOpt,
        &c_sDigital_AutoTPS, &c_Analogue_VideoStandard, &c_Analogue_VisionCarrierFrequency,
        &c_Analogue_GroupDelay, &c_Analogue_AudioStandard, &c_Analogue_TestLineType,
        &c_Analogue_TestLineField, &c_Analogue_TestLineNumber, &c_Analogue_QuietLineField,
        &c_Analogue_QuietLineNumber,
    };
    // clang-format on
    const auto names = ReadRows("settings_profile_names.tsv", 2);
    ASSERT_GT(names.size(), std::size(constants));
    for (size_t i = 0; i < names.size(); ++i)
    {
        const QString& sName = names[i][0];
        const int iItem = names[i][1].toInt();
        SCOPED_TRACE(sName.toStdString());
        EXPECT_EQ(CEnumConverter::ConvertToESettingsItem(sName), iItem);
        if (i < std::size(constants))
        {
            EXPECT_EQ(*constants[i], sName);
            EXPECT_EQ(CEnumConverter::ConvertToESettingsItem(" " + sName.toLower() + "\t"), iItem);
            EXPECT_EQ(CEnumConverter::ConvertToESettingsItem(sName.toUpper()), iItem);
        }
    }
}

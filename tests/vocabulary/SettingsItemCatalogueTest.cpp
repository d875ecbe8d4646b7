#include "CEnumConverter.h"
#include "CEnumTemplate.h"
#include "CValueFactory.h"
#include "ProfileSettingsParameter.h"

#include <gtest/gtest.h>

using namespace LumoraMeasurement;

namespace
{

using SettingsTable = CEnumTemplate<ESettingsItems>;

ESettingsItems Item(int iItem)
{
    return static_cast<ESettingsItems>(iItem);
}

struct SSettingsRow
{
    int m_iItem;
    long m_lStoredId;
    const char* m_pszText;
    int m_iValueType;
    int m_iUnit;
    int m_iCategory;
    bool m_bHasSelectionList;
};

// The settings item catalogue in table order, transcribed column by column.
// clang-format off
const SSettingsRow c_Settings[] = {
    {0, 1, "Channel Name", 3, 30, 1, false},
    {1, 2, "Description", 3, 30, 1, false},
    {2, 3, "TV Standard", 1, 30, 1, true},
    {3, 4, "Center / Vision Carrier Frequency", 2, 11, 1, false},
    {4, 5, "Frequency Offset", 2, 11, 1, false},
    {5, 116, "Power Limit Offset", 2, 20, 1, false},
    {13, 101, "Channel Bandwidth", 1, 30, 2, true},
    {6, 6, "Reference Level Mode", 1, 30, 1, true},
    {7, 7, "Reference Level", 2, 3, 1, false},
    {8, 8, "Pre Selector", 1, 30, 1, true},
    {9, 9, "Pre Amplifier", 1, 30, 1, true},
    {10, 10, "Attenuation", 2, 20, 1, false},
    {11, 11, "Sideband Position (Spectral Inversion)", 1, 30, 1, true},
    {12, 104, "Pilot Frequency", 2, 11, 2, false},
    {14, 105, "QAM Order", 1, 30, 2, true},
    {15, 106, "Symbol Rate", 2, 22, 2, false},
    {16, 108, "Roll off Factor", 1, 30, 2, true},
    {17, 109, "Auto Parameter Detection", 1, 30, 2, true},
    {19, 111, "ISDB-T MER/BER Layer", 1, 30, 2, true},
    {20, 112, "DTMB Modulation", 1, 30, 2, true},
    {21, 113, "DTMB Frame Header", 1, 30, 2, true},
    {22, 114, "DVB-T2 T2-Profile", 1, 30, 2, true},
    {23, 115, "DVB-T2 Decoded PLP", 1, 30, 2, false},
    {24, 202, "Group Delay", 1, 30, 3, true},
    {25, 203, "Audio Standard", 1, 30, 3, true},
    {26, 205, "RPC, Lum Bar Ampl - Method", 1, 30, 3, true},
    {27, 206, "RPC, Lum Bar Ampl - Field", 1, 30, 3, true},
    {28, 207, "RPC, Lum Bar Ampl - Line", 1, 30, 3, false},
    {29, 208, "SNR Quiet Line - Field", 1, 30, 3, true},
    {30, 209, "SNR Quiet Line - Line", 1, 30, 3, false},
    {31, 303, "FEC", 1, 30, 4, true},
    {32, 304, "Subcarrier 0 Frequency", 2, 11, 4, false},
    {18, 306, "Equalizer", 1, 30, 2, true},
    {33, 307, "Prefilter", 1, 30, 4, true},
    {34, 310, "Phase Track Loop Bandwidth", 1, 30, 4, true},
    {35, 315, "Profile", 1, 30, 4, true},
};
// clang-format on

} // namespace

TEST(SettingsItemCatalogue, EveryItemMatchesTheCatalogue)
{
    ASSERT_EQ(std::size(c_Settings), 36u);
    QStringList expectedTexts;
    for (const SSettingsRow& row : c_Settings)
    {
        SCOPED_TRACE(row.m_pszText);
        const ESettingsItems eItem = Item(row.m_iItem);
        const QString sText = QString::fromUtf8(row.m_pszText);
        expectedTexts << sText;

        EXPECT_EQ(SettingsTable::ToId(eItem), row.m_lStoredId);
        EXPECT_EQ(SettingsTable::ToEnum(row.m_lStoredId), eItem);
        EXPECT_EQ(CValueFactory::SettingsItem_GetItemName(eItem), sText);
        EXPECT_EQ(CValueFactory::SettingsItem_GetEnumValue(sText), eItem);
        EXPECT_EQ(CValueFactory::SettingsItem_GetItemValueType(eItem), row.m_iValueType);
        EXPECT_EQ(CValueFactory::SettingsItem_GetItemUnit(eItem), row.m_iUnit);
        EXPECT_EQ(CValueFactory::ChannelSettings_GetItemValueCategory(eItem), row.m_iCategory);
        EXPECT_EQ(CValueFactory::SettingsItem_HasSelectionList(eItem), row.m_bHasSelectionList);
    }
    // Lists built from the table follow the table, not the enumerators.
    EXPECT_EQ(SettingsTable::ToStringList(), expectedTexts);
}

TEST(SettingsItemCatalogue, ValuesWithoutItemFallBack)
{
    for (int iValue : {36, 37, 1000, -1})
    {
        SCOPED_TRACE(iValue);
        const ESettingsItems eItem = Item(iValue);
        EXPECT_EQ(CValueFactory::SettingsItem_GetItemValueType(eItem), eValueType_Integer);
        EXPECT_EQ(CValueFactory::SettingsItem_GetItemUnit(eItem), eUnitType_None);
        EXPECT_FALSE(CValueFactory::SettingsItem_HasSelectionList(eItem));
        EXPECT_EQ(CValueFactory::ChannelSettings_GetItemValueCategory(eItem), eCategory_NoCategory);
        EXPECT_EQ(CValueFactory::SettingsItem_GetItemName(eItem), QString());
    }
    EXPECT_EQ(SettingsTable::ToEnum(12), eSettingsItem_None);
}

TEST(SettingsItemCatalogue, DisplayTextLookupIsExact)
{
    for (const char* pszText : {"center / vision carrier frequency",
                                " Center / Vision Carrier Frequency", "Channel Centre", ""})
    {
        SCOPED_TRACE(pszText);
        EXPECT_EQ(CValueFactory::SettingsItem_GetEnumValue(pszText), eSettingsItem_None);
    }
}

TEST(SettingsItemCatalogue, ProfileNameLookup)
{
    namespace P = ProfileSettingsParameter;
    struct
    {
        const QString* m_pName;
        int m_iExpected;
    } const rows[] = {
        // clang-format off
        {&P::c_sGeneral_Channel, 0}, {&P::c_sGeneral_Description, 1},
        {&P::c_sGeneral_TVStandard, 2}, {&P::c_sGeneral_ChannelCenterAE, 3},
        {&P::c_sGeneral_ChannelCenterBE, 3}, {&P::c_sGeneral_FrequencyOffset, 4},
        {&P::c_sGeneral_ReferenceLevel, 7}, {&P::c_sGeneral_Preamp, 9},
        {&P::c_sGeneral_Attenuation, 10}, {&P::c_sGeneral_SidebandPosition, 11},
        {&P::c_sDigital_ChannelBandwidth, 13}, {&P::c_sDigital_DigitalStandard, 2},
        {&P::c_sDigital_Payload, 36}, {&P::c_sDigital_CenterFrequencyAE, 3},
        {&P::c_sDigital_CenterFrequencyBE, 3}, {&P::c_sDigital_PilotFrequency, 12},
        {&P::c_sDigital_SAWFilterBandwidthCYR, 36}, {&P::c_sDigital_QAMOrder, 14},
        {&P::c_sDigital_SymbolRate, 15}, {&P::c_sDigital_RollOffFactor, 16},
        {&P::c_sDigital_SystemOpt, 36}, {&P::c_sDigital_AutoTPS, 17},
        {&P::c_Analogue_VideoStandard, 2}, {&P::c_Analogue_VisionCarrierFrequency, 3},
        {&P::c_Analogue_GroupDelay, 24}, {&P::c_Analogue_AudioStandard, 25},
        {&P::c_Analogue_TestLineType, 26}, {&P::c_Analogue_TestLineField, 27},
        {&P::c_Analogue_TestLineNumber, 28}, {&P::c_Analogue_QuietLineField, 29},
        {&P::c_Analogue_QuietLineNumber, 30},
        // clang-format on
    };
    for (const auto& row : rows)
    {
        const QString& sName = *row.m_pName;
        SCOPED_TRACE(sName.toStdString());
        EXPECT_EQ(CEnumConverter::ConvertToESettingsItem(sName), row.m_iExpected);
        EXPECT_EQ(CEnumConverter::ConvertToESettingsItem(" " + sName.toLower() + "\t"),
                  row.m_iExpected);
        EXPECT_EQ(CEnumConverter::ConvertToESettingsItem(sName.toUpper()), row.m_iExpected);
    }
    EXPECT_EQ(P::c_sGeneral_ChannelCenterBE, QStringLiteral("Channel Centre"));
    EXPECT_EQ(P::c_sDigital_SAWFilterBandwidthCYR, QStringLiteral("SAW Filter Bandwidth (CYR)"));
    EXPECT_EQ(P::c_Analogue_QuietLineNumber, QStringLiteral("Quiet Line Number"));

    // Display texts and partial names are not profile names.
    for (const char* pszName : {"Pre Amplifier", "Channel", "Center / Vision Carrier Frequency",
                                "Power Limit Offset", ""})
    {
        SCOPED_TRACE(pszName);
        EXPECT_EQ(CEnumConverter::ConvertToESettingsItem(pszName), eSettingsItem_None);
    }
}

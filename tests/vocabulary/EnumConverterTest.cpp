#include "CEnumConverter.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace LumoraMeasurement;

namespace
{

struct STokenRow
{
    int m_iValue;
    const char* m_pszToken;
};

struct SParseRow
{
    const char* m_pszText;
    int m_iExpected;
};

struct SCodeRow
{
    short m_iCode;
    int m_iExpected;
};

// ToString of every value (and of values past the table), then the token read back must give
// the value again, also in another letter case and inside a longer text.
template <typename E>
void CheckTokens(QString (*pfnToString)(E), E (*pfnToEnum)(const QString&),
                 const std::vector<STokenRow>& rows)
{
    for (const STokenRow& row : rows)
    {
        SCOPED_TRACE(row.m_pszToken);
        const E eValue = static_cast<E>(row.m_iValue);
        EXPECT_EQ(pfnToString(eValue).toStdString(), row.m_pszToken);
        if (QString::fromLatin1(row.m_pszToken).startsWith(QLatin1String("Unknown")))
        {
            continue;
        }
        const QString sToken = QString::fromLatin1(row.m_pszToken);
        EXPECT_EQ(static_cast<int>(pfnToEnum(sToken)), row.m_iValue);
        EXPECT_EQ(static_cast<int>(pfnToEnum(sToken.toLower())), row.m_iValue);
        EXPECT_EQ(static_cast<int>(pfnToEnum(QStringLiteral("<") + sToken + QStringLiteral(">"))),
                  row.m_iValue);
    }
}

template <typename E>
void CheckParse(E (*pfnToEnum)(const QString&), const std::vector<SParseRow>& rows)
{
    for (const SParseRow& row : rows)
    {
        SCOPED_TRACE(std::string("\"") + row.m_pszText + "\"");
        EXPECT_EQ(static_cast<int>(pfnToEnum(QString::fromUtf8(row.m_pszText))), row.m_iExpected);
    }
}

template <typename E> void CheckCodes(E (*pfnToEnum)(short), const std::vector<SCodeRow>& rows)
{
    for (const SCodeRow& row : rows)
    {
        SCOPED_TRACE(row.m_iCode);
        EXPECT_EQ(static_cast<int>(pfnToEnum(row.m_iCode)), row.m_iExpected);
    }
}

} // namespace

TEST(EnumConverter, CategoryTokens)
{
    for (const STokenRow& row : std::vector<STokenRow>{{1, "General"},
                                                       {2, "Digital"},
                                                       {3, "Analog"},
                                                       {0, "Unknown ECategory"},
                                                       {4, "Unknown ECategory"},
                                                       {5, "Unknown ECategory"}})
    {
        SCOPED_TRACE(row.m_iValue);
        EXPECT_EQ(
            CEnumConverter::ECategoryToString(static_cast<ECategory>(row.m_iValue)).toStdString(),
            row.m_pszToken);
    }
}

TEST(EnumConverter, CategoryParsingIsTrimmedExactAndCaseSensitive)
{
    CheckParse(&CEnumConverter::ECategoryToEnum, {{"General", 1},
                                                  {"Digital", 2},
                                                  {"Analogue", 3},
                                                  {"  Digital ", 2},
                                                  {"\tGeneral\n", 1},
                                                  {"digital", 3},
                                                  {"GENERAL", 3},
                                                  {"Analog", 3},
                                                  {"Docsis", 3},
                                                  {"General Digital", 3},
                                                  {"", 3}});
}

TEST(EnumConverter, GroupDelayTokens)
{
    CheckTokens(&CEnumConverter::EAnalogGroupDelayToString,
                &CEnumConverter::EAnalogGroupDelayToEnum,
                {{0, "General"},
                 {1, "GeneralHalf"},
                 {2, "Australia"},
                 {3, "Denmark"},
                 {4, "NewZealand"},
                 {5, "Norway"},
                 {6, "SwedenFull"},
                 {7, "Flat"},
                 {8, "Oirt"},
                 {9, "Oirt75"},
                 {10, "Oirt83"},
                 {11, "CCIR"},
                 {12, "TDF"},
                 {13, "K1"},
                 {14, "FCC"},
                 {15, "Unknown EAnalogGroupDelay"},
                 {-1, "Unknown EAnalogGroupDelay"}});
    CheckParse(&CEnumConverter::EAnalogGroupDelayToEnum, {{"generalhalf", 1},
                                                          {"Oirt83 with more words", 10},
                                                          {"OIRT", 8},
                                                          {"oirt75", 9},
                                                          {"flat response", 7},
                                                          {"", 0},
                                                          {"nothing known", 0}});
}

TEST(EnumConverter, SoundSystemTokens)
{
    CheckTokens(&CEnumConverter::EAnalogSoundSystemToString,
                &CEnumConverter::EAnalogSoundSystemToEnum,
                {{0, "FM55_NICAM585"},
                 {1, "FM55_FM5742"},
                 {2, "FM55_MONO"},
                 {3, "FM65_NICAM585"},
                 {4, "FM65_FM6258"},
                 {5, "FM65_FM6742"},
                 {6, "FM65_MONO"},
                 {7, "FM60_NICAM6552"},
                 {8, "FM60_MONO"},
                 {9, "FM45_BTSC"},
                 {10, "FM45_EIA_J"},
                 {11, "FM45_FM4724"},
                 {12, "FM45_MONO"},
                 {13, "AM65"},
                 {14, "Unknown EAnalogSoundSystem"}});
    CheckParse(&CEnumConverter::EAnalogSoundSystemToEnum,
               {{"", 0}, {"FM 6.5 MHz MONO", 0}, {"fm45_eia_j", 10}});
}

TEST(EnumConverter, ColorSystemTokens)
{
    CheckTokens(&CEnumConverter::EColorSystemToString, &CEnumConverter::EColorSystemToEnum,
                {{0, "PAL"}, {1, "SECAM"}, {2, "NTSC"}, {3, "Unknown EColorSystem"}});
    CheckParse(&CEnumConverter::EColorSystemToEnum,
               {{"", 1}, {"none of them", 1}, {"ntsc-m", 2}, {"Pal", 0}});
}

TEST(EnumConverter, TVStandardTokens)
{
    CheckTokens(&CEnumConverter::ETVStandardsToString, &CEnumConverter::ETVStandardsToEnum,
                {{0, "Standard B"},
                 {1, "Standard B/SECAM"},
                 {2, "Standard D/K"},
                 {3, "Standard D/K/SECAM"},
                 {4, "Standard I"},
                 {5, "Standard K1"},
                 {6, "Standard M/PAL"},
                 {7, "Standard M/NTSC"},
                 {8, "Standard N"},
                 {9, "J83A"},
                 {10, "J83B"},
                 {11, "J83C"},
                 {12, "DTMB"},
                 {13, "DVBT"},
                 {14, "DVBT2"},
                 {15, "ATSC / 8VSB"},
                 {16, "ATSC / MDTV"},
                 {17, "TDMB"},
                 {18, "ISDBT"},
                 {19, "Unknown EDigitalStandard"},
                 {20, "Unknown EDigitalStandard"},
                 {21, "Unknown EDigitalStandard"},
                 {22, "Unknown EDigitalStandard"},
                 {23, "Unknown EDigitalStandard"}});
    CheckParse(&CEnumConverter::ETVStandardsToEnum, {{"dvbt2", 14},
                                                     {"measure DVBT now", 13},
                                                     {"DOCSIS 3.1", 0},
                                                     {"EuroDOCSIS 3.0 (digital)", 0},
                                                     {"", 0}});
}

TEST(EnumConverter, ChannelTypeFromText)
{
    CheckParse(&CEnumConverter::EChannelTypeToEnum, {{"Analogue", 1},
                                                     {"Analog", 1},
                                                     {"Digital", 2},
                                                     {"digital", 0},
                                                     {" Digital", 0},
                                                     {"Docsis", 0},
                                                     {"", 0}});
}

TEST(EnumConverter, GroupDelayCodes)
{
    CheckCodes<EAnalogGroupDelay>(&CEnumConverter::EAnalogGroupDelayToEnum, {{1, 2},
                                                                             {2, 6},
                                                                             {3, 5},
                                                                             {4, 3},
                                                                             {5, 4},
                                                                             {6, 11},
                                                                             {7, 8},
                                                                             {8, 7},
                                                                             {9, 14},
                                                                             {10, 12},
                                                                             {11, 13},
                                                                             {12, 1},
                                                                             {13, 9},
                                                                             {14, 10},
                                                                             {0, 0},
                                                                             {15, 0},
                                                                             {-1, 0}});
}

TEST(EnumConverter, SoundSystemCodes)
{
    CheckCodes<EAnalogSoundSystem>(&CEnumConverter::EAnalogSoundSystemToEnum, {{1, 0},
                                                                               {2, 2},
                                                                               {3, 5},
                                                                               {4, 4},
                                                                               {5, 3},
                                                                               {6, 6},
                                                                               {7, 9},
                                                                               {8, 10},
                                                                               {9, 11},
                                                                               {10, 12},
                                                                               {11, 7},
                                                                               {12, 8},
                                                                               {13, 3},
                                                                               {14, 13},
                                                                               {0, 1},
                                                                               {15, 1},
                                                                               {-3, 1}});
}

TEST(EnumConverter, TVStandardCodes)
{
    std::vector<SCodeRow> analog = {{1, 1}, {2, 2}, {3, 7},  {4, 6}, {5, 8},  {6, 4},
                                    {7, 0}, {8, 5}, {22, 3}, {0, 0}, {23, 0}, {-1, 0}};
    for (short iCode = 9; iCode <= 21; ++iCode)
    {
        analog.push_back({iCode, 0});
    }
    CheckCodes(&CEnumConverter::ETVStandardsAnalogToEnum, analog);
    CheckCodes(
        &CEnumConverter::ETVStandardsDigitalToEnum,
        {{0, 9}, {1, 10}, {2, 11}, {3, 15}, {4, 13}, {5, 14}, {6, 17}, {7, 18}, {8, 12}, {-1, 12}});
    CheckCodes(&CEnumConverter::EVideoStandardToEnum,
               {{2, 2}, {3, 7}, {4, 6}, {5, 8}, {6, 4}, {7, 5}, {0, 0}, {1, 0}, {8, 0}});
}

TEST(EnumConverter, ChannelSettingCodes)
{
    {
        SCOPED_TRACE("test line type");
        CheckCodes(&CEnumConverter::ETestLineTypeToEnum, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {-1, 3}});
    }
    {
        SCOPED_TRACE("auto TPS");
        CheckCodes(&CEnumConverter::EAutoTPSToEnum, {{0, 0}, {1, 1}, {5, 1}, {-1, 1}});
    }
    {
        SCOPED_TRACE("bandwidth");
        CheckCodes(
            &CEnumConverter::EChannelBandWidthToEnum,
            {{2, 0}, {5, 1}, {6, 2}, {7, 3}, {8, 4}, {3, 5}, {4, 5}, {0, 5}, {1, 5}, {9, 5}});
    }
    {
        SCOPED_TRACE("roll-off factor");
        CheckCodes(&CEnumConverter::ERollOfFactorToEnum,
                   {{13, 2}, {15, 4}, {18, 7}, {115, 10}, {20, 1}, {12, 1}, {0, 1}});
    }
    {
        SCOPED_TRACE("sideband position");
        CheckCodes(&CEnumConverter::ESideBandPositionToEnum,
                   {{0, 0}, {2, 2}, {1, 1}, {3, 1}, {-1, 1}});
    }
    {
        SCOPED_TRACE("channel type");
        CheckCodes(&CEnumConverter::EChannelTypeToEnum, {{1, 1}, {2, 2}, {0, 0}, {3, 0}, {-1, 0}});
    }
}

TEST(EnumConverter, QAMOrderCodes)
{
    std::vector<SCodeRow> rows = {{16, 15}, {15, 18}, {17, 18}, {-1, 18}};
    for (short iCode = 0; iCode <= 14; ++iCode)
    {
        rows.push_back({iCode, iCode});
    }
    CheckCodes(&CEnumConverter::EQAMOrderToEnum, rows);
}

TEST(EnumConverter, ChannelTypeToNumber)
{
    for (const SCodeRow& row : std::vector<SCodeRow>{{1, 1}, {2, 2}, {0, 0}, {3, 0}})
    {
        SCOPED_TRACE(row.m_iCode);
        EXPECT_EQ(CEnumConverter::EChannelTypeToNumber(static_cast<EChannelType>(row.m_iCode)),
                  row.m_iExpected);
    }
}

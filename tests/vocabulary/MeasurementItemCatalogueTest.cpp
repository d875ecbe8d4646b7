#include "CEnumConverter.h"
#include "CEnumTemplate.h"
#include "CValueFactory.h"
#include "ProfileMeasurementResultsParameter.h"

#include <gtest/gtest.h>

#include <vector>

using namespace LumoraMeasurement;

namespace
{

using ItemTable = CEnumTemplate<EMeasurementItems>;

EMeasurementItems Item(int iItem)
{
    return static_cast<EMeasurementItems>(iItem);
}

struct SItemRow
{
    int m_iItem;
    long m_lStoredId;
    const char* m_pszText;
    long m_lNumericId; // -1: none
    int m_iValueType;
    int m_iCategory;
    int m_iUnit;
    const char* m_pszProfileName;
    const char* m_pszValueName;
    const char* m_pszValueNameAlt;
};

// The measurement item catalogue, transcribed column by column.
// clang-format off
const SItemRow c_Items[] = {
    {0, 0, "Status", 0, 3, 1, 30, "Status", "Status", ""},
    {1, 1, "Time Stamp", 1, 3, 1, 30, "Time Stamp", "Time Stamp", ""},
    {2, 2, "Internal Reference", 3, 1, 1, 30, "10 MHz Reference", "10 MHz Reference", ""},
    {3, 3, "Reference Level", 4, 2, 1, 3, "Reference Level", "Reference Level", ""},
    {4, 4, "Preamplifier", 5, 1, 1, 30, "Preamp State", "Preamplifier State", "Preamp State"},
    {5, 6, "Attenuation", 7, 2, 1, 20, "Attenuation", "Attenuation", ""},
    {6, 7, "Preselector", 8, 1, 1, 30, "Preselector", "Preselector", ""},
    {7, 8, "Power", 9, 2, 2, 3, "Power", "Power", ""},
    {8, 9, "Carrier Frequency Offset Digital", 10, 2, 2, 11, "Carrier Frequence Offset", "Carrier Frequency Offset", ""},
    {9, 10, "Symbol Rate Offset", 11, 2, 2, 22, "Symbol Rate Offset", "Symbol Rate Offset", ""},
    {10, 11, "Bitrate Offset", 12, 2, 2, 30, "Bit Rate Offset", "Bit Rate Offset", ""},
    {11, 12, "Demod Lock", 13, 1, 2, 30, "Demod Lock", "Demod Lock", ""},
    {12, 13, "MPEG Lock", 14, 1, 2, 30, "MPEG Lock", "MPEG Lock", ""},
    {13, 14, "PLP Lock", 15, 1, 2, 30, "PLP Lock", "PLP Lock", ""},
    {14, 138, "FIC Lock", -1, 1, 2, 30, "", "FIC Lock", ""},
    {15, 15, "MER RMS dB", 16, 2, 2, 20, "MER (RMS) [dB]", "MER (rms) [dB]", ""},
    {16, 16, "MER RMS %", 17, 2, 2, 19, "MER (RMS) [%]", "MER (rms) [%]", ""},
    {17, 17, "MER Peak dB", 18, 2, 2, 20, "MER (peak) [dB]", "MER (peak) [dB]", ""},
    {18, 18, "MER Peak %", 19, 2, 2, 19, "MER (peak) [%]", "MER (peak) [%]", ""},
    {19, 19, "EVM RMS dB", 20, 2, 2, 20, "EVM (RMS) [dB]", "EVM (rms) [dB]", ""},
    {20, 20, "EVM RMS %", 21, 2, 2, 19, "EVM (RMS) [%]", "EVM (rms) [%]", ""},
    {21, 21, "EVM Peak dB", 22, 2, 2, 20, "EVM (peak) [dB]", "EVM (peak) [dB]", ""},
    {22, 22, "EVM Peak %", 23, 2, 2, 19, "EVM (peak) [%]", "EVM (peak) [%]", ""},
    {23, 23, "MERL1 RMS dB", 24, 2, 2, 20, "MER L1 (RMS) [dB]", "MER L1 (rms) [dB]", ""},
    {24, 24, "MERL1 RMS %", 25, 2, 2, 19, "MER L1 (RMS) [%]", "MER L1 (rms) [%]", ""},
    {25, 25, "MERL1 Peak dB", 26, 2, 2, 20, "MER L1 (peak) [dB]", "MER L1 (peak) [dB]", ""},
    {26, 26, "MERL1 Peak %", 27, 2, 2, 19, "MER L1 (peak) [%]", "MER L1 (peak) [%]", ""},
    {27, 27, "MERPLP RMS dB", 28, 2, 2, 20, "MER PLP (RMS) [dB]", "MER PLP (rms) [dB]", ""},
    {28, 28, "MERPLP RMS %", 29, 2, 2, 19, "MER PLP (RMS) [%]", "MER PLP (rms) [%]", ""},
    {29, 29, "MERPLP Peak dB", 30, 2, 2, 20, "MER PLP (peak) [dB]", "MER PLP (peak) [dB]", ""},
    {30, 30, "MERPLP Peak %", 31, 2, 2, 19, "MER PLP (peak) [%]", "MER PLP (peak) [%]", ""},
    {31, 31, "EVMPLP RMS dB", 32, 2, 2, 20, "EVM PLP (RMS) [dB]", "EVM PLP (rms) [dB]", ""},
    {32, 32, "EVMPLP RMS %", 33, 2, 2, 19, "EVM PLP (RMS) [%]", "EVM PLP (rms) [%]", ""},
    {33, 33, "EVMPLP Peak dB", 34, 2, 2, 20, "EVM PLP (peak) [dB]", "EVM PLP (peak) [dB]", ""},
    {34, 34, "EVMPLP Peak %", 35, 2, 2, 19, "EVM PLP (peak) [%]", "EVM PLP (peak) [%]", ""},
    {35, 35, "BER before Viterbi", 36, 2, 2, 30, "BER before Viterbi", "BER before Viterbi", ""},
    {36, 36, "BER before RS", 37, 2, 2, 30, "BER before RS", "BER before RS", ""},
    {37, 37, "BER after RS", 38, 2, 2, 30, "BER after RS", "BER after RS", ""},
    {38, 38, "BER before BCH", 39, 2, 2, 30, "BER before BCH", "BER before BCH", ""},
    {39, 39, "BER before LDPC", 40, 2, 2, 30, "BER before LDPC", "BER before LDPC", ""},
    {40, 40, "LDPC Iteration", 41, 2, 2, 30, "LDPC Iteration", "LDPC Iteration", ""},
    {41, 41, "Packet Errors per second", -1, 1, 2, 30, "", "Packet Errors", ""},
    {42, 139, "Packet Error Ratio", 42, 2, 2, 30, "PER/SER", "Packet Error Ratio", ""},
    {43, 140, "Errored Seconds Ratio", -1, 2, 2, 30, "", "", ""},
    {44, 42, "TS Bitrate", 43, 2, 2, 26, "TS Rate", "TS Rate", ""},
    {45, 43, "Shoulder Attenuation Lower", 44, 2, 2, 20, "Shoulder Atten Lower", "Shoulder Atten Lower", ""},
    {46, 44, "Shoulder Attenuation Upper", 45, 2, 2, 20, "Shoulder Atten Upper", "Shoulder Atten Upper", ""},
    {47, 45, "Phase Jitter", 46, 2, 2, 21, "Phase Jitter", "Phase Jitter", ""},
    {48, 46, "Crest Factor Current", 47, 2, 2, 20, "Crest Factor Current", "Crest Factor Current", "Crest Factor-Current"},
    {49, 47, "Group Delay", 48, 2, 2, 18, "Group Delay", "Group Delay", ""},
    {50, 48, "Amplitude Response", 49, 2, 2, 20, "Amplitude Response", "Amplitude Response", ""},
    {51, 49, "Phase Response", 50, 2, 2, 21, "Phase Response", "Phase Response", ""},
    {52, 50, "IQ Imbalance", 51, 2, 2, 19, "I/Q Imbalance", "I/Q Imbalance", ""},
    {53, 51, "IQ Quad Error", 52, 2, 2, 21, "I/Q Quad Error", "I/Q Quad Error", ""},
    {54, 52, "Carrier Suppression", 53, 2, 2, 20, "Carrier Suppression", "Carrier Suppression", ""},
    {55, 53, "Carrier Phase", 54, 2, 2, 21, "Carrier Phase", "Carrier Phase", ""},
    {56, 54, "SN", 55, 2, 2, 20, "S/N", "S/N", ""},
    {57, 55, "Level Echo 1", 56, 2, 2, 20, "Level Echo 1", "Level Echo 1", ""},
    {58, 56, "Delay Echo 1", 57, 2, 2, 15, "Delay Echo 1", "Delay Echo 1", ""},
    {59, 57, "Level Echo 2", 58, 2, 2, 20, "Level Echo 2", "Level Echo 2", ""},
    {60, 58, "Delay Echo 2", 59, 2, 2, 15, "Delay Echo 2", "Delay Echo 2", ""},
    {61, 59, "Level Echo 3", 60, 2, 2, 20, "Level Echo 3", "Level Echo 3", ""},
    {62, 60, "Delay Echo 3", 61, 2, 2, 15, "Delay Echo 3", "Delay Echo 3", ""},
    {63, 61, "Level Echo 4", 62, 2, 2, 20, "Level Echo 4", "Level Echo 4", ""},
    {64, 62, "Delay Echo 4", 63, 2, 2, 15, "Delay Echo 4", "Delay Echo 4", ""},
    {65, 63, "Level Echo 5", 64, 2, 2, 20, "Level Echo 5", "Level Echo 5", ""},
    {66, 64, "Delay Echo 5", 65, 2, 2, 15, "Delay Echo 5", "Delay Echo 5", ""},
    {67, 65, "Level Echo 6", 66, 2, 2, 20, "Level Echo 6", "Level Echo 6", ""},
    {68, 66, "Delay Echo 6", 67, 2, 2, 15, "Delay Echo 6", "Delay Echo 6", ""},
    {69, 67, "Level Echo 7", 68, 2, 2, 20, "Level Echo 7", "Level Echo 7", ""},
    {70, 68, "Delay Echo 7", 69, 2, 2, 15, "Delay Echo 7", "Delay Echo 7", ""},
    {71, 69, "Level Echo 8", 70, 2, 2, 20, "Level Echo 8", "Level Echo 8", ""},
    {72, 70, "Delay Echo 8", 71, 2, 2, 15, "Delay Echo 8", "Delay Echo 8", ""},
    {73, 71, "Level Echo 9", 72, 2, 2, 20, "Level Echo 9", "Level Echo 9", ""},
    {74, 72, "Delay Echo 9", 73, 2, 2, 15, "Delay Echo 9", "Delay Echo 9", ""},
    {75, 73, "Level Echo 10", 74, 2, 2, 20, "Level Echo 10", "Level Echo 10", ""},
    {76, 74, "Delay Echo 10", 75, 2, 2, 15, "Delay Echo 10", "Delay Echo 10", ""},
    {77, 75, "Vision Carrier Level", 76, 2, 3, 3, "Vision Carrier Level", "Vision Carrier Level", ""},
    {78, 76, "Carrier Frequency Offset", 77, 2, 3, 11, "Carrier Frequency Offset", "Carrier Frequency Offset", ""},
    {79, 77, "Vision Detector", 78, 1, 3, 30, "Vision Detector", "Vision Detector", ""},
    {80, 78, "Luminance Bar Amplitude Error", 79, 2, 3, 19, "Luminance Bar Amplitude Error", "Luminance Bar Amplitude Error", ""},
    {81, 79, "Luminance Bar Amplitude", 80, 2, 3, 19, "Luminance Bar Amplitude", "Luminance Bar Amplitude", ""},
    {82, 80, "SN Video Weighted Bar", 81, 2, 3, 20, "S/N Video Weighted (bar)", "S/N Video Weighted (bar)", ""},
    {83, 81, "SN Video Weighted Nominal", 82, 2, 3, 20, "S/N Video Weighted (nom)", "S/N Video Weighted (nom)", ""},
    {84, 83, "FM1 Sound Carrier", 84, 1, 3, 30, "FM1 Sound Carrier", "FM1 Sound Carrier", ""},
    {85, 84, "FM2 Sound Carrier", 85, 1, 3, 30, "FM2 Sound Carrier", "FM2 Sound Carrier", ""},
    {86, 86, "Modulation Depth", 87, 2, 3, 19, "Modulation Depth", "Modulation Depth", ""},
    {87, 87, "Residual Picture Carrier", 88, 2, 3, 19, "Residual Picture Carrier", "Residual Picture Carrier", ""},
    {88, 90, "FM1 Power Relative", 91, 2, 3, 20, "Vision/FM1 Power relative", "FM1 Power Relative", ""},
    {89, 91, "FM1 Intercarrier Frequency", 92, 2, 3, 11, "FM1 Intercarrier Freq", "FM1 Intercarrier Frequency Offset", "FM1 Intercarrier Freq Offset"},
    {90, 92, "FM2 Power Relative", 93, 2, 3, 20, "Vision/FM2 Power relative", "FM2 Power Relative", ""},
    {91, 93, "FM2 Intercarrier Frequency", 94, 2, 3, 11, "FM2 Intercarrier Freq", "FM2 Intercarrier Frequency Offset", "FM2 Intercarrier Freq Offset"},
    {92, 94, "HUM", 96, 2, 3, 20, "HUM", "HUM", "Hum"},
    {93, 95, "Decode Lock", -1, 1, 4, 30, "", "", ""},
    {94, 96, "Channel Bit Rate", -1, 2, 4, 30, "", "", ""},
    {95, 97, "BER after Viterbi", -1, 2, 4, 30, "", "", ""},
    {96, 103, "CER Corrected", -1, 2, 4, 30, "", "", ""},
    {97, 104, "CER Uncorrected", -1, 2, 4, 30, "", "", ""},
    {98, 108, "PLC Lock", -1, 1, 4, 30, "", "", ""},
    {99, 109, "Occupied Bandwidth", -1, 2, 4, 11, "", "", ""},
    {100, 110, "Signal Power Per 6MHz", -1, 2, 4, 3, "", "", ""},
    {101, 111, "NCPCRC Errors", -1, 2, 4, 30, "", "", ""},
    {102, 112, "Payload DataRate", -1, 2, 4, 30, "", "", ""},
    {103, 113, "MER Overall RMS", -1, 2, 4, 20, "", "", ""},
    {104, 114, "MER Overall Peak", -1, 2, 4, 20, "", "", ""},
    {105, 115, "MER Profile ARMS", -1, 2, 4, 30, "", "", ""},
    {106, 116, "MER Profile APeak", -1, 2, 4, 30, "", "", ""},
    {107, 117, "MER Profile RMS", -1, 2, 4, 30, "", "", ""},
    {108, 118, "MER Profile Peak", -1, 2, 4, 30, "", "", ""},
    {109, 119, "MER Pilot RMS", -1, 2, 4, 30, "", "", ""},
    {110, 120, "MER Pilot Peak", -1, 2, 4, 30, "", "", ""},
    {111, 121, "MER PLC RMS", -1, 2, 4, 30, "", "", ""},
    {112, 122, "MER PLC Peak", -1, 2, 4, 30, "", "", ""},
    {113, 123, "MER NCP RMS", -1, 2, 4, 30, "", "", ""},
    {114, 124, "MER NCP Peak", -1, 2, 4, 30, "", "", ""},
    {115, 125, "MER Zero Bit Loaded RMS", -1, 2, 4, 30, "", "", ""},
    {116, 126, "MER Zero Bit Loaded Peak", -1, 2, 4, 30, "", "", ""},
    {117, 127, "BER PLC", -1, 2, 4, 30, "", "", ""},
    {118, 128, "BER NCP", -1, 2, 4, 30, "", "", ""},
    {119, 129, "CER PLC", -1, 2, 4, 30, "", "", ""},
    {120, 130, "CER NCP", -1, 2, 4, 30, "", "", ""},
    {121, 131, "BER before LPDC", -1, 2, 4, 30, "", "", ""},
    {122, 132, "BER after LPDC", -1, 2, 4, 30, "", "", ""},
    {123, 133, "BER after BCH", -1, 2, 4, 30, "", "", ""},
    {124, 134, "CER after LPDC", -1, 2, 4, 30, "", "", ""},
    {125, 135, "CER after BCH", -1, 2, 4, 30, "", "", ""},
    {126, 136, "Average Payload per Codeword", -1, 2, 4, 30, "", "", ""},
    {127, 137, "Average LPDC Iterations", -1, 2, 4, 30, "", "", ""},
};
// clang-format on

QString CategoryText(int iCategory)
{
    return iCategory == eCategory_Digital ? QStringLiteral("Digital") : QStringLiteral("Analogue");
}

} // namespace

TEST(MeasurementItemCatalogue, EveryItemMatchesTheCatalogue)
{
    ASSERT_EQ(std::size(c_Items), 128u);
    QStringList expectedTexts;
    for (const SItemRow& row : c_Items)
    {
        SCOPED_TRACE(row.m_pszText);
        const EMeasurementItems eItem = Item(row.m_iItem);
        expectedTexts << QString::fromUtf8(row.m_pszText);

        EXPECT_EQ(ItemTable::ToId(eItem), row.m_lStoredId);
        EXPECT_EQ(ItemTable::ToString(eItem), QString::fromUtf8(row.m_pszText));
        EXPECT_EQ(ItemTable::ToEnum(row.m_lStoredId), eItem);
        EXPECT_EQ(CValueFactory::MeasurementItem_GetItemValueType(eItem), row.m_iValueType);
        EXPECT_EQ(CValueFactory::MeasurementItem_GetItemValueCategory(eItem), row.m_iCategory);
        EXPECT_EQ(CValueFactory::MeasurementItem_GetItemUnit(eItem), row.m_iUnit);
        EXPECT_EQ(CValueFactory::MeasurementItem_GetProfileName(eItem),
                  QString::fromUtf8(row.m_pszProfileName));
        EXPECT_EQ(CValueFactory::MeasurementItem_GetNumericId(eItem), row.m_lNumericId);

        if (*row.m_pszProfileName)
        {
            EXPECT_EQ(CEnumConverter::ConvertToEMeasurementItems(row.m_pszProfileName), eItem);
        }
        for (const char* pszName : {row.m_pszValueName, row.m_pszValueNameAlt})
        {
            if (*pszName)
            {
                EXPECT_EQ(CValueFactory::MeasurementItem_GetEnumValue(CategoryText(row.m_iCategory),
                                                                      pszName),
                          eItem)
                    << pszName;
            }
        }
        if (row.m_lNumericId >= 0)
        {
            EXPECT_EQ(CEnumConverter::ConvertEMeasurementItemsToId(eItem), row.m_lNumericId);
            EXPECT_EQ(CEnumConverter::ConvertIdToEMeasurementItems(row.m_lNumericId), eItem);
        }
        else
        {
            // No numeric id of its own: the item is written with HUM's.
            EXPECT_EQ(CEnumConverter::ConvertEMeasurementItemsToId(eItem), 96);
        }
    }
    EXPECT_EQ(ItemTable::ToStringList(), expectedTexts);
}

TEST(MeasurementItemCatalogue, ValuesWithoutItemFallBack)
{
    for (int iValue : {128, 129, 300, -1, -32768})
    {
        SCOPED_TRACE(iValue);
        const EMeasurementItems eItem = Item(iValue);
        EXPECT_EQ(CValueFactory::MeasurementItem_GetItemValueType(eItem), eValueType_Integer);
        EXPECT_EQ(CValueFactory::MeasurementItem_GetItemValueCategory(eItem), eCategory_General);
        EXPECT_EQ(CValueFactory::MeasurementItem_GetItemUnit(eItem), eUnitType_None);
        EXPECT_EQ(CValueFactory::MeasurementItem_GetProfileName(eItem), QString());
        EXPECT_EQ(CEnumConverter::ConvertEMeasurementItemsToId(eItem), 96);
        EXPECT_EQ(ItemTable::ToString(eItem), QString());
        EXPECT_EQ(ItemTable::ToId(eItem), -1);
    }
    EXPECT_EQ(ItemTable::ToEnum(5), eMeasItem_None); // a gap among the stored ids
    EXPECT_EQ(ItemTable::TextToEnum(QStringLiteral("status")), eMeasItem_None);
}

TEST(MeasurementItemCatalogue, ValueListNameLookup)
{
    struct
    {
        const char* m_pszCategory;
        const char* m_pszName;
        int m_iExpected;
    } const rows[] = {
        {"Digital", "Carrier Frequency Offset", 8},
        {"Analogue", "Carrier Frequency Offset", 78},
        {"General", "Carrier Frequency Offset", 78},
        {"digital", "Carrier Frequency Offset", 78}, // the category is compared exactly
        {"Digital", "  Carrier Frequency Offset\t", 8},
        {"", " Hum ", 92},
        {"", "HUM", 92},
        {"", "hum", 128},
        {"", "MER (rms) [dB]", 15},
        {"", "mer (rms) [db]", 128},
        {"", "MER (RMS) [dB]", 128}, // a profile name, not a value-list name
        {"", "Preamp State", 4},
        {"", "Crest Factor-Current", 48},
        {"", "FM2 Intercarrier Freq Offset", 91},
        {"", "Errored Seconds Ratio", 128},
        {"", "Decode Lock", 128},
        {"", "", 128},
        {"", "   ", 128},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(std::string(row.m_pszCategory) + " / " + row.m_pszName);
        EXPECT_EQ(CValueFactory::MeasurementItem_GetEnumValue(row.m_pszCategory, row.m_pszName),
                  row.m_iExpected);
    }
}

TEST(MeasurementItemCatalogue, ProfileNameLookup)
{
    struct
    {
        const char* m_pszName;
        int m_iExpected;
    } const rows[] = {
        {"mer (rms) [db]", 15},
        {"  MER (RMS) [%]  ", 16},
        {"Carrier Frequence Offset", 8},
        {"Carrier Frequency Offset", 78},
        {"vision/fm1 power relative", 88},
        {"hum", 92},
        {"Hardware", 128},
        {"FIC Lock", 128}, // a display text, not a profile name
        {"MER RMS dB", 128},
        {"", 128},
        {" ", 128},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszName);
        EXPECT_EQ(CEnumConverter::ConvertToEMeasurementItems(row.m_pszName), row.m_iExpected);
    }
}

TEST(MeasurementItemCatalogue, ProfileConstantsNameTheirItems)
{
    namespace P = ProfileMeasurementResultsParameter;
    struct
    {
        const QString* m_pConstant;
        int m_iItem;
    } const rows[] = {
        // clang-format off
        {&P::c_sGeneral_Status, 0}, {&P::c_sGeneral_TimeStamp, 1},
        {&P::c_sGeneral_10MHzReference, 2}, {&P::c_sGeneral_ReferenceLevel, 3},
        {&P::c_sGeneral_PreampState, 4}, {&P::c_sGeneral_Attenuation, 5},
        {&P::c_sGeneral_Preselector, 6}, {&P::c_sDigital_Power, 7},
        {&P::c_sDigital_CarrierFrequencyOffset, 8}, {&P::c_sDigital_SymbolRateOffset, 9},
        {&P::c_sDigital_BitRateOffset, 10}, {&P::c_sDigital_DemodLock, 11},
        {&P::c_sDigital_MPEGLock, 12}, {&P::c_sDigital_PLPLock, 13},
        {&P::c_sDigital_MERRMS_dB, 15}, {&P::c_sDigital_MERRMS_Percent, 16},
        {&P::c_sDigital_MERPeak_dB, 17}, {&P::c_sDigital_MERPeak_Percent, 18},
        {&P::c_sDigital_EVMRMS_dB, 19}, {&P::c_sDigital_EVMRMS_Percent, 20},
        {&P::c_sDigital_EVMPeak_dB, 21}, {&P::c_sDigital_EVMPeak_Percent, 22},
        {&P::c_sDigital_MERL1RMS_dB, 23}, {&P::c_sDigital_MERL1RMS_Percent, 24},
        {&P::c_sDigital_MERL1Peak_dB, 25}, {&P::c_sDigital_MERL1Peak_Percent, 26},
        {&P::c_sDigital_MERPLPRMS_dB, 27}, {&P::c_sDigital_MERPLPRMS_Percent, 28},
        {&P::c_sDigital_MERPLPPeak_dB, 29}, {&P::c_sDigital_MERPLPPeak_Percent, 30},
        {&P::c_sDigital_EVMPLPRMS_dB, 31}, {&P::c_sDigital_EVMPLPRMS_Percent, 32},
        {&P::c_sDigital_EVMPLPPeak_dB, 33}, {&P::c_sDigital_EVMPLPPeak_Percent, 34},
        {&P::c_sDigital_BERBeforeViterbi, 35}, {&P::c_sDigital_BERBeforeRS, 36},
        {&P::c_sDigital_BERAfterRS, 37}, {&P::c_sDigital_BERBeforeBCH, 38},
        {&P::c_sDigital_BERBeforeLDPC, 39}, {&P::c_sDigital_LDPCIteration, 40},
        {&P::c_sDigital_PERSER, 42}, {&P::c_sDigital_TSRate, 44},
        {&P::c_sDigital_ShoulderAttenLower, 45}, {&P::c_sDigital_ShoulderAttenUpper, 46},
        {&P::c_sDigital_PhaseJitter, 47}, {&P::c_sDigital_CrestFactorCurrent, 48},
        {&P::c_sDigital_GroupDelay, 49}, {&P::c_sDigital_AmplitudeResponse, 50},
        {&P::c_sDigital_PhaseResponse, 51}, {&P::c_sDigital_IQImbalance, 52},
        {&P::c_sDigital_IQQuadError, 53}, {&P::c_sDigital_CarrierSuppression, 54},
        {&P::c_sDigital_CarrierPhase, 55}, {&P::c_sDigital_SN, 56},
        {&P::c_sDigital_LevelEcho1, 57}, {&P::c_sDigital_DelayEcho1, 58},
        {&P::c_sDigital_LevelEcho2, 59}, {&P::c_sDigital_DelayEcho2, 60},
        {&P::c_sDigital_LevelEcho3, 61}, {&P::c_sDigital_DelayEcho3, 62},
        {&P::c_sDigital_LevelEcho4, 63}, {&P::c_sDigital_DelayEcho4, 64},
        {&P::c_sDigital_LevelEcho5, 65}, {&P::c_sDigital_DelayEcho5, 66},
        {&P::c_sDigital_LevelEcho6, 67}, {&P::c_sDigital_DelayEcho6, 68},
        {&P::c_sDigital_LevelEcho7, 69}, {&P::c_sDigital_DelayEcho7, 70},
        {&P::c_sDigital_LevelEcho8, 71}, {&P::c_sDigital_DelayEcho8, 72},
        {&P::c_sDigital_LevelEcho9, 73}, {&P::c_sDigital_DelayEcho9, 74},
        {&P::c_sDigital_LevelEcho10, 75}, {&P::c_sDigital_DelayEcho10, 76},
        {&P::c_sAnalogue_VisionCarrierLevel, 77}, {&P::c_sAnalogue_CarrierFrequencyOffset, 78},
        {&P::c_sAnalogue_VisionDetector, 79}, {&P::c_sAnalogue_LuminanceBarAmplitudeError, 80},
        {&P::c_sAnalogue_LuminanceBarAmplitude, 81}, {&P::c_sAnalogue_SNVideoWeightedBar, 82},
        {&P::c_sAnalogue_SNVideoWeightedNom, 83}, {&P::c_sAnalogue_FM1SoundCarrier, 84},
        {&P::c_sAnalogue_FM2SoundCarrier, 85}, {&P::c_sAnalogue_ModulationDepth, 86},
        {&P::c_sAnalogue_ResidualPictureCarrier, 87}, {&P::c_sAnalogue_VisionFM1PowerRelative, 88},
        {&P::c_sAnalogue_FM1IntercarrierFreq, 89}, {&P::c_sAnalogue_VisionFM2PowerRelative, 90},
        {&P::c_sAnalogue_FM2IntercarrierFreq, 91}, {&P::c_sAnalogue_HUM, 92},
        {&P::c_sGeneral_Hardware, 128}, {&P::c_sAnalogue_FMSoundCarrier, 128},
        {&P::c_sAnalogue_NICAMCarrier, 128}, {&P::c_sAnalogue_VisionFMPowerRelative, 128},
        {&P::c_sAnalogue_FMIntercarrierFreq, 128}, {&P::c_sAnalogue_VisionNICAMPowerRelative, 128},
        // clang-format on
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pConstant->toStdString());
        const EMeasurementItems eItem = Item(row.m_iItem);
        EXPECT_EQ(CEnumConverter::ConvertToEMeasurementItems(*row.m_pConstant), eItem);
        if (row.m_iItem < 128)
        {
            EXPECT_EQ(*row.m_pConstant, CValueFactory::MeasurementItem_GetProfileName(eItem));
        }
    }
    EXPECT_EQ(P::c_sDigital_MERRMS_dB, QStringLiteral("MER (RMS) [dB]"));
    EXPECT_EQ(P::c_sAnalogue_VisionNICAMPowerRelative,
              QStringLiteral("Vision/NICAM Power relative"));
}

TEST(MeasurementItemCatalogue, NumericIdsWithoutItem)
{
    for (long lId : {-1L, 2L, 6L, 83L, 86L, 89L, 90L, 95L, 97L, 138L, 100000L})
    {
        SCOPED_TRACE(lId);
        EXPECT_EQ(CEnumConverter::ConvertIdToEMeasurementItems(lId), eMeasItem_None);
    }
    // 96 belongs to HUM, even though items without an id of their own are written with it.
    EXPECT_EQ(CEnumConverter::ConvertIdToEMeasurementItems(96), eMeasItem_HUM);
}

TEST(MeasurementItemCatalogue, ProfileValueTexts)
{
    // Texts of the values 0, 1, ... of each state-like item; any other value is "unknown".
    struct
    {
        int m_iItem;
        std::vector<const char*> m_Texts;
    } const rows[] = {
        {0, {"Un-measured", "Synchronising", "Measuring", "Done", "Control Error"}},
        {2, {"UNLOCKED", "LOCKED"}},
        {4, {"OFF", "ON"}},
        {5, {"0dB", "1", "2", "3"}},
        {6, {"NOT USED", "USED"}},
        {11, {"UNLOCKED", "LOCKED", "INTERMITTENT"}},
        {12, {"UNLOCKED", "LOCKED", "INTERMITTENT"}},
        {13, {"UNLOCKED", "LOCKED", "INTERMITTENT"}},
        {79, {"UNLOCKED", "LOCKED"}},
        {84, {"PRESENT", "MISSING"}},
        {85, {"PRESENT", "MISSING"}},
        {98, {"UNLOCKED", "LOCKED", "INTERMITTENT"}},
        {1, {}},
        {3, {}},
        {14, {}},
        {93, {}},
        {99, {}},
        {128, {}},
    };
    for (const auto& row : rows)
    {
        const EMeasurementItems eItem = Item(row.m_iItem);
        const short iCount = static_cast<short>(row.m_Texts.size());
        for (short iValue = -1; iValue <= iCount; ++iValue)
        {
            SCOPED_TRACE(std::to_string(row.m_iItem) + "/" + std::to_string(iValue));
            const bool bListed = iValue >= 0 && iValue < iCount;
            EXPECT_EQ(
                CEnumConverter::ConvertProfileEnumValueForEMeasurementItemsToString(eItem, iValue),
                QString::fromLatin1(bListed ? row.m_Texts[iValue] : "unknown"));
        }
    }
}

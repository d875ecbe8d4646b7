// Every representation table against the catalogue, row by row, and the lookups of each
// table including their fallbacks.
#include "CEnumTemplate.h"
#include "EAcquisitionMode.h"
#include "EAnalogGroupDelay.h"
#include "EAnalogSoundSystem.h"
#include "EAverageCount.h"
#include "EBERMode.h"
#include "EBERSource.h"
#include "ECategory.h"
#include "EChannelBandwidth.h"
#include "EChannelProfile.h"
#include "EColorSystem.h"
#include "ECompareType.h"
#include "EComparisonState.h"
#include "ECyclicPrefixLength.h"
#include "EDTMBFrameHeader.h"
#include "EDTMBModulation.h"
#include "EDVBT2Profiles.h"
#include "EDigitalConstellation.h"
#include "EEqualizer.h"
#include "EFECMode.h"
#include "EISDBTLayer.h"
#include "EInstrument.h"
#include "EInstrumentReference.h"
#include "ELocked.h"
#include "EMERSign.h"
#include "EMeasurementErrorStrategie.h"
#include "EMeasurementType.h"
#include "EOnOff.h"
#include "EPhaseTrack.h"
#include "EPresent.h"
#include "ERefLevelMode.h"
#include "ERestorationDeviceSettings.h"
#include "ERollOffFactor.h"
#include "ERollOffPeriod.h"
#include "EScanState.h"
#include "ESideBandPosition.h"
#include "ESignal.h"
#include "ESignalTransmission.h"
#include "ESubCarrierSpacing.h"
#include "ETVStandards.h"
#include "ETestDepth.h"
#include "ETestLineField.h"
#include "ETestLineType.h"
#include "EYesNo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace LumoraMeasurement;

namespace
{

struct SRow
{
    int m_iValue;
    long m_lId;
    const char* m_pszText;
};

struct SCatalogueCase
{
    const char* m_pszName;
    void (*m_pfnCheck)(const SCatalogueCase&);
    int m_iSentinel;
    std::vector<SRow> m_Rows;
};

template <typename E> void CheckTable(const SCatalogueCase& c)
{
    using T = CEnumTemplate<E>;
    const auto& table = CRepresentation<E>::Table();
    ASSERT_EQ(table.size(), static_cast<int>(c.m_Rows.size()));

    QStringList texts;
    int iLargest = -1;
    for (size_t i = 0; i < c.m_Rows.size(); ++i)
    {
        const SRow& row = c.m_Rows[i];
        const QString sText = QString::fromUtf8(row.m_pszText);
        SCOPED_TRACE(sText.toStdString());
        const int iRow = static_cast<int>(i);
        EXPECT_EQ(static_cast<int>(table[iRow].m_eEnumValue), row.m_iValue);
        EXPECT_EQ(table[iRow].m_lId, row.m_lId);
        EXPECT_EQ(table[iRow].m_sText.toStdString(), row.m_pszText);

        EXPECT_EQ(static_cast<int>(T::ToEnum(row.m_lId)), row.m_iValue);
        EXPECT_EQ(T::IdToString(row.m_lId).toStdString(), row.m_pszText);
        EXPECT_EQ(static_cast<int>(T::TextToEnum(sText)), row.m_iValue);

        // ToString and ToId answer from the first row carrying the enumerator.
        size_t first = 0;
        while (c.m_Rows[first].m_iValue != row.m_iValue)
        {
            ++first;
        }
        EXPECT_EQ(T::ToString(static_cast<E>(row.m_iValue)).toStdString(),
                  c.m_Rows[first].m_pszText);
        EXPECT_EQ(T::ToId(static_cast<E>(row.m_iValue)), c.m_Rows[first].m_lId);

        texts.append(sText);
        iLargest = std::max(iLargest, row.m_iValue);
    }
    EXPECT_EQ(T::ToStringList().join(QLatin1Char('|')).toStdString(),
              texts.join(QLatin1Char('|')).toStdString());

    EXPECT_EQ(c.m_iSentinel, iLargest + 1);
    const E eSentinel = static_cast<E>(c.m_iSentinel);
    EXPECT_EQ(T::Sentinel(), eSentinel);
    EXPECT_TRUE(T::ToString(eSentinel).isNull());
    EXPECT_EQ(T::ToId(eSentinel), -1);
    EXPECT_EQ(T::ToEnum(-1), eSentinel);
    EXPECT_EQ(T::ToEnum(1000), eSentinel);
    EXPECT_TRUE(T::IdToString(1000).isNull());
    EXPECT_EQ(T::TextToEnum(QString()), eSentinel);
    // Text matching is exact: neither padding nor another letter case is accepted.
    const QString sFirst = QString::fromUtf8(c.m_Rows.front().m_pszText);
    EXPECT_EQ(T::TextToEnum(sFirst + QLatin1Char(' ')), eSentinel);
    if (sFirst.toUpper() != sFirst)
    {
        EXPECT_EQ(T::TextToEnum(sFirst.toUpper()), eSentinel);
    }
}

// Enumerator, stored id and display text of every row, in table order.
// clang-format off
const std::vector<SCatalogueCase>& Catalogue()
{
    static const std::vector<SCatalogueCase> s_Cases = {
    {"EAnalogGroupDelay", &CheckTable<EAnalogGroupDelay>, eAnalogGroupDelay_None,
     {
      {0, 0, "General"}, {1, 1, "GeneralHalf"}, {2, 2, "Australia"}, {3, 3, "Denmark"},
      {4, 4, "NewZealand"}, {5, 5, "Norway"}, {6, 6, "SwedenFull"}, {7, 7, "Flat"}, {8, 8, "Oirt"},
      {9, 9, "Oirt75"}, {10, 10, "Oirt83"}, {11, 11, "CCIR"}, {12, 12, "TDF"}, {13, 13, "K1"},
      {14, 14, "FCC"}
     }},
    {"ESideBandPosition", &CheckTable<ESideBandPosition>, eSideBandPosition_None,
     {
      {0, 0, "Automatic"}, {1, 1, "Normal"}, {2, 2, "Inverted"}
     }},
    {"EAnalogSoundSystem", &CheckTable<EAnalogSoundSystem>, eAnalogSoundSystem_None,
     {
      {0, 0, "FM 5.5 MHz / NICAM 5.85 MHz"}, {1, 1, "FM 5.5 MHz / FM 5.742 MHz"},
      {2, 2, "FM 5.5 MHz MONO"}, {3, 3, "FM 6.5 MHz / NICAM 5.85 MHz"},
      {4, 4, "FM 6.5 MHz / FM 6.258 MHz"}, {5, 5, "FM 6.5 MHz / FM 6.742 MHz"},
      {6, 6, "FM 6.5 MHz MONO"}, {7, 7, "FM 6.0 MHz / NICAM 6.552 MHz"}, {8, 8, "FM 6.0 MHz MONO"},
      {9, 9, "FM 4.5 MHz / BTSC"}, {10, 10, "FM 4.5 MHz / EIA_J"},
      {11, 11, "FM 4.5 MHz / FM 4.724 MHz"}, {12, 12, "FM 4.5 MHz MONO"}, {13, 13, "AM 6.5 MHz"}
     }},
    {"ECategory", &CheckTable<ECategory>, eCategory_None,
     {
      {1, 0, "General"}, {3, 1, "Analog"}, {2, 2, "Digital"}, {4, 3, "Docsis"}
     }},
    {"EColorSystem", &CheckTable<EColorSystem>, eColorSystem_None,
     {
      {0, 0, "PAL"}, {1, 1, "SECAM"}, {2, 2, "NTSC"}
     }},
    {"EComparisonState", &CheckTable<EComparisonState>, eComparisonState_None,
     {
      {0, 0, "Ok"}, {1, 1, "Not Ok"}, {2, 2, "Not Implemented"}, {3, 3, "Not measured"}
     }},
    {"EInstrument", &CheckTable<EInstrument>, eInstrument_None,
     {
      {0, 0, "Arv"}, {1, 1, "Bex"}
     }},
    {"EMeasurementErrorStrategie", &CheckTable<EMeasurementErrorStrategie>, eMeasurementErrorStrategie_None,
     {
      {2, 0, "Ignore error, continue measurement"}, {1, 1, "Repeat measurement after error"},
      {0, 2, "Stop after error"}
     }},
    {"EMeasurementType", &CheckTable<EMeasurementType>, eMeasurementType_None,
     {
      {0, 0, "Preparation Measurement"}, {1, 1, "Analog Tv Measurement"},
      {2, 2, "Digital Measurement"}, {3, 3, "Restoration Measurement"}
     }},
    {"ESignalTransmission", &CheckTable<ESignalTransmission>, eSignalTransmission_None,
     {
      {0, 0, "Digital"}, {1, 1, "Analog"}
     }},
    {"ETVStandards", &CheckTable<ETVStandards>, eTVStandard_None,
     {
      {0, 0, "B/G Pal (analog)"}, {1, 1, "B/G Secam (analog)"}, {2, 2, "D/K Pal (analog)"},
      {3, 3, "D/K Secam (analog)"}, {4, 4, "I Pal (analog)"}, {5, 5, "K1 Secam (analog)"},
      {6, 6, "M Pal (analog)"}, {7, 7, "M NTSC (analog)"}, {8, 8, "N Pal (analog)"},
      {9, 9, "DVB-C / J83/A (digital)"}, {10, 10, "J83/B (digital)"}, {11, 11, "J83/C (digital)"},
      {13, 14, "DVB-T (digital)"}, {14, 12, "DVB-T2 (digital)"}, {15, 15, "ATSC / 8VSB (digital)"},
      {16, 22, "ATSC / MDTV (digital)"}, {12, 13, "DTMB (digital)"},
      {17, 16, "T-DMB / DAB (digital)"}, {18, 17, "ISDB-T (digital)"},
      {19, 18, "EuroDOCSIS 3.0 (digital)"}, {20, 19, "DOCSIS 3.0 (digital)"},
      {21, 20, "DOCSIS 3.0 J.83/C (digital)"}, {22, 21, "DOCSIS 3.1 (digital)"}
     }},
    {"EInstrumentReference", &CheckTable<EInstrumentReference>, eInstrumentReference_None,
     {
      {0, 0, "Internal reference 10 MHz (ARV, BEX)"},
      {1, 2, "External reference 10 MHz (ARV, BEX)"}, {2, 1, "External reference 10.24 MHz (BEX)"}
     }},
    {"ECompareType", &CheckTable<ECompareType>, eCompareType_None,
     {
      {0, 0, "Not Used"}, {1, 1, "Equal"}, {2, 2, "Not Equal"}, {3, 3, "Between"}, {4, 4, "Lower"},
      {5, 5, "Higher"}
     }},
    {"ELocked", &CheckTable<ELocked>, eLocked_None,
     {
      {0, 0, "Locked"}, {1, 1, "Unlocked"}
     }},
    {"EOnOff", &CheckTable<EOnOff>, eOnOff_None,
     {
      {0, 0, "On"}, {1, 1, "Off"}
     }},
    {"EPresent", &CheckTable<EPresent>, ePresent_None,
     {
      {0, 0, "Present"}, {1, 1, "Missing"}
     }},
    {"ERefLevelMode", &CheckTable<ERefLevelMode>, eRefLevelMode_None,
     {
      {0, 0, "Manual"}, {1, 1, "Automatic"}, {2, 2, "Automatic Time Optimized"}
     }},
    {"EDigitalConstellation", &CheckTable<EDigitalConstellation>, eDigitalConstellation_None,
     {
      {0, 0, "QAM4"}, {1, 1, "QAM16"}, {2, 2, "QAM32"}, {3, 3, "QAM64"}, {4, 4, "QAM128"},
      {5, 5, "QAM256"}, {6, 6, "QPSK"}, {7, 7, "QAM16NH"}, {8, 8, "QAM16H1"}, {9, 9, "QAM16H2"},
      {10, 10, "QAM16H4"}, {11, 12, "QAM64NH"}, {12, 13, "QAM64H1"}, {13, 14, "QAM64H2"},
      {14, 15, "QAM64H4"}, {15, 17, "QAM4NR"}, {16, 18, "BPSK"}, {17, 19, "VSB"}
     }},
    {"ERollOffFactor", &CheckTable<ERollOffFactor>, eRollOffFactor_None,
     {
      {0, 0, "Auto"}, {10, 1, "0.115"}, {1, 2, "0.12"}, {2, 3, "0.13"}, {3, 4, "0.14"},
      {4, 5, "0.15"}, {5, 6, "0.16"}, {6, 7, "0.17"}, {7, 8, "0.18"}, {8, 9, "0.19"},
      {9, 10, "0.20"}
     }},
    {"ERollOffPeriod", &CheckTable<ERollOffPeriod>, eRollOffPeriod_None,
     {
      {0, 0, "0"}, {1, 1, "0.3125"}, {2, 2, "0.625"}, {2, 3, "0.9375"}, {2, 4, "1.25"}
     }},
    {"ETestLineType", &CheckTable<ETestLineType>, eTestLineType_None,
     {
      {0, 0, "CCIR17"}, {2, 1, "FCC Composite"}, {1, 2, "NTC7 Composite"}
     }},
    {"ETestLineField", &CheckTable<ETestLineField>, eTestLineField_None,
     {
      {0, 0, "Field 1"}, {1, 1, "Field 2"}
     }},
    {"ESignal", &CheckTable<ESignal>, eSignal_None,
     {
      {0, 0, "Positv"}, {1, 1, "Negative"}
     }},
    {"EEqualizer", &CheckTable<EEqualizer>, eEqualizer_None,
     {
      {0, 0, "On"}, {1, 1, "Off"}, {2, 2, "Freeze"}
     }},
    {"EPhaseTrack", &CheckTable<EPhaseTrack>, ePhaseTrack_None,
     {
      {0, 0, "1 kHz"}, {1, 1, "6 kHz"}, {2, 2, "60 kHz"}
     }},
    {"EFECMode", &CheckTable<EFECMode>, eFECMode_None,
     {
      {0, 0, "A"}, {1, 1, "B"}, {2, 2, "C"}
     }},
    {"EChannelProfile", &CheckTable<EChannelProfile>, eChannelProfile_None,
     {
      {0, 0, "All"}, {1, 1, "A"}, {2, 2, "B"}, {3, 3, "C"}, {4, 4, "D"}, {5, 5, "E"}, {6, 6, "F"},
      {7, 7, "G"}, {8, 8, "H"}, {9, 9, "I"}, {10, 10, "J"}, {11, 11, "K"}, {12, 12, "L"},
      {13, 13, "M"}, {14, 14, "N"}, {15, 15, "O"}, {16, 16, "P"}
     }},
    {"EBERMode", &CheckTable<EBERMode>, eBERMode_None,
     {
      {0, 0, "Automatic"}, {1, 1, "Manual"}, {2, 2, "Semi Automatic"}
     }},
    {"EBERSource", &CheckTable<EBERSource>, eBERSource_None,
     {
      {0, 0, "MACLFSR Test Sequence"}, {1, 1, "PN23 Test Sequence"}, {2, 2, "Estimate from FEC"}
     }},
    {"ETestDepth", &CheckTable<ETestDepth>, eTestDepth_None,
     {
      {0, 0, "Test Depth 1"}, {1, 1, "Test Depth 10"}, {2, 2, "Test Depth 100"},
      {3, 3, "Test Depth 1K"}, {4, 4, "Test Depth 10K"}, {5, 5, "Test Depth 100K"},
      {6, 6, "Test Depth 1G"}
     }},
    {"EAcquisitionMode", &CheckTable<EAcquisitionMode>, eAcquisitionMode_None,
     {
      {1, 0, "Manual"}, {0, 1, "Automatic"}
     }},
    {"ESubCarrierSpacing", &CheckTable<ESubCarrierSpacing>, eSubCarrierSpacing_None,
     {
      {0, 0, "50 kHz / 4k FFT"}, {1, 1, "25 kHz / 8K FFT"}
     }},
    {"ECyclicPrefixLength", &CheckTable<ECyclicPrefixLength>, eCyclicPrefixLength_None,
     {
      {0, 0, "0.9375 μs"}, {1, 1, "1.25 μs"}, {2, 2, "2.50 μs"}, {3, 3, "3.75 μs"},
      {4, 4, "5.00 μs"}
     }},
    {"EChannelBandwidth", &CheckTable<EChannelBandwidth>, eChannelBandwidth_None,
     {
      {0, 0, "1.7 MHz"}, {1, 1, "5 MHz"}, {2, 2, "6 MHz"}, {3, 3, "7 MHz"}, {4, 4, "8 MHz"}
     }},
    {"EScanState", &CheckTable<EScanState>, eScanState_None,
     {
      {0, 0, "Success"}, {1, 1, "SCPI Error Occured"}, {2, 2, "Measurement Error Occured"}
     }},
    {"EMERSign", &CheckTable<EMERSign>, eMERSign_None,
     {
      {0, 0, "Positive"}, {1, 1, "Negative"}
     }},
    {"ERestorationDeviceSettings", &CheckTable<ERestorationDeviceSettings>, eRestorationDeviceSettings_None,
     {
      {0, 0, "Keep the current device settings after measurement"},
      {1, 1, "Restore saved device settings after measurement"}
     }},
    {"EYesNo", &CheckTable<EYesNo>, eYesNo_None,
     {
      {0, 0, "Yes"}, {1, 1, "No"}
     }},
    {"EISDBTLayer", &CheckTable<EISDBTLayer>, eISDBTLayer_None,
     {
      {0, 0, "A"}, {1, 1, "B"}, {2, 2, "C"}, {3, 3, "A+B+C"}
     }},
    {"EDTMBModulation", &CheckTable<EDTMBModulation>, eDTMBModulation_None,
     {
      {0, 0, "Multi Carrier"}, {1, 1, "Single Carrier"}, {2, 2, "Auto"}
     }},
    {"EDTMBFrameHeader", &CheckTable<EDTMBFrameHeader>, eDTMBFrameHeader_None,
     {
      {0, 0, "G420"}, {1, 1, "G595"}, {2, 2, "G945"}
     }},
    {"EDVBT2Profiles", &CheckTable<EDVBT2Profiles>, eDVBT2Profiles_None,
     {
      {0, 0, "T2-base"}, {1, 1, "T2-lite"}
     }},
    {"EAverageCount", &CheckTable<EAverageCount>, eAverageCount_None,
     {
      {0, 0, "0"}, {1, 4, "4"}, {2, 8, "8"}, {3, 16, "16"}, {4, 32, "32"}, {5, 64, "64"},
      {6, 128, "128"}, {7, 256, "256"}
     }},
    };
    return s_Cases;
}
// clang-format on

} // namespace

TEST(EnumCatalogue, EveryTableMatchesTheCatalogue)
{
    EXPECT_EQ(Catalogue().size(), 43u);
    for (const SCatalogueCase& c : Catalogue())
    {
        SCOPED_TRACE(c.m_pszName);
        c.m_pfnCheck(c);
    }
}

#include "CValueFactory.h"

#include "CEnumTemplate.h"

namespace LumoraMeasurement
{

namespace
{

struct SMeasurementItemRow
{
    EValueType m_eValueType;
    EUnitTypes m_eUnit;
    const char* m_pszProfileName;  ///< nullptr: no profile name
    const char* m_pszValueName;    ///< nullptr: no value-list name
    const char* m_pszValueNameAlt; ///< a second value-list name, or nullptr
    long m_lNumericId;             ///< -1: no numeric id
};

// One row per measurement item, in item order.
// clang-format off
constexpr SMeasurementItemRow c_MeasurementItems[] = {
    {eValueType_Text, eUnitType_None, "Status", "Status", nullptr, 0}, // 0 Status
    {eValueType_Text, eUnitType_None, "Time Stamp", "Time Stamp", nullptr, 1}, // 1 Time Stamp
    {eValueType_Integer, eUnitType_None, "10 MHz Reference", "10 MHz Reference", nullptr, 3}, // 2 Internal Reference
    {eValueType_Float, eUnitType_dBmV, "Reference Level", "Reference Level", nullptr, 4}, // 3 Reference Level
    {eValueType_Integer, eUnitType_None, "Preamp State", "Preamplifier State", "Preamp State", 5}, // 4 Preamplifier
    {eValueType_Float, eUnitType_dB, "Attenuation", "Attenuation", nullptr, 7}, // 5 Attenuation
    {eValueType_Integer, eUnitType_None, "Preselector", "Preselector", nullptr, 8}, // 6 Preselector
    {eValueType_Float, eUnitType_dBmV, "Power", "Power", nullptr, 9}, // 7 Power
    {eValueType_Float, eUnitType_Hz, "Carrier Frequence Offset", "Carrier Frequency Offset", nullptr, 10}, // 8 Carrier Frequency Offset Digital
    {eValueType_Float, eUnitType_SymbolPerSec, "Symbol Rate Offset", "Symbol Rate Offset", nullptr, 11}, // 9 Symbol Rate Offset
    {eValueType_Float, eUnitType_None, "Bit Rate Offset", "Bit Rate Offset", nullptr, 12}, // 10 Bitrate Offset
    {eValueType_Integer, eUnitType_None, "Demod Lock", "Demod Lock", nullptr, 13}, // 11 Demod Lock
    {eValueType_Integer, eUnitType_None, "MPEG Lock", "MPEG Lock", nullptr, 14}, // 12 MPEG Lock
    {eValueType_Integer, eUnitType_None, "PLP Lock", "PLP Lock", nullptr, 15}, // 13 PLP Lock
    {eValueType_Integer, eUnitType_None, nullptr, "FIC Lock", nullptr, -1}, // 14 FIC Lock
    {eValueType_Float, eUnitType_dB, "MER (RMS) [dB]", "MER (rms) [dB]", nullptr, 16}, // 15 MER RMS dB
    {eValueType_Float, eUnitType_Percent, "MER (RMS) [%]", "MER (rms) [%]", nullptr, 17}, // 16 MER RMS %
    {eValueType_Float, eUnitType_dB, "MER (peak) [dB]", "MER (peak) [dB]", nullptr, 18}, // 17 MER Peak dB
    {eValueType_Float, eUnitType_Percent, "MER (peak) [%]", "MER (peak) [%]", nullptr, 19}, // 18 MER Peak %
    {eValueType_Float, eUnitType_dB, "EVM (RMS) [dB]", "EVM (rms) [dB]", nullptr, 20}, // 19 EVM RMS dB
    {eValueType_Float, eUnitType_Percent, "EVM (RMS) [%]", "EVM (rms) [%]", nullptr, 21}, // 20 EVM RMS %
    {eValueType_Float, eUnitType_dB, "EVM (peak) [dB]", "EVM (peak) [dB]", nullptr, 22}, // 21 EVM Peak dB
    {eValueType_Float, eUnitType_Percent, "EVM (peak) [%]", "EVM (peak) [%]", nullptr, 23}, // 22 EVM Peak %
    {eValueType_Float, eUnitType_dB, "MER L1 (RMS) [dB]", "MER L1 (rms) [dB]", nullptr, 24}, // 23 MERL1 RMS dB
    {eValueType_Float, eUnitType_Percent, "MER L1 (RMS) [%]", "MER L1 (rms) [%]", nullptr, 25}, // 24 MERL1 RMS %
    {eValueType_Float, eUnitType_dB, "MER L1 (peak) [dB]", "MER L1 (peak) [dB]", nullptr, 26}, // 25 MERL1 Peak dB
    {eValueType_Float, eUnitType_Percent, "MER L1 (peak) [%]", "MER L1 (peak) [%]", nullptr, 27}, // 26 MERL1 Peak %
    {eValueType_Float, eUnitType_dB, "MER PLP (RMS) [dB]", "MER PLP (rms) [dB]", nullptr, 28}, // 27 MERPLP RMS dB
    {eValueType_Float, eUnitType_Percent, "MER PLP (RMS) [%]", "MER PLP (rms) [%]", nullptr, 29}, // 28 MERPLP RMS %
    {eValueType_Float, eUnitType_dB, "MER PLP (peak) [dB]", "MER PLP (peak) [dB]", nullptr, 30}, // 29 MERPLP Peak dB
    {eValueType_Float, eUnitType_Percent, "MER PLP (peak) [%]", "MER PLP (peak) [%]", nullptr, 31}, // 30 MERPLP Peak %
    {eValueType_Float, eUnitType_dB, "EVM PLP (RMS) [dB]", "EVM PLP (rms) [dB]", nullptr, 32}, // 31 EVMPLP RMS dB
    {eValueType_Float, eUnitType_Percent, "EVM PLP (RMS) [%]", "EVM PLP (rms) [%]", nullptr, 33}, // 32 EVMPLP RMS %
    {eValueType_Float, eUnitType_dB, "EVM PLP (peak) [dB]", "EVM PLP (peak) [dB]", nullptr, 34}, // 33 EVMPLP Peak dB
    {eValueType_Float, eUnitType_Percent, "EVM PLP (peak) [%]", "EVM PLP (peak) [%]", nullptr, 35}, // 34 EVMPLP Peak %
    {eValueType_Float, eUnitType_None, "BER before Viterbi", "BER before Viterbi", nullptr, 36}, // 35 BER before Viterbi
    {eValueType_Float, eUnitType_None, "BER before RS", "BER before RS", nullptr, 37}, // 36 BER before RS
    {eValueType_Float, eUnitType_None, "BER after RS", "BER after RS", nullptr, 38}, // 37 BER after RS
    {eValueType_Float, eUnitType_None, "BER before BCH", "BER before BCH", nullptr, 39}, // 38 BER before BCH
    {eValueType_Float, eUnitType_None, "BER before LDPC", "BER before LDPC", nullptr, 40}, // 39 BER before LDPC
    {eValueType_Float, eUnitType_None, "LDPC Iteration", "LDPC Iteration", nullptr, 41}, // 40 LDPC Iteration
    {eValueType_Integer, eUnitType_None, nullptr, "Packet Errors", nullptr, -1}, // 41 Packet Errors per second
    {eValueType_Float, eUnitType_None, "PER/SER", "Packet Error Ratio", nullptr, 42}, // 42 Packet Error Ratio
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 43 Errored Seconds Ratio
    {eValueType_Float, eUnitType_BitPerSec, "TS Rate", "TS Rate", nullptr, 43}, // 44 TS Bitrate
    {eValueType_Float, eUnitType_dB, "Shoulder Atten Lower", "Shoulder Atten Lower", nullptr, 44}, // 45 Shoulder Attenuation Lower
    {eValueType_Float, eUnitType_dB, "Shoulder Atten Upper", "Shoulder Atten Upper", nullptr, 45}, // 46 Shoulder Attenuation Upper
    {eValueType_Float, eUnitType_Deg, "Phase Jitter", "Phase Jitter", nullptr, 46}, // 47 Phase Jitter
    {eValueType_Float, eUnitType_dB, "Crest Factor Current", "Crest Factor Current", "Crest Factor-Current", 47}, // 48 Crest Factor Current
    {eValueType_Float, eUnitType_ns, "Group Delay", "Group Delay", nullptr, 48}, // 49 Group Delay
    {eValueType_Float, eUnitType_dB, "Amplitude Response", "Amplitude Response", nullptr, 49}, // 50 Amplitude Response
    {eValueType_Float, eUnitType_Deg, "Phase Response", "Phase Response", nullptr, 50}, // 51 Phase Response
    {eValueType_Float, eUnitType_Percent, "I/Q Imbalance", "I/Q Imbalance", nullptr, 51}, // 52 IQ Imbalance
    {eValueType_Float, eUnitType_Deg, "I/Q Quad Error", "I/Q Quad Error", nullptr, 52}, // 53 IQ Quad Error
    {eValueType_Float, eUnitType_dB, "Carrier Suppression", "Carrier Suppression", nullptr, 53}, // 54 Carrier Suppression
    {eValueType_Float, eUnitType_Deg, "Carrier Phase", "Carrier Phase", nullptr, 54}, // 55 Carrier Phase
    {eValueType_Float, eUnitType_dB, "S/N", "S/N", nullptr, 55}, // 56 SN
    {eValueType_Float, eUnitType_dB, "Level Echo 1", "Level Echo 1", nullptr, 56}, // 57 Level Echo 1
    {eValueType_Float, eUnitType_s, "Delay Echo 1", "Delay Echo 1", nullptr, 57}, // 58 Delay Echo 1
    {eValueType_Float, eUnitType_dB, "Level Echo 2", "Level Echo 2", nullptr, 58}, // 59 Level Echo 2
    {eValueType_Float, eUnitType_s, "Delay Echo 2", "Delay Echo 2", nullptr, 59}, // 60 Delay Echo 2
    {eValueType_Float, eUnitType_dB, "Level Echo 3", "Level Echo 3", nullptr, 60}, // 61 Level Echo 3
    {eValueType_Float, eUnitType_s, "Delay Echo 3", "Delay Echo 3", nullptr, 61}, // 62 Delay Echo 3
    {eValueType_Float, eUnitType_dB, "Level Echo 4", "Level Echo 4", nullptr, 62}, // 63 Level Echo 4
    {eValueType_Float, eUnitType_s, "Delay Echo 4", "Delay Echo 4", nullptr, 63}, // 64 Delay Echo 4
    {eValueType_Float, eUnitType_dB, "Level Echo 5", "Level Echo 5", nullptr, 64}, // 65 Level Echo 5
    {eValueType_Float, eUnitType_s, "Delay Echo 5", "Delay Echo 5", nullptr, 65}, // 66 Delay Echo 5
    {eValueType_Float, eUnitType_dB, "Level Echo 6", "Level Echo 6", nullptr, 66}, // 67 Level Echo 6
    {eValueType_Float, eUnitType_s, "Delay Echo 6", "Delay Echo 6", nullptr, 67}, // 68 Delay Echo 6
    {eValueType_Float, eUnitType_dB, "Level Echo 7", "Level Echo 7", nullptr, 68}, // 69 Level Echo 7
    {eValueType_Float, eUnitType_s, "Delay Echo 7", "Delay Echo 7", nullptr, 69}, // 70 Delay Echo 7
    {eValueType_Float, eUnitType_dB, "Level Echo 8", "Level Echo 8", nullptr, 70}, // 71 Level Echo 8
    {eValueType_Float, eUnitType_s, "Delay Echo 8", "Delay Echo 8", nullptr, 71}, // 72 Delay Echo 8
    {eValueType_Float, eUnitType_dB, "Level Echo 9", "Level Echo 9", nullptr, 72}, // 73 Level Echo 9
    {eValueType_Float, eUnitType_s, "Delay Echo 9", "Delay Echo 9", nullptr, 73}, // 74 Delay Echo 9
    {eValueType_Float, eUnitType_dB, "Level Echo 10", "Level Echo 10", nullptr, 74}, // 75 Level Echo 10
    {eValueType_Float, eUnitType_s, "Delay Echo 10", "Delay Echo 10", nullptr, 75}, // 76 Delay Echo 10
    {eValueType_Float, eUnitType_dBmV, "Vision Carrier Level", "Vision Carrier Level", nullptr, 76}, // 77 Vision Carrier Level
    {eValueType_Float, eUnitType_Hz, "Carrier Frequency Offset", "Carrier Frequency Offset", nullptr, 77}, // 78 Carrier Frequency Offset
    {eValueType_Integer, eUnitType_None, "Vision Detector", "Vision Detector", nullptr, 78}, // 79 Vision Detector
    {eValueType_Float, eUnitType_Percent, "Luminance Bar Amplitude Error", "Luminance Bar Amplitude Error", nullptr, 79}, // 80 Luminance Bar Amplitude Error
    {eValueType_Float, eUnitType_Percent, "Luminance Bar Amplitude", "Luminance Bar Amplitude", nullptr, 80}, // 81 Luminance Bar Amplitude
    {eValueType_Float, eUnitType_dB, "S/N Video Weighted (bar)", "S/N Video Weighted (bar)", nullptr, 81}, // 82 SN Video Weighted Bar
    {eValueType_Float, eUnitType_dB, "S/N Video Weighted (nom)", "S/N Video Weighted (nom)", nullptr, 82}, // 83 SN Video Weighted Nominal
    {eValueType_Integer, eUnitType_None, "FM1 Sound Carrier", "FM1 Sound Carrier", nullptr, 84}, // 84 FM1 Sound Carrier
    {eValueType_Integer, eUnitType_None, "FM2 Sound Carrier", "FM2 Sound Carrier", nullptr, 85}, // 85 FM2 Sound Carrier
    {eValueType_Float, eUnitType_Percent, "Modulation Depth", "Modulation Depth", nullptr, 87}, // 86 Modulation Depth
    {eValueType_Float, eUnitType_Percent, "Residual Picture Carrier", "Residual Picture Carrier", nullptr, 88}, // 87 Residual Picture Carrier
    {eValueType_Float, eUnitType_dB, "Vision/FM1 Power relative", "FM1 Power Relative", nullptr, 91}, // 88 FM1 Power Relative
    {eValueType_Float, eUnitType_Hz, "FM1 Intercarrier Freq", "FM1 Intercarrier Frequency Offset", "FM1 Intercarrier Freq Offset", 92}, // 89 FM1 Intercarrier Frequency
    {eValueType_Float, eUnitType_dB, "Vision/FM2 Power relative", "FM2 Power Relative", nullptr, 93}, // 90 FM2 Power Relative
    {eValueType_Float, eUnitType_Hz, "FM2 Intercarrier Freq", "FM2 Intercarrier Frequency Offset", "FM2 Intercarrier Freq Offset", 94}, // 91 FM2 Intercarrier Frequency
    {eValueType_Float, eUnitType_dB, "HUM", "HUM", "Hum", 96}, // 92 HUM
    {eValueType_Integer, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 93 Decode Lock
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 94 Channel Bit Rate
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 95 BER after Viterbi
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 96 CER Corrected
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 97 CER Uncorrected
    {eValueType_Integer, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 98 PLC Lock
    {eValueType_Float, eUnitType_Hz, nullptr, nullptr, nullptr, -1}, // 99 Occupied Bandwidth
    {eValueType_Float, eUnitType_dBmV, nullptr, nullptr, nullptr, -1}, // 100 Signal Power Per 6MHz
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 101 NCPCRC Errors
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 102 Payload DataRate
    {eValueType_Float, eUnitType_dB, nullptr, nullptr, nullptr, -1}, // 103 MER Overall RMS
    {eValueType_Float, eUnitType_dB, nullptr, nullptr, nullptr, -1}, // 104 MER Overall Peak
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 105 MER Profile ARMS
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 106 MER Profile APeak
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 107 MER Profile RMS
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 108 MER Profile Peak
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 109 MER Pilot RMS
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 110 MER Pilot Peak
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 111 MER PLC RMS
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 112 MER PLC Peak
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 113 MER NCP RMS
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 114 MER NCP Peak
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 115 MER Zero Bit Loaded RMS
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 116 MER Zero Bit Loaded Peak
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 117 BER PLC
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 118 BER NCP
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 119 CER PLC
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 120 CER NCP
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 121 BER before LPDC
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 122 BER after LPDC
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 123 BER after BCH
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 124 CER after LPDC
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 125 CER after BCH
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 126 Average Payload per Codeword
    {eValueType_Float, eUnitType_None, nullptr, nullptr, nullptr, -1}, // 127 Average LPDC Iterations
};
// clang-format on

constexpr int c_iMeasurementItemCount = sizeof(c_MeasurementItems) / sizeof(c_MeasurementItems[0]);
static_assert(c_iMeasurementItemCount == eMeasItem_None, "one row per measurement item");

struct SSettingsItemRow
{
    EValueType m_eValueType;
    EUnitTypes m_eUnit;
    bool m_bHasSelectionList; ///< the value is the stored id of a row of the named enumeration
};

// One row per settings item, in item order (not the order of the representation table).
// clang-format off
constexpr SSettingsItemRow c_SettingsItems[] = {
    {eValueType_Text, eUnitType_None, false}, // 0 Channel Name
    {eValueType_Text, eUnitType_None, false}, // 1 Description
    {eValueType_Integer, eUnitType_None, true}, // 2 TV Standard (ETVStandards)
    {eValueType_Float, eUnitType_Hz, false}, // 3 Center / Vision Carrier Frequency
    {eValueType_Float, eUnitType_Hz, false}, // 4 Frequency Offset
    {eValueType_Float, eUnitType_dB, false}, // 5 Power Limit Offset
    {eValueType_Integer, eUnitType_None, true}, // 6 Reference Level Mode (ERefLevelMode)
    {eValueType_Float, eUnitType_dBmV, false}, // 7 Reference Level
    {eValueType_Integer, eUnitType_None, true}, // 8 Pre Selector (EOnOff)
    {eValueType_Integer, eUnitType_None, true}, // 9 Pre Amplifier (EOnOff)
    {eValueType_Float, eUnitType_dB, false}, // 10 Attenuation
    {eValueType_Integer, eUnitType_None, true}, // 11 Sideband Position (Spectral Inversion) (ESideBandPosition)
    {eValueType_Float, eUnitType_Hz, false}, // 12 Pilot Frequency
    {eValueType_Integer, eUnitType_None, true}, // 13 Channel Bandwidth (EChannelBandwidth)
    {eValueType_Integer, eUnitType_None, true}, // 14 QAM Order (EDigitalConstellation)
    {eValueType_Float, eUnitType_SymbolPerSec, false}, // 15 Symbol Rate
    {eValueType_Integer, eUnitType_None, true}, // 16 Roll off Factor (ERollOffFactor)
    {eValueType_Integer, eUnitType_None, true}, // 17 Auto Parameter Detection (EOnOff)
    {eValueType_Integer, eUnitType_None, true}, // 18 Equalizer (EEqualizer)
    {eValueType_Integer, eUnitType_None, true}, // 19 ISDB-T MER/BER Layer (EISDBTLayer)
    {eValueType_Integer, eUnitType_None, true}, // 20 DTMB Modulation (EDTMBModulation)
    {eValueType_Integer, eUnitType_None, true}, // 21 DTMB Frame Header (EDTMBFrameHeader)
    {eValueType_Integer, eUnitType_None, true}, // 22 DVB-T2 T2-Profile (EDVBT2Profiles)
    {eValueType_Integer, eUnitType_None, false}, // 23 DVB-T2 Decoded PLP
    {eValueType_Integer, eUnitType_None, true}, // 24 Group Delay (EAnalogGroupDelay)
    {eValueType_Integer, eUnitType_None, true}, // 25 Audio Standard (EAnalogSoundSystem)
    {eValueType_Integer, eUnitType_None, true}, // 26 RPC, Lum Bar Ampl - Method (ETestLineType)
    {eValueType_Integer, eUnitType_None, true}, // 27 RPC, Lum Bar Ampl - Field (ETestLineField)
    {eValueType_Integer, eUnitType_None, false}, // 28 RPC, Lum Bar Ampl - Line
    {eValueType_Integer, eUnitType_None, true}, // 29 SNR Quiet Line - Field (ETestLineField)
    {eValueType_Integer, eUnitType_None, false}, // 30 SNR Quiet Line - Line
    {eValueType_Integer, eUnitType_None, true}, // 31 FEC (EFECMode)
    {eValueType_Float, eUnitType_Hz, false}, // 32 Subcarrier 0 Frequency
    {eValueType_Integer, eUnitType_None, true}, // 33 Prefilter (EOnOff)
    {eValueType_Integer, eUnitType_None, true}, // 34 Phase Track Loop Bandwidth (EPhaseTrack)
    {eValueType_Integer, eUnitType_None, true}, // 35 Profile (EChannelProfile)
};
// clang-format on

constexpr int c_iSettingsItemCount = sizeof(c_SettingsItems) / sizeof(c_SettingsItems[0]);
static_assert(c_iSettingsItemCount == eSettingsItem_None, "one row per settings item");

const SMeasurementItemRow* FindRow(EMeasurementItems eItem)
{
    const int iItem = static_cast<short>(eItem);
    return (iItem >= 0 && iItem < c_iMeasurementItemCount) ? &c_MeasurementItems[iItem] : nullptr;
}

const SSettingsItemRow* FindRow(ESettingsItems eItem)
{
    const int iItem = static_cast<int>(eItem);
    return (iItem >= 0 && iItem < c_iSettingsItemCount) ? &c_SettingsItems[iItem] : nullptr;
}

// Both carrier offsets answer to this value-list name; the caller's category tells them apart.
constexpr const char* c_pszSharedCarrierOffsetName = "Carrier Frequency Offset";

} // namespace

EValueType CValueFactory::MeasurementItem_GetItemValueType(EMeasurementItems eItem)
{
    const SMeasurementItemRow* pRow = FindRow(eItem);
    return pRow ? pRow->m_eValueType : eValueType_Integer;
}

ECategory CValueFactory::MeasurementItem_GetItemValueCategory(EMeasurementItems eItem)
{
    const short iItem = static_cast<short>(eItem);
    if (iItem > eMeasItem_HUM)
    {
        return iItem <= eMeasItem_AverageLPDCIterations ? eCategory_Docsis : eCategory_General;
    }
    if (iItem >= eMeasItem_VisionCarrierLevel)
    {
        return eCategory_Analog;
    }
    if (iItem >= eMeasItem_Power)
    {
        return eCategory_Digital;
    }
    return eCategory_General;
}

EUnitTypes CValueFactory::MeasurementItem_GetItemUnit(EMeasurementItems eItem)
{
    const SMeasurementItemRow* pRow = FindRow(eItem);
    return pRow ? pRow->m_eUnit : eUnitType_None;
}

EMeasurementItems CValueFactory::MeasurementItem_GetEnumValue(const QString& sCategory,
                                                              const QString& sName)
{
    const QString sTrimmed = sName.trimmed();
    if (sTrimmed == QLatin1String(c_pszSharedCarrierOffsetName))
    {
        return sCategory == QLatin1String("Digital") ? eMeasItem_CarrierFrequencyOffsetDigital
                                                     : eMeasItem_CarrierFrequencyOffset;
    }
    for (int i = 0; i < c_iMeasurementItemCount; ++i)
    {
        const SMeasurementItemRow& row = c_MeasurementItems[i];
        for (const char* pszName : {row.m_pszValueName, row.m_pszValueNameAlt})
        {
            if (pszName != nullptr && sTrimmed == QLatin1String(pszName))
            {
                return static_cast<EMeasurementItems>(i);
            }
        }
    }
    return eMeasItem_None;
}

QString CValueFactory::MeasurementItem_GetProfileName(EMeasurementItems eItem)
{
    const SMeasurementItemRow* pRow = FindRow(eItem);
    return (pRow && pRow->m_pszProfileName) ? QString::fromLatin1(pRow->m_pszProfileName)
                                            : QString();
}

long CValueFactory::MeasurementItem_GetNumericId(EMeasurementItems eItem)
{
    const SMeasurementItemRow* pRow = FindRow(eItem);
    return pRow ? pRow->m_lNumericId : -1;
}

EValueType CValueFactory::SettingsItem_GetItemValueType(ESettingsItems eItem)
{
    const SSettingsItemRow* pRow = FindRow(eItem);
    return pRow ? pRow->m_eValueType : eValueType_Integer;
}

EUnitTypes CValueFactory::SettingsItem_GetItemUnit(ESettingsItems eItem)
{
    const SSettingsItemRow* pRow = FindRow(eItem);
    return pRow ? pRow->m_eUnit : eUnitType_None;
}

bool CValueFactory::SettingsItem_HasSelectionList(ESettingsItems eItem)
{
    const SSettingsItemRow* pRow = FindRow(eItem);
    return pRow && pRow->m_bHasSelectionList;
}

ECategory CValueFactory::ChannelSettings_GetItemValueCategory(ESettingsItems eItem)
{
    if (eItem < eSettingsItem_ChannelName || eItem > eSettingsItem_Profile)
    {
        return eCategory_NoCategory;
    }
    if (eItem >= eSettingsItem_FEC)
    {
        return eCategory_Docsis;
    }
    if (eItem >= eSettingsItem_GroupDelay)
    {
        return eCategory_Analog;
    }
    if (eItem >= eSettingsItem_PilotFrequency)
    {
        return eCategory_Digital;
    }
    return eCategory_General;
}

QString CValueFactory::SettingsItem_GetItemName(ESettingsItems eItem)
{
    return CEnumTemplate<ESettingsItems>::ToString(eItem);
}

ESettingsItems CValueFactory::SettingsItem_GetEnumValue(const QString& sText)
{
    return CEnumTemplate<ESettingsItems>::TextToEnum(sText);
}

} // namespace LumoraMeasurement

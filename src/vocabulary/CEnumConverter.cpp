#include "CEnumConverter.h"
#include "CValueFactory.h"

#include <QLatin1String>

namespace LumoraMeasurement
{

namespace
{

template <typename E> struct SToken
{
    const char* m_pszToken;
    E m_eValue;
};

template <typename E> struct SCode
{
    short m_iCode;
    E m_eValue;
};

template <typename E, size_t N>
QString DoTokenOf(const SToken<E> (&table)[N], E eValue, const char* pszUnknown)
{
    for (const auto& row : table)
    {
        if (row.m_eValue == eValue)
        {
            return QLatin1String(row.m_pszToken);
        }
    }
    return QLatin1String(pszUnknown);
}

// First token in table order that the text contains, ignoring case.
template <typename E, size_t N>
E DoFindContained(const SToken<E> (&table)[N], const QString& sText, E eFallback)
{
    for (const auto& row : table)
    {
        if (sText.contains(QLatin1String(row.m_pszToken), Qt::CaseInsensitive))
        {
            return row.m_eValue;
        }
    }
    return eFallback;
}

template <typename E, size_t N>
E DoFindExact(const SToken<E> (&table)[N], const QString& sText, E eFallback)
{
    for (const auto& row : table)
    {
        if (sText == QLatin1String(row.m_pszToken))
        {
            return row.m_eValue;
        }
    }
    return eFallback;
}

template <typename E, size_t N> E DoFindCode(const SCode<E> (&table)[N], short iCode, E eFallback)
{
    for (const auto& row : table)
    {
        if (row.m_iCode == iCode)
        {
            return row.m_eValue;
        }
    }
    return eFallback;
}

// clang-format off
constexpr SToken<ECategory> c_CategoryTokens[] = {
    {"General", eCategory_General},
    {"Digital", eCategory_Digital},
    {"Analog", eCategory_Analog},
};

constexpr SToken<ECategory> c_CategoryNames[] = {
    {"Analogue", eCategory_Analog},
    {"Digital", eCategory_Digital},
    {"General", eCategory_General},
};

// Containment order: a token before the shorter tokens it contains.
constexpr SToken<EAnalogGroupDelay> c_GroupDelayTokens[] = {
    {"GeneralHalf", eAnalogGroupDelay_GeneralHalf},
    {"General", eAnalogGroupDelay_General},
    {"Australia", eAnalogGroupDelay_Australia},
    {"Denmark", eAnalogGroupDelay_Denmark},
    {"NewZealand", eAnalogGroupDelay_NewZealand},
    {"Norway", eAnalogGroupDelay_Norway},
    {"SwedenFull", eAnalogGroupDelay_SwedenFull},
    {"Flat", eAnalogGroupDelay_Flat},
    {"Oirt75", eAnalogGroupDelay_Oirt75},
    {"Oirt83", eAnalogGroupDelay_Oirt83},
    {"Oirt", eAnalogGroupDelay_Oirt},
    {"CCIR", eAnalogGroupDelay_CCIR},
    {"TDF", eAnalogGroupDelay_TDF},
    {"K1", eAnalogGroupDelay_K1},
    {"FCC", eAnalogGroupDelay_FCC},
};

constexpr SToken<EAnalogSoundSystem> c_SoundSystemTokens[] = {
    {"FM55_NICAM585", eAnalogSoundSystem_FM55_NICAM585},
    {"FM55_FM5742", eAnalogSoundSystem_FM55_FM5742},
    {"FM55_MONO", eAnalogSoundSystem_FM55_MONO},
    {"FM65_NICAM585", eAnalogSoundSystem_FM65_NICAM585},
    {"FM65_FM6258", eAnalogSoundSystem_FM65_FM6258},
    {"FM65_FM6742", eAnalogSoundSystem_FM65_FM6742},
    {"FM65_MONO", eAnalogSoundSystem_FM65_MONO},
    {"FM60_NICAM6552", eAnalogSoundSystem_FM60_NICAM6552},
    {"FM60_MONO", eAnalogSoundSystem_FM60_MONO},
    {"FM45_BTSC", eAnalogSoundSystem_FM45_BTSC},
    {"FM45_EIA_J", eAnalogSoundSystem_FM45_EIA_J},
    {"FM45_FM4724", eAnalogSoundSystem_FM45_FM4724},
    {"FM45_MONO", eAnalogSoundSystem_FM45_MONO},
    {"AM65", eAnalogSoundSystem_AM65},
};

constexpr SToken<EColorSystem> c_ColorSystemTokens[] = {
    {"PAL", eColorSystem_PAL},
    {"SECAM", eColorSystem_SECAM},
    {"NTSC", eColorSystem_NTSC},
};

// Containment order: a token before the shorter tokens it contains.
constexpr SToken<ETVStandards> c_TVStandardTokens[] = {
    {"Standard B/SECAM", eTVStandard_BG_Secam},
    {"Standard B", eTVStandard_BG_Pal},
    {"Standard D/K/SECAM", eTVStandard_DK_Secam},
    {"Standard D/K", eTVStandard_DK_Pal},
    {"Standard I", eTVStandard_I_Pal},
    {"Standard K1", eTVStandard_K1_Secam},
    {"Standard M/PAL", eTVStandard_M_Pal},
    {"Standard M/NTSC", eTVStandard_M_NTSC},
    {"Standard N", eTVStandard_N_Pal},
    {"J83A", eTVStandard_J83A},
    {"J83B", eTVStandard_J83B},
    {"J83C", eTVStandard_J83C},
    {"DTMB", eTVStandard_DTMB},
    {"DVBT2", eTVStandard_DVBT2},
    {"DVBT", eTVStandard_DVBT},
    {"ATSC / 8VSB", eTVStandard_ATSC_8VSB},
    {"ATSC / MDTV", eTVStandard_ATSC_MDTV},
    {"TDMB", eTVStandard_TDMB},
    {"ISDBT", eTVStandard_ISDBT},
};

constexpr SToken<EChannelType> c_ChannelTypeNames[] = {
    {"Analogue", eChannelType_Analog},
    {"Analog", eChannelType_Analog},
    {"Digital", eChannelType_Digital},
};

constexpr SCode<EAnalogGroupDelay> c_GroupDelayCodes[] = {
    {1, eAnalogGroupDelay_Australia},
    {2, eAnalogGroupDelay_SwedenFull},
    {3, eAnalogGroupDelay_Norway},
    {4, eAnalogGroupDelay_Denmark},
    {5, eAnalogGroupDelay_NewZealand},
    {6, eAnalogGroupDelay_CCIR},
    {7, eAnalogGroupDelay_Oirt},
    {8, eAnalogGroupDelay_Flat},
    {9, eAnalogGroupDelay_FCC},
    {10, eAnalogGroupDelay_TDF},
    {11, eAnalogGroupDelay_K1},
    {12, eAnalogGroupDelay_GeneralHalf},
    {13, eAnalogGroupDelay_Oirt75},
    {14, eAnalogGroupDelay_Oirt83},
};

constexpr SCode<EAnalogSoundSystem> c_SoundSystemCodes[] = {
    {1, eAnalogSoundSystem_FM55_NICAM585},
    {2, eAnalogSoundSystem_FM55_MONO},
    {3, eAnalogSoundSystem_FM65_FM6742},
    {4, eAnalogSoundSystem_FM65_FM6258},
    {5, eAnalogSoundSystem_FM65_NICAM585},
    {6, eAnalogSoundSystem_FM65_MONO},
    {7, eAnalogSoundSystem_FM45_BTSC},
    {8, eAnalogSoundSystem_FM45_EIA_J},
    {9, eAnalogSoundSystem_FM45_FM4724},
    {10, eAnalogSoundSystem_FM45_MONO},
    {11, eAnalogSoundSystem_FM60_NICAM6552},
    {12, eAnalogSoundSystem_FM60_MONO},
    {13, eAnalogSoundSystem_FM65_NICAM585},
    {14, eAnalogSoundSystem_AM65},
};

// Codes 9 to 21 are unused and fall back to B/G Pal.
constexpr SCode<ETVStandards> c_AnalogStandardCodes[] = {
    {1, eTVStandard_BG_Secam},
    {2, eTVStandard_DK_Pal},
    {3, eTVStandard_M_NTSC},
    {4, eTVStandard_M_Pal},
    {5, eTVStandard_N_Pal},
    {6, eTVStandard_I_Pal},
    {7, eTVStandard_BG_Pal},
    {8, eTVStandard_K1_Secam},
    {22, eTVStandard_DK_Secam},
};

constexpr SCode<ETVStandards> c_DigitalStandardCodes[] = {
    {0, eTVStandard_J83A},
    {1, eTVStandard_J83B},
    {2, eTVStandard_J83C},
    {3, eTVStandard_ATSC_8VSB},
    {4, eTVStandard_DVBT},
    {5, eTVStandard_DVBT2},
    {6, eTVStandard_TDMB},
    {7, eTVStandard_ISDBT},
};

constexpr SCode<ETVStandards> c_VideoStandardCodes[] = {
    {2, eTVStandard_DK_Pal},
    {3, eTVStandard_M_NTSC},
    {4, eTVStandard_M_Pal},
    {5, eTVStandard_N_Pal},
    {6, eTVStandard_I_Pal},
    {7, eTVStandard_K1_Secam},
};

constexpr SCode<ETestLineType> c_TestLineTypeCodes[] = {
    {0, eTestLineType_CCIR17},
    {1, eTestLineType_NTC7Composite},
    {2, eTestLineType_FCCComposite},
};

// 3 and 4 MHz are no bandwidth of the table.
constexpr SCode<EChannelBandwidth> c_BandwidthCodes[] = {
    {2, eChannelBandwidth_1_7MHz},
    {5, eChannelBandwidth_5MHz},
    {6, eChannelBandwidth_6MHz},
    {7, eChannelBandwidth_7MHz},
    {8, eChannelBandwidth_8MHz},
};

// Code 15 is unassigned.
constexpr SCode<EDigitalConstellation> c_QAMOrderCodes[] = {
    {0, eDigitalConstellation_QAM4},
    {1, eDigitalConstellation_QAM16},
    {2, eDigitalConstellation_QAM32},
    {3, eDigitalConstellation_QAM64},
    {4, eDigitalConstellation_QAM128},
    {5, eDigitalConstellation_QAM256},
    {6, eDigitalConstellation_QPSK},
    {7, eDigitalConstellation_QAM16NH},
    {8, eDigitalConstellation_QAM16H1},
    {9, eDigitalConstellation_QAM16H2},
    {10, eDigitalConstellation_QAM16H4},
    {11, eDigitalConstellation_QAM64NH},
    {12, eDigitalConstellation_QAM64H1},
    {13, eDigitalConstellation_QAM64H2},
    {14, eDigitalConstellation_QAM64H4},
    {16, eDigitalConstellation_QAM4NR},
};

constexpr SCode<ERollOffFactor> c_RollOffCodes[] = {
    {13, eRollOffFactor_0_13},
    {15, eRollOffFactor_0_15},
    {18, eRollOffFactor_0_18},
    {115, eRollOffFactor_0_115},
};

constexpr SCode<ESideBandPosition> c_SideBandCodes[] = {
    {0, eSideBandPosition_Automatic},
    {2, eSideBandPosition_Inverted},
};

constexpr SCode<EChannelType> c_ChannelTypeCodes[] = {
    {1, eChannelType_Analog},
    {2, eChannelType_Digital},
};
// clang-format on

} // namespace

QString CEnumConverter::ECategoryToString(ECategory eCategory)
{
    return DoTokenOf(c_CategoryTokens, eCategory, "Unknown ECategory");
}

ECategory CEnumConverter::ECategoryToEnum(const QString& sText)
{
    return DoFindExact(c_CategoryNames, sText.trimmed(), eCategory_Analog);
}

QString CEnumConverter::EAnalogGroupDelayToString(EAnalogGroupDelay eDelay)
{
    return DoTokenOf(c_GroupDelayTokens, eDelay, "Unknown EAnalogGroupDelay");
}

EAnalogGroupDelay CEnumConverter::EAnalogGroupDelayToEnum(const QString& sText)
{
    return DoFindContained(c_GroupDelayTokens, sText, eAnalogGroupDelay_General);
}

QString CEnumConverter::EAnalogSoundSystemToString(EAnalogSoundSystem eSystem)
{
    return DoTokenOf(c_SoundSystemTokens, eSystem, "Unknown EAnalogSoundSystem");
}

EAnalogSoundSystem CEnumConverter::EAnalogSoundSystemToEnum(const QString& sText)
{
    return DoFindContained(c_SoundSystemTokens, sText, eAnalogSoundSystem_FM55_NICAM585);
}

QString CEnumConverter::EColorSystemToString(EColorSystem eSystem)
{
    return DoTokenOf(c_ColorSystemTokens, eSystem, "Unknown EColorSystem");
}

EColorSystem CEnumConverter::EColorSystemToEnum(const QString& sText)
{
    return DoFindContained(c_ColorSystemTokens, sText, eColorSystem_SECAM);
}

QString CEnumConverter::ETVStandardsToString(ETVStandards eStandard)
{
    return DoTokenOf(c_TVStandardTokens, eStandard, "Unknown EDigitalStandard");
}

ETVStandards CEnumConverter::ETVStandardsToEnum(const QString& sText)
{
    return DoFindContained(c_TVStandardTokens, sText, eTVStandard_BG_Pal);
}

EChannelType CEnumConverter::EChannelTypeToEnum(const QString& sText)
{
    return DoFindExact(c_ChannelTypeNames, sText, eChannelType_Unknown);
}

EAnalogGroupDelay CEnumConverter::EAnalogGroupDelayToEnum(short iCode)
{
    return DoFindCode(c_GroupDelayCodes, iCode, eAnalogGroupDelay_General);
}

EAnalogSoundSystem CEnumConverter::EAnalogSoundSystemToEnum(short iCode)
{
    return DoFindCode(c_SoundSystemCodes, iCode, eAnalogSoundSystem_FM55_FM5742);
}

ETVStandards CEnumConverter::ETVStandardsAnalogToEnum(short iCode)
{
    return DoFindCode(c_AnalogStandardCodes, iCode, eTVStandard_BG_Pal);
}

ETVStandards CEnumConverter::ETVStandardsDigitalToEnum(short iCode)
{
    return DoFindCode(c_DigitalStandardCodes, iCode, eTVStandard_DTMB);
}

ETVStandards CEnumConverter::EVideoStandardToEnum(short iCode)
{
    return DoFindCode(c_VideoStandardCodes, iCode, eTVStandard_BG_Pal);
}

ETestLineType CEnumConverter::ETestLineTypeToEnum(short iCode)
{
    return DoFindCode(c_TestLineTypeCodes, iCode, eTestLineType_None);
}

EOnOff CEnumConverter::EAutoTPSToEnum(short iCode)
{
    return iCode != 0 ? eOnOff_Off : eOnOff_On;
}

EChannelBandwidth CEnumConverter::EChannelBandWidthToEnum(short iCode)
{
    return DoFindCode(c_BandwidthCodes, iCode, eChannelBandwidth_None);
}

EDigitalConstellation CEnumConverter::EQAMOrderToEnum(short iCode)
{
    return DoFindCode(c_QAMOrderCodes, iCode, eDigitalConstellation_None);
}

ERollOffFactor CEnumConverter::ERollOfFactorToEnum(short iCode)
{
    return DoFindCode(c_RollOffCodes, iCode, eRollOffFactor_0_12);
}

ESideBandPosition CEnumConverter::ESideBandPositionToEnum(short iCode)
{
    return DoFindCode(c_SideBandCodes, iCode, eSideBandPosition_Normal);
}

EChannelType CEnumConverter::EChannelTypeToEnum(short iCode)
{
    return DoFindCode(c_ChannelTypeCodes, iCode, eChannelType_Unknown);
}

short CEnumConverter::EChannelTypeToNumber(EChannelType eType)
{
    for (const auto& row : c_ChannelTypeCodes)
    {
        if (row.m_eValue == eType)
        {
            return row.m_iCode;
        }
    }
    return 0;
}

} // namespace LumoraMeasurement

// Conversions of measurement items and settings items.
namespace LumoraMeasurement
{

namespace
{

struct SProfileValueText
{
    EMeasurementItems m_eItem;
    short m_iValue;
    const char* m_pszText;
};

// The texts that profiles show for the coded values of state-like items.
// clang-format off
constexpr SProfileValueText c_ProfileValueTexts[] = {
    {eMeasItem_Status, 0, "Un-measured"},
    {eMeasItem_Status, 1, "Synchronising"},
    {eMeasItem_Status, 2, "Measuring"},
    {eMeasItem_Status, 3, "Done"},
    {eMeasItem_Status, 4, "Control Error"},
    {eMeasItem_InternalReference, 0, "UNLOCKED"},
    {eMeasItem_InternalReference, 1, "LOCKED"},
    {eMeasItem_Preamplifier, 0, "OFF"},
    {eMeasItem_Preamplifier, 1, "ON"},
    {eMeasItem_Attenuation, 0, "0dB"},
    {eMeasItem_Attenuation, 1, "1"},
    {eMeasItem_Attenuation, 2, "2"},
    {eMeasItem_Attenuation, 3, "3"},
    {eMeasItem_Preselector, 0, "NOT USED"},
    {eMeasItem_Preselector, 1, "USED"},
    {eMeasItem_DemodLock, 0, "UNLOCKED"},
    {eMeasItem_DemodLock, 1, "LOCKED"},
    {eMeasItem_DemodLock, 2, "INTERMITTENT"},
    {eMeasItem_MPEGLock, 0, "UNLOCKED"},
    {eMeasItem_MPEGLock, 1, "LOCKED"},
    {eMeasItem_MPEGLock, 2, "INTERMITTENT"},
    {eMeasItem_PLPLock, 0, "UNLOCKED"},
    {eMeasItem_PLPLock, 1, "LOCKED"},
    {eMeasItem_PLPLock, 2, "INTERMITTENT"},
    {eMeasItem_VisionDetector, 0, "UNLOCKED"},
    {eMeasItem_VisionDetector, 1, "LOCKED"},
    {eMeasItem_FM1SoundCarrier, 0, "PRESENT"},
    {eMeasItem_FM1SoundCarrier, 1, "MISSING"},
    {eMeasItem_FM2SoundCarrier, 0, "PRESENT"},
    {eMeasItem_FM2SoundCarrier, 1, "MISSING"},
    {eMeasItem_PLCLock, 0, "UNLOCKED"},
    {eMeasItem_PLCLock, 1, "LOCKED"},
    {eMeasItem_PLCLock, 2, "INTERMITTENT"},
};
// clang-format on

struct SSettingsProfileName
{
    const char* m_pszName;
    ESettingsItems m_eItem;
};

// Profile names of settings items, in the order they are tried. Several names, British and
// American spellings among them, stand for one item.
// clang-format off
constexpr SSettingsProfileName c_SettingsProfileNames[] = {
    {"Channel Name", eSettingsItem_ChannelName},
    {"Description", eSettingsItem_Description},
    {"Channel Centre", eSettingsItem_CenterFrequency},
    {"Channel Center", eSettingsItem_CenterFrequency},
    {"Frequency Offset", eSettingsItem_FrequencyOffset},
    {"Reference Level", eSettingsItem_ReferenceLevel},
    {"Preamp", eSettingsItem_PreAmplifier},
    {"Attenuation", eSettingsItem_Attenuation},
    {"TV Standard", eSettingsItem_TVStandard},
    {"Sideband Position", eSettingsItem_SidebandPosition},
    {"Digital Standard", eSettingsItem_TVStandard},
    {"Channel Bandwidth", eSettingsItem_ChannelBandwidth},
    {"Centre Frequency", eSettingsItem_CenterFrequency},
    {"Center Frequency", eSettingsItem_CenterFrequency},
    {"Pilot Frequency", eSettingsItem_PilotFrequency},
    {"QAM Order", eSettingsItem_QAMOrder},
    {"Symbol Rate", eSettingsItem_SymbolRate},
    {"Roll off Factor", eSettingsItem_RollOffFactor},
    {"Auto TPS", eSettingsItem_AutoParameterDetection},
    {"Video Standard", eSettingsItem_TVStandard},
    {"Vision Carrier Frequency", eSettingsItem_CenterFrequency},
    {"Group Delay", eSettingsItem_GroupDelay},
    {"Audio Standard", eSettingsItem_AudioStandard},
    {"Test Line Type", eSettingsItem_TestLineType},
    {"Test Line Field", eSettingsItem_TestLineField},
    {"Test Line Number", eSettingsItem_TestLineNumber},
    {"Quiet Line Field", eSettingsItem_QuietLineField},
    {"Quiet Line Number", eSettingsItem_QuietLineNumber},
};
// clang-format on

// The largest compact numeric id; it belongs to HUM.
constexpr long c_lLargestNumericId = 96;

} // namespace

EMeasurementItems CEnumConverter::ConvertToEMeasurementItems(const QString& sName)
{
    const QString sTrimmed = sName.trimmed();
    if (sTrimmed.isEmpty())
    {
        return eMeasItem_None; // items without a profile name must not match an empty name
    }
    for (short i = 0; i < eMeasItem_None; ++i)
    {
        const auto eItem = static_cast<EMeasurementItems>(i);
        if (sTrimmed.compare(CValueFactory::MeasurementItem_GetProfileName(eItem),
                             Qt::CaseInsensitive) == 0)
        {
            return eItem;
        }
    }
    return eMeasItem_None;
}

EMeasurementItems CEnumConverter::ConvertIdToEMeasurementItems(long lId)
{
    if (lId < 0 || lId > c_lLargestNumericId)
    {
        return eMeasItem_None;
    }
    for (short i = 0; i < eMeasItem_None; ++i)
    {
        const auto eItem = static_cast<EMeasurementItems>(i);
        if (CValueFactory::MeasurementItem_GetNumericId(eItem) == lId)
        {
            return eItem;
        }
    }
    return eMeasItem_None;
}

long CEnumConverter::ConvertEMeasurementItemsToId(EMeasurementItems eItem)
{
    // An item without a numeric id gives HUM's id; MeasurementItem_GetNumericId tells them apart.
    const long lId = CValueFactory::MeasurementItem_GetNumericId(eItem);
    return lId >= 0 ? lId : c_lLargestNumericId;
}

QString CEnumConverter::ConvertProfileEnumValueForEMeasurementItemsToString(EMeasurementItems eItem,
                                                                            short iValue)
{
    for (const SProfileValueText& row : c_ProfileValueTexts)
    {
        if (static_cast<short>(row.m_eItem) == static_cast<short>(eItem) && row.m_iValue == iValue)
        {
            return QString::fromLatin1(row.m_pszText);
        }
    }
    return QStringLiteral("unknown");
}

ESettingsItems CEnumConverter::ConvertToESettingsItem(const QString& sName)
{
    const QString sTrimmed = sName.trimmed();
    for (const SSettingsProfileName& row : c_SettingsProfileNames)
    {
        if (sTrimmed.compare(QLatin1String(row.m_pszName), Qt::CaseInsensitive) == 0)
        {
            return row.m_eItem;
        }
    }
    return eSettingsItem_None;
}

} // namespace LumoraMeasurement

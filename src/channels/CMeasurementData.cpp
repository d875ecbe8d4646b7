#include "CMeasurementData.h"

#include "CEnumTemplate.h"
#include "EAverageCount.h"

#include <algorithm>
#include <iterator>

namespace LumoraMeasurement
{

namespace
{

constexpr EMeasurementItems c_AnalogItems[] = {
    eMeasItem_ReferenceLevel,
    eMeasItem_Preamplifier,
    eMeasItem_Attenuation,
    eMeasItem_Preselector,
    eMeasItem_VisionCarrierLevel,
    eMeasItem_CarrierFrequencyOffset,
    eMeasItem_VisionDetector,
    eMeasItem_LuminanceBarAmplitudeError,
    eMeasItem_LuminanceBarAmplitude,
    eMeasItem_SNVideoWeightedBar,
    eMeasItem_SNVideoWeightedNominal,
    eMeasItem_FM1SoundCarrier,
    eMeasItem_FM2SoundCarrier,
    eMeasItem_ModulationDepth,
    eMeasItem_ResidualPictureCarrier,
    eMeasItem_FM1PowerRelative,
    eMeasItem_FM1IntercarrierFrequency,
    eMeasItem_FM2PowerRelative,
    eMeasItem_FM2IntercarrierFrequency,
    eMeasItem_HUM,
};

// Items every digital broadcast standard supports, before its specific ones.
constexpr EMeasurementItems c_DigitalCommonItems[] = {
    eMeasItem_InternalReference,
    eMeasItem_Preamplifier,
    eMeasItem_Attenuation,
    eMeasItem_Preselector,
    eMeasItem_Power,
    eMeasItem_CarrierFrequencyOffsetDigital,
    eMeasItem_DemodLock,
    eMeasItem_PacketErrorRatio,
    eMeasItem_CrestFactorCurrent,
    eMeasItem_GroupDelay,
    eMeasItem_AmplitudeResponse,
    eMeasItem_PhaseResponse,
};

// DOCSIS standards also support every item from eMeasItem_OccupiedBandwidth on.
constexpr EMeasurementItems c_DocsisItems[] = {
    eMeasItem_Preamplifier,
    eMeasItem_Attenuation,
    eMeasItem_Power,
    eMeasItem_CarrierFrequencyOffsetDigital,
    eMeasItem_SymbolRateOffset,
    eMeasItem_DemodLock,
    eMeasItem_MPEGLock,
    eMeasItem_PLPLock,
    eMeasItem_MERRMSdB,
    eMeasItem_MERPeakdB,
    eMeasItem_BERBeforeViterbi,
    eMeasItem_BERBeforeRS,
    eMeasItem_BERAfterRS,
    eMeasItem_DecodeLock,
    eMeasItem_ChannelBitRate,
    eMeasItem_BERAfterViterbi,
    eMeasItem_CERCorrected,
    eMeasItem_CERUncorrected,
    eMeasItem_PLCLock,
};

constexpr EMeasurementItems c_CableItems[] = {
    eMeasItem_SymbolRateOffset,
    eMeasItem_MPEGLock,
    eMeasItem_MERRMSdB,
    eMeasItem_MERRMSPercent,
    eMeasItem_MERPeakdB,
    eMeasItem_MERPeakPercent,
    eMeasItem_EVMRMSdB,
    eMeasItem_EVMRMSPercent,
    eMeasItem_EVMPeakdB,
    eMeasItem_EVMPeakPercent,
    eMeasItem_BERBeforeRS,
    eMeasItem_BERAfterRS,
    eMeasItem_PacketErrorsPerSecond,
    eMeasItem_TSBitrate,
    eMeasItem_ShoulderAttenuationLower,
    eMeasItem_ShoulderAttenuationUpper,
    eMeasItem_PhaseJitter,
    eMeasItem_IQImbalance,
    eMeasItem_IQQuadError,
    eMeasItem_CarrierSuppression,
    eMeasItem_SN,
};

constexpr EMeasurementItems c_DtmbItems[] = {
    eMeasItem_BitrateOffset,
    eMeasItem_MPEGLock,
    eMeasItem_MERRMSdB,
    eMeasItem_MERRMSPercent,
    eMeasItem_MERPeakdB,
    eMeasItem_MERPeakPercent,
    eMeasItem_BERBeforeBCH,
    eMeasItem_BERBeforeLDPC,
    eMeasItem_LDPCIteration,
    eMeasItem_PacketErrorsPerSecond,
    eMeasItem_ErroredSecondsRatio,
    eMeasItem_TSBitrate,
    eMeasItem_ShoulderAttenuationLower,
    eMeasItem_ShoulderAttenuationUpper,
    eMeasItem_IQImbalance,
    eMeasItem_IQQuadError,
    eMeasItem_CarrierSuppression,
    eMeasItem_CarrierPhase,
};

constexpr EMeasurementItems c_DvbtItems[] = {
    eMeasItem_BitrateOffset,
    eMeasItem_MPEGLock,
    eMeasItem_MERRMSdB,
    eMeasItem_MERRMSPercent,
    eMeasItem_MERPeakdB,
    eMeasItem_MERPeakPercent,
    eMeasItem_EVMRMSdB,
    eMeasItem_EVMRMSPercent,
    eMeasItem_EVMPeakdB,
    eMeasItem_EVMPeakPercent,
    eMeasItem_BERBeforeViterbi,
    eMeasItem_BERBeforeRS,
    eMeasItem_BERAfterRS,
    eMeasItem_PacketErrorsPerSecond,
    eMeasItem_TSBitrate,
    eMeasItem_ShoulderAttenuationLower,
    eMeasItem_ShoulderAttenuationUpper,
    eMeasItem_IQImbalance,
    eMeasItem_IQQuadError,
    eMeasItem_CarrierSuppression,
    eMeasItem_CarrierPhase,
};

constexpr EMeasurementItems c_Dvbt2Items[] = {
    eMeasItem_BitrateOffset,
    eMeasItem_PLPLock,
    eMeasItem_MERL1RMSdB,
    eMeasItem_MERL1RMSPercent,
    eMeasItem_MERL1PeakdB,
    eMeasItem_MERL1PeakPercent,
    eMeasItem_MERPLPRMSdB,
    eMeasItem_MERPLPRMSPercent,
    eMeasItem_MERPLPPeakdB,
    eMeasItem_MERPLPPeakPercent,
    eMeasItem_EVMPLPRMSdB,
    eMeasItem_EVMPLPRMSPercent,
    eMeasItem_EVMPLPPeakdB,
    eMeasItem_EVMPLPPeakPercent,
    eMeasItem_BERBeforeBCH,
    eMeasItem_BERBeforeLDPC,
    eMeasItem_LDPCIteration,
    eMeasItem_ErroredSecondsRatio,
    eMeasItem_ShoulderAttenuationLower,
    eMeasItem_ShoulderAttenuationUpper,
    eMeasItem_IQImbalance,
    eMeasItem_IQQuadError,
    eMeasItem_CarrierSuppression,
    eMeasItem_CarrierPhase,
};

constexpr EMeasurementItems c_AtscItems[] = {
    eMeasItem_SymbolRateOffset,
    eMeasItem_MPEGLock,
    eMeasItem_MERRMSdB,
    eMeasItem_MERRMSPercent,
    eMeasItem_MERPeakdB,
    eMeasItem_MERPeakPercent,
    eMeasItem_EVMRMSdB,
    eMeasItem_EVMRMSPercent,
    eMeasItem_EVMPeakdB,
    eMeasItem_EVMPeakPercent,
    eMeasItem_BERBeforeRS,
    eMeasItem_BERAfterRS,
    eMeasItem_PacketErrorsPerSecond,
    eMeasItem_TSBitrate,
    eMeasItem_ShoulderAttenuationLower,
    eMeasItem_ShoulderAttenuationUpper,
    eMeasItem_SN,
};

constexpr EMeasurementItems c_TdmbItems[] = {
    eMeasItem_BitrateOffset, eMeasItem_FICLock,
    eMeasItem_MERRMSdB,      eMeasItem_MERRMSPercent,
    eMeasItem_MERPeakdB,     eMeasItem_MERPeakPercent,
    eMeasItem_EVMRMSdB,      eMeasItem_EVMRMSPercent,
    eMeasItem_EVMPeakdB,     eMeasItem_EVMPeakPercent,
    eMeasItem_BERBeforeRS,   eMeasItem_PacketErrorsPerSecond,
    eMeasItem_TSBitrate,     eMeasItem_SN,
};

constexpr EMeasurementItems c_IsdbtItems[] = {
    eMeasItem_BitrateOffset,         eMeasItem_MPEGLock,           eMeasItem_MERRMSdB,
    eMeasItem_MERRMSPercent,         eMeasItem_MERPeakdB,          eMeasItem_MERPeakPercent,
    eMeasItem_BERBeforeViterbi,      eMeasItem_BERBeforeRS,        eMeasItem_BERAfterRS,
    eMeasItem_PacketErrorsPerSecond, eMeasItem_TSBitrate,          eMeasItem_IQImbalance,
    eMeasItem_IQQuadError,           eMeasItem_CarrierSuppression, eMeasItem_CarrierPhase,
};

struct SSpecificItems
{
    ETVStandards m_eStandard;
    const EMeasurementItems* m_pItems;
    std::size_t m_nItems;
};

template <std::size_t N>
constexpr SSpecificItems Specific(ETVStandards eStandard, const EMeasurementItems (&items)[N])
{
    return {eStandard, items, N};
}

constexpr SSpecificItems c_SpecificDigitalItems[] = {
    Specific(eTVStandard_J83A, c_CableItems),     Specific(eTVStandard_J83B, c_CableItems),
    Specific(eTVStandard_J83C, c_CableItems),     Specific(eTVStandard_DTMB, c_DtmbItems),
    Specific(eTVStandard_DVBT, c_DvbtItems),      Specific(eTVStandard_DVBT2, c_Dvbt2Items),
    Specific(eTVStandard_ATSC_8VSB, c_AtscItems), Specific(eTVStandard_ATSC_MDTV, c_AtscItems),
    Specific(eTVStandard_TDMB, c_TdmbItems),      Specific(eTVStandard_ISDBT, c_IsdbtItems),
};

constexpr ETVStandards c_SecamStandards[] = {eTVStandard_BG_Secam, eTVStandard_DK_Secam,
                                             eTVStandard_K1_Secam};

// Sound systems that carry a single sound carrier.
constexpr EAnalogSoundSystem c_SingleCarrierSoundSystems[] = {
    eAnalogSoundSystem_FM55_MONO, eAnalogSoundSystem_FM65_MONO,  eAnalogSoundSystem_FM60_MONO,
    eAnalogSoundSystem_FM45_BTSC, eAnalogSoundSystem_FM45_EIA_J, eAnalogSoundSystem_FM45_MONO,
    eAnalogSoundSystem_AM65,
};

template <typename T, std::size_t N> bool Contains(const T (&values)[N], T value)
{
    return std::find(std::begin(values), std::end(values), value) != std::end(values);
}

template <typename Items> void Insert(const Items& items, std::map<EMeasurementItems, bool>& map)
{
    for (EMeasurementItems eItem : items)
    {
        map.emplace(eItem, false);
    }
}

} // namespace

CMeasurementData::CMeasurementData(CDeviceSettingsData& device, CChannelData& channel,
                                   CComparativeValueData& limits)
    : m_Device(device), m_Channel(channel), m_Limits(limits), m_NoResult(eMeasItem_None)
{
    Initialize();
}

void CMeasurementData::Initialize()
{
    m_vResults.reserve(m_vResults.size() + eMeasItem_None);
    for (int i = 0; i < eMeasItem_None; ++i)
    {
        m_vResults.emplace_back(static_cast<EMeasurementItems>(i));
    }
}

CMeasurementItem& CMeasurementData::Results(EMeasurementItems eItem)
{
    for (CMeasurementItem& result : m_vResults)
    {
        if (result.Id() == eItem)
        {
            return result;
        }
    }
    return m_NoResult;
}

void CMeasurementData::DoCompareMeasurement(std::vector<CComparativeValueDataItem>& /*limits*/)
{
    // Judging happens when results are evaluated; nothing is compared while measuring.
}

template <typename E> E CMeasurementData::DoGetEnum(ESettingsItems eItem) const
{
    return CEnumTemplate<E>::ToEnum(m_Channel.GetItem(eItem).ToInt());
}

double CMeasurementData::ChannelCenter() const
{
    return m_Channel.GetItem(eSettingsItem_CenterFrequency).ToFloat();
}

double CMeasurementData::FrequencyOffset() const
{
    return m_Channel.GetItem(eSettingsItem_FrequencyOffset).ToFloat();
}

double CMeasurementData::PowerLimitOffset() const
{
    return m_Channel.GetItem(eSettingsItem_PowerLimitOffset).ToFloat();
}

double CMeasurementData::ReferenceLevel() const
{
    return m_Channel.GetItem(eSettingsItem_ReferenceLevel).ToFloat();
}

double CMeasurementData::Attenuation() const
{
    return m_Channel.GetItem(eSettingsItem_Attenuation).ToFloat();
}

double CMeasurementData::SymbolRate() const
{
    return m_Channel.GetItem(eSettingsItem_SymbolRate).ToFloat();
}

double CMeasurementData::DocsisSubCarrier0Freq() const
{
    return m_Channel.GetItem(eSettingsItem_Subcarrier0Frequency).ToFloat();
}

long CMeasurementData::AnalogTestMethod() const
{
    return m_Channel.GetItem(eSettingsItem_TestLineType).ToInt();
}

long CMeasurementData::AnalogTestField() const
{
    return m_Channel.GetItem(eSettingsItem_TestLineField).ToInt();
}

long CMeasurementData::AnalogTestLine() const
{
    return m_Channel.GetItem(eSettingsItem_TestLineNumber).ToInt();
}

long CMeasurementData::AnalogQuietLineField() const
{
    return m_Channel.GetItem(eSettingsItem_QuietLineField).ToInt();
}

long CMeasurementData::AnalogQuietLineNumber() const
{
    return m_Channel.GetItem(eSettingsItem_QuietLineNumber).ToInt();
}

long CMeasurementData::DVBT2DecodedPLP() const
{
    return m_Channel.GetItem(eSettingsItem_DVBT2DecodedPLP).ToInt();
}

ETVStandards CMeasurementData::TvStandard() const
{
    return DoGetEnum<ETVStandards>(eSettingsItem_TVStandard);
}

ETVStandards CMeasurementData::DigitalStandard() const
{
    return TvStandard();
}

ERefLevelMode CMeasurementData::RefLevelMode() const
{
    return DoGetEnum<ERefLevelMode>(eSettingsItem_ReferenceLevelMode);
}

EOnOff CMeasurementData::PreSelector() const
{
    return DoGetEnum<EOnOff>(eSettingsItem_PreSelector);
}

EOnOff CMeasurementData::Preamplifier() const
{
    return DoGetEnum<EOnOff>(eSettingsItem_PreAmplifier);
}

EOnOff CMeasurementData::AutomaticParameterDetection() const
{
    return DoGetEnum<EOnOff>(eSettingsItem_AutoParameterDetection);
}

EOnOff CMeasurementData::DocsisPreFilter() const
{
    return DoGetEnum<EOnOff>(eSettingsItem_Prefilter);
}

EAnalogGroupDelay CMeasurementData::AnalogGroupDelay() const
{
    return DoGetEnum<EAnalogGroupDelay>(eSettingsItem_GroupDelay);
}

EAnalogSoundSystem CMeasurementData::AnalogSoundSystem() const
{
    return DoGetEnum<EAnalogSoundSystem>(eSettingsItem_AudioStandard);
}

ESideBandPosition CMeasurementData::AnalogSideBandPosition() const
{
    return DoGetEnum<ESideBandPosition>(eSettingsItem_SidebandPosition);
}

EDigitalConstellation CMeasurementData::DigitalConstellation() const
{
    return DoGetEnum<EDigitalConstellation>(eSettingsItem_QAMOrder);
}

ERollOffFactor CMeasurementData::RollOffFactor() const
{
    return DoGetEnum<ERollOffFactor>(eSettingsItem_RollOffFactor);
}

EISDBTLayer CMeasurementData::ISDBTLayer() const
{
    return DoGetEnum<EISDBTLayer>(eSettingsItem_ISDBTLayer);
}

EDTMBModulation CMeasurementData::DTMBModulation() const
{
    return DoGetEnum<EDTMBModulation>(eSettingsItem_DTMBModulation);
}

EDTMBFrameHeader CMeasurementData::DTMBFrameHeader() const
{
    return DoGetEnum<EDTMBFrameHeader>(eSettingsItem_DTMBFrameHeader);
}

EDVBT2Profiles CMeasurementData::DVBT2Profile() const
{
    return DoGetEnum<EDVBT2Profiles>(eSettingsItem_DVBT2Profile);
}

EChannelBandwidth CMeasurementData::ChannelBandwidth() const
{
    return DoGetEnum<EChannelBandwidth>(eSettingsItem_ChannelBandwidth);
}

EFECMode CMeasurementData::DocsisFECMode() const
{
    return DoGetEnum<EFECMode>(eSettingsItem_FEC);
}

EEqualizer CMeasurementData::DocsisEqualizer() const
{
    return DoGetEnum<EEqualizer>(eSettingsItem_Equalizer);
}

EPhaseTrack CMeasurementData::DocsisPhaseTrkLoop() const
{
    return DoGetEnum<EPhaseTrack>(eSettingsItem_PhaseTrackLoopBandwidth);
}

EChannelProfile CMeasurementData::DocsisProfiles() const
{
    return DoGetEnum<EChannelProfile>(eSettingsItem_Profile);
}

void CMeasurementData::SetRefLevelMode(ERefLevelMode eMode)
{
    CChannelItemData cell = m_Channel.GetItem(eSettingsItem_ReferenceLevelMode);
    cell.Set(CEnumTemplate<ERefLevelMode>::ToId(eMode), eUnitType_None);
    m_Channel.SetItem(cell);
}

bool CMeasurementData::IsDigital() const
{
    const ETVStandards eStandard = TvStandard();
    return eStandard >= eTVStandard_J83A && eStandard <= eTVStandard_DOCSIS31;
}

bool CMeasurementData::IsAnalog() const
{
    const ETVStandards eStandard = TvStandard();
    return eStandard >= eTVStandard_BG_Pal && eStandard <= eTVStandard_N_Pal;
}

EColorSystem CMeasurementData::AnalogColorSystem() const
{
    const ETVStandards eStandard = TvStandard();
    if (Contains(c_SecamStandards, eStandard))
    {
        return eColorSystem_SECAM;
    }
    return eStandard == eTVStandard_M_NTSC ? eColorSystem_NTSC : eColorSystem_PAL;
}

bool CMeasurementData::HasSecondSoundCarrier() const
{
    return !Contains(c_SingleCarrierSoundSystems, AnalogSoundSystem());
}

short CMeasurementData::AnalogTVAnalysisAvarageCount() const
{
    // The entries' texts are the counts themselves.
    return CEnumTemplate<EAverageCount>::ToString(m_Device.AnalogTVAnalysisAvarageCount())
        .toShort();
}

std::map<EMeasurementItems, bool> CMeasurementData::GetSupportedMeasValues(ETVStandards eStandard)
{
    std::map<EMeasurementItems, bool> items;
    if (eStandard >= eTVStandard_BG_Pal && eStandard <= eTVStandard_N_Pal)
    {
        Insert(c_AnalogItems, items);
    }
    else if (eStandard >= eTVStandard_J83A && eStandard <= eTVStandard_ISDBT)
    {
        Insert(c_DigitalCommonItems, items);
        GetSpecificMeasValuesDigital(eStandard, items);
    }
    else if (eStandard >= eTVStandard_EuroDOCSIS30 && eStandard <= eTVStandard_DOCSIS31)
    {
        Insert(c_DocsisItems, items);
        for (int i = eMeasItem_OccupiedBandwidth; i < eMeasItem_None; ++i)
        {
            items.emplace(static_cast<EMeasurementItems>(i), false);
        }
    }
    return items;
}

void CMeasurementData::GetSpecificMeasValuesDigital(ETVStandards eStandard,
                                                    std::map<EMeasurementItems, bool>& items)
{
    for (const SSpecificItems& specific : c_SpecificDigitalItems)
    {
        if (specific.m_eStandard == eStandard)
        {
            for (std::size_t i = 0; i < specific.m_nItems; ++i)
            {
                items.emplace(specific.m_pItems[i], false);
            }
        }
    }
}

QList<EMeasurementItems> CMeasurementData::GetSupportedMeasValuesOnly(ETVStandards eStandard)
{
    QList<EMeasurementItems> items;
    for (const auto& entry : GetSupportedMeasValues(eStandard))
    {
        items.append(entry.first);
    }
    return items;
}

} // namespace LumoraMeasurement

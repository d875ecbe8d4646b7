#include "ESettingsItems.h"

using namespace LumoraMeasurement;

// Row order is the column order of the channel table, not enumerator order.
// clang-format off
MDA_DEFINE_REPRESENTATION(ESettingsItems,
    {eSettingsItem_ChannelName, 1, "Channel Name"},
    {eSettingsItem_Description, 2, "Description"},
    {eSettingsItem_TVStandard, 3, "TV Standard"},
    {eSettingsItem_CenterFrequency, 4, "Center / Vision Carrier Frequency"},
    {eSettingsItem_FrequencyOffset, 5, "Frequency Offset"},
    {eSettingsItem_PowerLimitOffset, 116, "Power Limit Offset"},
    {eSettingsItem_ChannelBandwidth, 101, "Channel Bandwidth"},
    {eSettingsItem_ReferenceLevelMode, 6, "Reference Level Mode"},
    {eSettingsItem_ReferenceLevel, 7, "Reference Level"},
    {eSettingsItem_PreSelector, 8, "Pre Selector"},
    {eSettingsItem_PreAmplifier, 9, "Pre Amplifier"},
    {eSettingsItem_Attenuation, 10, "Attenuation"},
    {eSettingsItem_SidebandPosition, 11, "Sideband Position (Spectral Inversion)"},
    {eSettingsItem_PilotFrequency, 104, "Pilot Frequency"},
    {eSettingsItem_QAMOrder, 105, "QAM Order"},
    {eSettingsItem_SymbolRate, 106, "Symbol Rate"},
    {eSettingsItem_RollOffFactor, 108, "Roll off Factor"},
    {eSettingsItem_AutoParameterDetection, 109, "Auto Parameter Detection"},
    {eSettingsItem_ISDBTLayer, 111, "ISDB-T MER/BER Layer"},
    {eSettingsItem_DTMBModulation, 112, "DTMB Modulation"},
    {eSettingsItem_DTMBFrameHeader, 113, "DTMB Frame Header"},
    {eSettingsItem_DVBT2Profile, 114, "DVB-T2 T2-Profile"},
    {eSettingsItem_DVBT2DecodedPLP, 115, "DVB-T2 Decoded PLP"},
    {eSettingsItem_GroupDelay, 202, "Group Delay"},
    {eSettingsItem_AudioStandard, 203, "Audio Standard"},
    {eSettingsItem_TestLineType, 205, "RPC, Lum Bar Ampl - Method"},
    {eSettingsItem_TestLineField, 206, "RPC, Lum Bar Ampl - Field"},
    {eSettingsItem_TestLineNumber, 207, "RPC, Lum Bar Ampl - Line"},
    {eSettingsItem_QuietLineField, 208, "SNR Quiet Line - Field"},
    {eSettingsItem_QuietLineNumber, 209, "SNR Quiet Line - Line"},
    {eSettingsItem_FEC, 303, "FEC"},
    {eSettingsItem_Subcarrier0Frequency, 304, "Subcarrier 0 Frequency"},
    {eSettingsItem_Equalizer, 306, "Equalizer"},
    {eSettingsItem_Prefilter, 307, "Prefilter"},
    {eSettingsItem_PhaseTrackLoopBandwidth, 310, "Phase Track Loop Bandwidth"},
    {eSettingsItem_Profile, 315, "Profile"})
// clang-format on

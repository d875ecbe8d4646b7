#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// A column of a channel in the channel table. The table rows are not in enumerator order:
/// the row order is the column order that lists built from the table show.
enum ESettingsItems : int
{
    eSettingsItem_ChannelName = 0,
    eSettingsItem_Description = 1,
    eSettingsItem_TVStandard = 2,
    eSettingsItem_CenterFrequency = 3,
    eSettingsItem_FrequencyOffset = 4,
    eSettingsItem_PowerLimitOffset = 5,
    eSettingsItem_ReferenceLevelMode = 6,
    eSettingsItem_ReferenceLevel = 7,
    eSettingsItem_PreSelector = 8,
    eSettingsItem_PreAmplifier = 9,
    eSettingsItem_Attenuation = 10,
    eSettingsItem_SidebandPosition = 11,
    eSettingsItem_PilotFrequency = 12,
    eSettingsItem_ChannelBandwidth = 13,
    eSettingsItem_QAMOrder = 14,
    eSettingsItem_SymbolRate = 15,
    eSettingsItem_RollOffFactor = 16,
    eSettingsItem_AutoParameterDetection = 17,
    eSettingsItem_Equalizer = 18,
    eSettingsItem_ISDBTLayer = 19,
    eSettingsItem_DTMBModulation = 20,
    eSettingsItem_DTMBFrameHeader = 21,
    eSettingsItem_DVBT2Profile = 22,
    eSettingsItem_DVBT2DecodedPLP = 23,
    eSettingsItem_GroupDelay = 24,
    eSettingsItem_AudioStandard = 25,
    eSettingsItem_TestLineType = 26,
    eSettingsItem_TestLineField = 27,
    eSettingsItem_TestLineNumber = 28,
    eSettingsItem_QuietLineField = 29,
    eSettingsItem_QuietLineNumber = 30,
    eSettingsItem_FEC = 31,
    eSettingsItem_Subcarrier0Frequency = 32,
    eSettingsItem_Prefilter = 33,
    eSettingsItem_PhaseTrackLoopBandwidth = 34,
    eSettingsItem_Profile = 35,
    eSettingsItem_None = 36 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::ESettingsItems)

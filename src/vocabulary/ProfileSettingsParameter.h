#pragma once

#include <QString>

/// Names of channel settings as profile settings parameters. Read them back with
/// CEnumConverter::ConvertToESettingsItem. The centre frequency has a British (BE) and an
/// American (AE) spelling; "Payload", "SAW Filter Bandwidth (CYR)" and "System Opt." name no
/// settings item.
namespace LumoraMeasurement::ProfileSettingsParameter
{

/// A parameter name, spelt as the profile document writes it.
///@{
inline const QString c_sGeneral_Channel = QStringLiteral("Channel Name");
inline const QString c_sGeneral_Description = QStringLiteral("Description");
inline const QString c_sGeneral_TVStandard = QStringLiteral("TV Standard");
inline const QString c_sGeneral_ChannelCenterAE = QStringLiteral("Channel Center");
inline const QString c_sGeneral_ChannelCenterBE = QStringLiteral("Channel Centre");
inline const QString c_sGeneral_FrequencyOffset = QStringLiteral("Frequency Offset");
inline const QString c_sGeneral_ReferenceLevel = QStringLiteral("Reference Level");
inline const QString c_sGeneral_Preamp = QStringLiteral("Preamp");
inline const QString c_sGeneral_Attenuation = QStringLiteral("Attenuation");
inline const QString c_sGeneral_SidebandPosition = QStringLiteral("Sideband Position");
inline const QString c_sDigital_ChannelBandwidth = QStringLiteral("Channel Bandwidth");
inline const QString c_sDigital_DigitalStandard = QStringLiteral("Digital Standard");
inline const QString c_sDigital_Payload = QStringLiteral("Payload");
inline const QString c_sDigital_CenterFrequencyAE = QStringLiteral("Center Frequency");
inline const QString c_sDigital_CenterFrequencyBE = QStringLiteral("Centre Frequency");
inline const QString c_sDigital_PilotFrequency = QStringLiteral("Pilot Frequency");
inline const QString c_sDigital_SAWFilterBandwidthCYR =
    QStringLiteral("SAW Filter Bandwidth (CYR)");
inline const QString c_sDigital_QAMOrder = QStringLiteral("QAM Order");
inline const QString c_sDigital_SymbolRate = QStringLiteral("Symbol Rate");
inline const QString c_sDigital_RollOffFactor = QStringLiteral("Roll off Factor");
inline const QString c_sDigital_SystemOpt = QStringLiteral("System Opt.");
inline const QString c_sDigital_AutoTPS = QStringLiteral("Auto TPS");
inline const QString c_Analogue_VideoStandard = QStringLiteral("Video Standard");
inline const QString c_Analogue_VisionCarrierFrequency = QStringLiteral("Vision Carrier Frequency");
inline const QString c_Analogue_GroupDelay = QStringLiteral("Group Delay");
inline const QString c_Analogue_AudioStandard = QStringLiteral("Audio Standard");
inline const QString c_Analogue_TestLineType = QStringLiteral("Test Line Type");
inline const QString c_Analogue_TestLineField = QStringLiteral("Test Line Field");
inline const QString c_Analogue_TestLineNumber = QStringLiteral("Test Line Number");
inline const QString c_Analogue_QuietLineField = QStringLiteral("Quiet Line Field");
inline const QString c_Analogue_QuietLineNumber = QStringLiteral("Quiet Line Number");
///@}

} // namespace LumoraMeasurement::ProfileSettingsParameter

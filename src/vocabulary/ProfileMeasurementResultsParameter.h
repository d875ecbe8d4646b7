#pragma once

#include <QString>

/// Names of measurement items as profile measurement-result parameters. Read them back with
/// CEnumConverter::ConvertToEMeasurementItems; the last six name no item.
namespace LumoraMeasurement::ProfileMeasurementResultsParameter
{

/// A parameter name, spelt as the profile document writes it.
///@{
inline const QString c_sGeneral_Status = QStringLiteral("Status");
inline const QString c_sGeneral_TimeStamp = QStringLiteral("Time Stamp");
inline const QString c_sGeneral_10MHzReference = QStringLiteral("10 MHz Reference");
inline const QString c_sGeneral_ReferenceLevel = QStringLiteral("Reference Level");
inline const QString c_sGeneral_PreampState = QStringLiteral("Preamp State");
inline const QString c_sGeneral_Attenuation = QStringLiteral("Attenuation");
inline const QString c_sGeneral_Preselector = QStringLiteral("Preselector");
inline const QString c_sDigital_Power = QStringLiteral("Power");
inline const QString c_sDigital_CarrierFrequencyOffset = QStringLiteral("Carrier Frequence Offset");
inline const QString c_sDigital_SymbolRateOffset = QStringLiteral("Symbol Rate Offset");
inline const QString c_sDigital_BitRateOffset = QStringLiteral("Bit Rate Offset");
inline const QString c_sDigital_DemodLock = QStringLiteral("Demod Lock");
inline const QString c_sDigital_MPEGLock = QStringLiteral("MPEG Lock");
inline const QString c_sDigital_PLPLock = QStringLiteral("PLP Lock");
inline const QString c_sDigital_MERRMS_dB = QStringLiteral("MER (RMS) [dB]");
inline const QString c_sDigital_MERRMS_Percent = QStringLiteral("MER (RMS) [%]");
inline const QString c_sDigital_MERPeak_dB = QStringLiteral("MER (peak) [dB]");
inline const QString c_sDigital_MERPeak_Percent = QStringLiteral("MER (peak) [%]");
inline const QString c_sDigital_EVMRMS_dB = QStringLiteral("EVM (RMS) [dB]");
inline const QString c_sDigital_EVMRMS_Percent = QStringLiteral("EVM (RMS) [%]");
inline const QString c_sDigital_EVMPeak_dB = QStringLiteral("EVM (peak) [dB]");
inline const QString c_sDigital_EVMPeak_Percent = QStringLiteral("EVM (peak) [%]");
inline const QString c_sDigital_MERL1RMS_dB = QStringLiteral("MER L1 (RMS) [dB]");
inline const QString c_sDigital_MERL1RMS_Percent = QStringLiteral("MER L1 (RMS) [%]");
inline const QString c_sDigital_MERL1Peak_dB = QStringLiteral("MER L1 (peak) [dB]");
inline const QString c_sDigital_MERL1Peak_Percent = QStringLiteral("MER L1 (peak) [%]");
inline const QString c_sDigital_MERPLPRMS_dB = QStringLiteral("MER PLP (RMS) [dB]");
inline const QString c_sDigital_MERPLPRMS_Percent = QStringLiteral("MER PLP (RMS) [%]");
inline const QString c_sDigital_MERPLPPeak_dB = QStringLiteral("MER PLP (peak) [dB]");
inline const QString c_sDigital_MERPLPPeak_Percent = QStringLiteral("MER PLP (peak) [%]");
inline const QString c_sDigital_EVMPLPRMS_dB = QStringLiteral("EVM PLP (RMS) [dB]");
inline const QString c_sDigital_EVMPLPRMS_Percent = QStringLiteral("EVM PLP (RMS) [%]");
inline const QString c_sDigital_EVMPLPPeak_dB = QStringLiteral("EVM PLP (peak) [dB]");
inline const QString c_sDigital_EVMPLPPeak_Percent = QStringLiteral("EVM PLP (peak) [%]");
inline const QString c_sDigital_BERBeforeViterbi = QStringLiteral("BER before Viterbi");
inline const QString c_sDigital_BERBeforeRS = QStringLiteral("BER before RS");
inline const QString c_sDigital_BERAfterRS = QStringLiteral("BER after RS");
inline const QString c_sDigital_BERBeforeBCH = QStringLiteral("BER before BCH");
inline const QString c_sDigital_BERBeforeLDPC = QStringLiteral("BER before LDPC");
inline const QString c_sDigital_LDPCIteration = QStringLiteral("LDPC Iteration");
inline const QString c_sDigital_PERSER = QStringLiteral("PER/SER");
inline const QString c_sDigital_TSRate = QStringLiteral("TS Rate");
inline const QString c_sDigital_ShoulderAttenLower = QStringLiteral("Shoulder Atten Lower");
inline const QString c_sDigital_ShoulderAttenUpper = QStringLiteral("Shoulder Atten Upper");
inline const QString c_sDigital_PhaseJitter = QStringLiteral("Phase Jitter");
inline const QString c_sDigital_CrestFactorCurrent = QStringLiteral("Crest Factor Current");
inline const QString c_sDigital_GroupDelay = QStringLiteral("Group Delay");
inline const QString c_sDigital_AmplitudeResponse = QStringLiteral("Amplitude Response");
inline const QString c_sDigital_PhaseResponse = QStringLiteral("Phase Response");
inline const QString c_sDigital_IQImbalance = QStringLiteral("I/Q Imbalance");
inline const QString c_sDigital_IQQuadError = QStringLiteral("I/Q Quad Error");
inline const QString c_sDigital_CarrierSuppression = QStringLiteral("Carrier Suppression");
inline const QString c_sDigital_CarrierPhase = QStringLiteral("Carrier Phase");
inline const QString c_sDigital_SN = QStringLiteral("S/N");
inline const QString c_sDigital_LevelEcho1 = QStringLiteral("Level Echo 1");
inline const QString c_sDigital_DelayEcho1 = QStringLiteral("Delay Echo 1");
inline const QString c_sDigital_LevelEcho2 = QStringLiteral("Level Echo 2");
inline const QString c_sDigital_DelayEcho2 = QStringLiteral("Delay Echo 2");
inline const QString c_sDigital_LevelEcho3 = QStringLiteral("Level Echo 3");
inline const QString c_sDigital_DelayEcho3 = QStringLiteral("Delay Echo 3");
inline const QString c_sDigital_LevelEcho4 = QStringLiteral("Level Echo 4");
inline const QString c_sDigital_DelayEcho4 = QStringLiteral("Delay Echo 4");
inline const QString c_sDigital_LevelEcho5 = QStringLiteral("Level Echo 5");
inline const QString c_sDigital_DelayEcho5 = QStringLiteral("Delay Echo 5");
inline const QString c_sDigital_LevelEcho6 = QStringLiteral("Level Echo 6");
inline const QString c_sDigital_DelayEcho6 = QStringLiteral("Delay Echo 6");
inline const QString c_sDigital_LevelEcho7 = QStringLiteral("Level Echo 7");
inline const QString c_sDigital_DelayEcho7 = QStringLiteral("Delay Echo 7");
inline const QString c_sDigital_LevelEcho8 = QStringLiteral("Level Echo 8");
inline const QString c_sDigital_DelayEcho8 = QStringLiteral("Delay Echo 8");
inline const QString c_sDigital_LevelEcho9 = QStringLiteral("Level Echo 9");
inline const QString c_sDigital_DelayEcho9 = QStringLiteral("Delay Echo 9");
inline const QString c_sDigital_LevelEcho10 = QStringLiteral("Level Echo 10");
inline const QString c_sDigital_DelayEcho10 = QStringLiteral("Delay Echo 10");
inline const QString c_sAnalogue_VisionCarrierLevel = QStringLiteral("Vision Carrier Level");
inline const QString c_sAnalogue_CarrierFrequencyOffset =
    QStringLiteral("Carrier Frequency Offset");
inline const QString c_sAnalogue_VisionDetector = QStringLiteral("Vision Detector");
inline const QString c_sAnalogue_LuminanceBarAmplitudeError =
    QStringLiteral("Luminance Bar Amplitude Error");
inline const QString c_sAnalogue_LuminanceBarAmplitude = QStringLiteral("Luminance Bar Amplitude");
inline const QString c_sAnalogue_SNVideoWeightedBar = QStringLiteral("S/N Video Weighted (bar)");
inline const QString c_sAnalogue_SNVideoWeightedNom = QStringLiteral("S/N Video Weighted (nom)");
inline const QString c_sAnalogue_FM1SoundCarrier = QStringLiteral("FM1 Sound Carrier");
inline const QString c_sAnalogue_FM2SoundCarrier = QStringLiteral("FM2 Sound Carrier");
inline const QString c_sAnalogue_ModulationDepth = QStringLiteral("Modulation Depth");
inline const QString c_sAnalogue_ResidualPictureCarrier =
    QStringLiteral("Residual Picture Carrier");
inline const QString c_sAnalogue_VisionFM1PowerRelative =
    QStringLiteral("Vision/FM1 Power relative");
inline const QString c_sAnalogue_FM1IntercarrierFreq = QStringLiteral("FM1 Intercarrier Freq");
inline const QString c_sAnalogue_VisionFM2PowerRelative =
    QStringLiteral("Vision/FM2 Power relative");
inline const QString c_sAnalogue_FM2IntercarrierFreq = QStringLiteral("FM2 Intercarrier Freq");
inline const QString c_sAnalogue_HUM = QStringLiteral("HUM");
///@}

/// A parameter without a measurement item.
///@{
inline const QString c_sGeneral_Hardware = QStringLiteral("Hardware");
inline const QString c_sAnalogue_FMSoundCarrier = QStringLiteral("FM Sound Carrier");
inline const QString c_sAnalogue_NICAMCarrier = QStringLiteral("NICAM Carrier");
inline const QString c_sAnalogue_VisionFMPowerRelative = QStringLiteral("Vision/FM Power relative");
inline const QString c_sAnalogue_FMIntercarrierFreq = QStringLiteral("FM Intercarrier Freq");
inline const QString c_sAnalogue_VisionNICAMPowerRelative =
    QStringLiteral("Vision/NICAM Power relative");
///@}

} // namespace LumoraMeasurement::ProfileMeasurementResultsParameter

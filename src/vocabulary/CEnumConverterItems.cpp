// The conversions of CEnumConverter that concern measurement items and settings items.
#include "CEnumConverter.h"
#include "CValueFactory.h"

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

#pragma once

#include "MainDataAccess_export.h"

#include "CChannelData.h"
#include "CComparativeValueData.h"
#include "CComparativeValueDataItem.h"
#include "CDeviceSettingsData.h"
#include "CMeasurementItem.h"
#include "EAnalogGroupDelay.h"
#include "EAnalogSoundSystem.h"
#include "EChannelBandwidth.h"
#include "EChannelProfile.h"
#include "EColorSystem.h"
#include "EDTMBFrameHeader.h"
#include "EDTMBModulation.h"
#include "EDVBT2Profiles.h"
#include "EDigitalConstellation.h"
#include "EEqualizer.h"
#include "EFECMode.h"
#include "EISDBTLayer.h"
#include "EMeasurementItems.h"
#include "EOnOff.h"
#include "EPhaseTrack.h"
#include "ERefLevelMode.h"
#include "ERollOffFactor.h"
#include "ESideBandPosition.h"
#include "ETVStandards.h"

#include <QList>

#include <map>
#include <vector>

namespace LumoraMeasurement
{

/// What the measuring application needs to measure one channel: the device settings, the
/// channel record, the limit table and one result cell per measurement item, with typed access
/// to the channel's settings and the measurement items each TV standard supports.
///
/// The device settings, channel and limits are held by reference: their owner keeps them alive
/// for as long as this object is used.
class MDA_EXPORT CMeasurementData
{
public:
    /// Refers to the device settings, the channel and the limits; the result list starts empty
    /// (see Initialize()).
    CMeasurementData(CDeviceSettingsData& device, CChannelData& channel,
                     CComparativeValueData& limits);

    /// Appends a fresh result cell for every measurement item.
    void Initialize();

    /// The device settings it refers to.
    CDeviceSettingsData& Device() { return m_Device; }
    /// The limits it refers to.
    CComparativeValueData& CompareValues() { return m_Limits; }
    /// The result cells, in the order Initialize() appended them.
    const std::vector<CMeasurementItem>& GetData() const { return m_vResults; }
    /// The result cell of the item; the cell of no item when there is none.
    CMeasurementItem& Results(EMeasurementItems eItem);
    /// Walks the results without changing anything.
    void DoCompareMeasurement(std::vector<CComparativeValueDataItem>& limits);

    ///@{
    /// A channel value as stored in the channel record.
    double ChannelCenter() const;
    double FrequencyOffset() const;
    double PowerLimitOffset() const;
    double ReferenceLevel() const;
    double Attenuation() const;
    double SymbolRate() const;
    double DocsisSubCarrier0Freq() const;
    long AnalogTestMethod() const;
    long AnalogTestField() const;
    long AnalogTestLine() const;
    long AnalogQuietLineField() const;
    long AnalogQuietLineNumber() const;
    ///@}
    /// -1 stands for automatic PLP selection.
    long DVBT2DecodedPLP() const;

    ///@{
    /// A selection value of the channel record as an enumerator; an id without entry gives the
    /// enumeration's sentinel.
    ETVStandards TvStandard() const;
    ETVStandards DigitalStandard() const;
    ERefLevelMode RefLevelMode() const;
    EOnOff PreSelector() const;
    EOnOff Preamplifier() const;
    EOnOff AutomaticParameterDetection() const;
    EOnOff DocsisPreFilter() const;
    EAnalogGroupDelay AnalogGroupDelay() const;
    EAnalogSoundSystem AnalogSoundSystem() const;
    ESideBandPosition AnalogSideBandPosition() const;
    EDigitalConstellation DigitalConstellation() const;
    ERollOffFactor RollOffFactor() const;
    EISDBTLayer ISDBTLayer() const;
    EDTMBModulation DTMBModulation() const;
    EDTMBFrameHeader DTMBFrameHeader() const;
    EDVBT2Profiles DVBT2Profile() const;
    EChannelBandwidth ChannelBandwidth() const;
    EFECMode DocsisFECMode() const;
    EEqualizer DocsisEqualizer() const;
    EPhaseTrack DocsisPhaseTrkLoop() const;
    EChannelProfile DocsisProfiles() const;
    ///@}

    /// Writes the mode into the channel record this object refers to.
    void SetRefLevelMode(ERefLevelMode eMode);

    /// True for a digital TV standard (J.83/A to DOCSIS 3.1).
    bool IsDigital() const;
    /// True for an analogue TV standard.
    bool IsAnalog() const;
    /// SECAM for the SECAM standards, NTSC for M NTSC, PAL for every other standard.
    EColorSystem AnalogColorSystem() const;
    /// False for the mono sound systems and the AM system.
    bool HasSecondSoundCarrier() const;
    /// The averaging count of the device settings as a number; 0 when it has no entry.
    short AnalogTVAnalysisAvarageCount() const;

    /// The items the standard supports, each flagged false; empty above the last standard.
    static std::map<EMeasurementItems, bool> GetSupportedMeasValues(ETVStandards eStandard);
    /// Adds the items specific to one digital broadcast standard.
    static void GetSpecificMeasValuesDigital(ETVStandards eStandard,
                                             std::map<EMeasurementItems, bool>& items);
    /// The supported items in ascending order.
    static QList<EMeasurementItems> GetSupportedMeasValuesOnly(ETVStandards eStandard);

private:
    template <typename E> E DoGetEnum(ESettingsItems eItem) const;

    CDeviceSettingsData& m_Device;
    CChannelData& m_Channel;
    CComparativeValueData& m_Limits;
    CMeasurementItem m_NoResult;
    std::vector<CMeasurementItem> m_vResults;
};

} // namespace LumoraMeasurement

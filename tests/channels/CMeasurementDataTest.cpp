#include "CMeasurementData.h"
#include "ChannelTestTools.h"

using namespace LumoraMeasurement;
using namespace ChannelTest;

namespace
{

// Owns what a CMeasurementData refers to.
struct SMeasurement
{
    explicit SMeasurement(ETVStandards eStandard) : m_Channel(eStandard, "M") {}
    CDeviceSettingsData m_Device;
    CChannelData m_Channel;
    CComparativeValueData m_Limits;
    CMeasurementData m_Data{m_Device, m_Channel, m_Limits};
};

} // namespace

TEST(CMeasurementData, SupportedItemsPerStandardInAscendingOrder)
{
    for (const QStringList& r : DataRows("supported_items.tsv"))
    {
        SCOPED_TRACE(r[0].toStdString());
        const ETVStandards eStandard = Enum<ETVStandards>(r[0]);
        const QList<EMeasurementItems> items =
            CMeasurementData::GetSupportedMeasValuesOnly(eStandard);
        EXPECT_EQ(items.size(), r[1].toInt());
        QStringList names;
        for (int i = 0; i < items.size(); ++i)
        {
            EXPECT_TRUE(i == 0 || items[i - 1] < items[i]) << i;
            names << CEnumTemplate<EMeasurementItems>::ToString(items[i]);
        }
        EXPECT_TRUE(r[2].isEmpty() || names == List(r[2])) << names.join('|').toStdString();
        for (const auto& entry : CMeasurementData::GetSupportedMeasValues(eStandard))
        {
            EXPECT_FALSE(entry.second);
        }
    }

    std::map<EMeasurementItems, bool> items{{eMeasItem_Power, true}};
    CMeasurementData::GetSpecificMeasValuesDigital(eTVStandard_DVBT, items);
    EXPECT_EQ(items.size(), 22u);
    // Power was present already: left as it was.
    EXPECT_TRUE(items.at(eMeasItem_Power) && !items.at(eMeasItem_MPEGLock));
    CMeasurementData::GetSpecificMeasValuesDigital(eTVStandard_DOCSIS31, items);
    EXPECT_EQ(items.size(), 22u);
}

TEST(CMeasurementData, ClassifiesTheStandardsHoldsResultsAndReadsTheChannelsSettings)
{
    for (const QStringList& r : DataRows("standard_classes.tsv"))
    {
        SCOPED_TRACE(r[0].toStdString());
        SMeasurement measurement(Enum<ETVStandards>(r[0]));
        EXPECT_EQ(measurement.m_Data.TvStandard(), Enum<ETVStandards>(r[0]));
        EXPECT_EQ(measurement.m_Data.IsAnalog(), r[1] == "true");
        EXPECT_EQ(measurement.m_Data.IsDigital(), r[2] == "true");
        EXPECT_EQ(measurement.m_Data.AnalogColorSystem(), Enum<EColorSystem>(r[3]));
    }
    SMeasurement unknown(eTVStandard_BG_Pal);
    unknown.m_Channel.SetItemValue(eSettingsItem_TVStandard, 99L);
    EXPECT_EQ(unknown.m_Data.TvStandard(), eTVStandard_None);
    EXPECT_EQ(unknown.m_Data.DigitalStandard(), eTVStandard_None);
    EXPECT_FALSE(unknown.m_Data.IsAnalog() || unknown.m_Data.IsDigital());
    EXPECT_EQ(unknown.m_Data.AnalogColorSystem(), eColorSystem_PAL);

    SMeasurement measurement(eTVStandard_BG_Pal);
    const QStringList single = {"FM 5.5 MHz MONO",   "FM 6.5 MHz MONO",    "FM 6.0 MHz MONO",
                                "FM 4.5 MHz / BTSC", "FM 4.5 MHz / EIA_J", "FM 4.5 MHz MONO",
                                "AM 6.5 MHz"};
    for (const auto& row : CRepresentation<EAnalogSoundSystem>::Table())
    {
        SCOPED_TRACE(row.m_sText.toStdString());
        measurement.m_Channel.SetItemValue(eSettingsItem_AudioStandard, row.m_lId);
        EXPECT_EQ(measurement.m_Data.AnalogSoundSystem(), row.m_eEnumValue);
        EXPECT_EQ(measurement.m_Data.HasSecondSoundCarrier(), !single.contains(row.m_sText));
    }
    measurement.m_Channel.SetItemValue(eSettingsItem_AudioStandard, 77L);
    EXPECT_EQ(measurement.m_Data.AnalogSoundSystem(), eAnalogSoundSystem_None);
    EXPECT_TRUE(measurement.m_Data.HasSecondSoundCarrier());

    // Results and averaging.
    CMeasurementData& data = measurement.m_Data;
    ASSERT_EQ(data.GetData().size(), 128u);
    EXPECT_EQ(data.GetData().front().Id(), eMeasItem_Status);
    EXPECT_EQ(data.GetData().back().Id(), eMeasItem_AverageLPDCIterations);
    EXPECT_EQ(data.Results(eMeasItem_HUM).Id(), eMeasItem_HUM);
    EXPECT_EQ(data.Results(eMeasItem_None).Id(), eMeasItem_None);
    data.Results(eMeasItem_Power).Set(12.5, eUnitType_None);
    EXPECT_TRUE(data.Results(eMeasItem_Power).HasValidMeasurementData());

    std::vector<CComparativeValueDataItem> limits;
    data.DoCompareMeasurement(limits);
    EXPECT_DOUBLE_EQ(data.Results(eMeasItem_Power).ToFloat(), 12.5);

    EXPECT_EQ(data.AnalogTVAnalysisAvarageCount(), 32); // the device default
    const std::pair<EAverageCount, short> counts[] = {
        {eAverageCount_0, 0}, {eAverageCount_64, 64}, {eAverageCount_256, 256}};
    for (const auto& count : counts)
    {
        measurement.m_Device.SetAnalogTVAnalysisAvarageCount(count.first);
        EXPECT_EQ(data.AnalogTVAnalysisAvarageCount(), count.second);
    }

    // The channel's settings, from a DVB-T2 record.
    SMeasurement dvbt2(eTVStandard_DVBT2);
    CChannelData& channel = dvbt2.m_Channel;
    CMeasurementData& t2 = dvbt2.m_Data;
    channel.SetItemValue(eSettingsItem_CenterFrequency, "474");
    channel.SetItemValue(eSettingsItem_PowerLimitOffset, "-1.5");
    channel.SetItemValue(eSettingsItem_DVBT2DecodedPLP, "-1");
    channel.SetItemValue(eSettingsItem_QAMOrder, 12L);        // QAM64NH
    channel.SetItemValue(eSettingsItem_RollOffFactor, 1L);    // 0.115
    channel.SetItemValue(eSettingsItem_ChannelBandwidth, 0L); // 1.7 MHz, already stored
    channel.SetItemValue(eSettingsItem_DVBT2Profile, 1L);     // T2-lite
    channel.SetItemValue(eSettingsItem_PreAmplifier, 1L);     // Off
    channel.SetItemValue(eSettingsItem_Profile, 16L);         // P
    channel.SetItemValue(eSettingsItem_ISDBTLayer, 9L);       // no entry

    EXPECT_DOUBLE_EQ(t2.ChannelCenter(), 474000000.0);
    EXPECT_DOUBLE_EQ(t2.PowerLimitOffset(), -1.5);
    EXPECT_EQ(
        (std::vector<long>{t2.DVBT2DecodedPLP(), t2.DigitalConstellation(), t2.RollOffFactor(),
                           t2.ChannelBandwidth(), t2.DVBT2Profile(), t2.Preamplifier(),
                           t2.DocsisProfiles(), t2.ISDBTLayer(), t2.RefLevelMode()}),
        (std::vector<long>{-1, eDigitalConstellation_QAM64NH, eRollOffFactor_0_115,
                           eChannelBandwidth_1_7MHz, eDVBT2Profiles_T2Lite, eOnOff_Off,
                           eChannelProfile_P, eISDBTLayer_None, eRefLevelMode_Automatic}));

    t2.SetRefLevelMode(eRefLevelMode_AutomaticTimeOptimized);
    EXPECT_EQ(t2.RefLevelMode(), eRefLevelMode_AutomaticTimeOptimized);
    EXPECT_EQ(channel.GetItem(eSettingsItem_ReferenceLevelMode).ToInt(), 2);
    t2.SetRefLevelMode(eRefLevelMode_None);
    EXPECT_EQ(channel.GetItem(eSettingsItem_ReferenceLevelMode).ToInt(), -1);
    EXPECT_EQ(t2.RefLevelMode(), eRefLevelMode_None);
}

// Every representation table against the catalogue in enums.tsv, row by row, and the lookups
// of each table including their fallbacks. Enumerations the converters' headers declare come
// with them.
#include "CConverter.h"
#include "CEnumConverter.h"
#include "CEnumTemplate.h"
#include "CMeasurementItem.h"
#include "EAcquisitionMode.h"
#include "EAverageCount.h"
#include "EBERMode.h"
#include "EBERSource.h"
#include "EChannelProfile.h"
#include "ECompareType.h"
#include "EComparisonState.h"
#include "ECyclicPrefixLength.h"
#include "EDTMBFrameHeader.h"
#include "EDTMBModulation.h"
#include "EDVBT2Profiles.h"
#include "EEqualizer.h"
#include "EFECMode.h"
#include "EISDBTLayer.h"
#include "EInstrument.h"
#include "EInstrumentReference.h"
#include "ELocked.h"
#include "EMERSign.h"
#include "EMeasurementErrorStrategie.h"
#include "EMeasurementType.h"
#include "EPhaseTrack.h"
#include "EPresent.h"
#include "ERefLevelMode.h"
#include "ERestorationDeviceSettings.h"
#include "ERollOffPeriod.h"
#include "EScanState.h"
#include "ESignal.h"
#include "ESignalTransmission.h"
#include "ESubCarrierSpacing.h"
#include "ETestDepth.h"
#include "ETestLineField.h"
#include "EYesNo.h"
#include "VocabularyTestData.h"

#include <algorithm>
#include <map>
#include <string>

using namespace LumoraMeasurement;

namespace
{

template <typename E> void CheckTable(const std::vector<QStringList>& rows, int iSentinel)
{
    using T = CEnumTemplate<E>;
    const auto& table = CRepresentation<E>::Table();
    ASSERT_EQ(table.size(), static_cast<int>(rows.size()));

    QStringList texts;
    int iLargest = -1;
    for (int i = 0; i < table.size(); ++i)
    {
        const int iValue = rows[i][0].toInt();
        const long lId = rows[i][1].toLong();
        const QString& sText = rows[i][2];
        SCOPED_TRACE(sText.toStdString());
        EXPECT_EQ(static_cast<int>(table[i].m_eEnumValue), iValue);
        EXPECT_EQ(std::tuple(table[i].m_lId, table[i].m_sText), std::tuple(lId, sText));

        EXPECT_EQ(static_cast<int>(T::ToEnum(lId)), iValue);
        EXPECT_EQ(T::IdToString(lId), sText);
        EXPECT_EQ(static_cast<int>(T::TextToEnum(sText)), iValue);

        // ToString and ToId answer from the first row carrying the enumerator.
        const auto first =
            std::find_if(rows.begin(), rows.end(),
                         [&](const QStringList& row) { return row[0].toInt() == iValue; });
        EXPECT_EQ(T::ToString(static_cast<E>(iValue)), (*first)[2]);
        EXPECT_EQ(T::ToId(static_cast<E>(iValue)), (*first)[1].toLong());

        texts.append(sText);
        iLargest = std::max(iLargest, iValue);
    }
    EXPECT_EQ(T::ToStringList(), texts);

    EXPECT_EQ(iSentinel, iLargest + 1);
    const E eSentinel = static_cast<E>(iSentinel);
    EXPECT_EQ(T::Sentinel(), eSentinel);
    EXPECT_TRUE(T::ToString(eSentinel).isNull() && T::IdToString(1000).isNull());
    EXPECT_EQ(T::ToId(eSentinel), -1);
    EXPECT_EQ(std::vector<E>({T::ToEnum(-1), T::ToEnum(1000), T::TextToEnum(QString())}),
              std::vector<E>(3, eSentinel));
    // Text matching is exact: neither padding nor another letter case is accepted.
    const QString sFirst = rows.front()[2];
    EXPECT_EQ(T::TextToEnum(sFirst + ' '), eSentinel);
    EXPECT_TRUE(sFirst.toUpper() == sFirst || T::TextToEnum(sFirst.toUpper()) == eSentinel);
}

// clang-format off
#define TABLE(E, ePrefix) {#E, {&CheckTable<E>, ePrefix##_None}}
// clang-format on

using FnCheck = void (*)(const std::vector<QStringList>&, int);

} // namespace

TEST(EnumCatalogue, EveryTableMatchesTheCatalogue)
{
    // clang-format off
    const std::map<std::string, std::pair<FnCheck, int>> enumerations = {
        TABLE(EAnalogGroupDelay, eAnalogGroupDelay), TABLE(ESideBandPosition, eSideBandPosition),
        TABLE(EAnalogSoundSystem, eAnalogSoundSystem), TABLE(ECategory, eCategory),
        TABLE(EColorSystem, eColorSystem), TABLE(EComparisonState, eComparisonState),
        TABLE(EInstrument, eInstrument),
        TABLE(EMeasurementErrorStrategie, eMeasurementErrorStrategie),
        TABLE(EMeasurementType, eMeasurementType), TABLE(ESignalTransmission, eSignalTransmission),
        TABLE(ETVStandards, eTVStandard), TABLE(EInstrumentReference, eInstrumentReference),
        TABLE(ECompareType, eCompareType), TABLE(ELocked, eLocked), TABLE(EOnOff, eOnOff),
        TABLE(EPresent, ePresent), TABLE(ERefLevelMode, eRefLevelMode),
        TABLE(EDigitalConstellation, eDigitalConstellation), TABLE(ERollOffFactor, eRollOffFactor),
        TABLE(ERollOffPeriod, eRollOffPeriod), TABLE(ETestLineType, eTestLineType),
        TABLE(ETestLineField, eTestLineField), TABLE(ESignal, eSignal),
        TABLE(EEqualizer, eEqualizer), TABLE(EPhaseTrack, ePhaseTrack), TABLE(EFECMode, eFECMode),
        TABLE(EChannelProfile, eChannelProfile), TABLE(EBERMode, eBERMode),
        TABLE(EBERSource, eBERSource), TABLE(ETestDepth, eTestDepth),
        TABLE(EAcquisitionMode, eAcquisitionMode), TABLE(ESubCarrierSpacing, eSubCarrierSpacing),
        TABLE(ECyclicPrefixLength, eCyclicPrefixLength),
        TABLE(EChannelBandwidth, eChannelBandwidth), TABLE(EScanState, eScanState),
        TABLE(EMERSign, eMERSign), TABLE(ERestorationDeviceSettings, eRestorationDeviceSettings),
        TABLE(EYesNo, eYesNo), TABLE(EISDBTLayer, eISDBTLayer),
        TABLE(EDTMBModulation, eDTMBModulation), TABLE(EDTMBFrameHeader, eDTMBFrameHeader),
        TABLE(EDVBT2Profiles, eDVBT2Profiles), TABLE(EAverageCount, eAverageCount),
        TABLE(EUnitTypes, eUnitType), TABLE(ELevelUnit, eLevelUnit),
        TABLE(EInstrumentImpedance, eInstrumentImpedance),
        TABLE(EMeasurementItemState, eMeasurementItemState),
    };
    // clang-format on
    ASSERT_EQ(enumerations.size(), 47u);
    for (const auto& [sName, enumeration] : enumerations)
    {
        SCOPED_TRACE(sName);
        enumeration.first(VocabularyTest::ReadRows("enums.tsv", 3, QString::fromStdString(sName)),
                          enumeration.second);
    }
    // ns has no row of the unit table.
    EXPECT_EQ(CEnumTemplate<EUnitTypes>::ToId(eUnitType_ns), -1);
    EXPECT_TRUE(CEnumTemplate<EUnitTypes>::ToString(eUnitType_ns).isNull());
}

#include "CEnumConverter.h"
#include "CEnumTemplate.h"
#include "CValueFactory.h"
#include "ProfileMeasurementResultsParameter.h"
#include "VocabularyTestData.h"

using namespace LumoraMeasurement;
using VocabularyTest::ReadRows;

namespace
{

using ItemTable = CEnumTemplate<EMeasurementItems>;

EMeasurementItems Item(const QString& sItem)
{
    return static_cast<EMeasurementItems>(sItem.toInt());
}

using namespace ProfileMeasurementResultsParameter;
#define G(x) &c_sGeneral_##x
#define D(x) &c_sDigital_##x
#define A(x) &c_sAnalogue_##x
// clang-format off
// The profile-name constants in catalogue order of the items with such a name, then names no
// item answers to.
const QString* const c_Named[] = {
    G(Status), G(TimeStamp), G(10MHzReference), G(ReferenceLevel), G(PreampState),
    G(Attenuation), G(Preselector), D(Power), D(CarrierFrequencyOffset), D(SymbolRateOffset),
    D(BitRateOffset), D(DemodLock), D(MPEGLock), D(PLPLock), D(MERRMS_dB), D(MERRMS_Percent),
    D(MERPeak_dB), D(MERPeak_Percent), D(EVMRMS_dB), D(EVMRMS_Percent), D(EVMPeak_dB),
    D(EVMPeak_Percent), D(MERL1RMS_dB), D(MERL1RMS_Percent), D(MERL1Peak_dB),
    D(MERL1Peak_Percent), D(MERPLPRMS_dB), D(MERPLPRMS_Percent), D(MERPLPPeak_dB),
    D(MERPLPPeak_Percent), D(EVMPLPRMS_dB), D(EVMPLPRMS_Percent), D(EVMPLPPeak_dB),
    D(EVMPLPPeak_Percent), D(BERBeforeViterbi), D(BERBeforeRS), D(BERAfterRS), D(BERBeforeBCH),
    D(BERBeforeLDPC), D(LDPCIteration), D(PERSER), D(TSRate), D(ShoulderAttenLower),
    D(ShoulderAttenUpper), D(PhaseJitter), D(CrestFactorCurrent), D(GroupDelay),
    D(AmplitudeResponse), D(PhaseResponse), D(IQImbalance), D(IQQuadError),
    D(CarrierSuppression), D(CarrierPhase), D(SN), D(LevelEcho1), D(DelayEcho1), D(LevelEcho2),
    D(DelayEcho2), D(LevelEcho3), D(DelayEcho3), D(LevelEcho4), D(DelayEcho4), D(LevelEcho5),
    D(DelayEcho5), D(LevelEcho6), D(DelayEcho6), D(LevelEcho7), D(DelayEcho7), D(LevelEcho8),
    D(DelayEcho8), D(LevelEcho9), D(DelayEcho9), D(LevelEcho10), D(DelayEcho10),
    A(VisionCarrierLevel), A(CarrierFrequencyOffset), A(VisionDetector),
    A(LuminanceBarAmplitudeError), A(LuminanceBarAmplitude), A(SNVideoWeightedBar),
    A(SNVideoWeightedNom), A(FM1SoundCarrier), A(FM2SoundCarrier), A(ModulationDepth),
    A(ResidualPictureCarrier), A(VisionFM1PowerRelative), A(FM1IntercarrierFreq),
    A(VisionFM2PowerRelative), A(FM2IntercarrierFreq), A(HUM),
};
const QString* const c_Unnamed[] = {
    G(Hardware), A(FMSoundCarrier), A(NICAMCarrier), A(VisionFMPowerRelative),
    A(FMIntercarrierFreq), A(VisionNICAMPowerRelative),
};
// clang-format on

} // namespace

// Every column of measurement_items.tsv against the table, the value factory and the converter.
TEST(MeasurementItemCatalogue, EveryItemMatchesTheCatalogueAndItsProfileTexts)
{
    const auto rows = ReadRows("measurement_items.tsv", 10);
    ASSERT_EQ(rows.size(), 128u);
    QStringList expectedTexts;
    size_t iNamed = 0;
    for (const QStringList& row : rows)
    {
        SCOPED_TRACE(row[2].toStdString());
        const EMeasurementItems eItem = Item(row[0]);
        const long lNumericId = row[3].toLong();
        const QString& sProfileName = row[7];
        expectedTexts << row[2];

        EXPECT_EQ(ItemTable::ToId(eItem), row[1].toLong());
        EXPECT_EQ(ItemTable::ToString(eItem), row[2]);
        EXPECT_EQ(ItemTable::ToEnum(row[1].toLong()), eItem);
        EXPECT_EQ(CValueFactory::MeasurementItem_GetItemValueType(eItem), row[4].toInt());
        EXPECT_EQ(CValueFactory::MeasurementItem_GetItemValueCategory(eItem), row[5].toInt());
        EXPECT_EQ(CValueFactory::MeasurementItem_GetItemUnit(eItem), row[6].toInt());
        EXPECT_EQ(CValueFactory::MeasurementItem_GetProfileName(eItem), sProfileName);
        EXPECT_EQ(CValueFactory::MeasurementItem_GetNumericId(eItem), lNumericId);

        if (!sProfileName.isEmpty())
        {
            EXPECT_EQ(CEnumConverter::ConvertToEMeasurementItems(sProfileName), eItem);
            EXPECT_EQ(iNamed < std::size(c_Named) ? *c_Named[iNamed++] : sProfileName,
                      sProfileName);
        }
        const QString sCategory = row[5].toInt() == eCategory_Digital ? QStringLiteral("Digital")
                                                                      : QStringLiteral("Analogue");
        for (const QString& sName : {row[8], row[9]})
        {
            EXPECT_TRUE(sName.isEmpty() ||
                        CValueFactory::MeasurementItem_GetEnumValue(sCategory, sName) == eItem)
                << sName.toStdString();
        }
        // Without a numeric id of its own an item is written with HUM's.
        EXPECT_EQ(CEnumConverter::ConvertEMeasurementItemsToId(eItem),
                  lNumericId >= 0 ? lNumericId : 96);
        EXPECT_TRUE(lNumericId < 0 ||
                    CEnumConverter::ConvertIdToEMeasurementItems(lNumericId) == eItem);
    }
    EXPECT_EQ(ItemTable::ToStringList(), expectedTexts);
    EXPECT_EQ(iNamed, std::size(c_Named));

    // Lookups and their fallbacks.
    for (int iValue : {128, 129, 300, -1, -32768})
    {
        SCOPED_TRACE(iValue);
        const auto eItem = static_cast<EMeasurementItems>(iValue);
        EXPECT_EQ(CValueFactory::MeasurementItem_GetItemValueType(eItem), eValueType_Integer);
        EXPECT_EQ(CValueFactory::MeasurementItem_GetItemValueCategory(eItem), eCategory_General);
        EXPECT_EQ(CValueFactory::MeasurementItem_GetItemUnit(eItem), eUnitType_None);
        EXPECT_EQ(CValueFactory::MeasurementItem_GetProfileName(eItem), QString());
        EXPECT_EQ(CValueFactory::MeasurementItem_GetNumericId(eItem), -1);
        EXPECT_EQ(CEnumConverter::ConvertEMeasurementItemsToId(eItem), 96);
        EXPECT_EQ(ItemTable::ToString(eItem), QString());
        EXPECT_EQ(ItemTable::ToId(eItem), -1);
    }
    EXPECT_EQ(ItemTable::ToEnum(5), eMeasItem_None); // a gap among the stored ids
    EXPECT_EQ(ItemTable::TextToEnum(QStringLiteral("status")), eMeasItem_None);
    for (long lId : {-1L, 2L, 6L, 83L, 86L, 89L, 90L, 95L, 97L, 138L, 100000L})
    {
        EXPECT_EQ(CEnumConverter::ConvertIdToEMeasurementItems(lId), eMeasItem_None) << lId;
    }
    // 96 belongs to HUM, even though items without an id of their own are written with it.
    EXPECT_EQ(CEnumConverter::ConvertIdToEMeasurementItems(96), eMeasItem_HUM);

    // Value-list names are matched trimmed within a category, profile names also in any case.
    for (const QStringList& row : ReadRows("measurement_item_names.tsv", 4))
    {
        SCOPED_TRACE((row[0] + " / " + row[1] + " / " + row[2]).toStdString());
        EXPECT_EQ(row[0] == "profile" ? CEnumConverter::ConvertToEMeasurementItems(row[2])
                                      : CValueFactory::MeasurementItem_GetEnumValue(row[1], row[2]),
                  row[3].toInt());
    }

    // Profile constants no item answers to.
    for (const QString* pName : c_Unnamed)
    {
        EXPECT_EQ(CEnumConverter::ConvertToEMeasurementItems(*pName), eMeasItem_None)
            << pName->toStdString();
    }
    EXPECT_EQ(c_sAnalogue_VisionNICAMPowerRelative, QStringLiteral("Vision/NICAM Power relative"));

    // Texts of the values 0, 1, ... of each state-like item; any other value is "unknown".
    for (const QStringList& row : ReadRows("profile_value_texts.tsv", -1))
    {
        const QStringList texts = row.mid(1);
        for (int iValue = -1; iValue <= texts.size(); ++iValue)
        {
            SCOPED_TRACE((row[0] + "/" + QString::number(iValue)).toStdString());
            EXPECT_EQ(CEnumConverter::ConvertProfileEnumValueForEMeasurementItemsToString(
                          Item(row[0]), static_cast<short>(iValue)),
                      iValue >= 0 && iValue < texts.size() ? texts[iValue]
                                                           : QStringLiteral("unknown"));
        }
    }
}

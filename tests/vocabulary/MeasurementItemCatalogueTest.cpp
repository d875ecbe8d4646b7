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

} // namespace

// Every column of measurement_items.tsv against the table, the value factory and the converter.
TEST(MeasurementItemCatalogue, EveryItemMatchesTheCatalogue)
{
    const auto rows = ReadRows("measurement_items.tsv", 10);
    ASSERT_EQ(rows.size(), 128u);
    QStringList expectedTexts;
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
        }
        const QString sCategory = row[5].toInt() == eCategory_Digital ? QStringLiteral("Digital")
                                                                      : QStringLiteral("Analogue");
        for (const QString& sName : {row[8], row[9]})
        {
            if (!sName.isEmpty())
            {
                EXPECT_EQ(CValueFactory::MeasurementItem_GetEnumValue(sCategory, sName), eItem)
                    << sName.toStdString();
            }
        }
        // Without a numeric id of its own an item is written with HUM's.
        EXPECT_EQ(CEnumConverter::ConvertEMeasurementItemsToId(eItem),
                  lNumericId >= 0 ? lNumericId : 96);
        if (lNumericId >= 0)
        {
            EXPECT_EQ(CEnumConverter::ConvertIdToEMeasurementItems(lNumericId), eItem);
        }
    }
    EXPECT_EQ(ItemTable::ToStringList(), expectedTexts);
}

TEST(MeasurementItemCatalogue, ValuesAndIdsWithoutItemFallBack)
{
    for (int iValue : {128, 129, 300, -1, -32768})
    {
        SCOPED_TRACE(iValue);
        const auto eItem = static_cast<EMeasurementItems>(iValue);
        EXPECT_EQ(CValueFactory::MeasurementItem_GetItemValueType(eItem), eValueType_Integer);
        EXPECT_EQ(CValueFactory::MeasurementItem_GetItemValueCategory(eItem), eCategory_General);
        EXPECT_EQ(CValueFactory::MeasurementItem_GetItemUnit(eItem), eUnitType_None);
        EXPECT_EQ(CValueFactory::MeasurementItem_GetProfileName(eItem), QString());
        EXPECT_EQ(CEnumConverter::ConvertEMeasurementItemsToId(eItem), 96);
        EXPECT_EQ(ItemTable::ToString(eItem), QString());
        EXPECT_EQ(ItemTable::ToId(eItem), -1);
    }
    EXPECT_EQ(ItemTable::ToEnum(5), eMeasItem_None); // a gap among the stored ids
    EXPECT_EQ(ItemTable::TextToEnum(QStringLiteral("status")), eMeasItem_None);
    for (long lId : {-1L, 2L, 6L, 83L, 86L, 89L, 90L, 95L, 97L, 138L, 100000L})
    {
        SCOPED_TRACE(lId);
        EXPECT_EQ(CEnumConverter::ConvertIdToEMeasurementItems(lId), eMeasItem_None);
    }
    // 96 belongs to HUM, even though items without an id of their own are written with it.
    EXPECT_EQ(CEnumConverter::ConvertIdToEMeasurementItems(96), eMeasItem_HUM);
}

// Value-list names are matched trimmed within a category, profile names also in any case.
TEST(MeasurementItemCatalogue, NameLookups)
{
    for (const QStringList& row : ReadRows("measurement_item_names.tsv", 4))
    {
        SCOPED_TRACE((row[0] + " / " + row[1] + " / " + row[2]).toStdString());
        EXPECT_EQ(row[0] == QLatin1String("profile")
                      ? CEnumConverter::ConvertToEMeasurementItems(row[2])
                      : CValueFactory::MeasurementItem_GetEnumValue(row[1], row[2]),
                  row[3].toInt());
    }
}

TEST(MeasurementItemCatalogue, ProfileConstantsNameTheirItems)
{
    using namespace ProfileMeasurementResultsParameter;
    // clang-format off
    // In catalogue order of the items with a profile name, then names no item answers to.
    const QString* const named[] = {
        &c_sGeneral_Status, &c_sGeneral_TimeStamp, &c_sGeneral_10MHzReference,
        &c_sGeneral_ReferenceLevel, &c_sGeneral_PreampState, &c_sGeneral_Attenuation,
        &c_sGeneral_Preselector, &c_sDigital_Power, &c_sDigital_CarrierFrequencyOffset,
        &c_sDigital_SymbolRateOffset, &c_sDigital_BitRateOffset, &c_sDigital_DemodLock,
        &c_sDigital_MPEGLock, &c_sDigital_PLPLock, &c_sDigital_MERRMS_dB,
        &c_sDigital_MERRMS_Percent, &c_sDigital_MERPeak_dB, &c_sDigital_MERPeak_Percent,
        &c_sDigital_EVMRMS_dB, &c_sDigital_EVMRMS_Percent, &c_sDigital_EVMPeak_dB,
        &c_sDigital_EVMPeak_Percent, &c_sDigital_MERL1RMS_dB, &c_sDigital_MERL1RMS_Percent,
        &c_sDigital_MERL1Peak_dB, &c_sDigital_MERL1Peak_Percent, &c_sDigital_MERPLPRMS_dB,
        &c_sDigital_MERPLPRMS_Percent, &c_sDigital_MERPLPPeak_dB, &c_sDigital_MERPLPPeak_Percent,
        &c_sDigital_EVMPLPRMS_dB, &c_sDigital_EVMPLPRMS_Percent, &c_sDigital_EVMPLPPeak_dB,
        &c_sDigital_EVMPLPPeak_Percent, &c_sDigital_BERBeforeViterbi, &c_sDigital_BERBeforeRS,
        &c_sDigital_BERAfterRS, &c_sDigital_BERBeforeBCH, &c_sDigital_BERBeforeLDPC,
        &c_sDigital_LDPCIteration, &c_sDigital_PERSER, &c_sDigital_TSRate,
        &c_sDigital_ShoulderAttenLower, &c_sDigital_ShoulderAttenUpper, &c_sDigital_PhaseJitter,
        &c_sDigital_CrestFactorCurrent, &c_sDigital_GroupDelay, &c_sDigital_AmplitudeResponse,
        &c_sDigital_PhaseResponse, &c_sDigital_IQImbalance, &c_sDigital_IQQuadError,
        &c_sDigital_CarrierSuppression, &c_sDigital_CarrierPhase, &c_sDigital_SN,
        &c_sDigital_LevelEcho1, &c_sDigital_DelayEcho1, &c_sDigital_LevelEcho2,
        &c_sDigital_DelayEcho2, &c_sDigital_LevelEcho3, &c_sDigital_DelayEcho3,
        &c_sDigital_LevelEcho4, &c_sDigital_DelayEcho4, &c_sDigital_LevelEcho5,
        &c_sDigital_DelayEcho5, &c_sDigital_LevelEcho6, &c_sDigital_DelayEcho6,
        &c_sDigital_LevelEcho7, &c_sDigital_DelayEcho7, &c_sDigital_LevelEcho8,
        &c_sDigital_DelayEcho8, &c_sDigital_LevelEcho9, &c_sDigital_DelayEcho9,
        &c_sDigital_LevelEcho10, &c_sDigital_DelayEcho10, &c_sAnalogue_VisionCarrierLevel,
        &c_sAnalogue_CarrierFrequencyOffset, &c_sAnalogue_VisionDetector,
        &c_sAnalogue_LuminanceBarAmplitudeError, &c_sAnalogue_LuminanceBarAmplitude,
        &c_sAnalogue_SNVideoWeightedBar, &c_sAnalogue_SNVideoWeightedNom,
        &c_sAnalogue_FM1SoundCarrier, &c_sAnalogue_FM2SoundCarrier, &c_sAnalogue_ModulationDepth,
        &c_sAnalogue_ResidualPictureCarrier, &c_sAnalogue_VisionFM1PowerRelative,
        &c_sAnalogue_FM1IntercarrierFreq, &c_sAnalogue_VisionFM2PowerRelative,
        &c_sAnalogue_FM2IntercarrierFreq, &c_sAnalogue_HUM,
    };
    const QString* const unnamed[] = {
        &c_sGeneral_Hardware, &c_sAnalogue_FMSoundCarrier, &c_sAnalogue_NICAMCarrier,
        &c_sAnalogue_VisionFMPowerRelative, &c_sAnalogue_FMIntercarrierFreq,
        &c_sAnalogue_VisionNICAMPowerRelative,
    };
    // clang-format on
    size_t iNamed = 0;
    for (const QStringList& row : ReadRows("measurement_items.tsv", 10))
    {
        if (!row[7].isEmpty() && iNamed < std::size(named))
        {
            SCOPED_TRACE(row[7].toStdString());
            EXPECT_EQ(*named[iNamed], row[7]);
            EXPECT_EQ(CEnumConverter::ConvertToEMeasurementItems(*named[iNamed++]), Item(row[0]));
        }
    }
    EXPECT_EQ(iNamed, std::size(named));
    for (const QString* pName : unnamed)
    {
        EXPECT_EQ(CEnumConverter::ConvertToEMeasurementItems(*pName), eMeasItem_None)
            << pName->toStdString();
    }
    EXPECT_EQ(c_sAnalogue_VisionNICAMPowerRelative, QStringLiteral("Vision/NICAM Power relative"));
}

// Texts of the values 0, 1, ... of each state-like item; any other value is "unknown".
TEST(MeasurementItemCatalogue, ProfileValueTexts)
{
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

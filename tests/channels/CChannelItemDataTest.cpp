#include "CChannelItemData.h"
#include "CChannelItemDataMeasurement.h"
#include "CEnumTemplate.h"
#include "ERefLevelMode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace LumoraMeasurement;

TEST(CChannelItemData, PowerLimitOffsetIsCutToHundredthsAndClamped)
{
    struct Row
    {
        const char* m_pszText;
        double m_dStored;
        const char* m_pszShown;
    };
    const Row rows[] = {
        {"12.345", 12.34, "12.34 dB"},  {"-0.019", -0.01, "-0.01 dB"},
        {"-250", -100.0, "-100.00 dB"}, {"250", 100.0, "100.00 dB"},
        {"3,5 dB", 3.5, "3.50 dB"},     {"7", 7.0, "7.00 dB"},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.m_pszText);
        CChannelItemData cell(eSettingsItem_PowerLimitOffset);
        EXPECT_TRUE(cell.Set(QString(row.m_pszText), eUnitType_None));
        EXPECT_DOUBLE_EQ(cell.ToFloat(), row.m_dStored);
        EXPECT_EQ(cell.ToString(), row.m_pszShown);
        EXPECT_FALSE(cell.Set(QString(row.m_pszText), eUnitType_None)); // unchanged the second time
        EXPECT_TRUE(cell.HasValidMeasurementData());
    }
}

TEST(CChannelItemData, TextIntoIntegerCellReadsAsBaseTenNumber)
{
    CChannelItemData cell(eSettingsItem_DVBT2DecodedPLP);
    EXPECT_TRUE(cell.IsNotSet());
    EXPECT_FALSE(cell.Set(QStringLiteral("no number"), eUnitType_None)); // 0 is already stored
    EXPECT_TRUE(cell.IsNotSet());
    EXPECT_TRUE(cell.Set(QStringLiteral("17 "), eUnitType_None));
    EXPECT_EQ(cell.ToInt(), 17);
    EXPECT_TRUE(cell.Set(QStringLiteral("no number"), eUnitType_None));
    EXPECT_EQ(cell.ToInt(), 0);
    EXPECT_EQ(cell.ToString(), "0 ");
}

TEST(CChannelItemData, OnlyTheMatchingOverloadStores)
{
    CChannelItemData cell(eSettingsItem_PilotFrequency); // floating point, Hz
    EXPECT_FALSE(cell.Set(5L, eUnitType_MHz));
    EXPECT_FALSE(cell.Set(true, eUnitType_MHz));
    EXPECT_TRUE(cell.IsNotSet());
    EXPECT_TRUE(cell.Set(2.5, eUnitType_None));
    EXPECT_EQ(cell.Unit(), eUnitType_Hz); // no unit given keeps the unit

    CChannelItemData integer(eSettingsItem_QAMOrder);
    EXPECT_FALSE(integer.Set(5.0, eUnitType_None));
    EXPECT_EQ(integer.ToInt(), 0);
    EXPECT_TRUE(integer.Set(5L, eUnitType_None));
    EXPECT_FALSE(integer.Set(5L, eUnitType_None));
    EXPECT_EQ(integer.Unit(), eUnitType_None);
    EXPECT_TRUE(integer.Set(6L, eUnitType_dB));
    EXPECT_EQ(integer.ToString(), "6 dB");
}

TEST(CChannelItemData, StringLiteralReachesTheTextOverload)
{
    CChannelItemData cell(eSettingsItem_Description);
    EXPECT_TRUE(cell.Set("Main tower", eUnitType_None));
    EXPECT_EQ(cell.ToString(), "Main tower");
    EXPECT_FALSE(cell.Set("Main tower", eUnitType_None));
    EXPECT_TRUE(cell.Set(QString(), eUnitType_dB)); // a text cell takes a unit
    EXPECT_EQ(cell.Unit(), eUnitType_dB);
}

TEST(CChannelItemData, ReferenceLevelModeStartsAutomatic)
{
    const CChannelItemData cell(eSettingsItem_ReferenceLevelMode);
    EXPECT_EQ(cell.ToInt(), CEnumTemplate<ERefLevelMode>::ToId(eRefLevelMode_Automatic));
    EXPECT_EQ(cell.ToString(), "1 ");
    EXPECT_TRUE(cell.IsNotSet());
    EXPECT_EQ(CChannelItemData(eSettingsItem_PreSelector).ToInt(), 0);
}

TEST(CChannelItemData, FloatingTextFormatsPerItem)
{
    struct Row
    {
        ESettingsItems m_eItem;
        double m_dValue;
        const char* m_pszText;
    };
    const Row rows[] = {
        {eSettingsItem_CenterFrequency, 474000000.0, "474.00 MHz"},
        {eSettingsItem_FrequencyOffset, -1250.0, "-1.25 kHz"},
        {eSettingsItem_PilotFrequency, 310000.0, "310.00 kHz"},
        {eSettingsItem_Subcarrier0Frequency, 1.2e9, "1.20 GHz"},
        {eSettingsItem_SymbolRate, 6952000.0, "6.95200000 MSymbol/s"},
        {eSettingsItem_ReferenceLevel, 45.5, "45.5 dBmV"},
        {eSettingsItem_ReferenceLevel, 1234567.0, "1.23457e+06 dBmV"},
        {eSettingsItem_Attenuation, 10.0, "10 dB"},
        {eSettingsItem_PowerLimitOffset, -3.0, "-3.00 dB"},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.m_pszText);
        CChannelItemData cell(row.m_eItem);
        cell.Set(row.m_dValue, eUnitType_None);
        EXPECT_EQ(cell.ToString(), row.m_pszText);
    }
}

TEST(CChannelItemData, NumericConversions)
{
    CChannelItemData floating(eSettingsItem_Attenuation);
    floating.Set(-2.7, eUnitType_None);
    EXPECT_EQ(floating.ToInt(), -2);
    EXPECT_TRUE(floating.ToBool());
    floating.Set(std::numeric_limits<double>::quiet_NaN(), eUnitType_None);
    EXPECT_TRUE(floating.ToBool());
    EXPECT_EQ(floating.ToInt(), 0);
    floating.Set(1e300, eUnitType_None);
    EXPECT_EQ(floating.ToInt(), std::numeric_limits<long>::max());

    CChannelItemData text(eSettingsItem_ChannelName);
    text.Set("42", eUnitType_None);
    EXPECT_EQ(text.ToInt(), -1);
    EXPECT_EQ(text.ToFloat(), 0.0);
    EXPECT_FALSE(text.ToBool());

    CChannelItemData integer(eSettingsItem_QuietLineNumber);
    integer.Set(3L, eUnitType_None);
    EXPECT_EQ(integer.ToFloat(), 3.0);
    EXPECT_TRUE(integer.ToBool());
}

TEST(CChannelItemData, StateFollowsTheLastOperation)
{
    CChannelItemData cell(eSettingsItem_Attenuation);
    cell.SetToErrorState();
    EXPECT_TRUE(cell.IsInErrorState() && !cell.IsNotImplemented() && !cell.IsNotSet());
    cell.SetToNotImplemented();
    EXPECT_TRUE(cell.IsNotImplemented() && !cell.IsInErrorState());
    cell.Set(1.0, eUnitType_None);
    const CChannelItemData copy = cell;
    EXPECT_TRUE(copy.HasValidMeasurementData());
    EXPECT_EQ(copy.ToString(), "1 dB");
}

TEST(CChannelItemDataMeasurement, MatchingSetterAlwaysReportsAChange)
{
    CChannelItemDataMeasurement cell(eMeasItem_DemodLock); // integer, no unit
    EXPECT_EQ(cell.Id(), eMeasItem_DemodLock);
    EXPECT_TRUE(cell.Set(short(1), eUnitType_None));
    EXPECT_TRUE(cell.Set(short(1), eUnitType_None));
    EXPECT_FALSE(cell.Set(1.0, eUnitType_None));
    EXPECT_FALSE(cell.Set("1", eUnitType_None));
    EXPECT_EQ(cell.ToString(), "1 ");
    EXPECT_TRUE(cell.HasValidMeasurementData());

    CChannelItemDataMeasurement frequency(eMeasItem_CarrierFrequencyOffset); // float, Hz
    EXPECT_TRUE(frequency.Set(1234567.0, eUnitType_None));
    EXPECT_EQ(frequency.ToString(), "1.23457e+06 Hz"); // no per-item format on this side
    EXPECT_TRUE(frequency.Set(-2.7, eUnitType_kHz));
    EXPECT_EQ(frequency.ToInt(), -2);
    EXPECT_EQ(frequency.Unit(), eUnitType_kHz);
    EXPECT_TRUE(frequency.Set(70000.0, eUnitType_None));
    EXPECT_EQ(frequency.ToInt(), short(4464)); // narrowed to 16 bits

    CChannelItemDataMeasurement text(eMeasItem_Status);
    EXPECT_TRUE(text.Set("Done", eUnitType_None));
    EXPECT_EQ(text.ToString(), "Done");
    EXPECT_EQ(text.ToInt(), -1);
    text.SetToErrorState();
    EXPECT_TRUE(text.IsInErrorState());

    const CChannelItemDataMeasurement none;
    EXPECT_EQ(none.Id(), eMeasItem_None);
    EXPECT_TRUE(none.IsNotSet());
}

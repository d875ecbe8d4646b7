#include "CChannelItemData.h"
#include "CChannelItemDataMeasurement.h"
#include "CEnumTemplate.h"
#include "ChannelTestTools.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

using namespace LumoraMeasurement;
using namespace ChannelTest;

namespace
{

EUnitTypes Unit(const QString& sName)
{
    const std::map<QString, EUnitTypes> units = {{"", eUnitType_None},   {"none", eUnitType_None},
                                                 {"Hz", eUnitType_Hz},   {"kHz", eUnitType_kHz},
                                                 {"MHz", eUnitType_MHz}, {"dB", eUnitType_dB}};
    EXPECT_EQ(units.count(sName), 1u) << sName.toStdString();
    return units.at(sName);
}

// Whether the store of a fixture row reported a change; each store goes to its own overload.
bool Store(CChannelItemData& cell, const QStringList& r)
{
    const EUnitTypes eUnit = Unit(r[3] == QLatin1String("-") ? QString() : r[3]);
    if (r[1] == QLatin1String("text"))
        return cell.Set(r[2], eUnit);
    if (r[1] == QLatin1String("float"))
        return cell.Set(r[2].toDouble(), eUnit);
    if (r[1] == QLatin1String("long"))
        return cell.Set(r[2].toLong(), eUnit);
    return cell.Set(r[2] == QLatin1String("true"), eUnit);
}

} // namespace

TEST(CChannelItemData, StoresConvertsAndShowsPerItem)
{
    std::unique_ptr<CChannelItemData> pCell;
    for (const QStringList& r : DataRows("cell_values.tsv"))
    {
        SCOPED_TRACE(r.join(QLatin1Char('|')).toStdString());
        if (!r[0].isEmpty())
        {
            pCell = std::make_unique<CChannelItemData>(Enum<ESettingsItems>(r[0]));
        }
        const bool bChanged = r[1] != QLatin1String("-") && Store(*pCell, r);
        const auto Checked = [](const QString& sCell) { return sCell != QLatin1String("-"); };
        EXPECT_TRUE(!Checked(r[4]) || bChanged == (r[4] == QLatin1String("true")));
        EXPECT_TRUE(!Checked(r[5]) || pCell->ToString() == r[5]) << pCell->ToString().toStdString();
        EXPECT_TRUE(!Checked(r[6]) || pCell->ToInt() == r[6].toLong()) << pCell->ToInt();
        EXPECT_TRUE(!Checked(r[7]) || pCell->ToFloat() == r[7].toDouble()) << pCell->ToFloat();
        EXPECT_TRUE(!Checked(r[8]) || pCell->ToBool() == (r[8] == QLatin1String("true")));
        EXPECT_TRUE(!Checked(r[9]) || pCell->Unit() == Unit(r[9]));
        EXPECT_TRUE(!Checked(r[10]) ||
                    (r[10] == QLatin1String("valid") ? pCell->HasValidMeasurementData()
                                                     : pCell->IsNotSet()));
    }
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

    const CChannelItemDataMeasurement none;
    EXPECT_EQ(none.Id(), eMeasItem_None);
    EXPECT_TRUE(none.IsNotSet());
}

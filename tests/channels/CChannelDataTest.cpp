#include "CChannelData.h"
#include "CValueFactory.h"
#include "ChannelTestTools.h"
#include "EDigitalConstellation.h"
#include "EFECMode.h"
#include "ERollOffFactor.h"

#include <map>
#include <set>

using namespace LumoraMeasurement;
using namespace ChannelTest;

namespace
{

QString RollOffText(const CChannelData& channel)
{
    return CEnumTemplate<ERollOffFactor>::IdToString(
        channel.GetItem(eSettingsItem_RollOffFactor).ToInt());
}

QString FecText(const CChannelData& channel)
{
    return CEnumTemplate<EFECMode>::IdToString(channel.GetItem(eSettingsItem_FEC).ToInt());
}

} // namespace

// Every item once, in one order for all; a copy takes a new identifier, an assignment keeps it.
TEST(CChannelData, HoldsEveryItemOnceInOneSharedOrderIdentifiersAndStoresByPosition)
{
    const CChannelData first(eTVStandard_BG_Pal, "A");
    const CChannelData copy(first);
    EXPECT_EQ(copy.GetIdentifier(), first.GetIdentifier() + 1) << "the next of the counter";
    EXPECT_EQ(copy.GetItem(eSettingsItem_ChannelName).ToString(), "A");
    const CChannelData second(eTVStandard_DVBT2, QString());
    ASSERT_EQ(first.GetItemCount(), 36);
    std::set<int> items;
    long lName = -1;
    for (long lPosition = 0; lPosition < first.GetItemCount(); ++lPosition)
    {
        items.insert(first.GetItem(lPosition).GetItemEnum());
        lName =
            first.GetItem(lPosition).GetItemEnum() == eSettingsItem_ChannelName ? lPosition : lName;
        EXPECT_EQ(first.GetItem(lPosition).GetItemEnum(), second.GetItem(lPosition).GetItemEnum());
    }
    EXPECT_EQ(std::tuple(items.size(), *items.rbegin()), std::tuple(36u, 35));

    // General items come first, DOCSIS items last.
    EXPECT_EQ(CValueFactory::ChannelSettings_GetItemValueCategory(first.GetItem(0L).GetItemEnum()),
              eCategory_General);
    EXPECT_EQ(CValueFactory::ChannelSettings_GetItemValueCategory(first.GetItem(35L).GetItemEnum()),
              eCategory_Docsis);

    CChannelData assigned(eTVStandard_DVBT, "B");
    assigned = first;
    EXPECT_EQ(assigned.GetIdentifier(), first.GetIdentifier());
    EXPECT_EQ(assigned.GetTvStandard(), eTVStandard_BG_Pal);

    CChannelData later(eTVStandard_BG_Pal, QString());
    EXPECT_GT(later.GetIdentifier(), copy.GetIdentifier());
    const long lBefore = later.GetIdentifier();
    later.Initialize();
    EXPECT_GT(later.GetIdentifier(), lBefore);
    // A position below the record is its first cell.
    EXPECT_TRUE(later.SetItemValue(-3L, "first"));
    EXPECT_EQ(later.GetItem(0L).ToString(), "first");
    const long lCells = later.GetItemCount();
    later.SetItem(later.GetItem(0L));
    EXPECT_EQ(later.GetItemCount(), lCells) << "the first cell is replaced, not added";
    // By item too: the first cell's item is found where it is, at position 0.
    const ESettingsItems eFirst = later.GetItem(0L).GetItemEnum();
    EXPECT_FALSE(later.SetItemValue(eFirst, 7L)) << "the first item holds a text";
    EXPECT_EQ(later.GetItemCount(), lCells);
    EXPECT_EQ(later.GetItem(eFirst).ToString(), "first");
    EXPECT_TRUE(later.SetItemValue(eFirst, QStringLiteral("8")));
    EXPECT_TRUE(later.GetItemCount() == lCells && later.GetItem(eFirst).ToString() == "8");

    // Stores by position and whole cells on a fresh record.
    CChannelData channel(eTVStandard_BG_Pal, QString());
    EXPECT_FALSE(channel.SetItemValue(eSettingsItem_None, "x") || channel.SetItemValue(36L, "x") ||
                 channel.SetItemValue(eSettingsItem_None, 7L));
    EXPECT_EQ(channel.GetItemCount(), 36);
    EXPECT_TRUE(channel.SetItemValue(lName, "Ch 5") && !channel.SetItemValue(lName, "Ch 5"));
    EXPECT_EQ(channel.GetItem(eSettingsItem_ChannelName).ToString(), "Ch 5");
    EXPECT_TRUE(channel.SetItemValue(1L, "second") && channel.GetItem(1L).ToString() == "second");

    CChannelItemData cell(eSettingsItem_Attenuation);
    cell.Set(12.0, eUnitType_None);
    EXPECT_TRUE(channel.SetItem(cell));
    EXPECT_EQ(channel.GetItem(eSettingsItem_Attenuation).ToString(), "12 dB");
    EXPECT_EQ(channel.GetItemCount(), 36);

    // Positions outside the record read the first cell.
    const ESettingsItems eFirstCell = channel.GetItem(0L).GetItemEnum();
    for (long lPosition : {-5L, 36L, 1000L})
    {
        EXPECT_EQ(channel.GetItem(lPosition).GetItemEnum(), eFirstCell) << lPosition;
    }
    EXPECT_NE(channel.GetItem(1L).GetItemEnum(), eFirstCell);
    EXPECT_EQ(channel.GetItem(eSettingsItem_None).GetItemEnum(), eSettingsItem_None);

    // A cell of an item the record lacks is added at the end, and so is a value for one.
    EXPECT_TRUE(channel.SetItem(CChannelItemData(eSettingsItem_None)));
    EXPECT_EQ(channel.GetItemCount(), 37);
    channel.SetItemValue(static_cast<ESettingsItems>(99), "7");
    EXPECT_TRUE(channel.SetItemValue(static_cast<ESettingsItems>(99), 8L));
    EXPECT_EQ(channel.GetItemCount(), 39);
    EXPECT_EQ(channel.GetItem(37L).ToString() + "|" + channel.GetItem(38L).ToString(), "7 |8 ");
}

TEST(CChannelData, QamOrderRuleForEveryDocsisStandardAndOrderAndWhatRunsIt)
{
    std::map<std::pair<QString, QString>, QStringList> expected; // standard, QAM order: row
    std::set<QString> standards;
    for (const QStringList& r : DataRows("qam_order_rule.tsv"))
    {
        expected[{r[0], r[1]}] = r;
        standards.insert(r[0]);
    }
    for (const QString& standard : standards)
    {
        // Every id of the constellation table, and 11 and 16, which name no constellation.
        for (long lQamId = 0; lQamId <= 19; ++lQamId)
        {
            const QString sQam = CEnumTemplate<EDigitalConstellation>::IdToString(lQamId);
            SCOPED_TRACE(
                QStringLiteral("%1 / %2 (id %3)").arg(standard, sQam).arg(lQamId).toStdString());
            CChannelData channel(Enum<ETVStandards>(standard), QString());
            // Text stores never run the rule, so the markers survive until it is asked for.
            channel.SetItemValue(eSettingsItem_QAMOrder, QString::number(lQamId));
            channel.SetItemValue(eSettingsItem_SymbolRate, "1");
            channel.SetItemValue(eSettingsItem_RollOffFactor, "10"); // 0.20
            channel.SetItemValue(eSettingsItem_FEC, "0");            // A
            ASSERT_DOUBLE_EQ(channel.GetItem(eSettingsItem_SymbolRate).ToFloat(), 1000000.0);

            channel.DoRecalcQAMOrderParameter(eSettingsItem_QAMOrder);

            const auto it = expected.count({standard, sQam}) ? expected.find({standard, sQam})
                                                             : expected.find({standard, "*"});
            ASSERT_NE(it, expected.end());
            const QStringList& r = it->second;
            const auto Or = [](const QString& s, const char* pszMarker)
            { return s == "marker" ? QString::fromLatin1(pszMarker) : s; };
            EXPECT_DOUBLE_EQ(channel.GetItem(eSettingsItem_SymbolRate).ToFloat(),
                             Or(r[2], "1000000").toDouble());
            EXPECT_EQ(RollOffText(channel), Or(r[3], "0.20"));
            EXPECT_EQ(FecText(channel), Or(r[4], "A"));
        }
    }

    // Only an integer store that changes the QAM order or the standard runs the rule on a DOCSIS
    // 3.0 record; a text store never does.
    CChannelData channel(eTVStandard_DOCSIS30, "D");
    for (const QStringList& r : DataRows("qam_order_triggers.tsv"))
    {
        SCOPED_TRACE(r.join('|').toStdString());
        const ESettingsItems eItem = CValueFactory::SettingsItem_GetEnumValue(r[1]);
        const bool bChanged = r[0] == "long" ? channel.SetItemValue(eItem, r[2].toLong())
                                             : channel.SetItemValue(eItem, r[2]);
        EXPECT_TRUE(r[3] == "-" || bChanged == (r[3] == "true"));
        EXPECT_TRUE(r[4] == "-" ||
                    channel.GetItem(eSettingsItem_SymbolRate).ToFloat() == r[4].toDouble());
        EXPECT_TRUE(r[5] == "-" || RollOffText(channel) == r[5]);
        EXPECT_TRUE(r[6] == "-" || FecText(channel) == r[6]);
    }

    // DOCSIS records start with their transmission parameters.
    // A new DOCSIS 3.0 record holds QAM order id 0 (QAM4): only the FEC is fixed. FEC "A" is
    // id 0, the value a fresh cell already holds: storing it changes nothing.
    for (const QStringList& r : DataRows("new_record_parameters.tsv"))
    {
        SCOPED_TRACE(r[0].toStdString());
        const CChannelData channel(Enum<ETVStandards>(r[0]), "Ch");
        const CChannelItemData symbolRate = channel.GetItem(eSettingsItem_SymbolRate);
        EXPECT_EQ(symbolRate.HasValidMeasurementData(), !r[1].isEmpty());
        EXPECT_DOUBLE_EQ(symbolRate.ToFloat(), r[1].toDouble());
        EXPECT_EQ(channel.GetItem(eSettingsItem_RollOffFactor).HasValidMeasurementData(),
                  !r[2].isEmpty());
        EXPECT_TRUE(r[2].isEmpty() || RollOffText(channel) == r[2]);
        EXPECT_TRUE(r[3].isEmpty() ? channel.GetItem(eSettingsItem_FEC).IsNotSet()
                                   : FecText(channel) == r[3]);
    }
}

#include "CFilterConstellation.h"
#include "CFilterTestLineField.h"
#include "CValueFactory.h"

#include "ChannelTestTools.h"

#include <map>

using namespace LumoraMeasurement;
using namespace ChannelTest;

// Each row is offered what its standard supports and nothing else; texts and ids translate both
// ways.
TEST(ChannelSelectionLists, EachRowIsOfferedWhatItsStandardSupportsAndNothingElse)
{
    CChannelTableData table = TableOfEveryStandard();
    ASSERT_EQ(table.GetRowCount(), 23);
    std::map<QString, std::map<QString, QStringList>> offers; // column, standard: entries
    for (const QStringList& r : DataRows("selection_lists.tsv"))
    {
        for (const QString& sStandard :
             r[1] == "*" ? CEnumTemplate<ETVStandards>::ToStringList() : List(r[1]))
        {
            ASSERT_NE(Enum<ETVStandards>(sStandard), eTVStandard_None);
            EXPECT_TRUE(offers[r[0]].emplace(sStandard, List(r[2])).second) << "listed twice";
        }
        if (r[1] == "*")
        {
            const ESettingsItems eItem = CValueFactory::SettingsItem_GetEnumValue(r[0]);
            EXPECT_EQ(table.GetComboboxValues(eItem), List(r[2])) << r[0].toStdString();
        }
    }
    ASSERT_EQ(offers.size(), 23u); // 15 filters (one serving two items), 7 whole lists
    for (const auto& column : offers)
    {
        const ESettingsItems eItem = CValueFactory::SettingsItem_GetEnumValue(column.first);
        ASSERT_TRUE(table.HasComboBox(eItem)) << column.first.toStdString();
        for (long lRow = 0; lRow < table.GetRowCount(); ++lRow)
        {
            const QString sStandard =
                CEnumTemplate<ETVStandards>::ToString(table.GetTvStandard(lRow));
            SCOPED_TRACE((column.first + " for " + sStandard).toStdString());
            const auto it = column.second.find(sStandard);
            EXPECT_EQ(table.GetComboBox(eItem, lRow),
                      it == column.second.end() ? QStringList() : it->second);
        }
    }
    // Items without list and rows outside the table offer nothing.
    for (ESettingsItems eItem :
         {eSettingsItem_ChannelName, eSettingsItem_DVBT2DecodedPLP, eSettingsItem_TestLineNumber,
          eSettingsItem_SymbolRate, eSettingsItem_None})
    {
        SCOPED_TRACE(eItem);
        EXPECT_TRUE(!table.HasComboBox(eItem) && table.GetComboBox(eItem, 0).isEmpty() &&
                    table.GetComboboxValues(eItem).isEmpty());
        EXPECT_EQ(table.GetComboboxIndex(eItem, "On"), -1);
        EXPECT_EQ(table.GetEnumValue(0, eItem), QString());
    }
    EXPECT_TRUE(table.GetComboBox(eSettingsItem_TVStandard, 23).isEmpty());
    EXPECT_TRUE(table.GetComboBox(eSettingsItem_TVStandard, -1).isEmpty());

    for (const QStringList& r : DataRows("combobox_ids.tsv"))
    {
        EXPECT_EQ(table.GetComboboxIndex(CValueFactory::SettingsItem_GetEnumValue(r[0]), r[1]),
                  r[2].toLong())
            << r.join('|').toStdString();
    }
    EXPECT_EQ(table.GetComboboxValues(eSettingsItem_ChannelBandwidth),
              (QStringList{"1.7 MHz", "5 MHz", "6 MHz", "7 MHz", "8 MHz"}));

    table.GetChannel(0).SetItemValue(eSettingsItem_TVStandard, "14");
    EXPECT_EQ(table.GetEnumValue(0, eSettingsItem_TVStandard), "DVB-T (digital)");
    table.GetChannel(0).SetItemValue(eSettingsItem_TVStandard, "99");
    EXPECT_EQ(table.GetEnumValue(0, eSettingsItem_TVStandard), QString());

    // Filters reject ids outside the table.
    const CFilterConstellation constellation(eTVStandard_J83A);
    EXPECT_TRUE(constellation.IsUsable(0)); // QAM4; no row has id 16
    EXPECT_FALSE(constellation.IsUsable(16) || constellation.IsUsable(-1) ||
                 constellation.IsUsable(1L << 40));
    const CFilterTestLineField field(eTVStandard_None);
    EXPECT_FALSE(field.IsUsable(0));
}

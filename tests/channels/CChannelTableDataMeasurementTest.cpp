#include "CChannelTableDataMeasurement.h"
#include "ChannelTestTools.h"

#include <set>
#include <stdexcept>

using namespace LumoraMeasurement;

namespace
{

CChannelDataMeasurement Named(const char* pszName)
{
    CChannelDataMeasurement channel(eChannelType_Digital);
    channel.SetName(QString::fromUtf8(pszName));
    return channel;
}

} // namespace

TEST(CChannelDataMeasurement, HoldsOneCellPerItemByCategoryWithNameAndType)
{
    CChannelDataMeasurement channel(eChannelType_Analog);
    channel.Initialize();
    ASSERT_EQ(channel.GetItemCount(), 128) << "initialised again, not twice";
    for (const QStringList& r : ChannelTest::DataRows("measurement_cell_positions.tsv"))
    {
        EXPECT_EQ(channel.GetItem(r[0].toLong()).Id(), ChannelTest::Enum<EMeasurementItems>(r[1]))
            << r[0].toStdString();
    }
    std::set<int> items;
    for (long lPosition = 0; lPosition < channel.GetItemCount(); ++lPosition)
    {
        items.insert(channel.GetItem(lPosition).Id());
    }
    EXPECT_EQ(items.size(), 128u);
    EXPECT_EQ(channel.GetItem(eMeasItem_None).Id(), eMeasItem_None);
    EXPECT_EQ(channel.GetItem(eMeasItem_HUM).Id(), eMeasItem_HUM);

    // Cells, name and type.
    EXPECT_TRUE(channel.SetChannelType(eChannelType_Digital));
    CChannelItemDataMeasurement cell(eMeasItem_Power);
    cell.Set(-3.5, eUnitType_None);
    EXPECT_TRUE(channel.SetItem(cell));
    EXPECT_EQ(channel.GetItem(eMeasItem_Power).ToString(), "-3.5 dBmV");
    EXPECT_FALSE(channel.SetItem(CChannelItemDataMeasurement(eMeasItem_None)) ||
                 channel.SetItemValue(128L, "1"));
    EXPECT_EQ(channel.GetItemCount(), 128);

    EXPECT_FALSE(channel.SetName(QString()));
    EXPECT_TRUE(channel.SetName("K5"));
    EXPECT_FALSE(channel.SetName("K5") || channel.SetName(QString()));
    EXPECT_EQ(channel.Name(), "K5");

    EXPECT_FALSE(channel.SetChannelType(eChannelType_Unknown));
    EXPECT_EQ(channel.ChannelType(), eChannelType_Digital);
    EXPECT_TRUE(channel.SetChannelType(eChannelType_Analog) &&
                channel.ChannelType() == eChannelType_Analog);

    // A table of such channels: rows by name and position.
    CChannelTableDataMeasurement table;
    EXPECT_TRUE(table.GetRowCount() == 0 && table.GetValue("none", 0).isNull());
    EXPECT_THROW(table.GetChannel(short(0)), std::out_of_range);

    EXPECT_TRUE(table.AddChannel(Named("A")) && table.AddChannel(Named("B")));
    CChannelDataMeasurement secondA = Named("A");
    secondA.SetChannelType(eChannelType_Analog);
    EXPECT_TRUE(table.AddChannel(secondA));
    EXPECT_EQ(table.GetChannelNames(), (QStringList{"A", "B", "A"}));

    const long lStatus = 0, lPower = 23; // as measurement_cell_positions.tsv has them
    EXPECT_TRUE(table.SetValue("A", lStatus, "Done") && table.GetValue("A", lStatus) == "Done");
    EXPECT_FALSE(table.SetValue("A", lPower, "12"));
    EXPECT_EQ(table.GetValue("A", lPower), "0 dBmV");
    EXPECT_FALSE(table.SetValue("C", lStatus, "Done") || table.SetValue("A", -1, "x") ||
                 table.SetValue("A", table.GetChannel(short(0)).GetItemCount(), "x"));
    EXPECT_EQ(table.GetValueEnumFromIndex("A", lPower), eMeasItem_Power);
    EXPECT_EQ(table.GetValueEnumFromIndex("C", lPower), eMeasItem_None);

    long lRow = -1;
    EXPECT_TRUE(table.GetChannelIndex("B", lRow) && lRow == 1);
    EXPECT_TRUE(table.GetChannelIndex("A", lRow) && lRow == 0);
    EXPECT_FALSE(table.GetChannelIndex("C", lRow) || lRow != 0); // a miss leaves the row as it was
    EXPECT_EQ(table.GetChannel("B").Name(), "B");
    EXPECT_EQ(table.GetChannel("missing").Name(), "B"); // the previous lookup

    EXPECT_TRUE(table.DeleteChannel(Named("A")));
    EXPECT_EQ(table.GetChannelNames(), (QStringList{"B", "A"}));
    EXPECT_EQ(table.GetChannel(short(1)).ChannelType(), eChannelType_Analog); // the second A stays
    EXPECT_FALSE(table.DeleteChannel(Named("Z")));
    EXPECT_THROW(table.GetChannel(short(2)), std::out_of_range);
    EXPECT_THROW(table.GetChannel(short(-1)), std::out_of_range);

    table.ClearChannels();
    EXPECT_EQ(table.GetRowCount(), 0);

    // Rows are counted in 16 bits: the 65536th channel is refused, not wrapped.
    for (long lAdded = 0; lAdded < 65535; ++lAdded)
    {
        ASSERT_TRUE(table.AddChannel(Named("K")));
    }
    EXPECT_FALSE(table.AddChannel(Named("over")));
    EXPECT_EQ(table.GetRowCount(), 65535);
    // A document with more rows is read up to the bound.
    CChannelTableData read;
    read.ReadData("{\"ChannelTableData\": [{}" + QByteArray(",{}").repeated(65535) + "]}", "big");
    EXPECT_EQ(read.GetRowCount(), 65535);
}

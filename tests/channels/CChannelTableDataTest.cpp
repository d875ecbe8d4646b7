#include "CValueFactory.h"
#include "ChannelTestTools.h"

#include <QJsonArray>

#include <stdexcept>

using namespace LumoraMeasurement;
using namespace ChannelTest;

namespace
{

using CChannelTableDataTest = ConfigTest::LogTest;

QStringList AllColumns()
{
    return CEnumTemplate<ESettingsItems>::ToStringList();
}

// A channel of every TV standard, each with every column given a value that its row offers.
CChannelTableData FullTable()
{
    CChannelTableData table = TableOfEveryStandard();
    for (long lRow = 0; lRow < table.GetRowCount(); ++lRow)
    {
        for (const QStringList& r : DataRows("full_table_values.tsv"))
        {
            table.SetValue(lRow, r[0],
                           QString(r[1]).replace(QLatin1String("%1"), QString::number(lRow)));
        }
        for (const QString& sColumn : AllColumns())
        {
            // Columns without a list offer nothing.
            const ESettingsItems eItem = CValueFactory::SettingsItem_GetEnumValue(sColumn);
            const QStringList offered =
                eItem == eSettingsItem_TVStandard ? QStringList() : table.GetComboBox(eItem, lRow);
            if (!offered.isEmpty())
            {
                table.SetValue(lRow, sColumn, offered.last());
            }
        }
    }
    return table;
}

} // namespace

TEST_F(CChannelTableDataTest, WrittenTableReadsBackAndBrokenFilesLoadAsFarAsTheyGo)
{
    const CChannelTableData table = FullTable();
    ASSERT_EQ(table.GetRowCount(), 23);
    const QString sPath = m_Dir.filePath("channels.json");
    CChannelTableData reread;
    ASSERT_TRUE(table.Write(sPath) && reread.Read(sPath));
    ASSERT_EQ(reread.GetRowCount(), table.GetRowCount());
    EXPECT_EQ(reread.GetChannelNames(), table.GetChannelNames());
    EXPECT_EQ(reread.GetChannelNames().first(), "B/G Pal (analog)");
    for (long lRow = 0; lRow < table.GetRowCount(); ++lRow)
    {
        EXPECT_EQ(reread.GetTvStandard(lRow), table.GetTvStandard(lRow));
        for (const QString& sColumn : AllColumns())
        {
            SCOPED_TRACE(QStringLiteral("row %1, %2").arg(lRow).arg(sColumn).toStdString());
            EXPECT_EQ(reread.GetValue(lRow, sColumn), table.GetValue(lRow, sColumn));
        }
    }

    // Writing what was read gives the same file.
    const QString sAgain = m_Dir.filePath("again.json");
    ASSERT_TRUE(reread.Write(sAgain));
    EXPECT_EQ(MdaTest::ReadBytes(sAgain), MdaTest::ReadBytes(sPath));

    // An independent parser sees the documented shape.
    EXPECT_EQ(QProcess::execute("python3", {MDA_TEST_DATA_DIR "/channels/check_channel_file.py",
                                            sPath, "23", AllColumns().join('|')}),
              0);

    // The texts a file holds for the cells of one channel.
    CChannelTableData one = TableOf(eTVStandard_DOCSIS30_J83C, {"D1"});
    one.SetValue(0, "Center / Vision Carrier Frequency", "474");
    one.SetValue(0, "Power Limit Offset", "-2.5");
    one.SetValue(0, "Reference Level", "45.5");
    one.SetValue(0, "DVB-T2 Decoded PLP", "auto");
    ASSERT_TRUE(one.Write(sPath));
    const QJsonObject jRoot = QJsonDocument::fromJson(MdaTest::ReadBytes(sPath)).object();
    const QJsonObject jChannel = jRoot.value("ChannelTableData").toArray().at(0).toObject();
    EXPECT_EQ(jChannel.value("ChannelName").toString(), "Channel 0");
    QMap<QString, QString> values;
    for (const QJsonValue& jItem : jChannel.value("ChannelItemData").toArray())
    {
        values.insert(jItem.toObject().value("Id").toString(),
                      jItem.toObject().value("Value").toString());
    }
    for (const QStringList& r : DataRows("written_cell_texts.tsv"))
    {
        EXPECT_EQ(values.value(r[0]), r[1]) << r[0].toStdString();
    }
    EXPECT_EQ(values.size(), 36);

    // Broken files load as far as they go; texts are stored without the DOCSIS rule.
    for (const QStringList& r : DataRows("broken_channel_files.tsv"))
    {
        SCOPED_TRACE(r[0].toStdString());
        CChannelTableData table = TableOf(eTVStandard_DVBT, {"Keep"});
        const bool bLoaded = r[2] == "true";
        EXPECT_EQ(table.Read(MdaTest::WriteFile(m_Dir, r[0] + ".json", r[1].toUtf8())), bLoaded);
        EXPECT_EQ(table.GetChannelNames(), List(r[3]));
        for (long lRow = 0; bLoaded && lRow < table.GetRowCount(); ++lRow)
        {
            EXPECT_EQ(table.GetChannel(lRow).GetItemCount(), 36);
        }
    }
    EXPECT_FALSE(reread.Read(QString()) || reread.Read(m_Dir.filePath("missing.json")));

    ASSERT_TRUE(reread.Read(MDA_TEST_DATA_DIR "/channels/values_as_texts.json"));
    EXPECT_EQ(reread.GetTvStandard(0), eTVStandard_BG_Pal); // a text is no id
    EXPECT_EQ(reread.GetValue(0, "Attenuation"), "0 dB");   // unknown unit
    EXPECT_EQ(reread.GetValue(0, "Symbol Rate"), "6.95200000 MSymbol/s");
    // A DOCSIS 3.0 row with QAM64 keeps the file's (missing) symbol rate.
    EXPECT_EQ(reread.GetTvStandard(1), eTVStandard_DOCSIS30);
    EXPECT_EQ(reread.GetValue(1, "QAM Order"), "QAM64");
    EXPECT_FALSE(reread.GetChannel(1).GetItem(eSettingsItem_SymbolRate).HasValidMeasurementData());

    // Thousands of channels load.
    QJsonArray jChannels;
    for (int i = 0; i < 3000; ++i)
    {
        const QJsonArray jItems{
            QJsonObject{{"Id", "Channel Name"}, {"Value", QStringLiteral("C%1").arg(i)}},
            QJsonObject{{"Id", "TV Standard"}, {"Value", QStringLiteral("%1 ").arg(i % 23)}}};
        jChannels.append(QJsonObject{{"ChannelName", "Channel 0"}, {"ChannelItemData", jItems}});
    }
    ASSERT_TRUE(reread.Read(MdaTest::WriteFile(
        m_Dir, "many.json", QJsonDocument(QJsonObject{{"ChannelTableData", jChannels}}).toJson())));
    ASSERT_EQ(reread.GetRowCount(), 3000);
    long lRow = -1;
    EXPECT_TRUE(reread.GetChannelIndex("C2999", lRow) &&
                !reread.GetChannelIndex("no such channel", lRow) && lRow == 2999);
    EXPECT_EQ(reread.GetChannel(2999L).GetLabel(), "Channel 0"); // the row's own key
    EXPECT_EQ(reread.GetValue(2999, "TV Standard"),
              CEnumTemplate<ETVStandards>::IdToString(2999 % 23));
}

TEST_F(CChannelTableDataTest, ColumnInputsSelectionIdsAndTheDocsisRule)
{
    CChannelTableData table = TableOf(eTVStandard_BG_Pal, {"A"});
    EXPECT_EQ(table.GetChannelType(0), eCategory_Analog);
    EXPECT_TRUE(table.SetValue(0, "TV Standard", "DOCSIS 3.0 J.83/C (digital)"));
    EXPECT_EQ(table.GetValue(0, "Symbol Rate"), "5.27397860 MSymbol/s");
    EXPECT_EQ(table.GetValue(0, "Roll off Factor"), "0.13");
    EXPECT_EQ(table.GetChannelType(0), eCategory_Digital);

    EXPECT_TRUE(table.SetValue(0, "QAM Order", "QAM64"));
    EXPECT_EQ(table.GetValue(0, "QAM Order"), "QAM64");
    EXPECT_EQ(table.GetChannel(0).GetItem(eSettingsItem_QAMOrder).ToInt(), 3);
    // A text that is no entry stores -1, which shows as nothing.
    EXPECT_TRUE(table.SetValue(0, "QAM Order", "qam64"));
    EXPECT_EQ(table.GetChannel(0).GetItem(eSettingsItem_QAMOrder).ToInt(), -1);
    EXPECT_EQ(table.GetValue(0, "QAM Order"), QString());

    table.GetChannel(0).SetItemValue(eSettingsItem_TVStandard, 99L);
    EXPECT_EQ(table.GetTvStandard(0), eTVStandard_None);
    EXPECT_EQ(table.GetChannelType(0), eCategory_Digital);
    EXPECT_FALSE(table.SetValue(0, "No such column", "1"));

    // Column inputs are limited by standard and field.
    // Decoded PLP takes 0..255 or automatic; line numbers stay within the standard's lines (for
    // M NTSC within the chosen field); a symbol rate without unit is in MSymbol/s.
    for (const QStringList& r : DataRows("column_inputs.tsv"))
    {
        SCOPED_TRACE(r.join('|').toStdString());
        CChannelTableData table = TableOf(Enum<ETVStandards>(r[0]), {"L"});
        if (r[2] != "-")
        {
            table.SetValue(0, QString(r[1]).replace("- Line", "- Field"), r[2]);
        }
        table.SetValue(0, r[1], r[3]);
        EXPECT_EQ(table.GetValue(0, r[1]), r[4]);
    }
}

TEST_F(CChannelTableDataTest, RowsNamesIdentifiersAndCellPositions)
{
    CChannelTableData table = TableOf(eTVStandard_DVBT, {"A", "B", "C"});
    const long lIdB = table.GetChannelIdentifier(1);
    const long lIdC = table.GetChannelIdentifier(2);
    long lRow = -1;
    EXPECT_TRUE(table.GetChannelIndex(table.GetChannelIdentifier(0), lRow) && lRow == 0);
    EXPECT_TRUE(table.GetChannelIndex(lIdC, lRow) && lRow == 2);

    EXPECT_EQ(table.DeleteChannel(-12345), -1);
    EXPECT_EQ(table.GetRowCount(), 3);
    EXPECT_EQ(table.DeleteChannel(lIdB), 1);
    EXPECT_EQ(table.GetChannelNames(), (QStringList{"A", "C"}));
    EXPECT_EQ(table.GetChannelIdentifier(1), lIdC); // moved up, same identity
    EXPECT_FALSE(table.GetChannelIndex(lIdB, lRow));

    EXPECT_EQ(table.GetChannel("A").GetIdentifier(), table.GetChannelIdentifier(0));
    EXPECT_EQ(table.GetChannel("C").GetIdentifier(), lIdC);
    EXPECT_EQ(table.GetChannel("missing").GetItem(eSettingsItem_ChannelName).ToString(), "C");
    EXPECT_EQ(table.GetChannelFromIdentifier(table.GetChannelIdentifier(0))
                  .GetItem(eSettingsItem_ChannelName)
                  .ToString(),
              "A");

    EXPECT_THROW(table.GetChannel(2), std::out_of_range);
    EXPECT_THROW(table.GetChannel(-1), std::out_of_range);
    EXPECT_THROW(table.GetChannelIdentifier(2), std::out_of_range);
    EXPECT_THROW(table.SetValue(2, "Description", "x"), std::out_of_range);
    EXPECT_EQ(table.GetValue(2, "Description"), QString());
    // Cells by channel name and column position; B is gone.
    long lAttenuation = -1;
    for (long lColumn = 0; lColumn < table.GetColumnCount(); ++lColumn)
    {
        lAttenuation = table.GetValueEnumFromIndex("A", lColumn) == eSettingsItem_Attenuation
                           ? lColumn
                           : lAttenuation;
    }
    ASSERT_GE(lAttenuation, 0);
    EXPECT_TRUE(table.SetValue("A", lAttenuation, "6 dB"));
    EXPECT_EQ(table.GetValue("A", lAttenuation), "6 dB");
    EXPECT_FALSE(table.SetValue("B", lAttenuation, "6 dB"));
    EXPECT_EQ(table.GetValue("B", lAttenuation), QString());
    EXPECT_EQ(table.GetValueEnumFromIndex("B", lAttenuation), eSettingsItem_None);
    table.ClearChannels();
    EXPECT_EQ(table.GetRowCount(), 0);

    // Added and renamed names are made unique.
    CChannelTableData named = TableOf(eTVStandard_DVBT, {"Ch", "Ch_0", "Ch", "Ch", "Other"});
    EXPECT_EQ(named.GetChannelNames(), (QStringList{"Ch", "Ch_0", "Ch_1", "Ch_2", "Other"}));

    EXPECT_EQ(named.AddChannel(CChannelData(eTVStandard_DVBT, "Other"), 0), 0);
    EXPECT_EQ(named.GetChannelNames().first(), "Other_0");
    EXPECT_EQ(named.GetRowCount(), 6);

    // Renaming through the column keeps names unique, but a row may keep its own name.
    EXPECT_TRUE(named.SetValue(1, "Channel Name", "Ch_1"));
    EXPECT_EQ(named.GetChannelNames().at(1), "Ch_3");
    EXPECT_FALSE(named.SetValue(1, "Channel Name", "Ch_3"));
    EXPECT_TRUE(named.DoesNameExist("Ch_3", 0) && !named.DoesNameExist("Ch_3", 1));

    // The next candidate of a name.
    for (const QStringList& r : DataRows("channel_renames.tsv"))
    {
        QString sName = r[0];
        CChannelTableData::RenameChannel(sName);
        EXPECT_EQ(sName, r[1]) << r[0].toStdString();
    }
}

// A frequency of "inf MHz" was kept as infinity, written as "inf" and read back as 0 Hz:
// saving and reopening a channel table changed a channel. A message built by substituting one
// text after another rewrote its own data: a file "%1 %2.json" got the row number in its name.
TEST_F(CChannelTableDataTest, ValueThatIsNotFiniteIsRefusedAndNeverWritten)
{
    const CChannelData fresh(eTVStandard_BG_Pal, QString());
    const QString sMessage = QStringLiteral("Channel table file \"%1\": the value \"%2\" of %3 in "
                                            "channel 1 is not a finite number; it is not used.\n");
    for (const auto& [pszName, pszRefused] :
         {std::pair{"values.json", "refused.json"}, std::pair{"%1 %2.json", "%1%2%3.json"},
          std::pair{"x%4%9.json", "%1%2%3.json"}})
    {
        SCOPED_TRACE(pszName);
        const QString sPath = m_Dir.filePath(pszName);
        ASSERT_TRUE(QFile::copy(MDA_TEST_DATA_DIR "/channels/non_finite_values.json", sPath));
        CChannelTableData table;
        ASSERT_TRUE(table.Read(sPath));
        for (ESettingsItems eItem : {eSettingsItem_CenterFrequency, eSettingsItem_SymbolRate})
        {
            EXPECT_EQ(table.GetChannel(0).GetItem(eItem).ToString(),
                      fresh.GetItem(eItem).ToString());
        }
        EXPECT_EQ(table.GetValue(0, "Power Limit Offset"), "-2.50 dB");
        EXPECT_EQ(MdaTest::TakeLog(),
                  QStringList({sMessage.arg(sPath, "inf MHz", "Center / Vision Carrier Frequency"),
                               sMessage.arg(sPath, "1e999 MSymbol/s", "Symbol Rate")}));

        // What is written reads back as it was.
        const QString sCopy = m_Dir.filePath("copy.json");
        CChannelTableData reread;
        ASSERT_TRUE(table.Write(sCopy) && reread.Read(sCopy));
        for (long lColumn = 0; lColumn < 36; ++lColumn)
        {
            EXPECT_EQ(reread.GetValue("K21", lColumn), table.GetValue("K21", lColumn)) << lColumn;
        }
        EXPECT_TRUE(MdaTest::TakeLog().isEmpty());

        // A typed frequency can overflow to infinity in memory; it is never written as "inf".
        ASSERT_TRUE(table.GetChannel(0).SetItemValue(eSettingsItem_CenterFrequency, "1e308 GHz"));
        const QString sRefused = m_Dir.filePath(pszRefused);
        EXPECT_FALSE(table.Write(sRefused) || QFile::exists(sRefused));
        EXPECT_EQ(MdaTest::TakeLog(),
                  QStringList(QStringLiteral("Channel table file \"%1\" is not written: Center / "
                                             "Vision Carrier Frequency of channel 1 is not a "
                                             "finite number.\n")
                                  .arg(sRefused)));
    }
}

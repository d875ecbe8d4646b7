#include "CChannelTableData.h"
#include "CEnumTemplate.h"
#include "CFilterConstellation.h"
#include "CFilterTestLineField.h"
#include "CValueFactory.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace LumoraMeasurement;

namespace
{

const QStringList c_Analog = {"B/G Pal (analog)",   "B/G Secam (analog)", "D/K Pal (analog)",
                              "D/K Secam (analog)", "I Pal (analog)",     "K1 Secam (analog)",
                              "M Pal (analog)",     "M NTSC (analog)",    "N Pal (analog)"};
const QStringList c_Cable = {"DVB-C / J83/A (digital)", "J83/B (digital)", "J83/C (digital)"};
const QStringList c_Atsc = {"ATSC / 8VSB (digital)", "ATSC / MDTV (digital)"};
const QStringList c_Docsis30 = {"EuroDOCSIS 3.0 (digital)", "DOCSIS 3.0 (digital)",
                                "DOCSIS 3.0 J.83/C (digital)"};
const QStringList c_Docsis = c_Docsis30 + QStringList{"DOCSIS 3.1 (digital)"};

// Which entries each TV standard is offered; a standard in no row is offered nothing.
struct SOffer
{
    QStringList m_Standards;
    QStringList m_Entries; // in the order of the enumeration's table
};

struct SItemMatrix
{
    const char* m_pszColumn;
    QList<SOffer> m_Offers;
};

QList<SItemMatrix> FilteredItems()
{
    const QStringList profiles = {"All", "A", "B", "C", "D", "E", "F", "G", "H",
                                  "I",   "J", "K", "L", "M", "N", "O", "P"};
    return {
        {"Auto Parameter Detection",
         {{{"DTMB (digital)", "DVB-T (digital)", "DVB-T2 (digital)", "T-DMB / DAB (digital)",
            "ISDB-T (digital)"},
           {"On", "Off"}}}},
        {"Sideband Position (Spectral Inversion)",
         {{c_Cable +
               QStringList{"DTMB (digital)", "DVB-T (digital)", "T-DMB / DAB (digital)",
                           "ISDB-T (digital)"} +
               c_Docsis,
           {"Automatic", "Normal", "Inverted"}},
          {c_Analog + QStringList{"DVB-T2 (digital)"} + c_Atsc, {"Normal", "Inverted"}}}},
        {"Channel Bandwidth",
         {{{"DVB-T (digital)"}, {"5 MHz", "6 MHz", "7 MHz", "8 MHz"}},
          {{"DVB-T2 (digital)"}, {"1.7 MHz", "5 MHz", "6 MHz", "7 MHz", "8 MHz"}},
          {{"DTMB (digital)"}, {"6 MHz", "7 MHz", "8 MHz"}}}},
        {"QAM Order",
         {{c_Cable, {"QAM4", "QAM16", "QAM32", "QAM64", "QAM128", "QAM256"}},
          {{"DTMB (digital)"}, {"QAM4", "QAM16", "QAM32", "QAM64", "QAM4NR"}},
          {{"DVB-T (digital)"},
           {"QPSK", "QAM16NH", "QAM16H1", "QAM16H2", "QAM16H4", "QAM64NH", "QAM64H1", "QAM64H2",
            "QAM64H4"}},
          {{"DVB-T2 (digital)"}, {"QAM16", "QAM64", "QAM256", "QPSK", "BPSK"}},
          {c_Atsc, {"VSB"}},
          {{"T-DMB / DAB (digital)"}, {"QAM4"}},
          {{"ISDB-T (digital)"}, {"QAM16", "QAM64", "QPSK"}},
          {c_Docsis30, {"QAM64", "QAM256"}}}},
        {"Roll off Factor",
         {{c_Cable, {"0.12", "0.13", "0.15", "0.18"}},
          {c_Atsc, {"0.115"}},
          {c_Docsis30,
           {"Auto", "0.12", "0.13", "0.14", "0.15", "0.16", "0.17", "0.18", "0.19", "0.20"}}}},
        {"Equalizer", {{c_Cable + c_Atsc + c_Docsis, {"On", "Off"}}}},
        {"ISDB-T MER/BER Layer", {{{"ISDB-T (digital)"}, {"A", "B", "C"}}}},
        {"DTMB Modulation", {{{"DTMB (digital)"}, {"Multi Carrier", "Single Carrier"}}}},
        {"DTMB Frame Header", {{{"DTMB (digital)"}, {"G420", "G595", "G945"}}}},
        {"DVB-T2 T2-Profile", {{{"DVB-T2 (digital)"}, {"T2-base", "T2-lite"}}}},
        {"Profile", {{{"DOCSIS 3.1 (digital)"}, profiles}}},
        {"Group Delay",
         {{{"B/G Pal (analog)", "B/G Secam (analog)"},
           {"General", "GeneralHalf", "Australia", "Denmark", "NewZealand", "Norway", "SwedenFull",
            "Flat"}},
          {{"D/K Pal (analog)", "D/K Secam (analog)"}, {"Flat", "Oirt75", "Oirt83", "CCIR"}},
          {{"I Pal (analog)"}, {"Flat"}},
          {{"K1 Secam (analog)"}, {"Flat", "K1"}},
          {{"M Pal (analog)", "M NTSC (analog)", "N Pal (analog)"}, {"Flat", "FCC"}}}},
        {"Audio Standard",
         {{{"B/G Pal (analog)", "B/G Secam (analog)"},
           {"FM 5.5 MHz / NICAM 5.85 MHz", "FM 5.5 MHz / FM 5.742 MHz", "FM 5.5 MHz MONO"}},
          {{"D/K Pal (analog)", "D/K Secam (analog)", "K1 Secam (analog)"},
           {"FM 6.5 MHz / NICAM 5.85 MHz", "FM 6.5 MHz / FM 6.258 MHz", "FM 6.5 MHz / FM 6.742 MHz",
            "FM 6.5 MHz MONO"}},
          {{"I Pal (analog)"}, {"FM 6.0 MHz / NICAM 6.552 MHz", "FM 6.0 MHz MONO"}},
          {{"M Pal (analog)", "M NTSC (analog)", "N Pal (analog)"},
           {"FM 4.5 MHz / BTSC", "FM 4.5 MHz / EIA_J", "FM 4.5 MHz / FM 4.724 MHz",
            "FM 4.5 MHz MONO"}}}},
        {"RPC, Lum Bar Ampl - Method",
         {{{"B/G Pal (analog)", "B/G Secam (analog)", "D/K Pal (analog)", "D/K Secam (analog)",
            "I Pal (analog)", "K1 Secam (analog)", "N Pal (analog)"},
           {"CCIR17"}},
          // The table lists FCC Composite before NTC7 Composite.
          {{"M Pal (analog)", "M NTSC (analog)"}, {"FCC Composite", "NTC7 Composite"}}}},
        {"RPC, Lum Bar Ampl - Field", {{{"M NTSC (analog)"}, {"Field 1", "Field 2"}}}},
        {"SNR Quiet Line - Field", {{{"M NTSC (analog)"}, {"Field 1", "Field 2"}}}},
    };
}

// A table with one row per TV standard, in the order of the standards' table.
CChannelTableData TableOfEveryStandard()
{
    CChannelTableData table;
    for (const auto& row : CRepresentation<ETVStandards>::Table())
    {
        table.AddChannel(CChannelData(row.m_eEnumValue, row.m_sText),
                         CChannelTableData::c_lAppendRow);
    }
    return table;
}

} // namespace

TEST(ChannelSelectionLists, FilteredItemsOfferWhatTheRowStandardSupports)
{
    const CChannelTableData table = TableOfEveryStandard();
    ASSERT_EQ(table.GetRowCount(), 23);
    int nChecked = 0;
    for (const SItemMatrix& matrix : FilteredItems())
    {
        const ESettingsItems eItem = CValueFactory::SettingsItem_GetEnumValue(matrix.m_pszColumn);
        ASSERT_NE(eItem, eSettingsItem_None) << matrix.m_pszColumn;
        ASSERT_TRUE(table.HasComboBox(eItem));
        QSet<QString> seen;
        for (long lRow = 0; lRow < table.GetRowCount(); ++lRow)
        {
            const QString sStandard =
                CEnumTemplate<ETVStandards>::ToString(table.GetTvStandard(lRow));
            SCOPED_TRACE(
                QStringLiteral("%1 for %2").arg(matrix.m_pszColumn, sStandard).toStdString());
            QStringList expected;
            for (const SOffer& offer : matrix.m_Offers)
            {
                if (offer.m_Standards.contains(sStandard))
                {
                    EXPECT_TRUE(expected.isEmpty()) << "standard listed twice in the matrix";
                    expected = offer.m_Entries;
                    seen.insert(sStandard);
                }
            }
            EXPECT_EQ(table.GetComboBox(eItem, lRow), expected);
            ++nChecked;
        }
        // Every standard named by the matrix exists in the table.
        for (const SOffer& offer : matrix.m_Offers)
        {
            for (const QString& sStandard : offer.m_Standards)
            {
                EXPECT_TRUE(seen.contains(sStandard)) << sStandard.toStdString();
            }
        }
    }
    EXPECT_EQ(nChecked, 16 * 23); // 15 filters, one of them serving two items
}

TEST(ChannelSelectionLists, UnrestrictedItemsOfferTheWholeTableEverywhere)
{
    struct Row
    {
        const char* m_pszColumn;
        QStringList m_Entries;
    };
    const Row rows[] = {
        {"Reference Level Mode", {"Manual", "Automatic", "Automatic Time Optimized"}},
        {"Pre Selector", {"On", "Off"}},
        {"Pre Amplifier", {"On", "Off"}},
        {"Prefilter", {"On", "Off"}},
        {"FEC", {"A", "B", "C"}},
        {"Phase Track Loop Bandwidth", {"1 kHz", "6 kHz", "60 kHz"}},
        {"TV Standard", CEnumTemplate<ETVStandards>::ToStringList()},
    };
    const CChannelTableData table = TableOfEveryStandard();
    for (const Row& row : rows)
    {
        const ESettingsItems eItem = CValueFactory::SettingsItem_GetEnumValue(row.m_pszColumn);
        EXPECT_EQ(table.GetComboboxValues(eItem), row.m_Entries) << row.m_pszColumn;
        for (long lRow = 0; lRow < table.GetRowCount(); ++lRow)
        {
            SCOPED_TRACE(
                QStringLiteral("%1 in row %2").arg(row.m_pszColumn).arg(lRow).toStdString());
            EXPECT_EQ(table.GetComboBox(eItem, lRow), row.m_Entries);
        }
    }
    EXPECT_EQ(CEnumTemplate<ETVStandards>::ToStringList().size(), 23);
}

TEST(ChannelSelectionLists, ItemsWithoutListAndRowsOutsideTheTableOfferNothing)
{
    const CChannelTableData table = TableOfEveryStandard();
    for (ESettingsItems eItem :
         {eSettingsItem_ChannelName, eSettingsItem_DVBT2DecodedPLP, eSettingsItem_TestLineNumber,
          eSettingsItem_SymbolRate, eSettingsItem_None})
    {
        SCOPED_TRACE(eItem);
        EXPECT_FALSE(table.HasComboBox(eItem));
        EXPECT_TRUE(table.GetComboBox(eItem, 0).isEmpty());
        EXPECT_TRUE(table.GetComboboxValues(eItem).isEmpty());
        EXPECT_EQ(table.GetComboboxIndex(eItem, QStringLiteral("On")), -1);
        EXPECT_EQ(table.GetEnumValue(0, eItem), QString());
    }
    EXPECT_TRUE(table.GetComboBox(eSettingsItem_TVStandard, 23).isEmpty());
    EXPECT_TRUE(table.GetComboBox(eSettingsItem_TVStandard, -1).isEmpty());
}

TEST(ChannelSelectionLists, TextsAndIdsTranslateBothWays)
{
    CChannelTableData table;
    table.AddChannel(CChannelData(eTVStandard_BG_Pal, QStringLiteral("A")),
                     CChannelTableData::c_lAppendRow);
    EXPECT_EQ(table.GetComboboxIndex(eSettingsItem_RollOffFactor, QStringLiteral("0.115")), 1);
    EXPECT_EQ(table.GetComboboxIndex(eSettingsItem_RollOffFactor, QStringLiteral("0.115 ")), -1);
    EXPECT_EQ(table.GetComboboxIndex(eSettingsItem_TVStandard, QStringLiteral("DVB-T2 (digital)")),
              12);
    EXPECT_EQ(table.GetComboboxIndex(eSettingsItem_AutoParameterDetection, QStringLiteral("Off")),
              1);
    EXPECT_EQ(table.GetComboboxValues(eSettingsItem_ChannelBandwidth),
              (QStringList{"1.7 MHz", "5 MHz", "6 MHz", "7 MHz", "8 MHz"}));

    table.GetChannel(0).SetItemValue(eSettingsItem_TVStandard, QStringLiteral("14"));
    EXPECT_EQ(table.GetEnumValue(0, eSettingsItem_TVStandard), "DVB-T (digital)");
    EXPECT_EQ(table.GetValue(0, QStringLiteral("TV Standard")), "DVB-T (digital)");
    table.GetChannel(0).SetItemValue(eSettingsItem_TVStandard, QStringLiteral("99"));
    EXPECT_EQ(table.GetEnumValue(0, eSettingsItem_TVStandard), QString());
}

TEST(ChannelSelectionLists, FiltersRejectIdsOutsideTheTable)
{
    const CFilterConstellation constellation(eTVStandard_J83A);
    EXPECT_TRUE(constellation.IsUsable(0));   // QAM4
    EXPECT_FALSE(constellation.IsUsable(16)); // no row has id 16
    EXPECT_FALSE(constellation.IsUsable(-1));
    EXPECT_FALSE(constellation.IsUsable(1L << 40));
    const CFilterTestLineField field(eTVStandard_None);
    EXPECT_FALSE(field.IsUsable(0));
}

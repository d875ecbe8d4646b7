#include "CComparativeValueData.h"

#include "ConfigTestTools.h"

#include <climits>
#include <utility>

using namespace LumoraMeasurement;
using namespace ConfigTest;

namespace
{

using CComparativeValueDataTest = LogTest;

// Everything the limit file carries, row by row, as the display shows it.
QString Snapshot(const CComparativeValueData& table)
{
    QString sSnapshot;
    for (long i = 0; i < table.GetItemCount(); ++i)
    {
        // One arg(): a limit text holding "%1" must not be rewritten by the next argument.
        sSnapshot += QStringLiteral("%1|%2|%3|%4|%5\n")
                         .arg(QString::number(table.GetValueEnumFromIndex(i)),
                              QString::number(table.GetCompareTypeValueByIndex(i)),
                              QString::number(table.GetMeasurementEnabledByIndex(i)),
                              table.GetLowValueByIndex(i, true, 0.0),
                              table.GetHigherValueByIndex(i, true, 0.0));
    }
    return sSnapshot;
}

TEST_F(CComparativeValueDataTest, RowsFollowTheFixedOrderAndAreWrittenOneRecordEach)
{
    CComparativeValueData table;
    const QString sPath = m_Dir.filePath("limits.json");
    ASSERT_TRUE(table.Write(sPath));
    EXPECT_TRUE(table.GetLoadedLimitFile().isEmpty());
    EXPECT_EQ(ReadObject(sPath), ReadObject(DataFile("written_limits.json")));
    ASSERT_EQ(table.GetItemCount(), 126);
    long i = 0;
    for (auto range : {std::make_pair(2, 6), {77, 92}, {7, 76}, {93, 127}})
    {
        for (int iItem = range.first; iItem <= range.second; ++iItem, ++i)
        {
            const EMeasurementItems eItem = table.GetValueEnumFromIndex(i);
            EXPECT_EQ(eItem, iItem) << i;
            EXPECT_EQ(table.GetIndexFromEnum(eItem), i);
        }
    }
    EXPECT_EQ(table.GetCategoryByIndex(5), eCategory_Analog);
    EXPECT_EQ(table.GetValueTypeByIndex(0), eValueType_Integer);

    // Items without a row and indices out of range give neutral answers and change nothing.
    const QString sBefore = Snapshot(table);
    for (EMeasurementItems eItem : {eMeasItem_Status, eMeasItem_TimeStamp, eMeasItem_None})
    {
        EXPECT_EQ(table.GetIndexFromEnum(eItem), -1);
        EXPECT_EQ(table.GetItem(eItem).GetMeasurementItem(), eMeasItem_None);
        table.GetItem(eItem).SetFloatLowLimit(5.0); // must not stick to the sentinel
        EXPECT_FALSE(table.GetItem(eItem).GetLowValue().isValid());
        QString sLow = QStringLiteral("5");
        table.UpdateItemFromPTVFile(eItem, sLow, "6");
        table.UpdateItem(eItem, eCompareType_Equal, sLow, "6", false);
        EXPECT_EQ(sLow, "5");
    }
    for (long lIndex : {-1L, 126L, LONG_MAX, LONG_MIN})
    {
        SCOPED_TRACE(lIndex);
        QString sText = QStringLiteral("Between");
        EXPECT_EQ(table.GetValueEnumFromIndex(lIndex), eMeasItem_None);
        EXPECT_EQ(table.GetLowValueByIndex(lIndex, true, 0.0), QString());
        EXPECT_EQ(table.GetHigherValueByIndex(lIndex, true, 0.0), QString());
        EXPECT_FALSE(table.SetLowValueByIndex(lIndex, sText) ||
                     table.SetHigherValueByIndex(lIndex, sText) ||
                     table.SetCompareTypeValueByIndex(lIndex, sText) ||
                     table.SetMeasurementEnabledByIndex(lIndex, false));
        EXPECT_EQ(table.GetCompareTypeValueByIndex(lIndex), eCompareType_None);
        EXPECT_EQ(table.GetCategoryByIndex(lIndex), eCategory_NoCategory);
        EXPECT_EQ(table.GetValueTypeByIndex(lIndex), eValueType_Text);
        EXPECT_FALSE(table.GetMeasurementEnabledByIndex(lIndex));
    }
    EXPECT_EQ(Snapshot(table), sBefore);
    // The first row is a row like any other.
    QString sUnlocked = QStringLiteral("Unlocked");
    table.UpdateItem(eMeasItem_InternalReference, eCompareType_NotEqual, sUnlocked, "0", false);
    EXPECT_EQ(table.GetIndexFromEnum(eMeasItem_InternalReference), 0);
    EXPECT_EQ(table.GetItem(eMeasItem_InternalReference).GetCompareType(), eCompareType_NotEqual);
    EXPECT_EQ(std::as_const(table).GetItem(eMeasItem_InternalReference).GetCompareType(),
              eCompareType_NotEqual);
    EXPECT_FALSE(table.GetMeasurementEnabledByIndex(0));
}

TEST_F(CComparativeValueDataTest, WriteThenReadGivesTheSameTable)
{
    CComparativeValueData edited;
    // A copy of each row: the setters take their texts by reference; "-" leaves one unedited.
    for (QStringList r : DataRows("limit_edits.tsv"))
    {
        SCOPED_TRACE(r[0].toStdString());
        const long lIndex = edited.GetIndexFromEnum(Enum<EMeasurementItems>(r[0]));
        EXPECT_TRUE(r[2] == "-" || edited.SetLowValueByIndex(lIndex, r[2]));
        EXPECT_TRUE(r[3] == "-" || edited.SetHigherValueByIndex(lIndex, r[3]));
        EXPECT_TRUE(r[1] == "-" || edited.SetCompareTypeValueByIndex(lIndex, r[1]));
    }
    // The first item of the table reads back like any other.
    EXPECT_TRUE(edited.SetMeasurementEnabledByIndex(0, false));
    EXPECT_FALSE(edited.SetMeasurementEnabledByIndex(0, false));
    // A state item takes no range comparison; an unknown compare type text names 6.
    EXPECT_EQ(edited.GetItem(eMeasItem_DemodLock).GetCompareType(), eCompareType_Equal);
    EXPECT_EQ(edited.GetItem(eMeasItem_Power).GetCompareType(), eCompareType_None);
    EXPECT_EQ(edited.GetLowValueByIndex(21, true, 0.0), "-10.00 dBmV");

    const QString sFirst = m_Dir.filePath("first.json");
    const QString sSecond = m_Dir.filePath("second.json");
    for (const CComparativeValueData& table : {CComparativeValueData(), edited})
    {
        CComparativeValueData readBack;
        ASSERT_TRUE(table.Write(sFirst) && readBack.Read(sFirst));
        EXPECT_EQ(readBack.GetLoadedLimitFile(), sFirst);
        EXPECT_EQ(Snapshot(readBack), Snapshot(table));
        ASSERT_TRUE(readBack.Write(sSecond));
        EXPECT_EQ(ReadBytes(sSecond), ReadBytes(sFirst));
    }
    // Display settings change the texts shown, not the file.
    edited.SetLevelUnit(eLevelUnit_dBuV);
    edited.SetImpedance(eInstrumentImpedance_75Ohm);
    EXPECT_EQ(edited.GetLowValueByIndex(21, true, 0.0), "50.00 dBμV");
    ASSERT_TRUE(edited.Write(sSecond));
    EXPECT_EQ(ReadBytes(sSecond), ReadBytes(sFirst));
    EXPECT_TRUE(TakeLog().isEmpty());
}

TEST_F(CComparativeValueDataTest, ReadingMapsStoredIdsAndCompareTypesAndImportsTheOlderFormat)
{
    CComparativeValueData table;
    ASSERT_TRUE(table.Read(DataFile("stored_ids.json")));

    // Stored id 14 is "PLP Lock"; "FIC Lock" (item 14) has stored id 138. An unknown compare
    // type names None; the later of two records for one item wins; a state item keeps "Equal"
    // against Between.
    for (const QStringList& r : DataRows("stored_id_reads.tsv"))
    {
        SCOPED_TRACE(r[0].toStdString());
        const CComparativeValueDataItem& item = table.GetItem(Enum<EMeasurementItems>(r[0]));
        EXPECT_EQ(item.GetCompareType(), Enum<ECompareType>(r[1]));
        EXPECT_EQ(item.GetLowValue(), Typed(r[2]));
        EXPECT_EQ(item.GetMeasurementEnabled(), r[3] == "true");
    }
    // None accepts every value.
    QString sViolation = QStringLiteral("untouched");
    for (const char* pszValue : {"-1000", "1000", "nothing"})
    {
        EXPECT_TRUE(table.GetItem(eMeasItem_Power).InRange(pszValue, sViolation, 0.0)) << pszValue;
    }
    EXPECT_EQ(sViolation, "untouched");

    // The older format's import.
    // Frequencies in Hz and delays in s become their display units; levels in dBm (50 Ohm)
    // dBmV.
    for (const QStringList& r : DataRows("older_format_numbers.tsv"))
    {
        SCOPED_TRACE(r[0].toStdString());
        CComparativeValueData table;
        const EMeasurementItems eItem = Enum<EMeasurementItems>(r[0]);
        QString sLow = r[1];
        table.GetItem(eItem).SetCompareType(Enum<ECompareType>(r[7]));
        table.UpdateItemFromPTVFile(eItem, sLow, r[2]);
        EXPECT_EQ(sLow, r[3]);
        const CComparativeValueDataItem& item = table.GetItem(eItem);
        EXPECT_EQ(item.GetCompareType(), Enum<ECompareType>(r[4]));
        EXPECT_NEAR(item.GetLowValue().toDouble(), r[5].toDouble(), 1e-4);
        EXPECT_NEAR(item.GetHighValue().toDouble(), r[6].toDouble(), 1e-4);
    }
    // A state's stored id selects the expected state, whatever the compare type was.
    for (const QStringList& r : DataRows("older_format_states.tsv"))
    {
        SCOPED_TRACE(r.join('|').toStdString());
        CComparativeValueData table;
        const EMeasurementItems eItem = Enum<EMeasurementItems>(r[0]);
        table.GetItem(eItem).SetCompareType(eCompareType_NotUsed);
        QString sLow = r[1];
        table.UpdateItemFromPTVFile(eItem, sLow, "99");
        EXPECT_EQ(sLow, r[1]);
        const CComparativeValueDataItem& item = table.GetItem(eItem);
        EXPECT_EQ(item.GetCompareType(), eCompareType_Equal);
        QString sViolation;
        EXPECT_TRUE(item.InRange(r[2], sViolation, 0.0));
        EXPECT_FALSE(item.InRange(QString(r[2] == "0" ? "1" : "0"), sViolation, 0.0));
        EXPECT_EQ(sViolation, r[3]);
    }
}

// A limit of "1e999 dB" read as infinity, was written as "inf dB" and read back as 0 dB:
// saving and reopening a limit table changed a limit.
TEST_F(CComparativeValueDataTest, LimitThatIsNotFiniteIsRefusedAndNeverWritten)
{
    const QString sPath = DataFile("non_finite_limits.json");
    CComparativeValueData limits;
    ASSERT_TRUE(limits.Read(sPath));
    const QString sMessage = QStringLiteral("Limit file \"%1\": the %2 limit \"%3\" of %4 is not "
                                            "a finite number; it is not used.\n");
    EXPECT_EQ(TakeLog(), QStringList({sMessage.arg(sPath, "low", "1e999 dBmV", "Power"),
                                      sMessage.arg(sPath, "high", "inf dBmV", "Power"),
                                      sMessage.arg(sPath, "low", "1e39 dB", "MER RMS dB"),
                                      sMessage.arg(sPath, "high", "nan dB", "MER RMS dB")}));
    // The refused limits keep their defaults; large finite ones are taken, up to the largest.
    QStringList lExpected = Snapshot(CComparativeValueData()).split('\n');
    lExpected[limits.GetIndexFromEnum(eMeasItem_Attenuation)] = "5|3|1|-3.40282e+38 dB|1e+30 dB";
    EXPECT_EQ(Snapshot(limits).split('\n'), lExpected);

    // What is written reads back as it was.
    const QString sCopy = m_Dir.filePath("copy.json");
    CComparativeValueData reread;
    ASSERT_TRUE(limits.Write(sCopy) && reread.Read(sCopy));
    EXPECT_EQ(Snapshot(reread), Snapshot(limits));
    EXPECT_TRUE(TakeLog().isEmpty());

    // A limit that is not finite in memory is never written as a text that reads otherwise.
    limits.GetItem(eMeasItem_Power).SetFloatHighLimit(std::numeric_limits<double>::infinity());
    const QString sRefused = m_Dir.filePath("refused.json");
    EXPECT_FALSE(limits.Write(sRefused) || QFile::exists(sRefused));
    EXPECT_EQ(TakeLog(), QStringList(QStringLiteral("Limit file \"%1\" is not written: a limit of "
                                                    "Power is not a finite number.\n")
                                         .arg(sRefused)));
}

} // namespace

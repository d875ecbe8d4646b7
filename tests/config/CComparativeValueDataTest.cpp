#include "CComparativeValueData.h"

#include "CEnumTemplate.h"
#include "ConfigTestTools.h"

#include <QJsonArray>

#include <climits>

using namespace LumoraMeasurement;
using namespace ConfigTest;

namespace
{

class CComparativeValueDataTest : public LogTest
{
protected:
    // Everything the limit file carries, row by row, as the display shows it.
    static QString Snapshot(const CComparativeValueData& table)
    {
        QString sSnapshot;
        for (long i = 0; i < table.GetItemCount(); ++i)
        {
            sSnapshot += QStringLiteral("%1|%2|%3|%4|%5\n")
                             .arg(table.GetValueEnumFromIndex(i))
                             .arg(table.GetCompareTypeValueByIndex(i))
                             .arg(table.GetMeasurementEnabledByIndex(i))
                             .arg(table.GetLowValueByIndex(i, true, 0.0),
                                  table.GetHigherValueByIndex(i, true, 0.0));
        }
        return sSnapshot;
    }
};

TEST_F(CComparativeValueDataTest, RowsFollowTheFixedOrder)
{
    const CComparativeValueData table;
    std::vector<int> expected;
    for (auto range : {std::make_pair(2, 6), {77, 92}, {7, 76}, {93, 127}})
    {
        for (int i = range.first; i <= range.second; ++i)
        {
            expected.push_back(i);
        }
    }
    ASSERT_EQ(table.GetItemCount(), 126);
    for (long i = 0; i < 126; ++i)
    {
        const EMeasurementItems eItem = table.GetValueEnumFromIndex(i);
        EXPECT_EQ(eItem, expected[static_cast<size_t>(i)]) << i;
        EXPECT_EQ(table.GetIndexFromEnum(eItem), i);
    }
    EXPECT_EQ(table.GetCategoryByIndex(5), eCategory_Analog);
    EXPECT_EQ(table.GetValueTypeByIndex(0), eValueType_Integer);
}

TEST_F(CComparativeValueDataTest, ItemsWithoutRowAndIndicesOutOfRangeGiveNeutralAnswers)
{
    CComparativeValueData table;
    const QString sBefore = Snapshot(table);
    for (EMeasurementItems eItem : {eMeasItem_Status, eMeasItem_TimeStamp, eMeasItem_None})
    {
        EXPECT_EQ(table.GetIndexFromEnum(eItem), -1);
        EXPECT_EQ(table.GetItem(eItem).GetMeasurementItem(), eMeasItem_None);
        table.GetItem(eItem).SetFloatLowLimit(5.0); // must not stick to the sentinel
        EXPECT_FALSE(table.GetItem(eItem).GetLowValue().isValid());
        QString sLow = QStringLiteral("5");
        table.UpdateItemFromPTVFile(eItem, sLow, QStringLiteral("6"));
        table.UpdateItem(eItem, eCompareType_Equal, sLow, QStringLiteral("6"), false);
        EXPECT_EQ(sLow, QStringLiteral("5"));
    }
    for (long lIndex : {-1L, 126L, LONG_MAX, LONG_MIN})
    {
        SCOPED_TRACE(lIndex);
        QString sText = QStringLiteral("Between");
        EXPECT_EQ(table.GetValueEnumFromIndex(lIndex), eMeasItem_None);
        EXPECT_EQ(table.GetLowValueByIndex(lIndex, true, 0.0), QString());
        EXPECT_EQ(table.GetHigherValueByIndex(lIndex, true, 0.0), QString());
        EXPECT_FALSE(table.SetLowValueByIndex(lIndex, sText));
        EXPECT_FALSE(table.SetHigherValueByIndex(lIndex, sText));
        EXPECT_EQ(table.GetCompareTypeValueByIndex(lIndex), eCompareType_None);
        EXPECT_FALSE(table.SetCompareTypeValueByIndex(lIndex, sText));
        EXPECT_EQ(table.GetCategoryByIndex(lIndex), eCategory_NoCategory);
        EXPECT_EQ(table.GetValueTypeByIndex(lIndex), eValueType_Text);
        EXPECT_FALSE(table.GetMeasurementEnabledByIndex(lIndex));
        EXPECT_FALSE(table.SetMeasurementEnabledByIndex(lIndex, false));
    }
    EXPECT_EQ(Snapshot(table), sBefore);
}

TEST_F(CComparativeValueDataTest, WrittenFileHasOneRecordPerRow)
{
    const CComparativeValueData table;
    const QString sPath = m_Dir.filePath(QStringLiteral("limits.json"));
    ASSERT_TRUE(table.Write(sPath));
    EXPECT_TRUE(ParsesWithPython(sPath));
    EXPECT_TRUE(table.GetLoadedLimitFile().isEmpty());

    const QJsonObject jFile = ReadObject(sPath);
    EXPECT_EQ(jFile.keys(), QStringList{QStringLiteral("ComparativeValues")});
    const QJsonArray jRecords = jFile[QStringLiteral("ComparativeValues")].toArray();
    ASSERT_EQ(jRecords.size(), 126);
    for (int i = 0; i < jRecords.size(); ++i)
    {
        const QJsonObject jRecord = jRecords[i].toObject();
        EXPECT_TRUE(jRecord["CompareType"].isDouble() && jRecord["ID"].isDouble() &&
                    jRecord["LowValue"].isString() && jRecord["HighValue"].isString() &&
                    jRecord["MeasurementEnabled"].toBool(false) && jRecord.size() == 5)
            << i;
        EXPECT_EQ(jRecord["ID"].toInt(),
                  CEnumTemplate<EMeasurementItems>::ToId(table.GetValueEnumFromIndex(i)));
    }
    const auto Record = [&](EMeasurementItems e)
    { return jRecords[static_cast<int>(table.GetIndexFromEnum(e))].toObject(); };
    EXPECT_EQ(Record(eMeasItem_Power), (QJsonObject{{"ID", 8},
                                                    {"CompareType", 3},
                                                    {"MeasurementEnabled", true},
                                                    {"LowValue", "-15.00 dBmV"},
                                                    {"HighValue", "47.00 dBmV"}}));
    EXPECT_EQ(Record(eMeasItem_FICLock)["ID"].toInt(), 138);
    EXPECT_EQ(Record(eMeasItem_FICLock)["LowValue"].toString(), QStringLiteral("Locked"));
    EXPECT_EQ(Record(eMeasItem_SymbolRateOffset)["LowValue"].toString(),
              QStringLiteral("-1.00 kSymbol/s"));
    EXPECT_EQ(Record(eMeasItem_CarrierFrequencyOffset)["HighValue"].toString(),
              QStringLiteral("20.00 kHz"));
}

TEST_F(CComparativeValueDataTest, WriteThenReadGivesTheSameTable)
{
    CComparativeValueData edited;
    struct SEdit
    {
        EMeasurementItems m_eItem;
        const char* m_pszCompareType;
        const char* m_pszLow;
        const char* m_pszHigh;
    };
    // clang-format off
    const SEdit edits[] = {
        {eMeasItem_MERRMSdB,                 "Higher",    "28.5",       nullptr},
        {eMeasItem_PLCLock,                  "Not Equal", "Unlocked",   nullptr},
        {eMeasItem_FM2IntercarrierFrequency, "Lower",     nullptr,      "1.5 MHz"},
        {eMeasItem_FM1SoundCarrier,          nullptr,     "Missing",    nullptr},
        {eMeasItem_SymbolRateOffset,         nullptr,     "-2 kSymb/s", "6.9 MSymb/s"},
        {eMeasItem_BERBeforeBCH,             "Not Used",  nullptr,      "2.5e-7"},
        {eMeasItem_TSBitrate,                nullptr,     "1.5 GBit/s", nullptr},
        {eMeasItem_DemodLock,                "Between",   nullptr,      nullptr},
        {eMeasItem_Power,                    "lower",     "-10 dBmV",   nullptr},
    };
    // clang-format on
    for (const auto& edit : edits)
    {
        const long lIndex = edited.GetIndexFromEnum(edit.m_eItem);
        QString sLow = QString::fromUtf8(edit.m_pszLow);
        QString sHigh = QString::fromUtf8(edit.m_pszHigh);
        QString sType = QString::fromUtf8(edit.m_pszCompareType);
        EXPECT_TRUE(!edit.m_pszLow || edited.SetLowValueByIndex(lIndex, sLow));
        EXPECT_TRUE(!edit.m_pszHigh || edited.SetHigherValueByIndex(lIndex, sHigh));
        EXPECT_TRUE(!edit.m_pszCompareType || edited.SetCompareTypeValueByIndex(lIndex, sType));
    }
    const long lHum = edited.GetIndexFromEnum(eMeasItem_HUM);
    EXPECT_TRUE(edited.SetMeasurementEnabledByIndex(lHum, false));
    EXPECT_FALSE(edited.SetMeasurementEnabledByIndex(lHum, false));
    // A state item takes no range comparison; an unknown compare type text names 6.
    EXPECT_EQ(edited.GetItem(eMeasItem_DemodLock).GetCompareType(), eCompareType_Equal);
    EXPECT_EQ(edited.GetItem(eMeasItem_Power).GetCompareType(), eCompareType_None);
    EXPECT_EQ(edited.GetLowValueByIndex(21, true, 0.0), QStringLiteral("-10.00 dBmV"));

    const QString sFirst = m_Dir.filePath(QStringLiteral("first.json"));
    const QString sSecond = m_Dir.filePath(QStringLiteral("second.json"));
    for (const CComparativeValueData& table : {CComparativeValueData(), edited})
    {
        ASSERT_TRUE(table.Write(sFirst));
        CComparativeValueData readBack;
        ASSERT_TRUE(readBack.Read(sFirst));
        EXPECT_EQ(readBack.GetLoadedLimitFile(), sFirst);
        EXPECT_EQ(Snapshot(readBack), Snapshot(table));
        ASSERT_TRUE(readBack.Write(sSecond));
        EXPECT_EQ(ReadBytes(sSecond), ReadBytes(sFirst));
    }
    // Display settings change the texts shown, not the file.
    edited.SetLevelUnit(eLevelUnit_dBuV);
    edited.SetImpedance(eInstrumentImpedance_75Ohm);
    EXPECT_EQ(edited.GetLowValueByIndex(21, true, 0.0), QStringLiteral("50.00 dBμV"));
    ASSERT_TRUE(edited.Write(sSecond));
    EXPECT_EQ(ReadBytes(sSecond), ReadBytes(sFirst));
    EXPECT_TRUE(TakeLog().isEmpty());
}

TEST_F(CComparativeValueDataTest, ReadingMapsStoredIdsAndCompareTypes)
{
    CComparativeValueData table;
    ASSERT_TRUE(table.Read(WriteFile(
        m_Dir, QStringLiteral("limits.json"),
        "{\"ComparativeValues\": ["
        " {\"ID\": 14, \"CompareType\": 2, \"LowValue\": \"Unlocked\", \"MeasurementEnabled\": "
        "false},"
        " {\"ID\": 8, \"CompareType\": 9, \"LowValue\": \"-20 dBmV\", \"HighValue\": \"40 dBmV\"},"
        " {\"ID\": 11, \"CompareType\": 4, \"LowValue\": \"-3\", \"HighValue\": \"3\"},"
        " {\"ID\": 11, \"CompareType\": 5, \"LowValue\": \"-4\", \"HighValue\": \"4\"},"
        " {\"ID\": 13, \"CompareType\": 3, \"LowValue\": \"Unlocked\"},"
        " {\"ID\": 0, \"CompareType\": 1, \"HighValue\": \"OK\"}, {\"ID\": 5000}]}")));

    // Stored id 14 is "PLP Lock"; "FIC Lock" (item 14) has stored id 138.
    const CComparativeValueDataItem& plp = table.GetItem(eMeasItem_PLPLock);
    EXPECT_EQ(plp.GetCompareType(), eCompareType_NotEqual);
    EXPECT_EQ(plp.GetLowValue(), QVariant(1u));
    EXPECT_FALSE(plp.GetMeasurementEnabled());
    EXPECT_TRUE(table.GetItem(eMeasItem_FICLock).GetMeasurementEnabled());

    // An unknown compare type accepts every value.
    const CComparativeValueDataItem& power = table.GetItem(eMeasItem_Power);
    EXPECT_EQ(power.GetCompareType(), eCompareType_None);
    EXPECT_EQ(power.GetLowValue(), QVariant(-20.0));
    QString sViolation = QStringLiteral("untouched");
    for (const char* pszValue : {"-1000", "1000", "nothing"})
    {
        EXPECT_TRUE(power.InRange(QString::fromLatin1(pszValue), sViolation, 0.0)) << pszValue;
    }
    EXPECT_EQ(sViolation, QStringLiteral("untouched"));

    // The later of two records for one item wins; a state item keeps "Equal" against Between.
    EXPECT_EQ(table.GetItem(eMeasItem_BitrateOffset).GetCompareType(), eCompareType_Higher);
    EXPECT_EQ(table.GetItem(eMeasItem_BitrateOffset).GetLowValue(), QVariant(-4.0));
    EXPECT_EQ(table.GetItem(eMeasItem_MPEGLock).GetCompareType(), eCompareType_Equal);
    EXPECT_EQ(table.GetItem(eMeasItem_MPEGLock).GetLowValue(), QVariant(1u));
}

TEST_F(CComparativeValueDataTest, OddDocumentsFallBack)
{
    QByteArray many = "{\"ComparativeValues\": [";
    for (int i = 0; i < 5000; ++i)
    {
        many += QStringLiteral("{\"ID\": 8, \"CompareType\": 3, \"LowValue\": \"%1 dBmV\"},")
                    .arg(-i)
                    .toUtf8();
    }
    many += "{\"ID\": \"8\"}]}";

    struct SRow
    {
        const char* m_pszName;
        QByteArray m_Content;
        bool m_bChanges;
    };
    // clang-format off
    const SRow rows[] = {
        {"no member",           "{\"Limits\": []}",                                 false},
        {"member not an array", "{\"ComparativeValues\": {\"ID\": 8}}",             false},
        {"records not objects", "{\"ComparativeValues\": [1, \"x\", null, [8]]}",   false},
        {"mistyped members",    "{\"ComparativeValues\": [{\"ID\": \"8\", \"CompareType\": \"3\"}]}", false},
        {"enormous numbers",    "{\"ComparativeValues\": [{\"ID\": 1e308, \"CompareType\": -1e308}]}", false},
        {"enormous limits",     "{\"ComparativeValues\": [{\"ID\": 8, \"LowValue\": \"1e999 dBmV\","
                                " \"HighValue\": \"-99999999999999999999999999999999999 dBmV\"}]}", true},
        {"thousands of records", many,                                              true},
    };
    // clang-format on
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszName);
        const QString sPath = WriteFile(m_Dir, QStringLiteral("limits.json"), row.m_Content);
        CComparativeValueData table;
        EXPECT_TRUE(table.Read(sPath));
        EXPECT_EQ(table.GetLoadedLimitFile(), sPath);
        EXPECT_EQ(Snapshot(table) != Snapshot(CComparativeValueData()), row.m_bChanges);
        if (row.m_Content == many)
        {
            EXPECT_EQ(table.GetItem(eMeasItem_Power).GetLowValue(), QVariant(-4999.0));
        }
        EXPECT_TRUE(TakeLog().isEmpty());
    }
}

TEST_F(CComparativeValueDataTest, OlderFormatImportOfNumbers)
{
    struct SRow
    {
        EMeasurementItems m_eItem;
        const char* m_pszLow;
        const char* m_pszHigh;
        const char* m_pszLowAfter; ///< what the caller's text becomes
        ECompareType m_eCompareType;
        double m_dLow;
        double m_dHigh;
    };
    const double d = 46.9897; // 50 Ohm dBm to dBmV
    // clang-format off
    const SRow rows[] = {
        {eMeasItem_CarrierFrequencyOffset,        "-500",      "",          "-500 Hz",     eCompareType_Higher,  -500,   0},
        {eMeasItem_CarrierFrequencyOffsetDigital, "",          "300",       "",            eCompareType_Lower,   0,      300},
        {eMeasItem_OccupiedBandwidth,             "6000000",   "8000000",   "6000000 Hz",  eCompareType_Between, 6e6,    8e6},
        {eMeasItem_FM1IntercarrierFrequency,      "",          "",          "",            eCompareType_Between, 0,      0},
        {eMeasItem_GroupDelay,                    "0.0000001", "0.0000002", "0.0000001 s", eCompareType_Between, 100,    200},
        {eMeasItem_MERRMSdB,                      "28",        "",          "28",          eCompareType_Higher,  28,     0},
        {eMeasItem_Power,                         "-50",       "",          "-50",         eCompareType_Between, -50 + d, d},
        {eMeasItem_ReferenceLevel,                "-60",       "10",        "-60",         eCompareType_Between, -60 + d, 10 + d},
        {eMeasItem_VisionCarrierLevel,            "",          "-2.5",      "",            eCompareType_Between, d,      -2.5 + d},
    };
    // clang-format on
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_eItem);
        CComparativeValueData table;
        QString sLow = QString::fromLatin1(row.m_pszLow);
        table.UpdateItemFromPTVFile(row.m_eItem, sLow, QString::fromLatin1(row.m_pszHigh));
        EXPECT_EQ(sLow, QString::fromLatin1(row.m_pszLowAfter));
        const CComparativeValueDataItem& item = table.GetItem(row.m_eItem);
        EXPECT_EQ(item.GetCompareType(), row.m_eCompareType);
        EXPECT_NEAR(item.GetLowValue().toDouble(), row.m_dLow, 1e-4);
        EXPECT_NEAR(item.GetHighValue().toDouble(), row.m_dHigh, 1e-4);
    }
}

TEST_F(CComparativeValueDataTest, OlderFormatImportOfStatesSelectsTheExpectedState)
{
    struct SRow
    {
        EMeasurementItems m_eItem;
        const char* m_pszLow;
        const char* m_pszPassing; ///< measured stored id in range afterwards; the other fails
        const char* m_pszViolation;
    };
    // clang-format off
    const SRow rows[] = {
        {eMeasItem_DemodLock,         "0", "1", "Demod Lock is not Unlocked"},
        {eMeasItem_DemodLock,         "1", "0", "Demod Lock is not Locked"},
        {eMeasItem_InternalReference, "7", "0", "Internal Reference is not Locked"},
        {eMeasItem_Preselector,       "0", "1", "Preselector is not Off"},
        {eMeasItem_Preamplifier,      "1", "0", "Preamplifier is not On"},
        {eMeasItem_FM1SoundCarrier,   "0", "0", "FM1 Sound Carrier is not Present"},
        {eMeasItem_FM2SoundCarrier,   "2", "1", "FM2 Sound Carrier is not Missing"},
    };
    // clang-format on
    for (const auto& row : rows)
    {
        SCOPED_TRACE(testing::Message() << row.m_eItem << " " << row.m_pszLow);
        CComparativeValueData table;
        table.GetItem(row.m_eItem).SetCompareType(eCompareType_NotUsed);
        QString sLow = QString::fromLatin1(row.m_pszLow);
        table.UpdateItemFromPTVFile(row.m_eItem, sLow, QStringLiteral("99"));
        EXPECT_EQ(sLow, QString::fromLatin1(row.m_pszLow));
        const CComparativeValueDataItem& item = table.GetItem(row.m_eItem);
        EXPECT_EQ(item.GetCompareType(), eCompareType_Equal);
        QString sViolation;
        EXPECT_TRUE(item.InRange(QString::fromLatin1(row.m_pszPassing), sViolation, 0.0));
        EXPECT_FALSE(
            item.InRange(row.m_pszPassing[0] == '0' ? QStringLiteral("1") : QStringLiteral("0"),
                         sViolation, 0.0));
        EXPECT_EQ(sViolation, QString::fromLatin1(row.m_pszViolation));
    }
}

} // namespace

#include "CComparativeValueData.h"

#include "CEnumTemplate.h"
#include "ConfigTestTools.h"

#include <QJsonArray>

#include <climits>
#include <cmath>

using namespace LumoraMeasurement;
using namespace ConfigTest;

namespace
{

class CComparativeValueDataTest : public LogTest
{
protected:
    // Everything the limit file carries, row by row, as the file would show it.
    static QByteArray Snapshot(const CComparativeValueData& table)
    {
        QByteArray snapshot;
        for (long i = 0; i < table.GetItemCount(); ++i)
        {
            snapshot += QStringLiteral("%1|%2|%3|%4|%5\n")
                            .arg(table.GetValueEnumFromIndex(i))
                            .arg(table.GetCompareTypeValueByIndex(i))
                            .arg(table.GetMeasurementEnabledByIndex(i))
                            .arg(table.GetLowValueByIndex(i, true, 0.0),
                                 table.GetHigherValueByIndex(i, true, 0.0))
                            .toUtf8();
        }
        return snapshot;
    }

    QString WriteLimits(const QByteArray& records)
    {
        return WriteFile(m_Dir, QStringLiteral("limits.json"),
                         "{\"ComparativeValues\": " + records + "}");
    }
};

TEST_F(CComparativeValueDataTest, RowsFollowTheFixedOrder)
{
    const CComparativeValueData table;
    std::vector<int> expected;
    for (int i = 2; i <= 6; ++i)
    {
        expected.push_back(i);
    }
    for (int i = 77; i <= 92; ++i)
    {
        expected.push_back(i);
    }
    for (int i = 7; i <= 76; ++i)
    {
        expected.push_back(i);
    }
    for (int i = 93; i <= 127; ++i)
    {
        expected.push_back(i);
    }
    ASSERT_EQ(table.GetItemCount(), 126);
    for (long i = 0; i < 126; ++i)
    {
        SCOPED_TRACE(i);
        const EMeasurementItems eItem = table.GetValueEnumFromIndex(i);
        EXPECT_EQ(eItem, expected[static_cast<size_t>(i)]);
        EXPECT_EQ(table.GetIndexFromEnum(eItem), i);
    }
    EXPECT_EQ(table.GetValueEnumFromIndex(0), eMeasItem_InternalReference);
    EXPECT_EQ(table.GetValueEnumFromIndex(5), eMeasItem_VisionCarrierLevel);
    EXPECT_EQ(table.GetValueEnumFromIndex(21), eMeasItem_Power);
    EXPECT_EQ(table.GetValueEnumFromIndex(91), eMeasItem_DecodeLock);
    EXPECT_EQ(table.GetCategoryByIndex(5), eCategory_Analog);
    EXPECT_EQ(table.GetValueTypeByIndex(0), eValueType_Integer);
}

TEST_F(CComparativeValueDataTest, ItemsWithoutRowGiveTheEmptySentinel)
{
    CComparativeValueData table;
    for (EMeasurementItems eItem : {eMeasItem_Status, eMeasItem_TimeStamp, eMeasItem_None})
    {
        SCOPED_TRACE(eItem);
        EXPECT_EQ(table.GetIndexFromEnum(eItem), -1);
        CComparativeValueDataItem& sentinel = table.GetItem(eItem);
        EXPECT_EQ(sentinel.GetMeasurementItem(), eMeasItem_None);
        EXPECT_FALSE(sentinel.GetLowValue().isValid());
        // Writing through the answer must not stick to the sentinel.
        sentinel.SetFloatLowLimit(5.0);
    }
    EXPECT_FALSE(table.GetItem(eMeasItem_Status).GetLowValue().isValid());
    EXPECT_EQ(&table.GetItem(eMeasItem_Power), &table.GetItem(eMeasItem_Power));
}

TEST_F(CComparativeValueDataTest, OutOfRangeIndicesGiveNeutralAnswers)
{
    CComparativeValueData table;
    const QByteArray before = Snapshot(table);
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
    EXPECT_EQ(Snapshot(table), before);
}

TEST_F(CComparativeValueDataTest, EditingByIndexReportsChanges)
{
    CComparativeValueData table;
    const long lPower = table.GetIndexFromEnum(eMeasItem_Power);
    const long lDemod = table.GetIndexFromEnum(eMeasItem_DemodLock);

    QString sText = QStringLiteral("Between");
    EXPECT_TRUE(table.SetCompareTypeValueByIndex(lDemod, sText));
    EXPECT_EQ(table.GetCompareTypeValueByIndex(lDemod), eCompareType_Equal);
    EXPECT_FALSE(table.SetCompareTypeValueByIndex(lPower, sText));
    sText = QStringLiteral("Lower");
    EXPECT_TRUE(table.SetCompareTypeValueByIndex(lPower, sText));
    EXPECT_EQ(table.GetCompareTypeValueByIndex(lPower), eCompareType_Lower);
    sText = QStringLiteral("lower");
    EXPECT_TRUE(table.SetCompareTypeValueByIndex(lPower, sText));
    EXPECT_EQ(table.GetCompareTypeValueByIndex(lPower), eCompareType_None);
    QString sViolation;
    EXPECT_TRUE(table.GetItem(eMeasItem_Power).InRange(QStringLiteral("1e9"), sViolation, 0.0));

    EXPECT_FALSE(table.SetMeasurementEnabledByIndex(lPower, true));
    EXPECT_TRUE(table.SetMeasurementEnabledByIndex(lPower, false));
    EXPECT_FALSE(table.GetMeasurementEnabledByIndex(lPower));

    sText = QStringLiteral("-10 dBmV");
    EXPECT_TRUE(table.SetLowValueByIndex(lPower, sText));
    EXPECT_FALSE(table.SetLowValueByIndex(lPower, sText));
    EXPECT_EQ(table.GetLowValueByIndex(lPower, true, 0.0), QStringLiteral("-10.00 dBmV"));
    table.SetLevelUnit(eLevelUnit_dBuV);
    table.SetImpedance(eInstrumentImpedance_75Ohm);
    EXPECT_EQ(table.GetLowValueByIndex(lPower, true, 0.0), QStringLiteral("50.00 dBμV"));
    EXPECT_EQ(table.GetHigherValueByIndex(lPower, false, 0.0), QStringLiteral("47"));
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
        SCOPED_TRACE(i);
        const QJsonObject jRecord = jRecords[i].toObject();
        EXPECT_EQ(jRecord.keys(), (QStringList{"CompareType", "HighValue", "ID", "LowValue",
                                               "MeasurementEnabled"}));
        EXPECT_TRUE(jRecord[QStringLiteral("CompareType")].isDouble());
        EXPECT_TRUE(jRecord[QStringLiteral("ID")].isDouble());
        EXPECT_TRUE(jRecord[QStringLiteral("LowValue")].isString());
        EXPECT_TRUE(jRecord[QStringLiteral("HighValue")].isString());
        EXPECT_TRUE(jRecord[QStringLiteral("MeasurementEnabled")].isBool());
        EXPECT_EQ(jRecord[QStringLiteral("ID")].toInt(),
                  CEnumTemplate<EMeasurementItems>::ToId(table.GetValueEnumFromIndex(i)));
    }
    struct SRow
    {
        long m_lIndex;
        int m_iID;
        int m_iCompareType;
        const char* m_pszLow;
        const char* m_pszHigh;
    };
    const SRow rows[] = {
        {21, 8, 3, "-15.00 dBmV", "47.00 dBmV"},
        {table.GetIndexFromEnum(eMeasItem_FICLock), 138, 1, "Locked", "0"},
        {table.GetIndexFromEnum(eMeasItem_SymbolRateOffset), 10, 3, "-1.00 kSymbol/s",
         "1.00 kSymbol/s"},
        {table.GetIndexFromEnum(eMeasItem_CarrierFrequencyOffset), 76, 3, "-20.00 kHz",
         "20.00 kHz"},
        {table.GetIndexFromEnum(eMeasItem_MERRMSPercent), 16, 3, "0.03 %", "3 %"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_iID);
        const QJsonObject jRecord = jRecords[static_cast<int>(row.m_lIndex)].toObject();
        EXPECT_EQ(jRecord[QStringLiteral("ID")].toInt(), row.m_iID);
        EXPECT_EQ(jRecord[QStringLiteral("CompareType")].toInt(), row.m_iCompareType);
        EXPECT_EQ(jRecord[QStringLiteral("LowValue")].toString(), QString::fromUtf8(row.m_pszLow));
        EXPECT_EQ(jRecord[QStringLiteral("HighValue")].toString(),
                  QString::fromUtf8(row.m_pszHigh));
        EXPECT_TRUE(jRecord[QStringLiteral("MeasurementEnabled")].toBool());
    }
}

TEST_F(CComparativeValueDataTest, WriteThenReadGivesTheSameTable)
{
    CComparativeValueData edited;
    QString sText = QStringLiteral("Higher");
    edited.SetCompareTypeValueByIndex(edited.GetIndexFromEnum(eMeasItem_MERRMSdB), sText);
    sText = QStringLiteral("Not Equal");
    edited.SetCompareTypeValueByIndex(edited.GetIndexFromEnum(eMeasItem_PLCLock), sText);
    edited.SetMeasurementEnabledByIndex(edited.GetIndexFromEnum(eMeasItem_HUM), false);
    sText = QStringLiteral("1.5 MHz");
    edited.SetHigherValueByIndex(edited.GetIndexFromEnum(eMeasItem_FM2IntercarrierFrequency),
                                 sText);
    sText = QStringLiteral("Missing");
    edited.SetLowValueByIndex(edited.GetIndexFromEnum(eMeasItem_FM1SoundCarrier), sText);
    sText = QStringLiteral("-2 kSymb/s");
    edited.SetLowValueByIndex(edited.GetIndexFromEnum(eMeasItem_SymbolRateOffset), sText);
    sText = QStringLiteral("2.5e-7");
    edited.SetHigherValueByIndex(edited.GetIndexFromEnum(eMeasItem_BERBeforeBCH), sText);
    edited.GetItem(eMeasItem_EVMRMSdB).SetCompareType(eCompareType_NotUsed);

    for (CComparativeValueData* pTable : {new CComparativeValueData, &edited})
    {
        const QString sFirst = m_Dir.filePath(QStringLiteral("first.json"));
        const QString sSecond = m_Dir.filePath(QStringLiteral("second.json"));
        ASSERT_TRUE(pTable->Write(sFirst));
        CComparativeValueData readBack;
        ASSERT_TRUE(readBack.Read(sFirst));
        EXPECT_EQ(readBack.GetLoadedLimitFile(), sFirst);
        EXPECT_EQ(Snapshot(readBack), Snapshot(*pTable));
        ASSERT_TRUE(readBack.Write(sSecond));
        EXPECT_EQ(ReadBytes(sSecond), ReadBytes(sFirst));
        if (pTable != &edited)
        {
            delete pTable;
        }
    }
    // Display settings do not reach the file.
    const QString sDisplayed = m_Dir.filePath(QStringLiteral("displayed.json"));
    edited.SetLevelUnit(eLevelUnit_dBm);
    edited.SetImpedance(eInstrumentImpedance_75Ohm);
    ASSERT_TRUE(edited.Write(sDisplayed));
    EXPECT_EQ(ReadBytes(sDisplayed), ReadBytes(m_Dir.filePath(QStringLiteral("first.json"))));
    EXPECT_TRUE(TakeLog().isEmpty());
}

TEST_F(CComparativeValueDataTest, ReadingMapsStoredIdsAndCompareTypes)
{
    CComparativeValueData table;
    const QString sPath = WriteLimits(
        "[{\"ID\": 14, \"CompareType\": 2, \"LowValue\": \"Unlocked\", \"HighValue\": \"\","
        "  \"MeasurementEnabled\": false},"
        " {\"ID\": 8, \"CompareType\": 9, \"LowValue\": \"-20 dBmV\", \"HighValue\": \"40 dBmV\"},"
        " {\"ID\": 11, \"CompareType\": 4, \"LowValue\": \"-3\", \"HighValue\": \"3\"},"
        " {\"ID\": 11, \"CompareType\": 5, \"LowValue\": \"-4\", \"HighValue\": \"4\"},"
        " {\"ID\": 13, \"CompareType\": 3, \"LowValue\": \"Unlocked\"},"
        " {\"ID\": 0, \"CompareType\": 1, \"LowValue\": \"x\", \"HighValue\": \"OK\"},"
        " {\"ID\": 5000, \"CompareType\": 1}]");
    ASSERT_TRUE(table.Read(sPath));

    // Stored id 14 is "PLP Lock"; "FIC Lock" (item 14) has stored id 138.
    const CComparativeValueDataItem& plp = table.GetItem(eMeasItem_PLPLock);
    EXPECT_EQ(plp.GetCompareType(), eCompareType_NotEqual);
    EXPECT_EQ(plp.GetLowValue(), QVariant(1u));
    EXPECT_FALSE(plp.GetMeasurementEnabled());
    EXPECT_EQ(table.GetItem(eMeasItem_FICLock).GetCompareType(), eCompareType_Equal);
    EXPECT_TRUE(table.GetItem(eMeasItem_FICLock).GetMeasurementEnabled());

    const CComparativeValueDataItem& power = table.GetItem(eMeasItem_Power);
    EXPECT_EQ(power.GetCompareType(), eCompareType_None);
    EXPECT_TRUE(power.GetMeasurementEnabled());
    EXPECT_EQ(power.GetLowValue(), QVariant(-20.0));
    QString sViolation = QStringLiteral("untouched");
    for (const char* pszValue : {"-1000", "1000", "nothing"})
    {
        EXPECT_TRUE(power.InRange(QString::fromLatin1(pszValue), sViolation, 0.0)) << pszValue;
    }
    EXPECT_EQ(sViolation, QStringLiteral("untouched"));

    // A record for the same item twice: the later one wins.
    const CComparativeValueDataItem& rate = table.GetItem(eMeasItem_BitrateOffset);
    EXPECT_EQ(rate.GetCompareType(), eCompareType_Higher);
    EXPECT_EQ(rate.GetLowValue(), QVariant(-4.0));

    // A state item keeps "Equal" when the file asks for a comparison it does not take.
    EXPECT_EQ(table.GetItem(eMeasItem_MPEGLock).GetCompareType(), eCompareType_Equal);
    EXPECT_EQ(table.GetItem(eMeasItem_MPEGLock).GetLowValue(), QVariant(1u));
}

TEST_F(CComparativeValueDataTest, BadFilesFailOrFallBackWithoutHarm)
{
    QByteArray many = "{\"ComparativeValues\": [";
    for (int i = 0; i < 5000; ++i)
    {
        many += QStringLiteral("{\"ID\": 8, \"CompareType\": 3, \"LowValue\": \"%1 dBmV\","
                               " \"HighValue\": \"60 dBmV\"},")
                    .arg(-i)
                    .toUtf8();
    }
    many += "{\"ID\": \"8\"}]}";

    enum EOutcome
    {
        eFails,
        eNoChange,
        eChanges
    };
    struct SRow
    {
        const char* m_pszName;
        QByteArray m_Content; ///< empty name: no file at all
        EOutcome m_eOutcome;
        const char* m_pszLog; ///< %1 is the path
    };
    const char* pszNoObject = "No JSON object found in file: \"%1\".\n";
    const SRow rows[] = {
        {"missing file", QByteArray(), eFails, "Could not load JSON file: %1.\n"},
        {"empty file", QByteArray(""), eFails, pszNoObject},
        {"top-level array", "[{\"ComparativeValues\": []}]", eFails, pszNoObject},
        {"truncated", "{\"ComparativeValues\": [{\"ID\": 8, \"Low", eFails, pszNoObject},
        {"binary garbage", QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11), eFails, pszNoObject},
        {"no member", "{\"Limits\": []}", eNoChange, nullptr},
        {"member not an array", "{\"ComparativeValues\": {\"ID\": 8}}", eNoChange, nullptr},
        {"records not objects", "{\"ComparativeValues\": [1, \"x\", null, [8]]}", eNoChange,
         nullptr},
        {"mistyped members",
         "{\"ComparativeValues\": [{\"ID\": \"8\", \"CompareType\": \"3\", \"LowValue\": 1}]}",
         eNoChange, nullptr},
        {"enormous numbers",
         "{\"ComparativeValues\": [{\"ID\": 1e308, \"CompareType\": -1e308},"
         " {\"ID\": 1.7976931348623157e308}]}",
         eNoChange, nullptr},
        {"enormous limit texts",
         "{\"ComparativeValues\": [{\"ID\": 8, \"CompareType\": 3, \"LowValue\": \"1e999 dBmV\","
         " \"HighValue\": \"-99999999999999999999999999999999999999999 dBmV\"}]}",
         eChanges, nullptr},
        {"thousands of records", many, eChanges, nullptr},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszName);
        const QString sPath = row.m_Content.isNull()
                                  ? m_Dir.filePath(QStringLiteral("none.json"))
                                  : WriteFile(m_Dir, QStringLiteral("limits.json"), row.m_Content);
        CComparativeValueData table;
        const QByteArray before = Snapshot(table);
        EXPECT_EQ(table.Read(sPath), row.m_eOutcome != eFails);
        EXPECT_EQ(table.GetLoadedLimitFile(), row.m_eOutcome == eFails ? QString() : sPath);
        EXPECT_EQ(Snapshot(table) == before, row.m_eOutcome != eChanges);
        const QStringList lExpectedLog =
            row.m_pszLog ? QStringList{QString::fromLatin1(row.m_pszLog).arg(sPath)}
                         : QStringList();
        EXPECT_EQ(TakeLog(), lExpectedLog);
    }

    CComparativeValueData table;
    ASSERT_TRUE(table.Read(WriteFile(m_Dir, QStringLiteral("many.json"), many)));
    EXPECT_EQ(table.GetItem(eMeasItem_Power).GetLowValue(), QVariant(-4999.0));

    EXPECT_FALSE(table.Read(QString()));
    EXPECT_TRUE(TakeLog().isEmpty());
}

TEST_F(CComparativeValueDataTest, FailedReadKeepsThePreviousFile)
{
    CComparativeValueData table;
    const QString sGood = WriteLimits("[]");
    ASSERT_TRUE(table.Read(sGood));
    EXPECT_FALSE(table.Read(m_Dir.filePath(QStringLiteral("none.json"))));
    EXPECT_EQ(table.GetLoadedLimitFile(), sGood);
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
    const double dOld = 46.9897; // 50 Ohm dBm to dBmV
    const SRow rows[] = {
        {eMeasItem_CarrierFrequencyOffset, "-500", "", "-500 Hz", eCompareType_Higher, -500, 0},
        {eMeasItem_CarrierFrequencyOffsetDigital, "", "300", "", eCompareType_Lower, 0, 300},
        {eMeasItem_OccupiedBandwidth, "6000000", "8000000", "6000000 Hz", eCompareType_Between, 6e6,
         8e6},
        {eMeasItem_FM1IntercarrierFrequency, "", "", "", eCompareType_Between, 0, 0},
        {eMeasItem_GroupDelay, "0.0000001", "0.0000002", "0.0000001 s", eCompareType_Between, 100,
         200},
        {eMeasItem_MERRMSdB, "28", "", "28", eCompareType_Higher, 28, 0},
        {eMeasItem_Power, "-50", "", "-50", eCompareType_Between, -50 + dOld, dOld},
        {eMeasItem_ReferenceLevel, "-60", "10", "-60", eCompareType_Between, -60 + dOld, 10 + dOld},
        {eMeasItem_VisionCarrierLevel, "", "-2.5", "", eCompareType_Between, dOld, -2.5 + dOld},
    };
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
        const char* m_pszPassing;   ///< measured stored id that is in range afterwards
        const char* m_pszViolation; ///< violation text of the other state
    };
    const SRow rows[] = {
        {eMeasItem_DemodLock, "0", "1", "Demod Lock is not Unlocked"},
        {eMeasItem_DemodLock, "1", "0", "Demod Lock is not Locked"},
        {eMeasItem_InternalReference, "7", "0", "Internal Reference is not Locked"},
        {eMeasItem_Preselector, "0", "1", "Preselector is not Off"},
        {eMeasItem_Preamplifier, "1", "0", "Preamplifier is not On"},
        {eMeasItem_FM1SoundCarrier, "0", "0", "FM1 Sound Carrier is not Present"},
        {eMeasItem_FM2SoundCarrier, "2", "1", "FM2 Sound Carrier is not Missing"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(testing::Message() << row.m_eItem << " " << row.m_pszLow);
        CComparativeValueData table;
        QString sText = QStringLiteral("Not Used");
        table.SetCompareTypeValueByIndex(table.GetIndexFromEnum(row.m_eItem), sText);
        QString sLow = QString::fromLatin1(row.m_pszLow);
        table.UpdateItemFromPTVFile(row.m_eItem, sLow, QStringLiteral("99"));
        EXPECT_EQ(sLow, QString::fromLatin1(row.m_pszLow));
        const CComparativeValueDataItem& item = table.GetItem(row.m_eItem);
        EXPECT_EQ(item.GetCompareType(), eCompareType_Equal);
        QString sViolation;
        EXPECT_TRUE(item.InRange(QString::fromLatin1(row.m_pszPassing), sViolation, 0.0));
        const QString sOther =
            row.m_pszPassing[0] == '0' ? QStringLiteral("1") : QStringLiteral("0");
        EXPECT_FALSE(item.InRange(sOther, sViolation, 0.0));
        EXPECT_EQ(sViolation, QString::fromLatin1(row.m_pszViolation));
    }
}

TEST_F(CComparativeValueDataTest, OlderFormatImportIgnoresItemsWithoutRow)
{
    CComparativeValueData table;
    const QByteArray before = Snapshot(table);
    QString sLow = QStringLiteral("5");
    table.UpdateItemFromPTVFile(eMeasItem_None, sLow, QStringLiteral("6"));
    table.UpdateItemFromPTVFile(eMeasItem_Status, sLow, QStringLiteral("6"));
    table.UpdateItem(eMeasItem_TimeStamp, eCompareType_Equal, sLow, QStringLiteral("6"), false);
    EXPECT_EQ(sLow, QStringLiteral("5"));
    EXPECT_EQ(Snapshot(table), before);
}

} // namespace

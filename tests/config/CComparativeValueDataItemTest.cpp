#include "CComparativeValueDataItem.h"

#include "ConfigTestTools.h"

#include <QVariant>

#include <gtest/gtest.h>

#include <limits>

using namespace LumoraMeasurement;

namespace
{

constexpr auto eNotUsed = eCompareType_NotUsed;
constexpr auto eEqual = eCompareType_Equal;
constexpr auto eNotEqual = eCompareType_NotEqual;
constexpr auto eBetween = eCompareType_Between;
constexpr auto eLower = eCompareType_Lower;
constexpr auto eHigher = eCompareType_Higher;
constexpr auto eUnknown = static_cast<ECompareType>(6);

struct SJudgeRow
{
    ECompareType m_eType;
    const char* m_pszValue;
    double m_dOffset;
    const char* m_pszViolation; ///< nullptr: in range
};

void ExpectJudgements(const CComparativeValueDataItem& limit, const SJudgeRow* pRows, size_t n)
{
    for (size_t i = 0; i < n; ++i)
    {
        const SJudgeRow& row = pRows[i];
        SCOPED_TRACE(testing::Message() << "compare type " << row.m_eType << ", value "
                                        << row.m_pszValue << ", offset " << row.m_dOffset);
        CComparativeValueDataItem item(limit);
        item.SetCompareType(row.m_eType);
        QString sViolation = QStringLiteral("untouched");
        const bool bInRange =
            item.InRange(QString::fromUtf8(row.m_pszValue), sViolation, row.m_dOffset);
        EXPECT_EQ(bInRange, row.m_pszViolation == nullptr);
        EXPECT_EQ(sViolation,
                  QString::fromUtf8(row.m_pszViolation ? row.m_pszViolation : "untouched"));
    }
}

TEST(CComparativeValueDataItemTest, FloatingPointViolationTexts)
{
    const SJudgeRow rows[] = {
        {eBetween, "50", 3.0, nullptr},
        {eBetween, "50.5", 3.0, "Power is not between -15(+3) <= value(50.5) <= 47(+3)"},
        {eBetween, "50.5", 0.0, "Power is not between -15 <= value(50.5) <= 47"},
        {eBetween, "-17", -2.0, nullptr},
        {eBetween, "-17.5", -2.0, "Power is not between -15(-2) <= value(-17.5) <= 47(-2)"},
        {eBetween, "45.5 dBmV", -1.5, nullptr},
        {eBetween, "45.6 dBmV", -1.5,
         "Power is not between -15(-1.5) <= value(45.6 dBmV) <= 47(-1.5)"},
        {eBetween, "-15", 0.0, nullptr},
        {eBetween, "47", 0.0, nullptr},
        {eLower, "-1000", 0.0, nullptr},
        {eLower, "47.25", 0.0, "Power is not lower than 47"},
        {eLower, "47.25", 0.25, nullptr},
        {eLower, "47.5", 0.25, "Power is not lower than 47(+0.25)"},
        {eHigher, "1000", 0.0, nullptr},
        {eHigher, "-15.5", 0.0, "Power is not higher than -15"},
        {eHigher, "-15.5", -0.5, nullptr},
        {eHigher, "-15", 2.0, "Power is not higher than -15(+2)"},
        {eNotUsed, "1000", 0.0, nullptr},
        {eEqual, "1000", 0.0, nullptr},
        {eNotEqual, "1000", 0.0, nullptr},
        {eUnknown, "1000", 0.0, nullptr},
    };
    ExpectJudgements(CComparativeValueDataItem(eMeasItem_Power), rows, std::size(rows));
}

TEST(CComparativeValueDataItemTest, FloatingPointLimitsPrintInSixDigits)
{
    const SJudgeRow rows[] = {
        {eBetween, "5", 0.0, "MER RMS % is not between 0.03 <= value(5) <= 3"},
        {eBetween, "0.0299", 0.0, "MER RMS % is not between 0.03 <= value(0.0299) <= 3"},
        {eLower, "1e-10", 0.0, "BER after RS is not lower than 1e-11"},
        {eLower, "1e-12", 0.0, nullptr},
    };
    ExpectJudgements(CComparativeValueDataItem(eMeasItem_MERRMSPercent), rows, 2);
    ExpectJudgements(CComparativeValueDataItem(eMeasItem_BERAfterRS), rows + 2, 2);
}

TEST(CComparativeValueDataItemTest, IntegerViolationTexts)
{
    CComparativeValueDataItem errors(eMeasItem_PacketErrorsPerSecond);
    errors.LowValueFromString(QStringLiteral("2"));
    errors.HighValueFromString(QStringLiteral("5"));
    const SJudgeRow rows[] = {
        {eBetween, "2", 0.0, nullptr},
        {eBetween, "5", 0.0, nullptr},
        {eBetween, "7", 0.0, "Packet Errors per second is not 2 <= value(7) <= 5"},
        {eBetween, "1", 0.0, "Packet Errors per second is not 2 <= value(1) <= 5"},
        {eBetween, "x", 9.0, "Packet Errors per second is not 2 <= value(0) <= 5"},
        {eLower, "6", 0.0, "Packet Errors per second is not lower than 5"},
        {eLower, "5", 0.0, nullptr},
        {eHigher, "1", 0.0, "Packet Errors per second is not higher than 2"},
        {eHigher, "2", 0.0, nullptr},
        {eEqual, "3", 0.0, "Packet Errors per second is not Unknown"},
        {eEqual, "2", 0.0, nullptr},
        {eNotEqual, "2", 0.0, "Packet Errors per second is Unknown"},
        {eNotEqual, "3", 0.0, nullptr},
        {eNotUsed, "99", 0.0, nullptr},
        {eUnknown, "99", 0.0, nullptr},
    };
    ExpectJudgements(errors, rows, std::size(rows));
}

TEST(CComparativeValueDataItemTest, StateViolationTexts)
{
    const SJudgeRow lockRows[] = {
        {eEqual, "0", 0.0, nullptr},
        {eEqual, "1", 0.0, "PLP Lock is not Locked"},
        {eNotEqual, "0", 0.0, "PLP Lock is Locked"},
        {eNotEqual, "1", 0.0, nullptr},
        {eNotUsed, "1", 0.0, nullptr},
    };
    ExpectJudgements(CComparativeValueDataItem(eMeasItem_PLPLock), lockRows, std::size(lockRows));

    const SJudgeRow selectorRows[] = {{eEqual, "1", 0.0, "Preselector is not On"}};
    ExpectJudgements(CComparativeValueDataItem(eMeasItem_Preselector), selectorRows, 1);

    CComparativeValueDataItem carrier(eMeasItem_FM2SoundCarrier);
    EXPECT_TRUE(carrier.LowValueFromString(QStringLiteral("Missing")));
    const SJudgeRow carrierRows[] = {
        {eEqual, "0", 0.0, "FM2 Sound Carrier is not Missing"},
        {eNotEqual, "1", 0.0, "FM2 Sound Carrier is Missing"},
    };
    ExpectJudgements(carrier, carrierRows, std::size(carrierRows));
}

TEST(CComparativeValueDataItemTest, TextViolationTexts)
{
    CComparativeValueDataItem status(eMeasItem_Status);
    status.SetString(QStringLiteral("OK"));
    const SJudgeRow rows[] = {
        {eEqual, "OK", 0.0, nullptr},
        {eEqual, "ok", 0.0, "Status is not == ok"},
        {eNotEqual, "OK", 0.0, "Status is not != OK"},
        {eNotEqual, "Fail", 0.0, nullptr},
        {eBetween, "Fail", 0.0, nullptr},
        {eUnknown, "Fail", 0.0, nullptr},
    };
    ExpectJudgements(status, rows, std::size(rows));
}

TEST(CComparativeValueDataItemTest, BooleanViolationTexts)
{
    struct SRow
    {
        ECompareType m_eType;
        bool m_bExpected;
        bool m_bValue;
        const char* m_pszViolation;
    };
    const SRow rows[] = {
        {eEqual, true, true, nullptr},
        {eEqual, true, false, "Status is not == false"},
        {eEqual, false, true, "Status is not == true"},
        {eNotEqual, true, true, "Status is not != true"},
        {eNotEqual, true, false, nullptr},
        {eBetween, true, false, nullptr},
        {eUnknown, true, false, nullptr},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(testing::Message()
                     << row.m_eType << " " << row.m_bExpected << " " << row.m_bValue);
        CComparativeValueDataItem item(eMeasItem_Status);
        item.SetBool(row.m_bExpected);
        item.SetCompareType(row.m_eType);
        QString sViolation = QStringLiteral("untouched");
        EXPECT_EQ(item.InRangeBool(row.m_bValue, sViolation), row.m_pszViolation == nullptr);
        EXPECT_EQ(sViolation,
                  QString::fromLatin1(row.m_pszViolation ? row.m_pszViolation : "untouched"));
    }
}

TEST(CComparativeValueDataItemTest, NaNFailsEveryFloatingPointCheck)
{
    const double dNaN = std::numeric_limits<double>::quiet_NaN();
    CComparativeValueDataItem power(eMeasItem_Power);
    QString sViolation;
    EXPECT_FALSE(power.InRangeFloat(dNaN, QStringLiteral("?"), sViolation, 0.0));
    EXPECT_EQ(sViolation, QStringLiteral("Power is not between -15 <= value(?) <= 47"));
    EXPECT_FALSE(power.InRangeFloat(10.0, QStringLiteral("10"), sViolation, dNaN));
    EXPECT_EQ(sViolation, QStringLiteral("Power is not between -15(nan) <= value(10) <= 47(nan)"));
    for (ECompareType eType : {eLower, eHigher})
    {
        power.SetCompareType(eType);
        EXPECT_FALSE(power.InRangeFloat(dNaN, QStringLiteral("?"), sViolation, 0.0)) << eType;
    }
}

TEST(CComparativeValueDataItemTest, UnsetLimitsReadAsZero)
{
    // "Packet Errors per second" has no built-in limits.
    CComparativeValueDataItem item(eMeasItem_PacketErrorsPerSecond);
    EXPECT_FALSE(item.GetLowValue().isValid());
    EXPECT_FALSE(item.GetHighValue().isValid());
    QString sViolation;
    EXPECT_TRUE(item.InRange(QStringLiteral("0"), sViolation, 0.0));
    EXPECT_FALSE(item.InRange(QStringLiteral("1"), sViolation, 0.0));
    EXPECT_EQ(sViolation, QStringLiteral("Packet Errors per second is not 0 <= value(1) <= 0"));
}

TEST(CComparativeValueDataItemTest, ConstructionTakesCatalogueDataAndStateCompareType)
{
    const CComparativeValueDataItem power(eMeasItem_Power);
    EXPECT_EQ(power.GetCategory(), eCategory_Digital);
    EXPECT_EQ(power.GetValueType(), eValueType_Float);
    EXPECT_EQ(power.GetUnit(), eUnitType_dBmV);
    EXPECT_EQ(power.GetCompareType(), eBetween);
    EXPECT_TRUE(power.GetMeasurementEnabled());

    for (EMeasurementItems eItem :
         {eMeasItem_InternalReference, eMeasItem_Preamplifier, eMeasItem_Preselector,
          eMeasItem_DemodLock, eMeasItem_MPEGLock, eMeasItem_PLPLock, eMeasItem_FICLock,
          eMeasItem_VisionDetector, eMeasItem_FM1SoundCarrier, eMeasItem_FM2SoundCarrier,
          eMeasItem_DecodeLock, eMeasItem_PLCLock})
    {
        SCOPED_TRACE(eItem);
        CComparativeValueDataItem state(eItem);
        EXPECT_TRUE(state.IsStateItem());
        EXPECT_EQ(state.GetCompareType(), eEqual);
        for (ECompareType eIgnored : {eBetween, eLower, eHigher, eUnknown})
        {
            state.SetCompareType(eIgnored);
            EXPECT_EQ(state.GetCompareType(), eEqual);
        }
        state.SetCompareType(eNotUsed);
        EXPECT_EQ(state.GetCompareType(), eNotUsed);
    }
    CComparativeValueDataItem none(eMeasItem_None);
    EXPECT_EQ(none.GetMeasurementItem(), eMeasItem_None);
    EXPECT_FALSE(none.GetLowValue().isValid());
    none.SetCompareType(eUnknown);
    EXPECT_EQ(none.GetCompareType(), eUnknown);
}

TEST(CComparativeValueDataItemTest, DefaultLimitsKeepTheirNumberType)
{
    const QVariant vUnset;
    struct SRow
    {
        EMeasurementItems m_eItem;
        QVariant m_vLow;
        QVariant m_vHigh;
    };
    const SRow rows[] = {
        {eMeasItem_ReferenceLevel, QVariant(-40.0), QVariant(60.0)},
        {eMeasItem_SymbolRateOffset, QVariant(-1000), QVariant(1000)},
        {eMeasItem_BitrateOffset, QVariant(-10), QVariant(10)},
        {eMeasItem_EVMPLPRMSPercent, QVariant(0.03), QVariant(3)},
        {eMeasItem_MERL1PeakPercent, QVariant(0.03), QVariant(10)},
        {eMeasItem_BERAfterRS, QVariant(0.0), QVariant(1e-11)},
        {eMeasItem_CERAfterBCH, QVariant(0.0), QVariant(1e-06)},
        {eMeasItem_GroupDelay, QVariant(0.0), QVariant(500)},
        {eMeasItem_CarrierPhase, QVariant(-360), QVariant(360)},
        {eMeasItem_FM2PowerRelative, QVariant(-27.0), QVariant(-13.0)},
        {eMeasItem_OccupiedBandwidth, QVariant(24000000.0), QVariant(192000000.0)},
        {eMeasItem_PayloadDataRate, QVariant(0.0), QVariant(2400000000.0)},
        {eMeasItem_MERZeroBitLoadedPeak, QVariant(25.0), QVariant(60.0)},
        {eMeasItem_AverageLPDCIterations, QVariant(1.0), QVariant(4.0)},
        {eMeasItem_Preselector, QVariant(0u), vUnset},
        {eMeasItem_PLCLock, QVariant(0u), vUnset},
        {eMeasItem_InternalReference, vUnset, vUnset},
        {eMeasItem_Preamplifier, vUnset, vUnset},
        {eMeasItem_PacketErrorsPerSecond, vUnset, vUnset},
        {eMeasItem_DelayEcho10, vUnset, vUnset},
        {eMeasItem_FM1SoundCarrier, vUnset, vUnset},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_eItem);
        const CComparativeValueDataItem item(row.m_eItem);
        EXPECT_EQ(item.GetLowValue().userType(), row.m_vLow.userType());
        EXPECT_EQ(item.GetLowValue(), row.m_vLow);
        EXPECT_EQ(item.GetHighValue().userType(), row.m_vHigh.userType());
        EXPECT_EQ(item.GetHighValue(), row.m_vHigh);
    }
}

TEST(CComparativeValueDataItemTest, EveryJudgedItemBeyondTheListedGapsHasDefaults)
{
    const short aWithout[] = {4, 41, 84, 85};
    for (short s = eMeasItem_ReferenceLevel; s < eMeasItem_None; ++s)
    {
        SCOPED_TRACE(s);
        const CComparativeValueDataItem item(static_cast<EMeasurementItems>(s));
        const bool bEcho = s >= eMeasItem_LevelEcho1 && s <= eMeasItem_DelayEcho10;
        const bool bListedWithout =
            bEcho || std::find(std::begin(aWithout), std::end(aWithout), s) != std::end(aWithout);
        EXPECT_EQ(item.GetLowValue().isValid(), !bListedWithout);
        EXPECT_EQ(item.GetHighValue().isValid(), !bListedWithout && !item.IsStateItem());
    }
}

TEST(CComparativeValueDataItemTest, DisplayTexts)
{
    CComparativeValueDataItem status(eMeasItem_Status);
    status.SetString(QStringLiteral("OK"));
    CComparativeValueDataItem unlocked(eMeasItem_DemodLock);
    unlocked.SetLongLowLimit(1);
    CComparativeValueDataItem badState(eMeasItem_DemodLock);
    badState.SetLongLowLimit(7);

    struct SRow
    {
        CComparativeValueDataItem m_Item;
        ELevelUnit m_eLevelUnit;
        EInstrumentImpedance m_eImpedance;
        bool m_bWithUnit;
        double m_dOffset;
        const char* m_pszLow;
        const char* m_pszHigh;
    };
    const auto dBm = eLevelUnit_dBm;
    const auto dBmV = eLevelUnit_dBmV;
    const auto dBuV = eLevelUnit_dBuV;
    const auto o50 = eInstrumentImpedance_50Ohm;
    const auto o75 = eInstrumentImpedance_75Ohm;
    const SRow rows[] = {
        {CComparativeValueDataItem(eMeasItem_MERRMSPercent), dBmV, o50, false, 0, "0.03", "3"},
        {CComparativeValueDataItem(eMeasItem_MERRMSPercent), dBmV, o50, true, 0, "0.03 %", "3 %"},
        {CComparativeValueDataItem(eMeasItem_MERRMSdB), dBmV, o50, true, 1.5, "31.5 dB", "71.5 dB"},
        {CComparativeValueDataItem(eMeasItem_BERBeforeRS), dBmV, o50, false, 0, "0", "0.0002"},
        {CComparativeValueDataItem(eMeasItem_BERBeforeRS), dBmV, o50, true, 0, "0 ", "0.0002 "},
        {CComparativeValueDataItem(eMeasItem_Power), dBmV, o50, true, 0, "-15.00 dBmV",
         "47.00 dBmV"},
        // The low text is always rewritten with its level unit; the high one only on request.
        {CComparativeValueDataItem(eMeasItem_Power), dBmV, o50, false, 3, "-12.00 dBmV", "50"},
        {CComparativeValueDataItem(eMeasItem_Power), dBuV, o75, true, 0, "45.00 dBμV",
         "107.00 dBμV"},
        {CComparativeValueDataItem(eMeasItem_Power), dBm, o50, true, 0, "-61.99 dBm", "0.01 dBm"},
        {CComparativeValueDataItem(eMeasItem_Power), dBm, o75, true, 0, "-63.75 dBm", "-1.75 dBm"},
        {CComparativeValueDataItem(eMeasItem_CarrierFrequencyOffsetDigital), dBmV, o50, true, 5,
         "-30.00 kHz", "30.00 kHz"},
        {CComparativeValueDataItem(eMeasItem_OccupiedBandwidth), dBmV, o50, false, 0, "24.00",
         "192.00"},
        {CComparativeValueDataItem(eMeasItem_SymbolRateOffset), dBmV, o50, true, 0,
         "-1.00 kSymbol/s", "1.00 kSymbol/s"},
        {CComparativeValueDataItem(eMeasItem_TSBitrate), dBmV, o50, true, 0, "0.00 Bit/s",
         "100.00 MBit/s"},
        {CComparativeValueDataItem(eMeasItem_PLPLock), dBmV, o50, true, 0, "Locked", "0"},
        {unlocked, dBmV, o50, true, 0, "Unlocked", "0"},
        {badState, dBmV, o50, true, 0, "", "0"},
        {CComparativeValueDataItem(eMeasItem_PacketErrorsPerSecond), dBmV, o50, true, 0, "0", "0"},
        {status, dBmV, o50, true, 0, "OK", ""},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(testing::Message() << "item " << row.m_Item.GetMeasurementItem() << " unit "
                                        << row.m_eLevelUnit << " with unit " << row.m_bWithUnit);
        EXPECT_EQ(row.m_Item.LowValueToString(row.m_eLevelUnit, row.m_eImpedance, row.m_bWithUnit,
                                              row.m_dOffset),
                  QString::fromUtf8(row.m_pszLow));
        EXPECT_EQ(row.m_Item.HighValueToString(row.m_eLevelUnit, row.m_eImpedance, row.m_bWithUnit,
                                               row.m_dOffset),
                  QString::fromUtf8(row.m_pszHigh));
    }
}

TEST(CComparativeValueDataItemTest, ParsingReportsWhetherTheLimitChanged)
{
    CComparativeValueDataItem power(eMeasItem_Power);
    EXPECT_TRUE(power.LowValueFromString(QStringLiteral("10")));
    EXPECT_FALSE(power.LowValueFromString(QStringLiteral("10")));
    EXPECT_FALSE(power.LowValueFromString(QStringLiteral("10.00 dBmV")));
    EXPECT_EQ(power.GetLowValue(), QVariant(10.0));
    // The default high limit read back from its own display text is no change.
    EXPECT_FALSE(power.HighValueFromString(QStringLiteral("47.00 dBmV")));
    EXPECT_TRUE(power.HighValueFromString(QStringLiteral("48,5")));
    EXPECT_EQ(power.GetHighValue(), QVariant(48.5));

    CComparativeValueDataItem mer(eMeasItem_MERRMSPercent);
    EXPECT_FALSE(mer.LowValueFromString(QStringLiteral("0.03")));
    EXPECT_FALSE(mer.HighValueFromString(QStringLiteral("3")));

    CComparativeValueDataItem frequency(eMeasItem_CarrierFrequencyOffset);
    EXPECT_TRUE(frequency.LowValueFromString(QStringLiteral("-25 kHz")));
    EXPECT_EQ(frequency.GetLowValue(), QVariant(-25000.0));
    // A bare frequency is taken as MHz.
    EXPECT_TRUE(frequency.HighValueFromString(QStringLiteral("1")));
    EXPECT_EQ(frequency.GetHighValue(), QVariant(1000000.0));

    CComparativeValueDataItem errors(eMeasItem_PacketErrorsPerSecond);
    EXPECT_TRUE(errors.LowValueFromString(QStringLiteral("0")));
    EXPECT_FALSE(errors.LowValueFromString(QStringLiteral("0")));
    EXPECT_FALSE(errors.LowValueFromString(QStringLiteral("abc")));
    EXPECT_TRUE(errors.HighValueFromString(QStringLiteral("12")));
    EXPECT_EQ(errors.GetHighValue(), QVariant(12));

    CComparativeValueDataItem lock(eMeasItem_DecodeLock);
    EXPECT_FALSE(lock.LowValueFromString(QStringLiteral("Locked")));
    EXPECT_TRUE(lock.LowValueFromString(QStringLiteral("Unlocked")));
    EXPECT_EQ(lock.GetLowValue(), QVariant(1u));
    EXPECT_TRUE(lock.LowValueFromString(QStringLiteral("unlocked")));
    EXPECT_EQ(lock.GetLowValue(), QVariant(4294967295u));
    EXPECT_FALSE(lock.LowValueFromString(QStringLiteral("no such state")));
    EXPECT_EQ(lock.LowValueToString(eLevelUnit_dBmV, eInstrumentImpedance_50Ohm, true, 0),
              QString());

    CComparativeValueDataItem status(eMeasItem_Status);
    EXPECT_TRUE(status.HighValueFromString(QStringLiteral("OK")));
    EXPECT_FALSE(status.HighValueFromString(QStringLiteral("OK")));
    EXPECT_TRUE(status.HighValueFromString(QStringLiteral("ok")));
    EXPECT_FALSE(status.LowValueFromString(QStringLiteral("Fail")));
    EXPECT_EQ(status.GetHighValue(), QVariant(QStringLiteral("ok")));
}

TEST(CComparativeValueDataItemTest, LongLimitsKeepTheLow32BitsUnsigned)
{
    CComparativeValueDataItem item(eMeasItem_PacketErrorsPerSecond);
    item.SetLongLowLimit(-1);
    item.SetLongHighLimit(0x100000005L);
    EXPECT_EQ(item.GetLowValue(), QVariant(4294967295u));
    EXPECT_EQ(item.GetHighValue(), QVariant(5u));
}

TEST(CComparativeValueDataItemTest, StateTextsOfStoredIds)
{
    struct SRow
    {
        EMeasurementItems m_eItem;
        long m_lCode;
        const char* m_pszText;
    };
    const SRow rows[] = {
        {eMeasItem_Power, 0, "Unknown"},
        {eMeasItem_PacketErrorsPerSecond, 1, "Unknown"},
        {eMeasItem_MPEGLock, 5, ""},
        {eMeasItem_MPEGLock, 1, "Unlocked"},
        {eMeasItem_InternalReference, 0, "Locked"},
        {eMeasItem_Preamplifier, 1, "Off"},
        {eMeasItem_FM1SoundCarrier, 0, "Present"},
        {eMeasItem_FM1SoundCarrier, -1, ""},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(testing::Message() << row.m_eItem << " " << row.m_lCode);
        EXPECT_EQ(CComparativeValueDataItem(row.m_eItem).GetEnumStringFromInteger(row.m_lCode),
                  QString::fromLatin1(row.m_pszText));
    }
}

} // namespace

#include "CComparativeValueDataItem.h"

#include "ConfigTestTools.h"

#include <QVariant>

#include <limits>
#include <map>

using namespace LumoraMeasurement;

namespace
{

constexpr auto eNotUsed = eCompareType_NotUsed;
constexpr auto eEqual = eCompareType_Equal;
constexpr auto eNotEqual = eCompareType_NotEqual;
constexpr auto eBetween = eCompareType_Between;
constexpr auto eLower = eCompareType_Lower;
constexpr auto eHigher = eCompareType_Higher;
constexpr auto eUnknown = eCompareType_None;

CComparativeValueDataItem WithLimits(EMeasurementItems eItem, const char* pszLow,
                                     const char* pszHigh)
{
    CComparativeValueDataItem item(eItem);
    item.LowValueFromString(QString::fromUtf8(pszLow));
    item.HighValueFromString(QString::fromUtf8(pszHigh));
    return item;
}

TEST(CComparativeValueDataItemTest, ViolationTextsPerValueTypeAndCompareType)
{
    CComparativeValueDataItem status(eMeasItem_Status);
    status.SetString(QStringLiteral("OK"));
    const std::map<char, CComparativeValueDataItem> limits = {
        {'P', CComparativeValueDataItem(eMeasItem_Power)},         // floating point, -15..47
        {'M', CComparativeValueDataItem(eMeasItem_MERRMSPercent)}, // 0.03..3
        {'B', CComparativeValueDataItem(eMeasItem_BERAfterRS)},    // 0..1e-11
        {'I', WithLimits(eMeasItem_PacketErrorsPerSecond, "2", "5")},
        {'U', CComparativeValueDataItem(eMeasItem_PacketErrorsPerSecond)}, // limits unset
        {'L', CComparativeValueDataItem(eMeasItem_PLPLock)},
        {'S', CComparativeValueDataItem(eMeasItem_Preselector)},
        {'F', WithLimits(eMeasItem_FM2SoundCarrier, "Missing", "")},
        {'T', status},
    };
    struct SRow
    {
        char m_cLimit;
        ECompareType m_eType;
        const char* m_pszValue;
        double m_dOffset;
        const char* m_pszViolation; ///< nullptr: in range
    };
    // clang-format off
    const SRow rows[] = {
        {'P', eBetween, "50",        3.0,  nullptr},
        {'P', eBetween, "50.5",      3.0,  "Power is not between -15(+3) <= value(50.5) <= 47(+3)"},
        {'P', eBetween, "50.5",      0.0,  "Power is not between -15 <= value(50.5) <= 47"},
        {'P', eBetween, "-17",       -2.0, nullptr},
        {'P', eBetween, "-17.5",     -2.0, "Power is not between -15(-2) <= value(-17.5) <= 47(-2)"},
        {'P', eBetween, "45.5 dBmV", -1.5, nullptr},
        {'P', eBetween, "45.6 dBmV", -1.5, "Power is not between -15(-1.5) <= value(45.6 dBmV) <= 47(-1.5)"},
        {'P', eBetween, "47",        0.0,  nullptr},
        {'P', eLower,   "47.25",     0.0,  "Power is not lower than 47"},
        {'P', eLower,   "47.25",     0.25, nullptr},
        {'P', eLower,   "47.5",      0.25, "Power is not lower than 47(+0.25)"},
        {'P', eHigher,  "-15.5",     0.0,  "Power is not higher than -15"},
        {'P', eHigher,  "-15.5",     -0.5, nullptr},
        {'P', eHigher,  "-15",       2.0,  "Power is not higher than -15(+2)"},
        {'P', eNotEqual, "1000",     0.0,  nullptr},
        {'P', eUnknown, "1000",      0.0,  nullptr},
        {'M', eBetween, "0.0299",    0.0,  "MER RMS % is not between 0.03 <= value(0.0299) <= 3"},
        {'B', eLower,   "1e-10",     0.0,  "BER after RS is not lower than 1e-11"},
        {'B', eLower,   "1e-12",     0.0,  nullptr},
        {'I', eBetween, "5",         0.0,  nullptr},
        {'I', eBetween, "7",         0.0,  "Packet Errors per second is not 2 <= value(7) <= 5"},
        {'I', eBetween, "x",         9.0,  "Packet Errors per second is not 2 <= value(0) <= 5"},
        {'I', eLower,   "6",         0.0,  "Packet Errors per second is not lower than 5"},
        {'I', eHigher,  "1",         0.0,  "Packet Errors per second is not higher than 2"},
        {'I', eEqual,   "2",         0.0,  nullptr},
        {'I', eEqual,   "3",         0.0,  "Packet Errors per second is not Unknown"},
        {'I', eNotEqual, "2",        0.0,  "Packet Errors per second is Unknown"},
        {'I', eUnknown, "99",        0.0,  nullptr},
        {'U', eBetween, "0",         0.0,  nullptr},
        {'U', eBetween, "1",         0.0,  "Packet Errors per second is not 0 <= value(1) <= 0"},
        {'L', eEqual,   "0",         0.0,  nullptr},
        {'L', eEqual,   "1",         0.0,  "PLP Lock is not Locked"},
        {'L', eNotEqual, "0",        0.0,  "PLP Lock is Locked"},
        {'S', eEqual,   "1",         0.0,  "Preselector is not On"},
        {'F', eEqual,   "0",         0.0,  "FM2 Sound Carrier is not Missing"},
        {'F', eNotEqual, "1",        0.0,  "FM2 Sound Carrier is Missing"},
        {'T', eEqual,   "OK",        0.0,  nullptr},
        {'T', eEqual,   "ok",        0.0,  "Status is not == ok"},
        {'T', eNotEqual, "OK",       0.0,  "Status is not != OK"},
        {'T', eBetween, "Fail",      0.0,  nullptr},
    };
    // clang-format on
    for (const auto& row : rows)
    {
        SCOPED_TRACE(testing::Message()
                     << row.m_cLimit << " compare type " << row.m_eType << " value "
                     << row.m_pszValue << " offset " << row.m_dOffset);
        CComparativeValueDataItem item = limits.at(row.m_cLimit);
        item.SetCompareType(row.m_eType);
        QString sViolation = QStringLiteral("untouched");
        EXPECT_EQ(item.InRange(QString::fromUtf8(row.m_pszValue), sViolation, row.m_dOffset),
                  row.m_pszViolation == nullptr);
        EXPECT_EQ(sViolation,
                  QString::fromUtf8(row.m_pszViolation ? row.m_pszViolation : "untouched"));
    }
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
    // clang-format off
    const SRow rows[] = {
        {eEqual,    true,  true,  nullptr},
        {eEqual,    true,  false, "Status is not == false"},
        {eEqual,    false, true,  "Status is not == true"},
        {eNotEqual, true,  true,  "Status is not != true"},
        {eNotEqual, true,  false, nullptr},
        {eBetween,  true,  false, nullptr},
        {eUnknown,  true,  false, nullptr},
    };
    // clang-format on
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

TEST(CComparativeValueDataItemTest, StateItemsCompareByEqualityOnly)
{
    const CComparativeValueDataItem power(eMeasItem_Power);
    EXPECT_EQ(power.GetCategory(), eCategory_Digital);
    EXPECT_EQ(power.GetValueType(), eValueType_Float);
    EXPECT_EQ(power.GetUnit(), eUnitType_dBmV);
    EXPECT_EQ(power.GetCompareType(), eBetween);

    for (short s = 0; s <= eMeasItem_None; ++s)
    {
        SCOPED_TRACE(s);
        CComparativeValueDataItem item(static_cast<EMeasurementItems>(s));
        const bool bState = item.IsStateItem();
        EXPECT_EQ(item.GetCompareType(), bState ? eEqual : eBetween);
        item.SetCompareType(eHigher);
        EXPECT_EQ(item.GetCompareType(), bState ? eEqual : eHigher);
        item.SetCompareType(eNotEqual);
        EXPECT_EQ(item.GetCompareType(), eNotEqual);
    }
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
    // clang-format off
    const SRow rows[] = {
        {eMeasItem_ReferenceLevel,        QVariant(-40.0),       QVariant(60.0)},
        {eMeasItem_SymbolRateOffset,      QVariant(-1000),       QVariant(1000)},
        {eMeasItem_EVMPLPRMSPercent,      QVariant(0.03),        QVariant(3)},
        {eMeasItem_BERAfterRS,            QVariant(0.0),         QVariant(1e-11)},
        {eMeasItem_GroupDelay,            QVariant(0.0),         QVariant(500)},
        {eMeasItem_CarrierPhase,          QVariant(-360),        QVariant(360)},
        {eMeasItem_OccupiedBandwidth,     QVariant(24000000.0),  QVariant(192000000.0)},
        {eMeasItem_PayloadDataRate,       QVariant(0.0),         QVariant(2400000000.0)},
        {eMeasItem_Preselector,           QVariant(0u),          vUnset},
        {eMeasItem_PLCLock,               QVariant(0u),          vUnset},
        {eMeasItem_InternalReference,     vUnset,                vUnset},
    };
    // clang-format on
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_eItem);
        const CComparativeValueDataItem item(row.m_eItem);
        EXPECT_EQ(item.GetLowValue().userType(), row.m_vLow.userType());
        EXPECT_EQ(item.GetLowValue(), row.m_vLow);
        EXPECT_EQ(item.GetHighValue().userType(), row.m_vHigh.userType());
        EXPECT_EQ(item.GetHighValue(), row.m_vHigh);
    }

    // Every item from 3 on has defaults, except these; state items only a low value.
    const std::vector<short> without = {4, 41, 84, 85};
    for (short s = eMeasItem_ReferenceLevel; s <= eMeasItem_None; ++s)
    {
        SCOPED_TRACE(s);
        const CComparativeValueDataItem item(static_cast<EMeasurementItems>(s));
        const bool bNone = (s >= eMeasItem_LevelEcho1 && s <= eMeasItem_DelayEcho10) ||
                           s == eMeasItem_None ||
                           std::find(without.begin(), without.end(), s) != without.end();
        EXPECT_EQ(item.GetLowValue().isValid(), !bNone);
        EXPECT_EQ(item.GetHighValue().isValid(), !bNone && !item.IsStateItem());
    }
}

TEST(CComparativeValueDataItemTest, DisplayTexts)
{
    CComparativeValueDataItem status(eMeasItem_Status);
    status.SetString(QStringLiteral("OK"));
    CComparativeValueDataItem unlocked(eMeasItem_DemodLock);
    unlocked.SetLongLowLimit(1);
    CComparativeValueDataItem badState(eMeasItem_DemodLock);
    badState.SetLongLowLimit(-1);
    EXPECT_EQ(badState.GetLowValue(), QVariant(4294967295u));
    const auto Item = [](EMeasurementItems e) { return CComparativeValueDataItem(e); };
    const auto dBm = eLevelUnit_dBm;
    const auto dBmV = eLevelUnit_dBmV;
    const auto dBuV = eLevelUnit_dBuV;
    const auto o50 = eInstrumentImpedance_50Ohm;
    const auto o75 = eInstrumentImpedance_75Ohm;

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
    // clang-format off
    const SRow rows[] = {
        {Item(eMeasItem_MERRMSPercent), dBmV, o50, true,  0,   "0.03 %",      "3 %"},
        {Item(eMeasItem_MERRMSdB),      dBmV, o50, true,  1.5, "31.5 dB",     "71.5 dB"},
        {Item(eMeasItem_BERBeforeRS),   dBmV, o50, false, 0,   "0",           "0.0002"},
        {Item(eMeasItem_BERBeforeRS),   dBmV, o50, true,  0,   "0 ",          "0.0002 "},
        {Item(eMeasItem_Power),         dBmV, o50, true,  0,   "-15.00 dBmV", "47.00 dBmV"},
        // The low text always gets its level unit, the high one only on request.
        {Item(eMeasItem_Power),         dBmV, o50, false, 3,   "-12.00 dBmV", "50"},
        {Item(eMeasItem_Power),         dBuV, o75, true,  0,   "45.00 dBμV",  "107.00 dBμV"},
        {Item(eMeasItem_Power),         dBm,  o50, true,  0,   "-61.99 dBm",  "0.01 dBm"},
        {Item(eMeasItem_Power),         dBm,  o75, true,  0,   "-63.75 dBm",  "-1.75 dBm"},
        {Item(eMeasItem_CarrierFrequencyOffsetDigital), dBmV, o50, true, 5, "-30.00 kHz", "30.00 kHz"},
        {Item(eMeasItem_OccupiedBandwidth), dBmV, o50, false, 0, "24.00",     "192.00"},
        {Item(eMeasItem_SymbolRateOffset), dBmV, o50, true, 0, "-1.00 kSymbol/s", "1.00 kSymbol/s"},
        {Item(eMeasItem_TSBitrate),     dBmV, o50, true,  0,   "0.00 Bit/s",  "100.00 MBit/s"},
        {Item(eMeasItem_PLPLock),       dBmV, o50, true,  0,   "Locked",      "0"},
        {unlocked,                      dBmV, o50, true,  0,   "Unlocked",    "0"},
        {badState,                      dBmV, o50, true,  0,   "",            "0"},
        {status,                        dBmV, o50, true,  0,   "OK",          ""},
    };
    // clang-format on
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
    struct SRow
    {
        EMeasurementItems m_eItem;
        bool m_bHigh;
        const char* m_pszText;
        bool m_bChanged;
        QVariant m_vStored;
    };
    // Applied in order; each item starts with its defaults.
    // clang-format off
    const SRow rows[] = {
        {eMeasItem_Power,                  false, "10",          true,  QVariant(10.0)},
        {eMeasItem_Power,                  false, "10.00 dBmV",  false, QVariant(10.0)},
        {eMeasItem_Power,                  true,  "47.00 dBmV",  false, QVariant(47.0)},
        {eMeasItem_Power,                  true,  "48,5",        true,  QVariant(48.5)},
        {eMeasItem_MERRMSPercent,          false, "0.03",        false, QVariant(0.03)},
        {eMeasItem_MERRMSPercent,          true,  "3",           false, QVariant(3)},
        {eMeasItem_CarrierFrequencyOffset, false, "-25 kHz",     true,  QVariant(-25000.0)},
        {eMeasItem_CarrierFrequencyOffset, true,  "1",           true,  QVariant(1000000.0)},
        {eMeasItem_PacketErrorsPerSecond,  false, "0",           true,  QVariant(0)},
        {eMeasItem_PacketErrorsPerSecond,  false, "abc",         false, QVariant(0)},
        {eMeasItem_PacketErrorsPerSecond,  true,  "12",          true,  QVariant(12)},
        {eMeasItem_DecodeLock,             false, "Locked",      false, QVariant(0u)},
        {eMeasItem_DecodeLock,             false, "Unlocked",    true,  QVariant(1u)},
        {eMeasItem_DecodeLock,             false, "unlocked",    true,  QVariant(4294967295u)},
        {eMeasItem_DecodeLock,             true,  "Unlocked",    true,  QVariant(0)},
        {eMeasItem_Status,                 true,  "OK",          true,  QVariant(QStringLiteral("OK"))},
        {eMeasItem_Status,                 false, "Fail",        false, QVariant()},
    };
    // clang-format on
    std::map<EMeasurementItems, CComparativeValueDataItem> items;
    for (const auto& row : rows)
    {
        SCOPED_TRACE(testing::Message()
                     << row.m_eItem << (row.m_bHigh ? " high " : " low ") << row.m_pszText);
        auto& item = items.try_emplace(row.m_eItem, row.m_eItem).first->second;
        const QString sText = QString::fromUtf8(row.m_pszText);
        EXPECT_EQ(row.m_bHigh ? item.HighValueFromString(sText) : item.LowValueFromString(sText),
                  row.m_bChanged);
        const QVariant& vStored = row.m_bHigh ? item.GetHighValue() : item.GetLowValue();
        EXPECT_EQ(vStored.userType(), row.m_vStored.userType());
        EXPECT_EQ(vStored, row.m_vStored);
    }
}

} // namespace

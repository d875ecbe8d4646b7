#include "CComparativeValueDataItem.h"

#include "ConfigTestTools.h"

#include <limits>
#include <map>

using namespace LumoraMeasurement;
using namespace ConfigTest;

namespace
{

// An item with the limits of a fixture row: "-" keeps the default; a text item takes the low text.
CComparativeValueDataItem Limit(const QString& sItem, const QString& sLow, const QString& sHigh)
{
    CComparativeValueDataItem item(Enum<EMeasurementItems>(sItem));
    if (item.GetValueType() == eValueType_Text)
    {
        item.SetString(sLow);
        return item;
    }
    if (sLow != "-")
    {
        item.LowValueFromString(sLow);
    }
    if (sHigh != "-")
    {
        item.HighValueFromString(sHigh);
    }
    return item;
}

TEST(CComparativeValueDataItemTest, ViolationTextsPerValueTypeAndCompareType)
{
    for (const QStringList& r : DataRows("violations.tsv"))
    {
        SCOPED_TRACE(r.join('|').toStdString());
        CComparativeValueDataItem item = Limit(r[0], r[1], r[2]);
        item.SetCompareType(Enum<ECompareType>(r[3]));
        QString sViolation = QStringLiteral("untouched");
        EXPECT_EQ(item.InRange(r[4], sViolation, r[5].toDouble()), r[6].isEmpty());
        EXPECT_EQ(sViolation, r[6].isEmpty() ? QStringLiteral("untouched") : r[6]);
    }
    for (const QStringList& r : DataRows("bool_violations.tsv"))
    {
        SCOPED_TRACE(r.join('|').toStdString());
        CComparativeValueDataItem item(eMeasItem_Status);
        item.SetBool(r[1] == "true");
        item.SetCompareType(Enum<ECompareType>(r[0]));
        QString sViolation = QStringLiteral("untouched");
        EXPECT_EQ(item.InRangeBool(r[2] == "true", sViolation), r[3].isEmpty());
        EXPECT_EQ(sViolation, r[3].isEmpty() ? QStringLiteral("untouched") : r[3]);
    }

    // NaN fails every floating-point check.
    const double dNaN = std::numeric_limits<double>::quiet_NaN();
    CComparativeValueDataItem power(eMeasItem_Power);
    QString sViolation;
    EXPECT_FALSE(power.InRangeFloat(dNaN, "?", sViolation, 0.0));
    EXPECT_EQ(sViolation, "Power is not between -15 <= value(?) <= 47");
    EXPECT_FALSE(power.InRangeFloat(10.0, "10", sViolation, dNaN));
    EXPECT_EQ(sViolation, "Power is not between -15(nan) <= value(10) <= 47(nan)");
    for (ECompareType eType : {eCompareType_Lower, eCompareType_Higher})
    {
        power.SetCompareType(eType);
        EXPECT_FALSE(power.InRangeFloat(dNaN, "?", sViolation, 0.0)) << eType;
    }
}

// Every item with its default limits (state items only a low one), each of its number type.
TEST(CComparativeValueDataItemTest, DefaultLimitsKeepTheirNumberTypeAndStateItemsCompareByEquality)
{
    for (const QStringList& r : DataRows("default_limits.tsv"))
    {
        SCOPED_TRACE(r[0].toStdString());
        const CComparativeValueDataItem item(Enum<EMeasurementItems>(r[0]));
        EXPECT_EQ(item.GetLowValue().userType(), Typed(r[1]).userType());
        EXPECT_EQ(item.GetLowValue(), Typed(r[1]));
        EXPECT_EQ(item.GetHighValue().userType(), Typed(r[2]).userType());
        EXPECT_EQ(item.GetHighValue(), Typed(r[2]));
    }

    // State items compare by equality only.
    CComparativeValueDataItem badState(eMeasItem_DemodLock);
    badState.SetLongLowLimit(-1);
    EXPECT_EQ(badState.GetLowValue(), QVariant(4294967295u));

    for (short s = 0; s <= eMeasItem_None; ++s)
    {
        SCOPED_TRACE(s);
        CComparativeValueDataItem item(static_cast<EMeasurementItems>(s));
        const bool bState = item.IsStateItem();
        EXPECT_EQ(item.GetCompareType(), bState ? eCompareType_Equal : eCompareType_Between);
        item.SetCompareType(eCompareType_Higher);
        EXPECT_EQ(item.GetCompareType(), bState ? eCompareType_Equal : eCompareType_Higher);
        item.SetCompareType(eCompareType_NotEqual);
        EXPECT_EQ(item.GetCompareType(), eCompareType_NotEqual);
    }
}

TEST(CComparativeValueDataItemTest, DisplayTextsAndParsing)
{
    // The low text always gets its level unit, the high one only on request.
    for (const QStringList& r : DataRows("display_texts.tsv"))
    {
        SCOPED_TRACE(r.join('|').toStdString());
        const CComparativeValueDataItem item = Limit(r[0], r[1], r[2]);
        const ELevelUnit eUnit = Enum<ELevelUnit>(r[3]);
        const EInstrumentImpedance eImpedance = Enum<EInstrumentImpedance>(r[4]);
        const bool bWithUnit = r[5] == "true";
        EXPECT_EQ(item.LowValueToString(eUnit, eImpedance, bWithUnit, r[6].toDouble()), r[7]);
        EXPECT_EQ(item.HighValueToString(eUnit, eImpedance, bWithUnit, r[6].toDouble()), r[8]);
    }

    // Parsing reports whether the limit changed; applied in order, each item from its defaults.
    std::map<EMeasurementItems, CComparativeValueDataItem> items;
    for (const QStringList& r : DataRows("limit_parsing.tsv"))
    {
        SCOPED_TRACE(r.join('|').toStdString());
        const EMeasurementItems eItem = Enum<EMeasurementItems>(r[0]);
        auto& item = items.try_emplace(eItem, eItem).first->second;
        const bool bHigh = r[1] == "high";
        EXPECT_EQ(bHigh ? item.HighValueFromString(r[2]) : item.LowValueFromString(r[2]),
                  r[3] == "true");
        const QVariant& vStored = bHigh ? item.GetHighValue() : item.GetLowValue();
        EXPECT_EQ(vStored.userType(), Typed(r[4]).userType());
        EXPECT_EQ(vStored, Typed(r[4]));
    }
}

} // namespace

#include "CMeasurementJudge.h"

#include "CConverter.h"
#include "CEnumTemplate.h"
#include "CStringUtil.h"
#include "CValueFactory.h"
#include "ResultsTestTools.h"

#include <cfloat>
#include <cmath>
#include <random>
#include <tuple>

using namespace LumoraMeasurement;

namespace
{

using Items = CEnumTemplate<EMeasurementItems>;
using States = CEnumTemplate<EMeasurementItemState>;
using MdaTest::Limit;

/// A record of channel row lChannel holding sValue for eItem.
CDBMeasurement Record(EMeasurementItems eItem, const QString& sValue, long lChannel = 0,
                      EMeasurementItemState eState = eMeasurementItemState_Valid)
{
    CDBMeasurement record(1, 2, lChannel, 3);
    record.SetMeasurementItem(Items::ToId(eItem));
    record.SetMeasurementState(States::ToId(eState));
    record.SetValue(sValue);
    return record;
}

} // namespace

// A floating-point text is rewritten whatever the state, as the session model's views have
// always shown it. Power between -15 and 40 dBµV; channel row 0 lifts it by its 3 dB power limit
// offset, row 1 has none, and a row beyond the table counts as without offset.
TEST(CMeasurementJudgeTest, JudgesOneStoredValueAsTheSessionModelDoes)
{
    CComparativeValueData limits;
    Limit(limits, eMeasItem_Power, "-15", "40");
    Limit(limits, eMeasItem_MERRMSdB, "5", "70");
    const CChannelTableData channels = MdaTest::Channels({"Ch1", "Ch2"}, {}, {"3"});
    const CMeasurementJudge judge(limits, channels);

    const QStringList judgements = {"not judged", "within", "violation", "error"};
    for (const QStringList& row : MdaTest::ReadDataTable("results/judge.tsv"))
    {
        SCOPED_TRACE(row[0].toStdString());
        CDBMeasurement record =
            Record(Items::TextToEnum(row[1]), row[4], row[2].toLong(), States::TextToEnum(row[3]));
        record.SetErrorDescription(row[3] == "Error" ? QStringLiteral("Receiver timeout") : "");
        EXPECT_EQ(judge.Judge(record), judgements.indexOf(row[5]));
        EXPECT_EQ(record.GetMeasurementState(), States::ToId(States::TextToEnum(row[6])));
        EXPECT_EQ(QStringList({record.GetValue(), record.GetErrorDescription()}), row.mid(7, 2));
    }
    EXPECT_DOUBLE_EQ(3.0, judge.PowerLimitOffset(0));
    EXPECT_DOUBLE_EQ(0.0, judge.PowerLimitOffset(9));
    EXPECT_DOUBLE_EQ(0.0, judge.PowerLimitOffset(-1));
    // Qt 5 and Qt 6 parse numbers followed by a NUL or holding control characters differently;
    // the judgement of a stored text must not depend on the build (row 1: no power offset).
    for (const QStringList& row : MdaTest::ReadDataTable("results/judge-texts.tsv"))
    {
        SCOPED_TRACE(row[0].toStdString());
        // With its size: the NULs are part of the text.
        const QByteArray value = QByteArray::fromPercentEncoding(row[2].toUtf8());
        CDBMeasurement record = Record(Items::TextToEnum(row[1]),
                                       QString::fromUtf8(value.constData(), value.size()), 1);
        EXPECT_EQ(judge.Judge(record), judgements.indexOf(row[3]))
            << record.GetErrorDescription().toStdString();
    }
    // MER judged against one upper limit: the stored value text and the limit text.
    const auto judgeAgainst = [&channels](const QString& sValue, const QString& sLimit)
    {
        CComparativeValueData limits;
        Limit(limits, eMeasItem_MERRMSdB, sLimit, sLimit, eCompareType_Lower);
        CDBMeasurement record = Record(eMeasItem_MERRMSdB, sValue + " dB");
        return CMeasurementJudge(limits, channels).Judge(record);
    };
    // A value whose six-digit text lies just below its limit is within, at every magnitude up to
    // 2^63: the judge rounds large values in integers and must land on that very number. Each such
    // limit is the single-precision number nearest above the text, closer to it than a rounding
    // slip (from 10^18 on, no such number exists). One whose text lies above its limit violates
    // it, at each count of whole digits the integer rounding treats apart (five keep a decimal,
    // six keep none, more lose some).
    for (const QStringList& row : MdaTest::ReadDataTable("results/six-digit-limits.tsv"))
    {
        EXPECT_EQ(judgeAgainst(row[0], row[1]), judgements.indexOf(row[2]))
            << row.join(' ').toStdString();
    }
}

namespace
{

/// The evaluation written out plainly, through the item's value text, as the session model
/// has always judged a record: what the judge must give for every record.
EJudgement JudgeThroughText(const CComparativeValueData& limits, const CChannelTableData& channels,
                            CDBMeasurement& record)
{
    const auto eItem = Items::ToEnum(record.GetMeasurementItem());
    const auto eState = States::ToEnum(record.GetMeasurementState());
    const bool bMeasured =
        eState == eMeasurementItemState_Valid || eState == eMeasurementItemState_OutOfRange;
    CMeasurementItem item(eItem);
    const QString sNumber = record.GetValue().section(QLatin1Char(' '), 0, 0);
    bool bReadable = true;
    if (item.ValueType() == eValueType_Bool)
    {
        item.Set(OrvelFramework::CStringUtil::ConvertToBool(record.GetValue()), eUnitType_None);
    }
    else if (item.ValueType() == eValueType_Integer)
    {
        item.Set(static_cast<short>(sNumber.toInt(&bReadable, 10)), eUnitType_None);
    }
    else if (item.ValueType() == eValueType_Float)
    {
        const float f = sNumber.toFloat(&bReadable);
        bReadable = bReadable && std::isfinite(f);
        if (!bMeasured || bReadable)
        {
            const QString sText = f == 0.0f || std::fabs(f) >= 0.01f
                                      ? QString::number(static_cast<double>(f), 'f', 2)
                                      : QString::number(static_cast<double>(f), 'e', 2);
            record.SetValue(sText + QLatin1Char(' ') + record.GetValue().section(' ', 1, 1));
            item.Set(static_cast<double>(sText.toFloat()), eUnitType_None);
        }
    }
    else if (item.ValueType() == eValueType_Text)
    {
        item.Set(record.GetValue(), eUnitType_None);
    }
    if (!bMeasured)
    {
        return eState == eMeasurementItemState_Error ? eJudgement_Error : eJudgement_NotJudged;
    }
    if (!bReadable)
    {
        const QString& s = record.GetValue();
        record.SetMeasurementState(States::ToId(eMeasurementItemState_Error));
        record.SetErrorDescription(item.Name() + ": the stored value \"" +
                                   (s.size() > 64 ? s.left(64) + "..." : s) +
                                   "\" is not a finite number");
        return eJudgement_Error;
    }
    double dOffset = 0.0;
    if (eItem == eMeasItem_Power && record.GetChannelId() >= 0 &&
        record.GetChannelId() < channels.GetRowCount())
    {
        dOffset = channels.GetValue(record.GetChannelId(), "Power Limit Offset")
                      .section(' ', 0, 0)
                      .toFloat();
    }
    QString sViolation;
    const bool bWithin = limits.GetItem(eItem).InRange(item.ToString(), sViolation, dOffset);
    record.SetErrorDescription(bWithin ? QString() : sViolation);
    record.SetMeasurementState(
        States::ToId(bWithin ? eMeasurementItemState_Valid : eMeasurementItemState_OutOfRange));
    return bWithin ? eJudgement_Within : eJudgement_Violation;
}

/// What a judging gives, on one line.
QString Outcome(EJudgement eJudgement, const CDBMeasurement& record, const QString& sDescription)
{
    return QStringLiteral("%1 \"%2\" state %3 \"%4\"")
        .arg(QString::number(eJudgement), record.GetValue(),
             QString::number(record.GetMeasurementState()), sDescription);
}

/// Random sessions that dwell where judging by number could part from judging the text:
/// on the limits and one float step beside them, at the edges of the two-decimal and the
/// six-digit forms (halves, 0.01, 1e4, 2^24, 2^63, the ends of single precision), and in
/// texts that are no plain number.
class CSessionGenerator
{
public:
    explicit CSessionGenerator(unsigned uSeed) : m_Random(uSeed)
    {
        for (const QStringList& row : MdaTest::ReadDataTable("results/judge-numbers.tsv"))
        {
            row[0] == "edge" ? m_Edges.push_back(row[1].toDouble()) : m_Hostile.push_back(row[1]);
        }
    }

    void RandomiseLimits(CComparativeValueData& limits)
    {
        for (long i = 0; i < limits.GetItemCount(); ++i)
        {
            CComparativeValueDataItem& limit = limits.GetItem(limits.GetValueEnumFromIndex(i));
            limit.SetCompareType(static_cast<ECompareType>(Pick(eCompareType_None + 1)));
            if (limit.GetValueType() == eValueType_Integer)
            {
                limit.SetLongLowLimit(Pick(8) - 3);
                limit.SetLongHighLimit(Pick(8) - 1);
                continue;
            }
            const double dLow = LimitNumber();
            limit.SetFloatLowLimit(dLow);
            limit.SetFloatHighLimit(Pick(4) == 0 ? dLow : dLow + std::fabs(LimitNumber()));
            if (Pick(8) == 0)
            {
                limit.LowValueFromString(Number(eMeasItem_None) + " " +
                                         CConverter::GetUnitString(limit.GetUnit()));
            }
            m_aLimits[limit.GetMeasurementItem()] = {limit.GetLowValue().toFloat(),
                                                     limit.GetHighValue().toFloat()};
        }
    }

    CDBMeasurement Record(long lIndex)
    {
        const auto& items = CRepresentation<EMeasurementItems>::Table();
        const auto& states = CRepresentation<EMeasurementItemState>::Table();
        CDBMeasurement record(1, 1 + lIndex / 500, Pick(7) - 1, lIndex);
        record.SetMeasurementItem(Pick(40) == 0 ? 555 : items[Pick(items.size())].m_lId);
        record.SetMeasurementState(Pick(20) == 0 ? 77 : states[Pick(states.size())].m_lId);
        const EMeasurementItems eItem = Items::ToEnum(record.GetMeasurementItem());
        const QString sUnit =
            CConverter::GetUnitString(CValueFactory::MeasurementItem_GetItemUnit(eItem));
        const char* const apszUnits[] = {"", " ", "  ", " dBµV", " xyz", " %1 more", " %1"};
        QString sValue = Number(eItem) + QString::fromUtf8(apszUnits[Pick(7)]).replace("%1", sUnit);
        record.SetValue(Pick(30) == 0 ? QLatin1Char(' ') + sValue : sValue);
        record.SetErrorDescription(Pick(10) == 0 ? QStringLiteral("Receiver timeout") : QString());
        return record;
    }

private:
    int Pick(size_t n) { return static_cast<int>(m_Random() % n); }
    double Uniform(double dFrom, double dTo)
    {
        return dFrom + (dTo - dFrom) * static_cast<double>(m_Random() >> 11) * 0x1p-53;
    }
    double Edge() { return Step(m_Edges[size_t(Pick(m_Edges.size()))] * (Pick(2) == 0 ? 1 : -1)); }
    // One float step up or down, or none.
    double Step(double d)
    {
        const float f = static_cast<float>(d);
        const int iStep = Pick(3);
        return iStep == 0 ? d
                          : static_cast<double>(std::nextafter(f, iStep == 1 ? FLT_MAX : -FLT_MAX));
    }
    double LimitNumber()
    {
        return Pick(3) == 0 ? Edge() : std::round(Uniform(-80, 80) * 100) / 100;
    }
    QString Number(EMeasurementItems eItem)
    {
        double d = 0.0;
        switch (Pick(8))
        {
        case 0:
            return m_Hostile[Pick(size_t(m_Hostile.size()))];
        case 1:
            return QString(Pick(300) + 65, QLatin1Char('7'));
        case 2:
            d = Step(Pick(2) == 0 ? m_aLimits[eItem].first : m_aLimits[eItem].second);
            break;
        case 3:
            d = Edge();
            break;
        case 4:
            d = std::pow(10.0, Uniform(-46, 39)) * (Pick(2) == 0 ? 1 : -1);
            break;
        default:
            d = Uniform(-100, 100);
            break;
        }
        const char acForms[] = {'f', 'g', 'e'};
        return QString::number(d, acForms[Pick(3)], Pick(10));
    }

    std::mt19937 m_Random;
    std::vector<double> m_Edges;
    QStringList m_Hostile;
    std::pair<float, float> m_aLimits[eMeasItem_None + 1] = {};
};

} // namespace

// Every record of random sessions, judged once and again (as switching limits does), gets
// the judgement, value text, state and error description the value text gives.
TEST(CMeasurementJudgeTest, JudgingByNumberNeverPartsFromJudgingTheText)
{
    const CChannelTableData channels = MdaTest::Channels({"Ch0", "Ch1", "Ch2", "Ch3", "Ch4"}, {},
                                                         {"3", "-2.5", "", "0.125", "nan dB"});
    for (unsigned uSeed : {1u, 2u, 3u, 20261206u})
    {
        CSessionGenerator generator(uSeed);
        CComparativeValueData limits;
        generator.RandomiseLimits(limits);
        const CMeasurementJudge judge(limits, channels);
        for (long i = 0; i < 5000; ++i)
        {
            CDBMeasurement fast = generator.Record(i);
            CDBMeasurement plain = fast;
            CDBMeasurement lazy = fast;
            const QString sStored = fast.GetValue();
            for (int iRound = 1; iRound <= 2; ++iRound)
            {
                SCOPED_TRACE(QStringLiteral("seed %1, record %2, round %3, stored \"%4\"")
                                 .arg(QString::number(uSeed), QString::number(i),
                                      QString::number(iRound), sStored)
                                 .toStdString());
                const EJudgement eFast = judge.Judge(fast);
                const QString sPlain = Outcome(JudgeThroughText(limits, channels, plain), plain,
                                               plain.GetErrorDescription());
                ASSERT_EQ(Outcome(eFast, fast, fast.GetErrorDescription()), sPlain);
                // The model judges without the text and writes it when handed out.
                const EJudgement eLazy = judge.JudgeWithoutText(lazy);
                ASSERT_TRUE(eLazy != eJudgement_Violation || lazy.GetErrorDescription().isEmpty());
                const QString sLazyText = eLazy == eJudgement_Violation
                                              ? judge.ViolationText(lazy)
                                              : lazy.GetErrorDescription();
                ASSERT_EQ(Outcome(eLazy, lazy, sLazyText), sPlain) << "judged without text";
                lazy.SetErrorDescription(sLazyText);
            }
        }
    }
}

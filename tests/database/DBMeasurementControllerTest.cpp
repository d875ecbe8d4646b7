#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "CDBSessionControler.h"
#include "DBControllerTestBase.h"

using namespace LumoraMeasurement;

namespace
{

class CDBMeasurementControllerTest : public MdaTest::CDBControllerTest
{
protected:
    void SetUp() override
    {
        CDBControllerTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
        {
            return;
        }
        const QString s;
        ASSERT_TRUE(CDBSessionControler(Db()).Create(m_lSession, "u", "d", s, s, s, s, s, s, s, s,
                                                     s, s, s, s, s));
        CDBScanController scans(Db());
        for (long lScan : {1L, 2L})
        {
            ASSERT_TRUE(scans.Create(m_lSession, lScan));
        }
    }

    /// A stored measurement with value, item, state and error text.
    long Store(long lScan, long lChannel, long lItem, long lState, const QString& sValue,
               const QString& sError = QString())
    {
        CDBMeasurementController measurements(Db());
        long lId = 0;
        EXPECT_TRUE(measurements.Create(m_lSession, lScan, lChannel, lId));
        CDBMeasurement m(m_lSession, lScan, lChannel, lId);
        m.SetMeasurementItem(lItem);
        m.SetMeasurementState(lState);
        m.SetValue(sValue);
        m.SetErrorDescription(sError);
        EXPECT_TRUE(measurements.Update(m));
        return lId;
    }

    /// Measurement id, session, scan, channel, item, state.
    static QVector<long> Ids(const CDBMeasurement& m)
    {
        return {m.GetMeasurementId(), m.GetSessionId(),       m.GetScanId(),
                m.GetChannelId(),     m.GetMeasurementItem(), m.GetMeasurementState()};
    }

    static QStringList Values(const std::vector<CDBMeasurement>& list)
    {
        QStringList values;
        for (const CDBMeasurement& m : list)
        {
            values.append(m.GetValue());
        }
        return values;
    }

    long m_lSession = 0;
};

TEST_P(CDBMeasurementControllerTest, UpdateWithoutErrorTextKeepsTheStoredOne)
{
    CDBMeasurementController measurements(Db());
    long lId = 0;
    ASSERT_TRUE(measurements.Create(m_lSession, 2, 6, lId));
    CDBMeasurement m = measurements.GetData(m_lSession, 2, lId);
    EXPECT_EQ(Ids(m), QVector<long>({lId, m_lSession, 2, 6, -1, -1}));

    m.SetMeasurementItem(15);
    m.SetMeasurementState(2);
    m.SetValue("32.5 dB");
    m.SetErrorDescription("first text");
    ASSERT_TRUE(measurements.Update(m));
    // Without error text the stored one stays.
    m.SetValue("33.0 dB");
    m.SetErrorDescription(QString());
    ASSERT_TRUE(measurements.Update(m));

    const CDBMeasurement read = measurements.GetData(m_lSession, 2, lId);
    EXPECT_EQ(Ids(read), QVector<long>({lId, m_lSession, 2, 6, 15, 2}));
    EXPECT_EQ(read.GetValue(), "33.0 dB");
    EXPECT_EQ(read.GetErrorDescription(), "first text");

    EXPECT_EQ(Ids(measurements.GetData(m_lSession, 2, lId + 100)),
              QVector<long>({0, 0, 0, 0, -1, -1}));
    for (long lBad : {0L, -1L})
    {
        EXPECT_FALSE(measurements.Update(CDBMeasurement(m_lSession, 2, 6, lBad)));
    }
}

TEST_P(CDBMeasurementControllerTest, SessionReadsReplaceChannelReadsAppend)
{
    Store(1, 0, 7, 2, "a");
    Store(2, 0, 7, 3, "b", "failed");
    const long lIdC = Store(2, 1, 7, 4, "c", "too high");
    Store(2, 0, 15, 2, "d");
    CDBMeasurementController measurements(Db());

    std::vector<CDBMeasurement> list;
    measurements.GetAllResultsForSession(m_lSession, list);
    measurements.GetAllResultsForSession(m_lSession, list);
    EXPECT_EQ(Values(list), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(Ids(list[2]), QVector<long>({lIdC, m_lSession, 2, 1, 7, 4}));
    EXPECT_EQ(list[2].GetErrorDescription(), "too high");
    EXPECT_EQ(list[3].GetErrorDescription(), "");

    measurements.GetAllErrorsForSession(m_lSession, list);
    EXPECT_EQ(Values(list), QStringList({"b", "c"}));

    list.clear();
    measurements.GetMeasurementResultsForChannel(m_lSession, 0, 7, list);
    measurements.GetMeasurementResultsForChannel(m_lSession, 0, 7, list);
    EXPECT_EQ(Values(list), QStringList({"a", "b", "a", "b"}));

    EXPECT_EQ(measurements.GetAmountOfMeasurementValuesForChannel(m_lSession, 0), 3);
    EXPECT_EQ(measurements.GetAmountOfMeasurementValuesForChannel(m_lSession, 5), 0);
}

// Only the per-scan channel read brings "number unit" values to two decimals.
TEST_P(CDBMeasurementControllerTest, ChannelScanReadReformatsNumberAndUnit)
{
    const struct
    {
        const char* pszStored;
        const char* pszRead;
    } rows[] = {
        {"12.3456 dBuV", "12.35 dBuV"},
        {"-0.5 dB", "-0.50 dB"},
        {"7 ", "7.00 "},
        {"abc dB", "0.00 dB"},
        {"1e3 Hz", "1000.00 Hz"},
        {"42", "42"},
        {"1 2 3", "1 2 3"},
        {"1.234  dB", "1.234  dB"},
        {"Locked", "Locked"},
    };
    QStringList stored, expected;
    for (const auto& row : rows)
    {
        Store(2, 3, 7, 2, row.pszStored);
        stored.append(row.pszStored);
        expected.append(row.pszRead);
    }
    Store(1, 3, 7, 2, "1.111 dB");
    CDBMeasurementController measurements(Db());

    std::vector<CDBMeasurement> list(1);
    list[0].SetValue("kept");
    measurements.GetAllMeasurementResultsForChannel(m_lSession, 1, 3, list);
    expected.prepend("kept");
    EXPECT_EQ(Values(list), expected);

    measurements.GetAllResultsForSession(m_lSession, list);
    stored.append("1.111 dB");
    EXPECT_EQ(Values(list), stored);
}

TEST_P(CDBMeasurementControllerTest, HostileTextsInValueAndErrorAreKept)
{
    const QStringList texts = MdaTest::HostileTexts();
    for (const QString& sText : texts)
    {
        Store(1, 0, 7, 3, sText, sText);
    }
    std::vector<CDBMeasurement> list;
    CDBMeasurementController(Db()).GetAllErrorsForSession(m_lSession, list);
    ASSERT_EQ(list.size(), static_cast<size_t>(texts.size()));
    for (int i = 0; i < texts.size(); ++i)
    {
        EXPECT_EQ(list[i].GetValue(), texts[i]);
        EXPECT_EQ(list[i].GetErrorDescription(), texts[i]);
    }
}

MDA_INSTANTIATE_BACKEND_TESTS(CDBMeasurementControllerTest);

} // namespace

#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "DBControllerTestBase.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <random>

using namespace LumoraMeasurement;

namespace
{

/// A session with scans 1 and 2.
class CDBMeasurementControllerTest : public MdaTest::CDBControllerTest
{
protected:
    void Prepare() override
    {
        CDBControllerTest::Prepare();
        m_Measurements.emplace(Db());
        m_lSession = CreateSession();
        for (long lScan : {1L, 2L})
        {
            ASSERT_TRUE(CDBScanController(Db()).Create(m_lSession, lScan));
        }
    }

    /// A stored measurement with value, item, state and error text.
    long Store(long lScan, long lChannel, long lItem, long lState, const QString& sValue,
               const QString& sError = QString())
    {
        return MdaTest::Store(Db(), m_lSession, lScan, lChannel, lItem, lState, sValue, sError);
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
        std::transform(list.begin(), list.end(), std::back_inserter(values),
                       [](const CDBMeasurement& m) { return m.GetValue(); });
        return values;
    }

    long m_lSession = 0;
    std::optional<CDBMeasurementController> m_Measurements;
};

TEST_P(CDBMeasurementControllerTest, UpdateWithoutErrorTextKeepsTheStoredOne)
{
    long lId = 0;
    ASSERT_TRUE(m_Measurements->Create(m_lSession, 2, 6, lId));
    CDBMeasurement m = m_Measurements->GetData(m_lSession, 2, lId);
    EXPECT_EQ(Ids(m), QVector<long>({lId, m_lSession, 2, 6, -1, -1}));
    m.SetMeasurementItem(15);
    m.SetMeasurementState(2);
    m.SetValue("32.5 dB");
    m.SetErrorDescription("first text");
    ASSERT_TRUE(m_Measurements->Update(m));
    m.SetValue("33.0 dB");
    m.SetErrorDescription(QString());
    ASSERT_TRUE(m_Measurements->Update(m));

    const CDBMeasurement read = m_Measurements->GetData(m_lSession, 2, lId);
    EXPECT_EQ(Ids(read), QVector<long>({lId, m_lSession, 2, 6, 15, 2}));
    EXPECT_EQ(read.GetValue() + "|" + read.GetErrorDescription(), "33.0 dB|first text");

    EXPECT_EQ(Ids(m_Measurements->GetData(m_lSession, 2, lId + 100)),
              QVector<long>({0, 0, 0, 0, -1, -1}));
    EXPECT_FALSE(m_Measurements->Update(CDBMeasurement(m_lSession, 2, 6, -1)));
}

// A text past the bound reads cut at the bound with the marker after it; one at the bound whole.
// Item and state are 32-bit: their edges read back as stored; past them (only SQLite holds
// such numbers there) a field is 0, as toInt() of its text would give.
TEST_P(CDBMeasurementControllerTest, ReadsBoundTextsAndThe32BitItemAndState)
{
    const int iBound = CDBMeasurement::c_iMaxTextLength;
    Store(1, 0, 8, 2, QString(iBound + 5, 'v'), QString(iBound, 'e'));
    const qint64 llMin = std::numeric_limits<int>::min();
    const qint64 llMax = std::numeric_limits<int>::max();
    std::vector<std::pair<qint64, long>> cases{{llMin, long(llMin)}, {llMax, long(llMax)}};
    if (GetParam() == MdaTest::EBackend::Sqlite)
    {
        cases.insert(cases.end(), {{llMin - 1, 0}, {llMax + 1, 0}});
    }
    for (const auto& [llStored, lRead] : cases)
    {
        Exec("INSERT INTO measurement (session_id, scan_id, channel_id, measurement_item, state, "
             "value) VALUES (?, 1, 0, ?, ?, 'x')",
             {qlonglong(m_lSession), qlonglong(llStored), qlonglong(llStored)});
    }
    std::vector<CDBMeasurement> rows;
    ASSERT_TRUE(m_Measurements->GetAllResultsForSession(m_lSession, rows));
    ASSERT_EQ(rows.size(), cases.size() + 1);
    EXPECT_TRUE(rows[0].GetValue() == QString(iBound, 'v') + CDBMeasurement::c_sCutMarker);
    EXPECT_TRUE(rows[0].GetErrorDescription() == QString(iBound, 'e'));
    for (size_t i = 0; i < cases.size(); ++i)
    {
        EXPECT_EQ(rows[i + 1].GetMeasurementItem(), cases[i].second) << cases[i].first;
        EXPECT_EQ(rows[i + 1].GetMeasurementState(), cases[i].second) << cases[i].first;
    }
}

// Only the per-scan channel read reformats values, and it appends.
TEST_P(CDBMeasurementControllerTest, ChannelScanReadReformatsNumberAndUnit)
{
    QStringList stored, expected{"kept"};
    for (const QStringList& row : MdaTest::ReadDataTable("database/channel-values.tsv"))
    {
        Store(2, 3, 7, 2, row[0]);
        stored.append(row[0]);
        expected.append(row[1]);
    }
    Store(1, 3, 7, 2, "1.111 dB");
    std::vector<CDBMeasurement> list(1);
    list[0].SetValue("kept");
    m_Measurements->GetAllMeasurementResultsForChannel(m_lSession, 1, 3, list);
    EXPECT_EQ(Values(list), expected);

    m_Measurements->GetAllResultsForSession(m_lSession, list);
    EXPECT_EQ(Values(list), stored << "1.111 dB");

    // The shortcuts print what the general conversion prints: random decimals with signs,
    // leading zeros, none to three decimals and up to sixteen digits.
    std::mt19937 random(20261206);
    QStringList general;
    for (int n = 0; n < 300; ++n)
    {
        QString sNumber = random() % 4 == 0 ? "-" : "";
        for (unsigned u = 0, uDigits = 1 + random() % 14; u < uDigits; ++u)
        {
            sNumber += QChar('0' + static_cast<char>(random() % (u == 0 ? 3 : 10)));
        }
        sNumber += QString(".%1").arg(random() % 1000, 3, 10, QChar('0')).left(random() % 5);
        Store(2, 4, 7, 2, sNumber + " dB");
        general << QString::number(sNumber.toDouble(), 'f', 2) + " dB";
    }
    // A number far longer than any the shortcut takes goes the general way, whole.
    const QString sLong(200000, QLatin1Char('7'));
    Store(2, 4, 7, 2, sLong + " dB");
    general << QString::number(sLong.toDouble(), 'f', 2) + " dB";
    list.clear();
    m_Measurements->GetAllMeasurementResultsForChannel(m_lSession, 1, 4, list);
    EXPECT_EQ(Values(list), general);
}

// The recording binds typed values to statements of its own; what it stores must stay what
// plain SQL stores for the same values (types, empty against NULL, texts byte for byte).
TEST_P(CDBMeasurementControllerTest, RecordingStoresWhatPlainSqlStores)
{
    std::mt19937 random(20261206);
    const QStringList texts = QStringList{QString(), QString(""), "12.34 dBuV", "-0.50 dB", "1"} +
                              MdaTest::HostileTexts().mid(0, 6);
    for (int n = 0; n < 60; ++n)
    {
        const long lChannel = static_cast<long>(random() % 2000);
        const long lItem = static_cast<long>(random() % 300) - 1;
        const long lState = static_cast<long>(random() % 6) - 1;
        const QString sValue = texts[static_cast<int>(random() % texts.size())];
        const QString sError = texts[static_cast<int>(random() % texts.size())];
        Store(1, lChannel, lItem, lState, sValue, sError);
        Exec("INSERT INTO measurement (session_id, scan_id, channel_id, measurement_item, state, "
             "value, error_description) VALUES (?, ?, ?, ?, ?, ?, ?)",
             {qlonglong(m_lSession), qlonglong(2), qlonglong(lChannel), qlonglong(lItem),
              qlonglong(lState), sValue.isNull() ? QString("") : sValue,
              sError.isEmpty() ? QVariant() : QVariant(sError)});
    }
    const QString sRows = QString("SELECT %1(session_id), %1(channel_id), %1(measurement_item), "
                                  "%1(state), %1(value), %1(error_description) FROM measurement "
                                  "WHERE scan_id = ? ORDER BY id")
                              .arg(Db().IsPostgreSql() ? "quote_nullable" : "quote");
    const QVariantList recorded = Exec(sRows, {1});
    EXPECT_EQ(std::tuple(recorded.size(), recorded), std::tuple(60 * 6, Exec(sRows, {2})));
}

// The export reads a session once instead of once per scan position and channel row; it
// must list exactly what those reads list, in their order: no row of a scan beyond the
// positions asked for, of a channel outside the rows, of another session, or twice.
TEST_P(CDBMeasurementControllerTest, ExportReadListsWhatTheChannelReadsList)
{
    const long lOther = CreateSession("other");
    long lScan = 7, lOtherScan = 1, lId = 0;
    ASSERT_TRUE(CDBScanController(Db()).Create(m_lSession, lScan) &&
                CDBScanController(Db()).Create(lOther, lOtherScan) &&
                m_Measurements->Create(lOther, 1, 0, lId));
    // Scan, channel and value; "\\n" stands for a line break.
    for (const QStringList& row : MdaTest::ReadDataTable("database/export_rows.tsv"))
    {
        Store(row[0].toLong(), row[1].toLong(), 8, 2, QString(row[2]).replace("\\n", "\n"),
              "e,\"\n");
    }
    Exec("INSERT INTO measurement (id, session_id, scan_id, channel_id, measurement_item, state, "
         "value) VALUES (?, ?, 2, 1, 8, 2, '5 dB')",
         {(qint64(1) << 33) + 1, qlonglong(m_lSession)});
    if (GetParam() == MdaTest::EBackend::Sqlite)
    {
        // Written by other tools: channel ids no channel row equals.
        Exec("INSERT INTO measurement (session_id, scan_id, channel_id, value) VALUES "
             "(?, 1, 1.5, 'fraction'), (?, 1, 'one', 'text')",
             {qlonglong(m_lSession), qlonglong(m_lSession)});
    }

    const auto record = [](const CDBMeasurement& m)
    {
        return QString("%1|%2|%3|%4|%5")
            .arg(QString::number(m.GetMeasurementId()), QString::number(m.GetScanId()),
                 QString::number(m.GetChannelId()), m.GetValue(), m.GetErrorDescription());
    };
    for (auto [lScans, lChannels] : {std::pair(3L, 4L), std::pair(2L, 2L), std::pair(5L, 6L),
                                     std::pair(1L, 1L), std::pair(0L, 4L), std::pair(3L, 0L)})
    {
        SCOPED_TRACE(testing::Message() << lScans << " scans, " << lChannels << " channels");
        std::vector<CDBMeasurement> read;
        // Scan position by scan position, each channel row in turn.
        for (long i = 0; i < lScans * lChannels; ++i)
        {
            m_Measurements->GetAllMeasurementResultsForChannel(m_lSession, i / lChannels,
                                                               i % lChannels, read);
        }
        QStringList expected, listed;
        std::transform(read.begin(), read.end(), std::back_inserter(expected), record);
        const auto list = [&](const CDBMeasurement& m) { return !(listed << record(m)).isEmpty(); };
        EXPECT_TRUE(m_Measurements->ForEachMeasurementResultByScanAndChannel(m_lSession, lScans,
                                                                             lChannels, list));
        EXPECT_EQ(listed, expected);
    }
    QStringList first;
    const auto two = [&](const CDBMeasurement& m) { return (first << m.GetValue()).size() < 2; };
    EXPECT_TRUE(m_Measurements->ForEachMeasurementResultByScanAndChannel(m_lSession, 3, 4, two));
    EXPECT_EQ(first, QStringList({"1", "2.67 dB"}));
    // No scan or no channel asks nothing of the database: an empty read even without it.
    Db().Close();
    const auto none = [](const CDBMeasurement&) { return false; };
    EXPECT_TRUE(m_Measurements->ForEachMeasurementResultByScanAndChannel(m_lSession, 0, 4, none));
    EXPECT_TRUE(m_Measurements->ForEachMeasurementResultByScanAndChannel(m_lSession, 3, 0, none));
    EXPECT_FALSE(m_Measurements->ForEachMeasurementResultByScanAndChannel(m_lSession, 3, 4, none));
}

MDA_INSTANTIATE_BACKEND_TESTS(CDBMeasurementControllerTest);

} // namespace

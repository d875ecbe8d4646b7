#include "CTableExportFiles.h"
#include "CTableExportedChannelSettings.h"
#include "CTableExportedLimitValues.h"
#include "CTableMeasurements.h"
#include "CTableScan.h"
#include "CTableSession.h"
#include "DatabaseTestBackend.h"

#include <QStringList>

#include <functional>

using namespace OrvelFramework;

namespace
{

// "column=value" of every pair, blank-separated; with a column, only that column's values.
QString Dump(const TableRows& rows, const QString& sColumn = QString())
{
    QStringList parts;
    for (const CTableRecordSet& pair : rows)
    {
        if (sColumn.isEmpty())
        {
            parts << pair.GetColumn() + '=' + pair.GetValue();
        }
        else if (pair.GetColumn() == sColumn)
        {
            parts << pair.GetValue();
        }
    }
    return parts.join(' ');
}

QString N(long l)
{
    return QString::number(l);
}

class CDatabaseTablesTest : public MdaTest::CDatabaseBackendTest
{
protected:
    void SetUp() override
    {
        CDatabaseBackendTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure())
        {
            m_pDb = OpenConnection();
        }
    }

    long NewSession(const TableRows& row = {})
    {
        long lId = 0;
        EXPECT_TRUE(CTableSession(*m_pDb).Create(row, lId)) << m_pDb->LastError().toStdString();
        return lId;
    }

    void NewScan(long lSession, long lScan)
    {
        EXPECT_TRUE(
            CTableScan(*m_pDb).Create({{CTableScan::c_sColumnSessionId, N(lSession)}}, lScan))
            << m_pDb->LastError().toStdString();
    }

    long NewMeasurement(long lSession, long lScan, long lChannel, long lItem, long lState)
    {
        CTableMeasurements table(*m_pDb);
        long lId = 0;
        EXPECT_TRUE(table.Create(
            {{"session_id", N(lSession)}, {"scan_id", N(lScan)}, {"channel_id", N(lChannel)}},
            lId));
        EXPECT_TRUE(table.Update(lSession, lScan, lId,
                                 {{"measurement_item", N(lItem)},
                                  {"state", N(lState)},
                                  {"value", QStringLiteral("%1 dB").arg(lId)}}));
        return lId;
    }

    std::unique_ptr<CDatabaseMultiInstance> m_pDb;
};

TEST_P(CDatabaseTablesTest, SessionRowsRoundTrip)
{
    CTableSession table(*m_pDb);
    const long lFirst = NewSession({{CTableSession::c_sColumnUniquIid, "u1"}});
    const long lSecond = NewSession({{CTableSession::c_sColumnUniquIid, "u2"},
                                     {CTableSession::c_sColumnDescription, "second"},
                                     {CTableSession::c_sColumnLimitFileID, "12"},
                                     {CTableSession::c_sColumnId, "77"}});
    EXPECT_GT(lFirst, 0);
    EXPECT_GT(lSecond, lFirst) << "the database chooses the id";
    ASSERT_TRUE(table.Update(lSecond, {{CTableSession::c_sColumnSite, "roof"},
                                       {CTableSession::c_sColumnLastRun, "2026-01-02 03:04:05"}}));
    EXPECT_EQ(Dump(table.Get(lSecond)),
              "id=" + N(lSecond) +
                  " unique_id=u2 description=second first_run= last_run=2026-01-02 03:04:05 "
                  "scan_count=0 site=roof test_point= name= e_number= t_number= e_mail= "
                  "hw_model= firmware_version= software_version= serial_nr= owner= "
                  "limit_file_id=12 channel_file_id=");
    EXPECT_EQ(Dump(table.Get(lFirst), "site"), "");

    EXPECT_TRUE(table.Get(lSecond + 100).empty());
    EXPECT_FALSE(table.Update(lSecond + 100, {{CTableSession::c_sColumnSite, "x"}}));
    EXPECT_EQ(m_pDb->LastError(),
              "Cannot change session " + N(lSecond + 100) + ": there is no such row");
    EXPECT_FALSE(table.Update(lFirst, {{"no_such_column", "x"}}));
    EXPECT_EQ(m_pDb->LastError(),
              "Cannot change session " + N(lFirst) + ": there is no column 'no_such_column'");
    EXPECT_FALSE(table.Update(lFirst, {{CTableSession::c_sColumnScanCount, "many"}}));
}

TEST_P(CDatabaseTablesTest, SessionFilterIsCaseInsensitiveContainmentOverFiveColumns)
{
    const char* columns[] = {"unique_id", "description", "site", "test_point", "name", "owner"};
    const char* texts[] = {"AlphaUid", "Beta desc",   "Gamma Süd",
                           "50%_off",  "Name O'Neil", "OwnerOnly"};
    std::vector<QString> ids;
    for (size_t i = 0; i < std::size(texts); ++i)
    {
        ids.push_back(N(NewSession({{columns[i], QString::fromUtf8(texts[i])}})));
    }
    const std::pair<const char*, std::vector<size_t>> cases[] = {
        {"", {0, 1, 2, 3, 4, 5}},
        {"alphauid", {0}},
        {"ESC", {1}},
        {"SÜD", {2}},
        {"%", {3}},
        {"_", {3}},
        {"0%_O", {3}},
        {"o'neil", {4}},
        {"OwnerOnly", {}},
        {"a%", {}},
        {"' OR '1'='1", {}},
        {"x'); DROP TABLE session; --", {}},
    };
    CTableSession table(*m_pDb);
    for (const auto& [pFilter, expected] : cases)
    {
        SCOPED_TRACE(pFilter);
        QStringList expectedIds;
        for (size_t i : expected)
        {
            expectedIds << ids[i];
        }
        TableRows all;
        TableRows idsOnly;
        ASSERT_TRUE(table.Get(QString::fromUtf8(pFilter), all));
        ASSERT_TRUE(table.GetSessionIds(QString::fromUtf8(pFilter), idsOnly));
        EXPECT_EQ(Dump(all, "id"), expectedIds.join(' '));
        EXPECT_EQ(all.size(), expected.size() * 19);
        EXPECT_EQ(Dump(idsOnly), expectedIds.isEmpty() ? "" : "id=" + expectedIds.join(" id="));
    }
}

TEST_P(CDatabaseTablesTest, ScansArePerSessionInAscendingOrder)
{
    const long lSession = NewSession();
    const long lOther = NewSession();
    for (long lScanId : {7L, 2L, 5L})
    {
        NewScan(lSession, lScanId);
    }
    NewScan(lOther, 2); // the same scan id in another session
    CTableScan table(*m_pDb);
    EXPECT_FALSE(table.Create({{CTableScan::c_sColumnSessionId, N(lSession)}}, 5)) << "duplicate";
    EXPECT_FALSE(table.Create({{CTableScan::c_sColumnSessionId, "999"}}, 1)) << "no such session";

    TableRows ids;
    ASSERT_TRUE(table.GetScanIds(lSession, ids));
    EXPECT_EQ(Dump(ids), "id=2 id=5 id=7");
    EXPECT_EQ(Dump(table.Get(lOther, 2)).section(' ', 0, 2),
              "id=2 session_id=" + N(lOther) + " state=-1");
    ASSERT_TRUE(table.Update(lSession, 5, {{"state", "2"}, {"date_time", "2026-12-06 10:00:00"}}));
    EXPECT_EQ(Dump(table.Get(lSession, 5)),
              "id=5 session_id=" + N(lSession) + " state=2 date_time=2026-12-06 10:00:00");
    EXPECT_FALSE(table.Update(lOther, 5, {{"state", "1"}}));
    EXPECT_TRUE(table.Get(lOther, 5).empty());

    CTableSession sessions(*m_pDb);
    EXPECT_EQ(sessions.GetHighestScanID(lSession), 7);
    EXPECT_EQ(sessions.GetHighestScanID(NewSession()), 0);
    QHash<int, int> counts;
    ASSERT_TRUE(
        sessions.GetScanCounts({{"id", N(lSession)}, {"id", N(lOther)}, {"id", "4242"}}, counts));
    EXPECT_EQ(counts, (QHash<int, int>{{int(lSession), 3}, {int(lOther), 1}, {4242, 0}}));
}

TEST_P(CDatabaseTablesTest, MeasurementReadsSelectAndOrderRows)
{
    const long lSession = NewSession();
    const long lOther = NewSession();
    NewScan(lSession, 10);
    NewScan(lSession, 4);
    NewScan(lOther, 4);
    // Scan 10 is recorded first: positions follow scan ids, not the order of recording.
    const long m1 = NewMeasurement(lSession, 10, 0, 15, 2);
    const long m2 = NewMeasurement(lSession, 10, 1, 15, 3);
    const long m3 = NewMeasurement(lSession, 4, 0, 15, 4);
    const long m4 = NewMeasurement(lSession, 4, 0, 16, 2);
    const long m5 = NewMeasurement(lOther, 4, 0, 15, 3);

    CTableMeasurements table(*m_pDb);
    EXPECT_EQ(Dump(table.Get(lSession, 4, m3)),
              QStringLiteral("id=%1 session_id=%2 scan_id=4 channel_id=0 measurement_item=15 "
                             "state=4 value=%1 dB error_description=")
                  .arg(m3)
                  .arg(lSession));
    EXPECT_TRUE(table.Get(lSession, 10, m3).empty()) << "wrong scan";
    EXPECT_FALSE(table.Update(lOther, 4, m3, {{"value", "x"}}));

    using Read = std::function<bool(TableRows&)>;
    const std::tuple<const char*, Read, std::vector<long>> cases[] = {
        {"results",
         [&](TableRows& r) { return table.GetAllResultsForSession(lSession, r); },
         {m1, m2, m3, m4}},
        {"errors",
         [&](TableRows& r) { return table.GetAllErrorsForSession(lSession, r); },
         {m2, m3}},
        {"scan 0",
         [&](TableRows& r) { return table.GetAllMeasurementsForChannel(lSession, 0, 0, r); },
         {m3, m4}},
        {"scan 1",
         [&](TableRows& r) { return table.GetAllMeasurementsForChannel(lSession, 1, 0, r); },
         {m1}},
        {"scan 2",
         [&](TableRows& r) { return table.GetAllMeasurementsForChannel(lSession, 2, 0, r); },
         {}},
        {"scan -1",
         [&](TableRows& r) { return table.GetAllMeasurementsForChannel(lSession, -1, 0, r); },
         {}},
        {"item",
         [&](TableRows& r) { return table.GetMeasurementsForChannel(lSession, 0, 15, r); },
         {m1, m3}},
        {"other", [&](TableRows& r) { return table.GetAllResultsForSession(lOther, r); }, {m5}},
    };
    for (const auto& [pName, read, expected] : cases)
    {
        SCOPED_TRACE(pName);
        TableRows rows;
        ASSERT_TRUE(read(rows)) << m_pDb->LastError().toStdString();
        QStringList expectedIds;
        for (long l : expected)
        {
            expectedIds << N(l);
        }
        EXPECT_EQ(Dump(rows, "id"), expectedIds.join(' '));
        ASSERT_EQ(rows.size(), expected.size() * 8);
        for (size_t i = 7; i < rows.size(); i += 8)
        {
            EXPECT_EQ(rows[i].GetColumn(), CTableMeasurements::c_sColumnErrorDescription);
        }
    }
    EXPECT_EQ(table.GetAmountOfMeasurementValuesForChannel(lSession, 0), 3);
    EXPECT_EQ(table.GetAmountOfMeasurementValuesForChannel(lSession, 5), 0);
    long lOrphan = 0;
    EXPECT_FALSE(
        table.Create({{"session_id", N(lSession)}, {"scan_id", "3"}, {"channel_id", "0"}}, lOrphan))
        << "a measurement needs its scan";
}

TEST_P(CDatabaseTablesTest, ExportFilesAreKeyedByUniqueId)
{
    CTableExportFiles table(*m_pDb);
    long lFirst = 0;
    long lSecond = 0;
    ASSERT_TRUE(
        table.Create({{"unique_id", "zeta"}, {"file", "QUJD"}, {"description", "first"}}, lFirst));
    ASSERT_TRUE(table.Create({{"unique_id", "alpha"}, {"description", "second"}}, lSecond));
    EXPECT_GT(lSecond, lFirst);
    EXPECT_FALSE(table.Create({{"unique_id", "zeta"}}, lFirst)) << "the id is unique";

    ASSERT_TRUE(table.Update("alpha", "RkFC", "changed"));
    EXPECT_FALSE(table.Update("missing", "x", "y"));
    EXPECT_EQ(Dump(table.Get("alpha")), "unique_id=alpha file=RkFC description=changed");
    EXPECT_TRUE(table.Get("ALPHA").empty());
    EXPECT_EQ(Dump(table.GetDescriptions()),
              "unique_id=zeta description=first unique_id=alpha description=changed");
}

template <typename TTable> void CheckRegisteredFiles(CDatabaseMultiInstance& db)
{
    TTable table(db);
    long lFirst = 0;
    long lSecond = 0;
    ASSERT_TRUE(
        table.Create({{"hash", "h"}, {"file", "ZmlsZQ=="}, {"added", "Sun Dec 6 2026"}}, lFirst));
    ASSERT_TRUE(table.Create({{"hash", "h"}}, lSecond));
    EXPECT_NE(lFirst, lSecond);
    EXPECT_EQ(Dump(table.Get(N(lFirst))), "file=ZmlsZQ== hash=h added=Sun Dec 6 2026");
    for (const QString& sKey : {N(lSecond + 1), QString("abc"), QString(), QString("1 OR 1=1")})
    {
        EXPECT_TRUE(table.Get(sKey).empty()) << sKey.toStdString();
    }
}

TEST_P(CDatabaseTablesTest, RegisteredFilesAreKeyedByRowId)
{
    CheckRegisteredFiles<CTableExportedLimitValues>(*m_pDb);
    CheckRegisteredFiles<CTableExportedChannelSettings>(*m_pDb);
}

MDA_INSTANTIATE_BACKEND_TESTS(CDatabaseTablesTest);

} // namespace

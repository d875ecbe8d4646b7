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

QStringList Values(const TableRows& rows, const QString& sColumn)
{
    QStringList values;
    for (const CTableRecordSet& pair : rows)
    {
        if (pair.GetColumn() == sColumn)
        {
            values << pair.GetValue();
        }
    }
    return values;
}

QStringList Columns(const TableRows& rows)
{
    QStringList columns;
    for (const CTableRecordSet& pair : rows)
    {
        columns << pair.GetColumn();
    }
    return columns;
}

class CDatabaseTablesTest : public MdaTest::CDatabaseBackendTest
{
protected:
    void SetUp() override
    {
        CDatabaseBackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
        {
            return;
        }
        m_pDb = OpenConnection();
        ASSERT_TRUE(m_pDb->IsOpen());
    }

    long NewSession(const TableRows& row = {})
    {
        long lId = 0;
        EXPECT_TRUE(CTableSession(*m_pDb).Create(row, lId)) << m_pDb->LastError().toStdString();
        return lId;
    }

    void NewScan(long lSessionId, long lScanId)
    {
        EXPECT_TRUE(CTableScan(*m_pDb).Create(
            {{CTableScan::c_sColumnSessionId, QString::number(lSessionId)}}, lScanId))
            << m_pDb->LastError().toStdString();
    }

    long NewMeasurement(long lSession, long lScan, long lChannel, long lItem, long lState,
                        const QString& sValue)
    {
        CTableMeasurements table(*m_pDb);
        long lId = 0;
        EXPECT_TRUE(
            table.Create({{CTableMeasurements::c_sColumnSessionId, QString::number(lSession)},
                          {CTableMeasurements::c_sColumnScanId, QString::number(lScan)},
                          {CTableMeasurements::c_sColumnChannelId, QString::number(lChannel)}},
                         lId))
            << m_pDb->LastError().toStdString();
        EXPECT_TRUE(
            table.Update(lSession, lScan, lId,
                         {{CTableMeasurements::c_sColumnMeasurementItem, QString::number(lItem)},
                          {CTableMeasurements::c_sColumnState, QString::number(lState)},
                          {CTableMeasurements::c_sColumnValue, sValue}}))
            << m_pDb->LastError().toStdString();
        return lId;
    }

    std::unique_ptr<CDatabaseMultiInstance> m_pDb;
};

TEST_P(CDatabaseTablesTest, SessionRoundTripReturnsEveryColumnIdFirst)
{
    CTableSession table(*m_pDb);
    const long lFirst = NewSession({{CTableSession::c_sColumnUniquIid, "u1"}});
    const long lSecond = NewSession({{CTableSession::c_sColumnUniquIid, "u2"},
                                     {CTableSession::c_sColumnDescription, "second"},
                                     {CTableSession::c_sColumnLimitFileID, "12"},
                                     {CTableSession::c_sColumnChannelFileID, "5"}});
    EXPECT_GT(lFirst, 0);
    EXPECT_GT(lSecond, lFirst);

    const TableRows row = table.Get(lSecond);
    EXPECT_EQ(Columns(row),
              (QStringList{"id", "unique_id", "description", "first_run", "last_run", "scan_count",
                           "site", "test_point", "name", "e_number", "t_number", "e_mail",
                           "hw_model", "firmware_version", "software_version", "serial_nr", "owner",
                           "limit_file_id", "channel_file_id"}));
    EXPECT_EQ(Values(row, CTableSession::c_sColumnId), QStringList{QString::number(lSecond)});
    EXPECT_EQ(Values(row, CTableSession::c_sColumnDescription), QStringList{"second"});
    EXPECT_EQ(Values(row, CTableSession::c_sColumnScanCount), QStringList{"0"});
    EXPECT_EQ(Values(row, CTableSession::c_sColumnLimitFileID), QStringList{"12"});

    // Update touches the given columns only.
    ASSERT_TRUE(table.Update(lSecond, {{CTableSession::c_sColumnSite, "roof"},
                                       {CTableSession::c_sColumnLastRun, "2026-01-02 03:04:05"}}));
    const TableRows updated = table.Get(lSecond);
    EXPECT_EQ(Values(updated, CTableSession::c_sColumnSite), QStringList{"roof"});
    EXPECT_EQ(Values(updated, CTableSession::c_sColumnLastRun), QStringList{"2026-01-02 03:04:05"});
    EXPECT_EQ(Values(updated, CTableSession::c_sColumnDescription), QStringList{"second"});
    EXPECT_EQ(Values(table.Get(lFirst), CTableSession::c_sColumnSite), QStringList{""});

    EXPECT_TRUE(table.Get(lSecond + 100).empty());
    EXPECT_FALSE(table.Update(lSecond + 100, {{CTableSession::c_sColumnSite, "x"}}));
    EXPECT_FALSE(m_pDb->LastError().isEmpty());
    EXPECT_FALSE(table.Update(lFirst, {{"no_such_column", "x"}}));
    EXPECT_TRUE(m_pDb->LastError().contains("no_such_column"));
    EXPECT_FALSE(table.Update(lFirst, {{CTableSession::c_sColumnScanCount, "many"}}));
}

TEST_P(CDatabaseTablesTest, SessionFilterIsCaseInsensitiveContainmentOverFiveColumns)
{
    const QString sSessionColumns[] = {
        CTableSession::c_sColumnUniquIid, CTableSession::c_sColumnDescription,
        CTableSession::c_sColumnSite,     CTableSession::c_sColumnTestPoint,
        CTableSession::c_sColumnName,     CTableSession::c_sColumnOwner,
    };
    const QString sTexts[] = {"AlphaUid", "Beta desc",   "Gamma Süd",
                              "50%_off",  "Name O'Neil", "OwnerOnly"};
    std::vector<long> ids;
    for (size_t i = 0; i < std::size(sTexts); ++i)
    {
        ids.push_back(NewSession({{sSessionColumns[i], sTexts[i]}}));
    }
    struct stCase
    {
        const char* pFilter;
        std::vector<size_t> expected;
    };
    const stCase cases[] = {
        {"", {0, 1, 2, 3, 4, 5}},
        {"alphauid", {0}},
        {"ESC", {1}},
        {"SÜD", {2}},
        {"%", {3}},
        {"_", {3}},
        {"0%_O", {3}},
        {"o'neil", {4}},
        {"OwnerOnly", {}},
        {"' OR '1'='1", {}},
        {"a%", {}},
        {"x'); DROP TABLE session; --", {}},
    };
    CTableSession table(*m_pDb);
    for (const stCase& c : cases)
    {
        SCOPED_TRACE(c.pFilter);
        QStringList expected;
        for (size_t i : c.expected)
        {
            expected << QString::number(ids[i]);
        }
        TableRows all;
        ASSERT_TRUE(table.Get(QString::fromUtf8(c.pFilter), all));
        EXPECT_EQ(Values(all, CTableSession::c_sColumnId), expected);
        EXPECT_EQ(all.size(), static_cast<size_t>(expected.size()) * 19);
        TableRows idsOnly;
        ASSERT_TRUE(table.GetSessionIds(QString::fromUtf8(c.pFilter), idsOnly));
        EXPECT_EQ(Columns(idsOnly).count("id"), expected.size());
        EXPECT_EQ(idsOnly.size(), static_cast<size_t>(expected.size()));
        EXPECT_EQ(Values(idsOnly, CTableSession::c_sColumnId), expected);
    }
    // The hostile filters changed nothing.
    TableRows after;
    ASSERT_TRUE(table.Get(QString(), after));
    EXPECT_EQ(Values(after, CTableSession::c_sColumnId).size(), 6);
}

TEST_P(CDatabaseTablesTest, ScansAreKeptPerSessionInAscendingOrder)
{
    const long lSession = NewSession();
    const long lOther = NewSession();
    for (long lScanId : {7L, 2L, 5L})
    {
        NewScan(lSession, lScanId);
    }
    NewScan(lOther, 2); // the same scan id in another session

    CTableScan table(*m_pDb);
    EXPECT_FALSE(table.Create({{CTableScan::c_sColumnSessionId, QString::number(lSession)}}, 5));
    EXPECT_FALSE(table.Create({{CTableScan::c_sColumnSessionId, "999"}}, 1))
        << "a scan needs its session";

    TableRows ids;
    ASSERT_TRUE(table.GetScanIds(lSession, ids));
    EXPECT_EQ(Values(ids, CTableScan::c_sColumnId), (QStringList{"2", "5", "7"}));

    EXPECT_EQ(Columns(table.Get(lSession, 5)),
              (QStringList{"id", "session_id", "state", "date_time"}));
    EXPECT_EQ(Values(table.Get(lSession, 5), CTableScan::c_sColumnState), QStringList{"-1"});
    ASSERT_TRUE(table.Update(lSession, 5,
                             {{CTableScan::c_sColumnState, "2"},
                              {CTableScan::c_sColumnDatetime, "2026-12-06 10:00:00"}}));
    const TableRows scan = table.Get(lSession, 5);
    EXPECT_EQ(Values(scan, CTableScan::c_sColumnState), QStringList{"2"});
    EXPECT_EQ(Values(scan, CTableScan::c_sColumnDatetime), QStringList{"2026-12-06 10:00:00"});
    EXPECT_EQ(Values(table.Get(lOther, 2), CTableScan::c_sColumnState), QStringList{"-1"});
    EXPECT_FALSE(table.Update(lOther, 5, {{CTableScan::c_sColumnState, "1"}}));
    EXPECT_TRUE(table.Get(lOther, 5).empty());

    CTableSession sessions(*m_pDb);
    EXPECT_EQ(sessions.GetHighestScanID(lSession), 7);
    EXPECT_EQ(sessions.GetHighestScanID(NewSession()), 0);
    QHash<int, int> counts;
    ASSERT_TRUE(sessions.GetScanCounts({{CTableSession::c_sColumnId, QString::number(lSession)},
                                        {CTableSession::c_sColumnId, QString::number(lOther)},
                                        {CTableSession::c_sColumnId, "424242"}},
                                       counts));
    EXPECT_EQ(counts.value(lSession), 3);
    EXPECT_EQ(counts.value(lOther), 1);
    EXPECT_EQ(counts.value(424242, -1), 0);
}

TEST_P(CDatabaseTablesTest, MeasurementReadsSelectAndOrderRows)
{
    const long lSession = NewSession();
    const long lOther = NewSession();
    NewScan(lSession, 10);
    NewScan(lSession, 4);
    NewScan(lOther, 4);
    // Scan 10 is recorded first: positions follow scan ids, not the order of recording.
    const long m1 = NewMeasurement(lSession, 10, 0, 15, 2, "1.5 dB");
    const long m2 = NewMeasurement(lSession, 10, 1, 15, 3, "");
    const long m3 = NewMeasurement(lSession, 4, 0, 15, 4, "99 dB");
    const long m4 = NewMeasurement(lSession, 4, 0, 16, 2, "7");
    const long m5 = NewMeasurement(lOther, 4, 0, 15, 3, "other");
    const auto ids = [](std::initializer_list<long> list)
    {
        QStringList texts;
        for (long l : list)
        {
            texts << QString::number(l);
        }
        return texts;
    };

    CTableMeasurements table(*m_pDb);
    const TableRows one = table.Get(lSession, 4, m3);
    EXPECT_EQ(Columns(one),
              (QStringList{"id", "session_id", "scan_id", "channel_id", "measurement_item", "state",
                           "value", "error_description"}));
    EXPECT_EQ(Values(one, CTableMeasurements::c_sColumnValue), QStringList{"99 dB"});
    EXPECT_TRUE(table.Get(lSession, 10, m3).empty()) << "wrong scan";
    EXPECT_FALSE(table.Update(lOther, 4, m3, {{CTableMeasurements::c_sColumnValue, "x"}}));

    struct stCase
    {
        const char* pName;
        std::function<bool(TableRows&)> read;
        QStringList expected;
    };
    const stCase cases[] = {
        {"all results", [&](TableRows& r) { return table.GetAllResultsForSession(lSession, r); },
         ids({m1, m2, m3, m4})},
        {"errors", [&](TableRows& r) { return table.GetAllErrorsForSession(lSession, r); },
         ids({m2, m3})},
        {"scan position 0 channel 0",
         [&](TableRows& r) { return table.GetAllMeasurementsForChannel(lSession, 0, 0, r); },
         ids({m3, m4})},
        {"scan position 1 channel 0",
         [&](TableRows& r) { return table.GetAllMeasurementsForChannel(lSession, 1, 0, r); },
         ids({m1})},
        {"scan position 2",
         [&](TableRows& r) { return table.GetAllMeasurementsForChannel(lSession, 2, 0, r); },
         ids({})},
        {"scan position -1",
         [&](TableRows& r) { return table.GetAllMeasurementsForChannel(lSession, -1, 0, r); },
         ids({})},
        {"item 15 of channel 0",
         [&](TableRows& r) { return table.GetMeasurementsForChannel(lSession, 0, 15, r); },
         ids({m1, m3})},
        {"other session", [&](TableRows& r) { return table.GetAllResultsForSession(lOther, r); },
         ids({m5})},
    };
    for (const stCase& c : cases)
    {
        SCOPED_TRACE(c.pName);
        TableRows rows;
        ASSERT_TRUE(c.read(rows)) << m_pDb->LastError().toStdString();
        EXPECT_EQ(Values(rows, CTableMeasurements::c_sColumnId), c.expected);
        ASSERT_EQ(rows.size(), static_cast<size_t>(c.expected.size()) * 8);
        for (size_t i = 7; i < rows.size(); i += 8)
        {
            EXPECT_EQ(rows[i].GetColumn(), CTableMeasurements::c_sColumnErrorDescription);
        }
    }
    EXPECT_EQ(table.GetAmountOfMeasurementValuesForChannel(lSession, 0), 3);
    EXPECT_EQ(table.GetAmountOfMeasurementValuesForChannel(lSession, 5), 0);

    long lOrphan = 0;
    EXPECT_FALSE(table.Create({{CTableMeasurements::c_sColumnSessionId, QString::number(lSession)},
                               {CTableMeasurements::c_sColumnScanId, "3"},
                               {CTableMeasurements::c_sColumnChannelId, "0"}},
                              lOrphan))
        << "a measurement needs its scan";
}

TEST_P(CDatabaseTablesTest, ExportFilesAreKeyedByUniqueId)
{
    CTableExportFiles table(*m_pDb);
    long lFirst = 0;
    long lSecond = 0;
    ASSERT_TRUE(table.Create({{CTableExportFiles::c_sColumnId, "zeta"},
                              {CTableExportFiles::c_sColumnFile, "QUJD"},
                              {CTableExportFiles::c_sColumnDescription, "first"}},
                             lFirst));
    ASSERT_TRUE(table.Create({{CTableExportFiles::c_sColumnId, "alpha"},
                              {CTableExportFiles::c_sColumnDescription, "second"}},
                             lSecond));
    EXPECT_GT(lSecond, lFirst);
    long lDuplicate = 0;
    EXPECT_FALSE(table.Create({{CTableExportFiles::c_sColumnId, "zeta"}}, lDuplicate));

    ASSERT_TRUE(table.Update("alpha", "RkFC", "changed"));
    EXPECT_FALSE(table.Update("missing", "x", "y"));
    const TableRows alpha = table.Get("alpha");
    EXPECT_EQ(Columns(alpha), (QStringList{"unique_id", "file", "description"}));
    EXPECT_EQ(Values(alpha, CTableExportFiles::c_sColumnFile), QStringList{"RkFC"});
    EXPECT_EQ(Values(alpha, CTableExportFiles::c_sColumnDescription), QStringList{"changed"});
    EXPECT_TRUE(table.Get("missing").empty());
    EXPECT_TRUE(table.Get("ALPHA").empty());

    // Stored order, not alphabetical.
    const TableRows list = table.GetDescriptions();
    EXPECT_EQ(Columns(list), (QStringList{"unique_id", "description", "unique_id", "description"}));
    EXPECT_EQ(Values(list, CTableExportFiles::c_sColumnId), (QStringList{"zeta", "alpha"}));
}

template <typename TTable> void CheckRegisteredFiles(CDatabaseMultiInstance& db)
{
    TTable table(db);
    long lFirst = 0;
    long lSecond = 0;
    ASSERT_TRUE(table.Create({{TTable::c_sColumnHash, "h"},
                              {TTable::c_sColumnFile, "ZmlsZQ=="},
                              {TTable::c_sColumnAdded, "Sun Dec 6 02:00:00 2026"}},
                             lFirst));
    ASSERT_TRUE(table.Create({{TTable::c_sColumnHash, "h"}}, lSecond));
    EXPECT_NE(lFirst, lSecond);
    const TableRows row = table.Get(QString::number(lFirst));
    EXPECT_EQ(Columns(row), (QStringList{"file", "hash", "added"}));
    EXPECT_EQ(Values(row, TTable::c_sColumnFile), QStringList{"ZmlsZQ=="});
    EXPECT_EQ(Values(row, TTable::c_sColumnAdded), QStringList{"Sun Dec 6 02:00:00 2026"});
    for (const QString& sKey :
         {QString::number(lSecond + 1), QString("abc"), QString(), QString("1 OR 1=1")})
    {
        SCOPED_TRACE(sKey.toStdString());
        EXPECT_TRUE(table.Get(sKey).empty());
    }
}

TEST_P(CDatabaseTablesTest, RegisteredFilesAreKeyedByRowId)
{
    CheckRegisteredFiles<CTableExportedLimitValues>(*m_pDb);
    CheckRegisteredFiles<CTableExportedChannelSettings>(*m_pDb);
}

MDA_INSTANTIATE_BACKEND_TESTS(CDatabaseTablesTest);

} // namespace

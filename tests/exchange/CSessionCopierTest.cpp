#include "CSessionCopier.h"
#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "CDBSessionControler.h"
#include "CDatabaseTransaction.h"
#include "CSessionContentDigest.h"
#include "DatabaseTestBackend.h"

#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <thread>
#include <tuple>
#include <vector>

using namespace LumoraMeasurement;
using MdaTest::EBackend;
using OrvelFramework::CDatabaseMultiInstance;

namespace
{

// One stored row as the test writes it: scan, channel, item, state, value, error text; item
// -1 leaves the row as created (not measured).
struct SRow
{
    long m_lScan;
    qint64 m_llChannel;
    long m_lItem;
    long m_lState;
    QString m_sValue;
    QString m_sError;
};

const std::vector<SRow>& HostileRows()
{
    static const std::vector<SRow> s_Rows = {
        {1, 0, 5, 3, QStringLiteral("-12.5 dBµV"), QString()},
        {1, 0, 6, 3, QStringLiteral("1,5;\"quoted\" 'x'"), QStringLiteral("a,b\n\"c\"")},
        {1, 1, 7, 2, QString(), QStringLiteral("Lock failed: %n %s %1 ☃ 日本")},
        {1, 2, -1, -1, QString(), QString()},
        {1, 999, 5, 4, QStringLiteral("1e999 dBmV"), QString()},
        // What COPY's text format gives a meaning: backslash, its end and null markers, tab.
        {2, 0, 5, 3, QStringLiteral("  spaced \\N "), QStringLiteral("\t\\.\n\\")},
        {2, Q_INT64_C(1099511627776), 8, 3, QStringLiteral("7 MHz"), QString()},
        {2, 1, 6, 3, QStringLiteral("=SUM(A1)"), QStringLiteral("ok")},
        {3, 0, 5, 3, QStringLiteral("3.25 dBµV"), QString()},
    };
    return s_Rows;
}

QString WriteFile(const QTemporaryDir& dir, const QString& sName, const QByteArray& bytes)
{
    const QString sPath = dir.filePath(sName);
    QFile file(sPath);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return sPath;
}

// Records a session the way a measurement run does; the scans 1 to 3 get states 2, 3, 2.
long Record(CDatabaseMultiInstance& db, const QTemporaryDir& dir, const QString& sUniqueId,
            const std::vector<SRow>& rows, const QByteArray& channelFile = "{\"channels\": 1}",
            const QByteArray& limitFile = "{\"limits\": \"ä\"}")
{
    long lSession = 0;
    EXPECT_TRUE(CDBSessionControler(db).Create(
        lSession, sUniqueId, QStringLiteral("Kabel, \"Nord\" ☃"),
        WriteFile(dir, QStringLiteral("c.channel"), channelFile),
        WriteFile(dir, QStringLiteral("l.limit"), limitFile), QStringLiteral("TP 1"),
        QStringLiteral("Site %n"), QStringLiteral("a@b.c"), QStringLiteral("E1"),
        QStringLiteral("Name"), QStringLiteral("T1"), QStringLiteral("HW"), QStringLiteral("FW"),
        QStringLiteral("SW"), QStringLiteral("SN"), QStringLiteral("Owner")))
        << db.LastError().toStdString();
    OrvelFramework::CDatabaseTransaction transaction(db);
    CDBScanController scans(db);
    for (long lScan = 1; lScan <= 3; ++lScan)
    {
        long lId = lScan;
        EXPECT_TRUE(scans.Create(lSession, lId));
        const CDBScanData scan(lSession, lScan);
        EXPECT_TRUE(scans.Update(scan, lScan == 2 ? 3 : 2));
    }
    CDBMeasurementController measurements(db);
    for (const SRow& row : rows)
    {
        long lId = 0;
        EXPECT_TRUE(
            measurements.Create(lSession, row.m_lScan, static_cast<long>(row.m_llChannel), lId));
        if (row.m_lItem < 0)
        {
            continue;
        }
        CDBMeasurement measurement;
        measurement.SetSessionId(lSession);
        measurement.SetScanId(row.m_lScan);
        measurement.SetMeasurementId(lId);
        measurement.SetChannelId(row.m_llChannel);
        measurement.SetMeasurementItem(row.m_lItem);
        measurement.SetMeasurementState(row.m_lState);
        measurement.SetValue(row.m_sValue);
        measurement.SetErrorDescription(row.m_sError);
        EXPECT_TRUE(measurements.Update(measurement)) << db.LastError().toStdString();
    }
    EXPECT_TRUE(transaction.Commit());
    return lSession;
}

std::vector<CDBMeasurement> Rows(CDatabaseMultiInstance& db, long lSession)
{
    std::vector<CDBMeasurement> rows;
    EXPECT_TRUE(
        CDBMeasurementController(db).ForEachResultOfSession(lSession,
                                                            [&rows](const CDBMeasurement& row)
                                                            {
                                                                rows.push_back(row);
                                                                return true;
                                                            }));
    return rows;
}

QString Digest(CDatabaseMultiInstance& db, long lSession)
{
    QString sDigest;
    QString sError;
    qint64 llRows = 0;
    EXPECT_TRUE(CSessionContentDigest::Compute(db, lSession, sDigest, llRows, sError))
        << sError.toStdString();
    return sDigest;
}

std::vector<long> Held(CDatabaseMultiInstance& db, const QString& sUniqueId)
{
    std::vector<long> ids;
    EXPECT_TRUE(CDBSessionControler(db).GetSessionIdsByUniqueId(sUniqueId, ids));
    return ids;
}

using BackendPair = std::tuple<EBackend, EBackend>;

std::string PairName(const ::testing::TestParamInfo<BackendPair>& info)
{
    const auto name = [](EBackend e) { return e == EBackend::Sqlite ? "SQLite" : "PostgreSQL"; };
    return std::string(name(std::get<0>(info.param))) + "To" + name(std::get<1>(info.param));
}

class CSessionCopierTest : public ::testing::TestWithParam<BackendPair>
{
protected:
    void SetUp() override
    {
        m_pSourceDb = std::make_unique<MdaTest::CTestDatabase>(std::get<0>(GetParam()));
        m_pTargetDb = std::make_unique<MdaTest::CTestDatabase>(std::get<1>(GetParam()));
        if (!m_pSourceDb->m_bConfigured || !m_pTargetDb->m_bConfigured)
        {
            GTEST_SKIP() << "PostgreSQL not configured (MDA_TEST_PG_URL, MDA_TEST_PG_USER, "
                            "MDA_TEST_PG_PASSWORD)";
        }
        ASSERT_TRUE(m_pSourceDb->m_bReady) << m_pSourceDb->m_sError.toStdString();
        ASSERT_TRUE(m_pTargetDb->m_bReady) << m_pTargetDb->m_sError.toStdString();
        m_pSource = m_pSourceDb->NewConnection();
        m_pTarget = m_pTargetDb->NewConnection();
        ASSERT_TRUE(m_pSource->Open()) << m_pSource->LastError().toStdString();
        ASSERT_TRUE(m_pTarget->Open()) << m_pTarget->LastError().toStdString();
    }

    bool IsTargetSqlite() const { return std::get<1>(GetParam()) == EBackend::Sqlite; }

    QTemporaryDir m_Dir;
    std::unique_ptr<MdaTest::CTestDatabase> m_pSourceDb;
    std::unique_ptr<MdaTest::CTestDatabase> m_pTargetDb;
    std::unique_ptr<CDatabaseMultiInstance> m_pSource;
    std::unique_ptr<CDatabaseMultiInstance> m_pTarget;
};

TEST_P(CSessionCopierTest, CopiesEveryColumnOfAHostileSessionAndSkipsItTheSecondTime)
{
    const long lSource = Record(*m_pSource, m_Dir, QStringLiteral("uid-hostile"), HostileRows());
    // A session already on the target shifts its ids away from the source's.
    Record(*m_pTarget, m_Dir, QStringLiteral("uid-other"), {});
    CSessionCopier copier(*m_pSource, *m_pTarget);
    copier.SetReadBack(true);
    CSessionCopier::SResult result;
    ASSERT_TRUE(copier.CopySession(lSource, result)) << result.m_sReason.toStdString();
    EXPECT_EQ(CSessionCopier::eOutcome_Copied, result.m_eOutcome);
    EXPECT_EQ(QStringLiteral("uid-hostile"), result.m_sUniqueId);
    EXPECT_EQ(9, result.m_llValues);
    EXPECT_EQ(64, result.m_sSourceDigest.size());
    EXPECT_NE(lSource, result.m_lTargetId);
    EXPECT_EQ(std::vector<long>{result.m_lTargetId},
              Held(*m_pTarget, QStringLiteral("uid-hostile")));
    EXPECT_EQ(result.m_sSourceDigest, Digest(*m_pTarget, result.m_lTargetId));
    EXPECT_EQ(Digest(*m_pSource, lSource), result.m_sSourceDigest);

    const CDBSessionData source = CDBSessionControler(*m_pSource).GetData(lSource);
    const CDBSessionData copy = CDBSessionControler(*m_pTarget).GetData(result.m_lTargetId);
    EXPECT_EQ(source.Description(), copy.Description());
    EXPECT_EQ(source.FirstRun(), copy.FirstRun());
    QString sSite;
    QString sTestPoint;
    copy.GetSessionLocationData(sSite, sTestPoint);
    EXPECT_EQ(QStringLiteral("Site %n"), sSite);
    QString sLimitId;
    QString sChannelId;
    copy.GetAssociatedFiles(sLimitId, sChannelId);
    QByteArray bytes;
    ASSERT_TRUE(CDBSessionControler(*m_pTarget).GetRegisteredLimitValuesFile(sLimitId, bytes));
    EXPECT_EQ(QByteArray("{\"limits\": \"ä\"}"), bytes);
    ASSERT_TRUE(
        CDBSessionControler(*m_pTarget).GetRegisteredChannelSettingsFile(sChannelId, bytes));
    EXPECT_EQ(QByteArray("{\"channels\": 1}"), bytes);

    std::vector<CDBScanData> scans;
    ASSERT_TRUE(CDBScanController(*m_pTarget).GetAllData(result.m_lTargetId, scans));
    ASSERT_EQ(3u, scans.size());
    std::vector<CDBScanData> sourceScans;
    ASSERT_TRUE(CDBScanController(*m_pSource).GetAllData(lSource, sourceScans));
    for (size_t i = 0; i < scans.size(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(static_cast<qint64>(i + 1), scans[i].GetScanId());
        EXPECT_EQ(i == 1 ? 3 : 2, scans[i].GetState());
        EXPECT_EQ(sourceScans[i].DateTime(), scans[i].DateTime());
    }

    const std::vector<CDBMeasurement> rows = Rows(*m_pTarget, result.m_lTargetId);
    const std::vector<CDBMeasurement> sourceRows = Rows(*m_pSource, lSource);
    ASSERT_EQ(9u, rows.size());
    ASSERT_EQ(sourceRows.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(result.m_lTargetId, rows[i].GetSessionId());
        EXPECT_EQ(sourceRows[i].GetScanId(), rows[i].GetScanId());
        EXPECT_EQ(sourceRows[i].GetChannelId(), rows[i].GetChannelId());
        EXPECT_EQ(sourceRows[i].GetMeasurementItem(), rows[i].GetMeasurementItem());
        EXPECT_EQ(sourceRows[i].GetMeasurementState(), rows[i].GetMeasurementState());
        EXPECT_EQ(sourceRows[i].GetValue(), rows[i].GetValue());
        EXPECT_EQ(sourceRows[i].GetErrorDescription(), rows[i].GetErrorDescription());
    }
    // The not-measured row stays not measured; the far channel keeps its 64-bit id.
    EXPECT_EQ(-1, rows[3].GetMeasurementItem());
    EXPECT_EQ(Q_INT64_C(1099511627776), rows[7].GetChannelId());

    CSessionCopier::SResult again;
    ASSERT_TRUE(copier.CopySession(lSource, again)) << again.m_sReason.toStdString();
    EXPECT_EQ(CSessionCopier::eOutcome_AlreadyThere, again.m_eOutcome);
    EXPECT_EQ(result.m_lTargetId, again.m_lTargetId);
    EXPECT_EQ(again.m_sSourceDigest, again.m_sTargetDigest);
    EXPECT_EQ(9, again.m_llValues);
    EXPECT_EQ(std::vector<long>{result.m_lTargetId},
              Held(*m_pTarget, QStringLiteral("uid-hostile")));
}

// The rows go over in batches: a session of several batches arrives row for row, once.
TEST_P(CSessionCopierTest, ASessionOfSeveralBatchesArrivesRowForRowOnce)
{
    std::vector<SRow> rows;
    for (long i = 0; i < 2 * 4096 + 3; ++i)
    {
        rows.push_back({1 + i % 3, i % 50, 5, 3, QString::number(i) + QStringLiteral(" dBuV"),
                        QString()});
    }
    const long lSource = Record(*m_pSource, m_Dir, QStringLiteral("uid-batches"), rows);
    CSessionCopier copier(*m_pSource, *m_pTarget);
    CSessionCopier::SResult result;
    ASSERT_TRUE(copier.CopySession(lSource, result)) << result.m_sReason.toStdString();
    EXPECT_EQ(static_cast<qint64>(rows.size()), result.m_llValues);
    const std::vector<CDBMeasurement> copied = Rows(*m_pTarget, result.m_lTargetId);
    const std::vector<CDBMeasurement> source = Rows(*m_pSource, lSource);
    ASSERT_EQ(rows.size(), copied.size());
    for (size_t i = 0; i < copied.size(); i += 1023)
    {
        EXPECT_EQ(source[i].GetValue(), copied[i].GetValue()) << i;
    }
    EXPECT_EQ(result.m_sSourceDigest, Digest(*m_pTarget, result.m_lTargetId));
}

TEST_P(CSessionCopierTest, SameUniqueIdWithOtherContentIsRefusedWithBothDigests)
{
    std::vector<SRow> rows = HostileRows();
    const long lSource = Record(*m_pSource, m_Dir, QStringLiteral("uid-clash"), rows);
    rows.back().m_sValue = QStringLiteral("3.26 dBµV");
    const long lTarget = Record(*m_pTarget, m_Dir, QStringLiteral("uid-clash"), rows);
    const QString sTargetDigest = Digest(*m_pTarget, lTarget);
    CSessionCopier copier(*m_pSource, *m_pTarget);
    CSessionCopier::SResult result;
    EXPECT_FALSE(copier.CopySession(lSource, result));
    EXPECT_EQ(CSessionCopier::eOutcome_Refused, result.m_eOutcome);
    EXPECT_EQ(sTargetDigest, result.m_sTargetDigest);
    EXPECT_EQ(Digest(*m_pSource, lSource), result.m_sSourceDigest);
    EXPECT_NE(result.m_sSourceDigest, result.m_sTargetDigest);
    EXPECT_EQ(QStringLiteral("The target's session %1 has the unique id uid-clash with other "
                             "content (source digest %2, target digest %3)")
                  .arg(lTarget)
                  .arg(result.m_sSourceDigest, sTargetDigest),
              result.m_sReason);
    EXPECT_EQ(std::vector<long>{lTarget}, Held(*m_pTarget, QStringLiteral("uid-clash")));
    EXPECT_EQ(sTargetDigest, Digest(*m_pTarget, lTarget));
}

TEST_P(CSessionCopierTest, SessionsWithTheSameFilesShareTheTargetsRegistration)
{
    // The target registered the same channel table before; the limit file is new to it.
    const long lOld = Record(*m_pTarget, m_Dir, QStringLiteral("uid-old"), {}, "{\"channels\": 1}",
                             "{\"other\": 1}");
    const long lFirst = Record(*m_pSource, m_Dir, QStringLiteral("uid-a"), HostileRows());
    const long lSecond = Record(*m_pSource, m_Dir, QStringLiteral("uid-b"), {});
    CSessionCopier copier(*m_pSource, *m_pTarget);
    CSessionCopier::SResult first;
    CSessionCopier::SResult second;
    ASSERT_TRUE(copier.CopySession(lFirst, first)) << first.m_sReason.toStdString();
    ASSERT_TRUE(copier.CopySession(lSecond, second)) << second.m_sReason.toStdString();
    QString sLimits[3];
    QString sChannels[3];
    CDBSessionControler sessions(*m_pTarget);
    sessions.GetData(lOld).GetAssociatedFiles(sLimits[0], sChannels[0]);
    sessions.GetData(first.m_lTargetId).GetAssociatedFiles(sLimits[1], sChannels[1]);
    sessions.GetData(second.m_lTargetId).GetAssociatedFiles(sLimits[2], sChannels[2]);
    EXPECT_EQ(sChannels[0], sChannels[1]);
    EXPECT_EQ(sChannels[0], sChannels[2]);
    EXPECT_NE(sLimits[0], sLimits[1]);
    EXPECT_EQ(sLimits[1], sLimits[2]);
    EXPECT_EQ(0, second.m_llValues);
}

TEST_P(CSessionCopierTest, AFailedWriteLeavesNothingOnTheTarget)
{
    // More rows than one batch, the last of which the target refuses.
    std::vector<SRow> rows;
    for (int i = 0; i < 5000; ++i)
    {
        rows.push_back(
            {1 + i % 3, i % 40, 5, 3, QString::number(i) + QStringLiteral(" dBµV"), QString()});
    }
    rows.push_back({3, 1, 5, 3, QStringLiteral("boom"), QString()});
    const long lSource = Record(*m_pSource, m_Dir, QStringLiteral("uid-boom"), rows);
    ASSERT_TRUE(
        IsTargetSqlite()
            ? m_pTargetDb->ExecuteDirect(QStringLiteral(
                  "CREATE TRIGGER no_boom BEFORE INSERT ON measurement WHEN NEW.value = 'boom' "
                  "BEGIN SELECT RAISE(ABORT, 'boom refused'); END"))
            : m_pTargetDb->ExecuteDirect(QStringLiteral(
                  "ALTER TABLE measurement ADD CONSTRAINT no_boom CHECK (value <> 'boom')")))
        << m_pTargetDb->m_sError.toStdString();
    CSessionCopier copier(*m_pSource, *m_pTarget);
    CSessionCopier::SResult result;
    EXPECT_FALSE(copier.CopySession(lSource, result));
    EXPECT_EQ(CSessionCopier::eOutcome_Failed, result.m_eOutcome);
    EXPECT_TRUE(result.m_sReason.startsWith(
        QStringLiteral("Cannot store the rows of session %1: ").arg(lSource)))
        << result.m_sReason.toStdString();
    EXPECT_EQ(0, result.m_lTargetId);
    std::vector<CDBSessionData> sessions;
    ASSERT_TRUE(CDBSessionControler(*m_pTarget).ReadSessionData(QString(), sessions));
    EXPECT_TRUE(sessions.empty());
    QByteArray bytes;
    ASSERT_TRUE(CDBSessionControler(*m_pTarget).GetRegisteredLimitValuesFile("1", bytes));
    EXPECT_TRUE(bytes.isEmpty());
    EXPECT_TRUE(Rows(*m_pTarget, 1).empty());
}

// A batch the target refuses in the middle of the read ends the copy, even when a second try
// would have been taken: the rows after it were never read.
TEST_P(CSessionCopierTest, ABatchRefusedOnceInTheMiddleFailsTheCopy)
{
    if (!IsTargetSqlite())
    {
        GTEST_SKIP() << "the refusal that passes on the second try is a SQLite trigger";
    }
    std::vector<SRow> rows;
    for (int i = 0; i < 5000; ++i)
    {
        rows.push_back({1 + i % 3, i % 40, 5, 3, QString::number(i), QString()});
    }
    const long lSource = Record(*m_pSource, m_Dir, QStringLiteral("uid-once"), rows);
    ASSERT_TRUE(m_pTargetDb->ExecuteDirect(QStringLiteral("CREATE TABLE refused (x)")));
    ASSERT_TRUE(m_pTargetDb->ExecuteDirect(QStringLiteral(
        "CREATE TRIGGER refuse_once BEFORE INSERT ON measurement WHEN NOT EXISTS "
        "(SELECT 1 FROM refused) BEGIN INSERT INTO refused VALUES (1); "
        "SELECT RAISE(FAIL, 'refused once'); END")));
    CSessionCopier copier(*m_pSource, *m_pTarget);
    CSessionCopier::SResult result;
    EXPECT_FALSE(copier.CopySession(lSource, result));
    EXPECT_TRUE(result.m_sReason.contains(QStringLiteral("refused once")))
        << result.m_sReason.toStdString();
    std::vector<CDBSessionData> sessions;
    ASSERT_TRUE(CDBSessionControler(*m_pTarget).ReadSessionData(QString(), sessions));
    EXPECT_TRUE(sessions.empty());
}

TEST_P(CSessionCopierTest, ConcurrentCopiesOfOneSessionStoreItOnce)
{
    const long lSource = Record(*m_pSource, m_Dir, QStringLiteral("uid-race"), HostileRows());
    std::vector<CSessionCopier::SResult> results(4);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < results.size(); ++i)
    {
        threads.emplace_back(
            [&, i]
            {
                auto pSource = m_pSourceDb->NewConnection();
                auto pTarget = m_pTargetDb->NewConnection();
                if (pSource->OpenForReading() && pTarget->Open())
                {
                    CSessionCopier(*pSource, *pTarget).CopySession(lSource, results[i]);
                }
            });
    }
    for (std::thread& thread : threads)
    {
        thread.join();
    }
    int iCopied = 0;
    int iThere = 0;
    for (const CSessionCopier::SResult& result : results)
    {
        SCOPED_TRACE(result.m_sReason.toStdString());
        iCopied += result.m_eOutcome == CSessionCopier::eOutcome_Copied ? 1 : 0;
        iThere += result.m_eOutcome == CSessionCopier::eOutcome_AlreadyThere ? 1 : 0;
    }
    EXPECT_EQ(1, iCopied);
    EXPECT_EQ(3, iThere);
    const std::vector<long> held = Held(*m_pTarget, QStringLiteral("uid-race"));
    ASSERT_EQ(1u, held.size());
    EXPECT_EQ(Digest(*m_pSource, lSource), Digest(*m_pTarget, held.front()));
}

TEST_P(CSessionCopierTest, ASessionWithoutUniqueIdOrRowIsNotCopied)
{
    const long lSource = Record(*m_pSource, m_Dir, QString(), HostileRows());
    CSessionCopier copier(*m_pSource, *m_pTarget);
    CSessionCopier::SResult result;
    EXPECT_FALSE(copier.CopySession(lSource, result));
    EXPECT_EQ(CSessionCopier::eOutcome_Refused, result.m_eOutcome);
    EXPECT_EQ(QStringLiteral("Session %1 has no unique id to be known by").arg(lSource),
              result.m_sReason);
    EXPECT_FALSE(copier.CopySession(lSource + 100, result));
    EXPECT_EQ(CSessionCopier::eOutcome_Failed, result.m_eOutcome);
    EXPECT_TRUE(
        result.m_sReason.startsWith(QStringLiteral("Cannot read session %1: ").arg(lSource + 100)))
        << result.m_sReason.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Backends, CSessionCopierTest,
    ::testing::Combine(::testing::Values(EBackend::Sqlite, EBackend::PostgreSql),
                       ::testing::Values(EBackend::Sqlite, EBackend::PostgreSql)),
    PairName);

// What the digest covers: every listed change of one field gives another digest; the ids a
// database chooses give the same.
TEST(CSessionContentDigestTest, EveryRecordedFieldCountsAndNoChosenIdDoes)
{
    const auto make =
        [](const std::function<void(CDBSessionData&, CDBScanData&, CDBMeasurement&, QByteArray&)>&
               change)
    {
        CDBSessionData session(7);
        session.SetUniqueIdentifier(QStringLiteral("u"));
        session.SetDescription(QStringLiteral("d"));
        session.SetFirstRun(QStringLiteral("2026-01-02 03:04:05"));
        session.SetAssociatedFiles(1, 2);
        CDBScanData scan(7, 1);
        scan.SetState(2);
        scan.SetDateTime(QStringLiteral("2026-01-02 03:04:06"));
        CDBMeasurement row;
        row.SetMeasurementId(11);
        row.SetSessionId(7);
        row.SetScanId(1);
        row.SetChannelId(3);
        row.SetMeasurementItem(5);
        row.SetMeasurementState(3);
        row.SetValue(QStringLiteral("1 dBmV"));
        QByteArray limitFile("limits");
        change(session, scan, row, limitFile);
        CSessionContentDigest digest;
        digest.AddSession(session, QByteArray("channels"), limitFile);
        digest.AddScan(scan);
        digest.AddRow(row);
        return digest.GetHex();
    };
    const QString sBase = make([](CDBSessionData&, CDBScanData&, CDBMeasurement&, QByteArray&) {});
    // The encoding is the one the README describes; check_copy.py recomputes it from the rows.
    EXPECT_EQ(QStringLiteral("b41f942ddec77360fd301b0dd2e438927ad837349810a0cb7d0c248611d0bf42"),
              sBase);
    struct SCase
    {
        const char* m_pszWhat;
        bool m_bSame;
        std::function<void(CDBSessionData&, CDBScanData&, CDBMeasurement&, QByteArray&)> m_Change;
    };
    const std::vector<SCase> cases = {
        {"session id", true, [](auto& s, auto&, auto&, auto&) { s.SetSessionId(8); }},
        {"file ids", true, [](auto& s, auto&, auto&, auto&) { s.SetAssociatedFiles(5, 6); }},
        {"row id", true, [](auto&, auto&, auto& r, auto&) { r.SetMeasurementId(12); }},
        {"row's session", true, [](auto&, auto&, auto& r, auto&) { r.SetSessionId(9); }},
        {"unique id", false, [](auto& s, auto&, auto&, auto&) { s.SetUniqueIdentifier("v"); }},
        {"description", false, [](auto& s, auto&, auto&, auto&) { s.SetDescription("e"); }},
        {"last run", false, [](auto& s, auto&, auto&, auto&) { s.SetLastRun("x"); }},
        {"scan count", false, [](auto& s, auto&, auto&, auto&) { s.SetScanCount(1); }},
        {"site", false, [](auto& s, auto&, auto&, auto&) { s.SetSessionLocationData("s", ""); }},
        {"owner", false,
         [](auto& s, auto&, auto&, auto&) { s.SetHardwareInfoData("", "", "", "", "o"); }},
        {"limit file", false, [](auto&, auto&, auto&, auto& f) { f = "limitz"; }},
        {"scan id", false, [](auto&, auto& c, auto&, auto&) { c.SetScanId(2); }},
        {"scan state", false, [](auto&, auto& c, auto&, auto&) { c.SetState(3); }},
        {"scan time", false, [](auto&, auto& c, auto&, auto&) { c.SetDateTime("y"); }},
        {"row scan", false, [](auto&, auto&, auto& r, auto&) { r.SetScanId(2); }},
        {"channel", false, [](auto&, auto&, auto& r, auto&) { r.SetChannelId(4); }},
        {"item", false, [](auto&, auto&, auto& r, auto&) { r.SetMeasurementItem(6); }},
        {"state", false, [](auto&, auto&, auto& r, auto&) { r.SetMeasurementState(2); }},
        {"value", false, [](auto&, auto&, auto& r, auto&) { r.SetValue("1 dBmW"); }},
        {"error text", false, [](auto&, auto&, auto& r, auto&) { r.SetErrorDescription(" "); }},
        // The same characters split differently between two fields.
        {"field boundary", false,
         [](auto&, auto&, auto& r, auto&)
         {
             r.SetValue("1 dBm");
             r.SetErrorDescription("V");
         }},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.m_pszWhat);
        EXPECT_EQ(c.m_bSame, make(c.m_Change) == sBase);
    }

    // Rows are hashed in blocks: a change in the first of many rows counts as one in the last.
    const auto many = [](const QString& sFirstValue)
    {
        CSessionContentDigest digest;
        digest.AddSession(CDBSessionData(7), QByteArray(), QByteArray());
        for (int i = 0; i < 5000; ++i)
        {
            CDBMeasurement row(7, 1, i % 50, i / 50);
            row.SetValue(i == 0 ? sFirstValue : QStringLiteral("12.40 dBmV"));
            digest.AddRow(row);
        }
        return digest.GetHex();
    };
    EXPECT_NE(many("1 dBmV"), many("2 dBmV"));
}

} // namespace

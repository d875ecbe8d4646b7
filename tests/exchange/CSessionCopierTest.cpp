#include "CSessionCopier.h"
#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "CDBSessionControler.h"
#include "CDatabaseTransaction.h"
#include "CSessionContentDigest.h"
#include "DBControllerTestBase.h"

#include <QRegularExpression>

#include <functional>
#include <thread>
#include <tuple>
#include <vector>

using namespace LumoraMeasurement;
using MdaTest::EBackend;
using MdaTest::WriteFile;
using OrvelFramework::CDatabaseMultiInstance;

namespace
{

// One stored row as the test writes it: scan, channel, item, state, value, error text; item
// -1 leaves the row as created (not measured).
struct SRow
{
    long m_lScan;
    qint64 m_llChannel;
    long m_lItem, m_lState;
    QString m_sValue, m_sError;
};

std::vector<SRow> HostileRows()
{
    return {
        {1, 0, 5, 3, QStringLiteral("-12.5 dBµV"), QString()},
        {1, 0, 6, 3, QStringLiteral("1,5;\"quoted\" 'x'"), QStringLiteral("a,b\n\"c\"")},
        {1, 1, 7, 2, QString(), QStringLiteral("Lock failed: %n %s %1 ☃ 日本")},
        {1, 2, -1, -1, QString(), QString()},
        {1, 999, 5, 4, QStringLiteral("1e999 dBmV"), QString()},
        // What COPY's text format gives a meaning: backslash, its end and null markers, tab.
        {2, 0, 5, 3, QStringLiteral("  spaced \\N "), QStringLiteral("\t\\.\r\n\\")},
        {2, Q_INT64_C(1099511627776), 8, 3, QStringLiteral("7 MHz"), QString()},
        {2, 1, 6, 3, QStringLiteral("=SUM(A1)"), QStringLiteral("ok")},
        {3, 0, 5, 3, QStringLiteral("3.25 dBµV"), QString()},
    };
}

// iCount measured rows over the scans 1 to 3 and iChannels channels, valued "<i><sUnit>".
std::vector<SRow> ManyRows(int iCount, int iChannels, const QString& sUnit)
{
    std::vector<SRow> rows;
    for (int i = 0; i < iCount; ++i)
    {
        rows.push_back({1 + i % 3, i % iChannels, 5, 3, QString::number(i) + sUnit, QString()});
    }
    return rows;
}

// Records a session the way a measurement run does; the scans 1 to 3 get states 2, 3, 2.
long Record(CDatabaseMultiInstance& db, const QTemporaryDir& dir, const QString& sUniqueId,
            const std::vector<SRow>& rows, const QByteArray& channelFile = "{\"channels\": 1}",
            const QByteArray& limitFile = "{\"limits\": \"ä\"}")
{
    long lSession = 0;
    EXPECT_TRUE(CDBSessionControler(db).Create(
        lSession, sUniqueId, "Kabel, \"Nord\" ☃", WriteFile(dir, "c.channel", channelFile),
        WriteFile(dir, "l.limit", limitFile), "TP 1", "Site %n", "a@b.c", "E1", "Name", "T1", "HW",
        "FW", "SW", "SN", "Owner"))
        << db.LastError().toStdString();
    OrvelFramework::CDatabaseTransaction transaction(db);
    CDBScanController scans(db);
    for (long lScan = 1; lScan <= 3; ++lScan)
    {
        long lId = lScan;
        EXPECT_TRUE(scans.Create(lSession, lId));
        EXPECT_TRUE(scans.Update(CDBScanData(lSession, lScan), lScan == 2 ? 3 : 2));
    }
    for (const SRow& r : rows)
    {
        long lId = 0;
        if (r.m_lItem < 0)
        {
            EXPECT_TRUE(
                CDBMeasurementController(db).Create(lSession, r.m_lScan, r.m_llChannel, lId));
        }
        else
        {
            MdaTest::Store(db, lSession, r.m_lScan, r.m_llChannel, r.m_lItem, r.m_lState,
                           r.m_sValue, r.m_sError);
        }
    }
    EXPECT_TRUE(transaction.Commit());
    return lSession;
}

// A session's rows as text: whether each names lSession, scan, channel, item, state, value and
// error text.
std::vector<QStringList> Rows(CDatabaseMultiInstance& db, long lSession)
{
    std::vector<QStringList> rows;
    EXPECT_TRUE(CDBMeasurementController(db).ForEachResultOfSession(
        lSession,
        [&](const CDBMeasurement& r)
        {
            rows.push_back(
                {QString::number(r.GetSessionId() == lSession), QString::number(r.GetScanId()),
                 QString::number(r.GetChannelId()), QString::number(r.GetMeasurementItem()),
                 QString::number(r.GetMeasurementState()), r.GetValue(), r.GetErrorDescription()});
            return true;
        }));
    return rows;
}

// A session's scans as "id|state|time".
QStringList Scans(CDatabaseMultiInstance& db, long lSession)
{
    std::vector<CDBScanData> scans;
    EXPECT_TRUE(CDBScanController(db).GetAllData(lSession, scans));
    QStringList lScans;
    for (const CDBScanData& s : scans)
    {
        lScans << QString("%1|%2|%3").arg(s.GetScanId()).arg(s.GetState()).arg(s.DateTime());
    }
    return lScans;
}

QString Digest(CDatabaseMultiInstance& db, long lSession)
{
    QString sDigest, sError;
    qint64 llRows = 0;
    EXPECT_TRUE(CSessionContentDigest::Compute(db, lSession, sDigest, llRows, sError))
        << sError.toStdString();
    return sDigest;
}

// A session's limit and channel file ids, then the bytes registered under them.
QByteArrayList Files(CDatabaseMultiInstance& db, long lSession)
{
    CDBSessionControler sessions(db);
    const QStringList ids = MdaTest::Fields(sessions.GetData(lSession)).mid(13);
    QByteArray limits, channels;
    EXPECT_TRUE(sessions.GetRegisteredLimitValuesFile(ids[0], limits) &&
                sessions.GetRegisteredChannelSettingsFile(ids[1], channels));
    return {ids[0].toUtf8(), ids[1].toUtf8(), limits, channels};
}

std::vector<long> Held(CDatabaseMultiInstance& db, const QString& sUniqueId)
{
    std::vector<long> ids;
    EXPECT_TRUE(CDBSessionControler(db).GetSessionIdsByUniqueId(sUniqueId, ids));
    return ids;
}

using EOutcome = CSessionCopier::EOutcome;
using BackendPair = std::tuple<EBackend, EBackend>;

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
        m_pCopier = std::make_unique<CSessionCopier>(*m_pSource, *m_pTarget);
    }

    bool IsTargetSqlite() const { return std::get<1>(GetParam()) == EBackend::Sqlite; }

    // Copies lSource and checks the outcome; it succeeds when the target then holds it.
    CSessionCopier::SResult Copy(long lSource, EOutcome eOutcome = CSessionCopier::eOutcome_Copied)
    {
        CSessionCopier::SResult result;
        EXPECT_EQ(eOutcome <= CSessionCopier::eOutcome_AlreadyThere,
                  m_pCopier->CopySession(lSource, result))
            << result.m_sReason.toStdString();
        EXPECT_EQ(eOutcome, result.m_eOutcome);
        return result;
    }

    size_t TargetSessions()
    {
        std::vector<CDBSessionData> sessions;
        EXPECT_TRUE(CDBSessionControler(*m_pTarget).ReadSessionData(QString(), sessions));
        return sessions.size();
    }

    QTemporaryDir m_Dir;
    std::unique_ptr<MdaTest::CTestDatabase> m_pSourceDb, m_pTargetDb;
    std::unique_ptr<CDatabaseMultiInstance> m_pSource, m_pTarget;
    std::unique_ptr<CSessionCopier> m_pCopier;
};

TEST_P(CSessionCopierTest, CopiesEveryColumnAndEveryBatchOnceAndSharesTheFiles)
{
    const long lSource = Record(*m_pSource, m_Dir, "uid-hostile", HostileRows());
    // A session already on the target shifts its ids away from the source's; it registered the
    // same channel table before, the limit file is new to it.
    const long lOld =
        Record(*m_pTarget, m_Dir, "uid-other", {}, "{\"channels\": 1}", "{\"other\": 1}");
    m_pCopier->SetReadBack(true);
    const CSessionCopier::SResult result = Copy(lSource);
    EXPECT_EQ(std::tuple("uid-hostile", 9), std::tuple(result.m_sUniqueId, result.m_llValues));
    EXPECT_NE(lSource, result.m_lTargetId);
    EXPECT_EQ(std::vector<long>{result.m_lTargetId}, Held(*m_pTarget, "uid-hostile"));
    EXPECT_EQ(result.m_sSourceDigest, Digest(*m_pTarget, result.m_lTargetId));
    EXPECT_EQ(Digest(*m_pSource, lSource), result.m_sSourceDigest);
    QString sNone = "stale", sError;
    qint64 llNone = 5;
    EXPECT_FALSE(CSessionContentDigest::Compute(*m_pSource, 99999, sNone, llNone, sError));
    EXPECT_EQ(QStringList({sNone, QString::number(llNone), sError}),
              QStringList({"", "0", "There is no session 99999 in the database"}));

    const CDBSessionData source = CDBSessionControler(*m_pSource).GetData(lSource);
    const CDBSessionData copy = CDBSessionControler(*m_pTarget).GetData(result.m_lTargetId);
    EXPECT_EQ((QStringList{source.Description(), source.FirstRun(), "Site %n"}),
              (QStringList{copy.Description(), copy.FirstRun(), MdaTest::Fields(copy)[2]}));
    const QByteArrayList lFiles = Files(*m_pTarget, result.m_lTargetId);
    EXPECT_EQ(lFiles.mid(2), (QByteArrayList{"{\"limits\": \"ä\"}", "{\"channels\": 1}"}));

    const QStringList lScans = Scans(*m_pTarget, result.m_lTargetId);
    EXPECT_EQ(Scans(*m_pSource, lSource), lScans);
    EXPECT_EQ((QStringList{"1|2", "2|3", "3|2"}),
              QStringList(lScans).replaceInStrings(QRegularExpression("\\|[^|]*$"), ""));
    const std::vector<QStringList> rows = Rows(*m_pTarget, result.m_lTargetId);
    ASSERT_EQ(9u, rows.size());
    EXPECT_EQ(Rows(*m_pSource, lSource), rows);
    // The not-measured row stays not measured; the far channel keeps its 64-bit id.
    EXPECT_EQ("-1 1099511627776", rows[3][3] + ' ' + rows[7][2]);

    const CSessionCopier::SResult again = Copy(lSource, CSessionCopier::eOutcome_AlreadyThere);
    EXPECT_EQ(std::tuple(result.m_lTargetId, 9), std::tuple(again.m_lTargetId, again.m_llValues));
    EXPECT_EQ(again.m_sSourceDigest, again.m_sTargetDigest);
    EXPECT_EQ(std::vector<long>{result.m_lTargetId}, Held(*m_pTarget, "uid-hostile"));

    // A second session with the same files shares the target's registration of them.
    const CSessionCopier::SResult second = Copy(Record(*m_pSource, m_Dir, "uid-b", {}));
    EXPECT_EQ(0, second.m_llValues);
    EXPECT_EQ(lFiles, Files(*m_pTarget, second.m_lTargetId));
    const QByteArrayList lOldFiles = Files(*m_pTarget, lOld);
    EXPECT_EQ(lOldFiles[1], lFiles[1]);
    EXPECT_NE(lOldFiles[0], lFiles[0]);
    // The rows go over in batches: a session of several batches arrives row for row, once.
    const std::vector<SRow> many = ManyRows(2 * 4096 + 3, 50, " dBuV");
    const long lMany = Record(*m_pSource, m_Dir, "uid-batches", many);
    std::vector<qint64> progress;
    m_pCopier->SetProgress([&progress](qint64 llRows) { progress.push_back(llRows); });
    const CSessionCopier::SResult batches = Copy(lMany);
    // Progress comes once a batch, with the rows copied so far.
    EXPECT_EQ(progress, (std::vector<qint64>{4096, 8192, 8195}));
    EXPECT_EQ(static_cast<qint64>(many.size()), batches.m_llValues);
    const std::vector<QStringList> copied = Rows(*m_pTarget, batches.m_lTargetId);
    EXPECT_EQ(std::tuple(many.size(), Rows(*m_pSource, lMany)), std::tuple(copied.size(), copied));
    EXPECT_EQ(batches.m_sSourceDigest, Digest(*m_pTarget, batches.m_lTargetId));

    // Scans or a registered file that cannot be read fail the digest with the reason.
    ASSERT_TRUE(m_pSourceDb->ExecuteDirect("ALTER TABLE scan RENAME TO scan_gone"));
    EXPECT_FALSE(CSessionContentDigest::Compute(*m_pSource, lSource, sNone, llNone, sError));
    EXPECT_TRUE(sError.startsWith("Cannot read the scans of session 1: ")) << sError.toStdString();
    ASSERT_TRUE(m_pSourceDb->ExecuteDirect("DROP TABLE exported_channel_settings"));
    EXPECT_FALSE(CSessionContentDigest::Compute(*m_pSource, lSource, sNone, llNone, sError));
    EXPECT_TRUE(sError.startsWith("Cannot read the channel table file 1: ") &&
                sError.contains("exported_channel_settings"))
        << sError.toStdString();
}

// A session whose unique id the target holds with other content, or that has none, is refused;
// one that is not there fails.
TEST_P(CSessionCopierTest, ClashingOrMissingUniqueIdIsRefusedAndAMissingSessionFails)
{
    std::vector<SRow> rows = HostileRows();
    const long lSource = Record(*m_pSource, m_Dir, "uid-clash", rows);
    rows.back().m_sValue = "3.26 dBµV";
    const long lTarget = Record(*m_pTarget, m_Dir, "uid-clash", rows);
    const QString sTargetDigest = Digest(*m_pTarget, lTarget);
    const CSessionCopier::SResult result = Copy(lSource, CSessionCopier::eOutcome_Refused);
    EXPECT_EQ(std::tuple(sTargetDigest, Digest(*m_pSource, lSource)),
              std::tuple(result.m_sTargetDigest, result.m_sSourceDigest));
    EXPECT_NE(result.m_sSourceDigest, result.m_sTargetDigest);
    EXPECT_EQ(QString("The target's session %1 has the unique id uid-clash with other content "
                      "(source digest %2, target digest %3)")
                  .arg(QString::number(lTarget), result.m_sSourceDigest, sTargetDigest),
              result.m_sReason);
    EXPECT_EQ(std::vector<long>{lTarget}, Held(*m_pTarget, "uid-clash"));
    EXPECT_EQ(sTargetDigest, Digest(*m_pTarget, lTarget));

    const long lNoId = Record(*m_pSource, m_Dir, QString(), HostileRows());
    CSessionCopier::SResult none = Copy(lNoId, CSessionCopier::eOutcome_Refused);
    EXPECT_EQ(QString("Session %1 has no unique id to be known by").arg(lNoId), none.m_sReason);
    none = Copy(lNoId + 100, CSessionCopier::eOutcome_Failed);
    EXPECT_TRUE(none.m_sReason.startsWith(QString("Cannot read session %1: ").arg(lNoId + 100)))
        << none.m_sReason.toStdString();

    // A text longer than a read hands out whole is refused rather than stored cut.
    const long lLong = Record(*m_pSource, m_Dir, "uid-long", ManyRows(3, 1, ""));
    ASSERT_TRUE(m_pSourceDb->ExecuteDirect(
        QString("UPDATE measurement SET value = '%1' WHERE session_id = %2")
            .arg(QString(CDBMeasurement::c_iMaxTextLength + 1, 'x'))
            .arg(lLong)));
    long lFirst = -1;
    CDBMeasurementController(*m_pSource)
        .ForEachResultOfSession(lLong, [&](const CDBMeasurement& row)
                                { return (lFirst = row.GetMeasurementId()) < 0; });
    EXPECT_EQ(QString("Row %1 of session %2 holds a text longer than 4194304 characters")
                  .arg(lFirst)
                  .arg(lLong),
              Copy(lLong, CSessionCopier::eOutcome_Refused).m_sReason);
}

// A batch the target refuses ends the copy and leaves nothing of it there: the last one, or
// one in the middle of the read refused only once (a second try would be taken, but the rows
// after it were never read).
TEST_P(CSessionCopierTest, ARefusedBatchFailsTheCopyAndLeavesNothingOnTheTarget)
{
    // More rows than one batch, the last of which the target refuses.
    std::vector<SRow> rows = ManyRows(5000, 40, " dBµV");
    rows.push_back({3, 1, 5, 3, "boom", QString()});
    const long lSource = Record(*m_pSource, m_Dir, "uid-boom", rows);
    ASSERT_TRUE(m_pTargetDb->ExecuteDirect(
        IsTargetSqlite()
            ? "CREATE TRIGGER no_boom BEFORE INSERT ON measurement WHEN NEW.value = 'boom' "
              "BEGIN SELECT RAISE(ABORT, 'boom refused'); END"
            : "ALTER TABLE measurement ADD CONSTRAINT no_boom CHECK (value <> 'boom')"))
        << m_pTargetDb->m_sError.toStdString();
    CSessionCopier::SResult result = Copy(lSource, CSessionCopier::eOutcome_Failed);
    EXPECT_TRUE(
        result.m_sReason.startsWith(QString("Cannot store the rows of session %1: ").arg(lSource)))
        << result.m_sReason.toStdString();
    // The server names the refused row by its line in the stream of rows.
    EXPECT_TRUE(IsTargetSqlite() || result.m_sReason.contains("COPY measurement, line "));
    EXPECT_EQ(std::tuple(0, 0u), std::tuple(result.m_lTargetId, TargetSessions()));
    QByteArray bytes;
    EXPECT_TRUE(CDBSessionControler(*m_pTarget).GetRegisteredLimitValuesFile("1", bytes) &&
                bytes.isEmpty());
    EXPECT_TRUE(Rows(*m_pTarget, 1).empty());

    // The refusal that passes on the second try is a SQLite trigger.
    if (IsTargetSqlite())
    {
        const long lOnce = Record(*m_pSource, m_Dir, "uid-once", ManyRows(5000, 40, ""));
        ASSERT_TRUE(m_pTargetDb->ExecuteDirect("CREATE TABLE refused (x)"));
        ASSERT_TRUE(m_pTargetDb->ExecuteDirect(
            "CREATE TRIGGER refuse_once BEFORE INSERT ON measurement WHEN NOT EXISTS "
            "(SELECT 1 FROM refused) BEGIN INSERT INTO refused VALUES (1); "
            "SELECT RAISE(FAIL, 'refused once'); END"));
        result = Copy(lOnce, CSessionCopier::eOutcome_Failed);
        EXPECT_EQ(std::tuple(result.m_sReason.contains("refused once"), TargetSessions()),
                  std::tuple(true, 0u));
        // Without read-back, the default, a copy stands as the target stored it.
        ASSERT_TRUE(m_pTargetDb->ExecuteDirect("DROP TRIGGER refuse_once") &&
                    m_pTargetDb->ExecuteDirect("CREATE TRIGGER altered AFTER INSERT ON measurement "
                                               "BEGIN UPDATE measurement SET value = 'x'; END"));
        Copy(lOnce);
    }
}

// A registered file of the bound's size goes over whole; a larger one, which only a forged
// source can hold, is refused before anything reaches the target.
TEST_P(CSessionCopierTest, RegisteredFilesUpToTheBoundCopyAndLargerOnesAreRefused)
{
    const int iBound = static_cast<int>(CDBSessionControler::c_llMaxRegisteredFileSize);
    const QByteArray atBound(iBound, 'x');
    const long lAtBound = Record(*m_pSource, m_Dir, "uid-at-bound", {}, atBound, atBound);
    EXPECT_TRUE(Files(*m_pTarget, Copy(lAtBound).m_lTargetId).mid(2) ==
                QByteArrayList({atBound, atBound}));
    // A session registered with empty files, or one whose rows name no file (written by other
    // tools), has none there.
    for (const char* pIds : {"", "limit_file_id = '0', channel_file_id = ''"})
    {
        long lBare = 0;
        ASSERT_TRUE(CDBSessionControler(*m_pSource)
                        .Create(lBare, QString("uid-bare") + pIds, "", "", "", "", "", "", "", "",
                                "", "", "", "", "", ""));
        ASSERT_TRUE(!*pIds ||
                    m_pSourceDb->ExecuteDirect(
                        QString("UPDATE session SET %1 WHERE id = %2").arg(pIds).arg(lBare)));
        EXPECT_EQ(Files(*m_pTarget, Copy(lBare).m_lTargetId), QByteArrayList({"0", "0", "", ""}));
    }

    CDBSessionControler source(*m_pSource);
    const QByteArray over(iBound + 1, 'y');
    for (const char* pColumn : {"channel_file_id", "limit_file_id"})
    {
        SCOPED_TRACE(pColumn);
        long lFile = 0;
        ASSERT_TRUE(QByteArray(pColumn).startsWith("channel")
                        ? source.AddChannelSettingsFileData(over, lFile)
                        : source.AddLimitValuesFileData(over, lFile));
        const long lForged = Record(*m_pSource, m_Dir, QString("uid-") + pColumn, {});
        const QString sForge = QString("UPDATE session SET %1 = '%2' WHERE id = %3").arg(pColumn);
        ASSERT_TRUE(m_pSourceDb->ExecuteDirect(sForge.arg(lFile).arg(lForged)));
        EXPECT_EQ(
            QString("Session %1 has a registered file larger than 16777216 bytes").arg(lForged),
            Copy(lForged, CSessionCopier::eOutcome_Refused).m_sReason);
    }
    EXPECT_EQ(3u, TargetSessions());
}

TEST_P(CSessionCopierTest, ConcurrentCopiesOfOneSessionStoreItOnce)
{
    const long lSource = Record(*m_pSource, m_Dir, "uid-race", HostileRows());
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
    // How many copies ended with each outcome: copied, already there, refused, failed; a result
    // that does not name its source session counts as failed.
    std::vector<int> outcomes(4, 0);
    for (size_t i = 0; i < results.size(); ++i)
    {
        threads[i].join();
        ++outcomes[results[i].m_lSourceId == lSource ? results[i].m_eOutcome : 3];
    }
    EXPECT_EQ((std::vector<int>{1, 3, 0, 0}), outcomes);
    const std::vector<long> held = Held(*m_pTarget, "uid-race");
    ASSERT_EQ(1u, held.size());
    EXPECT_EQ(Digest(*m_pSource, lSource), Digest(*m_pTarget, held.front()));
}

INSTANTIATE_TEST_SUITE_P(
    Backends, CSessionCopierTest,
    ::testing::Combine(::testing::Values(EBackend::Sqlite, EBackend::PostgreSql),
                       ::testing::Values(EBackend::Sqlite, EBackend::PostgreSql)),
    [](const auto& info)
    {
        return ::testing::PrintToString(std::get<0>(info.param)) + "To" +
               ::testing::PrintToString(std::get<1>(info.param));
    });

// What the digest covers: every listed change of one field gives another digest; the ids a
// database chooses give the same.
TEST(CSessionContentDigestTest, EveryRecordedFieldCountsAndNoChosenIdDoes)
{
    using FChange =
        std::function<void(CDBSessionData&, CDBScanData&, CDBMeasurement&, QByteArray&)>;
    const auto make = [](const FChange& change)
    {
        CDBSessionData session(7);
        session.SetUniqueIdentifier("u");
        session.SetDescription("d");
        session.SetFirstRun("2026-01-02 03:04:05");
        session.SetAssociatedFiles(1, 2);
        CDBScanData scan(7, 1);
        scan.SetState(2);
        scan.SetDateTime("2026-01-02 03:04:06");
        CDBMeasurement row(7, 1, 3, 11);
        row.SetMeasurementItem(5);
        row.SetMeasurementState(3);
        row.SetValue("1 dBmV");
        QByteArray limitFile("limits");
        change(session, scan, row, limitFile);
        CSessionContentDigest digest;
        digest.AddSession(session, QByteArray("channels"), limitFile);
        digest.AddScan(scan);
        digest.AddRow(row);
        return digest.GetHex();
    };
    const QString sBase = make([](auto&, auto&, auto&, auto&) {});
    // The encoding is the one the README describes; check_copy.py recomputes it from the rows.
    EXPECT_EQ("b41f942ddec77360fd301b0dd2e438927ad837349810a0cb7d0c248611d0bf42", sBase);
    // What changes, whether the digest stays the same, the change.
    const std::vector<std::tuple<const char*, bool, FChange>> cases = {
        {"session id", true, [](auto& s, auto&, auto&, auto&) { s.SetSessionId(8); }},
        {"file ids", true, [](auto& s, auto&, auto&, auto&) { s.SetAssociatedFiles(5, 6); }},
        {"row id", true, [](auto&, auto&, auto& r, auto&) { r.SetMeasurementId(12); }},
        {"row's session", true, [](auto&, auto&, auto& r, auto&) { r.SetSessionId(9); }},
        {"unique id", false, [](auto& s, auto&, auto&, auto&) { s.SetUniqueIdentifier("v"); }},
        {"description", false, [](auto& s, auto&, auto&, auto&) { s.SetDescription("e"); }},
        {"last run", false, [](auto& s, auto&, auto&, auto&) { s.SetLastRun("x"); }},
        {"scan count", false, [](auto& s, auto&, auto&, auto&) { s.SetScanCount(1); }},
        {"site", false, [](auto& s, auto&, auto&, auto&) { s.SetSessionLocationData("s", ""); }},
        {"e-mail", false,
         [](auto& s, auto&, auto&, auto&) { s.SetSessionUserData("", "", "", "m"); }},
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
    for (const auto& [pWhat, bSame, change] : cases)
    {
        SCOPED_TRACE(pWhat);
        EXPECT_EQ(bSame, make(change) == sBase);
    }
    // Rows are hashed in blocks: a change in the first of many rows counts as one in the last.
    const auto many = [](const QString& sFirstValue)
    {
        CSessionContentDigest digest;
        digest.AddSession(CDBSessionData(7), QByteArray(), QByteArray());
        for (int i = 0; i < 5000; ++i)
        {
            CDBMeasurement row(7, 1, i % 50, i / 50);
            row.SetValue(i == 0 ? sFirstValue : "12.40 dBmV");
            digest.AddRow(row);
        }
        return digest.GetHex();
    };
    EXPECT_NE(many("1 dBmV"), many("2 dBmV"));
}

} // namespace

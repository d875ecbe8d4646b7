#include "CDatabaseTransaction.h"
#include "COSAbstraction.h"
#include "CTableExportFiles.h"
#include "CTableMeasurements.h"
#include "CTableScan.h"
#include "CTableSession.h"
#include "DatabaseTestBackend.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QUuid>

using namespace OrvelFramework;

namespace
{

// The stored description of a session, or "-" when there is no such session.
QString Description(CDatabaseMultiInstance& db, long lSessionId)
{
    const TableRows row = CTableSession(db).Get(lSessionId);
    return row.size() > 2 ? row[2].GetValue() : QStringLiteral("-");
}

long NewSession(CDatabaseMultiInstance& db, const QString& sDescription)
{
    long lId = 0;
    EXPECT_TRUE(CTableSession(db).Create({{"description", sDescription}}, lId))
        << db.LastError().toStdString();
    return lId;
}

TEST(CDatabaseMultiInstanceNames, NameSelectsBackendAndFile)
{
    const QString sFolder = COSAbstraction::GetUserDataPath("Vantrell", "Lumora2.0/Database") + '/';
    const std::tuple<const char*, bool, QString> cases[] = {
        {"", false, sFolder + "measurements.sqlite"},
        {"sub/station.db", false, sFolder + "sub/station.db"},
        {"/var/data/m.sqlite", false, "/var/data/m.sqlite"},
        {"postgresql://db.example:5433/lumora", true, ""},
        {"postgres://db.example/lumora", true, ""},
        {"POSTGRESQL://db.example/lumora", true, ""},
        {"postgresql:/not-a-url", false, sFolder + "postgresql:/not-a-url"},
    };
    for (const auto& [pName, bPostgreSql, sFile] : cases)
    {
        SCOPED_TRACE(pName);
        CDatabaseMultiInstance db(pName, "user", "password");
        EXPECT_EQ(db.IsPostgreSql(), bPostgreSql);
        EXPECT_EQ(db.GetDatabaseFilePath(), sFile);
    }
}

TEST(CDatabaseMultiInstanceNames, RelativeNameOpensUnderUserDataFolderCreatingIt)
{
    const QString sSub = "mda-test-" + QUuid::createUuid().toString(QUuid::Id128);
    const QString sFolder =
        COSAbstraction::GetUserDataPath("Vantrell", "Lumora2.0/Database/" + sSub);
    {
        CDatabaseMultiInstance db(sSub + "/deeper/m.sqlite", "", "");
        EXPECT_TRUE(db.Open()) << db.LastError().toStdString();
        EXPECT_TRUE(QFileInfo::exists(sFolder + "/deeper/m.sqlite"));
    }
    QDir(sFolder).removeRecursively();
}

class CDatabaseConnectionTest : public MdaTest::CDatabaseBackendTest
{
};

TEST_P(CDatabaseConnectionTest, OpeningAgainKeepsSchemaAndRows)
{
    auto pFirst = OpenConnection();
    const long lId = NewSession(*pFirst, "kept");
    ASSERT_TRUE(pFirst->Open()) << "reopening the same instance";
    auto pSecond = OpenConnection();
    EXPECT_EQ(Description(*pSecond, lId), "kept");
    const long lNext = NewSession(*pSecond, "second");
    EXPECT_GT(lNext, lId);
    EXPECT_EQ(Description(*pFirst, lNext), "second");
}

TEST_P(CDatabaseConnectionTest, NewerSchemaIsRefused)
{
    {
        auto pDb = OpenConnection();
        QSqlQuery* pQuery = pDb->GetPreparedQuery("UPDATE schema_version SET version = 99");
        ASSERT_TRUE(pQuery != nullptr && pDb->Execute(*pQuery, "bump"));
    }
    auto pDb = Database().NewConnection();
    EXPECT_FALSE(pDb->Open());
    EXPECT_EQ(pDb->LastError(),
              "The database has schema version 99; this library knows up to version 1");
}

TEST_P(CDatabaseConnectionTest, TransactionScopesCommitRollBackAndNest)
{
    auto pDb = OpenConnection();
    auto pObserver = OpenConnection();
    long lKept = 0;
    long lInnerKept = 0;
    long lInnerDropped = 0;
    {
        CDatabaseTransaction outer(*pDb);
        ASSERT_TRUE(outer.IsActive());
        lKept = NewSession(*pDb, "kept");
        {
            CDatabaseTransaction inner(*pDb);
            EXPECT_EQ(pDb->GetTransactionDepth(), 2);
            lInnerKept = NewSession(*pDb, "inner kept");
            EXPECT_TRUE(inner.Commit());
        }
        {
            CDatabaseTransaction inner(*pDb);
            lInnerDropped = NewSession(*pDb, "inner dropped");
        }
        EXPECT_EQ(Description(*pObserver, lKept), "-") << "not visible before the commit";
        EXPECT_TRUE(outer.Commit()) << pDb->LastError().toStdString();
        EXPECT_FALSE(outer.IsActive());
        EXPECT_FALSE(outer.Commit());
    }
    EXPECT_EQ(Description(*pObserver, lKept), "kept");
    EXPECT_EQ(Description(*pObserver, lInnerKept), "inner kept");
    EXPECT_EQ(Description(*pObserver, lInnerDropped), "-");

    // An inner commit means nothing when the outer scope ends without one.
    long lLost = 0;
    {
        CDatabaseTransaction outer(*pDb);
        CDatabaseTransaction inner(*pDb);
        lLost = NewSession(*pDb, "lost");
        EXPECT_TRUE(inner.Commit());
    }
    EXPECT_EQ(pDb->GetTransactionDepth(), 0);
    EXPECT_EQ(Description(*pDb, lLost), "-");
}

TEST_P(CDatabaseConnectionTest, FailedStatementInsideScope)
{
    auto pDb = OpenConnection();
    const QString sSession = QString::number(NewSession(*pDb, "s"));
    CTableScan scans(*pDb);
    bool bCommitted = false;
    {
        CDatabaseTransaction scope(*pDb);
        ASSERT_TRUE(scans.Create({{"session_id", sSession}}, 1));
        EXPECT_FALSE(scans.Create({{"session_id", sSession}}, 1));
        bCommitted = scope.Commit();
    }
    TableRows ids;
    ASSERT_TRUE(scans.GetScanIds(sSession.toLong(), ids));
    // The server discards the whole transaction, and the commit must not claim otherwise.
    EXPECT_EQ(bCommitted, !pDb->IsPostgreSql());
    EXPECT_EQ(ids.size(), pDb->IsPostgreSql() ? 0u : 1u);
    if (pDb->IsPostgreSql())
    {
        EXPECT_TRUE(pDb->LastError().startsWith("The transaction was rolled back because a "
                                                "statement in it failed: Cannot store scan 1: "))
            << pDb->LastError().toStdString();
    }
    EXPECT_TRUE(scans.Create({{"session_id", sSession}}, 2)) << "usable afterwards";
}

TEST_P(CDatabaseConnectionTest, HostileTextIsStoredVerbatim)
{
    const QString texts[] = {
        "O'Brien \"quoted\" `back`",
        "x'); DROP TABLE measurement; --",
        "'; UPDATE session SET description = 'owned'; SELECT '",
        "50% of _all_ \\ backslash",
        QString::fromUtf8("Grüße — 日本語 — Ελληνικά — עברית — 😀"),
        "two\nlines\tand\r",
        QString(100 * 1024, 'w') + "end",
    };
    const char* sessionTexts[] = {"unique_id",
                                  "description",
                                  "first_run",
                                  "last_run",
                                  "site",
                                  "test_point",
                                  "name",
                                  "e_number",
                                  "t_number",
                                  "e_mail",
                                  "hw_model",
                                  "firmware_version",
                                  "software_version",
                                  "serial_nr",
                                  "owner",
                                  "limit_file_id",
                                  "channel_file_id"};
    auto pDb = OpenConnection();
    const long lNeighbour = NewSession(*pDb, "neighbour");
    CTableSession sessions(*pDb);
    CTableMeasurements measurements(*pDb);
    CTableExportFiles exportFiles(*pDb);
    long lScan = 0;
    for (const QString& sText : texts)
    {
        SCOPED_TRACE(sText.left(40).toStdString());
        TableRows row;
        for (const char* pColumn : sessionTexts)
        {
            row.emplace_back(pColumn, sText);
        }
        long lSession = 0;
        ASSERT_TRUE(sessions.Create(row, lSession)) << pDb->LastError().toStdString();
        const TableRows stored = sessions.Get(lSession);
        ASSERT_EQ(stored.size(), 19u);
        for (const CTableRecordSet& pair : stored)
        {
            if (pair.GetColumn() != "id" && pair.GetColumn() != "scan_count")
            {
                EXPECT_EQ(pair.GetValue(), sText) << pair.GetColumn().toStdString();
            }
        }
        TableRows found;
        ASSERT_TRUE(sessions.GetSessionIds(sText, found));
        ASSERT_EQ(found.size(), 1u) << "the texts do not contain one another";
        EXPECT_EQ(found[0].GetValue(), QString::number(lSession));

        ++lScan;
        ASSERT_TRUE(CTableScan(*pDb).Create({{"session_id", QString::number(lSession)}}, lScan));
        long lId = 0;
        ASSERT_TRUE(measurements.Create({{"session_id", QString::number(lSession)},
                                         {"scan_id", QString::number(lScan)},
                                         {"channel_id", "0"},
                                         {"value", sText},
                                         {"error_description", sText}},
                                        lId));
        const TableRows measurement = measurements.Get(lSession, lScan, lId);
        ASSERT_EQ(measurement.size(), 8u);
        EXPECT_EQ(measurement[6].GetValue(), sText);
        EXPECT_EQ(measurement[7].GetValue(), sText);

        ASSERT_TRUE(exportFiles.Create({{"unique_id", sText}, {"file", sText}}, lId));
        ASSERT_TRUE(exportFiles.Update(sText, sText + "2", sText + "3"));
        const TableRows exported = exportFiles.Get(sText);
        ASSERT_EQ(exported.size(), 3u);
        EXPECT_EQ(exported[1].GetValue() + exported[2].GetValue(), sText + "2" + sText + "3");
    }
    TableRows all;
    ASSERT_TRUE(sessions.Get(QString(), all));
    EXPECT_EQ(all.size(), (std::size(texts) + 1) * 19);
    auto pAgain = OpenConnection();
    EXPECT_EQ(Description(*pAgain, lNeighbour), "neighbour");
}

MDA_INSTANTIATE_BACKEND_TESTS(CDatabaseConnectionTest);

} // namespace

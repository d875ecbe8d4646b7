#include "CDatabaseTransaction.h"
#include "COSAbstraction.h"
#include "CTableExportFiles.h"
#include "CTableExportedLimitValues.h"
#include "CTableMeasurements.h"
#include "CTableScan.h"
#include "CTableSession.h"
#include "DatabaseTestBackend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QUuid>

using namespace OrvelFramework;

namespace
{

QString StoredDescription(CDatabaseMultiInstance& db, long lSessionId)
{
    for (const CTableRecordSet& pair : CTableSession(db).Get(lSessionId))
    {
        if (pair.GetColumn() == CTableSession::c_sColumnDescription)
        {
            return pair.GetValue();
        }
    }
    return QStringLiteral("<no session>");
}

long CreateSession(CDatabaseMultiInstance& db, const QString& sDescription)
{
    long lId = 0;
    EXPECT_TRUE(
        CTableSession(db).Create({{CTableSession::c_sColumnDescription, sDescription}}, lId))
        << db.LastError().toStdString();
    return lId;
}

TEST(CDatabaseMultiInstanceNames, NameSelectsBackendAndFile)
{
    const QString sFolder =
        COSAbstraction::GetUserDataPath("Vantrell", "Lumora2.0/Database") + QLatin1Char('/');
    struct stCase
    {
        const char* pName;
        bool bPostgreSql;
        QString sFile;
    };
    const stCase cases[] = {
        {"", false, sFolder + "measurements.sqlite"},
        {"station.sqlite", false, sFolder + "station.sqlite"},
        {"sub/station.db", false, sFolder + "sub/station.db"},
        {"/var/data/m.sqlite", false, "/var/data/m.sqlite"},
        {"postgresql://db.example:5433/lumora", true, ""},
        {"postgres://db.example/lumora", true, ""},
        {"POSTGRESQL://db.example/lumora", true, ""},
        {"postgresql:/not-a-url", false, sFolder + "postgresql:/not-a-url"},
    };
    for (const stCase& c : cases)
    {
        SCOPED_TRACE(c.pName);
        CDatabaseMultiInstance db(c.pName, "user", "password");
        EXPECT_EQ(db.IsPostgreSql(), c.bPostgreSql);
        EXPECT_EQ(db.GetDatabaseFilePath(), c.sFile);
        EXPECT_FALSE(db.IsOpen());
    }
    CDatabaseMultiInstance db;
    EXPECT_EQ(db.GetDatabaseFilePath(), sFolder + "measurements.sqlite");
    db.SetConnectionParameters("postgresql://h/d", "u", "p");
    EXPECT_TRUE(db.IsPostgreSql());
}

TEST(CDatabaseMultiInstanceNames, RelativeNameOpensUnderUserDataFolderCreatingIt)
{
    const QString sSub =
        QStringLiteral("mda-test-%1").arg(QUuid::createUuid().toString(QUuid::Id128));
    const QString sFolder =
        COSAbstraction::GetUserDataPath("Vantrell", "Lumora2.0/Database") + '/' + sSub;
    {
        CDatabaseMultiInstance db(sSub + "/deeper/m.sqlite", "", "");
        ASSERT_TRUE(db.Open()) << db.LastError().toStdString();
        EXPECT_TRUE(QFileInfo::exists(sFolder + "/deeper/m.sqlite"));
    }
    EXPECT_TRUE(QDir(sFolder).removeRecursively());
}

class CDatabaseConnectionTest : public MdaTest::CDatabaseBackendTest
{
};

TEST_P(CDatabaseConnectionTest, OpeningAgainKeepsSchemaAndRows)
{
    long lId = 0;
    {
        auto pDb = OpenConnection();
        lId = CreateSession(*pDb, "kept");
        ASSERT_TRUE(pDb->Open()) << "reopening the same instance";
        EXPECT_EQ(StoredDescription(*pDb, lId), "kept");
    }
    // Two connections at once, each opening an existing schema.
    auto pFirst = OpenConnection();
    auto pSecond = OpenConnection();
    EXPECT_EQ(StoredDescription(*pFirst, lId), "kept");
    const long lNext = CreateSession(*pSecond, "second");
    EXPECT_GT(lNext, lId);
    EXPECT_EQ(StoredDescription(*pFirst, lNext), "second");
}

TEST_P(CDatabaseConnectionTest, NewerSchemaIsRefused)
{
    {
        auto pDb = OpenConnection();
        QSqlQuery* pQuery = pDb->GetPreparedQuery("UPDATE schema_version SET version = 99");
        ASSERT_NE(pQuery, nullptr);
        ASSERT_TRUE(pDb->Execute(*pQuery, "bump"));
    }
    auto pDb = Database().NewConnection();
    EXPECT_FALSE(pDb->Open());
    EXPECT_EQ(pDb->LastError(),
              "The database has schema version 99; this library knows up to version 1");
    EXPECT_FALSE(pDb->IsOpen());
}

TEST_P(CDatabaseConnectionTest, TransactionScopeCommitsOrRollsBack)
{
    auto pDb = OpenConnection();
    auto pObserver = OpenConnection();
    long lCommitted = 0;
    long lDropped = 0;
    {
        CDatabaseTransaction scope(*pDb);
        ASSERT_TRUE(scope.IsActive());
        lCommitted = CreateSession(*pDb, "committed");
        EXPECT_TRUE(CTableSession(*pObserver).Get(lCommitted).empty()) << "not visible yet";
        EXPECT_TRUE(scope.Commit()) << pDb->LastError().toStdString();
        EXPECT_FALSE(scope.IsActive());
        EXPECT_FALSE(scope.Commit());
    }
    EXPECT_EQ(StoredDescription(*pObserver, lCommitted), "committed");
    {
        CDatabaseTransaction scope(*pDb);
        lDropped = CreateSession(*pDb, "dropped");
    }
    EXPECT_EQ(pDb->GetTransactionDepth(), 0);
    EXPECT_TRUE(CTableSession(*pObserver).Get(lDropped).empty());
    EXPECT_TRUE(CTableSession(*pDb).Get(lDropped).empty());
}

TEST_P(CDatabaseConnectionTest, NestedScopesOnlyOutermostMakesDurable)
{
    auto pDb = OpenConnection();
    auto pObserver = OpenConnection();
    long lOuter = 0;
    long lInnerKept = 0;
    long lInnerDropped = 0;
    {
        CDatabaseTransaction outer(*pDb);
        lOuter = CreateSession(*pDb, "outer");
        {
            CDatabaseTransaction inner(*pDb);
            EXPECT_EQ(pDb->GetTransactionDepth(), 2);
            lInnerKept = CreateSession(*pDb, "inner kept");
            EXPECT_TRUE(inner.Commit());
        }
        EXPECT_TRUE(CTableSession(*pObserver).Get(lInnerKept).empty());
        {
            CDatabaseTransaction inner(*pDb);
            lInnerDropped = CreateSession(*pDb, "inner dropped");
        }
        EXPECT_EQ(StoredDescription(*pDb, lOuter), "outer");
        EXPECT_TRUE(outer.Commit());
    }
    EXPECT_EQ(StoredDescription(*pObserver, lOuter), "outer");
    EXPECT_EQ(StoredDescription(*pObserver, lInnerKept), "inner kept");
    EXPECT_TRUE(CTableSession(*pObserver).Get(lInnerDropped).empty());

    // An inner commit means nothing when the outer scope rolls back.
    long lLost = 0;
    {
        CDatabaseTransaction outer(*pDb);
        CDatabaseTransaction inner(*pDb);
        lLost = CreateSession(*pDb, "lost");
        EXPECT_TRUE(inner.Commit());
    }
    EXPECT_TRUE(CTableSession(*pObserver).Get(lLost).empty());
}

TEST_P(CDatabaseConnectionTest, FailedStatementInsideScope)
{
    auto pDb = OpenConnection();
    const long lSession = CreateSession(*pDb, "s");
    CTableScan scans(*pDb);
    bool bCommitted = false;
    {
        CDatabaseTransaction scope(*pDb);
        ASSERT_TRUE(scans.Create({{CTableScan::c_sColumnSessionId, QString::number(lSession)}}, 1));
        EXPECT_FALSE(
            scans.Create({{CTableScan::c_sColumnSessionId, QString::number(lSession)}}, 1));
        bCommitted = scope.Commit();
    }
    TableRows ids;
    ASSERT_TRUE(scans.GetScanIds(lSession, ids));
    if (pDb->IsPostgreSql())
    {
        // The server discards the whole transaction; the commit must not claim otherwise.
        EXPECT_FALSE(bCommitted);
        EXPECT_TRUE(pDb->LastError().startsWith("The transaction was rolled back because a "
                                                "statement in it failed: Cannot store scan 1"))
            << pDb->LastError().toStdString();
        EXPECT_TRUE(ids.empty());
    }
    else
    {
        EXPECT_TRUE(bCommitted);
        EXPECT_EQ(ids.size(), 1u);
    }
    // The connection is usable afterwards either way.
    EXPECT_TRUE(scans.Create({{CTableScan::c_sColumnSessionId, QString::number(lSession)}}, 2));
}

TEST_P(CDatabaseConnectionTest, HostileTextIsStoredVerbatimEverywhere)
{
    const QString texts[] = {
        QStringLiteral("O'Brien \"quoted\" `back`"),
        QStringLiteral("x'); DROP TABLE measurement; --"),
        QStringLiteral("'; UPDATE session SET description = 'owned'; SELECT '"),
        QStringLiteral("50% of _all_ \\ backslash"),
        QString::fromUtf8("Grüße — 日本語 — Ελληνικά — עברית — 😀"),
        QStringLiteral("two\nlines\tand\r"),
        QString(100 * 1024, QLatin1Char('w')) + QStringLiteral("end"),
    };
    auto pDb = OpenConnection();
    const long lNeighbour = CreateSession(*pDb, "neighbour");
    CTableSession sessions(*pDb);
    const TableRows neighbour = sessions.Get(lNeighbour);
    CTableScan scans(*pDb);
    CTableMeasurements measurements(*pDb);
    long lScan = 0;
    for (const QString& sText : texts)
    {
        SCOPED_TRACE(sText.left(40).toStdString());
        TableRows row;
        const QString textColumns[] = {
            CTableSession::c_sColumnUniquIid,
            CTableSession::c_sColumnDescription,
            CTableSession::c_sColumnFirstRun,
            CTableSession::c_sColumnLastRun,
            CTableSession::c_sColumnSite,
            CTableSession::c_sColumnTestPoint,
            CTableSession::c_sColumnName,
            CTableSession::c_sColumnENumber,
            CTableSession::c_sColumnTNumber,
            CTableSession::c_sColumnEMail,
            CTableSession::c_sColumnHWMOdel,
            CTableSession::c_sColumnFirmwarVersion,
            CTableSession::c_sColumnSoftwareVersion,
            CTableSession::c_sColumnSerialNr,
            CTableSession::c_sColumnOwner,
            CTableSession::c_sColumnLimitFileID,
            CTableSession::c_sColumnChannelFileID,
        };
        for (const QString& sColumn : textColumns)
        {
            row.emplace_back(sColumn, sText);
        }
        long lSession = 0;
        ASSERT_TRUE(sessions.Create(row, lSession)) << pDb->LastError().toStdString();
        for (const CTableRecordSet& pair : sessions.Get(lSession))
        {
            if (pair.GetColumn() != CTableSession::c_sColumnId &&
                pair.GetColumn() != CTableSession::c_sColumnScanCount)
            {
                EXPECT_EQ(pair.GetValue(), sText) << pair.GetColumn().toStdString();
            }
        }
        TableRows filtered;
        ASSERT_TRUE(sessions.GetSessionIds(sText, filtered));
        ASSERT_EQ(filtered.size(), 1u) << "the texts do not contain one another";
        EXPECT_EQ(filtered[0].GetValue(), QString::number(lSession));

        ASSERT_TRUE(scans.Create({{CTableScan::c_sColumnSessionId, QString::number(lSession)},
                                  {CTableScan::c_sColumnDatetime, sText}},
                                 ++lScan));
        EXPECT_EQ(scans.Get(lSession, lScan).back().GetValue(), sText);

        long lMeasurement = 0;
        ASSERT_TRUE(measurements.Create(
            {{CTableMeasurements::c_sColumnSessionId, QString::number(lSession)},
             {CTableMeasurements::c_sColumnScanId, QString::number(lScan)},
             {CTableMeasurements::c_sColumnChannelId, "0"},
             {CTableMeasurements::c_sColumnValue, sText},
             {CTableMeasurements::c_sColumnErrorDescription, sText}},
            lMeasurement));
        const TableRows stored = measurements.Get(lSession, lScan, lMeasurement);
        ASSERT_EQ(stored.size(), 8u);
        EXPECT_EQ(stored[6].GetValue(), sText);
        EXPECT_EQ(stored[7].GetValue(), sText);

        CTableExportFiles exportFiles(*pDb);
        long lExport = 0;
        ASSERT_TRUE(exportFiles.Create({{CTableExportFiles::c_sColumnId, sText},
                                        {CTableExportFiles::c_sColumnFile, sText},
                                        {CTableExportFiles::c_sColumnDescription, sText}},
                                       lExport));
        ASSERT_TRUE(exportFiles.Update(sText, sText + "2", sText + "3"));
        const TableRows exported = exportFiles.Get(sText);
        ASSERT_EQ(exported.size(), 3u);
        EXPECT_EQ(exported[0].GetValue(), sText);
        EXPECT_EQ(exported[1].GetValue(), sText + "2");
        EXPECT_EQ(exported[2].GetValue(), sText + "3");

        CTableExportedLimitValues limits(*pDb);
        long lLimits = 0;
        ASSERT_TRUE(limits.Create({{CTableExportedLimitValues::c_sColumnFile, sText},
                                   {CTableExportedLimitValues::c_sColumnHash, sText},
                                   {CTableExportedLimitValues::c_sColumnAdded, sText}},
                                  lLimits));
        for (const CTableRecordSet& pair : limits.Get(QString::number(lLimits)))
        {
            EXPECT_EQ(pair.GetValue(), sText) << pair.GetColumn().toStdString();
        }
    }
    EXPECT_EQ(CTableExportFiles(*pDb).GetDescriptions().size(), std::size(texts) * 2);
    EXPECT_EQ(sessions.Get(lNeighbour).size(), neighbour.size());
    EXPECT_EQ(StoredDescription(*pDb, lNeighbour), "neighbour");
    TableRows all;
    ASSERT_TRUE(sessions.Get(QString(), all));
    EXPECT_EQ(all.size(), (std::size(texts) + 1) * 19);

    // Still the same schema for a fresh connection.
    auto pAgain = OpenConnection();
    EXPECT_EQ(StoredDescription(*pAgain, lNeighbour), "neighbour");
}

MDA_INSTANTIATE_BACKEND_TESTS(CDatabaseConnectionTest);

} // namespace

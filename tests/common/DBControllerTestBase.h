#pragma once

#include "CDBMeasurementController.h"
#include "CDBSessionControler.h"
#include "CDatabaseMultiInstance.h"
#include "DatabaseTestBackend.h"
#include "TestDataTable.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

namespace MdaTest
{

/// A fresh database per backend with one open connection, and a folder for files.
class CDBControllerTest : public CDatabaseBackendTest
{
protected:
    void Prepare() override
    {
        m_pDb = OpenConnection();
        ASSERT_TRUE(m_pDb->IsOpen() && m_Files.isValid());
    }

    OrvelFramework::CDatabaseMultiInstance& Db() { return *m_pDb; }

    QString WriteFile(const QString& sName, const QByteArray& content)
    {
        return MdaTest::WriteFile(m_Files, sName, content);
    }

    /// A session with s in every text column but the unique id "uid-" + s, and no files.
    long CreateSession(const QString& s = QString())
    {
        long lId = 0;
        EXPECT_TRUE(CreateSession(lId, s));
        return lId;
    }

    /// The same with the given files; false where the session was not recorded.
    bool CreateSession(long& lId, const QString& s, const QString& sChannel = QString(),
                       const QString& sLimit = QString())
    {
        return LumoraMeasurement::CDBSessionControler(Db()).Create(
            lId, "uid-" + s, s, sChannel, sLimit, s, s, s, s, s, s, s, s, s, s, s);
    }

    /// Plain SQL for what no controller can do (chosen ids, counts written behind its back):
    /// every column of every row it reads.
    QVariantList Exec(const QString& sStatement, const QVariantList& values = {})
    {
        QVariantList result;
        QSqlQuery* pQuery = m_pDb->GetPreparedQuery(sStatement);
        for (int i = 0; pQuery != nullptr && i < values.size(); ++i)
        {
            pQuery->bindValue(i, values[i]);
        }
        EXPECT_TRUE(pQuery != nullptr && m_pDb->Execute(*pQuery, sStatement))
            << m_pDb->LastError().toStdString();
        // A failed statement is not active: it has no row.
        while (pQuery != nullptr && pQuery->next())
        {
            for (int i = 0; i < pQuery->record().count(); ++i)
            {
                result << pQuery->value(i);
            }
        }
        return result;
    }

    /// Makes the database refuse each change ("INSERT", "UPDATE") of each table, as a read-only
    /// or locked file does, with the reason "refused"; bAllow drops those triggers again.
    void Refuse(const QStringList& tables, const QStringList& changes, bool bAllow = false)
    {
        const bool bPg = m_pDb->IsPostgreSql();
        ASSERT_TRUE(!bPg || bAllow ||
                    Database().ExecuteDirect(
                        "CREATE OR REPLACE FUNCTION refuse() RETURNS trigger AS $$ BEGIN RAISE "
                        "EXCEPTION 'refused'; END $$ LANGUAGE plpgsql"));
        for (const QString& sTable : tables)
        {
            for (const QString& sChange : changes)
            {
                const QString sTrigger = "refuse_" + sChange + "_" + sTable;
                const QString sCreate =
                    bPg ? "CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW EXECUTE FUNCTION refuse()"
                        : "CREATE TRIGGER %1 BEFORE %2 ON %3 BEGIN SELECT RAISE(ABORT, 'refused'); "
                          "END";
                ASSERT_TRUE(Database().ExecuteDirect(
                    bAllow ? "DROP TRIGGER " + sTrigger + (bPg ? " ON " + sTable : QString())
                           : sCreate.arg(sTrigger, sChange, sTable)))
                    << Database().m_sError.toStdString();
            }
        }
    }

    QTemporaryDir m_Files;
    std::unique_ptr<OrvelFramework::CDatabaseMultiInstance> m_pDb;
};

/// Stores a measurement; its id. A refused one fails the test.
inline long Store(OrvelFramework::CDatabaseMultiInstance& db, long lSession, long lScan,
                  long lChannel, long lItem, long lState, const QString& sValue,
                  const QString& sError = QString())
{
    LumoraMeasurement::CDBMeasurementController measurements(db);
    long lId = 0;
    EXPECT_TRUE(measurements.Create(lSession, lScan, lChannel, lId));
    LumoraMeasurement::CDBMeasurement m(lSession, lScan, lChannel, lId);
    m.SetMeasurementItem(lItem);
    m.SetMeasurementState(lState);
    m.SetValue(sValue);
    m.SetErrorDescription(sError);
    EXPECT_TRUE(measurements.Update(m));
    return lId;
}

/// The text fields of a session: unique id, description, site, test point, name, e-number,
/// t-number, e-mail, hardware model, firmware, software, serial, owner, limit file id, channel
/// file id.
inline QStringList Fields(const LumoraMeasurement::CDBSessionData& data)
{
    QString f[13];
    data.GetSessionLocationData(f[0], f[1]);
    data.GetSessionUserData(f[2], f[3], f[4], f[5]);
    data.GetHardwareInfoData(f[6], f[7], f[8], f[9], f[10]);
    data.GetAssociatedFiles(f[11], f[12]);
    return QStringList{data.UniqueIdentifier(), data.Description()} + QStringList(f, f + 13);
}

/// Texts that break naive SQL, encodings or buffers. No one contains another, ignoring case.
inline QStringList HostileTexts()
{
    return {
        QStringLiteral("O'Brien said \"hi\""),
        QStringLiteral("x'); DROP TABLE session; --"),
        QStringLiteral("' OR '1'='1"),
        QStringLiteral("%_\\"),
        QString::fromUtf8("Grüße — 日本語 — Ελληνικά — العربية — 😀"),
        QStringLiteral("line1\nline2\ttab\r"),
        QString(100 * 1024, QLatin1Char('k')) + QStringLiteral("end"),
    };
}

/// iSize bytes stepping by iStep through the byte values; by default every byte value four
/// times over, so a text round trip that loses any shows.
inline QByteArray AllBytes(int iSize = 4 * 256, int iStep = 1)
{
    QByteArray bytes(iSize, '\0');
    for (int i = 0; i < iSize; ++i)
    {
        bytes[i] = static_cast<char>((i * iStep) & 0xff);
    }
    return bytes;
}
inline const char* const c_pszAllBytesMd5 = "b2ea9f7fcea831a4a63b213f41a8855b";

} // namespace MdaTest

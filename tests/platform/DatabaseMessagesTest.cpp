#include "CDatabaseMultiInstance.h"

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

using OrvelFramework::CDatabaseMultiInstance;

namespace
{

const QString c_sSecret = QStringLiteral("S3cretPw");

} // namespace

// A password given inside the server URL was quoted back in a message (and so in logs and on
// terminals) when the server turned out to be no measurement database.
TEST(DatabaseMessages, PasswordInTheServerUrlNeverReachesAMessage)
{
    struct SRow
    {
        QString sUrl;
        QString sExpectedStart;
    };
    const QString sMalformed =
        QStringLiteral("The database name is not of the form postgresql://host[:port]/dbname");
    const SRow rows[] = {
        {"postgresql://mda:" + c_sSecret + "@127.0.0.1:1/mda",
         "Cannot connect to the database server 127.0.0.1:1/mda: "},
        {"postgres://mda:" + c_sSecret + "@127.0.0.1:1/other",
         "Cannot connect to the database server 127.0.0.1:1/other: "},
        {"postgresql://mda:" + c_sSecret + "@/mda", sMalformed},
        {"postgresql://mda:" + c_sSecret + "@127.0.0.1:1", sMalformed},
        {"postgresql://mda:" + c_sSecret + "@127.0.0.1:1/a/b", sMalformed},
        {"postgresql://mda:" + c_sSecret + "@127.0.0.1:port/mda", sMalformed},
        {"postgresql://mda:" + c_sSecret + "%1/x@127.0.0.1:1/mda", sMalformed},
    };
    for (const SRow& row : rows)
    {
        SCOPED_TRACE(row.sUrl.toStdString());
        for (bool bReading : {false, true})
        {
            CDatabaseMultiInstance db(row.sUrl, QStringLiteral("mda"), QString());
            EXPECT_FALSE(bReading ? db.OpenForReading() : db.Open());
            EXPECT_TRUE(db.LastError().startsWith(row.sExpectedStart))
                << db.LastError().toStdString();
            EXPECT_FALSE(db.LastError().contains(QStringLiteral("S3cr")));
        }
    }
}

// A schema version text holding "%1" had the library's own version substituted into it.
TEST(DatabaseMessages, StoredSchemaVersionIsQuotedAsStored)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const char* const apszVersions[] = {"%1 x", "v%2%1", "100%", "%9"};
    int iFile = 0;
    for (const char* pszVersion : apszVersions)
    {
        SCOPED_TRACE(pszVersion);
        const QString sPath = dir.filePath(QStringLiteral("v%1.sqlite").arg(iFile++));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
            db.setDatabaseName(sPath);
            ASSERT_TRUE(db.open());
            QSqlQuery query(db);
            ASSERT_TRUE(query.exec("CREATE TABLE schema_version (version TEXT)"));
            ASSERT_TRUE(query.prepare("INSERT INTO schema_version VALUES (?)"));
            query.addBindValue(QString::fromUtf8(pszVersion));
            ASSERT_TRUE(query.exec());
            db.close();
        }
        QSqlDatabase::removeDatabase("foreign");
        CDatabaseMultiInstance db(sPath, QString(), QString());
        EXPECT_FALSE(db.OpenForReading());
        EXPECT_EQ(db.LastError(),
                  QStringLiteral("The database has schema version \"") +
                      QString::fromUtf8(pszVersion) +
                      QStringLiteral("\", which is no version number; this library knows up to "
                                     "version 1"));
    }
}

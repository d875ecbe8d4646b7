#include "CDatabaseMultiInstance.h"
#include "TestDataTable.h"

#include <gtest/gtest.h>

using OrvelFramework::CDatabaseMultiInstance;

// A password given inside the server URL was quoted back in a message (and so in logs and on
// terminals) when the server turned out to be no measurement database.
TEST(DatabaseMessages, PasswordInTheServerUrlNeverReachesAMessage)
{
    for (const QStringList& row : MdaTest::ReadDataTable("platform/password-urls.tsv"))
    {
        const QString& sUrl = row[0];
        SCOPED_TRACE(sUrl.toStdString());
        for (bool bReading : {false, true})
        {
            CDatabaseMultiInstance db(sUrl, QStringLiteral("mda"), QString());
            EXPECT_FALSE(bReading ? db.OpenForReading() : db.Open());
            EXPECT_TRUE(db.LastError().startsWith(row[1])) << db.LastError().toStdString();
            EXPECT_FALSE(db.LastError().contains(QStringLiteral("S3cr")));
        }
    }
}

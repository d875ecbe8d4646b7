#include "CTableCursor.h"
#include "CTableMeasurements.h"
#include "DatabaseTestBackend.h"

using namespace OrvelFramework;

// The cursor's own reading of a SQLite statement gives what the driver gives, for every type a
// column may hold, also when shared texts repeat (the second session reads them again). A real
// reads as Qt writes it (SQLite's own text of it has 15 digits only).
TEST(TableCursor, ReadsEveryStoredTypeAsTheDriverDoesAndEndsAStatementLeftMidRead)
{
    QTemporaryDir dir;
    const QString sPath = dir.filePath("cursor.sqlite");
    CDatabaseMultiInstance writer(sPath, QString(), QString());
    ASSERT_TRUE(writer.Open());
    QStringList statements{"PRAGMA foreign_keys = OFF",
                           "INSERT INTO session (id, unique_id) VALUES (1, 'a')"};
    QStringList values = {"NULL", "''",   "'12.40 dBmV'", "'12.40 dBmV'", "'Ä ünï'",   "'Ä ünï'",
                          "12",   "-1.5", "x'00ff41'",    "'a\tb'",       "'\x7f\x01'",
                          "CAST(x'3580' AS TEXT)"};
    values.insert(10, "'" + QString(70, 'x') + "'");
    for (int i = 0; i < values.size(); ++i)
    {
        statements << QString("INSERT INTO measurement (session_id, scan_id, channel_id, "
                              "measurement_item, state, value, error_description) VALUES "
                              "(1, %1, %2, %3, 2, %4, %5)")
                          .arg(i % 2 == 0 ? QString::number(i) : "'7'",
                               i == 3 ? "9223372036854775807" : "-3", i == 4 ? "0.1 + 0.2" : "8",
                               values[i], values[values.size() - 1 - i]);
    }
    statements << "SELECT id, session_id, scan_id, channel_id, measurement_item, state, value, "
                  "error_description FROM measurement ORDER BY id";
    const QVector<QVariantList> expected = MdaTest::RunForeign(sPath, statements);
    ASSERT_EQ(expected.size(), values.size());

    CDatabaseMultiInstance db(sPath, QString(), QString());
    ASSERT_TRUE(db.OpenForReading());
    for (int iPass = 0; iPass < 2; ++iPass)
    {
        CTableCursor cursor(db);
        ASSERT_TRUE(CTableMeasurements(db).OpenAllResultsForSession(1, cursor));
        int iRow = 0;
        for (; cursor.Next(); ++iRow)
        {
            ASSERT_LT(iRow, expected.size());
            for (int c = 0; c < 8; ++c)
            {
                const QVariant& driver = expected[iRow][c];
                SCOPED_TRACE(QString("row %1 column %2").arg(iRow).arg(c).toStdString());
                EXPECT_EQ(cursor.Value(c), driver);
                EXPECT_EQ(cursor.Value(c).userType(), driver.userType());
                for (const bool bShare : {false, true})
                {
                    const QString sText = cursor.Text(c, bShare);
                    EXPECT_EQ(sText, driver.toString()) << sText.toUtf8().toHex().toStdString();
                    EXPECT_EQ(sText.isNull(), driver.toString().isNull());
                }
                qint64 llValue = 0;
                EXPECT_TRUE(!cursor.WholeNumber(c, llValue) || llValue == driver.toLongLong())
                    << llValue;
            }
        }
        EXPECT_TRUE(cursor.Finish()) << db.LastError().toStdString();
        EXPECT_EQ(iRow, expected.size());
    }

    // A cursor given up in the middle of its rows ends its statement: on SQLite a statement left
    // running holds the connection's snapshot, and the connection would not see what others
    // stored after it.
    // Given up by Finish() or by going out of scope.
    const QStringList insert{"PRAGMA foreign_keys = OFF",
                             "INSERT INTO measurement (session_id, scan_id, channel_id, "
                             "measurement_item, state, value, error_description) VALUES (2, 1, 0, "
                             "7, 2, '1.00 dBuV', '')"};
    CTableMeasurements measurements(writer);
    {
        CTableCursor cursor(writer);
        ASSERT_TRUE(measurements.OpenAllResultsForSession(1, cursor) && cursor.Next());
        EXPECT_TRUE(cursor.Finish());
        MdaTest::RunForeign(sPath, insert);
        EXPECT_EQ(measurements.GetAmountOfResultsForSession(2), 1);
        ASSERT_TRUE(measurements.OpenAllResultsForSession(1, cursor) && cursor.Next());
    }
    MdaTest::RunForeign(sPath, insert);
    EXPECT_EQ(measurements.GetAmountOfResultsForSession(2), 2);

    // A finished cursor lets go of its statement: another cursor on the same statement reads
    // all its rows, also when the first one goes away in the middle of them.
    auto pFirst = std::make_unique<CTableCursor>(writer);
    ASSERT_TRUE(measurements.OpenAllResultsForSession(1, *pFirst) && pFirst->Next());
    EXPECT_TRUE(pFirst->Finish());
    CTableCursor second(writer);
    ASSERT_TRUE(measurements.OpenAllResultsForSession(1, second) && second.Next());
    pFirst.reset();
    long lRows = 1;
    while (second.Next())
    {
        ++lRows;
    }
    EXPECT_EQ(lRows, measurements.GetAmountOfResultsForSession(1));
}

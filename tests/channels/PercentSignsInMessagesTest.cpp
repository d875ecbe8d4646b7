#include "CChannelTableData.h"
#include "CLoggingDataProvider.h"
#include "SDocumentFinding.h"
#include "TestDataTable.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace LumoraMeasurement;

// A message built by substituting one text after another rewrote its own data: a file named
// "%1 %2.json" had the row number put into its name, and the row number was lost.

TEST(PercentSignsInMessages, FindingKeepsFileAndMessageAsWritten)
{
    struct SRow
    {
        const char* pszFile;
        int iLine;
        int iColumn;
        const char* pszMessage;
        const char* pszExpected;
    };
    const SRow rows[] = {
        {"plain.limit", 3, 7, "no number", "plain.limit:3:7: no number"},
        {"/a/%1 %2.limit", 12, 1, "x", "/a/%1 %2.limit:12:1: x"},
        {"b.channel", 0, 0, "%1 is not %2", "b.channel:0:0: %1 is not %2"},
        {"%3%2%1", 4, 5, "100% %9\nnext line", "%3%2%1:4:5: 100% %9 next line"},
    };
    for (const SRow& row : rows)
    {
        SCOPED_TRACE(row.pszFile);
        SDocumentFinding finding;
        finding.m_sFile = QString::fromUtf8(row.pszFile);
        finding.m_iLine = row.iLine;
        finding.m_iColumn = row.iColumn;
        finding.m_sMessage = QString::fromUtf8(row.pszMessage);
        EXPECT_EQ(finding.ToString(), QString::fromUtf8(row.pszExpected));
    }
}

TEST(PercentSignsInMessages, ChannelTableProblemNamesItsFileAndRowAsTheyAre)
{
    OrvelFramework::CLoggingDataProvider::m_bIsLoggingPossible = true;
    MdaTest::TakeLog();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const QString& sName : {QStringLiteral("%1 %2.json"), QStringLiteral("x%4%9.json")})
    {
        SCOPED_TRACE(sName.toStdString());
        const QString sPath = dir.filePath(sName);
        ASSERT_TRUE(QFile::copy(
            QStringLiteral(MDA_TEST_DATA_DIR "/channels/non_finite_values.json"), sPath));
        CChannelTableData table;
        ASSERT_TRUE(table.Read(sPath));
        const QStringList lLog = MdaTest::TakeLog();
        ASSERT_EQ(lLog.size(), 2);
        EXPECT_EQ(lLog.first(), QStringLiteral("Channel table file \"") + sPath +
                                    QStringLiteral("\": the value \"inf MHz\" of Center / Vision "
                                                   "Carrier Frequency in channel 1 is not a finite "
                                                   "number; it is not used.\n"));

        ASSERT_TRUE(table.GetChannel(0).SetItemValue(eSettingsItem_CenterFrequency, "1e308 GHz"));
        const QString sRefused = dir.filePath(QStringLiteral("%1%2%3.json"));
        EXPECT_FALSE(table.Write(sRefused));
        EXPECT_EQ(MdaTest::TakeLog(),
                  QStringList(QStringLiteral("Channel table file \"") + sRefused +
                              QStringLiteral("\" is not written: Center / Vision Carrier "
                                             "Frequency of channel 1 is not a finite number.\n")));
    }
}

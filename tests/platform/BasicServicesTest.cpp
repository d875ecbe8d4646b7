#include "CLoggingDataProvider.h"
#include "COSAbstraction.h"
#include "CRDColor.h"
#include "CRDMatrixData.h"
#include "CSingleton.h"
#include "CStringUtil.h"
#include "TestDataTable.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace OrvelFramework;

TEST(StringUtil, YesNoTextsRoundTripAndEveryYesSpellingIsAccepted)
{
    EXPECT_EQ(CStringUtil::ConvertBool(true) + CStringUtil::ConvertBool(false), "YesNo");
    auto rows = MdaTest::ReadDataTable("platform/yes_no_texts.tsv");
    rows.push_back({"\t1\n", "Yes"}); // a table cannot hold these blanks
    for (const QStringList& row : rows)
    {
        SCOPED_TRACE(row[0].toStdString());
        EXPECT_EQ(CStringUtil::ConvertBool(CStringUtil::ConvertToBool(row[0])), row[1]);
    }
}

TEST(OSAbstraction, UserDataPathIdentifiersAndDateTime)
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    EXPECT_TRUE(base.contains("qttest")) << "test mode must be on: " << base.toStdString();
    EXPECT_EQ(COSAbstraction::GetUserDataPath("Vantrell", "Lumora2.0/TEMP"),
              base + "/Vantrell/Lumora2.0/TEMP");
    QDir(base + "/Vantrell").removeRecursively();
    COSAbstraction::GetUserDataPath("Vantrell", "x");
    EXPECT_FALSE(QDir(base + "/Vantrell").exists()) << "asking for a path creates nothing";

    const QRegularExpression uuid("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$");
    const QString sId = COSAbstraction::GetUniqueIdentifier();
    EXPECT_TRUE(uuid.match(sId).hasMatch()) << sId.toStdString();
    EXPECT_NE(sId, COSAbstraction::GetUniqueIdentifier());
    const QString sNow = COSAbstraction::GetFormattedDateTime();
    EXPECT_TRUE(
        QRegularExpression("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}$").match(sNow).hasMatch())
        << sNow.toStdString();
}

TEST(Logging, StampedMessagesAreKeptInMemoryAndAppendedToTheChosenFile)
{
    EXPECT_TRUE(CLoggingDataProvider::m_bIsLoggingPossible);
    const QString sStamped = CLoggingDataProvider::CreateSimpleLogMsgWithTimeStamp("hello\n");
    EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}\\.\\d{3} hello\\n$")
                    .match(sStamped)
                    .hasMatch())
        << sStamped.toStdString();

    CLoggingStream& stream = CSingleton<CLoggingDataProvider>::GetInstance().m_LoggingStream;
    EXPECT_EQ(&stream, &CSingleton<CLoggingDataProvider>::GetInstance().m_LoggingStream);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    stream.ClearMessages();
    stream.AppendString("first\n");
    stream.SetLogFilePath(dir.filePath("log.txt"));
    stream.AppendString("second\n");
    stream.AppendString("dritte \u00e4\n");
    stream.SetLogFilePath(QString());
    stream.AppendString("fourth\n");
    EXPECT_EQ(stream.GetMessages(),
              (QStringList{"first\n", "second\n", "dritte \u00e4\n", "fourth\n"}));
    QFile file(dir.filePath("log.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), "second\ndritte \u00e4\n");
    stream.ClearMessages();
    EXPECT_TRUE(stream.GetMessages().isEmpty());
}

TEST(ResultDisplay, MatrixKeepsTilesInOrderAndClears)
{
    CRDMatrixData matrix;
    matrix.AppendMatrixItem(3, QStringLiteral("detail"), QStringLiteral("K21"));
    matrix.AppendMatrixItem(13, QString(), QStringLiteral("K22"));
    ASSERT_EQ(matrix.GetItemCount(), 2);
    EXPECT_EQ(matrix.GetItem(0).GetIndex(), 3);
    EXPECT_EQ(matrix.GetItem(0).GetText(), QStringLiteral("detail"));
    EXPECT_EQ(matrix.GetItem(1).GetName(), QStringLiteral("K22"));
    EXPECT_THROW(matrix.GetItem(2), std::out_of_range);
    matrix.Clear();
    EXPECT_EQ(matrix.GetItemCount(), 0);

    static_assert(c_ColorLightGray.GetRed() == 192 && c_ColorLightGray.GetBlue() == 192, "grey");
    EXPECT_EQ(CRDColor(255, 0, 0), c_ColorRed);
    EXPECT_NE(c_ColorYellow, c_ColorGreen);
}

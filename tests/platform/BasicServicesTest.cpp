#include "CLoggingDataProvider.h"
#include "COSAbstraction.h"
#include "CRDColor.h"
#include "CRDMatrixData.h"
#include "CSingleton.h"
#include "CStringUtil.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace OrvelFramework;

TEST(StringUtil, ConvertToBoolAcceptsEveryYesSpellingAndRejectsTheRest)
{
    struct Row
    {
        const char* text;
        bool expected;
    };
    const Row rows[] = {
        {"Yes", true}, {"yes", true},    {" YES ", true},       {"true", true},  {"TRUE", true},
        {"on", true},  {"On", true},     {"1", true},           {"\t1\n", true}, {"No", false},
        {"no", false}, {"false", false}, {"off", false},        {"0", false},    {"", false},
        {"y", false},  {"11", false},    {"yes please", false}, {"2", false},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(CStringUtil::ConvertToBool(QString::fromUtf8(row.text)), row.expected);
    }
}

TEST(StringUtil, ConvertBoolRoundTrips)
{
    EXPECT_EQ(CStringUtil::ConvertBool(true), QStringLiteral("Yes"));
    EXPECT_EQ(CStringUtil::ConvertBool(false), QStringLiteral("No"));
    EXPECT_TRUE(CStringUtil::ConvertToBool(CStringUtil::ConvertBool(true)));
    EXPECT_FALSE(CStringUtil::ConvertToBool(CStringUtil::ConvertBool(false)));
}

TEST(OSAbstraction, UserDataPathLiesUnderTheTestDataLocationAndCreatesNothing)
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString path = COSAbstraction::GetUserDataPath(QStringLiteral("Vantrell"),
                                                         QStringLiteral("Lumora2.0/TEMP"));
    EXPECT_EQ(path, base + QStringLiteral("/Vantrell/Lumora2.0/TEMP"));
    EXPECT_TRUE(base.contains(QStringLiteral("qttest")))
        << "test mode must be on: " << base.toStdString();
    QDir(base + QStringLiteral("/Vantrell")).removeRecursively();
    COSAbstraction::GetUserDataPath(QStringLiteral("Vantrell"), QStringLiteral("x"));
    EXPECT_FALSE(QDir(base + QStringLiteral("/Vantrell")).exists());
}

TEST(OSAbstraction, IdentifiersAreBracelessUuidsAndDistinct)
{
    const QRegularExpression uuid(
        QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"));
    const QString a = COSAbstraction::GetUniqueIdentifier();
    const QString b = COSAbstraction::GetUniqueIdentifier();
    EXPECT_TRUE(uuid.match(a).hasMatch()) << a.toStdString();
    EXPECT_NE(a, b);
}

TEST(OSAbstraction, FormattedDateTimeIsDateBlankTime)
{
    const QRegularExpression format(QStringLiteral("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}$"));
    EXPECT_TRUE(format.match(COSAbstraction::GetFormattedDateTime()).hasMatch());
}

TEST(Logging, StampedMessagesAreKeptInMemoryAndAppendedToTheChosenFile)
{
    EXPECT_TRUE(CLoggingDataProvider::m_bIsLoggingPossible);
    const QString stamped =
        CLoggingDataProvider::CreateSimpleLogMsgWithTimeStamp(QStringLiteral("hello\n"));
    const QRegularExpression format(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}\\.\\d{3} hello\\n$"));
    EXPECT_TRUE(format.match(stamped).hasMatch()) << stamped.toStdString();

    CLoggingStream& stream = CSingleton<CLoggingDataProvider>::GetInstance().m_LoggingStream;
    EXPECT_EQ(&stream, &CSingleton<CLoggingDataProvider>::GetInstance().m_LoggingStream);
    stream.ClearMessages();
    stream.AppendString(QStringLiteral("first\n"));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString logFile = dir.filePath(QStringLiteral("log.txt"));
    stream.SetLogFilePath(logFile);
    stream.AppendString(QStringLiteral("second\n"));
    stream.AppendString(QStringLiteral("dritte \u00e4\n"));
    stream.SetLogFilePath(QString());
    stream.AppendString(QStringLiteral("fourth\n"));

    EXPECT_EQ(stream.GetMessages(),
              (QStringList{QStringLiteral("first\n"), QStringLiteral("second\n"),
                           QStringLiteral("dritte \u00e4\n"), QStringLiteral("fourth\n")}));
    QFile file(logFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), QStringLiteral("second\ndritte \u00e4\n"));
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

#include "CLoggingDataProvider.h"
#include "COSAbstraction.h"
#include "CRDColor.h"
#include "CRDMatrixData.h"
#include "CStringUtil.h"
#include "TestDataTable.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

#include <csignal>
#include <stdexcept>
#include <sys/resource.h>

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
    const QRegularExpression dateTime("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}$");
    EXPECT_TRUE(dateTime.match(sNow).hasMatch()) << sNow.toStdString();
}

// A full disk cuts a large write short without an error, and fails a small one only when it is
// flushed; either way the old file stays whole and nothing is left beside it.
TEST(OSAbstraction, ReplacedFileStaysWholeWhenTheDiskFills)
{
    QTemporaryDir dir;
    const QString sPath = dir.filePath("doc");
    QString sError;
    ASSERT_TRUE(COSAbstraction::ReplaceFile(sPath, "old", sError));
    QStringList errors;

    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    for (rlim_t uRoom : {100, 0})
    {
        const rlimit full{uRoom, limit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &full);
        const bool bReplaced = COSAbstraction::ReplaceFile(sPath, QByteArray(500, 'x'), sError);
        setrlimit(RLIMIT_FSIZE, &limit);
        errors << (bReplaced ? "replaced" : sError);
    }
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(errors, QStringList({"only 100 of 500 bytes written", "File too large"}));
    EXPECT_EQ(MdaTest::ReadBytes(sPath), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList("doc"));
}

TEST(Logging, StampedMessagesAreKeptInMemoryAndAppendedToTheChosenFile)
{
    EXPECT_TRUE(CLoggingDataProvider::m_bIsLoggingPossible.load());
    const QString sStamped = CLoggingDataProvider::CreateSimpleLogMsgWithTimeStamp("hello\n");
    const QRegularExpression stamped(R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{3} hello\n$)");
    EXPECT_TRUE(stamped.match(sStamped).hasMatch()) << sStamped.toStdString();

    CLoggingStream& stream = CSingleton<CLoggingDataProvider>::GetInstance().m_LoggingStream;
    EXPECT_EQ(&stream, &CSingleton<CLoggingDataProvider>::GetInstance().m_LoggingStream);
    QTemporaryDir dir;
    stream.ClearMessages();
    stream.AppendString("first\n");
    stream.SetLogFilePath(dir.filePath("log.txt"));
    stream.AppendString("second\n");
    stream.AppendString("dritte \u00e4\n");
    stream.SetLogFilePath(QString());
    stream.AppendString("fourth\n");
    EXPECT_EQ(stream.GetMessages(),
              (QStringList{"first\n", "second\n", "dritte \u00e4\n", "fourth\n"}));
    EXPECT_EQ(QString::fromUtf8(MdaTest::ReadBytes(dir.filePath("log.txt"))),
              "second\ndritte \u00e4\n");
    stream.ClearMessages();
    EXPECT_TRUE(stream.GetMessages().isEmpty());
}

// A recording thread that fails a million reads must not grow the log without bound; the
// file, when set, still gets every line.
TEST(Logging, LogGrowingWithoutBoundKeepsOnlyTheNewestLinesAndCountsTheDropped)
{
    CLoggingStream stream;
    // The lines kept, and how many were dropped.
    const auto Kept = [&]
    { return std::tuple(stream.GetMessages(), stream.GetDroppedMessageCount()); };
    EXPECT_EQ(stream.GetMaxMessageCount(), 10000);
    QTemporaryDir dir;
    stream.SetLogFilePath(dir.filePath("all.log"));
    // An even count of lines: one line over the bound must be trimmed too.
    stream.SetMaxMessageCount(3);
    for (int i = 1; i <= 6; ++i)
    {
        stream.AppendString(QStringLiteral("line %1\n").arg(i));
    }
    EXPECT_EQ(Kept(), std::tuple(QStringList{"line 4\n", "line 5\n", "line 6\n"}, 3u));
    EXPECT_EQ(MdaTest::ReadBytes(dir.filePath("all.log")).count('\n'), 6);

    // Lowering the bound drops at once; 0 keeps nothing in memory.
    stream.SetMaxMessageCount(1);
    EXPECT_EQ(Kept(), std::tuple(QStringList{"line 6\n"}, 5u));
    stream.SetMaxMessageCount(-5);
    EXPECT_EQ(stream.GetMaxMessageCount(), 0);
    stream.AppendString("gone\n");
    EXPECT_EQ(Kept(), std::tuple(QStringList(), 7u));

    stream.ClearMessages();
    EXPECT_EQ(stream.GetDroppedMessageCount(), 0u);

    // With the default bound a long run keeps exactly the newest 10,000 lines.
    stream.SetLogFilePath(QString());
    stream.SetMaxMessageCount(CLoggingStream::c_iDefaultMaxMessageCount);
    for (int i = 0; i < 25000; ++i)
    {
        stream.AppendString(QString::number(i));
    }
    const QStringList kept = stream.GetMessages();
    ASSERT_EQ(kept.size(), 10000);
    EXPECT_EQ(kept.first() + '-' + kept.last(), "15000-24999");
    EXPECT_EQ(stream.GetDroppedMessageCount(), 15000u);
}

TEST(ResultDisplay, MatrixKeepsTilesInOrderAndClears)
{
    CRDMatrixData matrix;
    matrix.AppendMatrixItem(3, QStringLiteral("detail"), QStringLiteral("K21"));
    matrix.AppendMatrixItem(13, QString(), QStringLiteral("K22"));
    ASSERT_EQ(matrix.GetItemCount(), 2);
    EXPECT_THROW(matrix.GetItem(2), std::out_of_range);
    matrix.Clear();
    EXPECT_EQ(matrix.GetItemCount(), 0);

    static_assert(c_ColorLightGray.GetRed() == 192 && c_ColorLightGray.GetBlue() == 192, "grey");
    EXPECT_EQ(CRDColor(255, 0, 0), c_ColorRed);
    EXPECT_NE(c_ColorYellow, c_ColorGreen);
}

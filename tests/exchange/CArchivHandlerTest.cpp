#include "CArchivHandler.h"
#include "ExchangeTestTools.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ExchangeTestTools;
using LumoraMeasurement::CArchivHandler;

namespace
{

class ArchivHandlerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tmp.isValid());
        m_sRoot = m_tmp.path();
    }

    QString Path(const QString& sRelative) const { return m_sRoot + QLatin1Char('/') + sRelative; }

    static void RequirePython()
    {
        if (!HasTool(QStringLiteral("python3")))
        {
            GTEST_SKIP() << "python3 not installed";
        }
    }

    QTemporaryDir m_tmp;
    QString m_sRoot;
    CArchivHandler m_handler;
};

QJsonObject Entry(const QString& sName, const QString& sData, const char* pMethod = "stored",
                  bool bSymlink = false)
{
    return QJsonObject{{"name", sName},
                       {"data", sData},
                       {"method", QString::fromLatin1(pMethod)},
                       {"symlink", bSymlink}};
}

TEST_F(ArchivHandlerTest, CreatedArchiveReadsBackWithPythonInOrderWithSourceTimes)
{
    RequirePython();
    // Even seconds: the zip time has a two-second resolution.
    const QDateTime t1(QDate(2021, 3, 4), QTime(5, 6, 8));
    const QDateTime t2(QDate(2019, 12, 31), QTime(23, 59, 58));
    const QDateTime t3(QDate(2024, 2, 29), QTime(12, 0, 0));
    ASSERT_TRUE(WriteFile(Path("a/Site.device"), "{\"device\": 1}", t1));
    ASSERT_TRUE(WriteFile(Path("b/c/Site.limit"), QByteArray(100000, 'L'), t2));
    ASSERT_TRUE(WriteFile(Path("Site.channel"), "", t3));

    const QString sArchive = Path("out/new/Site.measurement");
    ASSERT_TRUE(m_handler.CreateArchive(
        sArchive, {Path("a/Site.device"), Path("b/c/Site.limit"), Path("Site.channel")}));

    const QJsonArray list = ListZipWithPython(sArchive);
    const QJsonArray expected = QJsonDocument::fromJson(R"([
        ["Site.device", [2021, 3, 4, 5, 6, 8], 8, 13],
        ["Site.limit", [2019, 12, 31, 23, 59, 58], 8, 100000],
        ["Site.channel", [2024, 2, 29, 12, 0, 0], 8, 0]])")
                                    .array();
    EXPECT_EQ(list, expected);
}

TEST_F(ArchivHandlerTest, CreatedArchivePassesInfoZipTest)
{
    if (!HasTool(QStringLiteral("unzip")))
    {
        GTEST_SKIP() << "unzip not installed";
    }
    ASSERT_TRUE(WriteFile(Path("x/one.limit"), "first"));
    ASSERT_TRUE(WriteFile(Path("y/two.channel"), QByteArray(5000, 'c')));
    const QString sArchive = Path("p.measurement");
    ASSERT_TRUE(m_handler.CreateArchive(sArchive, {Path("x/one.limit"), Path("y/two.channel")}));

    QByteArray baOut;
    EXPECT_TRUE(RunTool(QStringLiteral("unzip"), {QStringLiteral("-tq"), sArchive}));
    ASSERT_TRUE(RunTool(QStringLiteral("unzip"), {QStringLiteral("-Z1"), sArchive}, &baOut));
    EXPECT_EQ(baOut, QByteArray("one.limit\ntwo.channel\n"));
}

TEST_F(ArchivHandlerTest, CreateArchiveSkipsFoldersAndReportsMissingFiles)
{
    RequirePython();
    ASSERT_TRUE(WriteFile(Path("in/a.limit"), "a"));
    ASSERT_TRUE(WriteFile(Path("in/b.channel"), "b"));
    QDir().mkpath(Path("folder"));

    struct Row
    {
        const char* pName;
        QStringList lFiles;
        bool bResult;
        QStringList lEntries;
    };
    const Row rows[] = {
        {"empty list", {}, true, {}},
        {"folder and file", {Path("folder"), Path("in/a.limit")}, true, {"a.limit"}},
        {"missing file",
         {Path("in/a.limit"), Path("in/gone.device"), Path("in/b.channel")},
         false,
         {"a.limit", "b.channel"}},
        {"empty path", {QString(), Path("in/b.channel")}, false, {"b.channel"}},
        {"same name twice", {Path("in/a.limit"), Path("in/a.limit")}, true, {"a.limit", "a.limit"}},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.pName);
        const QString sArchive = Path("out.zip");
        EXPECT_EQ(m_handler.CreateArchive(sArchive, row.lFiles), row.bResult);
        QStringList lNames;
        for (const auto& entry : ListZipWithPython(sArchive))
        {
            lNames << entry.toArray().at(0).toString();
        }
        EXPECT_EQ(lNames, row.lEntries);
        if (row.lEntries.isEmpty())
        {
            EXPECT_TRUE(QFileInfo(sArchive).isFile());
        }
    }
}

TEST_F(ArchivHandlerTest, CreateArchiveTakesAtMost32767Paths)
{
    ASSERT_TRUE(WriteFile(Path("in/last.limit"), "last"));
    QDir().mkpath(Path("folder"));

    for (const int iFolders : {32766, 32767})
    {
        SCOPED_TRACE(iFolders);
        QStringList lFiles;
        for (int i = 0; i < iFolders; ++i)
        {
            lFiles << Path("folder");
        }
        lFiles << Path("in/last.limit");
        QString sOut = Path(QStringLiteral("out%1").arg(iFolders));
        const bool bWithin = iFolders < 32767;
        EXPECT_EQ(m_handler.CreateArchive(Path("big.zip"), lFiles), bWithin);
        ASSERT_TRUE(m_handler.ExtractArchive(Path("big.zip"), sOut, false));
        EXPECT_EQ(ListTree(sOut), bWithin ? QStringList{"last.limit"} : QStringList{});
    }
}

TEST_F(ArchivHandlerTest, CreateArchiveReplacesAnExistingArchive)
{
    ASSERT_TRUE(WriteFile(Path("in/a.limit"), "a"));
    ASSERT_TRUE(WriteFile(Path("in/b.channel"), "b"));
    const QString sArchive = Path("r.zip");
    ASSERT_TRUE(m_handler.CreateArchive(sArchive, {Path("in/a.limit"), Path("in/b.channel")}));
    ASSERT_TRUE(m_handler.CreateArchive(sArchive, {Path("in/b.channel")}));
    QString sOut = Path("out");
    ASSERT_TRUE(m_handler.ExtractArchive(sArchive, sOut, false));
    EXPECT_EQ(ListTree(sOut), QStringList{"b.channel"});
}

TEST_F(ArchivHandlerTest, RoundTripKeepsContentOfManyEntries)
{
    QStringList lFiles;
    for (int i = 0; i < 300; ++i)
    {
        const QString sFile = Path(QStringLiteral("in%1/f%2.bin").arg(i % 7).arg(i));
        QByteArray baData;
        for (int j = 0; j < i * 13; ++j)
        {
            baData.append(char((i * 31 + j * 7) & 0xFF));
        }
        ASSERT_TRUE(WriteFile(sFile, baData));
        lFiles << sFile;
    }
    ASSERT_TRUE(m_handler.CreateArchive(Path("many.zip"), lFiles));
    QString sOut = Path("out");
    ASSERT_TRUE(m_handler.ExtractArchive(Path("many.zip"), sOut, false));
    EXPECT_EQ(ListTree(sOut).size(), 300);
    for (const QString& sFile : lFiles)
    {
        EXPECT_EQ(ReadFile(sOut + QFileInfo(sFile).fileName()), ReadFile(sFile))
            << sFile.toStdString();
    }
}

TEST_F(ArchivHandlerTest, NonAsciiNamesSurviveBothWays)
{
    RequirePython();
    const QString sName = QStringLiteral("Kan\u00e4le \u00d8st.channel");
    ASSERT_TRUE(WriteFile(Path("in/") + sName, "umlaut"));
    ASSERT_TRUE(m_handler.CreateArchive(Path("ours.zip"), {Path("in/") + sName}));
    const QJsonArray list = ListZipWithPython(Path("ours.zip"));
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list.at(0).toArray().at(0).toString(), sName);

    ASSERT_TRUE(MakeZipWithPython(Path("theirs.zip"), {Entry(sName, "from python")}));
    QString sOut = Path("out");
    ASSERT_TRUE(m_handler.ExtractArchive(Path("theirs.zip"), sOut, false));
    EXPECT_EQ(ReadFile(sOut + sName), QByteArray("from python"));
}

TEST_F(ArchivHandlerTest, ArchivesOfOtherToolsExtract)
{
    RequirePython();
    const QByteArray baBig = QByteArray("line of a channel table\n").repeated(2000);
    ASSERT_TRUE(WriteFile(Path("src/Default.channel"), baBig));
    ASSERT_TRUE(WriteFile(Path("src/Default.limit"), "limits"));
    ASSERT_TRUE(WriteFile(Path("src/empty.tdf"), ""));
    const QStringList lSources{Path("src/Default.channel"), Path("src/Default.limit"),
                               Path("src/empty.tdf")};

    struct Row
    {
        const char* pName;
        bool bInfoZip;
        const char* pMethod; // python method, or the Info-ZIP level option
    };
    const Row rows[] = {
        {"python stored", false, "stored"},
        {"python deflated", false, "deflated"},
        {"Info-ZIP stored", true, "-0"},
        {"Info-ZIP deflated", true, "-9"},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.pName);
        const QString sArchive = Path(QStringLiteral("%1.zip").arg(row.pName).replace(' ', '_'));
        if (row.bInfoZip)
        {
            if (!HasTool(QStringLiteral("zip")))
            {
                continue;
            }
            ASSERT_TRUE(RunTool(
                QStringLiteral("zip"),
                QStringList{QStringLiteral("-qjX"), QString::fromLatin1(row.pMethod), sArchive} +
                    lSources));
        }
        else
        {
            QJsonArray entries;
            for (const QString& sFile : lSources)
            {
                entries.append(Entry(QFileInfo(sFile).fileName(),
                                     QString::fromUtf8(ReadFile(sFile)), row.pMethod));
            }
            ASSERT_TRUE(MakeZipWithPython(sArchive, entries));
        }
        QString sOut = Path(QStringLiteral("out/") + QFileInfo(sArchive).baseName());
        ASSERT_TRUE(m_handler.ExtractArchive(sArchive, sOut, false));
        EXPECT_EQ(ListTree(sOut), (QStringList{"Default.channel", "Default.limit", "empty.tdf"}));
        for (const QString& sFile : lSources)
        {
            EXPECT_EQ(ReadFile(sOut + QFileInfo(sFile).fileName()), ReadFile(sFile));
        }
    }
}

TEST_F(ArchivHandlerTest, ExtractArchiveAddsSeparatorAndCreatesFolder)
{
    ASSERT_TRUE(m_handler.CreateArchive(Path("empty.zip"), {}));
    QString sOut = Path("deep/er/out");
    ASSERT_TRUE(m_handler.ExtractArchive(Path("empty.zip"), sOut, false));
    EXPECT_EQ(sOut, Path("deep/er/out/"));
    EXPECT_TRUE(QFileInfo(sOut).isDir());
    EXPECT_TRUE(ListTree(sOut).isEmpty());

    QString sWithSeparator = Path("second/");
    ASSERT_TRUE(m_handler.ExtractArchive(Path("empty.zip"), sWithSeparator, false));
    EXPECT_EQ(sWithSeparator, Path("second/"));
}

TEST_F(ArchivHandlerTest, RenameReplacesEntryStemByArchiveStem)
{
    ASSERT_TRUE(WriteFile(Path("in/Default.measconfig"), "config"));
    ASSERT_TRUE(WriteFile(Path("in/Default.channel"), "channels"));
    ASSERT_TRUE(WriteFile(Path("in/notes.txt"), "notes"));
    const QString sArchive = Path("Site1.measurement");
    ASSERT_TRUE(
        m_handler.CreateArchive(sArchive, {Path("in/Default.measconfig"),
                                           Path("in/Default.channel"), Path("in/notes.txt")}));

    QString sRenamed = Path("renamed");
    ASSERT_TRUE(m_handler.ExtractArchive(sArchive, sRenamed, true));
    EXPECT_EQ(ListTree(sRenamed), (QStringList{"Site1.channel", "Site1.measconfig", "Site1.txt"}));
    EXPECT_EQ(ReadFile(sRenamed + "Site1.measconfig"), QByteArray("config"));

    QString sKept = Path("kept");
    ASSERT_TRUE(m_handler.ExtractArchive(sArchive, sKept, false));
    EXPECT_EQ(ListTree(sKept), (QStringList{"Default.channel", "Default.measconfig", "notes.txt"}));
}

TEST_F(ArchivHandlerTest, EntryInSubfolderNeedsThatFolder)
{
    RequirePython();
    ASSERT_TRUE(MakeZipWithPython(Path("sub.zip"), {Entry("sub/x.txt", "x")}));
    QString sOut = Path("out");
    EXPECT_FALSE(m_handler.ExtractArchive(Path("sub.zip"), sOut, false));
    EXPECT_TRUE(ListTree(sOut).isEmpty());

    QDir().mkpath(Path("out/sub"));
    EXPECT_TRUE(m_handler.ExtractArchive(Path("sub.zip"), sOut, false));
    EXPECT_EQ(ReadFile(Path("out/sub/x.txt")), QByteArray("x"));
}

TEST_F(ArchivHandlerTest, ExtractionOverwritesExistingFiles)
{
    ASSERT_TRUE(WriteFile(Path("in/a.limit"), "new content"));
    ASSERT_TRUE(m_handler.CreateArchive(Path("a.zip"), {Path("in/a.limit")}));
    ASSERT_TRUE(WriteFile(Path("out/a.limit"), "an older and longer content"));
    QString sOut = Path("out");
    ASSERT_TRUE(m_handler.ExtractArchive(Path("a.zip"), sOut, false));
    EXPECT_EQ(ReadFile(Path("out/a.limit")), QByteArray("new content"));
}

// Hostile archives: none may write anything, inside or outside the output folder.
TEST_F(ArchivHandlerTest, HostileEntriesRefuseTheWholeArchive)
{
    RequirePython();
    const QString sAbsolute = Path("victim/abs.txt");
    struct Row
    {
        const char* pName;
        QJsonArray entries;
        bool bRename;
    };
    const Row rows[] = {
        {"parent", {Entry("../x.txt", "evil")}, false},
        {"parent after a good entry", {Entry("good.txt", "ok"), Entry("../x.txt", "evil")}, false},
        {"nested parent", {Entry("a/../../x.txt", "evil", "deflated")}, false},
        {"parent only", {Entry("..", "evil")}, false},
        {"deep parent", {Entry("a/b/../../../victim/x.txt", "evil")}, false},
        {"absolute", {Entry(sAbsolute, "evil")}, false},
        {"drive letter", {Entry("C:/x.txt", "evil")}, false},
        {"drive relative", {Entry("C:x.txt", "evil")}, false},
        {"backslash parent", {Entry("..\\x.txt", "evil")}, false},
        {"backslash folder", {Entry("a\\x.txt", "evil")}, false},
        {"symbolic link", {Entry("link", "../victim", "stored", true)}, false},
        {"symbolic link after good entry",
         {Entry("good.txt", "ok"), Entry("link", "/etc", "stored", true)},
         false},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.pName);
        const QString sArchive = Path("hostile.zip");
        ASSERT_TRUE(MakeZipWithPython(sArchive, row.entries));
        QDir(Path("work")).removeRecursively();
        QDir(Path("victim")).removeRecursively();
        QDir().mkpath(Path("victim"));
        QString sOut = Path("work/out");

        EXPECT_FALSE(m_handler.ExtractArchive(sArchive, sOut, row.bRename));
        EXPECT_EQ(ListTree(Path("work")), QStringList{"out"});
        EXPECT_TRUE(ListTree(Path("victim")).isEmpty());
        EXPECT_FALSE(QFileInfo::exists(Path("x.txt")));
    }
}

TEST_F(ArchivHandlerTest, DamagedArchivesFail)
{
    RequirePython();
    const QByteArray baData = QByteArray("payload ").repeated(500);
    ASSERT_TRUE(MakeZipWithPython(
        Path("good.zip"),
        {Entry("a.txt", QString::fromLatin1(baData), "deflated"), Entry("b.txt", "second")}));
    const QByteArray baGood = ReadFile(Path("good.zip"));
    ASSERT_TRUE(WriteFile(Path("truncated.zip"), baGood.left(baGood.size() / 2)));
    ASSERT_TRUE(WriteFile(Path("tail-cut.zip"), baGood.left(baGood.size() - 10)));
    ASSERT_TRUE(WriteFile(Path("text.zip"), "this is not a zip archive\n"));
    ASSERT_TRUE(WriteFile(Path("empty-file.zip"), ""));
    ASSERT_TRUE(MakeZipWithPython(Path("crc-stored.zip"), {Entry("a.txt", "checked data")}, true));
    ASSERT_TRUE(MakeZipWithPython(Path("crc-deflated.zip"),
                                  {Entry("a.txt", QString::fromLatin1(baData), "deflated")}, true));

    for (const char* pArchive : {"truncated.zip", "tail-cut.zip", "text.zip", "empty-file.zip",
                                 "missing.zip", "crc-stored.zip", "crc-deflated.zip"})
    {
        SCOPED_TRACE(pArchive);
        QString sOut = Path(QStringLiteral("out-") + pArchive);
        EXPECT_FALSE(m_handler.ExtractArchive(Path(pArchive), sOut, false));
        // A damaged entry is not written.
        EXPECT_FALSE(QFileInfo::exists(sOut + "a.txt"));
    }
}

TEST_F(ArchivHandlerTest, EmptyArchiveOfAnotherToolExtractsToNothing)
{
    RequirePython();
    ASSERT_TRUE(MakeZipWithPython(Path("empty.zip"), QJsonArray()));
    QString sOut = Path("out");
    EXPECT_TRUE(m_handler.ExtractArchive(Path("empty.zip"), sOut, false));
    EXPECT_TRUE(QFileInfo(sOut).isDir());
    EXPECT_TRUE(ListTree(sOut).isEmpty());
}

TEST_F(ArchivHandlerTest, ManyEntriesOfAnotherToolExtract)
{
    RequirePython();
    QJsonArray entries;
    for (int i = 0; i < 3000; ++i)
    {
        entries.append(Entry(QStringLiteral("e%1.txt").arg(i), QString::number(i * i),
                             i % 2 ? "stored" : "deflated"));
    }
    ASSERT_TRUE(MakeZipWithPython(Path("many.zip"), entries));
    QString sOut = Path("out");
    ASSERT_TRUE(m_handler.ExtractArchive(Path("many.zip"), sOut, false));
    EXPECT_EQ(ListTree(sOut).size(), 3000);
    EXPECT_EQ(ReadFile(sOut + "e2999.txt"), QByteArray::number(2999 * 2999));
}

// Links already in the output folder must not carry a write outside it.
TEST_F(ArchivHandlerTest, LinksInTheOutputFolderAreNotFollowed)
{
    RequirePython();
    ASSERT_TRUE(WriteFile(Path("victim/x.txt"), "original"));
    QDir().mkpath(Path("out"));
    ASSERT_TRUE(QFile::link(Path("victim"), Path("out/sub")));
    ASSERT_TRUE(QFile::link(Path("victim/x.txt"), Path("out/x.txt")));

    ASSERT_TRUE(MakeZipWithPython(Path("into-link.zip"), {Entry("sub/x.txt", "evil")}));
    QString sOut = Path("out");
    EXPECT_FALSE(m_handler.ExtractArchive(Path("into-link.zip"), sOut, false));
    EXPECT_EQ(ReadFile(Path("victim/x.txt")), QByteArray("original"));

    ASSERT_TRUE(MakeZipWithPython(Path("over-link.zip"), {Entry("x.txt", "replaced")}));
    EXPECT_TRUE(m_handler.ExtractArchive(Path("over-link.zip"), sOut, false));
    EXPECT_EQ(ReadFile(Path("victim/x.txt")), QByteArray("original"));
    EXPECT_FALSE(QFileInfo(Path("out/x.txt")).isSymLink());
    EXPECT_EQ(ReadFile(Path("out/x.txt")), QByteArray("replaced"));
}

} // namespace

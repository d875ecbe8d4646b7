#include "CArchivHandler.h"
#include "ExchangeTestTools.h"

#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

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
        if (!HasTool("python3"))
        {
            GTEST_SKIP() << "python3 not installed";
        }
    }

    QString Path(const QString& sRelative) const { return m_tmp.filePath(sRelative); }

    QTemporaryDir m_tmp;
    CArchivHandler m_handler;
};

QJsonObject Entry(const QString& sName, const QString& sData, const char* pMethod = "stored",
                  bool bSymlink = false)
{
    return {{"name", sName}, {"data", sData}, {"method", pMethod}, {"symlink", bSymlink}};
}

TEST_F(ArchivHandlerTest, OtherToolsReadOurArchivesWithNamesOrderAndTimes)
{
    // Even seconds: zip times have a two-second resolution.
    const QDateTime t1(QDate(2021, 3, 4), QTime(5, 6, 8));
    const QDateTime t2(QDate(2019, 12, 31), QTime(23, 59, 58));
    const QString sUmlaut = QStringLiteral("Kan\u00e4le.channel");
    ASSERT_TRUE(WriteFile(Path("a/Site.device"), "{\"device\": 1}", t1));
    ASSERT_TRUE(WriteFile(Path("b/c/Site.limit"), QByteArray(100000, 'L'), t2));
    ASSERT_TRUE(WriteFile(Path("b/") + sUmlaut, "", t1));

    const QString sArchive = Path("out/new/Site.measurement");
    ASSERT_TRUE(m_handler.CreateArchive(
        sArchive, {Path("a/Site.device"), Path("b/c/Site.limit"), Path("b/") + sUmlaut}));

    const QJsonArray expected = QJsonDocument::fromJson(R"([
        ["Site.device", [2021, 3, 4, 5, 6, 8], 8, 13],
        ["Site.limit", [2019, 12, 31, 23, 59, 58], 8, 100000],
        ["Kan\u00e4le.channel", [2021, 3, 4, 5, 6, 8], 8, 0]])")
                                    .array();
    EXPECT_EQ(ListZipWithPython(sArchive), expected);
    if (HasTool("unzip"))
    {
        EXPECT_TRUE(RunTool("unzip", {"-tq", sArchive}));
    }
}

TEST_F(ArchivHandlerTest, CreateArchiveSkipsFoldersAndReportsMissingFiles)
{
    ASSERT_TRUE(WriteFile(Path("in/a.limit"), "a"));
    ASSERT_TRUE(WriteFile(Path("other/a.limit"), "other a"));
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
        {"missing file", {Path("in/gone.device"), Path("in/a.limit")}, false, {"a.limit"}},
        {"empty path", {QString(), Path("in/a.limit")}, false, {"a.limit"}},
        {"same name twice",
         {Path("in/a.limit"), Path("other/a.limit")},
         true,
         {"a.limit", "a.limit"}},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.pName);
        EXPECT_EQ(m_handler.CreateArchive(Path("out.zip"), row.lFiles), row.bResult);
        QStringList lNames;
        for (const auto& entry : ListZipWithPython(Path("out.zip")))
        {
            lNames << entry.toArray().at(0).toString();
        }
        EXPECT_EQ(lNames, row.lEntries);
    }
}

// The list position is a 16-bit signed count: the 32768th path is never reached.
TEST_F(ArchivHandlerTest, CreateArchiveTakesAtMost32767Paths)
{
    ASSERT_TRUE(WriteFile(Path("in/last.limit"), "last"));
    for (const int iFolders : {32766, 32767})
    {
        SCOPED_TRACE(iFolders);
        QStringList lFiles;
        for (int i = 0; i < iFolders; ++i)
        {
            lFiles << Path("in");
        }
        lFiles << Path("in/last.limit");
        QString sOut = Path(QString("out%1").arg(iFolders));
        EXPECT_EQ(m_handler.CreateArchive(Path("big.zip"), lFiles), iFolders < 32767);
        ASSERT_TRUE(m_handler.ExtractArchive(Path("big.zip"), sOut, false));
        EXPECT_EQ(ListTree(sOut).size(), iFolders < 32767 ? 1 : 0);
    }
}

TEST_F(ArchivHandlerTest, ArchivesOfOtherToolsExtract)
{
    const QString sUmlaut = QStringLiteral("\u00d8st.tdf");
    const QByteArray baBig = QByteArray("line of a channel table\n").repeated(2000);
    ASSERT_TRUE(WriteFile(Path("src/Default.channel"), baBig));
    ASSERT_TRUE(WriteFile(Path("src/Default.limit"), "limits"));
    ASSERT_TRUE(WriteFile(Path("src/") + sUmlaut, ""));
    const QStringList lNames{"Default.channel", "Default.limit", sUmlaut};

    // Python method, or the Info-ZIP level option.
    const std::pair<bool, const char*> rows[] = {
        {false, "stored"}, {false, "deflated"}, {true, "-0"}, {true, "-9"}};
    for (const auto& [bInfoZip, pMethod] : rows)
    {
        SCOPED_TRACE(pMethod);
        const QString sArchive = Path(QString("archive%1.zip").arg(pMethod));
        if (bInfoZip && !HasTool("zip"))
        {
            continue;
        }
        QJsonArray entries;
        QStringList lSources;
        for (const QString& sName : lNames)
        {
            entries.append(
                Entry(sName, QString::fromUtf8(ReadFile(Path("src/") + sName)), pMethod));
            lSources << Path("src/") + sName;
        }
        ASSERT_TRUE(bInfoZip ? RunTool("zip", QStringList{"-qjX", pMethod, sArchive} + lSources)
                             : MakeZipWithPython(sArchive, entries));
        QString sOut = Path(QString("out%1").arg(pMethod));
        ASSERT_TRUE(m_handler.ExtractArchive(sArchive, sOut, false));
        EXPECT_EQ(ListTree(sOut), (QStringList{"Default.channel", "Default.limit", sUmlaut}));
        EXPECT_EQ(ReadFile(sOut + "Default.channel"), baBig);
    }
}

TEST_F(ArchivHandlerTest, ExtractArchiveNormalisesTheFolderAndRenamesOnRequest)
{
    ASSERT_TRUE(WriteFile(Path("in/Default.measconfig"), "config"));
    ASSERT_TRUE(WriteFile(Path("in/Default.channel"), "channels"));
    ASSERT_TRUE(WriteFile(Path("in/notes.txt"), "notes"));
    const QString sArchive = Path("Site1.measurement");
    ASSERT_TRUE(
        m_handler.CreateArchive(sArchive, {Path("in/Default.measconfig"),
                                           Path("in/Default.channel"), Path("in/notes.txt")}));

    QString sRenamed = Path("deep/renamed");
    ASSERT_TRUE(m_handler.ExtractArchive(sArchive, sRenamed, true));
    EXPECT_EQ(sRenamed, Path("deep/renamed/"));
    EXPECT_EQ(ListTree(sRenamed), (QStringList{"Site1.channel", "Site1.measconfig", "Site1.txt"}));
    EXPECT_EQ(ReadFile(sRenamed + "Site1.measconfig"), "config");

    QString sKept = Path("kept/");
    ASSERT_TRUE(m_handler.ExtractArchive(sArchive, sKept, false));
    EXPECT_EQ(sKept, Path("kept/"));
    EXPECT_EQ(ListTree(sKept), (QStringList{"Default.channel", "Default.measconfig", "notes.txt"}));
}

// Every archive either extracts as stated or is refused with nothing written at all.
TEST_F(ArchivHandlerTest, ExtractionOfBrokenAndHostileArchives)
{
    const QString sPayload = QString("payload ").repeated(500);
    auto python = [](QJsonArray entries, bool bBadCrc = false)
    { return [=](const QString& sPath) { return MakeZipWithPython(sPath, entries, bBadCrc); }; };
    auto bytes = [](QByteArray baData)
    { return [=](const QString& sPath) { return WriteFile(sPath, baData); }; };
    // Half of the archive, or all but the last bytes of its end record.
    auto cut = [&](bool bHalf)
    {
        return [=](const QString& sPath)
        {
            if (!MakeZipWithPython(sPath, {Entry("a.txt", sPayload, "deflated")}))
            {
                return false;
            }
            const QByteArray baWhole = ReadFile(sPath);
            return WriteFile(sPath, baWhole.left(bHalf ? baWhole.size() / 2 : baWhole.size() - 10));
        };
    };
    struct Row
    {
        const char* pName;
        std::function<bool(const QString&)> make;
        bool bResult;
    };
    const Row rows[] = {
        {"no entries", python({}), true},
        {"parent", python({Entry("../x.txt", "evil")}), false},
        {"parent after a good entry", python({Entry("a.txt", "ok"), Entry("../x.txt", "evil")}),
         false},
        {"nested parent", python({Entry("a/../../x.txt", "evil", "deflated")}), false},
        {"parent only", python({Entry("..", "evil")}), false},
        {"absolute", python({Entry(Path("victim/x.txt"), "evil")}), false},
        {"drive letter", python({Entry("C:/x.txt", "evil")}), false},
        {"drive relative", python({Entry("C:x.txt", "evil")}), false},
        {"backslash parent", python({Entry("..\\x.txt", "evil")}), false},
        {"backslash folder", python({Entry("a\\x.txt", "evil")}), false},
        {"symbolic link",
         python({Entry("a.txt", "ok"), Entry("link", "../victim", "stored", true)}), false},
        {"folder not there", python({Entry("sub/a.txt", "x")}), false},
        {"wrong checksum stored", python({Entry("a.txt", "checked data")}, true), false},
        {"wrong checksum deflated", python({Entry("a.txt", sPayload, "deflated")}, true), false},
        {"truncated", cut(true), false},
        {"tail cut", cut(false), false},
        {"not a zip", bytes("this is not a zip archive\n"), false},
        {"empty file", bytes(""), false},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.pName);
        QDir(Path("work")).removeRecursively();
        QDir(Path("victim")).removeRecursively();
        QDir().mkpath(Path("victim"));
        ASSERT_TRUE(row.make(Path("work/archive.zip")));
        QString sOut = Path("work/out");

        EXPECT_EQ(m_handler.ExtractArchive(Path("work/archive.zip"), sOut, false), row.bResult);
        EXPECT_EQ(ListTree(Path("work")), (QStringList{"archive.zip", "out"}));
        EXPECT_TRUE(ListTree(Path("victim")).isEmpty());
        EXPECT_FALSE(QFileInfo::exists(Path("x.txt")));
    }
    QString sOut = Path("none");
    EXPECT_FALSE(m_handler.ExtractArchive(Path("missing.zip"), sOut, false));
}

TEST_F(ArchivHandlerTest, ManyEntriesOfAnotherToolExtract)
{
    QJsonArray entries;
    for (int i = 0; i < 3000; ++i)
    {
        entries.append(Entry(QString("e%1.txt").arg(i), QString::number(i * i),
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
    ASSERT_TRUE(WriteFile(Path("victim/x.txt"), "original"));
    QDir().mkpath(Path("out/real"));
    ASSERT_TRUE(QFile::link(Path("victim"), Path("out/sub")));
    ASSERT_TRUE(QFile::link(Path("victim/x.txt"), Path("out/x.txt")));
    QString sOut = Path("out");

    ASSERT_TRUE(MakeZipWithPython(Path("into-link.zip"), {Entry("sub/x.txt", "evil")}));
    EXPECT_FALSE(m_handler.ExtractArchive(Path("into-link.zip"), sOut, false));

    ASSERT_TRUE(MakeZipWithPython(Path("over-link.zip"),
                                  {Entry("x.txt", "replaced"), Entry("real/y.txt", "y")}));
    EXPECT_TRUE(m_handler.ExtractArchive(Path("over-link.zip"), sOut, false));
    EXPECT_EQ(ReadFile(Path("victim/x.txt")), "original");
    EXPECT_FALSE(QFileInfo(Path("out/x.txt")).isSymLink());
    EXPECT_EQ(ReadFile(Path("out/x.txt")), "replaced");
    EXPECT_EQ(ReadFile(Path("out/real/y.txt")), "y");
}

} // namespace

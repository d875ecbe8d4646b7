#include "CArchivHandler.h"
#include "ExchangeTestTools.h"

#include <QRegularExpression>
#include <QtEndian>

#include <csignal>
#include <functional>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

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
    bool Extract(const QString& sArchive, const QString& sOut)
    {
        QString sFolder = Path(sOut);
        return m_handler.ExtractArchive(Path(sArchive), sFolder, false);
    }
    // Empties sRelative, or makes it.
    bool Fresh(const QString& sRelative)
    {
        return QDir(Path(sRelative)).removeRecursively() && QDir().mkpath(Path(sRelative));
    }

    QTemporaryDir m_tmp;
    CArchivHandler m_handler;
};

// Other tools read our archives with names, order and times; ours extract into a normalised
// folder, renamed after the archive on request.
TEST_F(ArchivHandlerTest, RoundTripWithOtherToolsAndRenaming)
{
    // Even seconds: zip times have a two-second resolution.
    const QDateTime t1(QDate(2021, 3, 4), QTime(5, 6, 8));
    const QString sUmlaut = QStringLiteral("b/Kan\u00e4le.channel");
    ASSERT_TRUE(WriteFile(Path("a/Site.device"), "{\"device\": 1}", t1));
    ASSERT_TRUE(WriteFile(Path("b/c/Site.limit"), QByteArray(100000, 'L'),
                          QDateTime(QDate(2019, 12, 31), QTime(23, 59, 58))));
    ASSERT_TRUE(WriteFile(Path(sUmlaut), "", t1));

    const QString sArchive = Path("out/new/Site1.measurement");
    ASSERT_TRUE(m_handler.CreateArchive(
        sArchive, {Path("a/Site.device"), Path("b/c/Site.limit"), Path(sUmlaut)}));
    EXPECT_EQ(ReadZip("list", sArchive),
              R"([["Site.device", [2021, 3, 4, 5, 6, 8], 8, 13], )"
              R"(["Site.limit", [2019, 12, 31, 23, 59, 58], 8, 100000], )"
              R"(["Kan\u00e4le.channel", [2021, 3, 4, 5, 6, 8], 8, 0]])");
    EXPECT_TRUE(!HasTool("unzip") || RunTool("unzip", {"-tq", sArchive}));

    QString sRenamed = Path("deep/renamed");
    ASSERT_TRUE(m_handler.ExtractArchive(sArchive, sRenamed, true));
    EXPECT_EQ(sRenamed, Path("deep/renamed/"));
    EXPECT_EQ(ListTree(sRenamed), (QStringList{"Site1.channel", "Site1.device", "Site1.limit"}));
    EXPECT_EQ(ReadBytes(sRenamed + "Site1.device"), "{\"device\": 1}");
    QString sKept = Path("kept/");
    ASSERT_TRUE(m_handler.ExtractArchive(sArchive, sKept, false));
    EXPECT_EQ(sKept, Path("kept/"));
    EXPECT_EQ(ListTree(sKept), (QStringList{"Kan\u00e4le.channel", "Site.device", "Site.limit"}));

    // The entry point below the wrapper: an existing folder named without its separator.
    QString sDirect = Path("direct");
    ASSERT_TRUE(QDir().mkpath(sDirect) && m_handler.ExtractZipArchive(sArchive, sDirect, true));
    EXPECT_EQ(sDirect, Path("direct"));
    EXPECT_EQ(ListTree(sDirect), (QStringList{"Site1.channel", "Site1.device", "Site1.limit"}));
    EXPECT_FALSE(m_handler.ExtractZipArchive(Path("missing.zip"), sDirect, false));
    // Archives of other tools extract.
    const QByteArray baBig = QByteArray("line of a channel table\n").repeated(2000);
    const QStringList lNames{"Default.channel", "Default.limit", QStringLiteral("\u00d8st.tdf")};
    const QStringList lSources =
        QStringList(lNames).replaceInStrings(QRegularExpression("^"), Path("src/"));
    ASSERT_TRUE(WriteFile(lSources[0], baBig) && WriteFile(lSources[1], "limits") &&
                WriteFile(lSources[2], ""));
    const char* const c_pszEntries =
        R"([{"name": "Default.channel", "data": "line of a channel table\n", "repeat": 2000,
              "method": "%1"}, {"name": "Default.limit", "data": "limits", "method": "%1"},
             {"name": "\u00d8st.tdf", "method": "%1"}])";
    // Python method, or the Info-ZIP level option.
    for (const char* pMethod : {"stored", "deflated", "-0", "-9"})
    {
        SCOPED_TRACE(pMethod);
        const QString sZip = QString("archive%1.zip").arg(pMethod);
        if (pMethod[0] == '-' && !HasTool("zip"))
        {
            continue;
        }
        ASSERT_TRUE(pMethod[0] == '-'
                        ? RunTool("zip", QStringList{"-qjX", pMethod, Path(sZip)} + lSources)
                        : MakeZip(Path(sZip), QString(c_pszEntries).arg(pMethod).toUtf8()));
        const QString sOut = QString("out%1/").arg(pMethod);
        ASSERT_TRUE(Extract(sZip, sOut));
        EXPECT_EQ(ListTree(Path(sOut)), lNames);
        EXPECT_EQ(ReadBytes(Path(sOut) + "Default.channel"), baBig);
    }
}

TEST_F(ArchivHandlerTest, CreateArchiveSkipsFoldersAndReportsMissingFiles)
{
    ASSERT_TRUE(WriteFile(Path("in/a.limit"), "a") && WriteFile(Path("other/a.limit"), "other a") &&
                QDir().mkpath(Path("folder")) && WriteFile(Path("in/last.limit"), "last"));
    for (const QStringList& row : MdaTest::ReadDataTable("exchange/create-archive.tsv"))
    {
        SCOPED_TRACE(row[0].toStdString());
        QStringList lFiles;
        for (const QString& sPath : row[2].split(',', Qt::SkipEmptyParts))
        {
            lFiles << (sPath == "\"\"" ? QString() : sPath.startsWith('/') ? sPath : Path(sPath));
        }
        EXPECT_EQ(m_handler.CreateArchive(Path("out.zip"), lFiles), row[1] == "1");
        EXPECT_EQ(ReadZip("names", Path("out.zip")).split('\n', Qt::SkipEmptyParts),
                  row[3].split(',', Qt::SkipEmptyParts));
    }
    // An archive that cannot be made where it is named, nor in a folder that cannot be made.
    EXPECT_FALSE(m_handler.CreateArchive(Path("folder"), {Path("in/a.limit")}));
    EXPECT_FALSE(m_handler.CreateArchive(Path("in/a.limit/x.zip"), {Path("in/a.limit")}));
    // The list position is a 16-bit signed count: the 32768th path is never reached.
    for (const int iFolders : {32766, 32767})
    {
        SCOPED_TRACE(iFolders);
        const std::vector<QString> lFolders(iFolders, Path("in"));
        QStringList lFiles(lFolders.begin(), lFolders.end());
        EXPECT_EQ(m_handler.CreateArchive(Path("big.zip"), lFiles << Path("in/last.limit")),
                  iFolders < 32767);
        const QString sOut = QString("out%1").arg(iFolders);
        ASSERT_TRUE(Extract("big.zip", sOut));
        EXPECT_EQ(ListTree(Path(sOut)).size(), iFolders < 32767 ? 1 : 0);
    }
}

long PeakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Bytes this process has handed to write calls so far.
qint64 WrittenBytes()
{
    QFile io("/proc/self/io");
    const QByteArray text = io.open(QIODevice::ReadOnly) ? io.readAll() : QByteArray();
    const int iAt = text.indexOf("wchar: ");
    return iAt < 0 ? -1 : text.mid(iAt + 7, text.indexOf('\n', iAt) - iAt - 7).toLongLong();
}

// Every archive either extracts as stated or is refused with a reason in words (the import
// passes it on to its user) and nothing written at all.
TEST_F(ArchivHandlerTest, BrokenAndHostileArchivesAreRefusedWithAReasonAndNothingWritten)
{
    for (QStringList row : MdaTest::ReadDataTable("exchange/hostile-archives.tsv"))
    {
        SCOPED_TRACE(row[0].toStdString());
        row.replaceInStrings("{victim}", Path("victim"));
        ASSERT_TRUE(Fresh("work") && Fresh("victim"));
        ASSERT_TRUE(MakeZip(Path("work/archive.zip"), row[3].toUtf8(), row[2]));
        // The reason is the whole report: nothing goes on to an entry it could not open, which
        // Qt would complain of.
        static QStringList s_lWarnings;
        s_lWarnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& s) { s_lWarnings << s; });
        const bool bExtracted = Extract("work/archive.zip", "work/out");
        qInstallMessageHandler(previous);
        EXPECT_EQ(bExtracted, row[1] == "1");
        EXPECT_EQ(m_handler.LastError(), row[4].replace("\\0", QChar(0)));
        EXPECT_EQ(s_lWarnings + ListTree(Path("victim")), QStringList());
        EXPECT_EQ(ListTree(Path("work")), (QStringList{"archive.zip", "out"}));
        EXPECT_FALSE(QFileInfo::exists(Path("x.txt")));
    }
    EXPECT_FALSE(Extract("missing.zip", "none"));
    EXPECT_EQ(m_handler.LastError(), "it does not exist");
    ASSERT_TRUE(WriteFile(Path("file"), "x"));
    EXPECT_FALSE(Extract("work/archive.zip", "file/out"));
    EXPECT_EQ(m_handler.LastError(), "cannot create the folder '" + Path("file/out") + "'");
    // Links already in the output folder must not carry a write outside it.
    ASSERT_TRUE(WriteFile(Path("victim/x.txt"), "original") && QDir().mkpath(Path("out/real")) &&
                QFile::link(Path("victim"), Path("out/sub")) &&
                QFile::link(Path("victim/x.txt"), Path("out/x.txt")));

    ASSERT_TRUE(MakeZip(Path("into-link.zip"), R"([{"name": "sub/x.txt", "data": "evil"}])"));
    EXPECT_FALSE(Extract("into-link.zip", "out"));
    ASSERT_TRUE(MakeZip(Path("over-link.zip"), R"([{"name": "x.txt", "data": "replaced"},
                                                   {"name": "real/y.txt", "data": "y"}])"));
    EXPECT_TRUE(Extract("over-link.zip", "out"));
    EXPECT_EQ(ReadBytes(Path("victim/x.txt")), "original");
    EXPECT_FALSE(QFileInfo(Path("out/x.txt")).isSymLink());
    EXPECT_EQ(ReadBytes(Path("out/x.txt")), "replaced");
    EXPECT_EQ(ReadBytes(Path("out/real/y.txt")), "y");
    // A small archive must not fill the disk: too many entries, or directory records sharing one
    // small body that inflates far beyond the bound, are refused before anything is written.
    for (const QStringList& row : MdaTest::ReadDataTable("exchange/bounds.tsv"))
    {
        SCOPED_TRACE(row[0].toStdString());
        ASSERT_TRUE(Fresh("work") && RunZipTool({"shared", Path("work/bomb.zip"), row[1], row[2]}));
        ASSERT_LT(QFileInfo(Path("work/bomb.zip")).size(), 400 * 1024);
        const qint64 llBefore = WrittenBytes();
        EXPECT_EQ(Extract("work/bomb.zip", "work/out"), row[3] == "1");
        EXPECT_EQ(m_handler.LastError(), row[4]);
        EXPECT_TRUE(row[3] == "1" || WrittenBytes() - llBefore < 65536) << "refused after writing";
        EXPECT_EQ(ListTree(Path("work/out")).size(), row[3] == "1" ? row[1].toInt() : 0);
    }
    // An entry is streamed to disk: unpacking 64 MiB must not hold it in memory, and a disk that
    // fills half way fails the extraction without leaving a cut file.
    const qint64 c_iSize = 64 * 1024 * 1024;
    ASSERT_TRUE(RunZipTool({"shared", Path("big.zip"), "1", QString::number(c_iSize)}));
    const long lBefore = PeakResidentKiB();
    ASSERT_TRUE(Extract("big.zip", "out"));
    EXPECT_EQ(QFileInfo(Path("out/e0000.bin")).size(), c_iSize);
    EXPECT_LT(PeakResidentKiB() - lBefore, 32 * 1024);

    const QStringList lTwo{Path("two/a.limit"), Path("two/b.limit")};
    ASSERT_TRUE(WriteFile(lTwo[0], QByteArray(2 * 1024 * 1024, 'a')) && WriteFile(lTwo[1], "b") &&
                m_handler.CreateArchive(Path("two.zip"), lTwo));
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    // What run gives where a file may not grow beyond bytes (a write past it fails).
    const auto limited = [&limit](rlim_t bytes, const std::function<bool()>& run)
    {
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit cut{bytes, limit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &cut);
        const bool bDone = run();
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, previous);
        return bDone;
    };
    EXPECT_FALSE(limited(1024 * 1024, [&] { return Extract("big.zip", "full"); }));
    // The extraction stops at the entry that could not be written: the small one after it is
    // not written either.
    EXPECT_FALSE(limited(1024 * 1024, [&] { return Extract("two.zip", "full-two"); }));
    EXPECT_EQ(ListTree(Path("full")) + ListTree(Path("full-two")), QStringList());

    // An archive whose list of entries, written last, does not fit is no archive: the limit
    // lets the entries through (the list's offset is in the end record, 6 bytes from the end).
    const QByteArray baTwo = ReadBytes(Path("two.zip"));
    EXPECT_FALSE(limited(qFromLittleEndian<quint32>(baTwo.constData() + baTwo.size() - 6) + 10u,
                         [&] { return m_handler.CreateArchive(Path("cut.zip"), lTwo); }));
    EXPECT_FALSE(QFileInfo::exists(Path("cut.zip")));
}

// In a shared folder (sticky bit) a user may not replace another user's file or link, nor write
// in a folder that is not theirs: the extraction fails at that entry with the reason and writes
// nothing after it.
TEST_F(ArchivHandlerTest, EntryOverAnotherUsersFileInASharedFolderFails)
{
    if (geteuid() != 0)
    {
        GTEST_SKIP() << "needs root to leave files of another user";
    }
    // Prepared as root, extracted as nobody.
    ASSERT_EQ(chmod(QFile::encodeName(m_tmp.path()).constData(), 0755), 0);
    ASSERT_TRUE(MakeZip(Path("a.zip"), R"([{"name": "theirs", "data": "new"},
                                           {"name": "after", "data": "a"}])"));
    for (const QString sName : {"shared-file", "shared-link", "not-ours"})
    {
        SCOPED_TRACE(sName.toStdString());
        const bool bLink = sName == "shared-link";
        const QString sOut = Path(sName);
        const QString sTheirs = sOut + "/theirs";
        ASSERT_TRUE(sName == "shared-file"
                        ? WriteFile(sTheirs, "old")
                        : QDir().mkpath(sOut) && (!bLink || QFile::link(Path("a.zip"), sTheirs)));
        ASSERT_EQ(chmod(QFile::encodeName(sOut).constData(), sName == "not-ours" ? 0755 : 01777),
                  0);
        ASSERT_TRUE(sName != "shared-file" ||
                    chmod(QFile::encodeName(sTheirs).constData(), 0666) == 0);
        const QStringList before = TreeWithContents(sOut);
        ASSERT_EQ(seteuid(65534), 0);
        const bool bExtracted = Extract("a.zip", sName);
        ASSERT_EQ(seteuid(0), 0);
        EXPECT_FALSE(bExtracted);
        EXPECT_EQ(m_handler.LastError(), "cannot write '" + sTheirs + "'");
        EXPECT_EQ(TreeWithContents(sOut), before);
    }
}

} // namespace

#include "CMeasurementDataExportHandler.h"
#include "CArchivHandler.h"
#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CDBExportFilesController.h"
#include "CDeviceSettingsData.h"
#include "CImportStaging.h"
#include "CMeasConfigData.h"
#include "COSAbstraction.h"
#include "DatabaseTestBackend.h"
#include "ExchangeTestTools.h"

#include <QRegularExpression>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>

// Failures a file system would give when an unpacked folder is moved into place, one errno per
// coming move; empty means the real call. The library and Qt both reach this definition.
static std::deque<int> g_lMoveErrors;
// When set, the move of an unpacked folder into place writes a byte here and waits to be killed.
static int g_iStallPipe = -1;

extern "C" int renameat2(int iOldDir, const char* pOld, int iNewDir, const char* pNew,
                         unsigned int uiFlags) noexcept
{
    if (g_iStallPipe >= 0 && std::strstr(pOld, "/.import-") != nullptr)
    {
        // Once the parent knows, wait to be killed; exit when it cannot be told.
        const bool bTold = write(g_iStallPipe, "s", 1) == 1;
        while (bTold)
        {
            pause();
        }
        _exit(3);
    }
    if (!g_lMoveErrors.empty() && std::strstr(pOld, "/.import-") != nullptr)
    {
        errno = g_lMoveErrors.front();
        g_lMoveErrors.pop_front();
        return -1;
    }
    return static_cast<int>(syscall(SYS_renameat2, iOldDir, pOld, iNewDir, pNew, uiFlags));
}

// Locks fail with this error where set (a file system without locks), after as many calls as
// are to pass; 0 means the real call.
static int g_iLockError = 0;
static int g_iLocksToPass = 0;

extern "C" int flock(int iFd, int iOperation) noexcept
{
    if (g_iLockError != 0 && g_iLocksToPass-- <= 0)
    {
        errno = g_iLockError;
        return -1;
    }
    return static_cast<int>(syscall(SYS_flock, iFd, iOperation));
}

// Folders whose path holds this part cannot be made, with this error; none when null.
static const char* g_pUnmakeable = nullptr;
static int g_iUnmakeableError = EACCES;
static int g_iRefusedMakes = 0;

extern "C" int mkdir(const char* pPath, mode_t mode) noexcept
{
    const bool bRefused = g_pUnmakeable != nullptr && std::strstr(pPath, g_pUnmakeable) != nullptr;
    g_iRefusedMakes += bRefused ? 1 : 0;
    errno = bRefused ? g_iUnmakeableError : errno;
    return bRefused ? -1 : static_cast<int>(syscall(SYS_mkdirat, AT_FDCWD, pPath, mode));
}

using namespace ExchangeTestTools;
using namespace LumoraMeasurement;

namespace
{

// Points the user data folder of QStandardPaths' test mode at a folder of our own, so that
// two "installations" can live side by side and nothing lands in the real home.
struct SHome
{
    explicit SHome(const QString& sHome)
    {
        QDir().mkpath(sHome);
        qputenv("HOME", QFile::encodeName(sHome));
    }
    ~SHome() { qputenv("HOME", m_baOld); }
    const QByteArray m_baOld = qgetenv("HOME");
};

QString ImportFolder(const QString& sSub)
{
    return OrvelFramework::COSAbstraction::GetUserDataPath("Vantrell", "Lumora2.0/TEMP") + "/" +
           sSub;
}

/// Writes a configuration "Site" into sFolder with real documents; returns the measurement
/// configuration's path. An empty sTransducer names no transducer file; lDatabase holds the
/// database's name, user and password.
QString MakeConfiguration(const QString& sFolder, const QString& sTransducer,
                          const QStringList& lDatabase = QStringList(),
                          const QString& sDescription = "North transmitter")
{
    CDeviceSettingsData device;
    device.SetDatabaseName(lDatabase.value(0));
    device.SetDatabaseUser(lDatabase.value(1));
    device.SetDatabasePwd(lDatabase.value(2));
    device.SetTransducerFile(sTransducer);
    device.SetVisaResource("TCPIP::10.0.0.7::INSTR");
    CComparativeValueData limits;
    QString sLow = "12.5";
    limits.SetLowValueByIndex(3, sLow);
    CChannelTableData channels;
    channels.AddChannel(CChannelData(eTVStandard_DVBT2, "K21"), CChannelTableData::c_lAppendRow);
    CMeasConfigData config;
    config.SetDeviceSettingFile(sFolder + "/Site.device");
    config.SetComparativeValuesFile(sFolder + "/Site.limit");
    config.SetChannelTableFile(sFolder + "/Site.channel");
    config.SetDescription(sDescription);
    config.CreateUniqueIdentifier();
    EXPECT_TRUE(QDir().mkpath(sFolder) && device.Write(sFolder + "/Site.device") &&
                limits.Write(sFolder + "/Site.limit") &&
                channels.Write(sFolder + "/Site.channel") &&
                config.Write(sFolder + "/Site.measconfig"));
    return sFolder + "/Site.measconfig";
}

// What an import of a "Site1.measurement" leaves in the import folder's parent.
const QStringList c_lImported{"Site1", "Site1/Site.channel", "Site1/Site.device",
                              "Site1/Site.limit", "Site1/Site.measconfig"};

class ExportHandlerTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_tmp.isValid()); }
    QString Path(const QString& sRelative) const { return m_tmp.filePath(sRelative); }
    // Exports a configuration made in the folder sStation to sStation/out/Site1.measurement.
    QString Exported(const QString& sStation, const QString& sDescription = "North transmitter")
    {
        const QString sArchive = Path(sStation + "/out/Site1.measurement");
        EXPECT_TRUE(m_handler.ExportMeasurementConfiguration(
            MakeConfiguration(Path(sStation), "", {}, sDescription), sArchive));
        return sArchive;
    }

    QTemporaryDir m_tmp;
    SHome m_home{m_tmp.filePath("home")};
    CMeasurementDataExportHandler m_handler;
};

TEST_F(ExportHandlerTest, ExportPacksTheNamedFilesInOrder)
{
    if (!HasTool("python3"))
    {
        GTEST_SKIP() << "python3 not installed";
    }
    for (const QStringList& row : MdaTest::ReadDataTable("exchange/export-packs.tsv"))
    {
        SCOPED_TRACE(row[0].toStdString());
        const QString sFolder = Path(QString(row[0]).replace(' ', '-'));
        const QString sTransducer = row[1].isEmpty() ? QString() : sFolder + "/" + row[1];
        ASSERT_TRUE(row[1].isEmpty() || row[1] == "missing" ||
                    WriteFile(sTransducer, "0 0\n1000000 1.5\n"));
        const QString sConfig = MakeConfiguration(sFolder, sTransducer);
        ASSERT_TRUE(row[2] != "1" || WriteFile(sFolder + "/Site.device", "not json"));
        const QString sArchive = sFolder + "/out/Site1.measurement";
        EXPECT_EQ(m_handler.ExportMeasurementConfiguration(sConfig, sArchive), row[3] == "1");
        EXPECT_EQ(ReadZip("names", sArchive).split('\n', Qt::SkipEmptyParts), row[4].split(','));
    }
    const QString sArchive = Path("Site1.measurement");
    EXPECT_FALSE(m_handler.ExportMeasurementConfiguration(Path("none.measconfig"), sArchive));
    EXPECT_FALSE(m_handler.ExportMeasurementConfigurationInDb(Path("none.measconfig"), sArchive));
    EXPECT_FALSE(QFileInfo::exists(sArchive));
}

// The documents come to the import folder and point at each other there; a device settings
// file whose transducer is not in the archive keeps its path.
TEST_F(ExportHandlerTest, ImportUnpacksIntoTheImportFolderAndPointsAtTheFiles)
{
    const QString sTransducer = Path("conf/Ant.tdf");
    const QString sConfig = MakeConfiguration(Path("conf"), sTransducer);
    ASSERT_TRUE(WriteFile(sTransducer, "0 0\n") && WriteFile(Path("conf/notes.txt"), "remember"));
    CArchivHandler archive;
    const QStringList lDocuments{Path("conf/Site.device"), Path("conf/Site.limit"),
                                 Path("conf/Site.channel"), sConfig};
    ASSERT_TRUE(archive.CreateArchive(
        Path("Site1.measurement"), lDocuments + QStringList{sTransducer, Path("conf/notes.txt")}));
    ASSERT_TRUE(archive.CreateArchive(Path("Site2.measurement"), lDocuments));

    const QString sFolder = ImportFolder("Lumora2.0Import/Site1");
    EXPECT_EQ(CMeasurementDataExportHandler::GetImportFolder(Path("Site1.measurement"), ""),
              sFolder);
    ASSERT_TRUE(WriteFile(sFolder + "/stale.limit", "from an earlier import"));
    ASSERT_TRUE(m_handler.ImportMeasurementConfiguration(Path("Site1.measurement"), ""));
    EXPECT_EQ(ListTree(sFolder), (QStringList{"Ant.tdf", "Site.channel", "Site.device",
                                              "Site.limit", "Site.measconfig", "notes.txt"}));
    CMeasConfigData imported, original;
    CDeviceSettingsData device;
    ASSERT_TRUE(imported.Read(sFolder + "/Site.measconfig") && original.Read(sConfig) &&
                device.Read(sFolder + "/Site.device"));
    EXPECT_EQ(QStringList({imported.DeviceSettingFile(), imported.ComparativeValuesFile(),
                           imported.ChannelTableFile(), imported.UniqueIdentifier(),
                           imported.Description(), device.TransducerFile(), device.VisaResource()}),
              QStringList({sFolder + "/Site.device", sFolder + "/Site.limit",
                           sFolder + "/Site.channel", original.UniqueIdentifier(),
                           "North transmitter", sFolder + "/Ant.tdf", "TCPIP::10.0.0.7::INSTR"}));

    ASSERT_TRUE(m_handler.ImportMeasurementConfiguration(Path("Site2.measurement"), "Mine/Sub"));
    ASSERT_TRUE(device.Read(ImportFolder("Mine/Sub/Site2/Site.device")));
    EXPECT_EQ(device.TransducerFile(), sTransducer);
    // Imported files take their roles by the end of their names.
    QDir().mkpath(Path("files/folder.limit"));
    QList<QFileInfo> lFiles;
    for (const char* pName : {"A.Channel", "b.LIMIT", "folder.limit", "c.device", "e.txt",
                              "f.channel", "g.measconfig", "h.LimitX", "d.TDF"})
    {
        ASSERT_TRUE(QFileInfo(Path("files/") + pName).isDir() ||
                    WriteFile(Path("files/") + pName, "x"));
        lFiles << QFileInfo(Path("files/") + pName);
    }
    CMeasConfigData config;
    config.SetComparativeValuesFile("/before/limits");
    m_handler.UpdateImportedMeasConfig(lFiles.mid(0, 8), config);
    EXPECT_EQ(config.ChannelTableFile(), Path("files/f.channel"));
    EXPECT_EQ(config.ComparativeValuesFile(), Path("files/b.LIMIT"));
    EXPECT_EQ(config.DeviceSettingFile(), Path("files/c.device"));

    // The transducer goes into the device settings, which here is no readable file.
    m_handler.UpdateImportedMeasConfig(lFiles, config);
    EXPECT_EQ(ReadBytes(Path("files/c.device")), "x");
    // The packed device settings must not hand the database password to whoever gets the archive
    // (a file, or the copy stored in the database for other stations).
    const QString sSecret =
        MakeConfiguration(Path("conf"), "", {"postgresql://db.example/mda", "station", "s3cret"});
    const QDateTime modified(QDate(2022, 5, 6), QTime(7, 8, 10));
    const QByteArray baSource = ReadBytes(Path("conf/Site.device"));
    ASSERT_TRUE(baSource.contains("s3cret") &&
                WriteFile(Path("conf/Site.device"), baSource, modified));

    ASSERT_TRUE(m_handler.ExportMeasurementConfiguration(sSecret, Path("Site1.measurement")));
    QString sOut = Path("unpacked");
    ASSERT_TRUE(CArchivHandler().ExtractArchive(Path("Site1.measurement"), sOut, false));
    CDeviceSettingsData packed;
    ASSERT_TRUE(packed.Read(sOut + "Site.device"));
    EXPECT_EQ(
        QStringList({packed.DatabaseName(), packed.DatabaseUser(), packed.DatabasePwd(),
                     packed.VisaResource()}),
        QStringList({"postgresql://db.example/mda", "station", "", "TCPIP::10.0.0.7::INSTR"}));
    EXPECT_FALSE(ReadBytes(sOut + "Site.device").contains("s3cret"));
    EXPECT_EQ(ReadBytes(Path("conf/Site.device")), baSource);
    EXPECT_TRUE(!HasTool("python3") ||
                ReadZip("list", Path("Site1.measurement"))
                    .startsWith(R"([["Site.device", [2022, 5, 6, 7, 8, 10], 8, )"));

    // Without a place for the cleaned copy (the temporary folder is a file) the export fails
    // rather than pack the password.
    const QByteArray baTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", Path("conf/Site.device").toUtf8());
    EXPECT_FALSE(m_handler.ExportMeasurementConfiguration(sSecret, Path("Site3.measurement")));
    qputenv("TMPDIR", baTemp);
    EXPECT_FALSE(QFileInfo::exists(Path("Site3.measurement")));
}

// The import folder is replaced with all it holds, so an import is refused where that folder is
// not its own, or would be reached through a link (whose target would be replaced).
TEST_F(ExportHandlerTest, ImportIsRefusedWithoutAFolderOfItsOwnOrWithDocumentsOutside)
{
    const QString sSite1 = Exported("conf");
    const QString sKept = ImportFolder("Lumora2.0Import/Other/keep.limit");
    ASSERT_TRUE(WriteFile(sKept, "keep") && WriteFile(Path("home/keep.txt"), "keep"));
    // An import folder that is a link (its replacement would reach what it points at) or a file.
    ASSERT_TRUE(QFile::link(QFileInfo(sKept).path(), ImportFolder("Lumora2.0Import/Linked")) &&
                WriteFile(ImportFolder("Lumora2.0Import/Filed"), "keep"));
    EXPECT_FALSE(m_handler.ImportMeasurementConfiguration(Path("missing.measurement"), ""));
    // The way to the import folder must not pass a link nor end above the import's own folder
    // (where the other stations' imports live); nothing anywhere changes when it is refused.
    const QString sTemp = QDir::cleanPath(ImportFolder(""));
    ASSERT_TRUE(WriteFile(Path("elsewhere/Site1/kept.txt"), "kept") && QDir().mkpath(sTemp) &&
                QFile::link(Path("elsewhere"), sTemp + "/linked") && QDir().mkpath(Path("names")));
    ASSERT_TRUE(QFile::copy(sSite1, Path("Site2.measurement")) &&
                m_handler.ImportMeasurementConfiguration(Path("Site2.measurement"), "") &&
                m_handler.ImportMeasurementConfiguration(Path("Site2.measurement"), "Mine/Sub"));
    for (QStringList row : MdaTest::ReadDataTable("exchange/import-folder-refused.tsv"))
    {
        SCOPED_TRACE((row[0] + " into " + row[1]).toStdString());
        const QString sArchive = Path("names/" + row[0]);
        ASSERT_TRUE(QFile::copy(sSite1, sArchive) || QFileInfo::exists(sArchive));
        const QStringList lWith = TreeWithContents(Path(""));
        EXPECT_FALSE(m_handler.ImportMeasurementConfiguration(sArchive, row[1]));
        EXPECT_EQ(m_handler.LastError(),
                  !row[2].isEmpty() ? row[2].replace("{temp}", sTemp)
                                    : "the import sub-folder '" + row[1] +
                                          "' must name a folder below the import base, without "
                                          "'.', '..' or '.import-...' parts");
        EXPECT_EQ(TreeWithContents(Path("")), lWith);
    }

    // A crafted archive whose configuration names a document of this machine that the archive
    // does not carry: the import fails and neither reads nor rewrites that document. The decoy
    // lies beside the import base, where a real device settings file could be.
    const QString sBase = OrvelFramework::COSAbstraction::GetUserDataPath("Vantrell", "Lumora2.0");
    const QString sDecoy = sBase + "/decoy.device";
    const QByteArray baDecoy = R"({"DeviceSettings": {"DatabasePwd": "local secret"}})";
    const QDateTime decoyTime(QDate(2020, 1, 2), QTime(3, 4, 5));
    ASSERT_TRUE(WriteFile(Path("in/Ant.tdf"), "0 0\n") && WriteFile(Path("in/Site.limit"), "{}") &&
                WriteFile(Path("in/Site.channel"), "{}") &&
                WriteFile(Path("in/Site.device"), "{}") && WriteFile(sDecoy, baDecoy, decoyTime));
    for (const QStringList& row : MdaTest::ReadDataTable("exchange/outside-documents.tsv"))
    {
        SCOPED_TRACE(row[0].toStdString());
        const QString& sOutside = row[1];
        CMeasConfigData config;
        config.SetDeviceSettingFile(sOutside == "device"     ? sDecoy
                                    : sOutside == "relative" ? "../../decoy.device"
                                                             : "/elsewhere/Site.device");
        config.SetComparativeValuesFile(sOutside == "limit" ? sDecoy : "/elsewhere/Site.limit");
        config.SetChannelTableFile(sOutside == "channel" ? sDecoy : "/elsewhere/Site.channel");
        ASSERT_TRUE(config.Write(Path("in/Site.measconfig")));
        ASSERT_TRUE(CArchivHandler().CreateArchive(
            Path("Crafted.measurement"),
            (QStringList{"Site.measconfig"} + row[2].split(','))
                .replaceInStrings(QRegularExpression("^"), Path("in/"))));

        EXPECT_FALSE(m_handler.ImportMeasurementConfiguration(Path("Crafted.measurement"), ""));
        EXPECT_EQ(ReadBytes(sDecoy), baDecoy);
        EXPECT_EQ(QFileInfo(sDecoy).lastModified(), decoyTime);
        EXPECT_EQ(ListTree(sBase, false), (QStringList{"TEMP", "decoy.device"}));
    }
}

// Two imports of archives of one name at the same time: each finishes with a complete folder
// (never one the other emptied), and the folder left holds one whole import. Then the move into
// place on file systems that refuse the atomic exchange: unsupported (the old folder is moved
// aside first) or refused for another reason (the import fails and the old folder stays as it
// was), or with no room for a folder beside it. Nothing of the attempt is left beside the folder.
TEST_F(ExportHandlerTest, ImportMovesIntoPlaceConcurrentlyOrWhereTheFileSystemRefusesTheExchange)
{
    const QString sOld = Exported("a", "Old");
    const QString sNew = Exported("b", "New");
    const QString sFolder = ImportFolder("Lumora2.0Import/Site1");
    std::atomic<int> iFailures{0};
    auto importMany = [&](const QString& sArchive)
    {
        CMeasurementDataExportHandler handler;
        for (int i = 0; i < 25; ++i)
        {
            CMeasConfigData imported;
            CComparativeValueData limits;
            iFailures += !handler.ImportMeasurementConfiguration(sArchive, "") ||
                         !imported.Read(sFolder + "/Site.measconfig") ||
                         !limits.Read(imported.ComparativeValuesFile());
        }
    };
    std::thread first(importMany, sOld), second(importMany, sNew);
    first.join();
    second.join();
    EXPECT_EQ(std::tuple(iFailures.load(), ListTree(sFolder + "/..")), std::tuple(0, c_lImported));
    CMeasConfigData imported;
    ASSERT_TRUE(imported.Read(sFolder + "/Site.measconfig"));
    EXPECT_TRUE(imported.Description() == "Old" || imported.Description() == "New");
    EXPECT_EQ(imported.DeviceSettingFile(), sFolder + "/Site.device");

    // Why, a folder there before, the move's errors, the error it fails with (0: imported),
    // what cannot be made.
    const std::tuple<const char*, bool, std::deque<int>, int, const char*> rows[] = {
        {"no exchange on this file system, first import", false, {EINVAL}, 0, nullptr},
        {"no such call in this kernel, replacing", true, {ENOSYS}, 0, nullptr},
        {"exchange unsupported after the name was taken", true, {EEXIST, EINVAL}, 0, nullptr},
        {"another device, first import", false, {EXDEV}, EXDEV, nullptr},
        {"exchange refused", true, {EEXIST, EACCES}, EACCES, nullptr},
        {"no exchange, the move after the old went aside fails", true, {ENOSYS, EIO}, EIO, nullptr},
        {"no room to unpack beside the folder", true, {}, EACCES, "/.import-"},
        {"every name beside the folder taken", true, {}, EEXIST, "/.import-"},
        {"the staging folder refuses the unpacked folder", true, {}, EPERM, "/unpacked"},
    };
    for (const auto& [pWhy, bExisting, lErrors, iError, pUnmakeable] : rows)
    {
        SCOPED_TRACE(pWhy);
        QDir(sFolder).removeRecursively();
        ASSERT_TRUE(!bExisting || m_handler.ImportMeasurementConfiguration(sOld, ""));
        g_lMoveErrors = lErrors;
        g_pUnmakeable = pUnmakeable;
        g_iUnmakeableError = iError;
        g_iRefusedMakes = 0;
        const bool bDone = m_handler.ImportMeasurementConfiguration(sNew, "");
        g_lMoveErrors.clear();
        g_pUnmakeable = nullptr;
        // A taken name is tried again with another, a hundred times; any other error at once.
        EXPECT_EQ(g_iRefusedMakes, !pUnmakeable ? 0 : iError == EEXIST ? 100 : 1);
        const bool bImported = iError == 0;
        EXPECT_EQ(bDone, bImported);
        const QString sError = QString::fromLocal8Bit(strerror(iError));
        const QString sParent = QFileInfo(sFolder).path();
        EXPECT_EQ(m_handler.LastError().replace(QRegularExpression("import-[0-9a-f]+"), "import-x"),
                  bImported     ? QString()
                  : !pUnmakeable ? QString("cannot move the import into '%1': %2").arg(sFolder, sError)
                  : pUnmakeable[1] == '.'
                      ? QString("cannot create an unpacking folder in '%1': %2").arg(sParent, sError)
                      : QString("cannot create '%1/.import-x/unpacked': %2").arg(sParent, sError));
        const bool bRead = imported.Read(sFolder + "/Site.measconfig");
        const QString sExpected = bImported ? "New" : bExisting ? "Old" : "none";
        EXPECT_EQ(bRead ? imported.Description() : "none", sExpected);
        EXPECT_EQ(ListTree(sFolder + "/.."), bRead ? c_lImported : QStringList());
    }
}

// An import that fails, for whatever reason, leaves the earlier import of that name exactly as
// it was and nothing of its own attempt beside it. One killed half way leaves its staging folder
// behind; the next import beside it removes it, but never the staging folder of an import still
// running (a locked one). Where the file system has no locks an import still works; what is left
// beside the folder cannot be told from a running import's and stays.
TEST_F(ExportHandlerTest, FailedOrKilledImportKeepsTheEarlierImportAndIsClearedAway)
{
    if (!HasTool("python3"))
    {
        GTEST_SKIP() << "python3 not installed";
    }
    const QString sOld = Exported("old", "Old");
    const QString sNew = Exported("new", "New");
    const QByteArray baGood = ReadBytes(sOld);
    ASSERT_TRUE(m_handler.ImportMeasurementConfiguration(sOld, ""));
    const QString sParent = ImportFolder("Lumora2.0Import");
    const QStringList lEarlier = TreeWithContents(sParent);
    ASSERT_EQ(lEarlier.size(), 5);

    CMeasConfigData lacking;
    lacking.SetDeviceSettingFile("/elsewhere/Site.device");
    ASSERT_TRUE(QDir().mkpath(Path("lacking")) && lacking.Write(Path("lacking/Site.measconfig")) &&
                WriteFile(Path("in/a.measconfig"), "{}") &&
                WriteFile(Path("in/b.measconfig"), "{}") && WriteFile(Path("in/x.limit"), "{}"));
    const auto packed = [](const QStringList& lFiles)
    { return [lFiles](const QString& s) { return CArchivHandler().CreateArchive(s, lFiles); }; };
    // Why, how the archive is made, the reason given ({a} is the archive's path).
    const std::tuple<const char*, std::function<bool(const QString&)>, QString> rows[] = {
        {"truncated",
         [&](const QString& s) { return WriteFile(s, baGood.left(baGood.size() / 2)); },
         "cannot unpack '{a}': it is no zip archive"},
        {"an entry outside its folder",
         [](const QString& s)
         {
             return MakeZip(s, R"([{"name": "Site.measconfig", "data": "{}"},
                                   {"name": "../Site.limit", "data": "evil"}])");
         },
         "cannot unpack '{a}': entry '../Site.limit' would leave the folder"},
        {"over the size bound",
         [](const QString& s) {
             return RunZipTool({"shared", s, "257", "1048576"});
         },
         "cannot unpack '{a}': it unpacks to more than 256 MiB"},
        {"a damaged entry after good ones",
         [&](const QString& s)
         {
             // The configuration's deflated data comes last; one byte of it spoilt.
             QByteArray baDamaged = baGood;
             const int iName = baDamaged.indexOf("Site.measconfig");
             const int iExtra = quint8(baDamaged[iName - 2]) | quint8(baDamaged[iName - 1]) << 8;
             baDamaged[iName + 15 + iExtra + 2] = char(baDamaged[iName + 15 + iExtra + 2] ^ 0x55);
             return iName > 30 && WriteFile(s, baDamaged);
         },
         "cannot unpack '{a}': entry 'Site.measconfig' is damaged"},
        {"two configurations", packed({Path("in/a.measconfig"), Path("in/b.measconfig")}),
         "'{a}' holds 2 measurement configurations instead of one"},
        {"no configuration", packed({Path("in/x.limit")}),
         "'{a}' holds 0 measurement configurations instead of one"},
        {"a document it lacks", packed({Path("lacking/Site.measconfig")}),
         "the configuration names the device settings file '/elsewhere/Site.device', which the "
         "archive does not carry"},
    };
    int iRow = 0;
    for (const auto& [pWhy, make, sReason] : rows)
    {
        SCOPED_TRACE(pWhy);
        const QString sArchive = Path(QString("broken%1/Site1.measurement").arg(++iRow));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(sArchive).path()) && make(sArchive));
        EXPECT_FALSE(m_handler.ImportMeasurementConfiguration(sArchive, ""));
        EXPECT_EQ(m_handler.LastError(), QString(sReason).replace("{a}", sArchive));
        EXPECT_EQ(TreeWithContents(sParent), lEarlier);
    }

    // Killed half way: the staging folder stays until the next import beside it.
    int lPipe[2];
    const pid_t pid = pipe(lPipe) == 0 ? fork() : -1;
    ASSERT_GE(pid, 0);
    if (pid == 0)
    {
        ::close(lPipe[0]);
        g_iStallPipe = lPipe[1];
        CMeasurementDataExportHandler().ImportMeasurementConfiguration(sNew, "");
        _exit(2);
    }
    ::close(lPipe[1]);
    pollfd ready{lPipe[0], POLLIN, 0};
    const bool bStalled = poll(&ready, 1, 60000) == 1;
    ::close(lPipe[0]);
    kill(pid, SIGKILL);
    int iStatus = 0;
    ASSERT_EQ(waitpid(pid, &iStatus, 0), pid);
    ASSERT_TRUE(bStalled && WIFSIGNALED(iStatus));
    const QStringList lLeft = QDir(sParent).entryList({".import-*"}, QDir::Dirs | QDir::Hidden);
    ASSERT_EQ(lLeft.size(), 1);
    EXPECT_EQ(ListTree(sParent + "/" + lLeft[0]),
              (QStringList{"unpacked", "unpacked/Site.channel", "unpacked/Site.device",
                           "unpacked/Site.limit", "unpacked/Site.measconfig"}));
    EXPECT_EQ(TreeWithContents(sParent).filter(QRegularExpression("^Site1")), lEarlier);

    // One that runs: its folder is locked.
    ASSERT_TRUE(WriteFile(sParent + "/.import-running/unpacked/Site.limit", "{}"));
    const int iRunning =
        ::open(QFile::encodeName(sParent + "/.import-running").constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_TRUE(iRunning >= 0 && flock(iRunning, LOCK_EX) == 0);
    ASSERT_TRUE(m_handler.ImportMeasurementConfiguration(sNew, ""));
    EXPECT_EQ(ListTree(sParent, false), (QStringList{".import-running", "Site1"}));
    ::close(iRunning);
    CMeasConfigData imported;
    ASSERT_TRUE(imported.Read(sParent + "/Site1/Site.measconfig"));
    EXPECT_EQ(imported.Description(), "New");
    // Leftovers that are no folders go as well; a folder only like them in letter case stays.
    ASSERT_TRUE(WriteFile(sParent + "/.import-file", "x") &&
                QFile::link(Path("old"), sParent + "/.import-link") &&
                WriteFile(sParent + "/.IMPORT-kept/a.txt", "x"));
    ASSERT_TRUE(m_handler.ImportMeasurementConfiguration(sOld, ""));
    EXPECT_EQ(TreeWithContents(sParent),
              QStringList(
                  {".IMPORT-kept", ".IMPORT-kept/a.txt=11f6ad8ec52a2984abaafd7c3b516503785c2072"}) +
                  lEarlier);
    EXPECT_EQ(ListTree(Path("old")).size(), 6);

    // The parent locked, its new staging folder not: the import fails with the reason and
    // leaves nothing.
    std::tie(g_iLockError, g_iLocksToPass) = std::tuple(EACCES, 1);
    EXPECT_FALSE(m_handler.ImportMeasurementConfiguration(sOld, ""));
    std::tie(g_iLockError, g_iLocksToPass) = std::tuple(0, 0);
    EXPECT_TRUE(
        m_handler.LastError().startsWith(QString("cannot lock '%1/.import-").arg(sParent)) &&
        m_handler.LastError().endsWith("': " + QString::fromLocal8Bit(strerror(EACCES))))
        << m_handler.LastError().toStdString();
    EXPECT_EQ(ListTree(sParent, false), (QStringList{".IMPORT-kept", "Site1"}));

    // Without locks a leftover cannot be told from a running import's.
    ASSERT_TRUE(WriteFile(sParent + "/.import-other/unpacked/Site.limit", "{}"));
    for (const int iError : {ENOLCK, EACCES})
    {
        SCOPED_TRACE(iError);
        g_iLockError = iError;
        const bool bImported = m_handler.ImportMeasurementConfiguration(sOld, "");
        g_iLockError = 0;
        EXPECT_EQ(bImported, iError == ENOLCK);
        EXPECT_EQ(m_handler.LastError(),
                  iError == ENOLCK ? QString()
                                   : QString("cannot lock '%1': %2")
                                         .arg(sParent, QString::fromLocal8Bit(strerror(EACCES))));
        EXPECT_EQ(ListTree(sParent, false),
                  (QStringList{".IMPORT-kept", ".import-other", "Site1"}));
    }
}

using ExchangeBetweenStationsTest = MdaTest::CDatabaseBackendTest;

TEST_P(ExchangeBetweenStationsTest, ConfigurationTravelsThroughTheDatabase)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString sArchiveA = tmp.filePath("a/export/Site1.measurement");
    const QString sConfigA = tmp.filePath("a/conf/Site.measconfig");
    CMeasConfigData config;
    {
        SHome home(tmp.filePath("a/home"));
        ASSERT_TRUE(WriteFile(tmp.filePath("a/conf/Ant.tdf"), "0 0\n1000000 1.5\n"));
        MakeConfiguration(tmp.filePath("a/conf"), tmp.filePath("a/conf/Ant.tdf"),
                          {Database().Name(), Database().User(), Database().Password()});
        CMeasurementDataExportHandler handler;
        ASSERT_TRUE(handler.ExportMeasurementConfiguration(sConfigA, sArchiveA) &&
                    handler.ExportMeasurementConfigurationInDb(sConfigA, sArchiveA));
        // A second export of the same configuration replaces the stored one.
        ASSERT_TRUE(config.Read(sConfigA));
        config.SetDescription("North transmitter, new antenna");
        ASSERT_TRUE(config.Write(sConfigA) &&
                    handler.ExportMeasurementConfigurationInDb(sConfigA, sArchiveA));
    }

    SHome home(tmp.filePath("b/home"));
    const QString sArchiveB = tmp.filePath("b/download/Site1.measurement");
    QDir().mkpath(tmp.filePath("b/download"));
    {
        auto pDb = OpenConnection();
        CDBExportFilesController controller(*pDb);
        controller.ReadAvailableFiles();
        ASSERT_EQ(controller.GetRowCount(), 1UL);
        EXPECT_EQ(controller.GetUniqueId(0), config.UniqueIdentifier());
        EXPECT_EQ(controller.GetDescription(0), "North transmitter, new antenna");
        ASSERT_TRUE(controller.GetMeasurementFileFromDb(config.UniqueIdentifier(), sArchiveB));
    }
    EXPECT_EQ(ReadBytes(sArchiveB), ReadBytes(sArchiveA));

    ASSERT_TRUE(CMeasurementDataExportHandler().ImportMeasurementConfiguration(sArchiveB, ""));
    const QString sFolder = ImportFolder("Lumora2.0Import/Site1");
    ASSERT_TRUE(sFolder.startsWith(tmp.filePath("b/home")));
    CMeasConfigData imported;
    ASSERT_TRUE(imported.Read(sFolder + "/Site.measconfig"));
    // The archive was packed before the description changed; only the stored entry has it.
    EXPECT_EQ(imported.Description(), "North transmitter");

    // The imported documents load and hold what station A wrote (what an import does to the
    // paths and the password: ImportUnpacksIntoTheImportFolderAndPointsAtTheFiles).
    CDeviceSettingsData device;
    ASSERT_TRUE(device.Read(imported.DeviceSettingFile()));
    EXPECT_EQ(ReadBytes(device.TransducerFile()), "0 0\n1000000 1.5\n");
    EXPECT_EQ(ReadBytes(imported.ComparativeValuesFile()) + ReadBytes(imported.ChannelTableFile()),
              ReadBytes(tmp.filePath("a/conf/Site.limit")) +
                  ReadBytes(tmp.filePath("a/conf/Site.channel")));
}

MDA_INSTANTIATE_BACKEND_TESTS(ExchangeBetweenStationsTest);

// What an archive brings is unpacked where only the user can look.
TEST(ImportStagingTest, StagingAndUnpackFoldersAreTheUsersAlone)
{
    QTemporaryDir dir;
    CImportStaging staging;
    ASSERT_TRUE(staging.DoCreate(dir.path())) << staging.LastError().toStdString();
    for (const QString& sFolder :
         {QFileInfo(staging.GetUnpackFolder()).path(), staging.GetUnpackFolder()})
    {
        struct stat info = {};
        ASSERT_EQ(::stat(QFile::encodeName(sFolder).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0700u) << sFolder.toStdString();
    }
    // Descriptor 0 is a good one: a process may run with its standard input closed.
    const int iStdin = ::dup(0);
    ::close(0);
    CImportStaging second;
    const bool bCreated = second.DoCreate(dir.path());
    ::dup2(iStdin, 0);
    ::close(iStdin);
    EXPECT_TRUE(bCreated) << second.LastError().toStdString();
}

} // namespace

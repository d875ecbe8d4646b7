#include "CMeasurementDataExportHandler.h"
#include "CArchivHandler.h"
#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CDBExportFilesController.h"
#include "CDeviceSettingsData.h"
#include "CMeasConfigData.h"
#include "COSAbstraction.h"
#include "DatabaseTestBackend.h"
#include "ExchangeTestTools.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ExchangeTestTools;
using namespace LumoraMeasurement;

namespace
{

// Points the user data folder of QStandardPaths' test mode at a folder of our own, so that
// two "installations" can live side by side and nothing lands in the real home.
class CHomeRedirect
{
public:
    explicit CHomeRedirect(const QString& sHome) : m_baOldHome(qgetenv("HOME"))
    {
        QDir().mkpath(sHome);
        qputenv("HOME", QFile::encodeName(sHome));
    }
    ~CHomeRedirect() { qputenv("HOME", m_baOldHome); }
    CHomeRedirect(const CHomeRedirect&) = delete;
    CHomeRedirect& operator=(const CHomeRedirect&) = delete;

private:
    QByteArray m_baOldHome;
};

QString ImportBase()
{
    return OrvelFramework::COSAbstraction::GetUserDataPath("Vantrell", "Lumora2.0/TEMP");
}

struct SDatabaseLogin
{
    QString sName;
    QString sUser;
    QString sPassword;
};

/// Writes a configuration "Site" into sFolder with real documents; returns the
/// measurement configuration's path. An empty sTransducer names no transducer file.
QString MakeConfiguration(const QString& sFolder, const QString& sTransducer,
                          const SDatabaseLogin& login = SDatabaseLogin())
{
    QDir().mkpath(sFolder);
    const QString sDevice = sFolder + "/Site.device";
    CDeviceSettingsData device;
    device.SetDatabaseName(login.sName);
    device.SetDatabaseUser(login.sUser);
    device.SetDatabasePwd(login.sPassword);
    device.SetTransducerFile(sTransducer);
    device.SetVisaResource("TCPIP::10.0.0.7::INSTR");
    EXPECT_TRUE(device.Write(sDevice));

    CComparativeValueData limits;
    QString sLow = "12.5";
    limits.SetLowValueByIndex(3, sLow);
    EXPECT_TRUE(limits.Write(sFolder + "/Site.limit"));

    CChannelTableData channels;
    channels.AddChannel(CChannelData(eTVStandard_DVBT2, "K21"), CChannelTableData::c_lAppendRow);
    channels.AddChannel(CChannelData(eTVStandard_DVBT2, "K45"), CChannelTableData::c_lAppendRow);
    EXPECT_TRUE(channels.Write(sFolder + "/Site.channel"));

    CMeasConfigData config;
    config.SetDeviceSettingFile(sDevice);
    config.SetComparativeValuesFile(sFolder + "/Site.limit");
    config.SetChannelTableFile(sFolder + "/Site.channel");
    config.SetDescription("North transmitter");
    config.CreateUniqueIdentifier();
    const QString sConfig = sFolder + "/Site.measconfig";
    EXPECT_TRUE(config.Write(sConfig));
    return sConfig;
}

QStringList EntryNames(const QString& sArchive)
{
    QStringList lNames;
    for (const auto& entry : ListZipWithPython(sArchive))
    {
        lNames << entry.toArray().at(0).toString();
    }
    return lNames;
}

class ExportHandlerTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_tmp.isValid()); }

    QString Path(const QString& sRelative) const { return m_tmp.filePath(sRelative); }

    QTemporaryDir m_tmp;
    CHomeRedirect m_home{m_tmp.filePath("home")};
    CMeasurementDataExportHandler m_handler;
};

TEST_F(ExportHandlerTest, ExportPacksTheNamedFilesInOrder)
{
    if (!HasTool("python3"))
    {
        GTEST_SKIP() << "python3 not installed";
    }
    struct Row
    {
        const char* pName;
        const char* pTransducer; // "" none; a name is created in the folder unless "missing"
        bool bBreakDevice;
        bool bResult;
        QStringList lEntries;
    };
    const QStringList lFour{"Site.device", "Site.limit", "Site.channel", "Site.measconfig"};
    const Row rows[] = {
        {"with transducer", "Ant.tdf", false, true, lFour + QStringList{"Ant.tdf"}},
        {"without transducer", "", false, true, lFour},
        {"transducer file missing", "missing", false, false, lFour},
        {"device settings unreadable", "Ant.tdf", true, true, lFour},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.pName);
        const QString sFolder = Path(QString("conf-%1").arg(row.pName).replace(' ', '-'));
        QString sTransducer = QString::fromLatin1(row.pTransducer);
        if (!sTransducer.isEmpty())
        {
            sTransducer = sFolder + "/" + sTransducer;
            if (!sTransducer.endsWith("missing"))
            {
                ASSERT_TRUE(WriteFile(sTransducer, "0 0\n1000000 1.5\n"));
            }
        }
        const QString sConfig = MakeConfiguration(sFolder, sTransducer);
        if (row.bBreakDevice)
        {
            ASSERT_TRUE(WriteFile(sFolder + "/Site.device", "not json"));
        }
        const QString sArchive = sFolder + "/out/Site1.measurement";
        EXPECT_EQ(m_handler.ExportMeasurementConfiguration(sConfig, sArchive), row.bResult);
        EXPECT_EQ(EntryNames(sArchive), row.lEntries);
    }
}

TEST_F(ExportHandlerTest, ExportOfAnUnreadableConfigurationFails)
{
    const QString sArchive = Path("Site1.measurement");
    EXPECT_FALSE(m_handler.ExportMeasurementConfiguration(Path("none.measconfig"), sArchive));
    EXPECT_FALSE(m_handler.ExportMeasurementConfigurationInDb(Path("none.measconfig"), sArchive));
    EXPECT_FALSE(QFileInfo::exists(sArchive));
}

TEST_F(ExportHandlerTest, ImportUnpacksIntoTheDefaultFolderAndPointsAtTheFiles)
{
    const QString sTransducer = Path("conf/Ant.tdf");
    ASSERT_TRUE(WriteFile(sTransducer, "0 0\n"));
    const QString sConfig = MakeConfiguration(Path("conf"), sTransducer);
    ASSERT_TRUE(WriteFile(Path("conf/notes.txt"), "remember"));
    CArchivHandler archive;
    const QString sArchive = Path("Site1.measurement");
    ASSERT_TRUE(archive.CreateArchive(sArchive, {Path("conf/Site.device"), Path("conf/Site.limit"),
                                                 Path("conf/Site.channel"), sConfig, sTransducer,
                                                 Path("conf/notes.txt")}));

    const QString sFolder = ImportBase() + "/Lumora2.0Import/Site1";
    EXPECT_EQ(CMeasurementDataExportHandler::GetImportFolder(sArchive, ""), sFolder);
    ASSERT_TRUE(WriteFile(sFolder + "/stale.limit", "from an earlier import"));

    ASSERT_TRUE(m_handler.ImportMeasurementConfiguration(sArchive, ""));
    EXPECT_EQ(ListTree(sFolder), (QStringList{"Ant.tdf", "Site.channel", "Site.device",
                                              "Site.limit", "Site.measconfig", "notes.txt"}));

    CMeasConfigData imported;
    ASSERT_TRUE(imported.Read(sFolder + "/Site.measconfig"));
    EXPECT_EQ(imported.DeviceSettingFile(), sFolder + "/Site.device");
    EXPECT_EQ(imported.ComparativeValuesFile(), sFolder + "/Site.limit");
    EXPECT_EQ(imported.ChannelTableFile(), sFolder + "/Site.channel");
    CMeasConfigData original;
    ASSERT_TRUE(original.Read(sConfig));
    EXPECT_EQ(imported.UniqueIdentifier(), original.UniqueIdentifier());
    EXPECT_EQ(imported.Description(), "North transmitter");

    CDeviceSettingsData device;
    ASSERT_TRUE(device.Read(sFolder + "/Site.device"));
    EXPECT_EQ(device.TransducerFile(), sFolder + "/Ant.tdf");
    EXPECT_EQ(device.VisaResource(), "TCPIP::10.0.0.7::INSTR");
}

TEST_F(ExportHandlerTest, ImportWithoutTransducerKeepsTheDeviceSettings)
{
    const QString sConfig = MakeConfiguration(Path("conf"), "/elsewhere/Old.tdf");
    CArchivHandler archive;
    ASSERT_TRUE(archive.CreateArchive(
        Path("Site2.measurement"),
        {Path("conf/Site.device"), Path("conf/Site.limit"), Path("conf/Site.channel"), sConfig}));
    ASSERT_TRUE(m_handler.ImportMeasurementConfiguration(Path("Site2.measurement"), "Mine/Sub"));

    const QString sFolder = ImportBase() + "/Mine/Sub/Site2";
    CDeviceSettingsData device;
    ASSERT_TRUE(device.Read(sFolder + "/Site.device"));
    EXPECT_EQ(device.TransducerFile(), "/elsewhere/Old.tdf");
}

TEST_F(ExportHandlerTest, ImportNeedsExactlyOneConfiguration)
{
    ASSERT_TRUE(WriteFile(Path("in/a.measconfig"), "{}"));
    ASSERT_TRUE(WriteFile(Path("in/b.measconfig"), "{}"));
    ASSERT_TRUE(WriteFile(Path("in/x.limit"), "{}"));
    struct Row
    {
        const char* pName;
        QStringList lFiles;
    };
    const Row rows[] = {
        {"two configurations", {Path("in/a.measconfig"), Path("in/b.measconfig")}},
        {"no configuration", {Path("in/x.limit")}},
    };
    CArchivHandler archive;
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.pName);
        ASSERT_TRUE(archive.CreateArchive(Path("Bad.measurement"), row.lFiles));
        EXPECT_FALSE(m_handler.ImportMeasurementConfiguration(Path("Bad.measurement"), ""));
        // Unpacked all the same.
        EXPECT_EQ(ListTree(ImportBase() + "/Lumora2.0Import/Bad").size(), row.lFiles.size());
    }
    EXPECT_FALSE(m_handler.ImportMeasurementConfiguration(Path("missing.measurement"), ""));
}

TEST_F(ExportHandlerTest, ImportFolderMustBeItsOwnBelowTheBase)
{
    const QString sConfig = MakeConfiguration(Path("conf"), "");
    ASSERT_TRUE(WriteFile(ImportBase() + "/Lumora2.0Import/Other/keep.limit", "keep"));
    ASSERT_TRUE(WriteFile(Path("home/keep.txt"), "keep"));
    struct Row
    {
        const char* pArchive;
        const char* pSubFolder;
    };
    const Row rows[] = {
        {"..measurement", ""},
        {"...measurement", ""},
        {".measurement", ""},
        {"Site.measurement", "../../../.."},
        {".measurement", "Lumora2.0Import/Other"},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.pArchive + std::string(" in ") + row.pSubFolder);
        const QString sArchive = Path(QString("names/") + row.pArchive);
        ASSERT_TRUE(m_handler.ExportMeasurementConfiguration(sConfig, sArchive));
        EXPECT_FALSE(m_handler.ImportMeasurementConfiguration(sArchive, row.pSubFolder));
        EXPECT_EQ(ReadFile(ImportBase() + "/Lumora2.0Import/Other/keep.limit"), "keep");
        EXPECT_EQ(ReadFile(Path("home/keep.txt")), "keep");
    }
}

TEST_F(ExportHandlerTest, ImportedFilesTakeTheirRolesByTheEndOfTheirNames)
{
    for (const char* pName : {"A.Channel", "b.LIMIT", "c.device", "d.TDF", "e.txt", "f.channel",
                              "g.measconfig", "h.LimitX"})
    {
        ASSERT_TRUE(WriteFile(Path("files/") + pName, "x"));
    }
    QDir().mkpath(Path("files/folder.limit"));
    CMeasConfigData config;
    config.SetComparativeValuesFile("/before/limits");
    QList<QFileInfo> lFiles;
    for (const char* pName : {"A.Channel", "b.LIMIT", "folder.limit", "c.device", "e.txt",
                              "f.channel", "g.measconfig", "h.LimitX"})
    {
        lFiles << QFileInfo(Path("files/") + pName);
    }
    m_handler.UpdateImportedMeasConfig(lFiles, config);
    EXPECT_EQ(config.ChannelTableFile(), Path("files/f.channel"));
    EXPECT_EQ(config.ComparativeValuesFile(), Path("files/b.LIMIT"));
    EXPECT_EQ(config.DeviceSettingFile(), Path("files/c.device"));

    // The transducer goes into the device settings, which here is no readable file.
    lFiles << QFileInfo(Path("files/d.TDF"));
    m_handler.UpdateImportedMeasConfig(lFiles, config);
    EXPECT_EQ(ReadFile(Path("files/c.device")), "x");
}

class ExchangeBetweenStationsTest : public MdaTest::CDatabaseBackendTest
{
};

TEST_P(ExchangeBetweenStationsTest, ConfigurationTravelsThroughTheDatabase)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const SDatabaseLogin login{Database().Name(), Database().User(), Database().Password()};
    const QString sArchiveA = tmp.filePath("a/export/Site1.measurement");
    QString sConfigA;
    QString sUniqueId;
    {
        CHomeRedirect home(tmp.filePath("a/home"));
        const QString sTransducer = tmp.filePath("a/conf/Ant.tdf");
        ASSERT_TRUE(WriteFile(sTransducer, "0 0\n1000000 1.5\n"));
        sConfigA = MakeConfiguration(tmp.filePath("a/conf"), sTransducer, login);
        CMeasurementDataExportHandler handler;
        ASSERT_TRUE(handler.ExportMeasurementConfiguration(sConfigA, sArchiveA));
        ASSERT_TRUE(handler.ExportMeasurementConfigurationInDb(sConfigA, sArchiveA));

        // A second export of the same configuration replaces the stored one.
        CMeasConfigData config;
        ASSERT_TRUE(config.Read(sConfigA));
        sUniqueId = config.UniqueIdentifier();
        config.SetDescription("North transmitter, new antenna");
        ASSERT_TRUE(config.Write(sConfigA));
        ASSERT_TRUE(handler.ExportMeasurementConfigurationInDb(sConfigA, sArchiveA));
    }

    CHomeRedirect home(tmp.filePath("b/home"));
    const QString sArchiveB = tmp.filePath("b/download/Site1.measurement");
    QDir().mkpath(tmp.filePath("b/download"));
    {
        auto pDb = OpenConnection();
        CDBExportFilesController controller(*pDb);
        controller.ReadAvailableFiles();
        ASSERT_EQ(controller.GetRowCount(), 1UL);
        EXPECT_EQ(controller.GetUniqueId(0), sUniqueId);
        EXPECT_EQ(controller.GetDescription(0), "North transmitter, new antenna");
        ASSERT_TRUE(controller.GetMeasurementFileFromDb(sUniqueId, sArchiveB));
    }
    EXPECT_EQ(ReadFile(sArchiveB), ReadFile(sArchiveA));

    CMeasurementDataExportHandler handler;
    ASSERT_TRUE(handler.ImportMeasurementConfiguration(sArchiveB, ""));
    const QString sFolder = ImportBase() + "/Lumora2.0Import/Site1";
    ASSERT_TRUE(sFolder.startsWith(tmp.filePath("b/home")));

    CMeasConfigData imported;
    ASSERT_TRUE(imported.Read(sFolder + "/Site.measconfig"));
    EXPECT_EQ(imported.UniqueIdentifier(), sUniqueId);
    // The archive was packed before the description changed; only the stored entry has it.
    EXPECT_EQ(imported.Description(), "North transmitter");

    // The imported documents load and hold what station A wrote.
    CDeviceSettingsData device;
    ASSERT_TRUE(device.Read(imported.DeviceSettingFile()));
    EXPECT_EQ(device.DatabaseName(), login.sName);
    EXPECT_EQ(device.TransducerFile(), sFolder + "/Ant.tdf");
    EXPECT_EQ(ReadFile(device.TransducerFile()), "0 0\n1000000 1.5\n");

    CComparativeValueData limitsA;
    CComparativeValueData limitsB;
    ASSERT_TRUE(limitsA.Read(tmp.filePath("a/conf/Site.limit")));
    ASSERT_TRUE(limitsB.Read(imported.ComparativeValuesFile()));
    ASSERT_EQ(limitsB.GetItemCount(), limitsA.GetItemCount());
    EXPECT_EQ(limitsB.GetLowValueByIndex(3, true, 0.0), limitsA.GetLowValueByIndex(3, true, 0.0));
    EXPECT_EQ(ReadFile(imported.ComparativeValuesFile()),
              ReadFile(tmp.filePath("a/conf/Site.limit")));

    CChannelTableData channels;
    ASSERT_TRUE(channels.Read(imported.ChannelTableFile()));
    EXPECT_EQ(channels.GetChannelNames(), (QStringList{"K21", "K45"}));
}

MDA_INSTANTIATE_BACKEND_TESTS(ExchangeBetweenStationsTest);

} // namespace

#include "CMeasurementDataExportHandler.h"

#include "CArchivHandler.h"
#include "CDBExportFilesController.h"
#include "CDatabaseMultiInstance.h"
#include "CDeviceSettingsData.h"
#include "COSAbstraction.h"

#include <QDir>

namespace LumoraMeasurement
{

namespace
{

QString ImportBase()
{
    return OrvelFramework::COSAbstraction::GetUserDataPath(QStringLiteral("Vantrell"),
                                                           QStringLiteral("Lumora2.0/TEMP"));
}

// The folder is removed with all it holds before unpacking, so it must be a folder of its own
// below the import base: an archive named "..measurement" must not clear the base itself.
bool IsOwnFolderBelowBase(const QString& sFolder)
{
    const QString sBase = QDir::cleanPath(ImportBase());
    const QString sClean = QDir::cleanPath(sFolder);
    const QString sName = QFileInfo(sClean).fileName();
    return sClean.startsWith(sBase + QLatin1Char('/')) && !sName.isEmpty() &&
           sName != QLatin1String(".") && sName != QLatin1String("..") &&
           QFileInfo(sFolder).fileName() == sName;
}

} // namespace

CMeasurementDataExportHandler::CMeasurementDataExportHandler() = default;

CMeasurementDataExportHandler::~CMeasurementDataExportHandler() = default;

bool CMeasurementDataExportHandler::ExportMeasurementConfiguration(const QString& sMeasConfigFile,
                                                                   const QString& sArchive)
{
    if (!m_MeasConfig.Read(sMeasConfigFile))
    {
        return false;
    }
    CArchivHandler archive;
    return archive.CreateArchive(sArchive, GetFilesToExport(sMeasConfigFile));
}

bool CMeasurementDataExportHandler::ExportMeasurementConfigurationInDb(
    const QString& sMeasConfigFile, const QString& sArchive)
{
    if (!m_MeasConfig.Read(sMeasConfigFile))
    {
        return false;
    }
    // Unreadable device settings leave the defaults, which name the local default database.
    CDeviceSettingsData deviceSettings;
    deviceSettings.Read(m_MeasConfig.DeviceSettingFile());

    OrvelFramework::CDatabaseMultiInstance database(
        deviceSettings.DatabaseName(), deviceSettings.DatabaseUser(), deviceSettings.DatabasePwd());
    if (!database.Open())
    {
        return false;
    }
    CDBExportFilesController controller(database);
    return controller.CreateDbEntryFromFile(m_MeasConfig.UniqueIdentifier(), sArchive,
                                            m_MeasConfig.Description());
}

bool CMeasurementDataExportHandler::ImportMeasurementConfiguration(const QString& sArchive,
                                                                   const QString& sImportSubFolder)
{
    QString sFolder = GetImportFolder(sArchive, sImportSubFolder);
    if (!IsOwnFolderBelowBase(sFolder))
    {
        return false;
    }
    QDir folder(sFolder);
    if (folder.exists() && !folder.removeRecursively())
    {
        return false;
    }
    if (!folder.mkpath(QStringLiteral(".")))
    {
        return false;
    }

    CArchivHandler archive;
    if (!archive.ExtractArchive(sArchive, sFolder, false))
    {
        return false;
    }

    const QDir unpacked(sFolder);
    const QFileInfoList lConfigs =
        unpacked.entryInfoList({QStringLiteral("*.measconfig")}, QDir::Files | QDir::Hidden);
    if (lConfigs.size() != 1)
    {
        return false;
    }
    const QString sMeasConfigFile = lConfigs.first().filePath();
    m_MeasConfig.Read(sMeasConfigFile);
    UpdateImportedMeasConfig(
        unpacked.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        m_MeasConfig);
    return m_MeasConfig.Write(sMeasConfigFile);
}

QStringList CMeasurementDataExportHandler::GetFilesToExport(const QString& sMeasConfigFile)
{
    QStringList lFiles{m_MeasConfig.DeviceSettingFile(), m_MeasConfig.ComparativeValuesFile(),
                       m_MeasConfig.ChannelTableFile(), sMeasConfigFile};
    const QString sTransducerFile = CheckForTransducerFile();
    if (!sTransducerFile.isEmpty())
    {
        lFiles << sTransducerFile;
    }
    return lFiles;
}

QString CMeasurementDataExportHandler::CheckForTransducerFile()
{
    CDeviceSettingsData deviceSettings;
    deviceSettings.Read(m_MeasConfig.DeviceSettingFile());
    return deviceSettings.TransducerFile();
}

void CMeasurementDataExportHandler::SetNewTransducerFile(const QString& sTransducerFile,
                                                         CMeasConfigData& config)
{
    CDeviceSettingsData deviceSettings;
    if (deviceSettings.Read(config.DeviceSettingFile()))
    {
        deviceSettings.SetTransducerFile(sTransducerFile);
        deviceSettings.Write(config.DeviceSettingFile());
    }
}

void CMeasurementDataExportHandler::UpdateImportedMeasConfig(const QList<QFileInfo>& lFiles,
                                                             CMeasConfigData& config)
{
    QString sTransducerFile;
    for (const QFileInfo& file : lFiles)
    {
        if (!file.isFile())
        {
            continue;
        }
        const QString sPath = file.filePath();
        if (sPath.endsWith(QLatin1String("channel"), Qt::CaseInsensitive))
        {
            config.SetChannelTableFile(sPath);
        }
        else if (sPath.endsWith(QLatin1String("limit"), Qt::CaseInsensitive))
        {
            config.SetComparativeValuesFile(sPath);
        }
        else if (sPath.endsWith(QLatin1String("device"), Qt::CaseInsensitive))
        {
            config.SetDeviceSettingFile(sPath);
        }
        else if (sPath.endsWith(QLatin1String("TDF"), Qt::CaseInsensitive))
        {
            sTransducerFile = sPath;
        }
    }
    if (!sTransducerFile.isEmpty())
    {
        SetNewTransducerFile(sTransducerFile, config);
    }
}

QString CMeasurementDataExportHandler::GetImportFolder(const QString& sArchive,
                                                       const QString& sImportSubFolder)
{
    const QString sSubFolder =
        sImportSubFolder.isEmpty() ? c_sDefaultImportSubFolder : sImportSubFolder;
    QString sName = QFileInfo(sArchive).fileName();
    sName.remove(c_sArchiveExtension, Qt::CaseSensitive);
    return QStringLiteral("%1/%2/%3").arg(ImportBase(), sSubFolder, sName);
}

} // namespace LumoraMeasurement

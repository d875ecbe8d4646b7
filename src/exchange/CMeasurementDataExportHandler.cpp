#include "CMeasurementDataExportHandler.h"

#include "CArchivHandler.h"
#include "CDBExportFilesController.h"
#include "CDatabaseMultiInstance.h"
#include "CDeviceSettingsData.h"
#include "CImportStaging.h"
#include "COSAbstraction.h"

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>

namespace LumoraMeasurement
{

namespace
{

QString ImportBase()
{
    return OrvelFramework::COSAbstraction::GetUserDataPath(QStringLiteral("Vantrell"),
                                                           QStringLiteral("Lumora2.0/TEMP"));
}

bool IsInside(const QString& sPath, const QString& sFolder)
{
    return QDir::cleanPath(sPath).startsWith(QDir::cleanPath(sFolder) + QLatin1Char('/'));
}

QString Relocated(const QString& sPath, const QString& sFrom, const QString& sTo)
{
    return IsInside(sPath, sFrom) ? sTo + QDir::cleanPath(sPath).mid(QDir::cleanPath(sFrom).size())
                                  : sPath;
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
    QStringList lFiles = GetFilesToExport(sMeasConfigFile);
    // The archive travels to other stations (and into the database): its copy of the device
    // settings goes without the database password. The source file stays as it is.
    QTemporaryDir cleaned;
    CDeviceSettingsData deviceSettings;
    const QFileInfo device(lFiles.first());
    if (device.isFile() && deviceSettings.Read(device.filePath()) &&
        !deviceSettings.DatabasePwd().isEmpty())
    {
        const QString sCopy = cleaned.filePath(device.fileName());
        QFile copy(sCopy);
        if (!cleaned.isValid() || !deviceSettings.SetDatabasePwd(QString()) ||
            !deviceSettings.Write(sCopy) || !copy.open(QIODevice::ReadWrite) ||
            !copy.setFileTime(device.lastModified(), QFileDevice::FileModificationTime))
        {
            return false;
        }
        lFiles.first() = sCopy;
    }
    CArchivHandler archive;
    return archive.CreateArchive(sArchive, lFiles);
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
    m_sLastError.clear();
    QString sFolder;
    if (!DoCheckImportFolder(sArchive, sImportSubFolder, sFolder))
    {
        return false;
    }
    const QString sParent = QFileInfo(sFolder).path();
    if (!QDir().mkpath(sParent))
    {
        return Fail(QStringLiteral("cannot create '%1'").arg(sParent));
    }
    // Made only now, so the walk above saw every link there was; a link set in between shows
    // in the resolved path.
    const QString sResolvedBase = QFileInfo(ImportBase()).canonicalFilePath();
    if (sResolvedBase.isEmpty() ||
        QFileInfo(sParent).canonicalFilePath() !=
            sResolvedBase + sParent.mid(QDir::cleanPath(ImportBase()).size()))
    {
        return Fail(QStringLiteral("'%1' leads elsewhere through a symbolic link").arg(sParent));
    }
    // Unpacked and checked beside the folder; only a complete import takes its place, and what
    // it replaced or what failed goes with the staging folder.
    CImportStaging staging;
    if (!staging.DoCreate(sParent))
    {
        return Fail(staging.LastError());
    }
    if (!DoImportInto(sArchive, staging.GetUnpackFolder(), sFolder))
    {
        return false;
    }
    return staging.DoReplace(sFolder) || Fail(staging.LastError());
}

// The folder is replaced with all it holds, so it must be a folder of its own below the import
// base, reached without links, never the base itself nor a folder that holds other imports.
bool CMeasurementDataExportHandler::DoCheckImportFolder(const QString& sArchive,
                                                        const QString& sImportSubFolder,
                                                        QString& sFolder)
{
    const QString sSubFolder =
        sImportSubFolder.isEmpty() ? c_sDefaultImportSubFolder : sImportSubFolder;
    const QStringList lParts = sSubFolder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    // A part named like a staging folder would be cleared away by an import beside it.
    const bool bReserved = std::any_of(lParts.begin(), lParts.end(),
                                       [](const QString& sPart)
                                       {
                                           return sPart == QLatin1String(".") ||
                                                  sPart == QLatin1String("..") ||
                                                  sPart.startsWith(CImportStaging::c_sPrefix);
                                       });
    if (lParts.isEmpty() || bReserved)
    {
        return Fail(QStringLiteral("the import sub-folder '%1' must name a folder below the "
                                   "import base, without '.', '..' or '%2' parts")
                        .arg(sSubFolder, CImportStaging::c_sPrefix + QStringLiteral("...")));
    }
    QString sName = QFileInfo(sArchive).fileName();
    sName.remove(c_sArchiveExtension, Qt::CaseSensitive);
    if (sName.isEmpty() || sName == QLatin1String(".") || sName == QLatin1String("..") ||
        sName.startsWith(CImportStaging::c_sPrefix))
    {
        return Fail(QStringLiteral("the archive name '%1' gives no import folder of its own")
                        .arg(QFileInfo(sArchive).fileName()));
    }

    QString sPath = QDir::cleanPath(ImportBase());
    for (const QString& sPart : lParts + QStringList(sName))
    {
        sPath += QLatin1Char('/') + sPart;
        const QFileInfo part(sPath);
        if (part.isSymLink())
        {
            return Fail(
                QStringLiteral("'%1' is a symbolic link; an import is not written through links")
                    .arg(sPath));
        }
        if (part.exists() && !part.isDir())
        {
            return Fail(QStringLiteral("'%1' is not a folder").arg(sPath));
        }
    }
    // Imports are flat: a folder holding folders is where other imports live.
    if (!QDir(sPath)
             .entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)
             .isEmpty())
    {
        return Fail(
            QStringLiteral("'%1' holds folders; an import replaces only a folder of its own")
                .arg(sPath));
    }
    sFolder = sPath;
    return true;
}

bool CMeasurementDataExportHandler::DoImportInto(const QString& sArchive, const QString& sUnpacked,
                                                 const QString& sFolder)
{
    CArchivHandler archive;
    QString sOutput = sUnpacked;
    if (!archive.ExtractArchive(sArchive, sOutput, false))
    {
        return Fail(QStringLiteral("cannot unpack '%1': %2")
                        .arg(QDir::cleanPath(sArchive), archive.LastError()));
    }

    const QDir unpacked(sUnpacked);
    const QFileInfoList lConfigs =
        unpacked.entryInfoList({QStringLiteral("*.measconfig")}, QDir::Files | QDir::Hidden);
    if (lConfigs.size() != 1)
    {
        return Fail(QStringLiteral("'%1' holds %2 measurement configurations instead of one")
                        .arg(QDir::cleanPath(sArchive), QString::number(lConfigs.size())));
    }
    const QString sMeasConfigFile = lConfigs.first().filePath();
    m_MeasConfig.Read(sMeasConfigFile);

    // The documents must come from the archive: a path the archive does not replace names a
    // file of this machine, which the import must neither read nor rewrite.
    const QString lNamed[] = {m_MeasConfig.DeviceSettingFile(),
                              m_MeasConfig.ComparativeValuesFile(),
                              m_MeasConfig.ChannelTableFile()};
    m_MeasConfig.SetDeviceSettingFile(QString());
    m_MeasConfig.SetComparativeValuesFile(QString());
    m_MeasConfig.SetChannelTableFile(QString());
    UpdateImportedMeasConfig(
        unpacked.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        m_MeasConfig);
    const QString lImported[] = {m_MeasConfig.DeviceSettingFile(),
                                 m_MeasConfig.ComparativeValuesFile(),
                                 m_MeasConfig.ChannelTableFile()};
    const char* const lRoles[] = {"device settings", "limit", "channel table"};
    for (int i = 0; i < 3; ++i)
    {
        if (!lNamed[i].isEmpty() && lImported[i].isEmpty())
        {
            return Fail(QStringLiteral("the configuration names the %1 file '%2', which the "
                                       "archive does not carry")
                            .arg(QLatin1String(lRoles[i]), lNamed[i]));
        }
    }

    // Point the documents at the folder they will live in.
    const QString& sDeviceFile = lImported[0];
    CDeviceSettingsData deviceSettings;
    const QString sTransducer =
        deviceSettings.Read(sDeviceFile) ? deviceSettings.TransducerFile() : QString();
    if (IsInside(sTransducer, sUnpacked) &&
        (!deviceSettings.SetTransducerFile(Relocated(sTransducer, sUnpacked, sFolder)) ||
         !deviceSettings.Write(sDeviceFile)))
    {
        return Fail(QStringLiteral("cannot rewrite '%1'").arg(sDeviceFile));
    }
    m_MeasConfig.SetDeviceSettingFile(Relocated(sDeviceFile, sUnpacked, sFolder));
    m_MeasConfig.SetComparativeValuesFile(Relocated(lImported[1], sUnpacked, sFolder));
    m_MeasConfig.SetChannelTableFile(Relocated(lImported[2], sUnpacked, sFolder));
    return m_MeasConfig.Write(sMeasConfigFile) ||
           Fail(QStringLiteral("cannot rewrite '%1'").arg(sMeasConfigFile));
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

QString CMeasurementDataExportHandler::LastError() const
{
    return m_sLastError;
}

bool CMeasurementDataExportHandler::Fail(const QString& sWhy)
{
    m_sLastError = sWhy;
    return false;
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

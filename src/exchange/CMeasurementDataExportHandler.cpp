#include "CMeasurementDataExportHandler.h"

#include "CArchivHandler.h"
#include "CDBExportFilesController.h"
#include "CDatabaseMultiInstance.h"
#include "CDeviceSettingsData.h"
#include "COSAbstraction.h"

#include <QDir>
#include <QTemporaryDir>

#include <fcntl.h>

#include <cerrno>
#include <cstdio>

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
    // A clean path below the base never ends in "." or "..": a name that cleaning changed did.
    return sClean.startsWith(sBase + QLatin1Char('/')) && !sName.isEmpty() &&
           QFileInfo(sFolder).fileName() == sName;
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

// Puts the freshly unpacked folder in place of sFolder in one step, so that an import running
// at the same time never sees (or removes) half of another's result: the last one in wins. The
// previous contents end up in sUnpacked, which its owner removes.
bool MoveIntoPlace(const QString& sUnpacked, const QString& sFolder)
{
    const QByteArray baFrom = QFile::encodeName(sUnpacked);
    const QByteArray baTo = QFile::encodeName(sFolder);
#ifdef RENAME_EXCHANGE
    if (renameat2(AT_FDCWD, baFrom.constData(), AT_FDCWD, baTo.constData(), RENAME_NOREPLACE) == 0)
    {
        return true;
    }
    if (errno == EEXIST &&
        renameat2(AT_FDCWD, baFrom.constData(), AT_FDCWD, baTo.constData(), RENAME_EXCHANGE) == 0)
    {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS)
    {
        return false;
    }
#endif
    // Without an atomic exchange the old folder is moved aside first; the gap is short and
    // nobody sees half a folder.
    QTemporaryDir aside(QFileInfo(sFolder).absolutePath() + QStringLiteral("/.replaced-XXXXXX"));
    if (QFileInfo::exists(sFolder) &&
        (!aside.isValid() || !QDir().rmdir(aside.path()) || !QDir().rename(sFolder, aside.path())))
    {
        return false;
    }
    return QDir().rename(sUnpacked, sFolder);
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
    const QString sNamed = GetImportFolder(sArchive, sImportSubFolder);
    if (!IsOwnFolderBelowBase(sNamed))
    {
        return false;
    }
    const QString sFolder = QDir::cleanPath(sNamed);
    // A link would make the replaced folder's removal reach wherever it points.
    const QFileInfo target(sFolder);
    if (target.isSymLink() || (target.exists() && !target.isDir()))
    {
        return false;
    }
    const QString sParent = target.absolutePath();
    if (!QDir().mkpath(sParent))
    {
        return false;
    }
    // Unpacked beside the target and moved into place at the end (what it replaced goes with
    // the temporary folder), so two imports of the same name never work in one folder.
    QTemporaryDir unpackedDir(sParent + QStringLiteral("/.import-XXXXXX"));
    if (!unpackedDir.isValid())
    {
        return false;
    }
    const QString sUnpacked = unpackedDir.path();
    const bool bImported = DoImportInto(sArchive, sUnpacked, sFolder);
    return MoveIntoPlace(sUnpacked, sFolder) && bImported;
}

bool CMeasurementDataExportHandler::DoImportInto(const QString& sArchive, const QString& sUnpacked,
                                                 const QString& sFolder)
{
    CArchivHandler archive;
    QString sOutput = sUnpacked;
    if (!archive.ExtractArchive(sArchive, sOutput, false))
    {
        return false;
    }

    const QDir unpacked(sUnpacked);
    const QFileInfoList lConfigs =
        unpacked.entryInfoList({QStringLiteral("*.measconfig")}, QDir::Files | QDir::Hidden);
    if (lConfigs.size() != 1)
    {
        return false;
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
    for (int i = 0; i < 3; ++i)
    {
        if (!lNamed[i].isEmpty() && lImported[i].isEmpty())
        {
            return false;
        }
    }

    // Point the documents at the folder they will live in.
    CDeviceSettingsData deviceSettings;
    const QString sTransducer =
        deviceSettings.Read(lImported[0]) ? deviceSettings.TransducerFile() : QString();
    if (IsInside(sTransducer, sUnpacked) &&
        (!deviceSettings.SetTransducerFile(Relocated(sTransducer, sUnpacked, sFolder)) ||
         !deviceSettings.Write(lImported[0])))
    {
        return false;
    }
    m_MeasConfig.SetDeviceSettingFile(Relocated(lImported[0], sUnpacked, sFolder));
    m_MeasConfig.SetComparativeValuesFile(Relocated(lImported[1], sUnpacked, sFolder));
    m_MeasConfig.SetChannelTableFile(Relocated(lImported[2], sUnpacked, sFolder));
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

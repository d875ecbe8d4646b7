#pragma once

#include "MainDataAccess_export.h"

#include "CMeasConfigData.h"

#include <QFileInfo>
#include <QList>
#include <QString>
#include <QStringList>

namespace LumoraMeasurement
{

/// Moves a whole measurement configuration between installations: packs the configuration
/// file with the device settings, limit, channel table and transducer files it names into one
/// archive, stores such an archive in the measurement database under the configuration's
/// identifier, and unpacks an archive below the user data folder, pointing the unpacked
/// configuration at the unpacked files.
class MDA_EXPORT CMeasurementDataExportHandler
{
public:
    /// Sub-folder of the import folder used when the caller names none.
    static inline const QString c_sDefaultImportSubFolder = QStringLiteral("Lumora2.0Import");
    /// Conventional end of an archive's file name; removed to name its import folder.
    static inline const QString c_sArchiveExtension = QStringLiteral(".measurement");

    CMeasurementDataExportHandler();
    ~CMeasurementDataExportHandler();

    /// Reads the configuration and packs it with its files into sArchive; the packed device
    /// settings carry an empty database password.
    bool ExportMeasurementConfiguration(const QString& sMeasConfigFile, const QString& sArchive);
    /// Stores the existing archive sArchive in the database named by the configuration's
    /// device settings, under the configuration's identifier and with its description.
    bool ExportMeasurementConfigurationInDb(const QString& sMeasConfigFile,
                                            const QString& sArchive);
    /// Unpacks sArchive into a fresh import folder (see GetImportFolder) and rewrites the one
    /// "*.measconfig" found there so that it names the unpacked files. Fails when the
    /// configuration names a document the archive does not carry: nothing outside the import
    /// folder is read or written. The folder is refused when it is reached through a link,
    /// when the sub-folder has a ".", ".." or ".import-" part, or when it holds folders. The
    /// folder appears complete in one step and a failed import leaves it as it was; of two
    /// imports of the same name at once, the one finishing last stays.
    bool ImportMeasurementConfiguration(const QString& sArchive, const QString& sImportSubFolder);
    /// Why the last import failed, in words; empty after one that succeeded.
    QString LastError() const;

    /// Device settings, limit and channel table files of the configuration read last (as
    /// stored, even empty), then sMeasConfigFile, then the transducer file when there is one.
    QStringList GetFilesToExport(const QString& sMeasConfigFile);
    /// The transducer file named by the device settings of the configuration read last;
    /// empty when there is none or the device settings cannot be read.
    QString CheckForTransducerFile();
    /// Names sTransducerFile in the device settings file of config, when that file reads.
    void SetNewTransducerFile(const QString& sTransducerFile, CMeasConfigData& config);
    /// Points config at the files of lFiles by the ends of their paths ("channel", "limit",
    /// "device", "TDF", ignoring case); the last match of a role wins.
    void UpdateImportedMeasConfig(const QList<QFileInfo>& lFiles, CMeasConfigData& config);

    /// The folder an import of sArchive unpacks into: the user data import base, the
    /// sub-folder (or the default one) and the archive's name without ".measurement".
    static QString GetImportFolder(const QString& sArchive, const QString& sImportSubFolder);

private:
    bool DoCheckImportFolder(const QString& sArchive, const QString& sImportSubFolder,
                             QString& sFolder);
    bool DoImportInto(const QString& sArchive, const QString& sUnpacked, const QString& sFolder);
    bool Fail(const QString& sWhy);

    CMeasConfigData m_MeasConfig;
    QString m_sLastError;
};

} // namespace LumoraMeasurement

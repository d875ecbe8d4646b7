#include "CExchangeCommand.h"

#include "CDBExportFilesController.h"
#include "CMeasConfigData.h"
#include "CMeasurementDataExportHandler.h"
#include "COutputFile.h"
#include "CToolContext.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

using namespace LumoraMeasurement;

namespace
{

const qint64 c_llChunk = 1 << 16;

// The packed archive into the opened target; Commit() puts it in place.
bool CopyInto(const QString& sPacked, COutputFile& output, QString& sReason)
{
    QFile packed(sPacked);
    if (!packed.open(QIODevice::ReadOnly))
    {
        sReason = QStringLiteral("cannot read the packed archive: ") + packed.errorString();
        return false;
    }
    if (!output.Open())
    {
        sReason = output.LastError();
        return false;
    }
    QByteArray chunk;
    while (!(chunk = packed.read(c_llChunk)).isEmpty())
    {
        if (output.Device().write(chunk) != chunk.size())
        {
            break;
        }
    }
    if (packed.error() != QFileDevice::NoError)
    {
        sReason = QStringLiteral("cannot read the packed archive: ") + packed.errorString();
        output.Discard();
        return false;
    }
    return true;
}

} // namespace

int CExchangeCommand::RunExport(const QStringList& arguments)
{
    CToolContext context(QStringLiteral("export"), QStringLiteral("MEASCONFIG ARCHIVE"),
                         QStringLiteral("Packs a measurement configuration with the device "
                                        "settings, limit, channel table and transducer files "
                                        "it names into one archive (ARCHIVE - writes it to "
                                        "standard output). A failed write leaves no file."));
    context.AddDatabaseOptions();
    context.Parser().addOption(QCommandLineOption(
        QStringLiteral("store"),
        QStringLiteral("Also keep the archive in the database: the one --database names, else "
                       "the one the configuration's device settings name.")));
    int iExit = 0;
    if (!context.Parse(arguments, 2, iExit))
    {
        return iExit;
    }
    const QString sConfig = context.Positionals().at(0);
    const QString sTarget = context.Positionals().at(1);
    COutputFile output(sTarget == QLatin1String("-") ? sTarget
                                                     : QFileInfo(sTarget).absoluteFilePath());
    CMeasConfigData config;
    if (!QFileInfo(sConfig).isFile() || !config.Read(sConfig))
    {
        return context.Fail(QStringLiteral("cannot read the configuration '") + sConfig +
                            QStringLiteral("' (see mda check)"));
    }
    // The database is opened before anything is written: a refused one leaves no archive.
    const bool bStore = context.IsSet(QStringLiteral("store"));
    const bool bOwnDatabase = !context.Value(QStringLiteral("database")).isEmpty();
    OrvelFramework::CDatabaseMultiInstance db;
    QString sReason;
    if (bStore && bOwnDatabase && !context.OpenDatabase(db, sReason, true))
    {
        return context.Fail(sReason);
    }
    // Packed in a folder of our own first: the target receives a whole archive or nothing.
    QTemporaryDir work;
    const QString sPacked = work.filePath(QStringLiteral("packed.measurement"));
    CMeasurementDataExportHandler handler;
    if (!work.isValid() || !handler.ExportMeasurementConfiguration(sConfig, sPacked))
    {
        return context.Fail(QStringLiteral("cannot pack '") + sConfig +
                            QStringLiteral("' (see mda check)"));
    }
    if (!CopyInto(sPacked, output, sReason))
    {
        return context.Fail(sReason);
    }
    if (bStore)
    {
        if (!bOwnDatabase)
        {
            if (!handler.ExportMeasurementConfigurationInDb(sConfig, sPacked))
            {
                return context.Fail(QStringLiteral("cannot store the archive in the database of "
                                                   "the configuration's device settings"));
            }
        }
        else
        {
            if (!CDBExportFilesController(db).CreateDbEntryFromFile(config.UniqueIdentifier(),
                                                                    sPacked, config.Description()))
            {
                return context.Fail(QStringLiteral("cannot store the archive in the database: ") +
                                    db.LastError());
            }
        }
    }
    if (!output.Commit())
    {
        return context.Fail(output.LastError());
    }
    if (!output.IsStandardOutput())
    {
        QTextStream(stdout) << output.DisplayName() << '\n';
    }
    return CToolContext::c_iExitOk;
}

int CExchangeCommand::RunImport(const QStringList& arguments)
{
    CToolContext context(QStringLiteral("import"), QStringLiteral("ARCHIVE"),
                         QStringLiteral("Unpacks a configuration archive below the user data "
                                        "folder and points its configuration at the unpacked "
                                        "files; prints the folder."));
    context.Parser().addOption(
        QCommandLineOption(QStringLiteral("into"),
                           QStringLiteral("The sub-folder of the import folder (default %1).")
                               .arg(CMeasurementDataExportHandler::c_sDefaultImportSubFolder),
                           QStringLiteral("subfolder")));
    int iExit = 0;
    if (!context.Parse(arguments, 1, iExit))
    {
        return iExit;
    }
    const QString sArchive = QFileInfo(context.Positionals().at(0)).absoluteFilePath();
    if (!QFileInfo(sArchive).isFile())
    {
        return context.Fail(QStringLiteral("no archive '") + sArchive + QLatin1Char('\''));
    }
    const QString sInto = context.Value(QStringLiteral("into"));
    CMeasurementDataExportHandler handler;
    if (!handler.ImportMeasurementConfiguration(sArchive, sInto))
    {
        return context.Fail(QStringLiteral("cannot import '") + sArchive + QLatin1Char('\''));
    }
    QTextStream(stdout) << CMeasurementDataExportHandler::GetImportFolder(sArchive, sInto) << '\n';
    return CToolContext::c_iExitOk;
}

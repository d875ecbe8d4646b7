#include "CExchangeCommand.h"

#include "CDBExportFilesController.h"
#include "CMeasConfigData.h"
#include "CMeasurementDataExportHandler.h"
#include "CToolContext.h"

#include <QFileInfo>
#include <QTextStream>

using namespace LumoraMeasurement;

int CExchangeCommand::RunExport(const QStringList& arguments)
{
    CToolContext context(QStringLiteral("export"), QStringLiteral("MEASCONFIG ARCHIVE"),
                         QStringLiteral("Packs a measurement configuration with the device "
                                        "settings, limit, channel table and transducer files "
                                        "it names into one archive."));
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
    const QString sArchive = QFileInfo(context.Positionals().at(1)).absoluteFilePath();
    CMeasConfigData config;
    if (!QFileInfo(sConfig).isFile() || !config.Read(sConfig))
    {
        return context.Fail(
            QStringLiteral("cannot read the configuration '%1' (see mda check)").arg(sConfig));
    }
    CMeasurementDataExportHandler handler;
    if (!handler.ExportMeasurementConfiguration(sConfig, sArchive))
    {
        return context.Fail(QStringLiteral("cannot pack '%1' into '%2'").arg(sConfig, sArchive));
    }
    if (context.IsSet(QStringLiteral("store")))
    {
        if (context.Value(QStringLiteral("database")).isEmpty())
        {
            if (!handler.ExportMeasurementConfigurationInDb(sConfig, sArchive))
            {
                return context.Fail(QStringLiteral("cannot store '%1' in the database of the "
                                                   "configuration's device settings")
                                        .arg(sArchive));
            }
        }
        else
        {
            OrvelFramework::CDatabaseMultiInstance db;
            QString sReason;
            if (!context.OpenDatabase(db, sReason, true))
            {
                return context.Fail(sReason);
            }
            if (!CDBExportFilesController(db).CreateDbEntryFromFile(config.UniqueIdentifier(),
                                                                    sArchive, config.Description()))
            {
                return context.Fail(QStringLiteral("cannot store '%1' in the database: %2")
                                        .arg(sArchive, db.LastError()));
            }
        }
    }
    QTextStream(stdout) << sArchive << '\n';
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
        return context.Fail(QStringLiteral("no archive '%1'").arg(sArchive));
    }
    const QString sInto = context.Value(QStringLiteral("into"));
    CMeasurementDataExportHandler handler;
    if (!handler.ImportMeasurementConfiguration(sArchive, sInto))
    {
        return context.Fail(QStringLiteral("cannot import '%1'").arg(sArchive));
    }
    QTextStream(stdout) << CMeasurementDataExportHandler::GetImportFolder(sArchive, sInto) << '\n';
    return CToolContext::c_iExitOk;
}

// A hostile measurement database taken through the read path: the session reader (by id and
// by unique id), its rows, the classic CSV from the reader and the session model's load, the
// matrix and both CSV forms of the model; where the tool is built, also its show, report and
// both CSV commands. Nothing may crash, hang or grow without bound, a read either fails with a
// reason or hands out every row, and a command that fails leaves no output file behind.
//
// The input describes the rows, one per line, fields separated by tabs: the table ("session",
// "scan", "measurement", "limits", "channels"), then column=value pairs. A value "\N" is NULL,
// a whole number is stored as an integer, "@file" the base64 of a small registered document
// named by the rest ("@limits", "@channels", or anything else as raw bytes), and "TEXT*N"
// repeats TEXT N times (at most 5,000,000 characters in all). Unknown columns make the insert
// fail, which is fine: the database keeps what the statements stored.

#include "FuzzTools.h"

#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CDatabaseMultiInstance.h"
#include "CDeviceSettingsData.h"
#include "CMeasConfigData.h"
#include "CMeasurementResultData.h"
#include "CRDMatrixData.h"
#include "CSessionReader.h"

#ifdef MDA_FUZZ_TOOL
#include "CCsvCommand.h"
#include "CReportCommand.h"
#include "CShowCommand.h"
#endif

#include <QBuffer>
#include <QSqlDatabase>
#include <QSqlQuery>

using namespace LumoraMeasurement;

namespace
{

constexpr int c_iMaxRepeated = 5'000'000;

QVariant Value(const QString& sField, const QString& sFolder)
{
    bool bNumber = false;
    const qlonglong llNumber = sField.toLongLong(&bNumber);
    if (bNumber || sField == QStringLiteral("\\N"))
    {
        return bNumber ? QVariant(llNumber) : QVariant();
    }
    if (sField.startsWith(QLatin1Char('@')))
    {
        const QString sName = sField.mid(1);
        const bool bRegistered =
            sName == QStringLiteral("limits") || sName == QStringLiteral("channels");
        return QString::fromLatin1(
            (bRegistered ? MdaFuzz::ReadBytes(sFolder + QLatin1Char('/') + sName + ".json")
                         : sName.toUtf8())
                .toBase64());
    }
    const int iStar = sField.lastIndexOf(QLatin1Char('*'));
    bool bCount = false;
    const int iCount = iStar > 0 ? sField.mid(iStar + 1).toInt(&bCount) : 0;
    const QString sText = sField.left(iStar);
    if (bCount && iCount > 0 && !sText.isEmpty() &&
        static_cast<qint64>(iCount) * sText.size() <= c_iMaxRepeated)
    {
        return sText.repeated(iCount);
    }
    return sField;
}

void Store(const QString& sDatabase, const QString& sFolder, const QByteArray& input)
{
    const QString sConnection = QStringLiteral("fuzz-writer");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), sConnection);
        db.setDatabaseName(sDatabase);
        MDA_FUZZ_CHECK(db.open(), "the fuzz database opens");
        QSqlQuery query(db);
        query.exec(QStringLiteral("PRAGMA foreign_keys = OFF"));
        query.exec(QStringLiteral("BEGIN"));
        const QStringList lines = QString::fromUtf8(input).split(QLatin1Char('\n'));
        for (const QString& sLine : lines.mid(0, 2000))
        {
            const QStringList fields = sLine.split(QLatin1Char('\t'));
            static const QStringList c_Tables = {"session", "scan", "measurement",
                                                 "exported_limit_values",
                                                 "exported_channel_settings"};
            QString sTable = fields.first();
            sTable = sTable == "limits"     ? "exported_limit_values"
                     : sTable == "channels" ? "exported_channel_settings"
                                            : sTable;
            if (!c_Tables.contains(sTable))
            {
                continue;
            }
            QStringList columns;
            QVariantList values;
            for (const QString& sPair : fields.mid(1))
            {
                const int iEquals = sPair.indexOf(QLatin1Char('='));
                const QString sColumn = sPair.left(iEquals);
                // Column names are checked: only the values are data.
                if (iEquals < 1 ||
                    !std::all_of(sColumn.begin(), sColumn.end(),
                                 [](QChar c) { return c.isLetter() || c == QLatin1Char('_'); }))
                {
                    continue;
                }
                columns << sColumn;
                values << Value(sPair.mid(iEquals + 1), sFolder);
            }
            if (columns.isEmpty())
            {
                continue;
            }
            query.prepare(QStringLiteral("INSERT INTO ") + sTable + QStringLiteral(" (") +
                          columns.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                          QStringLiteral(", ?").repeated(columns.size()).mid(2) + QLatin1Char(')'));
            for (int i = 0; i < values.size(); ++i)
            {
                query.bindValue(i, values[i]);
            }
            query.exec();
        }
        query.exec(QStringLiteral("COMMIT"));
    }
    QSqlDatabase::removeDatabase(sConnection);
}

// Reads the session every way there is; a read either fails with a reason or is whole.
void ReadAll(const QString& sDatabase, const QString& sFolder, const QString& sSession)
{
    CSessionReader reader;
    MDA_FUZZ_CHECK(reader.Open(sDatabase, QString(), QString()), "the database opens for reading");
    if (!reader.SelectSession(sSession))
    {
        MDA_FUZZ_CHECK(!reader.LastError().isEmpty(), "a refused session says why");
        return;
    }
    long lRows = 0;
    if (!reader.ForEachRow([&lRows](const CSessionReader::SRow&) { return ++lRows > 0; }))
    {
        MDA_FUZZ_CHECK(!reader.LastError().isEmpty(), "a failed read says why");
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString sError;
    if (!CMeasurementResultData::WriteCSVExport(reader, buffer, sError))
    {
        MDA_FUZZ_CHECK(!sError.isEmpty(), "a failed export says why");
    }

    CMeasConfigData config;
    config.SetDeviceSettingFile(sFolder + "/device.json");
    config.SetChannelTableFile(sFolder + "/channels.json");
    config.SetComparativeValuesFile(sFolder + "/limits.json");
    CMeasurementResultData model(reader.SessionId(), eLevelUnit_dBuV);
    if (model.LoadData(config))
    {
        OrvelFramework::CRDMatrixData matrix;
        model.CreateChannelMatrixData(matrix);
        const QStringList lines = model.GetCSVExport();
        MDA_FUZZ_CHECK(!lines.isEmpty(), "the export has its session line");
        for (long i = 0; i < model.GetNumberOfErrorsInSession(); ++i)
        {
            model.GetChannelErrorDescriptionOfSessionError(i);
            model.GetChannelNameOfSessionError(i);
        }
    }
    else
    {
        MDA_FUZZ_CHECK(!model.LastError().isEmpty(), "a failed load says why");
    }
}

#ifdef MDA_FUZZ_TOOL
// The tool's commands on the session: exit 0 (1 for findings) with the file written, or 2 with
// nothing left at the target.
void RunTool(const QString& sDatabase, const QString& sFolder, const QString& sSession)
{
    const QString sOut = sFolder + QStringLiteral("/out");
    const QStringList database = {QStringLiteral("--database"), sDatabase};
    struct SCommand
    {
        int (*m_pRun)(const QStringList&);
        QStringList m_Arguments;
        bool m_bWritesFile;
    };
    const SCommand commands[] = {
        {&CShowCommand::Run, QStringList{"mda", "show", sSession} + database, false},
        {&CReportCommand::Run, QStringList{"mda", "report", sSession, "-o", sOut} + database, true},
        {&CCsvCommand::Run, QStringList{"mda", "csv", sSession, "-o", sOut} + database, true},
        {&CCsvCommand::Run, QStringList{"mda", "csv", "--classic", sSession, "-o", sOut} + database,
         true},
    };
    // Once with the session's own registered files, once with good ones given instead, so that
    // the writers see the hostile rows even when the registered copies are broken.
    const QStringList given = {QStringLiteral("--channels"), sFolder + "/channels.json",
                               QStringLiteral("--limits"), sFolder + "/limits.json",
                               QStringLiteral("--force")};
    for (int i = 0; i < 8; ++i)
    {
        const SCommand& command = commands[i % 4];
        const QStringList arguments = command.m_Arguments + (i < 4 ? QStringList() : given);
        QFile::remove(sOut);
        const int iExit = command.m_pRun(arguments);
        MDA_FUZZ_CHECK(iExit == 0 || iExit == 1 || iExit == 2, arguments.join(' ').toStdString());
        if (command.m_bWritesFile)
        {
            MDA_FUZZ_CHECK(QFile::exists(sOut) == (iExit != 2),
                           "a file written whole or not at all: " +
                               arguments.join(' ').toStdString());
        }
    }
}
#endif

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t uiSize)
{
    const QString sFolder = MdaFuzz::WorkFolder(QStringLiteral("session-database"));
    const QString sDatabase = sFolder + QStringLiteral("/hostile.sqlite");
    {
        CChannelTableData channels;
        channels.AddChannel(CChannelData(eTVStandard_DVBT, QStringLiteral("K21 %1 %9")),
                            CChannelTableData::c_lAppendRow);
        channels.AddChannel(CChannelData(eTVStandard_J83A, QStringLiteral("S05\x1b[2J")),
                            CChannelTableData::c_lAppendRow);
        MDA_FUZZ_CHECK(channels.Write(sFolder + "/channels.json"), "channel table written");
        MDA_FUZZ_CHECK(CComparativeValueData().Write(sFolder + "/limits.json"), "limits written");
        CDeviceSettingsData device;
        device.SetDatabaseName(sDatabase);
        MDA_FUZZ_CHECK(device.Write(sFolder + "/device.json"), "device settings written");
        OrvelFramework::CDatabaseMultiInstance db(sDatabase, QString(), QString());
        MDA_FUZZ_CHECK(db.Open(), "the schema is made");
    }
    Store(sDatabase, sFolder, QByteArray(reinterpret_cast<const char*>(pData), int(uiSize)));
    for (const QString& sSession :
         {QStringLiteral("1"), QStringLiteral("uid-1"), QStringLiteral("9223372036854775807")})
    {
        ReadAll(sDatabase, sFolder, sSession);
#ifdef MDA_FUZZ_TOOL
        RunTool(sDatabase, sFolder, sSession);
#endif
    }
    return 0;
}

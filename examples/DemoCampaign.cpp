// A whole measurement campaign on the library, end to end: configuration documents, a
// simulated receiver recording scans into the database, the result model with its views, a
// CSV export, an HTML report, and the exchange of the configuration as an archive.

#include "CChannelData.h"
#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CConverter.h"
#include "CDBMeasurement.h"
#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "CDBSessionControler.h"
#include "CDatabaseMultiInstance.h"
#include "CDatabaseTransaction.h"
#include "CDeviceSettingsData.h"
#include "CEnumTemplate.h"
#include "CMeasConfigData.h"
#include "CMeasurementData.h"
#include "CMeasurementDataExportHandler.h"
#include "CMeasurementResultData.h"
#include "CValueFactory.h"
#include "EDigitalConstellation.h"
#include "EMeasurementItemState.h"
#include "EMeasurementItems.h"
#include "EScanState.h"
#include "ESettingsItems.h"
#include "ETVStandards.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <random>

using namespace LumoraMeasurement;
using namespace OrvelFramework;

namespace
{

struct SChannelPlan
{
    const char* m_pszName;
    ETVStandards m_eStandard;
    const char* m_pszFrequency;
    const char* m_pszSymbolRate; // empty: the standard fixes it
    EDigitalConstellation m_eQam;
    double m_dPowerLimitOffset;
};

// A cable and terrestrial head-end of mixed standards.
const SChannelPlan c_Plan[] = {
    {"E05 PAL B/G", eTVStandard_BG_Pal, "175.25 MHz", "", eDigitalConstellation_None, 0},
    {"A02 NTSC M", eTVStandard_M_NTSC, "55.25 MHz", "", eDigitalConstellation_None, 0},
    {"S21 DVB-C 256", eTVStandard_J83A, "306 MHz", "6.9 MSymb/s", eDigitalConstellation_QAM256, 0},
    {"S22 DVB-C 64", eTVStandard_J83A, "314 MHz", "6.9 MSymb/s", eDigitalConstellation_QAM64, -6},
    {"K23 DVB-T", eTVStandard_DVBT, "490 MHz", "", eDigitalConstellation_QAM64, 0},
    {"K34 DVB-T2", eTVStandard_DVBT2, "578 MHz", "", eDigitalConstellation_None, 0},
    {"A14 ATSC", eTVStandard_ATSC_8VSB, "473 MHz", "", eDigitalConstellation_VSB, 3},
    {"D01 EuroDOCSIS 3.0", eTVStandard_EuroDOCSIS30, "602 MHz", "6.952 MSymb/s",
     eDigitalConstellation_QAM256, 0},
    {"D02 DOCSIS 3.1", eTVStandard_DOCSIS31, "722 MHz", "", eDigitalConstellation_None, 0},
    {"E08 PAL D/K", eTVStandard_DK_Pal, "196.25 MHz", "", eDigitalConstellation_None, 0},
    {"S25 DVB-C 256", eTVStandard_J83A, "330 MHz", "6.9 MSymb/s", eDigitalConstellation_QAM256, 0},
    {"K41 ISDB-T", eTVStandard_ISDBT, "635 MHz", "", eDigitalConstellation_None, 0},
};
const int c_iPlanSize = static_cast<int>(sizeof(c_Plan) / sizeof(c_Plan[0]));

// Key items of the report's curves: the simulated receiver never fails on them, so their
// curves stay unbroken.
const EMeasurementItems c_CurveItems[] = {
    eMeasItem_Power,
    eMeasItem_VisionCarrierLevel,
    eMeasItem_MERRMSdB,
    eMeasItem_BERBeforeRS,
    eMeasItem_SNVideoWeightedBar,
    eMeasItem_MEROverallRMS,
    eMeasItem_SignalPowerPer6MHz,
};

struct SOptions
{
    int m_iScans = 24;
    int m_iChannels = c_iPlanSize;
    unsigned m_uSeed = 7;
    QString m_sOut;
    QString m_sDatabase;
    QString m_sDbUser;
    QString m_sDbPassword;
    bool m_bQuiet = false;
    QString m_sTool;
};

QTextStream& Out()
{
    static QTextStream s_Out(stdout);
    return s_Out;
}

bool Fail(const QString& sWhat)
{
    Out().flush();
    std::fprintf(stderr, "demo: %s\n", sWhat.toUtf8().constData());
    return false;
}

double AsNumber(const QVariant& value)
{
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (ok)
    {
        return d;
    }
    QString text = value.toString();
    return CConverter::getORVELFloat(text);
}

// ---------------------------------------------------------------------------------------
// Configuration documents

struct SConfigFiles
{
    QString m_sDevice;
    QString m_sLimits;
    QString m_sChannels;
    QString m_sMeasConfig;
};

bool WriteConfiguration(const SOptions& options, SConfigFiles& files)
{
    const QString dir = QDir(options.m_sOut).filePath(QStringLiteral("config"));
    if (!QDir().mkpath(dir))
    {
        return Fail(QStringLiteral("cannot create %1").arg(dir));
    }
    files.m_sDevice = QDir(dir).filePath(QStringLiteral("demo.device"));
    files.m_sLimits = QDir(dir).filePath(QStringLiteral("demo.limit"));
    files.m_sChannels = QDir(dir).filePath(QStringLiteral("demo.channel"));
    files.m_sMeasConfig = QDir(dir).filePath(QStringLiteral("demo.measconfig"));

    CChannelTableData table;
    for (int i = 0; i < options.m_iChannels; ++i)
    {
        const SChannelPlan& plan = c_Plan[i % c_iPlanSize];
        QString name = QString::fromUtf8(plan.m_pszName);
        if (i >= c_iPlanSize)
        {
            name += QStringLiteral(" #%1").arg(i / c_iPlanSize + 1);
        }
        CChannelData channel(plan.m_eStandard, name);
        channel.SetItemValue(eSettingsItem_CenterFrequency, QString::fromUtf8(plan.m_pszFrequency));
        if (plan.m_pszSymbolRate[0] != '\0')
        {
            channel.SetItemValue(eSettingsItem_SymbolRate, QString::fromUtf8(plan.m_pszSymbolRate));
        }
        if (plan.m_eQam != eDigitalConstellation_None)
        {
            channel.SetItemValue(eSettingsItem_QAMOrder,
                                 CEnumTemplate<EDigitalConstellation>::ToId(plan.m_eQam));
        }
        channel.SetItemValue(eSettingsItem_PowerLimitOffset,
                             QString::number(plan.m_dPowerLimitOffset, 'f', 2) +
                                 QStringLiteral(" dB"));
        channel.SetItemValue(eSettingsItem_Description,
                             CEnumTemplate<ETVStandards>::ToString(plan.m_eStandard));
        table.AddChannel(channel, CChannelTableData::c_lAppendRow);
    }
    if (!table.Write(files.m_sChannels))
    {
        return Fail(QStringLiteral("cannot write the channel table %1").arg(files.m_sChannels));
    }

    CComparativeValueData limits;
    if (!limits.Write(files.m_sLimits))
    {
        return Fail(QStringLiteral("cannot write the limit table %1").arg(files.m_sLimits));
    }

    CDeviceSettingsData device;
    const QString database =
        options.m_sDatabase.isEmpty()
            ? QDir(options.m_sOut).absoluteFilePath(QStringLiteral("measurements.sqlite"))
            : options.m_sDatabase;
    device.SetDatabaseName(database);
    device.SetDatabaseUser(options.m_sDbUser);
    // The file stays free of the password: libpq takes it from PGPASSWORD, which main() sets.
    device.SetDatabasePwd(QString());
    device.SetVisaResource(QStringLiteral("TCPIP::192.0.2.10::INSTR"));
    if (!device.Write(files.m_sDevice))
    {
        return Fail(QStringLiteral("cannot write the device settings %1").arg(files.m_sDevice));
    }

    CMeasConfigData config;
    config.CreateUniqueIdentifier();
    config.SetDescription(QStringLiteral("Demo head-end, %1 channels").arg(options.m_iChannels));
    config.SetDeviceSettingFile(files.m_sDevice);
    config.SetComparativeValuesFile(files.m_sLimits);
    config.SetChannelTableFile(files.m_sChannels);
    if (!config.Write(files.m_sMeasConfig))
    {
        return Fail(QStringLiteral("cannot write the configuration %1").arg(files.m_sMeasConfig));
    }
    return true;
}

// ---------------------------------------------------------------------------------------
// The simulated receiver

class CSimulatedReceiver
{
public:
    CSimulatedReceiver(unsigned uSeed, const CComparativeValueData& limits)
        : m_Random(uSeed), m_Limits(limits)
    {
    }

    // One measured value of an item as the receiver reports it; sets the state and the
    // error text of the record.
    void Measure(EMeasurementItems eItem, long lChannel, int iScan, int iScans, double dPowerOffset,
                 CDBMeasurement& record)
    {
        const double roll = Uniform();
        if (roll < 0.006 && !IsCurveItem(eItem))
        {
            record.SetMeasurementState(StateId(eMeasurementItemState_Error));
            record.SetValue(QString());
            record.SetErrorDescription(QStringLiteral("Receiver timeout while measuring"));
            return;
        }
        record.SetMeasurementState(StateId(eMeasurementItemState_Valid));
        record.SetValue(Value(eItem, lChannel, iScan, iScans, dPowerOffset));
    }

    // Now and then the receiver cannot tune a channel in a scan: the channel has no values
    // there, and its curves show interpolated points.
    bool IsChannelSkipped() { return Uniform() < 0.04; }

    static bool IsCurveItem(EMeasurementItems eItem)
    {
        for (EMeasurementItems curveItem : c_CurveItems)
        {
            if (curveItem == eItem)
            {
                return true;
            }
        }
        return false;
    }

    // A few items of a channel the instrument cannot deliver in its mode.
    bool IsNotImplemented(EMeasurementItems eItem, long lChannel) const
    {
        return (static_cast<long>(eItem) * 31 + lChannel * 17) % 23 == 0;
    }

    static long StateId(EMeasurementItemState eState)
    {
        return CEnumTemplate<EMeasurementItemState>::ToId(eState);
    }

private:
    double Uniform() { return std::uniform_real_distribution<double>(0.0, 1.0)(m_Random); }
    double Normal() { return std::normal_distribution<double>(0.0, 1.0)(m_Random); }

    QString Value(EMeasurementItems eItem, long lChannel, int iScan, int iScans, double dOffset)
    {
        const CComparativeValueDataItem& limit = m_Limits.GetItem(eItem);
        const EValueType eType = CValueFactory::MeasurementItem_GetItemValueType(eItem);
        if (eType == eValueType_Integer)
        {
            // Locks and switches: the expected state, now and then the other one.
            const long expected = limit.GetCompareType() == eCompareType_Equal
                                      ? static_cast<long>(AsNumber(limit.GetLowValue()))
                                      : 0;
            return QString::number(Uniform() < 0.002 ? 1 - expected : expected);
        }
        if (eType != eValueType_Float)
        {
            return QStringLiteral("Done");
        }
        double low = AsNumber(limit.GetLowValue());
        double high = AsNumber(limit.GetHighValue());
        if (eItem == eMeasItem_Power)
        {
            low += dOffset;
            high += dOffset;
        }
        // A centre inside the limits with some room, a per-channel character, a slow drift
        // over the campaign and noise: most values pass, a few near the edge do not.
        double centre = 0;
        double spread = 1;
        switch (limit.GetCompareType())
        {
        case eCompareType_Between:
            centre = (low + high) / 2;
            spread = (high - low) / 2;
            break;
        case eCompareType_Higher:
            spread = std::max(1.0, std::fabs(low) * 0.15);
            centre = low + 2.2 * spread;
            break;
        case eCompareType_Lower:
            spread = std::max(std::fabs(high) * 0.3, 1e-9);
            centre = high - 2.2 * spread;
            break;
        default:
            centre = 10 + (lChannel % 5);
            spread = 2;
            break;
        }
        const double character = ((lChannel * 7 + static_cast<long>(eItem)) % 11 - 5) / 10.0;
        // Every fourth channel drifts towards a limit over the campaign: its violations
        // become more frequent scan after scan.
        const double drift = (lChannel % 4 == 1 ? -1.2 : 0.15) * iScan / std::max(1, iScans - 1);
        double value = centre + spread * (0.3 * character + 0.6 * drift + 0.13 * Normal());
        const QString name = CEnumTemplate<EMeasurementItems>::ToString(eItem);
        const bool ratio =
            name.startsWith(QStringLiteral("BER")) || name.contains(QStringLiteral("Ratio"));
        if (value < 0 && (ratio || (limit.GetCompareType() == eCompareType_Lower && high > 0)))
        {
            value = std::fabs(value) * 0.1; // ratios and rates never go negative
        }
        const EUnitTypes eUnit = CValueFactory::MeasurementItem_GetItemUnit(eItem);
        const QString number = std::fabs(value) < 0.01 && value != 0
                                   ? QString::number(value, 'e', 3)
                                   : QString::number(value, 'f', 3);
        const QString unit = CConverter::GetUnitString(eUnit);
        return unit.isEmpty() ? number : number + QLatin1Char(' ') + unit;
    }

    std::mt19937 m_Random;
    const CComparativeValueData& m_Limits;
};

// ---------------------------------------------------------------------------------------
// Recording

bool RecordCampaign(const SOptions& options, const SConfigFiles& files, long& lSessionId,
                    long& lStoredValues)
{
    CDeviceSettingsData device;
    CChannelTableData table;
    CComparativeValueData limits;
    if (!device.Read(files.m_sDevice) || !table.Read(files.m_sChannels) ||
        !limits.Read(files.m_sLimits))
    {
        return Fail(QStringLiteral("cannot read the configuration back"));
    }
    CDatabaseMultiInstance db(device.DatabaseName(), device.DatabaseUser(), device.DatabasePwd());
    if (!db.Open())
    {
        return Fail(QStringLiteral("cannot open the database %1: %2")
                        .arg(device.DatabaseName(), db.LastError()));
    }
    CDBSessionControler sessions(db);
    CDBScanController scans(db);
    CDBMeasurementController measurements(db);

    QString testPoint = QStringLiteral("Head-end output 1");
    QString site = QStringLiteral("Demo head-end");
    QString eMail = QStringLiteral("engineer@example.org");
    QString eNumber = QStringLiteral("E-1001");
    QString name = QStringLiteral("Demo Engineer");
    QString tNumber = QStringLiteral("T-42");
    QString hwModel = QStringLiteral("Simulated receiver");
    QString firmware = QStringLiteral("1.0");
    QString software = QStringLiteral("demo");
    QString serial = QStringLiteral("SIM-0001");
    QString owner = QStringLiteral("Demo");
    CMeasConfigData config;
    config.Read(files.m_sMeasConfig);
    if (!sessions.Create(lSessionId, config.UniqueIdentifier(), config.Description(),
                         files.m_sChannels, files.m_sLimits, testPoint, site, eMail, eNumber, name,
                         tNumber, hwModel, firmware, software, serial, owner))
    {
        return Fail(QStringLiteral("cannot create the session: %1").arg(db.LastError()));
    }

    CSimulatedReceiver receiver(options.m_uSeed, limits);
    lStoredValues = 0;
    const long channelCount = table.GetRowCount();
    for (int s = 0; s < options.m_iScans; ++s)
    {
        long scanId = s + 1;
        if (!scans.Create(lSessionId, scanId))
        {
            return Fail(
                QStringLiteral("cannot create scan %1: %2").arg(scanId).arg(db.LastError()));
        }
        bool scanHadError = false;
        CDatabaseTransaction scope(db); // one commit for all values of the scan
        for (long r = 0; r < channelCount; ++r)
        {
            if (s > 0 && receiver.IsChannelSkipped())
            {
                continue;
            }
            CChannelData& channel = table.GetChannel(r);
            CMeasurementData parameters(device, channel, limits);
            const double powerOffset = parameters.PowerLimitOffset();
            for (EMeasurementItems item :
                 CMeasurementData::GetSupportedMeasValuesOnly(channel.GetTvStandard()))
            {
                long measurementId = 0;
                if (!measurements.Create(lSessionId, scanId, r, measurementId))
                {
                    return Fail(QStringLiteral("cannot store a value: %1").arg(db.LastError()));
                }
                CDBMeasurement record(lSessionId, scanId, r, measurementId);
                record.SetMeasurementItem(CEnumTemplate<EMeasurementItems>::ToId(item));
                if (receiver.IsNotImplemented(item, r))
                {
                    record.SetMeasurementState(
                        CSimulatedReceiver::StateId(eMeasurementItemState_NotImplemented));
                }
                else
                {
                    receiver.Measure(item, r, s, options.m_iScans, powerOffset, record);
                }
                scanHadError |= record.GetMeasurementState() ==
                                CSimulatedReceiver::StateId(eMeasurementItemState_Error);
                if (!measurements.Update(record))
                {
                    return Fail(QStringLiteral("cannot store a value: %1").arg(db.LastError()));
                }
                ++lStoredValues;
            }
        }
        CDBScanData scan(lSessionId, scanId);
        scans.Update(scan, scanHadError ? eScanState_MeasurementError : eScanState_Success);
        if (!scope.Commit())
        {
            return Fail(
                QStringLiteral("cannot commit scan %1: %2").arg(scanId).arg(db.LastError()));
        }
        if (!options.m_bQuiet)
        {
            const int width = 30;
            const int done = (s + 1) * width / options.m_iScans;
            Out() << QStringLiteral("\r  scan %1/%2 [%3%4] %5 values")
                         .arg(s + 1, 3)
                         .arg(options.m_iScans)
                         .arg(QString(done, QLatin1Char('#')))
                         .arg(QString(width - done, QLatin1Char('.')))
                         .arg(lStoredValues);
            Out().flush();
        }
    }
    if (!options.m_bQuiet)
    {
        Out() << "\n";
    }
    sessions.Update(sessions.GetData(lSessionId)); // stamps the last run
    return true;
}

// ---------------------------------------------------------------------------------------
// Results

// Runs the command-line tool on the recorded session; its output goes to ours. The
// password reaches it through the environment, never on its command line.
bool RunTool(const SOptions& options, const QStringList& arguments)
{
    QStringList args = arguments;
    args << QStringLiteral("--database")
         << (options.m_sDatabase.isEmpty()
                 ? QDir(options.m_sOut).absoluteFilePath(QStringLiteral("measurements.sqlite"))
                 : options.m_sDatabase);
    if (!options.m_sDbUser.isEmpty())
    {
        args << QStringLiteral("--user") << options.m_sDbUser;
    }
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!options.m_sDbPassword.isEmpty())
    {
        environment.insert(QStringLiteral("MDA_DATABASE_PASSWORD"), options.m_sDbPassword);
    }
    tool.setProcessEnvironment(environment);
    tool.setProcessChannelMode(QProcess::ForwardedChannels);
    Out().flush();
    tool.start(options.m_sTool, args);
    if (!tool.waitForFinished(-1) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0)
    {
        return Fail(QStringLiteral("%1 %2 failed").arg(options.m_sTool, arguments.first()));
    }
    return true;
}

bool BuildReport(const SOptions& options, const SConfigFiles& files, long lSessionId,
                 long& lCsvLines)
{
    CMeasConfigData config;
    if (!config.Read(files.m_sMeasConfig))
    {
        return Fail(QStringLiteral("cannot read %1").arg(files.m_sMeasConfig));
    }
    CMeasurementResultData model(lSessionId, eLevelUnit_dBmV);
    if (!model.LoadData(config))
    {
        return Fail(QStringLiteral("the result model could not load session %1").arg(lSessionId));
    }

    // The application's own CSV export.
    const QStringList lines = model.GetCSVExport();
    lCsvLines = lines.size();
    QFile csv(QDir(options.m_sOut).filePath(QStringLiteral("session.csv")));
    if (!csv.open(QIODevice::WriteOnly | QIODevice::Truncate))
    {
        return Fail(QStringLiteral("cannot write %1").arg(csv.fileName()));
    }
    csv.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    csv.close();

    // Summary and report come from the tool, as for any stored session.
    const QString session = QString::number(lSessionId);
    Out() << "\n";
    return RunTool(options, {QStringLiteral("show"), session}) &&
           RunTool(options, {QStringLiteral("report"), session, QStringLiteral("-o"),
                             QDir(options.m_sOut).filePath(QStringLiteral("report.html"))});
}

// ---------------------------------------------------------------------------------------
// Exchange

bool ExchangeConfiguration(const SOptions& options, const SConfigFiles& files, QString& archive,
                           QString& importFolder)
{
    archive = QDir(options.m_sOut).absoluteFilePath(QStringLiteral("demo.measurement"));
    QFile::remove(archive);
    CMeasurementDataExportHandler exporter;
    if (!exporter.ExportMeasurementConfiguration(files.m_sMeasConfig, archive))
    {
        return Fail(QStringLiteral("cannot export the configuration to %1").arg(archive));
    }
    if (!exporter.ExportMeasurementConfigurationInDb(files.m_sMeasConfig, archive))
    {
        return Fail(QStringLiteral("cannot store the configuration archive in the database"));
    }

    // The second installation: its own user data folder inside the output folder.
    const QString station = QDir(options.m_sOut).absoluteFilePath(QStringLiteral("second-station"));
    QDir(station).removeRecursively();
    const QByteArray previous = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", station.toUtf8());
    CMeasurementDataExportHandler importer;
    const bool imported = importer.ImportMeasurementConfiguration(archive, QString());
    importFolder = CMeasurementDataExportHandler::GetImportFolder(archive, QString());
    if (previous.isNull())
    {
        qunsetenv("XDG_DATA_HOME");
    }
    else
    {
        qputenv("XDG_DATA_HOME", previous);
    }
    if (!imported)
    {
        return Fail(QStringLiteral("cannot import %1").arg(archive));
    }

    // The imported configuration names the unpacked files, and they load.
    const QStringList configs =
        QDir(importFolder).entryList({QStringLiteral("*.measconfig")}, QDir::Files);
    CMeasConfigData config;
    CChannelTableData table;
    CComparativeValueData limits;
    CDeviceSettingsData device;
    if (configs.size() != 1 || !config.Read(QDir(importFolder).filePath(configs.first())) ||
        !table.Read(config.ChannelTableFile()) || !limits.Read(config.ComparativeValuesFile()) ||
        !device.Read(config.DeviceSettingFile()))
    {
        return Fail(
            QStringLiteral("the imported configuration in %1 does not load").arg(importFolder));
    }
    Out() << QStringLiteral("  imported configuration loads: %1 channels, %2 limits\n")
                 .arg(table.GetRowCount())
                 .arg(limits.GetItemCount());
    return true;
}

// A password in the user part of a server URL, up to the last '@' wherever it stands.
bool HasPassword(const QString& sDatabase)
{
    const int iStart = sDatabase.indexOf(QStringLiteral("://"));
    const int iAt = sDatabase.lastIndexOf(QLatin1Char('@'));
    return iStart >= 0 && iAt > iStart + 3 &&
           sDatabase.mid(iStart + 3, iAt - iStart - 3).contains(QLatin1Char(':'));
}

bool ParseOptions(const QCoreApplication& app, SOptions& options)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Runs a simulated measurement campaign through libMainDataAccess and "
                       "writes a CSV export, an HTML report and a configuration archive."));
    parser.addHelpOption();
    const QCommandLineOption scans(QStringLiteral("scans"), QStringLiteral("Number of scans."),
                                   QStringLiteral("n"), QStringLiteral("24"));
    const QCommandLineOption channels(QStringLiteral("channels"),
                                      QStringLiteral("Number of channels."), QStringLiteral("n"),
                                      QString::number(c_iPlanSize));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seed of the simulated receiver."),
                                  QStringLiteral("n"), QStringLiteral("7"));
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Output folder."),
                                 QStringLiteral("dir"), QStringLiteral("demo-output"));
    const QCommandLineOption database(
        QStringLiteral("database"),
        QStringLiteral(
            "Database name: a postgresql://host[:port]/db URL instead of the SQLite file."),
        QStringLiteral("name"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("Database user."),
                                  QStringLiteral("name"));
    const QCommandLineOption password(
        QStringLiteral("password"),
        QStringLiteral("Database password (better: MDA_DATABASE_PASSWORD in the environment). "
                       "It is never written into the device settings."),
        QStringLiteral("text"));
    const QCommandLineOption quiet(QStringLiteral("quiet"), QStringLiteral("No progress bar."));
    const QCommandLineOption tool(QStringLiteral("mda"),
                                  QStringLiteral("The command-line tool that writes the report."),
                                  QStringLiteral("path"), QStringLiteral(MDA_TOOL_PATH));
    parser.addOptions({scans, channels, seed, out, database, user, password, quiet, tool});
    parser.process(app);
    bool ok1 = false;
    bool ok2 = false;
    bool ok3 = false;
    options.m_iScans = parser.value(scans).toInt(&ok1);
    options.m_iChannels = parser.value(channels).toInt(&ok2);
    options.m_uSeed = parser.value(seed).toUInt(&ok3);
    if (!ok1 || !ok2 || !ok3 || options.m_iScans < 1 || options.m_iChannels < 1 ||
        options.m_iScans > 10000 || options.m_iChannels > 1000)
    {
        return Fail(
            QStringLiteral("--scans (1..10000), --channels (1..1000) and --seed take numbers"));
    }
    options.m_sOut = QDir(parser.value(out)).absolutePath();
    options.m_sDatabase = parser.value(database);
    options.m_sDbUser = parser.value(user);
    options.m_sDbPassword = parser.isSet(password) ? parser.value(password)
                                                   : qEnvironmentVariable("MDA_DATABASE_PASSWORD");
    if (HasPassword(options.m_sDatabase))
    {
        // Not repeated: the URL would carry it into the output.
        return Fail(QStringLiteral("the database URL carries a password; give it in "
                                   "MDA_DATABASE_PASSWORD instead"));
    }
    options.m_bQuiet = parser.isSet(quiet);
    options.m_sTool = parser.value(tool);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mda_demo"));
    SOptions options;
    if (!ParseOptions(app, options))
    {
        return 2;
    }
    if (!QDir().mkpath(options.m_sOut))
    {
        Fail(QStringLiteral("cannot create %1").arg(options.m_sOut));
        return 1;
    }
    if (!options.m_sDbPassword.isEmpty())
    {
        // Every connection of this process (recording, the result model, the archive kept in
        // the database) gets it from libpq's environment, as the tool does.
        qputenv("PGPASSWORD", options.m_sDbPassword.toUtf8());
    }
    if (options.m_sDatabase.isEmpty())
    {
        QFile::remove(QDir(options.m_sOut).filePath(QStringLiteral("measurements.sqlite")));
    }

    Out() << "1. Configuration: channel table, limit table, device settings, measurement "
             "configuration\n";
    SConfigFiles files;
    if (!WriteConfiguration(options, files))
    {
        return 1;
    }
    Out() << QStringLiteral("2. Recording %1 scans of %2 channels (seed %3)\n")
                 .arg(options.m_iScans)
                 .arg(options.m_iChannels)
                 .arg(options.m_uSeed);
    Out().flush();
    long sessionId = 0;
    long storedValues = 0;
    if (!RecordCampaign(options, files, sessionId, storedValues))
    {
        return 1;
    }
    Out() << QStringLiteral("   session %1: %2 values stored\n").arg(sessionId).arg(storedValues);
    Out() << "3. Results judged against the limit table\n";
    long csvLines = 0;
    if (!BuildReport(options, files, sessionId, csvLines))
    {
        return 1;
    }
    Out() << "4. Exchange of the configuration\n";
    QString archive;
    QString importFolder;
    if (!ExchangeConfiguration(options, files, archive, importFolder))
    {
        return 1;
    }
    const QDir out(options.m_sOut);
    Out()
        << "\nWhere everything is:\n"
        << QStringLiteral("  configuration  %1\n")
               .arg(QFileInfo(files.m_sMeasConfig).absolutePath())
        << QStringLiteral("  database       %1\n")
               .arg(options.m_sDatabase.isEmpty()
                        ? out.filePath(QStringLiteral("measurements.sqlite"))
                        : options.m_sDatabase)
        << QStringLiteral("  CSV export     ") + out.filePath(QStringLiteral("session.csv")) +
               QStringLiteral(" (") + QString::number(csvLines) + QStringLiteral(" lines)\n")
        << QStringLiteral("  report         %1\n").arg(out.filePath(QStringLiteral("report.html")))
        << QStringLiteral("  archive        %1\n").arg(archive)
        << QStringLiteral("  imported into  %1\n").arg(importFolder);
    Out().flush();
    return 0;
}

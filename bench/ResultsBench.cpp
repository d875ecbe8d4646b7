// Benchmark of the result side: records a session of scans x channels x items values on SQLite
// (one transaction scope per scan), then measures what the result views do with it: loading
// and judging the session, switching to other limits, the CSV export, the channel matrix and a
// graph of 20 lines, each with its time and the peak memory of the process so far. The same
// CSV rows are also exported with the sqlite3 command-line shell for comparison.
//
//   RunResultsBench(argc, argv) with [--scans S] [--channels C] [--items I] [--folder DIR]
//   (defaults 200 x 100 x 50, one million values). Needs a QCoreApplication.

#include "CChannelData.h"
#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CConverter.h"
#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "CDBSessionControler.h"
#include "CDatabaseMultiInstance.h"
#include "CDatabaseTransaction.h"
#include "CDeviceSettingsData.h"
#include "CEnumTemplate.h"
#include "CMeasConfigData.h"
#include "CMeasurementResultData.h"
#include "CMeasurementResultGraphData.h"
#include "CRDMatrixData.h"
#include "CValueFactory.h"
#include "EMeasurementItems.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>
#include <functional>
#include <vector>

using namespace LumoraMeasurement;

namespace
{

struct SResultsShape
{
    long lScans = 200;
    long lChannels = 100;
    long lItems = 50;
};

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

void Report(const char* pszStep, double dSeconds, const QString& sNote = QString())
{
    std::printf("  %-34s %9.3f s   peak %8.1f MB   %s\n", pszStep, dSeconds, PeakMegabytes(),
                qPrintable(sNote));
    std::fflush(stdout);
}

double Timed(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

/// The items recorded per channel: the catalogue from "Internal Reference" on, skipping the
/// text items, which have no limits.
std::vector<EMeasurementItems> PickItems(long lCount)
{
    std::vector<EMeasurementItems> items;
    for (const auto& row : CRepresentation<EMeasurementItems>::Table())
    {
        if (static_cast<long>(items.size()) < lCount &&
            CValueFactory::MeasurementItem_GetItemValueType(row.m_eEnumValue) != eValueType_Text)
        {
            items.push_back(row.m_eEnumValue);
        }
    }
    return items;
}

/// A value that is sometimes inside, sometimes outside the default limits.
QString ValueText(EMeasurementItems eItem, long lScan, long lChannel, long lItem)
{
    const long lSpread = (lScan * 7 + lChannel * 13 + lItem * 3) % 100;
    if (CValueFactory::MeasurementItem_GetItemValueType(eItem) != eValueType_Float)
    {
        return QString::number(lSpread % 17 == 0 ? 1 : 0);
    }
    return QString::number(-20.0 + 0.9 * static_cast<double>(lSpread), 'f', 2) + QLatin1Char(' ') +
           CConverter::GetUnitString(CValueFactory::MeasurementItem_GetItemUnit(eItem));
}

bool WriteConfiguration(const QTemporaryDir& folder, const QString& sDatabase,
                        const SResultsShape& shape, CMeasConfigData& config)
{
    CDeviceSettingsData device;
    device.SetDatabaseName(sDatabase);
    CChannelTableData channels;
    for (long c = 0; c < shape.lChannels; ++c)
    {
        channels.AddChannel(CChannelData(eTVStandard_DVBT, QStringLiteral("Ch%1").arg(c)),
                            CChannelTableData::c_lAppendRow);
        channels.SetValue(c, QStringLiteral("Power Limit Offset"), QString::number(c % 4));
    }
    CComparativeValueData other;
    QString sLow = QStringLiteral("-10");
    other.UpdateItem(eMeasItem_Power, eCompareType_Between, sLow, QStringLiteral("30"), true);
    if (!device.Write(folder.filePath("device.json")) ||
        !channels.Write(folder.filePath("channels.json")) ||
        !CComparativeValueData().Write(folder.filePath("limits.json")) ||
        !other.Write(folder.filePath("other-limits.json")))
    {
        return false;
    }
    config.SetDeviceSettingFile(folder.filePath("device.json"));
    config.SetChannelTableFile(folder.filePath("channels.json"));
    config.SetComparativeValuesFile(folder.filePath("limits.json"));
    return true;
}

bool RecordSession(const QTemporaryDir& folder, const QString& sDatabase,
                   const SResultsShape& shape, long& lSession)
{
    OrvelFramework::CDatabaseMultiInstance db(sDatabase, QString(), QString());
    if (!db.Open())
    {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(sDatabase),
                     qPrintable(db.LastError()));
        return false;
    }
    const QString s;
    if (!CDBSessionControler(db).Create(
            lSession, "bench", "results bench", folder.filePath("channels.json"),
            folder.filePath("limits.json"), s, s, s, s, s, s, s, s, s, s, s))
    {
        return false;
    }
    const std::vector<EMeasurementItems> items = PickItems(shape.lItems);
    const long lValid = CEnumTemplate<EMeasurementItemState>::ToId(eMeasurementItemState_Valid);
    const long lError = CEnumTemplate<EMeasurementItemState>::ToId(eMeasurementItemState_Error);
    CDBScanController scans(db);
    CDBMeasurementController measurements(db);
    for (long lScan = 1; lScan <= shape.lScans; ++lScan)
    {
        OrvelFramework::CDatabaseTransaction scope(db);
        long lScanId = lScan;
        if (!scans.Create(lSession, lScanId))
        {
            return false;
        }
        for (long c = 0; c < shape.lChannels; ++c)
        {
            for (size_t i = 0; i < items.size(); ++i)
            {
                long lId = 0;
                if (!measurements.Create(lSession, lScanId, c, lId))
                {
                    return false;
                }
                CDBMeasurement m(lSession, lScanId, c, lId);
                m.SetMeasurementItem(CEnumTemplate<EMeasurementItems>::ToId(items[i]));
                const bool bError = (lScan + c + static_cast<long>(i)) % 97 == 0;
                m.SetMeasurementState(bError ? lError : lValid);
                m.SetValue(ValueText(items[i], lScan, c, static_cast<long>(i)));
                if (!measurements.Update(m))
                {
                    return false;
                }
            }
        }
        if (!scope.Commit() || !scans.Update(CDBScanData(lSession, lScanId), 0))
        {
            return false;
        }
    }
    return true;
}

} // namespace

int RunResultsBench(int argc, char** argv)
{
    SResultsShape shape;
    QString sFolder;
    for (int i = 1; i < argc; ++i)
    {
        const QString sArg = QString::fromLocal8Bit(argv[i]);
        const bool bHasValue = i + 1 < argc;
        if (sArg == "--scans" && bHasValue)
        {
            shape.lScans = QString::fromLocal8Bit(argv[++i]).toLong();
        }
        else if (sArg == "--channels" && bHasValue)
        {
            shape.lChannels = QString::fromLocal8Bit(argv[++i]).toLong();
        }
        else if (sArg == "--items" && bHasValue)
        {
            shape.lItems = QString::fromLocal8Bit(argv[++i]).toLong();
        }
        else if (sArg == "--folder" && bHasValue)
        {
            sFolder = QString::fromLocal8Bit(argv[++i]);
        }
        else if (sArg != "results")
        {
            std::fprintf(stderr, "usage: results [--scans S] [--channels C] [--items I] "
                                 "[--folder DIR]\n");
            return 2;
        }
    }
    if (shape.lScans < 20 || shape.lChannels < 20 || shape.lItems < 1)
    {
        std::fprintf(stderr, "at least 20 scans, 20 channels and 1 item\n");
        return 2;
    }
    QTemporaryDir folder((sFolder.isEmpty() ? QDir::tempPath() : sFolder) +
                         "/mda-results-bench-XXXXXX");
    const QString sDatabase = folder.filePath("results.sqlite");
    CMeasConfigData config;
    if (!folder.isValid() || !WriteConfiguration(folder, sDatabase, shape, config))
    {
        std::fprintf(stderr, "cannot write the configuration files\n");
        return 1;
    }
    std::printf("results: %ld scans x %ld channels x %ld items on SQLite\n", shape.lScans,
                shape.lChannels, static_cast<long>(PickItems(shape.lItems).size()));

    long lSession = 0;
    bool bRecorded = false;
    Report("record (scope per scan)",
           Timed([&] { bRecorded = RecordSession(folder, sDatabase, shape, lSession); }));
    if (!bRecorded)
    {
        std::fprintf(stderr, "recording failed\n");
        return 1;
    }

    // Each step is timed before its note is made: argument order is unspecified.
    CMeasurementResultData model(lSession, eLevelUnit_dBmV);
    bool bLoaded = false;
    double dSeconds = Timed([&] { bLoaded = model.LoadData(config); });
    Report("LoadData with evaluation", dSeconds,
           QStringLiteral("%1 violations").arg(model.GetNumberOfErrorsInSession()));
    if (!bLoaded)
    {
        std::fprintf(stderr, "LoadData failed\n");
        return 1;
    }
    dSeconds = Timed([&] { model.UseOtherLimits(folder.filePath("other-limits.json")); });
    Report("UseOtherLimits", dSeconds,
           QStringLiteral("%1 violations").arg(model.GetNumberOfErrorsInSession()));
    dSeconds = Timed([&] { model.UseInititalLimits(); });
    Report("UseInititalLimits", dSeconds,
           QStringLiteral("%1 violations").arg(model.GetNumberOfErrorsInSession()));

    int iCsvLines = 0;
    dSeconds = Timed([&] { iCsvLines = model.GetCSVExport().size(); });
    Report("GetCSVExport", dSeconds, QStringLiteral("%1 lines").arg(iCsvLines));

    OrvelFramework::CRDMatrixData matrix;
    dSeconds = Timed([&] { model.CreateChannelMatrixData(matrix); });
    Report("CreateChannelMatrixData", dSeconds,
           QStringLiteral("%1 tiles").arg(matrix.GetItemCount()));

    CMeasurementResultGraphData graph(model);
    const std::vector<EMeasurementItems> items = PickItems(shape.lItems);
    dSeconds = Timed(
        [&]
        {
            for (long l = 0; l < 20; ++l)
            {
                graph.AddNewMeasurementResultItem();
                graph.SetChannelNameMeasItem(QStringLiteral("Ch%1").arg(l), l, false);
                graph.SetDataItemMeasItem(items[static_cast<size_t>(l) % items.size()], l, false);
                graph.SetDataItemEnabled(true, l, true);
            }
        });
    Report("graph of 20 lines", dSeconds,
           QStringLiteral("%1 points per line").arg(graph.GetNumberOfPoints(0)));

    // The same rows in the same order with the command-line shell.
    const QString sCsv = folder.filePath("shell.csv");
    QProcess shell;
    shell.setStandardOutputFile(sCsv);
    int iExit = -1;
    const double dShell = Timed(
        [&]
        {
            shell.start("sqlite3",
                        {"-readonly", "-csv", sDatabase,
                         QStringLiteral("SELECT 'Scan Data', session_id, scan_id, channel_id, id, "
                                        "measurement_item, value, state, error_description FROM "
                                        "measurement WHERE session_id = %1 ORDER BY scan_id, "
                                        "channel_id, id")
                             .arg(lSession)});
            iExit = shell.waitForFinished(-1) ? shell.exitCode() : -1;
        });
    QFile csv(sCsv);
    long lShellLines = 0;
    if (iExit == 0 && csv.open(QIODevice::ReadOnly))
    {
        while (!csv.readLine().isEmpty())
        {
            ++lShellLines;
        }
    }
    Report("sqlite3 shell CSV (comparison)", dShell,
           iExit == 0 ? QStringLiteral("%1 lines").arg(lShellLines)
                      : QStringLiteral("sqlite3 shell not available"));
    return 0;
}

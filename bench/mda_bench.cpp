// Times what a user of the library waits for against a reference doing the same work without
// it, each sample a process of its own, reference and library interleaved (A B A B ...), and
// prints medians, the ratio and each side's peak memory.
//
//   mda_bench [--repeats N] [--folder DIR] [--cases LIST] [--large] [--mda PATH]
//             [--session-scans S] [--postgresql URL USER]   (password: MDA_BENCH_PG_PASSWORD)
//
// Cases (LIST is comma-separated; default all but pg, which needs --postgresql):
//   record  10 scans x 4,000 values on SQLite, a scope per scan: library vs sqlite3 C API
//   pg      the same on PostgreSQL: library vs libpq
//   load    LoadData of a 1,000,000-value session (realistic and all violating) vs the sqlite3
//           shell reading the same rows
//   csv     LoadData + classic CSV export to a file vs sqlite3 -csv to a file
//   tool    `mda csv` (RFC 4180) of 100,000 and 1,000,000 values vs sqlite3 -csv
//   report  `mda report` of 500 scans x 100 channels x 40 items (2,000,000 values) vs sqlite3 -csv
//   copy    `mda copy` of the 1,000,000-value session from SQLite into the server vs psql
//           \copy of the same rows from a CSV file into a table of the same shape (with
//           --postgresql and --mda)
//   growth  recording into a database that already holds 1,000,000 values (10,000,000 with
//           --large; also LoadData of 10,000,000 values)
// The sessions are built once and kept in DIR, one folder per shape and kind.

#include "BenchCopy.h"
#include "BenchWork.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

extern char** environ;

namespace
{

struct SOptions
{
    int iRepeats = 5;
    QString sFolder;
    QStringList cases;
    bool bLarge = false;
    QString sTool;
    long lSessionScans = 200;
    QString sPgUrl;
    QString sPgUser;
};

struct SSample
{
    bool bOk = false;
    double dSeconds = 0;
    double dPeakMb = 0;
    QString sNote;
};

/// One side of a case: the command line, where its output goes and whether it reports the
/// time of its work itself (else the whole process is timed).
struct SSide
{
    QStringList command;
    QString sOutput;
    bool bSelfTimed = false;
};

SSample RunProcess(const SSide& side)
{
    SSample sample;
    std::vector<QByteArray> storage;
    for (const QString& s : side.command)
    {
        storage.push_back(s.toLocal8Bit());
    }
    std::vector<char*> argv;
    for (QByteArray& s : storage)
    {
        argv.push_back(s.data());
    }
    argv.push_back(nullptr);
    const QByteArray output = side.sOutput.toLocal8Bit();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = 0;
    const auto start = std::chrono::steady_clock::now();
    const int iSpawn = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (iSpawn != 0)
    {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        return sample;
    }
    // The child's rusage would count this process's own peak (the spawned child shares our
    // memory until it executes), so its high-water mark is read from /proc while it runs.
    int iStatus = 0;
    long lPeakKb = 0;
    const QString sStatus = QStringLiteral("/proc/%1/status").arg(pid);
    for (;;)
    {
        const pid_t done = waitpid(pid, &iStatus, WNOHANG);
        if (done == pid)
        {
            break;
        }
        if (done < 0)
        {
            return sample;
        }
        lPeakKb = std::max(lPeakKb, HighWaterKb(sStatus));
        usleep(5000);
    }
    sample.dSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    sample.dPeakMb = static_cast<double>(lPeakKb) / 1024.0;
    sample.bOk = WIFEXITED(iStatus) && WEXITSTATUS(iStatus) == 0;
    if (!sample.bOk)
    {
        std::fprintf(stderr, "failed: %s\n", qPrintable(side.command.join(' ')));
    }
    if (side.bSelfTimed)
    {
        QFile file(side.sOutput);
        file.open(QIODevice::ReadOnly);
        for (const QByteArray& line : file.readAll().split('\n'))
        {
            if (line.startsWith("seconds "))
            {
                sample.dSeconds = line.mid(8).toDouble();
            }
            else if (line.startsWith("peak "))
            {
                sample.dPeakMb = line.mid(5).toDouble() / 1024.0;
            }
            else if (line.startsWith("note "))
            {
                sample.sNote = QString::fromUtf8(line.mid(5));
            }
        }
    }
    return sample;
}

double Median(std::vector<double> values)
{
    if (values.empty())
    {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct SResult
{
    QString sName;
    double dReference = 0;
    double dLibrary = 0;
    double dReferencePeak = 0;
    double dLibraryPeak = 0;
    QString sTarget;
    QString sNote;
    bool bOk = false;
    double Ratio() const { return dReference > 0 ? dLibrary / dReference : 0; }
};

std::vector<SResult> g_Results;

void PrintRow(const SResult& r)
{
    std::printf("| %-44s | %9.3f s | %9.3f s | %6.2fx | %-7s | %7.1f MB | %7.1f MB | %s\n",
                qPrintable(r.sName), r.dReference, r.dLibrary, r.Ratio(), qPrintable(r.sTarget),
                r.dReferencePeak, r.dLibraryPeak,
                qPrintable(r.bOk ? r.sNote : QStringLiteral("FAILED")));
    std::fflush(stdout);
}

// Reference and library interleaved, repeats times each.
SResult RunCase(const SOptions& options, const QString& sName, const QString& sTarget,
                const SSide& reference, const SSide& library)
{
    SResult result;
    result.sName = sName;
    result.sTarget = sTarget;
    result.bOk = true;
    std::vector<double> ref, lib, refPeak, libPeak;
    for (int r = 0; r < options.iRepeats && result.bOk; ++r)
    {
        const SSample a = RunProcess(reference);
        const SSample b = RunProcess(library);
        result.bOk = a.bOk && b.bOk;
        ref.push_back(a.dSeconds);
        lib.push_back(b.dSeconds);
        refPeak.push_back(a.dPeakMb);
        libPeak.push_back(b.dPeakMb);
        result.sNote = b.sNote;
    }
    result.dReference = Median(ref);
    result.dLibrary = Median(lib);
    result.dReferencePeak = Median(refPeak);
    result.dLibraryPeak = Median(libPeak);
    PrintRow(result);
    g_Results.push_back(result);
    return result;
}

QString Self()
{
    return QCoreApplication::applicationFilePath();
}

QStringList ShapeArguments(const SBenchShape& shape)
{
    return {QString::number(shape.lScans), QString::number(shape.lChannels),
            QString::number(shape.lItems),
            shape.eData == EBenchData::AllViolating ? QStringLiteral("all")
                                                    : QStringLiteral("realistic")};
}

/// The folder of a cached session, built when missing; empty when building failed.
QString Session(const SOptions& options, const SBenchShape& shape)
{
    const QString sFolder =
        options.sFolder + QStringLiteral("/session-%1x%2x%3-%4")
                              .arg(shape.lScans)
                              .arg(shape.lChannels)
                              .arg(shape.lItems)
                              .arg(shape.eData == EBenchData::AllViolating ? "all" : "realistic");
    if (QFile::exists(sFolder + "/complete"))
    {
        return sFolder;
    }
    std::printf("  (building %s: %ld values ...", qPrintable(QFileInfo(sFolder).fileName()),
                shape.Values());
    std::fflush(stdout);
    const SSample sample =
        RunProcess({QStringList{Self(), "child", "build", sFolder} + ShapeArguments(shape),
                    options.sFolder + "/build.out", true});
    std::printf(" %.1f s)\n", sample.dSeconds);
    QFile marker(sFolder + "/complete");
    if (!sample.bOk || !marker.open(QIODevice::WriteOnly))
    {
        return QString();
    }
    return sFolder;
}

QString SessionFile(const QString& sFolder)
{
    return sFolder + "/session.sqlite";
}

constexpr const char* c_pLoadSelect = "SELECT id, session_id, scan_id, channel_id, "
                                      "measurement_item, state, value, error_description FROM "
                                      "measurement WHERE session_id = 1 ORDER BY id";
constexpr const char* c_pCsvSelect = "SELECT 'Scan Data', session_id, scan_id, channel_id, id, "
                                     "measurement_item, value, state, error_description FROM "
                                     "measurement WHERE session_id = 1 ORDER BY scan_id, "
                                     "channel_id, id";

SSide Shell(const QString& sDatabase, bool bCsv, const QString& sOutput)
{
    QStringList command{"sqlite3", "-readonly"};
    if (bCsv)
    {
        command << "-csv";
    }
    command << sDatabase << QLatin1String(bCsv ? c_pCsvSelect : c_pLoadSelect);
    return {command, sOutput, false};
}

SSide Child(const QStringList& arguments, const QString& sOutput)
{
    return {QStringList{Self(), "child"} + arguments, sOutput, true};
}

// Recording 10 scans x 100 channels x 40 items: library vs the C API, optionally into a copy
// of a database that already holds a session.
SResult RecordCase(const SOptions& options, const QString& sWork, const QString& sName,
                   const QString& sTarget, const QString& sCopyFrom)
{
    const SBenchShape shape{10, 100, 40, EBenchData::Realistic};
    const QStringList tail = ShapeArguments(shape) << sCopyFrom;
    return RunCase(options, sName, sTarget,
                   Child(QStringList{"record-c", sWork + "/record-c.sqlite", ""} + tail,
                         sWork + "/record-c.out"),
                   Child(QStringList{"record-lib", sWork + "/record-lib.sqlite", ""} + tail,
                         sWork + "/record-lib.out"));
}

void LoadCase(const SOptions& options, const QString& sWork, const QString& sFolder,
              const QString& sName, const QString& sTarget)
{
    RunCase(options, sName, sTarget, Shell(SessionFile(sFolder), false, "/dev/null"),
            Child({"load", sFolder}, sWork + "/load.out"));
}

SSide Tool(const SOptions& options, const QString& sFolder, const QString& sOutput,
           const QStringList& command = {"csv"})
{
    QStringList arguments = QStringList{options.sTool} + command;
    arguments << "--database" << SessionFile(sFolder) << "--channels" << sFolder + "/channels.json"
              << "--limits" << sFolder + "/limits.json"
              << "1";
    if (!sOutput.isEmpty())
    {
        arguments << "-o" << sOutput;
    }
    return {arguments, "/dev/null", false};
}

int Usage()
{
    std::fprintf(stderr, "usage: mda_bench [--repeats N] [--folder DIR] [--cases LIST] [--large] "
                         "[--mda PATH] [--session-scans S] [--postgresql URL USER]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.value(1) == "child" && arguments.value(2).startsWith("copy-"))
    {
        return RunCopyChild(arguments);
    }
    if (arguments.value(1) == "child")
    {
        return RunBenchChild(arguments);
    }
    SOptions options;
    options.sFolder = QDir::tempPath() + "/mda-bench";
    options.cases = QStringList{"record", "load", "csv", "tool", "growth", "report"};
#ifdef MDA_TOOL_PATH
    options.sTool = QStringLiteral(MDA_TOOL_PATH);
#endif
    for (int i = 1; i < arguments.size(); ++i)
    {
        const QString& sArg = arguments[i];
        const bool bValue = i + 1 < arguments.size();
        if (sArg == "--repeats" && bValue)
        {
            options.iRepeats = std::max(1, arguments[++i].toInt());
        }
        else if (sArg == "--folder" && bValue)
        {
            options.sFolder = QDir(arguments[++i]).absolutePath();
        }
        else if (sArg == "--cases" && bValue)
        {
            options.cases = arguments[++i].split(',');
        }
        else if (sArg == "--large")
        {
            options.bLarge = true;
        }
        else if (sArg == "--mda" && bValue)
        {
            options.sTool = QFileInfo(arguments[++i]).absoluteFilePath();
        }
        else if (sArg == "--session-scans" && bValue)
        {
            options.lSessionScans = std::max(2L, arguments[++i].toLong());
        }
        else if (sArg == "--postgresql" && i + 2 < arguments.size())
        {
            options.sPgUrl = arguments[++i];
            options.sPgUser = arguments[++i];
            for (const char* pCase : {"pg", "copy"})
            {
                if (!options.cases.contains(pCase))
                {
                    options.cases << pCase;
                }
            }
        }
        else
        {
            return Usage();
        }
    }
    if (!QDir().mkpath(options.sFolder))
    {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(options.sFolder));
        return 1;
    }
    QTemporaryDir work(options.sFolder + "/run-XXXXXX");
    if (!work.isValid())
    {
        return 1;
    }
    const QString sWork = work.path();
    const auto wanted = [&options](const char* pCase) { return options.cases.contains(pCase); };
    const long lScans = options.lSessionScans;

    std::printf("%d samples per side, interleaved; medians; peak = resident memory of the "
                "sample's process\n\n",
                options.iRepeats);
    std::printf("| %-44s | %11s | %11s | %7s | %-7s | %10s | %10s | %s\n", "case", "reference",
                "library", "ratio", "target", "ref peak", "lib peak", "library note");
    std::printf("|%s|\n", QByteArray(140, '-').constData());

    SResult recordEmpty;
    if (wanted("record") || wanted("growth"))
    {
        recordEmpty = RecordCase(options, sWork, "record 10x4,000 values, SQLite, empty db",
                                 "<=1.2x", QString());
    }
    if (wanted("pg"))
    {
#ifdef MDA_BENCH_LIBPQ
        const SBenchShape shape{10, 100, 40, EBenchData::Realistic};
        const QStringList tail =
            QStringList{options.sPgUrl, options.sPgUser} + ShapeArguments(shape);
        RunCase(options, "record 10x4,000 values, PostgreSQL", "",
                Child(QStringList{"record-pq"} + tail, sWork + "/record-pq.out"),
                Child(QStringList{"record-lib"} + tail, sWork + "/record-lib.out"));
#else
        std::printf("(pg: built without libpq, no reference)\n");
#endif
    }
    const SBenchShape million{lScans, 100, 50, EBenchData::Realistic};
    const QString sMillion =
        wanted("load") || wanted("csv") || wanted("tool") || wanted("growth") ||
                wanted("copy")
            ? Session(options, million)
            : QString();
    const QString sValues = QString::number(million.Values());
    SResult loadMillion;
    if (wanted("load") && !sMillion.isEmpty())
    {
        LoadCase(options, sWork, sMillion, "LoadData " + sValues + " values, ~1% violating",
                 "<=2.5x");
        loadMillion = g_Results.back();
        const QString sAll = Session(options, {lScans, 100, 50, EBenchData::AllViolating});
        if (!sAll.isEmpty())
        {
            LoadCase(options, sWork, sAll, "LoadData " + sValues + " values, all violating",
                     "<=3.5x");
        }
    }
    if (wanted("csv") && !sMillion.isEmpty())
    {
        RunCase(options, "classic CSV " + sValues + " values (LoadData+file)", "<=2.5x",
                Shell(SessionFile(sMillion), true, sWork + "/shell.csv"),
                Child({"csv", sMillion, sWork + "/classic.csv"}, sWork + "/csv.out"));
    }
    if (wanted("tool") && !sMillion.isEmpty())
    {
        if (options.sTool.isEmpty() || !QFileInfo(options.sTool).isExecutable())
        {
            std::printf("(tool: no mda binary, give --mda PATH)\n");
        }
        else
        {
            const QString sSmall =
                Session(options, {std::max(2L, lScans / 10), 100, 50, EBenchData::Realistic});
            for (const QString& sFolder : {sSmall, sMillion})
            {
                const long lValues = sFolder == sSmall ? million.Values() / 10 : million.Values();
                RunCase(options, QStringLiteral("mda csv %1 values").arg(lValues), "<=2x",
                        Shell(SessionFile(sFolder), true, sWork + "/shell.csv"),
                        Tool(options, sFolder, sWork + "/tool.csv"));
            }
            // The classic lines streamed by the tool against the shell's CSV of the same rows.
            RunCase(options, "mda csv --classic " + sValues + " values", "<=1.3x",
                    Shell(SessionFile(sMillion), true, sWork + "/shell.csv"),
                    Tool(options, sMillion, sWork + "/tool-classic.csv", {"csv", "--classic"}));
            // The per-channel summary and the report read the session once: against LoadData.
            RunCase(options, "mda show " + sValues + " values vs LoadData", "<=1.5x",
                    Child({"load", sMillion}, sWork + "/load.out"),
                    Tool(options, sMillion, QString(), {"show"}));
            RunCase(options, "mda report " + sValues + " values vs LoadData", "<=1.5x",
                    Child({"load", sMillion}, sWork + "/load.out"),
                    Tool(options, sMillion, sWork + "/tool.html", {"report"}));
        }
    }
    if (wanted("report"))
    {
        const QString sReport = Session(options, {500, 100, 40, EBenchData::Realistic});
        if (options.sTool.isEmpty() || !QFileInfo(options.sTool).isExecutable())
        {
            std::printf("(report: no mda binary, give --mda PATH)\n");
        }
        else if (!sReport.isEmpty())
        {
            const QString sHtml = sWork + "/report.html";
            RunCase(options, "mda report 2000000 values", "<5s",
                    Shell(SessionFile(sReport), true, sWork + "/shell.csv"),
                    {{options.sTool, "report", "--database", SessionFile(sReport), "--channels",
                      sReport + "/channels.json", "--limits", sReport + "/limits.json", "1", "-o",
                      sHtml},
                     "/dev/null",
                     false});
            std::printf("  report file: %.1f MB (target < 15 MB, peak < 300 MB)\n",
                        static_cast<double>(QFileInfo(sHtml).size()) / 1e6);
        }
    }
    if (wanted("copy") && !sMillion.isEmpty())
    {
        if (options.sPgUrl.isEmpty() || options.sTool.isEmpty())
        {
            std::printf("(copy: needs --postgresql URL USER and the mda binary)\n");
        }
        else
        {
            // The rows in the order the copy reads them, for psql to load.
            const QString sCsv = sWork + "/rows.csv";
            QProcess sqlite;
            sqlite.setStandardOutputFile(sCsv);
            sqlite.start("sqlite3",
                         {"-readonly", "-csv", SessionFile(sMillion),
                          "SELECT session_id, scan_id, channel_id, measurement_item, state, value, "
                          "error_description FROM measurement WHERE session_id = 1 ORDER BY "
                          "scan_id, channel_id, id"});
            sqlite.waitForFinished(-1);
            RunCase(options, "mda copy " + sValues + " values SQLite to PostgreSQL", "<=3x",
                    Child({"copy-ref", options.sPgUrl, options.sPgUser, sCsv},
                          sWork + "/copy-ref.out"),
                    Child({"copy-lib", options.sPgUrl, options.sPgUser, SessionFile(sMillion),
                           options.sTool},
                          sWork + "/copy-lib.out"));
        }
    }
    if (wanted("growth") && !sMillion.isEmpty())
    {
        const SResult grown = RecordCase(options, sWork, "record 10x4,000 into db of " + sValues,
                                         "growth", SessionFile(sMillion));
        std::printf("  growth of recording time from empty to %s values: library %.2fx, C API "
                    "%.2fx\n",
                    qPrintable(sValues), grown.dLibrary / recordEmpty.dLibrary,
                    grown.dReference / recordEmpty.dReference);
        if (options.bLarge)
        {
            const SBenchShape large{lScans * 10, 100, 50, EBenchData::Realistic};
            const QString sLarge = Session(options, large);
            if (!sLarge.isEmpty())
            {
                const QString sLargeValues = QString::number(large.Values());
                const SResult big =
                    RecordCase(options, sWork, "record 10x4,000 into db of " + sLargeValues,
                               "growth", SessionFile(sLarge));
                std::printf("  growth of recording time from empty to %s values: library %.2fx, "
                            "C API %.2fx\n",
                            qPrintable(sLargeValues), big.dLibrary / recordEmpty.dLibrary,
                            big.dReference / recordEmpty.dReference);
                LoadCase(options, sWork, sLarge, "LoadData " + sLargeValues + " values",
                         "<=11x 1M");
                if (loadMillion.dLibrary > 0)
                {
                    const SResult& r = g_Results.back();
                    std::printf("  LoadData %s against %s values: time %.2fx, peak %.2fx\n",
                                qPrintable(sLargeValues), qPrintable(sValues),
                                r.dLibrary / loadMillion.dLibrary,
                                r.dLibraryPeak / loadMillion.dLibraryPeak);
                }
            }
        }
    }
    bool bAllOk = true;
    for (const SResult& r : g_Results)
    {
        bAllOk = bAllOk && r.bOk;
    }
    return bAllOk ? 0 : 1;
}

#pragma once

// The work of one benchmark sample, run in a child process of its own so that its peak memory
// is its own. Each prints "seconds <time of the work>" and optionally "note <text>" to stdout.

#include <QStringList>

/// What a session's values look like: about 1 % outside the limits and a few errors, or all
/// outside.
enum class EBenchData
{
    Realistic,
    AllViolating
};

struct SBenchShape
{
    long lScans = 0;
    long lChannels = 0;
    long lItems = 0;
    EBenchData eData = EBenchData::Realistic;
    long Values() const { return lScans * lChannels * lItems; }
};

/// The peak resident memory in kB ("VmHWM") of a process status file such as
/// /proc/self/status; 0 when it cannot be read.
long HighWaterKb(const QString& sStatus);

/// "mda_bench child WHAT ARGS...": the exit code of the child.
int RunBenchChild(const QStringList& arguments);

/// The stored value text and state of one value, as the recording writes it.
struct SBenchValue
{
    QByteArray value;
    QByteArray error; // empty unless the state is an error
    long lItem = 0;
    long lState = 0;
};
std::vector<SBenchValue> BenchScanValues(const SBenchShape& shape, long lScan);

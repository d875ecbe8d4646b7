// Feeds every file named on the command line (folders: every file below them, sorted) to the
// fuzz target once, so the normal build replays the seed corpora without libFuzzer.

#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <sys/resource.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t uiSize);

int main(int argc, char** argv)
{
    QStringList lFiles;
    for (int i = 1; i < argc; ++i)
    {
        const QString sArgument = QString::fromLocal8Bit(argv[i]);
        QStringList lBelow;
        for (QDirIterator it(sArgument, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
             it.hasNext();)
        {
            lBelow << it.next();
        }
        lBelow.sort();
        lFiles << (QFileInfo(sArgument).isDir() ? lBelow : QStringList{sArgument});
    }
    if (lFiles.isEmpty())
    {
        std::fprintf(stderr, "no corpus files given\n");
        return 2;
    }
    for (const QString& sFile : lFiles)
    {
        QFile file(sFile);
        if (!file.open(QIODevice::ReadOnly))
        {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(sFile));
            return 2;
        }
        const QByteArray bytes = file.readAll();
        std::fprintf(stderr, "replaying %s (%d bytes)\n", qPrintable(sFile), int(bytes.size()));
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                               static_cast<size_t>(bytes.size()));
    }
    std::fprintf(stderr, "%d inputs replayed\n", int(lFiles.size()));
    // The bound a fuzzing session runs under (libFuzzer's -rss_limit_mb), held by the replay too.
    const char* pszBound = std::getenv("MDA_FUZZ_RSS_MB");
    const long lBoundMb = pszBound ? std::atol(pszBound) : 2048;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const long lPeakMb = usage.ru_maxrss / 1024;
    if (lBoundMb > 0 && lPeakMb > lBoundMb)
    {
        std::fprintf(stderr, "peak memory %ld MB over the bound of %ld MB\n", lPeakMb, lBoundMb);
        return 1;
    }
    return 0;
}

// Feeds every file named on the command line (folders: every file below them, sorted) to the
// fuzz target once, so the normal build replays the seed corpora without libFuzzer.

#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t uiSize);

int main(int argc, char** argv)
{
    QStringList lFiles;
    for (int i = 1; i < argc; ++i)
    {
        QStringList lBelow{QString::fromLocal8Bit(argv[i])};
        QDirIterator it(lBelow[0], QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        if (QFileInfo(lBelow[0]).isDir())
        {
            for (lBelow.clear(); it.hasNext();)
            {
                lBelow << it.next();
            }
            lBelow.sort();
        }
        lFiles << lBelow;
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
    return 0;
}

// Fuzzes the import of a configuration archive with any bytes as the archive. Beyond "no
// crash": the import changes nothing outside its import folder (nothing of its unpacking is
// left beside it), one it refuses changes nothing at all, and whatever it accepts leaves one
// readable configuration there.

#include "CMeasConfigData.h"
#include "CMeasurementDataExportHandler.h"
#include "FuzzTools.h"

using LumoraMeasurement::CMeasurementDataExportHandler;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t uiSize)
{
    const QString sHome = MdaFuzz::Home();
    const QString sRoot = MdaFuzz::WorkFolder(QStringLiteral("import"));
    const QString sArchive = sRoot + QStringLiteral("/Site1.measurement");
    MDA_FUZZ_CHECK(MdaFuzz::WriteBytes(sArchive, pData, uiSize), "cannot write the archive");
    // Files an archive's configuration might name by absolute path: none may change.
    for (const char* sName : {"device.json", "limit.json", "channel.json", "TDF.tdf"})
    {
        MDA_FUZZ_CHECK(MdaFuzz::WriteBytes(sRoot + "/outside/" + sName, "{}\n"),
                       "cannot write a sentinel");
    }

    const QString sFolder =
        CMeasurementDataExportHandler::GetImportFolder(sArchive, QStringLiteral("fuzz"));
    QDir().mkpath(sFolder);
    const QString sRelative = QDir(sHome).relativeFilePath(sFolder);
    MDA_FUZZ_CHECK(!sRelative.startsWith(QStringLiteral("..")), "import folder outside HOME");
    const auto before = MdaFuzz::Snapshot(sHome, sRelative);
    const auto beforeAll = MdaFuzz::Snapshot(sHome);

    CMeasurementDataExportHandler handler;
    const bool bImported = handler.ImportMeasurementConfiguration(sArchive, QStringLiteral("fuzz"));
    MdaFuzz::CheckUnchanged(before, sHome, sRelative, "import changed files outside its folder");
    if (!bImported)
    {
        MdaFuzz::CheckUnchanged(beforeAll, sHome, QString(), "a refused import changed its folder");
        MDA_FUZZ_CHECK(!handler.LastError().isEmpty(), "a refused import gives no reason");
        return 0;
    }

    const QFileInfoList lConfigs =
        QDir(sFolder).entryInfoList({QStringLiteral("*.measconfig")}, QDir::Files | QDir::Hidden);
    MDA_FUZZ_CHECK(lConfigs.size() == 1, "an accepted import has no single configuration");
    LumoraMeasurement::CMeasConfigData config;
    MDA_FUZZ_CHECK(config.Read(lConfigs.first().filePath()),
                   "the imported configuration is unreadable");
    return 0;
}

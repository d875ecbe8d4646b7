// Fuzzes archive extraction with any bytes as the archive. Beyond "no crash": nothing outside
// the output folder changes, and nothing extracted is a link that could lead a later write
// elsewhere.

#include "CArchivHandler.h"
#include "FuzzTools.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t uiSize)
{
    const QString sRoot = MdaFuzz::WorkFolder(QStringLiteral("extract"));
    const QString sArchive = sRoot + QStringLiteral("/in/Site1.measurement");
    MDA_FUZZ_CHECK(MdaFuzz::WriteBytes(sArchive, pData, uiSize), "cannot write the archive");
    MDA_FUZZ_CHECK(MdaFuzz::WriteBytes(sRoot + QStringLiteral("/outside/nested/keep.json"), "{}\n"),
                   "cannot write the sentinel");

    const auto before = MdaFuzz::Snapshot(sRoot, QStringLiteral("out"));
    // Both naming modes: the last input byte picks one, so the fuzzer reaches either.
    const bool bRename = uiSize > 0 && (pData[uiSize - 1] & 1) != 0;
    QString sOutput = sRoot + QStringLiteral("/out");
    LumoraMeasurement::CArchivHandler handler;
    handler.ExtractArchive(sArchive, sOutput, bRename);
    MdaFuzz::CheckUnchanged(before, sRoot, QStringLiteral("out"),
                            "extraction changed files outside its folder");
    const QString sLink = MdaFuzz::Snapshot(sRoot + QStringLiteral("/out")).key("link");
    MDA_FUZZ_CHECK(sLink.isEmpty(), "extraction made a link: " + sLink.toStdString());
    return 0;
}

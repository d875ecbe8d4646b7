// Fuzzes the document reader MDA_FUZZ_DOCUMENT names (channel table, limit file, device settings
// or measurement configuration): any bytes may come in; whatever the reader accepts, the writer
// writes, and what it wrote reads back and writes again to the very same bytes.

#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CDeviceSettingsData.h"
#include "CMeasConfigData.h"
#include "FuzzTools.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t uiSize)
{
    const QString sDir = MdaFuzz::WorkFolder(QStringLiteral("document"));
    const QString sInput = sDir + QStringLiteral("/input.json");
    const QString sFirst = sDir + QStringLiteral("/first.json");
    const QString sSecond = sDir + QStringLiteral("/second.json");
    MDA_FUZZ_CHECK(MdaFuzz::WriteBytes(sInput, pData, uiSize), "cannot write the input");

    LumoraMeasurement::MDA_FUZZ_DOCUMENT document;
    if (!document.Read(sInput))
    {
        return 0;
    }
    MDA_FUZZ_CHECK(document.Write(sFirst), "an accepted document cannot be written");
    LumoraMeasurement::MDA_FUZZ_DOCUMENT again;
    MDA_FUZZ_CHECK(again.Read(sFirst), "the written document does not read back");
    MDA_FUZZ_CHECK(again.Write(sSecond), "the document read back cannot be written");
    const QByteArray first = MdaFuzz::ReadBytes(sFirst);
    const QByteArray second = MdaFuzz::ReadBytes(sSecond);
    MDA_FUZZ_CHECK(first == second, "write-read-write changed the file:\n" + first.toStdString() +
                                        "\n----\n" + second.toStdString());
    return 0;
}

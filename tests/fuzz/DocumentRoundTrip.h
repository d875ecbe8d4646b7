#pragma once

#include "FuzzTools.h"

namespace MdaFuzz
{

/// The check every document reader shares: whatever the reader accepts, the writer writes, and
/// what it wrote reads back and writes again to the very same bytes.
template <typename TDocument>
void CheckDocumentRoundTrip(const char* sFolder, const uint8_t* pData, size_t uiSize)
{
    const QString sDir = WorkFolder(QString::fromLatin1(sFolder));
    const QString sInput = sDir + QStringLiteral("/input.json");
    const QString sFirst = sDir + QStringLiteral("/first.json");
    const QString sSecond = sDir + QStringLiteral("/second.json");
    MDA_FUZZ_CHECK(WriteBytes(sInput, pData, uiSize), "cannot write the input");

    TDocument document;
    if (!document.Read(sInput))
    {
        return;
    }
    MDA_FUZZ_CHECK(document.Write(sFirst), "an accepted document cannot be written");
    TDocument again;
    MDA_FUZZ_CHECK(again.Read(sFirst), "the written document does not read back");
    MDA_FUZZ_CHECK(again.Write(sSecond), "the document read back cannot be written");
    const QByteArray first = ReadBytes(sFirst);
    const QByteArray second = ReadBytes(sSecond);
    MDA_FUZZ_CHECK(first == second, "write-read-write changed the file:\n" + first.toStdString() +
                                        "\n----\n" + second.toStdString());
}

} // namespace MdaFuzz

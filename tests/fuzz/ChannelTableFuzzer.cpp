// Fuzzes the channel table reader: any bytes may come in; an accepted document survives
// write-read-write unchanged.

#include "CChannelTableData.h"
#include "DocumentRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t uiSize)
{
    MdaFuzz::CheckDocumentRoundTrip<LumoraMeasurement::CChannelTableData>("channel_table", pData,
                                                                          uiSize);
    return 0;
}

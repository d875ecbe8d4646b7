// Fuzzes the limit file reader: any bytes may come in; an accepted document survives
// write-read-write unchanged.

#include "CComparativeValueData.h"
#include "DocumentRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t uiSize)
{
    MdaFuzz::CheckDocumentRoundTrip<LumoraMeasurement::CComparativeValueData>("limit_file", pData,
                                                                              uiSize);
    return 0;
}

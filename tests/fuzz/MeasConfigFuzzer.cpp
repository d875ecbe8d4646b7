// Fuzzes the measurement configuration reader: any bytes may come in; an accepted document survives
// write-read-write unchanged.

#include "CMeasConfigData.h"
#include "DocumentRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t uiSize)
{
    MdaFuzz::CheckDocumentRoundTrip<LumoraMeasurement::CMeasConfigData>("meas_config", pData,
                                                                        uiSize);
    return 0;
}

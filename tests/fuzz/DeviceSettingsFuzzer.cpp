// Fuzzes the device settings reader: any bytes may come in; an accepted document survives
// write-read-write unchanged.

#include "CDeviceSettingsData.h"
#include "DocumentRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t uiSize)
{
    MdaFuzz::CheckDocumentRoundTrip<LumoraMeasurement::CDeviceSettingsData>("device_settings",
                                                                            pData, uiSize);
    return 0;
}

#include "EDTMBFrameHeader.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EDTMBFrameHeader,
    {eDTMBFrameHeader_G420, 0, "G420"},
    {eDTMBFrameHeader_G595, 1, "G595"},
    {eDTMBFrameHeader_G945, 2, "G945"})
// clang-format on

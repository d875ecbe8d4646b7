#include "EChannelBandwidth.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EChannelBandwidth,
    {eChannelBandwidth_1_7MHz, 0, "1.7 MHz"},
    {eChannelBandwidth_5MHz, 1, "5 MHz"},
    {eChannelBandwidth_6MHz, 2, "6 MHz"},
    {eChannelBandwidth_7MHz, 3, "7 MHz"},
    {eChannelBandwidth_8MHz, 4, "8 MHz"})
// clang-format on

#include "EPhaseTrack.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EPhaseTrack,
    {ePhaseTrack_1kHz, 0, "1 kHz"},
    {ePhaseTrack_6kHz, 1, "6 kHz"},
    {ePhaseTrack_60kHz, 2, "60 kHz"})
// clang-format on

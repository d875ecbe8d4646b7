#include "ELocked.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(ELocked,
    {eLocked_Locked, 0, "Locked"},
    {eLocked_Unlocked, 1, "Unlocked"})
// clang-format on

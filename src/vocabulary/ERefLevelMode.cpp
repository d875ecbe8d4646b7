#include "ERefLevelMode.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(ERefLevelMode,
    {eRefLevelMode_Manual, 0, "Manual"},
    {eRefLevelMode_Automatic, 1, "Automatic"},
    {eRefLevelMode_AutomaticTimeOptimized, 2, "Automatic Time Optimized"})
// clang-format on

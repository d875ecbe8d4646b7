#include "ERollOffPeriod.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(ERollOffPeriod,
    {eRollOffPeriod_0, 0, "0"},
    {eRollOffPeriod_0_3125, 1, "0.3125"},
    {eRollOffPeriod_0_625, 2, "0.625"},
    {eRollOffPeriod_0_9375, 3, "0.9375"},
    {eRollOffPeriod_1_25, 4, "1.25"})
// clang-format on

#include "ERollOffFactor.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(ERollOffFactor,
    {eRollOffFactor_Auto, 0, "Auto"},
    {eRollOffFactor_0_115, 1, "0.115"},
    {eRollOffFactor_0_12, 2, "0.12"},
    {eRollOffFactor_0_13, 3, "0.13"},
    {eRollOffFactor_0_14, 4, "0.14"},
    {eRollOffFactor_0_15, 5, "0.15"},
    {eRollOffFactor_0_16, 6, "0.16"},
    {eRollOffFactor_0_17, 7, "0.17"},
    {eRollOffFactor_0_18, 8, "0.18"},
    {eRollOffFactor_0_19, 9, "0.19"},
    {eRollOffFactor_0_20, 10, "0.20"})
// clang-format on

#include "EAverageCount.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EAverageCount,
    {eAverageCount_0, 0, "0"},
    {eAverageCount_4, 4, "4"},
    {eAverageCount_8, 8, "8"},
    {eAverageCount_16, 16, "16"},
    {eAverageCount_32, 32, "32"},
    {eAverageCount_64, 64, "64"},
    {eAverageCount_128, 128, "128"},
    {eAverageCount_256, 256, "256"})
// clang-format on

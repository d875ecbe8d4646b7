#include "ETestDepth.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(ETestDepth,
    {eTestDepth_1, 0, "Test Depth 1"},
    {eTestDepth_10, 1, "Test Depth 10"},
    {eTestDepth_100, 2, "Test Depth 100"},
    {eTestDepth_1K, 3, "Test Depth 1K"},
    {eTestDepth_10K, 4, "Test Depth 10K"},
    {eTestDepth_100K, 5, "Test Depth 100K"},
    {eTestDepth_1G, 6, "Test Depth 1G"})
// clang-format on

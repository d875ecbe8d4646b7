#include "ECyclicPrefixLength.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(ECyclicPrefixLength,
    {eCyclicPrefixLength_0_9375us, 0, "0.9375 μs"},
    {eCyclicPrefixLength_1_25us, 1, "1.25 μs"},
    {eCyclicPrefixLength_2_50us, 2, "2.50 μs"},
    {eCyclicPrefixLength_3_75us, 3, "3.75 μs"},
    {eCyclicPrefixLength_5_00us, 4, "5.00 μs"})
// clang-format on

#include "EBERSource.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EBERSource,
    {eBERSource_MACLFSR, 0, "MACLFSR Test Sequence"},
    {eBERSource_PN23, 1, "PN23 Test Sequence"},
    {eBERSource_EstimateFromFEC, 2, "Estimate from FEC"})
// clang-format on

#include "ETestLineType.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(ETestLineType,
    {eTestLineType_CCIR17, 0, "CCIR17"},
    {eTestLineType_FCCComposite, 1, "FCC Composite"},
    {eTestLineType_NTC7Composite, 2, "NTC7 Composite"})
// clang-format on

#include "EBERMode.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EBERMode,
    {eBERMode_Automatic, 0, "Automatic"},
    {eBERMode_Manual, 1, "Manual"},
    {eBERMode_SemiAutomatic, 2, "Semi Automatic"})
// clang-format on

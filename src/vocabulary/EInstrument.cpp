#include "EInstrument.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EInstrument,
    {eInstrument_Arv, 0, "Arv"},
    {eInstrument_Bex, 1, "Bex"})
// clang-format on

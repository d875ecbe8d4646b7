#include "EColorSystem.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EColorSystem,
    {eColorSystem_PAL, 0, "PAL"},
    {eColorSystem_SECAM, 1, "SECAM"},
    {eColorSystem_NTSC, 2, "NTSC"})
// clang-format on

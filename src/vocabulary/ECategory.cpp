#include "ECategory.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(ECategory,
    {eCategory_General, 0, "General"},
    {eCategory_Analog, 1, "Analog"},
    {eCategory_Digital, 2, "Digital"},
    {eCategory_Docsis, 3, "Docsis"})
// clang-format on

#include "ETestLineField.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(ETestLineField,
    {eTestLineField_Field1, 0, "Field 1"},
    {eTestLineField_Field2, 1, "Field 2"})
// clang-format on

#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The field of an analogue picture that carries the test line.
enum ETestLineField : int
{
    eTestLineField_Field1 = 0,
    eTestLineField_Field2 = 1,
    eTestLineField_None = 2 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::ETestLineField)

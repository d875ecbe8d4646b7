#pragma once

namespace LumoraMeasurement
{

/// Which one of the value fields of a measurement or settings cell is in use.
enum EValueType : int
{
    eValueType_Bool = 0,
    eValueType_Integer = 1,
    eValueType_Float = 2,
    eValueType_Text = 3,
    eValueType_None = 4 ///< sentinel
};

} // namespace LumoraMeasurement

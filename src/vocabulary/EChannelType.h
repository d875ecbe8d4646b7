#pragma once

namespace LumoraMeasurement
{

/// Whether a measured channel is analogue or digital. It has no representation table: it only
/// travels as a number (CEnumConverter::EChannelTypeToNumber).
enum EChannelType : int
{
    eChannelType_Unknown = 0,
    eChannelType_Analog = 1,
    eChannelType_Digital = 2,
    eChannelType_None = 3 ///< sentinel
};

} // namespace LumoraMeasurement

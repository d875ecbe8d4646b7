#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The category of a measurement item, a settings item or a channel.
enum ECategory : int
{
    eCategory_NoCategory = 0, ///< no category
    eCategory_General = 1,
    eCategory_Digital = 2,
    eCategory_Analog = 3,
    eCategory_Docsis = 4,
    eCategory_None = 5 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::ECategory)

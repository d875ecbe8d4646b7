#include "CEnumFilter.h"

namespace LumoraMeasurement
{

bool CEnumFilter::IsUsable(long /*lId*/) const
{
    return true;
}

} // namespace LumoraMeasurement

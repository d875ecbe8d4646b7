#include "CStationMonitor.h"

#include "CEnumTemplate.h"
#include "ETVStandards.h"

using namespace LumoraMeasurement;

void CStationMonitor::nameStandard(int iStandard)
{
    emit standardNamed(CEnumTemplate<ETVStandards>::ToString(static_cast<ETVStandards>(iStandard)));
}

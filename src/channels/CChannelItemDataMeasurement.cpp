#include "CChannelItemDataMeasurement.h"

#include "CValueFactory.h"

namespace LumoraMeasurement
{

CChannelItemDataMeasurement::CChannelItemDataMeasurement(EMeasurementItems eItem)
    : CChannelCellValue(eItem, CValueFactory::MeasurementItem_GetItemValueType(eItem),
                        CValueFactory::MeasurementItem_GetItemUnit(eItem))
{
}

bool CChannelItemDataMeasurement::Set(const QString& sValue, EUnitTypes eUnit)
{
    return Store(eValueType_Text, m_sValue, sValue, eUnit);
}

bool CChannelItemDataMeasurement::Set(short iValue, EUnitTypes eUnit)
{
    return Store(eValueType_Integer, m_iValue, iValue, eUnit);
}

bool CChannelItemDataMeasurement::Set(double dValue, EUnitTypes eUnit)
{
    return Store(eValueType_Float, m_dValue, dValue, eUnit);
}

bool CChannelItemDataMeasurement::Set(bool bValue, EUnitTypes eUnit)
{
    return Store(eValueType_Bool, m_bValue, bValue, eUnit);
}

} // namespace LumoraMeasurement

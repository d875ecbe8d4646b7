#include "CChannelDataMeasurement.h"

#include "CValueFactory.h"
#include "ECategory.h"

namespace LumoraMeasurement
{

CChannelDataMeasurement::CChannelDataMeasurement(EChannelType eType)
    : m_LeadingCell(eMeasItem_None), m_eChannelType(eType)
{
    Initialize();
}

void CChannelDataMeasurement::Initialize()
{
    static const ECategory c_Passes[] = {eCategory_General, eCategory_Analog, eCategory_Digital,
                                         eCategory_Docsis};
    m_vCells.clear();
    m_vCells.reserve(eMeasItem_None);
    for (ECategory eCategory : c_Passes)
    {
        for (int i = 0; i < eMeasItem_None; ++i)
        {
            const auto eItem = static_cast<EMeasurementItems>(i);
            if (CValueFactory::MeasurementItem_GetItemValueCategory(eItem) == eCategory)
            {
                m_vCells.append(CChannelItemDataMeasurement(eItem));
            }
        }
    }
}

CChannelItemDataMeasurement CChannelDataMeasurement::GetItem(long lPosition) const
{
    if (lPosition < 0 || lPosition >= m_vCells.size())
    {
        return CChannelItemDataMeasurement(eMeasItem_None);
    }
    return m_vCells[static_cast<int>(lPosition)];
}

CChannelItemDataMeasurement CChannelDataMeasurement::GetItem(EMeasurementItems eItem) const
{
    if (eItem != eMeasItem_None)
    {
        for (const CChannelItemDataMeasurement& cell : m_vCells)
        {
            if (cell.Id() == eItem)
            {
                return cell;
            }
        }
    }
    return CChannelItemDataMeasurement(eMeasItem_None);
}

bool CChannelDataMeasurement::SetItem(const CChannelItemDataMeasurement& cell)
{
    for (CChannelItemDataMeasurement& existing : m_vCells)
    {
        if (existing.Id() == cell.Id())
        {
            existing = cell;
            return true;
        }
    }
    return false;
}

bool CChannelDataMeasurement::SetItemValue(long lPosition, const QString& sValue)
{
    if (lPosition < 0 || lPosition >= m_vCells.size())
    {
        return false;
    }
    return m_vCells[static_cast<int>(lPosition)].Set(sValue, eUnitType_None);
}

bool CChannelDataMeasurement::SetName(const QString& sName)
{
    if (sName.isEmpty() || sName == m_sName)
    {
        return false;
    }
    m_sName = sName;
    return true;
}

bool CChannelDataMeasurement::SetChannelType(EChannelType eType)
{
    if (eType == eChannelType_Unknown)
    {
        return false;
    }
    m_eChannelType = eType;
    return true;
}

} // namespace LumoraMeasurement

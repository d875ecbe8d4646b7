#include "CChannelItemData.h"

#include "CConverter.h"
#include "CEnumTemplate.h"
#include "CValueFactory.h"
#include "ERefLevelMode.h"

#include <algorithm>
#include <cmath>

namespace LumoraMeasurement
{

CChannelItemData::CChannelItemData(ESettingsItems eItem)
    : CChannelCellValue(eItem, CValueFactory::SettingsItem_GetItemValueType(eItem),
                        CValueFactory::SettingsItem_GetItemUnit(eItem))
{
    if (eItem == eSettingsItem_ReferenceLevelMode)
    {
        m_iValue = CEnumTemplate<ERefLevelMode>::ToId(eRefLevelMode_Automatic);
    }
}

bool CChannelItemData::Set(const QString& sValue, EUnitTypes eUnit)
{
    if (CValueFactory::SettingsItem_HasSelectionList(m_eItem) || m_eValueType == eValueType_Integer)
    {
        // A selection id is stored whatever the value type; the unit stays.
        bool bOk = false;
        long lValue = sValue.toLong(&bOk, 10);
        if (!bOk)
        {
            lValue = 0;
        }
        if (lValue == m_iValue)
        {
            return false;
        }
        m_iValue = lValue;
        m_eState = eMeasurementItemState_Valid;
        return true;
    }

    switch (m_eValueType)
    {
    case eValueType_Text:
        return sValue != m_sValue && Store(eValueType_Text, m_sValue, sValue, eUnit);

    case eValueType_Float:
    {
        double dValue = CConverter::ConvertValue(sValue, m_eUnit);
        if (m_eItem == eSettingsItem_PowerLimitOffset)
        {
            // The offset is edited in hundredths of a dB within a sensible range.
            dValue = std::trunc(dValue * 100.0) / 100.0;
            dValue = std::max(-100.0, std::min(100.0, dValue));
        }
        // The text is read in the cell's unit, so the unit argument does not apply.
        return dValue != m_dValue && Store(eValueType_Float, m_dValue, dValue, eUnitType_None);
    }

    default:
        return false;
    }
}

bool CChannelItemData::Set(long lValue, EUnitTypes eUnit)
{
    return lValue != m_iValue && Store(eValueType_Integer, m_iValue, lValue, eUnit);
}

bool CChannelItemData::Set(double dValue, EUnitTypes eUnit)
{
    return dValue != m_dValue && Store(eValueType_Float, m_dValue, dValue, eUnit);
}

bool CChannelItemData::Set(bool bValue, EUnitTypes eUnit)
{
    return bValue != m_bValue && Store(eValueType_Bool, m_bValue, bValue, eUnit);
}

QString CChannelItemData::ToString() const
{
    if (m_eValueType == eValueType_Float)
    {
        switch (m_eItem)
        {
        case eSettingsItem_CenterFrequency:
        case eSettingsItem_FrequencyOffset:
        case eSettingsItem_PilotFrequency:
        case eSettingsItem_Subcarrier0Frequency:
            return CConverter::GetFrequencyString(m_dValue, 2, true);
        case eSettingsItem_PowerLimitOffset:
            return QString::number(m_dValue, 'f', 2) + QLatin1Char(' ') +
                   CConverter::GetUnitString(m_eUnit);
        case eSettingsItem_SymbolRate:
            return CConverter::GetSymbolRateString(m_dValue, 8, true);
        default:
            break;
        }
    }
    return CChannelCellValue::ToString();
}

} // namespace LumoraMeasurement

#include "CChannelData.h"

#include "CConverter.h"
#include "CEnumTemplate.h"
#include "CValueFactory.h"
#include "EDigitalConstellation.h"
#include "EFECMode.h"
#include "ERollOffFactor.h"

namespace LumoraMeasurement
{

namespace
{

// Transmission parameters that a DOCSIS standard fixes. A row applies to its standard and QAM
// order (eDigitalConstellation_None: any order); the first row that applies decides. A symbol
// rate of 0 and eRollOffFactor_None leave the cell as it is.
struct SQamOrderRule
{
    ETVStandards m_eStandard;
    EDigitalConstellation m_eQamOrder;
    double m_dSymbolRate;
    ERollOffFactor m_eRollOff;
    EFECMode m_eFec;
};

constexpr SQamOrderRule c_QamOrderRules[] = {
    {eTVStandard_EuroDOCSIS30, eDigitalConstellation_None, 6952000.0, eRollOffFactor_0_15,
     eFECMode_A},
    {eTVStandard_DOCSIS30, eDigitalConstellation_QAM64, 5056941.0, eRollOffFactor_0_18, eFECMode_B},
    {eTVStandard_DOCSIS30, eDigitalConstellation_QAM256, 5360537.0, eRollOffFactor_0_12,
     eFECMode_B},
    {eTVStandard_DOCSIS30, eDigitalConstellation_None, 0.0, eRollOffFactor_None, eFECMode_B},
    {eTVStandard_DOCSIS30_J83C, eDigitalConstellation_None, 5273978.6, eRollOffFactor_0_13,
     eFECMode_C},
};

// Fills the cells of one record in the order shared by all records.
QVector<CChannelItemData> MakeCells()
{
    static const ECategory c_Passes[] = {eCategory_General, eCategory_Analog, eCategory_Digital,
                                         eCategory_Docsis};
    QVector<CChannelItemData> cells;
    cells.reserve(eSettingsItem_None);
    for (ECategory eCategory : c_Passes)
    {
        for (int i = 0; i < eSettingsItem_None; ++i)
        {
            const auto eItem = static_cast<ESettingsItems>(i);
            if (CValueFactory::ChannelSettings_GetItemValueCategory(eItem) == eCategory)
            {
                cells.append(CChannelItemData(eItem));
            }
        }
    }
    return cells;
}

} // namespace

std::atomic<long> CChannelData::s_iUniqueIdentifierRunningCounter{0};

long CChannelData::DoTakeIdentifier()
{
    return s_iUniqueIdentifierRunningCounter.fetch_add(1);
}

CChannelData::CChannelData(ETVStandards eStandard, const QString& sName) : m_lIdentifier(-1)
{
    Initialize();
    if (!sName.isEmpty())
    {
        SetItemValue(eSettingsItem_ChannelName, sName);
    }
    SetItemValue(eSettingsItem_TVStandard, CEnumTemplate<ETVStandards>::ToId(eStandard));
}

CChannelData::CChannelData(const CChannelData& other)
    : m_sLabel(other.m_sLabel), m_lIdentifier(DoTakeIdentifier()), m_vCells(other.m_vCells)
{
}

CChannelData::CChannelData(CChannelData&& other) noexcept
    : m_sLabel(std::move(other.m_sLabel)), m_lIdentifier(other.m_lIdentifier),
      m_vCells(std::move(other.m_vCells))
{
}

void CChannelData::Initialize()
{
    m_lIdentifier = DoTakeIdentifier();
    m_vCells = MakeCells();
}

int CChannelData::DoFindPosition(ESettingsItems eItem) const
{
    for (int i = 0; i < m_vCells.size(); ++i)
    {
        if (m_vCells[i].GetItemEnum() == eItem)
        {
            return i;
        }
    }
    return -1;
}

CChannelItemData CChannelData::GetItem(ESettingsItems eItem) const
{
    const int iPosition = DoFindPosition(eItem);
    return iPosition < 0 ? CChannelItemData(eSettingsItem_None) : m_vCells[iPosition];
}

CChannelItemData CChannelData::GetItem(long lPosition) const
{
    if (m_vCells.isEmpty())
    {
        return CChannelItemData(eSettingsItem_None);
    }
    if (lPosition < 1 || lPosition >= m_vCells.size())
    {
        lPosition = 0;
    }
    return m_vCells[static_cast<int>(lPosition)];
}

bool CChannelData::SetItem(const CChannelItemData& cell)
{
    const int iPosition = DoFindPosition(cell.GetItemEnum());
    if (iPosition < 0)
    {
        m_vCells.append(cell);
    }
    else
    {
        m_vCells[iPosition] = cell;
    }
    return true;
}

bool CChannelData::SetItemValue(long lPosition, const QString& sValue)
{
    if (lPosition < 1)
    {
        lPosition = 0;
    }
    if (lPosition >= m_vCells.size())
    {
        return false;
    }
    return SetItemValue(m_vCells[static_cast<int>(lPosition)].GetItemEnum(), sValue);
}

bool CChannelData::SetItemValue(ESettingsItems eItem, const QString& sValue)
{
    if (eItem == eSettingsItem_None)
    {
        return false;
    }
    QString sText = sValue;
    if (eItem == eSettingsItem_SymbolRate && CConverter::GetUnit(sText).isEmpty())
    {
        // A bare number is a rate in mega-symbols per second.
        sText += CConverter::GetUnitString(eUnitType_MSymbolPerSec);
    }
    int iPosition = DoFindPosition(eItem);
    if (iPosition < 0)
    {
        m_vCells.append(CChannelItemData(eSettingsItem_None));
        iPosition = m_vCells.size() - 1;
    }
    return m_vCells[iPosition].Set(sText, eUnitType_None);
}

bool CChannelData::SetItemValue(ESettingsItems eItem, long lValue)
{
    if (eItem == eSettingsItem_None)
    {
        return false;
    }
    int iPosition = DoFindPosition(eItem);
    if (iPosition < 0)
    {
        m_vCells.append(CChannelItemData(eSettingsItem_None));
        iPosition = m_vCells.size() - 1;
    }
    if (!m_vCells[iPosition].Set(lValue, eUnitType_None))
    {
        return false;
    }
    if (eItem == eSettingsItem_TVStandard || eItem == eSettingsItem_QAMOrder)
    {
        DoRecalcQAMOrderParameter(eItem);
    }
    return true;
}

ETVStandards CChannelData::GetTvStandard() const
{
    return CEnumTemplate<ETVStandards>::ToEnum(GetItem(eSettingsItem_TVStandard).ToInt());
}

void CChannelData::DoRecalcQAMOrderParameter(ESettingsItems /*eChangedItem*/)
{
    const ETVStandards eStandard = GetTvStandard();
    const EDigitalConstellation eQamOrder =
        CEnumTemplate<EDigitalConstellation>::ToEnum(GetItem(eSettingsItem_QAMOrder).ToInt());

    for (const SQamOrderRule& rule : c_QamOrderRules)
    {
        if (rule.m_eStandard != eStandard ||
            (rule.m_eQamOrder != eDigitalConstellation_None && rule.m_eQamOrder != eQamOrder))
        {
            continue;
        }
        const auto Apply = [this](ESettingsItems eItem, auto value)
        {
            const int iPosition = DoFindPosition(eItem);
            if (iPosition >= 0)
            {
                m_vCells[iPosition].Set(value, eUnitType_None);
            }
        };
        if (rule.m_dSymbolRate != 0.0)
        {
            Apply(eSettingsItem_SymbolRate, rule.m_dSymbolRate);
        }
        if (rule.m_eRollOff != eRollOffFactor_None)
        {
            Apply(eSettingsItem_RollOffFactor,
                  CEnumTemplate<ERollOffFactor>::ToId(rule.m_eRollOff));
        }
        Apply(eSettingsItem_FEC, CEnumTemplate<EFECMode>::ToId(rule.m_eFec));
        return;
    }
}

} // namespace LumoraMeasurement

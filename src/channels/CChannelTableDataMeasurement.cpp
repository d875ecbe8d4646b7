#include "CChannelTableDataMeasurement.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace LumoraMeasurement
{

CChannelTableDataMeasurement::CChannelTableDataMeasurement() : m_LookupBuffer(eChannelType_Analog)
{
}

CChannelDataMeasurement& CChannelTableDataMeasurement::GetChannel(short iRow)
{
    if (iRow < 0 || iRow >= GetRowCount())
    {
        throw std::out_of_range("measurement channel table row " + std::to_string(iRow) +
                                " is outside the table");
    }
    return m_vChannels[static_cast<std::size_t>(iRow)];
}

bool CChannelTableDataMeasurement::AddChannel(const CChannelDataMeasurement& channel)
{
    if (GetRowCount() >= c_lMaxRowCount)
    {
        return false;
    }
    m_vChannels.push_back(channel);
    return true;
}

long CChannelTableDataMeasurement::DoFindRow(const QString& sName) const
{
    const long lCount = std::min(GetRowCount(), c_lMaxRowCount);
    for (long lRow = 0; lRow < lCount; ++lRow)
    {
        if (m_vChannels[static_cast<std::size_t>(lRow)].Name() == sName)
        {
            return lRow;
        }
    }
    return -1;
}

bool CChannelTableDataMeasurement::DeleteChannel(const CChannelDataMeasurement& channel)
{
    const long lRow = DoFindRow(channel.Name());
    if (lRow < 0)
    {
        return false;
    }
    m_vChannels.erase(m_vChannels.begin() + lRow);
    return true;
}

bool CChannelTableDataMeasurement::GetChannelIndex(const QString& sName, long& lRow) const
{
    const long lFound = DoFindRow(sName);
    if (lFound < 0)
    {
        return false;
    }
    lRow = lFound;
    return true;
}

CChannelDataMeasurement& CChannelTableDataMeasurement::GetChannel(const QString& sName)
{
    const long lRow = DoFindRow(sName);
    if (lRow >= 0)
    {
        m_LookupBuffer = m_vChannels[static_cast<std::size_t>(lRow)];
    }
    return m_LookupBuffer;
}

QStringList CChannelTableDataMeasurement::GetChannelNames() const
{
    QStringList names;
    const long lCount = std::min(GetRowCount(), c_lMaxRowCount);
    for (long lRow = 0; lRow < lCount; ++lRow)
    {
        names.append(m_vChannels[static_cast<std::size_t>(lRow)].Name());
    }
    return names;
}

EMeasurementItems CChannelTableDataMeasurement::GetValueEnumFromIndex(const QString& sChannelName,
                                                                      long lColumn) const
{
    const long lRow = DoFindRow(sChannelName);
    if (lRow < 0)
    {
        return eMeasItem_None;
    }
    return m_vChannels[static_cast<std::size_t>(lRow)].GetItem(lColumn).Id();
}

QString CChannelTableDataMeasurement::GetValue(const QString& sChannelName, long lColumn) const
{
    const long lRow = DoFindRow(sChannelName);
    if (lRow < 0)
    {
        return QString();
    }
    return m_vChannels[static_cast<std::size_t>(lRow)].GetItem(lColumn).ToString();
}

bool CChannelTableDataMeasurement::SetValue(const QString& sChannelName, long lColumn,
                                            const QString& sValue)
{
    const long lRow = DoFindRow(sChannelName);
    if (lRow < 0)
    {
        return false;
    }
    return m_vChannels[static_cast<std::size_t>(lRow)].SetItemValue(lColumn, sValue);
}

} // namespace LumoraMeasurement

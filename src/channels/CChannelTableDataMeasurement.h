#pragma once

#include "MainDataAccess_export.h"

#include "CChannelDataMeasurement.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace LumoraMeasurement
{

/// The measured-values counterpart of the channel table: one record per channel, addressed by
/// row, by channel name and by cell position. Names need not be unique; lookups take the first.
///
/// GetChannel(short) throws std::out_of_range for a row outside the table.
class MDA_EXPORT CChannelTableDataMeasurement
{
public:
    /// Rows are counted in 16 bits.
    static constexpr long c_lMaxRowCount = 65535;

    CChannelTableDataMeasurement();

    long GetRowCount() const { return static_cast<long>(m_vChannels.size()); }
    std::vector<CChannelDataMeasurement>& GetChannels() { return m_vChannels; }
    void ClearChannels() { m_vChannels.clear(); }

    CChannelDataMeasurement& GetChannel(short iRow);
    /// False when the table is full.
    bool AddChannel(const CChannelDataMeasurement& channel);
    /// Removes the first record with the channel's name.
    bool DeleteChannel(const CChannelDataMeasurement& channel);
    bool GetChannelIndex(const QString& sName, long& lRow) const;
    /// The matching record copied into the lookup buffer; with no match the buffer keeps its
    /// previous content.
    CChannelDataMeasurement& GetChannel(const QString& sName);
    QStringList GetChannelNames() const;

    EMeasurementItems GetValueEnumFromIndex(const QString& sChannelName, long lColumn) const;
    QString GetValue(const QString& sChannelName, long lColumn) const;
    bool SetValue(const QString& sChannelName, long lColumn, const QString& sValue);

private:
    long DoFindRow(const QString& sName) const;

    CChannelDataMeasurement m_LookupBuffer;
    std::vector<CChannelDataMeasurement> m_vChannels;
};

} // namespace LumoraMeasurement

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

    /// An empty table.
    CChannelTableDataMeasurement();

    /// The number of channels.
    long GetRowCount() const { return static_cast<long>(m_vChannels.size()); }
    /// The channels in row order, for changing them.
    std::vector<CChannelDataMeasurement>& GetChannels() { return m_vChannels; }
    /// Removes every channel.
    void ClearChannels() { m_vChannels.clear(); }

    /// The channel in iRow; a row outside the table throws std::out_of_range.
    CChannelDataMeasurement& GetChannel(short iRow);
    /// False when the table is full.
    bool AddChannel(const CChannelDataMeasurement& channel);
    /// Removes the first record with the channel's name.
    bool DeleteChannel(const CChannelDataMeasurement& channel);
    /// The row of the first channel of that name; false, lRow unchanged, when there is none.
    bool GetChannelIndex(const QString& sName, long& lRow) const;
    /// The matching record copied into the lookup buffer; with no match the buffer keeps its
    /// previous content.
    CChannelDataMeasurement& GetChannel(const QString& sName);
    /// The channel names in row order.
    QStringList GetChannelNames() const;

    /// The item of the cell at position lColumn of the named channel; eMeasItem_None when no
    /// channel has the name.
    EMeasurementItems GetValueEnumFromIndex(const QString& sChannelName, long lColumn) const;
    /// The text of the cell at position lColumn of the named channel; empty when no channel has
    /// the name.
    QString GetValue(const QString& sChannelName, long lColumn) const;
    /// Stores text into the cell at position lColumn of the named channel (only text cells take
    /// it); false when no channel has the name.
    bool SetValue(const QString& sChannelName, long lColumn, const QString& sValue);

private:
    long DoFindRow(const QString& sName) const;

    CChannelDataMeasurement m_LookupBuffer;
    std::vector<CChannelDataMeasurement> m_vChannels;
};

} // namespace LumoraMeasurement

#pragma once

#include "MainDataAccess_export.h"

#include "CChannelItemDataMeasurement.h"
#include "EChannelType.h"
#include "EMeasurementItems.h"

#include <QString>
#include <QVector>

namespace LumoraMeasurement
{

/// The measured values of one channel: one measurement cell per measurement item, with the
/// channel's name and type. Kept in memory only.
class MDA_EXPORT CChannelDataMeasurement
{
public:
    /// A channel of type eType with fresh cells (see Initialize()) and an empty name.
    explicit CChannelDataMeasurement(EChannelType eType);

    /// Replaces the cells by fresh ones: general, analog, digital, DOCSIS items, each ascending.
    void Initialize();

    /// The number of cells.
    long GetItemCount() const { return m_vCells.size(); }
    /// The cell at a position 0 to GetItemCount() - 1; a cell for no item outside that range.
    CChannelItemDataMeasurement GetItem(long lPosition) const;
    /// The first cell of the item; a cell for no item when none has it.
    CChannelItemDataMeasurement GetItem(EMeasurementItems eItem) const;
    /// Replaces the first cell of the same item; false (nothing added) when none has it.
    bool SetItem(const CChannelItemDataMeasurement& cell);
    /// Stores text into the cell at that position; only text cells take it.
    bool SetItemValue(long lPosition, const QString& sValue);

    /// The channel's name.
    const QString& Name() const { return m_sName; }
    /// False for an empty name or the current one.
    bool SetName(const QString& sName);
    /// The channel's type.
    EChannelType ChannelType() const { return m_eChannelType; }
    /// False for eChannelType_Unknown.
    bool SetChannelType(EChannelType eType);

private:
    CChannelItemDataMeasurement m_LeadingCell;
    QVector<CChannelItemDataMeasurement> m_vCells;
    QString m_sName;
    EChannelType m_eChannelType;
};

} // namespace LumoraMeasurement

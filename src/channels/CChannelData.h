#pragma once

#include "MainDataAccess_export.h"

#include "CChannelItemData.h"
#include "ESettingsItems.h"
#include "ETVStandards.h"

#include <QString>
#include <QVector>

#include <atomic>

namespace LumoraMeasurement
{

/// One channel of the channel table: one settings cell per settings item, a label and a
/// run-time identifier. Keeps the transmission parameters that the DOCSIS standards fix in
/// step with the TV standard and QAM order.
///
/// The cells keep one fixed order (general, analog, digital, DOCSIS items, each ascending),
/// the same for every record; the table addresses its columns by this position.
class MDA_EXPORT CChannelData
{
public:
    /// A record with a new identifier and fresh cells for a channel of eStandard, named sName
    /// (an empty name keeps the default one).
    CChannelData(ETVStandards eStandard, const QString& sName);
    /// A copy is a new record and takes a new identifier.
    CChannelData(const CChannelData& other);
    /// A moved record keeps its identity, so a container that relocates records keeps theirs.
    CChannelData(CChannelData&& other) noexcept;
    /// Assignment copies the identifier together with label and cells.
    CChannelData& operator=(const CChannelData& other) = default;
    /// Moves identifier, label and cells.
    CChannelData& operator=(CChannelData&& other) noexcept = default;
    ~CChannelData() = default;

    /// Takes a new identifier and replaces every cell by a fresh one.
    void Initialize();

    /// A copy of the item's cell; the cell of eSettingsItem_None when the record has none.
    CChannelItemData GetItem(ESettingsItems eItem) const;
    /// Positions outside the record fall back to position 0.
    CChannelItemData GetItem(long lPosition) const;
    /// The number of cells.
    long GetItemCount() const { return m_vCells.size(); }
    /// Replaces the cell of the same item, or appends it when the record has none; always true.
    bool SetItem(const CChannelItemData& cell);

    ///@{
    /// Sets a cell by position (false beyond the last) or by item (a missing item's cell is
    /// appended). The text setters do not touch the DOCSIS parameters; the integer setter does
    /// when it changes the TV standard or the QAM order. Each returns whether the value
    /// changed.
    bool SetItemValue(long lPosition, const QString& sValue);
    bool SetItemValue(ESettingsItems eItem, const QString& sValue);
    bool SetItemValue(ESettingsItems eItem, long lValue);
    ///@}

    /// eTVStandard_None when the stored id names no standard.
    ETVStandards GetTvStandard() const;
    /// Sets the DOCSIS parameters that the TV standard and QAM order determine (the argument
    /// is not used).
    void DoRecalcQAMOrderParameter(ESettingsItems eChangedItem);

    /// The record's identifier, unique within the process.
    long GetIdentifier() const { return m_lIdentifier; }
    /// A free label of the application's; not stored in files.
    const QString& GetLabel() const { return m_sLabel; }
    /// Sets the label.
    void SetLabel(const QString& sLabel) { m_sLabel = sLabel; }

private:
    static long DoTakeIdentifier();
    int DoFindPosition(ESettingsItems eItem) const;

    static std::atomic<long> s_iUniqueIdentifierRunningCounter;

    QString m_sLabel;
    long m_lIdentifier;
    QVector<CChannelItemData> m_vCells;
};

} // namespace LumoraMeasurement

#pragma once

#include "MainDataAccess_export.h"

#include "CChannelData.h"
#include "ECategory.h"
#include "ESettingsItems.h"
#include "ETVStandards.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <vector>

namespace LumoraMeasurement
{

/// The channel table: the ordered channels to be measured, with reading and writing of the
/// channel table file, editing that keeps channel names unique, and the row-and-column view of
/// the table editor, including the selection lists restricted by each row's TV standard.
///
/// Row-indexed access to a row outside the table (GetChannel(long), GetChannelIdentifier,
/// SetValue(long, ...)) throws std::out_of_range; every other lookup answers with a fallback.
class MDA_EXPORT CChannelTableData
{
public:
    ///@{
    /// A member name of the channel table file.
    static inline const QString c_sKeyChannelTableData = QStringLiteral("ChannelTableData");
    static inline const QString c_sKeyChannelName = QStringLiteral("ChannelName");
    static inline const QString c_sKeyChannelItemData = QStringLiteral("ChannelItemData");
    static inline const QString c_sKeyId = QStringLiteral("Id");
    static inline const QString c_sKeyValue = QStringLiteral("Value");
    ///@}

    /// The row argument of AddChannel that appends at the end.
    static constexpr long c_lAppendRow = -1;
    /// Rows are counted in 16 bits: the table never holds more channels.
    static constexpr long c_lMaxRowCount = 65535;

    /// An empty table.
    CChannelTableData();

    /// False for an empty path or a file that is no JSON object; the table is then unchanged.
    bool Read(const QString& sPath);
    /// As Read(), for the content of a channel table file in memory; sName stands for its
    /// file name.
    bool ReadData(const QByteArray& bytes, const QString& sName);
    /// Writes every channel; false, writing nothing, when a number cell is not finite (the log
    /// names channel and item) or the file cannot be written.
    bool Write(const QString& sPath) const;

    /// The number of channels.
    long GetRowCount() const;
    /// The number of settings items (the rows of their representation table).
    long GetColumnCount() const;
    /// The channels, in row order, for changing them.
    std::vector<CChannelData>& GetChannels() { return m_vChannels; }
    /// Removes every channel.
    void ClearChannels();

    /// The channel in lRow.
    CChannelData& GetChannel(long lRow);
    /// The identifier of the channel in lRow.
    long GetChannelIdentifier(long lRow) const;
    /// The row of the channel with that identifier; false, lRow unchanged, when there is none.
    bool GetChannelIndex(long lIdentifier, long& lRow) const;
    /// The row of the first channel of that name; false, lRow unchanged, when there is none.
    bool GetChannelIndex(const QString& sName, long& lRow) const;
    /// The matching record copied into the lookup buffer; with no match the buffer keeps its
    /// previous content.
    CChannelData& GetChannel(const QString& sName);
    /// As GetChannel(const QString&), by identifier.
    CChannelData& GetChannelFromIdentifier(long lIdentifier);
    /// The channel names in row order.
    QStringList GetChannelNames() const;
    /// True when a channel other than the one in lExceptRow has the name.
    bool DoesNameExist(const QString& sName, long lExceptRow) const;

    /// Inserts a copy at lRow (or appends for c_lAppendRow), makes its name unique and returns
    /// its row; -1 when the table is full.
    long AddChannel(const CChannelData& channel, long lRow);
    /// Returns the former row of the removed record, -1 when no record has the identifier.
    long DeleteChannel(long lIdentifier);
    /// The next candidate for a name that is taken: Ch, Ch_0, Ch_1, ...
    static void RenameChannel(QString& sName);

    /// The item of the cell at position lColumn of the named channel; eSettingsItem_None when
    /// no channel has the name.
    ESettingsItems GetValueEnumFromIndex(const QString& sChannelName, long lColumn) const;
    /// The text of the cell at position lColumn of the named channel; empty when no channel
    /// has the name.
    QString GetValue(const QString& sChannelName, long lColumn) const;
    /// Sets the text of the cell at position lColumn of the named channel; true when it changed,
    /// false when no channel has the name.
    bool SetValue(const QString& sChannelName, long lColumn, const QString& sValue);

    /// The display text of the item named sColumnName in lRow (the entry text of a selection,
    /// "Automatic" for automatic PLP selection); empty for a row outside the table.
    QString GetValue(long lRow, const QString& sColumnName) const;
    /// Sets the item named sColumnName in lRow from its display text: a name is made unique, a
    /// selection text becomes its stored id, line numbers and PLP are pinned to their range.
    /// True when the value changed.
    bool SetValue(long lRow, const QString& sColumnName, const QString& sValue);

    /// True when the item's value is chosen from a selection list.
    bool HasComboBox(ESettingsItems eItem) const;
    /// The TV standard of the channel in lRow; eTVStandard_None outside the table.
    ETVStandards GetTvStandard(long lRow) const;
    /// eCategory_Analog for an analog TV standard, eCategory_Digital otherwise.
    ECategory GetChannelType(long lRow) const;

    /// Pins a test or quiet line number text to the lines the row's standard and field have
    /// (1 up to the last line); other items and texts that are no number stay as they are.
    void HandleSetLineNumber(long lRow, ESettingsItems eItem, QString& sValue) const;
    /// Turns a PLP text into what the cell stores: a number pinned to 0..255, "-1" for "auto" or
    /// "automatic", empty for anything else.
    static void HandleSetDecodedPLP(QString& sValue);
    /// Shows the stored "-1" as "Automatic"; other texts stay.
    static void HandleGetDecodedPLP(QString& sValue);

    /// The texts to offer for the item in that row, restricted by the row's TV standard.
    QStringList GetComboBox(ESettingsItems eItem, long lRow) const;
    /// All texts of the item's selection list.
    QStringList GetComboboxValues(ESettingsItems eItem) const;
    /// The stored id of the entry with exactly that text; -1 when none.
    long GetComboboxIndex(ESettingsItems eItem, const QString& sText) const;
    /// The text of the entry whose id the row's cell holds; empty when none.
    QString GetEnumValue(long lRow, ESettingsItems eItem) const;

private:
    bool DoRead(const QJsonObject& jRoot, const QString& sPath);

    bool IsRow(long lRow) const;
    void DoCheckRow(long lRow) const;
    long DoFindRow(const QString& sName) const;
    long DoFindRowOfIdentifier(long lIdentifier) const;

    CChannelData m_LookupBuffer;
    std::vector<CChannelData> m_vChannels;
};

} // namespace LumoraMeasurement

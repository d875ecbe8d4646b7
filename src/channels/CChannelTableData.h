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
    static inline const QString c_sKeyChannelTableData = QStringLiteral("ChannelTableData");
    static inline const QString c_sKeyChannelName = QStringLiteral("ChannelName");
    static inline const QString c_sKeyChannelItemData = QStringLiteral("ChannelItemData");
    static inline const QString c_sKeyId = QStringLiteral("Id");
    static inline const QString c_sKeyValue = QStringLiteral("Value");

    /// The row argument of AddChannel that appends at the end.
    static constexpr long c_lAppendRow = -1;
    /// Rows are counted in 16 bits: the table never holds more channels.
    static constexpr long c_lMaxRowCount = 65535;

    CChannelTableData();

    /// False for an empty path or a file that is no JSON object; the table is then unchanged.
    bool Read(const QString& sPath);
    /// As Read(), for the content of a channel table file in memory; sName stands for its
    /// file name.
    bool ReadData(const QByteArray& bytes, const QString& sName);
    bool Write(const QString& sPath) const;

    long GetRowCount() const;
    long GetColumnCount() const;
    std::vector<CChannelData>& GetChannels() { return m_vChannels; }
    void ClearChannels();

    CChannelData& GetChannel(long lRow);
    long GetChannelIdentifier(long lRow) const;
    bool GetChannelIndex(long lIdentifier, long& lRow) const;
    bool GetChannelIndex(const QString& sName, long& lRow) const;
    /// The matching record copied into the lookup buffer; with no match the buffer keeps its
    /// previous content.
    CChannelData& GetChannel(const QString& sName);
    CChannelData& GetChannelFromIdentifier(long lIdentifier);
    QStringList GetChannelNames() const;
    bool DoesNameExist(const QString& sName, long lExceptRow) const;

    /// Inserts a copy at lRow (or appends for c_lAppendRow), makes its name unique and returns
    /// its row; -1 when the table is full.
    long AddChannel(const CChannelData& channel, long lRow);
    /// Returns the former row of the removed record, -1 when no record has the identifier.
    long DeleteChannel(long lIdentifier);
    /// The next candidate for a name that is taken: Ch, Ch_0, Ch_1, ...
    static void RenameChannel(QString& sName);

    ESettingsItems GetValueEnumFromIndex(const QString& sChannelName, long lColumn) const;
    QString GetValue(const QString& sChannelName, long lColumn) const;
    bool SetValue(const QString& sChannelName, long lColumn, const QString& sValue);

    QString GetValue(long lRow, const QString& sColumnName) const;
    bool SetValue(long lRow, const QString& sColumnName, const QString& sValue);

    bool HasComboBox(ESettingsItems eItem) const;
    ETVStandards GetTvStandard(long lRow) const;
    /// eCategory_Analog for an analog TV standard, eCategory_Digital otherwise.
    ECategory GetChannelType(long lRow) const;

    void HandleSetLineNumber(long lRow, ESettingsItems eItem, QString& sValue) const;
    static void HandleSetDecodedPLP(QString& sValue);
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

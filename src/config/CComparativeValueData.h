#pragma once

#include "MainDataAccess_export.h"

#include "CComparativeValueDataItem.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <vector>

namespace LumoraMeasurement
{

/// The limit table: one limit for every measurement item that can be judged, in a fixed
/// display order (general items, then analogue, digital and DOCSIS), with index access for a
/// table editor, lookup by item, the limit file, and the import of older limit values.
class MDA_EXPORT CComparativeValueData
{
public:
    /// Top-level member of the limit file.
    static inline const QString c_sKeyComparativeValues = QStringLiteral("ComparativeValues");

    /// A row with its built-in default limits for every measurement item: the general items
    /// first, then the analogue, digital and DOCSIS ones.
    CComparativeValueData();
    ~CComparativeValueData();

    /// Applies the file's records over the current rows; rows the file does not mention keep
    /// their limits, records of unknown items are skipped. False for an empty path or a file
    /// that cannot be loaded, which change nothing.
    bool Read(const QString& sFile);
    /// As Read(), for the content of a limit file in memory; sName stands for its file name.
    bool ReadData(const QByteArray& bytes, const QString& sName);
    /// Writes every row, levels in dBmV with unit and without offset.
    bool Write(const QString& sFile) const;
    /// The file name of the last limit document read successfully; empty before any.
    QString GetLoadedLimitFile() const { return m_sLoadedLimitFile; }

    /// The level unit the display texts show levels in.
    void SetLevelUnit(ELevelUnit eLevelUnit) { m_eLevelUnit = eLevelUnit; }
    /// The impedance the display texts convert levels at.
    void SetImpedance(EInstrumentImpedance eImpedance) { m_eImpedance = eImpedance; }

    /// The number of rows.
    long GetItemCount() const { return static_cast<long>(m_Items.size()); }

    /// The first row of eItem; an empty limit of eMeasItem_None when the item has no row.
    CComparativeValueDataItem& GetItem(EMeasurementItems eItem);
    /// As the other GetItem(), read-only.
    const CComparativeValueDataItem& GetItem(EMeasurementItems eItem) const;
    /// -1 when the item has no row.
    long GetIndexFromEnum(EMeasurementItems eItem) const;
    /// eMeasItem_None out of range.
    EMeasurementItems GetValueEnumFromIndex(long lIndex) const;

    /// Display texts of a row's limits; empty out of range.
    QString GetLowValueByIndex(long lIndex, bool bWithUnit, double dOffset) const;
    /// As GetLowValueByIndex(), for the upper limit.
    QString GetHigherValueByIndex(long lIndex, bool bWithUnit, double dOffset) const;
    /// True when the row's limit changed; false out of range.
    bool SetLowValueByIndex(long lIndex, QString& sValue);
    /// As SetLowValueByIndex(), for the upper limit.
    bool SetHigherValueByIndex(long lIndex, QString& sValue);

    /// eCompareType_None out of range.
    ECompareType GetCompareTypeValueByIndex(long lIndex) const;
    /// Sets the compare type named by its display text (an unknown text names
    /// eCompareType_None); true when the row's compare type differed.
    bool SetCompareTypeValueByIndex(long lIndex, QString& sText);
    /// eCategory_NoCategory out of range.
    ECategory GetCategoryByIndex(long lIndex) const;
    /// eValueType_Text out of range.
    EValueType GetValueTypeByIndex(long lIndex) const;
    /// Whether the row's item is measured; false out of range.
    bool GetMeasurementEnabledByIndex(long lIndex) const;
    /// True when the row's flag changed; false out of range.
    bool SetMeasurementEnabledByIndex(long lIndex, bool bEnabled);

    /// Parses both limits, then sets compare type (state items keep theirs unless the type is
    /// one they take) and the enabled flag. Items without a row are ignored.
    void UpdateItem(EMeasurementItems eItem, ECompareType eType, QString& sLow, QString sHigh,
                    bool bEnabled);
    /// Takes the lower and upper value of one item from an older limit file; sLow may gain the
    /// unit the older format left implicit.
    void UpdateItemFromPTVFile(EMeasurementItems eItem, QString& sLow, QString sHigh);

private:
    bool DoRead(const QJsonObject& jObject, const QString& sFile);

    bool DoIsValidIndex(long lIndex) const;

    CComparativeValueDataItem m_NullItem;
    std::vector<CComparativeValueDataItem> m_Items;
    ELevelUnit m_eLevelUnit = static_cast<ELevelUnit>(0);
    EInstrumentImpedance m_eImpedance = eInstrumentImpedance_None;
    QString m_sLoadedLimitFile;
};

} // namespace LumoraMeasurement

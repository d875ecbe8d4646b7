#pragma once

#include "MainDataAccess_export.h"

#include <QJsonObject>
#include <QString>

namespace OrvelFramework
{

/// One limit record of a limit file: the item's stored id, the compare type code, the two
/// limit texts and whether the item is measured.
class MDA_EXPORT CComparativeValueItem
{
public:
    ///@{
    /// The name of a member in the record's JSON object.
    static inline const QString c_sKeyCompareType = QStringLiteral("CompareType");
    static inline const QString c_sKeyHighValue = QStringLiteral("HighValue");
    static inline const QString c_sKeyID = QStringLiteral("ID");
    static inline const QString c_sKeyLowValue = QStringLiteral("LowValue");
    static inline const QString c_sKeyMeasurementEnabled = QStringLiteral("MeasurementEnabled");
    ///@}

    /// An empty record.
    CComparativeValueItem() = default;
    /// The record read from jObject, as FromJson() reads it.
    explicit CComparativeValueItem(const QJsonObject& jObject);
    /// A copy of the record.
    CComparativeValueItem(const CComparativeValueItem&) = default;
    /// Takes the other record's fields.
    CComparativeValueItem& operator=(const CComparativeValueItem&) = default;
    virtual ~CComparativeValueItem() = default;

    ///@{
    /// The field of the JSON member of that name.
    long GetCompareType() const { return m_lCompareType; }
    const QString& GetHighValue() const { return m_sHighValue; }
    long GetID() const { return m_lID; }
    const QString& GetLowValue() const { return m_sLowValue; }
    bool GetMeasurementEnabled() const { return m_bMeasurementEnabled; }
    ///@}
    ///@{
    /// Sets the field of the JSON member of that name.
    void SetCompareType(long lCompareType) { m_lCompareType = lCompareType; }
    void SetHighValue(const QString& sHighValue) { m_sHighValue = sHighValue; }
    void SetID(long lID) { m_lID = lID; }
    void SetLowValue(const QString& sLowValue) { m_sLowValue = sLowValue; }
    void SetMeasurementEnabled(bool bEnabled) { m_bMeasurementEnabled = bEnabled; }
    ///@}

    /// CompareType and ID are written as unsigned 32-bit numbers, so -1 becomes 4294967295.
    QJsonObject ToJson() const;
    /// Missing or mistyped members fall back: texts to empty, numbers to 0; a missing or null
    /// "MeasurementEnabled" keeps the current flag, any other non-bool gives false.
    void FromJson(QJsonObject jObject);

private:
    long m_lCompareType = 0;
    QString m_sHighValue;
    long m_lID = 0;
    QString m_sLowValue;
    bool m_bMeasurementEnabled = true;
};

} // namespace OrvelFramework

#pragma once

#include "MainDataAccess_export.h"

#include <QJsonObject>
#include <QString>

namespace OrvelFramework
{

/// One measurement result entry of a user profile: identifier, display name, category, limit
/// texts, default unit and whether the user selected it. All texts carry no further meaning
/// for the library.
class MDA_EXPORT CProfileMeasurementResultsItem
{
public:
    ///@{
    /// The name of a member in the record's JSON object.
    static inline const QString c_sKeyCategory = QStringLiteral("Category");
    static inline const QString c_sKeyCompareValues = QStringLiteral("CompareValues");
    static inline const QString c_sKeyDefaultUnit = QStringLiteral("DefaultUnit");
    static inline const QString c_sKeyDisplayName = QStringLiteral("DisplayName");
    static inline const QString c_sKeyEqualValue = QStringLiteral("EqualValue");
    static inline const QString c_sKeyID = QStringLiteral("ID");
    static inline const QString c_sKeyMaxValue = QStringLiteral("MaxValue");
    static inline const QString c_sKeyMinValue = QStringLiteral("MinValue");
    static inline const QString c_sKeyNotEqualValue = QStringLiteral("NotEqualValue");
    static inline const QString c_sKeySelected = QStringLiteral("Selected");
    ///@}

    /// An empty record.
    CProfileMeasurementResultsItem() = default;
    /// The record read from jObject, as FromJson() reads it.
    explicit CProfileMeasurementResultsItem(const QJsonObject& jObject);
    /// A copy of the record.
    CProfileMeasurementResultsItem(const CProfileMeasurementResultsItem&) = default;
    /// Takes the other record's fields.
    CProfileMeasurementResultsItem& operator=(const CProfileMeasurementResultsItem&) = default;
    virtual ~CProfileMeasurementResultsItem() = default;

    ///@{
    /// The field of the JSON member of that name.
    const QString& GetCategory() const { return m_sCategory; }
    const QString& GetCompareValues() const { return m_sCompareValues; }
    const QString& GetDefaultUnit() const { return m_sDefaultUnit; }
    const QString& GetDisplayName() const { return m_sDisplayName; }
    const QString& GetEqualValue() const { return m_sEqualValue; }
    const QString& GetID() const { return m_sID; }
    const QString& GetMaxValue() const { return m_sMaxValue; }
    const QString& GetMinValue() const { return m_sMinValue; }
    const QString& GetNotEqualValue() const { return m_sNotEqualValue; }
    bool GetSelected() const { return m_bSelected; }
    ///@}
    ///@{
    /// Sets the field of the JSON member of that name.
    void SetCategory(const QString& s) { m_sCategory = s; }
    void SetCompareValues(const QString& s) { m_sCompareValues = s; }
    void SetDefaultUnit(const QString& s) { m_sDefaultUnit = s; }
    void SetDisplayName(const QString& s) { m_sDisplayName = s; }
    void SetEqualValue(const QString& s) { m_sEqualValue = s; }
    void SetID(const QString& s) { m_sID = s; }
    void SetMaxValue(const QString& s) { m_sMaxValue = s; }
    void SetMinValue(const QString& s) { m_sMinValue = s; }
    void SetNotEqualValue(const QString& s) { m_sNotEqualValue = s; }
    void SetSelected(bool b) { m_bSelected = b; }
    ///@}

    /// The record as a JSON object.
    QJsonObject ToJson() const;
    /// Texts missing or not strings give empty text; "Selected" missing or not a bool gives
    /// false.
    void FromJson(QJsonObject jObject);

private:
    QString m_sCategory;
    QString m_sCompareValues;
    QString m_sDefaultUnit;
    QString m_sDisplayName;
    QString m_sEqualValue;
    QString m_sID;
    QString m_sMaxValue;
    QString m_sMinValue;
    QString m_sNotEqualValue;
    bool m_bSelected = false;
};

} // namespace OrvelFramework

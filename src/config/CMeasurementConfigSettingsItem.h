#pragma once

#include "MainDataAccess_export.h"

#include <QJsonObject>
#include <QString>

namespace OrvelFramework
{

/// One named entry of a measurement configuration: a name and its value, both text.
class MDA_EXPORT CMeasurementConfigSettingsItem
{
public:
    ///@{
    /// The name of a member in the record's JSON object.
    static inline const QString c_sKeyName = QStringLiteral("Name");
    static inline const QString c_sKeyValue = QStringLiteral("Value");
    ///@}

    /// An empty record.
    CMeasurementConfigSettingsItem() = default;
    /// The record read from jObject, as FromJson() reads it.
    explicit CMeasurementConfigSettingsItem(const QJsonObject& jObject);
    /// A copy of the record.
    CMeasurementConfigSettingsItem(const CMeasurementConfigSettingsItem&) = default;
    /// Takes the other record's fields.
    CMeasurementConfigSettingsItem& operator=(const CMeasurementConfigSettingsItem&) = default;
    virtual ~CMeasurementConfigSettingsItem() = default;

    ///@{
    /// The field of the JSON member of that name.
    const QString& GetName() const { return m_sName; }
    const QString& GetValue() const { return m_sValue; }
    ///@}
    ///@{
    /// Sets the field of the JSON member of that name.
    void SetName(const QString& sName) { m_sName = sName; }
    void SetValue(const QString& sValue) { m_sValue = sValue; }
    ///@}

    /// The record as a JSON object.
    QJsonObject ToJson() const;
    /// A missing member, or one that is not a string, gives empty text.
    void FromJson(QJsonObject jObject);

private:
    QString m_sName;
    QString m_sValue;
};

} // namespace OrvelFramework

#pragma once

#include "MainDataAccess_export.h"

#include <QJsonObject>
#include <QString>

namespace OrvelFramework
{

/// One named device setting: a name and its value, both text.
class MDA_EXPORT CDeviceSettingsItem
{
public:
    static inline const QString c_sKeyName = QStringLiteral("Name");
    static inline const QString c_sKeyValue = QStringLiteral("Value");

    CDeviceSettingsItem() = default;
    explicit CDeviceSettingsItem(const QJsonObject& jObject);
    CDeviceSettingsItem(const CDeviceSettingsItem&) = default;
    CDeviceSettingsItem& operator=(const CDeviceSettingsItem&) = default;
    virtual ~CDeviceSettingsItem() = default;

    const QString& GetName() const { return m_sName; }
    const QString& GetValue() const { return m_sValue; }
    void SetName(const QString& sName) { m_sName = sName; }
    void SetValue(const QString& sValue) { m_sValue = sValue; }

    QJsonObject ToJson() const;
    /// A missing member, or one that is not a string, gives empty text.
    void FromJson(QJsonObject jObject);

private:
    QString m_sName;
    QString m_sValue;
};

} // namespace OrvelFramework

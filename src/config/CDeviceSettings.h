#pragma once

#include "MainDataAccess_export.h"

#include "CDeviceSettingsItem.h"

#include <QJsonArray>

#include <vector>

namespace OrvelFramework
{

/// The name/value list of the device settings document, in list order.
class MDA_EXPORT CDeviceSettings
{
public:
    static inline const QString c_sKeyDeviceSettingsItem = QStringLiteral("DeviceSettingsItem");

    CDeviceSettings() = default;
    explicit CDeviceSettings(const QJsonArray& jArray);
    CDeviceSettings(const CDeviceSettings&) = default;
    CDeviceSettings& operator=(const CDeviceSettings&) = default;
    virtual ~CDeviceSettings() = default;

    std::vector<CDeviceSettingsItem>& GetDeviceSettingsItem() { return m_Items; }
    const std::vector<CDeviceSettingsItem>& GetDeviceSettingsItem() const { return m_Items; }
    void SetDeviceSettingsItem(const std::vector<CDeviceSettingsItem>& items) { m_Items = items; }

    QJsonArray ToJson() const;
    /// Replaces the items by the array's elements; an element that is no object gives an
    /// empty item.
    void FromJson(const QJsonArray& jArray);

private:
    std::vector<CDeviceSettingsItem> m_Items;
};

} // namespace OrvelFramework

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
    /// The member of the document that holds the item array.
    static inline const QString c_sKeyDeviceSettingsItem = QStringLiteral("DeviceSettingsItem");

    /// An empty list.
    CDeviceSettings() = default;
    /// The list read from jArray, as FromJson() reads it.
    explicit CDeviceSettings(const QJsonArray& jArray);
    /// A copy of the list.
    CDeviceSettings(const CDeviceSettings&) = default;
    /// Takes the other list's items.
    CDeviceSettings& operator=(const CDeviceSettings&) = default;
    virtual ~CDeviceSettings() = default;

    /// The items, for changing them.
    std::vector<CDeviceSettingsItem>& GetDeviceSettingsItem() { return m_Items; }
    /// The items.
    const std::vector<CDeviceSettingsItem>& GetDeviceSettingsItem() const { return m_Items; }
    /// Replaces the items.
    void SetDeviceSettingsItem(const std::vector<CDeviceSettingsItem>& items) { m_Items = items; }

    /// The items as a JSON array.
    QJsonArray ToJson() const;
    /// Replaces the items by the array's elements; an element that is no object gives an
    /// empty item.
    void FromJson(const QJsonArray& jArray);

private:
    std::vector<CDeviceSettingsItem> m_Items;
};

} // namespace OrvelFramework

#pragma once

#include "MainDataAccess_export.h"

#include "CMeasurementConfigSettingsItem.h"

#include <QJsonArray>

#include <vector>

namespace OrvelFramework
{

/// The name/value list of a measurement configuration document, in list order.
class MDA_EXPORT CMeasurementConfigSettings
{
public:
    /// The member of the document that holds the item array.
    static inline const QString c_sKeyMeasurementConfigSettingsItem =
        QStringLiteral("MeasurementConfigSettingsItem");

    /// An empty list.
    CMeasurementConfigSettings() = default;
    /// The list read from jArray, as FromJson() reads it.
    explicit CMeasurementConfigSettings(const QJsonArray& jArray);
    /// A copy of the list.
    CMeasurementConfigSettings(const CMeasurementConfigSettings&) = default;
    /// Takes the other list's items.
    CMeasurementConfigSettings& operator=(const CMeasurementConfigSettings&) = default;
    virtual ~CMeasurementConfigSettings() = default;

    /// The items, for changing them.
    std::vector<CMeasurementConfigSettingsItem>& GetMeasurementConfigSettingsItem()
    {
        return m_Items;
    }
    /// The items.
    const std::vector<CMeasurementConfigSettingsItem>& GetMeasurementConfigSettingsItem() const
    {
        return m_Items;
    }
    /// Replaces the items.
    void SetMeasurementConfigSettingsItem(const std::vector<CMeasurementConfigSettingsItem>& items)
    {
        m_Items = items;
    }

    /// The items as a JSON array.
    QJsonArray ToJson() const;
    /// Replaces the items by the array's elements; an element that is no object gives an
    /// empty item.
    void FromJson(const QJsonArray& jArray);

private:
    std::vector<CMeasurementConfigSettingsItem> m_Items;
};

} // namespace OrvelFramework

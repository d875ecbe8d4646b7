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
    static inline const QString c_sKeyMeasurementConfigSettingsItem =
        QStringLiteral("MeasurementConfigSettingsItem");

    CMeasurementConfigSettings() = default;
    explicit CMeasurementConfigSettings(const QJsonArray& jArray);
    CMeasurementConfigSettings(const CMeasurementConfigSettings&) = default;
    CMeasurementConfigSettings& operator=(const CMeasurementConfigSettings&) = default;
    virtual ~CMeasurementConfigSettings() = default;

    std::vector<CMeasurementConfigSettingsItem>& GetMeasurementConfigSettingsItem()
    {
        return m_Items;
    }
    const std::vector<CMeasurementConfigSettingsItem>& GetMeasurementConfigSettingsItem() const
    {
        return m_Items;
    }
    void SetMeasurementConfigSettingsItem(const std::vector<CMeasurementConfigSettingsItem>& items)
    {
        m_Items = items;
    }

    QJsonArray ToJson() const;
    /// Replaces the items by the array's elements; an element that is no object gives an
    /// empty item.
    void FromJson(const QJsonArray& jArray);

private:
    std::vector<CMeasurementConfigSettingsItem> m_Items;
};

} // namespace OrvelFramework

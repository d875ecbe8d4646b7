#pragma once

#include "MainDataAccess_export.h"

#include "CProfileSettingsItem.h"

#include <QJsonArray>

#include <vector>

namespace OrvelFramework
{

/// The settings entries of a user profile, in document order.
class MDA_EXPORT CProfileSettings
{
public:
    static inline const QString c_sKeyProfileSettingsItem = QStringLiteral("ProfileSettingsItem");

    CProfileSettings() = default;
    explicit CProfileSettings(const QJsonArray& jArray);
    CProfileSettings(const CProfileSettings&) = default;
    CProfileSettings& operator=(const CProfileSettings&) = default;
    virtual ~CProfileSettings() = default;

    std::vector<CProfileSettingsItem>& GetProfileSettingsItem() { return m_Items; }
    const std::vector<CProfileSettingsItem>& GetProfileSettingsItem() const { return m_Items; }
    void SetProfileSettingsItem(const std::vector<CProfileSettingsItem>& items) { m_Items = items; }

    QJsonArray ToJson() const;
    /// Appends the array's elements to the items already held; an element that is no object
    /// gives an empty item.
    void FromJson(const QJsonArray& jArray);

private:
    std::vector<CProfileSettingsItem> m_Items;
};

} // namespace OrvelFramework

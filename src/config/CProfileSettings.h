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
    /// The member of the document that holds the item array.
    static inline const QString c_sKeyProfileSettingsItem = QStringLiteral("ProfileSettingsItem");

    /// An empty list.
    CProfileSettings() = default;
    /// The list read from jArray, as FromJson() reads it.
    explicit CProfileSettings(const QJsonArray& jArray);
    /// A copy of the list.
    CProfileSettings(const CProfileSettings&) = default;
    /// Takes the other list's items.
    CProfileSettings& operator=(const CProfileSettings&) = default;
    virtual ~CProfileSettings() = default;

    /// The items, for changing them.
    std::vector<CProfileSettingsItem>& GetProfileSettingsItem() { return m_Items; }
    /// The items.
    const std::vector<CProfileSettingsItem>& GetProfileSettingsItem() const { return m_Items; }
    /// Replaces the items.
    void SetProfileSettingsItem(const std::vector<CProfileSettingsItem>& items) { m_Items = items; }

    /// The items as a JSON array.
    QJsonArray ToJson() const;
    /// Appends the array's elements to the items already held; an element that is no object
    /// gives an empty item.
    void FromJson(const QJsonArray& jArray);

private:
    std::vector<CProfileSettingsItem> m_Items;
};

} // namespace OrvelFramework

#pragma once

#include "MainDataAccess_export.h"

#include <QJsonObject>
#include <QString>

namespace OrvelFramework
{

/// One settings entry of a user profile: identifier, display name, category and whether the
/// user selected it. All texts carry no further meaning for the library.
class MDA_EXPORT CProfileSettingsItem
{
public:
    ///@{
    /// The name of a member in the record's JSON object.
    static inline const QString c_sKeyCategory = QStringLiteral("Category");
    static inline const QString c_sKeyDisplayName = QStringLiteral("DisplayName");
    static inline const QString c_sKeyID = QStringLiteral("ID");
    static inline const QString c_sKeySelected = QStringLiteral("Selected");
    ///@}

    /// An empty record.
    CProfileSettingsItem() = default;
    /// The record read from jObject, as FromJson() reads it.
    explicit CProfileSettingsItem(const QJsonObject& jObject);
    /// A copy of the record.
    CProfileSettingsItem(const CProfileSettingsItem&) = default;
    /// Takes the other record's fields.
    CProfileSettingsItem& operator=(const CProfileSettingsItem&) = default;
    virtual ~CProfileSettingsItem() = default;

    ///@{
    /// The field of the JSON member of that name.
    const QString& GetCategory() const { return m_sCategory; }
    const QString& GetDisplayName() const { return m_sDisplayName; }
    const QString& GetID() const { return m_sID; }
    bool GetSelected() const { return m_bSelected; }
    ///@}
    ///@{
    /// Sets the field of the JSON member of that name.
    void SetCategory(const QString& s) { m_sCategory = s; }
    void SetDisplayName(const QString& s) { m_sDisplayName = s; }
    void SetID(const QString& s) { m_sID = s; }
    void SetSelected(bool b) { m_bSelected = b; }
    ///@}

    /// The record as a JSON object.
    QJsonObject ToJson() const;
    /// Texts missing or not strings give empty text; "Selected" missing or not a bool gives
    /// false.
    void FromJson(QJsonObject jObject);

private:
    QString m_sCategory;
    QString m_sDisplayName;
    QString m_sID;
    bool m_bSelected = false;
};

} // namespace OrvelFramework

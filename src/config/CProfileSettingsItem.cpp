#include "CProfileSettingsItem.h"

namespace OrvelFramework
{

CProfileSettingsItem::CProfileSettingsItem(const QJsonObject& jObject)
{
    FromJson(jObject);
}

QJsonObject CProfileSettingsItem::ToJson() const
{
    QJsonObject jObject;
    jObject.insert(c_sKeyCategory, m_sCategory);
    jObject.insert(c_sKeyDisplayName, m_sDisplayName);
    jObject.insert(c_sKeyID, m_sID);
    jObject.insert(c_sKeySelected, m_bSelected);
    return jObject;
}

void CProfileSettingsItem::FromJson(QJsonObject jObject)
{
    m_sCategory = jObject[c_sKeyCategory].toString();
    m_sDisplayName = jObject[c_sKeyDisplayName].toString();
    m_sID = jObject[c_sKeyID].toString();
    m_bSelected = jObject[c_sKeySelected].toBool(false);
}

} // namespace OrvelFramework

#include "CMeasurementConfigSettingsItem.h"

namespace OrvelFramework
{

CMeasurementConfigSettingsItem::CMeasurementConfigSettingsItem(const QJsonObject& jObject)
{
    FromJson(jObject);
}

QJsonObject CMeasurementConfigSettingsItem::ToJson() const
{
    QJsonObject jObject;
    jObject.insert(c_sKeyName, m_sName);
    jObject.insert(c_sKeyValue, m_sValue);
    return jObject;
}

void CMeasurementConfigSettingsItem::FromJson(QJsonObject jObject)
{
    // jObject is a private copy: operator[] on it may add members without the caller seeing it.
    m_sName = jObject[c_sKeyName].toString();
    m_sValue = jObject[c_sKeyValue].toString();
}

} // namespace OrvelFramework

#include "CProfile.h"

namespace OrvelFramework
{

CProfile::CProfile(const QJsonObject& jObject)
{
    FromJson(jObject);
}

QJsonObject CProfile::ToJson() const
{
    QJsonObject jObject;
    jObject.insert(c_sKeyProfileMeasurementResults, m_MeasurementResults.ToJson());
    jObject.insert(c_sKeyProfileSettings, m_Settings.ToJson());
    return jObject;
}

void CProfile::FromJson(QJsonObject jObject)
{
    m_MeasurementResults.FromJson(jObject[c_sKeyProfileMeasurementResults].toArray());
    m_Settings.FromJson(jObject[c_sKeyProfileSettings].toArray());
}

} // namespace OrvelFramework

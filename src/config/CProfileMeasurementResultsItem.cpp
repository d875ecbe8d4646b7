#include "CProfileMeasurementResultsItem.h"

namespace OrvelFramework
{

CProfileMeasurementResultsItem::CProfileMeasurementResultsItem(const QJsonObject& jObject)
{
    FromJson(jObject);
}

QJsonObject CProfileMeasurementResultsItem::ToJson() const
{
    QJsonObject jObject;
    jObject.insert(c_sKeyCategory, m_sCategory);
    jObject.insert(c_sKeyCompareValues, m_sCompareValues);
    jObject.insert(c_sKeyDefaultUnit, m_sDefaultUnit);
    jObject.insert(c_sKeyDisplayName, m_sDisplayName);
    jObject.insert(c_sKeyEqualValue, m_sEqualValue);
    jObject.insert(c_sKeyID, m_sID);
    jObject.insert(c_sKeyMaxValue, m_sMaxValue);
    jObject.insert(c_sKeyMinValue, m_sMinValue);
    jObject.insert(c_sKeyNotEqualValue, m_sNotEqualValue);
    jObject.insert(c_sKeySelected, m_bSelected);
    return jObject;
}

void CProfileMeasurementResultsItem::FromJson(QJsonObject jObject)
{
    m_sCategory = jObject[c_sKeyCategory].toString();
    m_sCompareValues = jObject[c_sKeyCompareValues].toString();
    m_sDefaultUnit = jObject[c_sKeyDefaultUnit].toString();
    m_sDisplayName = jObject[c_sKeyDisplayName].toString();
    m_sEqualValue = jObject[c_sKeyEqualValue].toString();
    m_sID = jObject[c_sKeyID].toString();
    m_sMaxValue = jObject[c_sKeyMaxValue].toString();
    m_sMinValue = jObject[c_sKeyMinValue].toString();
    m_sNotEqualValue = jObject[c_sKeyNotEqualValue].toString();
    m_bSelected = jObject[c_sKeySelected].toBool(false);
}

} // namespace OrvelFramework

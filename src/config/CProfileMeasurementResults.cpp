#include "CProfileMeasurementResults.h"

namespace OrvelFramework
{

CProfileMeasurementResults::CProfileMeasurementResults(const QJsonArray& jArray)
{
    FromJson(jArray);
}

QJsonArray CProfileMeasurementResults::ToJson() const
{
    QJsonArray jArray;
    for (const auto& item : m_Items)
    {
        jArray.append(item.ToJson());
    }
    return jArray;
}

void CProfileMeasurementResults::FromJson(const QJsonArray& jArray)
{
    // Profiles are merged: reading never drops what the caller already holds.
    m_Items.reserve(m_Items.size() + static_cast<size_t>(jArray.size()));
    for (const auto& jValue : jArray)
    {
        m_Items.emplace_back(jValue.toObject());
    }
}

} // namespace OrvelFramework

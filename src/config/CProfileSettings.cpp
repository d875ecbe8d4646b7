#include "CProfileSettings.h"

namespace OrvelFramework
{

CProfileSettings::CProfileSettings(const QJsonArray& jArray)
{
    FromJson(jArray);
}

QJsonArray CProfileSettings::ToJson() const
{
    QJsonArray jArray;
    for (const auto& item : m_Items)
    {
        jArray.append(item.ToJson());
    }
    return jArray;
}

void CProfileSettings::FromJson(const QJsonArray& jArray)
{
    // Profiles are merged: reading never drops what the caller already holds.
    m_Items.reserve(m_Items.size() + static_cast<size_t>(jArray.size()));
    for (const auto& jValue : jArray)
    {
        m_Items.emplace_back(jValue.toObject());
    }
}

} // namespace OrvelFramework

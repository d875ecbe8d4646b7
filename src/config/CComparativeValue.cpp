#include "CComparativeValue.h"

namespace OrvelFramework
{

CComparativeValue::CComparativeValue(const QJsonArray& jArray)
{
    FromJson(jArray);
}

QJsonArray CComparativeValue::ToJson() const
{
    QJsonArray jArray;
    for (const auto& item : m_Items)
    {
        jArray.append(item.ToJson());
    }
    return jArray;
}

void CComparativeValue::FromJson(const QJsonArray& jArray)
{
    m_Items.clear();
    m_Items.reserve(static_cast<size_t>(jArray.size()));
    for (const auto& jValue : jArray)
    {
        m_Items.emplace_back(jValue.toObject());
    }
}

} // namespace OrvelFramework

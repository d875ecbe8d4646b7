#pragma once

#include "MainDataAccess_export.h"

#include "CComparativeValueItem.h"

#include <QJsonArray>

#include <vector>

namespace OrvelFramework
{

/// The limit records of a limit file, in file order.
class MDA_EXPORT CComparativeValue
{
public:
    static inline const QString c_sKeyComparativeValueDataItem =
        QStringLiteral("ComparativeValueDataItem");

    CComparativeValue() = default;
    explicit CComparativeValue(const QJsonArray& jArray);
    CComparativeValue(const CComparativeValue&) = default;
    CComparativeValue& operator=(const CComparativeValue&) = default;
    virtual ~CComparativeValue() = default;

    std::vector<CComparativeValueItem>& GetComparativeValueDataItem() { return m_Items; }
    const std::vector<CComparativeValueItem>& GetComparativeValueDataItem() const
    {
        return m_Items;
    }
    void SetComparativeValueDataItem(const std::vector<CComparativeValueItem>& items)
    {
        m_Items = items;
    }

    QJsonArray ToJson() const;
    /// Replaces the items by the array's elements; an element that is no object gives an
    /// empty item.
    void FromJson(const QJsonArray& jArray);

private:
    std::vector<CComparativeValueItem> m_Items;
};

} // namespace OrvelFramework

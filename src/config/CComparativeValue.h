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
    /// The member of the document that holds the item array.
    static inline const QString c_sKeyComparativeValueDataItem =
        QStringLiteral("ComparativeValueDataItem");

    /// An empty list.
    CComparativeValue() = default;
    /// The list read from jArray, as FromJson() reads it.
    explicit CComparativeValue(const QJsonArray& jArray);
    /// A copy of the list.
    CComparativeValue(const CComparativeValue&) = default;
    /// Takes the other list's items.
    CComparativeValue& operator=(const CComparativeValue&) = default;
    virtual ~CComparativeValue() = default;

    /// The items, for changing them.
    std::vector<CComparativeValueItem>& GetComparativeValueDataItem() { return m_Items; }
    /// The items.
    const std::vector<CComparativeValueItem>& GetComparativeValueDataItem() const
    {
        return m_Items;
    }
    /// Replaces the items.
    void SetComparativeValueDataItem(const std::vector<CComparativeValueItem>& items)
    {
        m_Items = items;
    }

    /// The items as a JSON array.
    QJsonArray ToJson() const;
    /// Replaces the items by the array's elements; an element that is no object gives an
    /// empty item.
    void FromJson(const QJsonArray& jArray);

private:
    std::vector<CComparativeValueItem> m_Items;
};

} // namespace OrvelFramework

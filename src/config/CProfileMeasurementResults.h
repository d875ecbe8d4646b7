#pragma once

#include "MainDataAccess_export.h"

#include "CProfileMeasurementResultsItem.h"

#include <QJsonArray>

#include <vector>

namespace OrvelFramework
{

/// The measurement result entries of a user profile, in document order.
class MDA_EXPORT CProfileMeasurementResults
{
public:
    /// The member of the document that holds the item array.
    static inline const QString c_sKeyProfileMeasurementResultsItem =
        QStringLiteral("ProfileMeasurementResultsItem");

    /// An empty list.
    CProfileMeasurementResults() = default;
    /// The list read from jArray, as FromJson() reads it.
    explicit CProfileMeasurementResults(const QJsonArray& jArray);
    /// A copy of the list.
    CProfileMeasurementResults(const CProfileMeasurementResults&) = default;
    /// Takes the other list's items.
    CProfileMeasurementResults& operator=(const CProfileMeasurementResults&) = default;
    virtual ~CProfileMeasurementResults() = default;

    /// The items, for changing them.
    std::vector<CProfileMeasurementResultsItem>& GetProfileMeasurementResultsItem()
    {
        return m_Items;
    }
    /// The items.
    const std::vector<CProfileMeasurementResultsItem>& GetProfileMeasurementResultsItem() const
    {
        return m_Items;
    }
    /// Replaces the items.
    void SetProfileMeasurementResultsItem(const std::vector<CProfileMeasurementResultsItem>& items)
    {
        m_Items = items;
    }

    /// The items as a JSON array.
    QJsonArray ToJson() const;
    /// Appends the array's elements to the items already held; an element that is no object
    /// gives an empty item.
    void FromJson(const QJsonArray& jArray);

private:
    std::vector<CProfileMeasurementResultsItem> m_Items;
};

} // namespace OrvelFramework

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
    static inline const QString c_sKeyProfileMeasurementResultsItem =
        QStringLiteral("ProfileMeasurementResultsItem");

    CProfileMeasurementResults() = default;
    explicit CProfileMeasurementResults(const QJsonArray& jArray);
    CProfileMeasurementResults(const CProfileMeasurementResults&) = default;
    CProfileMeasurementResults& operator=(const CProfileMeasurementResults&) = default;
    virtual ~CProfileMeasurementResults() = default;

    std::vector<CProfileMeasurementResultsItem>& GetProfileMeasurementResultsItem()
    {
        return m_Items;
    }
    const std::vector<CProfileMeasurementResultsItem>& GetProfileMeasurementResultsItem() const
    {
        return m_Items;
    }
    void SetProfileMeasurementResultsItem(const std::vector<CProfileMeasurementResultsItem>& items)
    {
        m_Items = items;
    }

    QJsonArray ToJson() const;
    /// Appends the array's elements to the items already held; an element that is no object
    /// gives an empty item.
    void FromJson(const QJsonArray& jArray);

private:
    std::vector<CProfileMeasurementResultsItem> m_Items;
};

} // namespace OrvelFramework

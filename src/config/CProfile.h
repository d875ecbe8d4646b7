#pragma once

#include "MainDataAccess_export.h"

#include "CProfileMeasurementResults.h"
#include "CProfileSettings.h"

#include <QJsonObject>

namespace OrvelFramework
{

/// A user profile: the measurement results and the settings a user selected. Reading and
/// writing the file is the caller's (CUtilJson).
class MDA_EXPORT CProfile
{
public:
    static inline const QString c_sKeyProfileMeasurementResults =
        QStringLiteral("ProfileMeasurementResults");
    static inline const QString c_sKeyProfileSettings = QStringLiteral("ProfileSettings");

    CProfile() = default;
    explicit CProfile(const QJsonObject& jObject);
    CProfile(const CProfile&) = default;
    CProfile& operator=(const CProfile&) = default;
    virtual ~CProfile() = default;

    CProfileMeasurementResults& GetProfileMeasurementResults() { return m_MeasurementResults; }
    const CProfileMeasurementResults& GetProfileMeasurementResults() const
    {
        return m_MeasurementResults;
    }
    CProfileSettings& GetProfileSettings() { return m_Settings; }
    const CProfileSettings& GetProfileSettings() const { return m_Settings; }
    void SetProfileMeasurementResults(const CProfileMeasurementResults& results)
    {
        m_MeasurementResults = results;
    }
    void SetProfileSettings(const CProfileSettings& settings) { m_Settings = settings; }

    QJsonObject ToJson() const;
    /// Appends both arrays to the lists already held; a missing or non-array member adds
    /// nothing.
    void FromJson(QJsonObject jObject);

private:
    CProfileMeasurementResults m_MeasurementResults;
    CProfileSettings m_Settings;
};

} // namespace OrvelFramework

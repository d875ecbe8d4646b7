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
    /// The member that holds the measurement result entries.
    static inline const QString c_sKeyProfileMeasurementResults =
        QStringLiteral("ProfileMeasurementResults");
    /// The member that holds the settings entries.
    static inline const QString c_sKeyProfileSettings = QStringLiteral("ProfileSettings");

    /// An empty profile.
    CProfile() = default;
    /// The profile read from jObject, as FromJson() reads it.
    explicit CProfile(const QJsonObject& jObject);
    /// A copy of the profile.
    CProfile(const CProfile&) = default;
    /// Takes the other profile's entries.
    CProfile& operator=(const CProfile&) = default;
    virtual ~CProfile() = default;

    /// The measurement result entries, for changing them.
    CProfileMeasurementResults& GetProfileMeasurementResults() { return m_MeasurementResults; }
    /// The measurement result entries.
    const CProfileMeasurementResults& GetProfileMeasurementResults() const
    {
        return m_MeasurementResults;
    }
    /// The settings entries, for changing them.
    CProfileSettings& GetProfileSettings() { return m_Settings; }
    /// The settings entries.
    const CProfileSettings& GetProfileSettings() const { return m_Settings; }
    /// Replaces the measurement result entries.
    void SetProfileMeasurementResults(const CProfileMeasurementResults& results)
    {
        m_MeasurementResults = results;
    }
    /// Replaces the settings entries.
    void SetProfileSettings(const CProfileSettings& settings) { m_Settings = settings; }

    /// The profile as a JSON object with both arrays.
    QJsonObject ToJson() const;
    /// Appends both arrays to the lists already held; a missing or non-array member adds
    /// nothing.
    void FromJson(QJsonObject jObject);

private:
    CProfileMeasurementResults m_MeasurementResults;
    CProfileSettings m_Settings;
};

} // namespace OrvelFramework

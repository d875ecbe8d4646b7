#pragma once

#include "MainDataAccess_export.h"

#include "CMeasurementConfigSettings.h"

#include <QString>

namespace LumoraMeasurement
{

inline const QString c_sJsonDeviceSettingFile = QStringLiteral("DeviceSettingFile");
inline const QString c_sJsonComparativeValuesFile = QStringLiteral("ComparativeValuesFile");
inline const QString c_sJsonChannelTableFile = QStringLiteral("ChannelTableFile");
inline const QString c_sJsonUniqueIdentifier = QStringLiteral("UniqueIdentifier");
inline const QString c_sJsonDescription = QStringLiteral("Description");
inline const QString c_sJsonLimitsettingsTimestamp = QStringLiteral("Limitsettings Timestamp");
inline const QString c_sJsonDevicesettingsTimestamp = QStringLiteral("Devicesettings Timestamp");
inline const QString c_sJsonChannelsettingsTimestamp = QStringLiteral("Channelsettings Timestamp");

/// A measurement configuration: names the device settings, limit and channel table files of
/// one configuration, carries its unique identifier and description, and records when each
/// of the three documents was last changed. All entries are texts in a name/value list.
class MDA_EXPORT CMeasConfigData
{
public:
    /// Top-level member of the measurement configuration file.
    static inline const QString c_sKeyMeasurementConfigSettings =
        QStringLiteral("MeasurementConfigSettings");

    /// The entries a new measurement configuration file starts with.
    CMeasConfigData();
    /// A copy of the entries.
    CMeasConfigData(const CMeasConfigData&) = default;
    /// Takes the other configuration's entries.
    CMeasConfigData& operator=(const CMeasConfigData&) = default;
    ~CMeasConfigData();

    /// The first item named sName exactly; an empty item (bFound false) when there is none.
    const OrvelFramework::CMeasurementConfigSettingsItem& Contains(const QString& sName,
                                                                   bool& bFound) const;
    /// As the const Contains(), for changing the item.
    OrvelFramework::CMeasurementConfigSettingsItem& Contains(const QString& sName, bool& bFound);

    /// The whole list of entries, as the file holds it.
    const OrvelFramework::CMeasurementConfigSettings& GetMeasurementConfigSettings() const
    {
        return m_MeasurementConfigSettings;
    }

    ///@{
    /// The text of the entry; empty when the list lacks it.
    QString DeviceSettingFile() const;
    QString ComparativeValuesFile() const;
    QString ChannelTableFile() const;
    QString UniqueIdentifier() const;
    QString Description() const;
    QString LimitsettingsTimestamp() const;
    QString DevicesettingsTimestamp() const;
    QString ChannelsettingsTimestamp() const;
    ///@}

    /// Each false when the entry is missing or already holds the text.
    bool SetDeviceSettingFile(const QString& sValue);
    ///@{
    /// Sets the entry's text; false when the entry is missing or already holds the text.
    bool SetComparativeValuesFile(const QString& sValue);
    bool SetChannelTableFile(const QString& sValue);
    bool SetDescription(const QString& sValue);
    bool SetTimestampLimitsettings(const QString& sValue);
    bool SetTimestampDevicesettings(const QString& sValue);
    bool SetTimestampChannelsettings(const QString& sValue);
    ///@}

    /// Gives an empty identifier a new unique one; an existing identifier is never replaced.
    void CreateUniqueIdentifier();

    /// Replaces the whole list by the file's; a file without the time stamps gets all three,
    /// empty, at its end. False when the file cannot be loaded; the list is then unchanged.
    bool Read(const QString& sFile);
    /// Writes the list as a measurement configuration file; false when it cannot be written.
    bool Write(const QString& sFile) const;

private:
    QString DoGetText(const QString& sName) const;
    bool DoSetText(const QString& sName, const QString& sValue);

    OrvelFramework::CMeasurementConfigSettings m_MeasurementConfigSettings;
    OrvelFramework::CMeasurementConfigSettingsItem m_EmptyItem;
};

} // namespace LumoraMeasurement

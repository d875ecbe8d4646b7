#pragma once

#include "CDeviceSettingsData.h"
#include "CMeasConfigData.h"

#include <QString>

namespace OrvelFramework
{
class CDatabaseMultiInstance;
}

namespace LumoraMeasurement
{

/// Brings back the configuration a stored session was measured with: the copies of its
/// channel table and limit file that the database registered when the session was created
/// are written out, so later edits of the original files change nothing about a past
/// session. Everything goes into one folder the caller gives and nowhere else; the
/// measurement configuration it produces is what CMeasurementResultData::LoadData reads.
class CSessionConfigurationRestorer
{
public:
    /// The file names written into the folder.
    static inline const QString c_sChannelFile = QStringLiteral("session.channel");
    static inline const QString c_sLimitFile = QStringLiteral("session.limit");
    static inline const QString c_sDeviceFile = QStringLiteral("session.device");
    static inline const QString c_sConfigFile = QStringLiteral("session.measconfig");

    /// The connection belongs to the caller and must stay open while Restore runs.
    explicit CSessionConfigurationRestorer(OrvelFramework::CDatabaseMultiInstance& rDatabase);

    /// Writes the session's registered channel table and limit file into sFolder (created
    /// when missing), device as the device settings, and a measurement configuration naming
    /// the three; config receives it. A non-empty sChannelFile or sLimitFile is named instead
    /// of the registered copy (and nothing is written for it). The device settings are
    /// written as given, password included: a folder that receives one must not outlive its
    /// use. False with LastError() when the session does not exist, a file was never
    /// registered, or a file cannot be written.
    bool Restore(long lSessionId, const QString& sFolder, const CDeviceSettingsData& device,
                 CMeasConfigData& config, const QString& sChannelFile = QString(),
                 const QString& sLimitFile = QString());

    /// The reason of the last failure in words; empty after success.
    QString LastError() const { return m_sLastError; }

private:
    bool Fail(const QString& sMessage);

    OrvelFramework::CDatabaseMultiInstance& m_rDatabase;
    QString m_sLastError;
};

} // namespace LumoraMeasurement

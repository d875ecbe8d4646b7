#include "CSessionConfigurationRestorer.h"

#include "CDBSessionControler.h"
#include "CDatabaseMultiInstance.h"
#include "CTableSession.h"

#include <QDir>
#include <QFile>

namespace LumoraMeasurement
{

CSessionConfigurationRestorer::CSessionConfigurationRestorer(
    OrvelFramework::CDatabaseMultiInstance& rDatabase)
    : m_rDatabase(rDatabase)
{
}

bool CSessionConfigurationRestorer::Fail(const QString& sMessage)
{
    m_sLastError = sMessage;
    return false;
}

bool CSessionConfigurationRestorer::Restore(long lSessionId, const QString& sFolder,
                                            const CDeviceSettingsData& device,
                                            CMeasConfigData& config, const QString& sChannelFile,
                                            const QString& sLimitFile)
{
    m_sLastError.clear();
    CDBSessionControler sessions(m_rDatabase);
    const CDBSessionData session = sessions.GetData(lSessionId);
    // GetData hands back a record carrying the id even when there is no such row.
    if (lSessionId < 1 || OrvelFramework::CTableSession(m_rDatabase).Get(lSessionId).empty())
    {
        return Fail(QStringLiteral("there is no session %1").arg(lSessionId));
    }
    const QDir folder(sFolder);
    if (sFolder.isEmpty() || !QDir().mkpath(sFolder))
    {
        return Fail(QStringLiteral("cannot create the folder '%1'").arg(sFolder));
    }
    QString sLimitId;
    QString sChannelId;
    session.GetAssociatedFiles(sLimitId, sChannelId);

    const QString sChannelPath =
        sChannelFile.isEmpty() ? folder.filePath(c_sChannelFile) : sChannelFile;
    const QString sLimitPath = sLimitFile.isEmpty() ? folder.filePath(c_sLimitFile) : sLimitFile;
    if (sChannelFile.isEmpty())
    {
        QFile::remove(sChannelPath);
        if (sChannelId.toLongLong() < 1)
        {
            return Fail(
                QStringLiteral("session %1 has no registered channel table").arg(lSessionId));
        }
        // A registration whose copy cannot be read (gone, or the read failed) says why.
        if (!sessions.GetChannelSettingsFileFromDB(sChannelId, sChannelPath))
        {
            return Fail(QStringLiteral("the channel table registered with session ") +
                        QString::number(lSessionId) + QStringLiteral(" cannot be read: ") +
                        sessions.LastError());
        }
    }
    if (sLimitFile.isEmpty())
    {
        QFile::remove(sLimitPath);
        if (sLimitId.toLongLong() < 1)
        {
            return Fail(QStringLiteral("session %1 has no registered limit file").arg(lSessionId));
        }
        if (!sessions.GetLimitValuesFileFromDB(sLimitId, sLimitPath))
        {
            return Fail(QStringLiteral("the limit file registered with session ") +
                        QString::number(lSessionId) + QStringLiteral(" cannot be read: ") +
                        sessions.LastError());
        }
    }
    const QString sDevicePath = folder.filePath(c_sDeviceFile);
    if (!device.Write(sDevicePath))
    {
        return Fail(QStringLiteral("cannot write '%1'").arg(sDevicePath));
    }
    config = CMeasConfigData();
    config.SetDescription(session.Description());
    config.SetDeviceSettingFile(sDevicePath);
    config.SetChannelTableFile(sChannelPath);
    config.SetComparativeValuesFile(sLimitPath);
    const QString sConfigPath = folder.filePath(c_sConfigFile);
    if (!config.Write(sConfigPath))
    {
        return Fail(QStringLiteral("cannot write '%1'").arg(sConfigPath));
    }
    return true;
}

} // namespace LumoraMeasurement

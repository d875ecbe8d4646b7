#pragma once

#include "MainDataAccess_export.h"

#include <QString>

namespace LumoraMeasurement
{

/// One measurement session as stored in the session table: who measured where with which
/// instrument, when, and which registered limit and channel files belong to it.
class MDA_EXPORT CDBSessionData
{
public:
    explicit CDBSessionData(qint64 lSessionId);
    /// Mind the order of the last two: channel file id before limit file id.
    CDBSessionData(qint64 lSessionId, const QString& sUniqueIdentifier, const QString& sDescription,
                   const QString& sFirstRun, const QString& sLastRun, const QString& sSite,
                   const QString& sTestPoint, const QString& sName, const QString& sENumber,
                   const QString& sTNumber, const QString& sEMail, const QString& sHWModel,
                   const QString& sFirmwareVersion, const QString& sSoftwareVersion,
                   const QString& sSerialNr, const QString& sOwner, long lScanCount,
                   QString sChannelFileId, QString sLimitFileId);
    CDBSessionData(const CDBSessionData&) = default;
    CDBSessionData(CDBSessionData&&) noexcept = default;
    CDBSessionData& operator=(const CDBSessionData&) = default;
    CDBSessionData& operator=(CDBSessionData&&) noexcept = default;
    virtual ~CDBSessionData() = default;

    qint64 GetSessionId() const { return m_lSessionId; }
    void SetSessionId(qint64 lSessionId) { m_lSessionId = lSessionId; }
    const QString& UniqueIdentifier() const { return m_sUniqueIdentifier; }
    void SetUniqueIdentifier(const QString& sUniqueIdentifier)
    {
        m_sUniqueIdentifier = sUniqueIdentifier;
    }
    const QString& Description() const { return m_sDescription; }
    void SetDescription(const QString& sDescription) { m_sDescription = sDescription; }
    const QString& FirstRun() const { return m_sFirstRun; }
    void SetFirstRun(const QString& sFirstRun) { m_sFirstRun = sFirstRun; }
    const QString& LastRun() const { return m_sLastRun; }
    void SetLastRun(const QString& sLastRun) { m_sLastRun = sLastRun; }
    long ScanCount() const { return m_lScanCount; }
    void SetScanCount(long lScanCount) { m_lScanCount = lScanCount; }

    void GetSessionLocationData(QString& sSite, QString& sTestPoint) const;
    void SetSessionLocationData(const QString& sSite, const QString& sTestPoint);
    void GetSessionUserData(QString& sName, QString& sENumber, QString& sTNumber,
                            QString& sEMail) const;
    void SetSessionUserData(const QString& sName, const QString& sENumber, const QString& sTNumber,
                            const QString& sEMail);
    void GetHardwareInfoData(QString& sHWModel, QString& sFirmwareVersion,
                             QString& sSoftwareVersion, QString& sSerialNr, QString& sOwner) const;
    void SetHardwareInfoData(const QString& sHWModel, const QString& sFirmwareVersion,
                             const QString& sSoftwareVersion, const QString& sSerialNr,
                             const QString& sOwner);
    void GetAssociatedFiles(QString& sLimitFileId, QString& sChannelFileId) const;
    /// Stores both row ids as decimal text.
    void SetAssociatedFiles(long lLimitFileId, long lChannelFileId);

private:
    qint64 m_lSessionId = 0;
    QString m_sUniqueIdentifier;
    QString m_sDescription;
    QString m_sFirstRun;
    QString m_sLastRun;
    long m_lScanCount = 0;
    QString m_sSite;
    QString m_sTestPoint;
    QString m_sName;
    QString m_sENumber;
    QString m_sTNumber;
    QString m_sEMail;
    QString m_sHWModel;
    QString m_sFirmwareVersion;
    QString m_sSoftwareVersion;
    QString m_sSerialNr;
    QString m_sOwner;
    QString m_sLimitFileId;
    QString m_sChannelFileId;
};

} // namespace LumoraMeasurement

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
    /// A session with that id, all texts empty and scan count 0; what reading a missing row gives.
    explicit CDBSessionData(qint64 lSessionId);
    /// Mind the order of the last two: channel file id before limit file id.
    CDBSessionData(qint64 lSessionId, const QString& sUniqueIdentifier, const QString& sDescription,
                   const QString& sFirstRun, const QString& sLastRun, const QString& sSite,
                   const QString& sTestPoint, const QString& sName, const QString& sENumber,
                   const QString& sTNumber, const QString& sEMail, const QString& sHWModel,
                   const QString& sFirmwareVersion, const QString& sSoftwareVersion,
                   const QString& sSerialNr, const QString& sOwner, long lScanCount,
                   QString sChannelFileId, QString sLimitFileId);
    /// A copy of the other record.
    CDBSessionData(const CDBSessionData&) = default;
    /// Takes the other record's fields.
    CDBSessionData(CDBSessionData&&) noexcept = default;
    /// Copies the other record's fields.
    CDBSessionData& operator=(const CDBSessionData&) = default;
    /// Takes the other record's fields.
    CDBSessionData& operator=(CDBSessionData&&) noexcept = default;
    virtual ~CDBSessionData() = default;

    /// The session's row id in the database; 0 for a record not read from it.
    qint64 GetSessionId() const { return m_lSessionId; }
    /// Sets the row that CDBSessionControler::Update() rewrites; below 1 makes it fail.
    void SetSessionId(qint64 lSessionId) { m_lSessionId = lSessionId; }
    /// The caller-chosen text that names the session; written once on creation, never updated.
    const QString& UniqueIdentifier() const { return m_sUniqueIdentifier; }
    /// CDBSessionControler::Update() leaves the stored identifier as it was; CreateCopy() writes
    /// it.
    void SetUniqueIdentifier(const QString& sUniqueIdentifier)
    {
        m_sUniqueIdentifier = sUniqueIdentifier;
    }
    /// Free text describing the session.
    const QString& Description() const { return m_sDescription; }
    /// Written by CDBSessionControler::Update().
    void SetDescription(const QString& sDescription) { m_sDescription = sDescription; }
    /// When the session was created, as "yyyy-MM-dd HH:mm:ss" local time; empty when not read.
    const QString& FirstRun() const { return m_sFirstRun; }
    /// CDBSessionControler::Update() leaves the stored first run alone; CreateCopy() writes it.
    void SetFirstRun(const QString& sFirstRun) { m_sFirstRun = sFirstRun; }
    /// When the session row was last updated, as "yyyy-MM-dd HH:mm:ss" local time; empty before the
    /// first update.
    const QString& LastRun() const { return m_sLastRun; }
    /// CDBSessionControler::Update() stamps the current time instead; CreateCopy() writes this.
    void SetLastRun(const QString& sLastRun) { m_sLastRun = sLastRun; }
    /// Number of scans; a session listing fills it from the scan table, 0 when the session has
    /// none.
    long ScanCount() const { return m_lScanCount; }
    /// CDBSessionControler::Update() never writes the scan count; CreateCopy() does.
    void SetScanCount(long lScanCount) { m_lScanCount = lScanCount; }

    /// Copies the site and the test point of the measurement into the two texts.
    void GetSessionLocationData(QString& sSite, QString& sTestPoint) const;
    /// Sets the site and the test point.
    void SetSessionLocationData(const QString& sSite, const QString& sTestPoint);
    /// Copies the measuring person's name, e-number, t-number and e-mail address, in that order.
    void GetSessionUserData(QString& sName, QString& sENumber, QString& sTNumber,
                            QString& sEMail) const;
    /// Sets the measuring person's data, same order as GetSessionUserData().
    void SetSessionUserData(const QString& sName, const QString& sENumber, const QString& sTNumber,
                            const QString& sEMail);
    /// Copies the instrument's model, firmware version, software version, serial number and owner,
    /// in that order.
    void GetHardwareInfoData(QString& sHWModel, QString& sFirmwareVersion,
                             QString& sSoftwareVersion, QString& sSerialNr, QString& sOwner) const;
    /// Sets the instrument data, same order as GetHardwareInfoData().
    void SetHardwareInfoData(const QString& sHWModel, const QString& sFirmwareVersion,
                             const QString& sSoftwareVersion, const QString& sSerialNr,
                             const QString& sOwner);
    /// The registered limit-values and channel-settings files of the session: their row ids as
    /// decimal text, limit file first; "0" when registering the file failed on creation.
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

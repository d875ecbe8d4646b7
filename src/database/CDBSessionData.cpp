#include "CDBSessionData.h"

#include <utility>

namespace LumoraMeasurement
{

CDBSessionData::CDBSessionData(qint64 lSessionId) : m_lSessionId(lSessionId) {}

CDBSessionData::CDBSessionData(qint64 lSessionId, const QString& sUniqueIdentifier,
                               const QString& sDescription, const QString& sFirstRun,
                               const QString& sLastRun, const QString& sSite,
                               const QString& sTestPoint, const QString& sName,
                               const QString& sENumber, const QString& sTNumber,
                               const QString& sEMail, const QString& sHWModel,
                               const QString& sFirmwareVersion, const QString& sSoftwareVersion,
                               const QString& sSerialNr, const QString& sOwner, long lScanCount,
                               QString sChannelFileId, QString sLimitFileId)
    : m_lSessionId(lSessionId), m_sUniqueIdentifier(sUniqueIdentifier),
      m_sDescription(sDescription), m_sFirstRun(sFirstRun), m_sLastRun(sLastRun),
      m_lScanCount(lScanCount), m_sSite(sSite), m_sTestPoint(sTestPoint), m_sName(sName),
      m_sENumber(sENumber), m_sTNumber(sTNumber), m_sEMail(sEMail), m_sHWModel(sHWModel),
      m_sFirmwareVersion(sFirmwareVersion), m_sSoftwareVersion(sSoftwareVersion),
      m_sSerialNr(sSerialNr), m_sOwner(sOwner), m_sLimitFileId(std::move(sLimitFileId)),
      m_sChannelFileId(std::move(sChannelFileId))
{
}

void CDBSessionData::GetSessionLocationData(QString& sSite, QString& sTestPoint) const
{
    sSite = m_sSite;
    sTestPoint = m_sTestPoint;
}

void CDBSessionData::SetSessionLocationData(const QString& sSite, const QString& sTestPoint)
{
    m_sSite = sSite;
    m_sTestPoint = sTestPoint;
}

void CDBSessionData::GetSessionUserData(QString& sName, QString& sENumber, QString& sTNumber,
                                        QString& sEMail) const
{
    sName = m_sName;
    sENumber = m_sENumber;
    sTNumber = m_sTNumber;
    sEMail = m_sEMail;
}

void CDBSessionData::SetSessionUserData(const QString& sName, const QString& sENumber,
                                        const QString& sTNumber, const QString& sEMail)
{
    m_sName = sName;
    m_sENumber = sENumber;
    m_sTNumber = sTNumber;
    m_sEMail = sEMail;
}

void CDBSessionData::GetHardwareInfoData(QString& sHWModel, QString& sFirmwareVersion,
                                         QString& sSoftwareVersion, QString& sSerialNr,
                                         QString& sOwner) const
{
    sHWModel = m_sHWModel;
    sFirmwareVersion = m_sFirmwareVersion;
    sSoftwareVersion = m_sSoftwareVersion;
    sSerialNr = m_sSerialNr;
    sOwner = m_sOwner;
}

void CDBSessionData::SetHardwareInfoData(const QString& sHWModel, const QString& sFirmwareVersion,
                                         const QString& sSoftwareVersion, const QString& sSerialNr,
                                         const QString& sOwner)
{
    m_sHWModel = sHWModel;
    m_sFirmwareVersion = sFirmwareVersion;
    m_sSoftwareVersion = sSoftwareVersion;
    m_sSerialNr = sSerialNr;
    m_sOwner = sOwner;
}

void CDBSessionData::GetAssociatedFiles(QString& sLimitFileId, QString& sChannelFileId) const
{
    sLimitFileId = m_sLimitFileId;
    sChannelFileId = m_sChannelFileId;
}

void CDBSessionData::SetAssociatedFiles(long lLimitFileId, long lChannelFileId)
{
    m_sLimitFileId = QString::number(lLimitFileId);
    m_sChannelFileId = QString::number(lChannelFileId);
}

} // namespace LumoraMeasurement

#include "CDBSessionControler.h"

#include "CDatabaseMultiInstance.h"
#include "COSAbstraction.h"
#include "CTableExportedChannelSettings.h"
#include "CTableExportedLimitValues.h"
#include "CTableSession.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

using OrvelFramework::COSAbstraction;
using OrvelFramework::CTableExportedChannelSettings;
using OrvelFramework::CTableExportedLimitValues;
using OrvelFramework::CTableRecordSet;
using OrvelFramework::CTableSession;
using OrvelFramework::TableRows;

namespace LumoraMeasurement
{

CDBSessionControler::CDBSessionControler(OrvelFramework::CDatabaseMultiInstance& rDatabase)
    : m_rDatabase(rDatabase)
{
}

bool CDBSessionControler::Create(long& lSessionId, const QString& sUniqueId,
                                 const QString& sDescription, const QString& sChannelSettingsFile,
                                 const QString& sLimitValuesFile, const QString& sTestPoint,
                                 const QString& sSite, const QString& sEMail,
                                 const QString& sENumber, const QString& sName,
                                 const QString& sTNumber, const QString& sHWModel,
                                 const QString& sFirmwareVersion, const QString& sSoftwareVersion,
                                 const QString& sSerialNr, const QString& sOwner)
{
    long lChannelFileId = 0;
    long lLimitFileId = 0;
    // A session without its files is still worth recording; the ids then stay 0.
    AddChannelSettingsFileToDB(sChannelSettingsFile, lChannelFileId);
    AddLimitValuesFileToDB(sLimitValuesFile, lLimitFileId);

    TableRows row;
    row.reserve(16);
    row.emplace_back(CTableSession::c_sColumnUniquIid, sUniqueId);
    row.emplace_back(CTableSession::c_sColumnDescription, sDescription);
    row.emplace_back(CTableSession::c_sColumnFirstRun, COSAbstraction::GetFormattedDateTime());
    row.emplace_back(CTableSession::c_sColumnChannelFileID, QString::number(lChannelFileId));
    row.emplace_back(CTableSession::c_sColumnLimitFileID, QString::number(lLimitFileId));
    row.emplace_back(CTableSession::c_sColumnSite, sSite);
    row.emplace_back(CTableSession::c_sColumnTestPoint, sTestPoint);
    row.emplace_back(CTableSession::c_sColumnName, sName);
    row.emplace_back(CTableSession::c_sColumnENumber, sENumber);
    row.emplace_back(CTableSession::c_sColumnTNumber, sTNumber);
    row.emplace_back(CTableSession::c_sColumnEMail, sEMail);
    row.emplace_back(CTableSession::c_sColumnHWMOdel, sHWModel);
    row.emplace_back(CTableSession::c_sColumnFirmwarVersion, sFirmwareVersion);
    row.emplace_back(CTableSession::c_sColumnSoftwareVersion, sSoftwareVersion);
    row.emplace_back(CTableSession::c_sColumnSerialNr, sSerialNr);
    row.emplace_back(CTableSession::c_sColumnOwner, sOwner);

    CTableSession table(m_rDatabase);
    return table.Create(row, lSessionId);
}

bool CDBSessionControler::Update(const CDBSessionData& data)
{
    if (data.GetSessionId() < 1)
    {
        return m_rDatabase.Fail(QStringLiteral("Cannot change session %1: session ids start at 1")
                                    .arg(data.GetSessionId()));
    }
    QString sSite, sTestPoint;
    QString sName, sENumber, sTNumber, sEMail;
    QString sHWModel, sFirmwareVersion, sSoftwareVersion, sSerialNr, sOwner;
    QString sLimitFileId, sChannelFileId;
    data.GetSessionLocationData(sSite, sTestPoint);
    data.GetSessionUserData(sName, sENumber, sTNumber, sEMail);
    data.GetHardwareInfoData(sHWModel, sFirmwareVersion, sSoftwareVersion, sSerialNr, sOwner);
    data.GetAssociatedFiles(sLimitFileId, sChannelFileId);

    TableRows row;
    row.reserve(15);
    row.emplace_back(CTableSession::c_sColumnDescription, data.Description());
    row.emplace_back(CTableSession::c_sColumnLastRun, COSAbstraction::GetFormattedDateTime());
    row.emplace_back(CTableSession::c_sColumnSite, sSite);
    row.emplace_back(CTableSession::c_sColumnTestPoint, sTestPoint);
    row.emplace_back(CTableSession::c_sColumnName, sName);
    row.emplace_back(CTableSession::c_sColumnENumber, sENumber);
    row.emplace_back(CTableSession::c_sColumnTNumber, sTNumber);
    row.emplace_back(CTableSession::c_sColumnEMail, sEMail);
    row.emplace_back(CTableSession::c_sColumnHWMOdel, sHWModel);
    row.emplace_back(CTableSession::c_sColumnFirmwarVersion, sFirmwareVersion);
    row.emplace_back(CTableSession::c_sColumnSoftwareVersion, sSoftwareVersion);
    row.emplace_back(CTableSession::c_sColumnSerialNr, sSerialNr);
    row.emplace_back(CTableSession::c_sColumnOwner, sOwner);
    row.emplace_back(CTableSession::c_sColumnLimitFileID, sLimitFileId);
    row.emplace_back(CTableSession::c_sColumnChannelFileID, sChannelFileId);

    CTableSession table(m_rDatabase);
    return table.Update(data.GetSessionId(), row);
}

CDBSessionData CDBSessionControler::GetData(long lSessionId) const
{
    CDBSessionData data(lSessionId);
    GetData(lSessionId, data);
    return data;
}

bool CDBSessionControler::GetData(long lSessionId, CDBSessionData& data) const
{
    const QString sBefore = m_rDatabase.LastError();
    m_rDatabase.Fail(QString());
    CTableSession table(m_rDatabase);
    const TableRows rows = table.Get(lSessionId);
    if (rows.empty())
    {
        data = CDBSessionData(lSessionId);
        if (m_rDatabase.LastError().isEmpty())
        {
            m_rDatabase.Fail(
                QStringLiteral("There is no session %1 in the database").arg(lSessionId));
        }
        return false;
    }
    m_rDatabase.Fail(sBefore);

    // Every text column of the record, in the order the full constructor takes them.
    enum EField
    {
        eField_UniqueId,
        eField_Description,
        eField_FirstRun,
        eField_LastRun,
        eField_Site,
        eField_TestPoint,
        eField_Name,
        eField_ENumber,
        eField_TNumber,
        eField_EMail,
        eField_HWModel,
        eField_Firmware,
        eField_Software,
        eField_SerialNr,
        eField_Owner,
        eField_ChannelFileId,
        eField_LimitFileId,
        eField_None ///< count
    };
    const QString* const columns[eField_None] = {
        &CTableSession::c_sColumnUniquIid,
        &CTableSession::c_sColumnDescription,
        &CTableSession::c_sColumnFirstRun,
        &CTableSession::c_sColumnLastRun,
        &CTableSession::c_sColumnSite,
        &CTableSession::c_sColumnTestPoint,
        &CTableSession::c_sColumnName,
        &CTableSession::c_sColumnENumber,
        &CTableSession::c_sColumnTNumber,
        &CTableSession::c_sColumnEMail,
        &CTableSession::c_sColumnHWMOdel,
        &CTableSession::c_sColumnFirmwarVersion,
        &CTableSession::c_sColumnSoftwareVersion,
        &CTableSession::c_sColumnSerialNr,
        &CTableSession::c_sColumnOwner,
        &CTableSession::c_sColumnChannelFileID,
        &CTableSession::c_sColumnLimitFileID,
    };
    QString values[eField_None];
    long lScanCount = 0;
    for (const CTableRecordSet& pair : rows)
    {
        const QString& sColumn = pair.GetColumn();
        if (sColumn == CTableSession::c_sColumnScanCount)
        {
            lScanCount = pair.GetValue().toInt();
            continue;
        }
        for (int i = 0; i < eField_None; ++i)
        {
            if (sColumn == *columns[i])
            {
                values[i] = pair.GetValue();
                break;
            }
        }
    }
    data = CDBSessionData(lSessionId, values[eField_UniqueId], values[eField_Description],
                          values[eField_FirstRun], values[eField_LastRun], values[eField_Site],
                          values[eField_TestPoint], values[eField_Name], values[eField_ENumber],
                          values[eField_TNumber], values[eField_EMail], values[eField_HWModel],
                          values[eField_Firmware], values[eField_Software], values[eField_SerialNr],
                          values[eField_Owner], lScanCount, values[eField_ChannelFileId],
                          values[eField_LimitFileId]);
    return true;
}

void CDBSessionControler::GetAll(const QString& sFilter, QStringList& ids,
                                 QStringList& descriptions) const
{
    ids.clear();
    descriptions.clear();
    TableRows rows;
    CTableSession table(m_rDatabase);
    table.Get(sFilter, rows);
    for (const CTableRecordSet& pair : rows)
    {
        if (pair.GetColumn() == CTableSession::c_sColumnId)
        {
            ids.append(QStringLiteral("%1").arg(pair.GetValue().toLongLong(), 6, 10, QChar('0')));
        }
        else if (pair.GetColumn() == CTableSession::c_sColumnDescription)
        {
            descriptions.append(pair.GetValue());
        }
    }
}

bool CDBSessionControler::ReadSessionData(const QString& sFilter,
                                          std::vector<CDBSessionData>& sessions)
{
    sessions.clear();
    TableRows idRows;
    QHash<qint64, qint64> counts;
    {
        CTableSession table(m_rDatabase);
        if (!table.GetSessionIds(sFilter, idRows) || !table.GetScanCounts(idRows, counts))
        {
            return false;
        }
    }
    sessions.reserve(idRows.size());
    for (const CTableRecordSet& pair : idRows)
    {
        const qint64 lId = pair.GetValue().toLongLong();
        CDBSessionData data(lId);
        // A session listed a moment ago that cannot be read now is a failed read.
        if (!GetData(lId, data))
        {
            sessions.clear();
            return false;
        }
        data.SetScanCount(counts.value(lId, 0));
        sessions.push_back(std::move(data));
    }
    return true;
}

long CDBSessionControler::GetHighestScanID(long lSessionId)
{
    CTableSession table(m_rDatabase);
    return table.GetHighestScanID(lSessionId);
}

template <typename TTable> bool CDBSessionControler::DoAddFileToDB(const QString& sPath, long& lId)
{
    // One read for hash and content: the file may be rewritten meanwhile, and the stored copy
    // is the session's only record of what it was measured with.
    QByteArray bytes;
    const bool bRead = DoReadFile(sPath, bytes);
    TableRows row;
    row.reserve(3);
    row.emplace_back(TTable::c_sColumnHash, bRead ? DoHashText(bytes) : QString());
    row.emplace_back(TTable::c_sColumnFile, QString::fromLatin1(bytes.toBase64()));
    row.emplace_back(TTable::c_sColumnAdded,
                     QDateTime::currentDateTimeUtc().toString(Qt::TextDate));
    TTable table(m_rDatabase);
    return table.Create(row, lId);
}

template <typename TTable>
bool CDBSessionControler::DoGetFileFromDB(const QString& sKey, const QString& sPath)
{
    QString sData;
    return DoGetFileDataFromDB<TTable>(sKey, sData) && GetFileFromDb(sData, sPath);
}

template <typename TTable>
bool CDBSessionControler::DoGetFileDataFromDB(const QString& sKey, QString& sData)
{
    m_rDatabase.Fail(QString());
    TTable table(m_rDatabase);
    const TableRows rows = table.Get(sKey);
    sData.clear();
    for (const CTableRecordSet& pair : rows)
    {
        if (pair.GetColumn() == TTable::c_sColumnFile)
        {
            sData = pair.GetValue();
            break;
        }
    }
    if (sData.isEmpty())
    {
        // The table's own reason (an unreadable key, a failed read) is the one to keep.
        return m_rDatabase.LastError().isEmpty()
                   ? m_rDatabase.Fail(
                         QStringLiteral("No file with content is registered under the key \"%1\"")
                             .arg(sKey))
                   : false;
    }
    return true;
}

bool CDBSessionControler::GetLimitValuesFileData(const QString& sKey, QByteArray& bytes)
{
    QString sData;
    bytes.clear();
    if (!DoGetFileDataFromDB<CTableExportedLimitValues>(sKey, sData))
    {
        return false;
    }
    bytes = QByteArray::fromBase64(sData.toLatin1());
    return true;
}

bool CDBSessionControler::GetChannelSettingsFileData(const QString& sKey, QByteArray& bytes)
{
    QString sData;
    bytes.clear();
    if (!DoGetFileDataFromDB<CTableExportedChannelSettings>(sKey, sData))
    {
        return false;
    }
    bytes = QByteArray::fromBase64(sData.toLatin1());
    return true;
}

bool CDBSessionControler::AddLimitValuesFileToDB(const QString& sPath, long& lId)
{
    return DoAddFileToDB<CTableExportedLimitValues>(sPath, lId);
}

bool CDBSessionControler::AddChannelSettingsFileToDB(const QString& sPath, long& lId)
{
    return DoAddFileToDB<CTableExportedChannelSettings>(sPath, lId);
}

bool CDBSessionControler::GetLimitValuesFileFromDB(const QString& sKey, const QString& sTargetPath)
{
    return DoGetFileFromDB<CTableExportedLimitValues>(sKey, sTargetPath);
}

bool CDBSessionControler::GetChannelSettingsFileFromDB(const QString& sKey,
                                                       const QString& sTargetPath)
{
    return DoGetFileFromDB<CTableExportedChannelSettings>(sKey, sTargetPath);
}

bool CDBSessionControler::DoReadFile(const QString& sPath, QByteArray& bytes)
{
    bytes.clear();
    // An empty name is simply unreadable; asking Qt to open it would log a warning.
    QFile file(sPath);
    if (sPath.isEmpty() || !file.open(QIODevice::ReadOnly))
    {
        return false;
    }
    bytes = file.readAll();
    return true;
}

QString CDBSessionControler::DoHashText(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

QString CDBSessionControler::GetFileHashValue(const QString& sPath)
{
    QByteArray bytes;
    return DoReadFile(sPath, bytes) ? DoHashText(bytes) : QString();
}

QString CDBSessionControler::GetFileData(const QString& sPath)
{
    QByteArray bytes;
    DoReadFile(sPath, bytes);
    return QString::fromLatin1(bytes.toBase64());
}

bool CDBSessionControler::GetFileFromDb(const QString& sBase64Data, const QString& sPath)
{
    if (sBase64Data.isEmpty())
    {
        return m_rDatabase.Fail(
            QStringLiteral("Cannot write \"%1\": there is no content to write").arg(sPath));
    }
    if (sPath.isEmpty())
    {
        return m_rDatabase.Fail(QStringLiteral("Cannot write a file without a name"));
    }
    const QByteArray bytes = QByteArray::fromBase64(sBase64Data.toUtf8());
    const QFileInfo info(sPath);
    if (!info.absoluteDir().exists())
    {
        QDir().mkpath(info.absolutePath());
    }
    // Written beside the target and renamed over it, so a reader never sees half a file.
    QString sError;
    if (!COSAbstraction::ReplaceFile(sPath, bytes, sError))
    {
        return m_rDatabase.Fail(QStringLiteral("Cannot write \"%1\": %2").arg(sPath, sError));
    }
    return true;
}

QString CDBSessionControler::LastError() const
{
    return m_rDatabase.LastError();
}

} // namespace LumoraMeasurement

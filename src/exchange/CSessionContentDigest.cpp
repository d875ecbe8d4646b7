#include "CSessionContentDigest.h"

#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "CDBSessionControler.h"

#include <initializer_list>
#include <vector>

namespace LumoraMeasurement
{

namespace
{

// Names the encoding, so a digest of another encoding can never pass for this one.
const char c_szVersion[] = "mda-session-content-1";

} // namespace

CSessionContentDigest::CSessionContentDigest() : m_Hash(QCryptographicHash::Sha256)
{
    m_Hash.addData(QByteArray(c_szVersion));
}

void CSessionContentDigest::DoAddNumber(qint64 llNumber)
{
    char bytes[8];
    for (int i = 7; i >= 0; --i)
    {
        bytes[i] = static_cast<char>(llNumber & 0xff);
        llNumber = static_cast<qint64>(static_cast<quint64>(llNumber) >> 8);
    }
    m_Buffer.append(bytes, 8);
}

void CSessionContentDigest::DoAddText(const QString& sText)
{
    // Length first: "a,b" + "c" never digests as "a" + "b,c".
    const QByteArray utf8 = sText.toUtf8();
    DoAddNumber(utf8.size());
    m_Buffer.append(utf8);
}

void CSessionContentDigest::AddSession(const CDBSessionData& session, const QByteArray& channelFile,
                                       const QByteArray& limitFile)
{
    QString sSite;
    QString sTestPoint;
    QString sName;
    QString sENumber;
    QString sTNumber;
    QString sEMail;
    QString sHWModel;
    QString sFirmwareVersion;
    QString sSoftwareVersion;
    QString sSerialNr;
    QString sOwner;
    session.GetSessionLocationData(sSite, sTestPoint);
    session.GetSessionUserData(sName, sENumber, sTNumber, sEMail);
    session.GetHardwareInfoData(sHWModel, sFirmwareVersion, sSoftwareVersion, sSerialNr, sOwner);
    for (const QString* pText : std::initializer_list<const QString*>{
             &session.UniqueIdentifier(), &session.Description(), &session.FirstRun(),
             &session.LastRun(), &sSite, &sTestPoint, &sName, &sENumber, &sTNumber, &sEMail,
             &sHWModel, &sFirmwareVersion, &sSoftwareVersion, &sSerialNr, &sOwner})
    {
        DoAddText(*pText);
    }
    DoAddNumber(session.ScanCount());
    DoAddNumber(channelFile.size());
    m_Buffer.append(channelFile);
    DoAddNumber(limitFile.size());
    m_Buffer.append(limitFile);
    m_Hash.addData(m_Buffer);
    m_Buffer.clear();
}

void CSessionContentDigest::AddScan(const CDBScanData& scan)
{
    ++m_llScans;
    DoAddNumber(scan.GetScanId());
    DoAddNumber(scan.GetState());
    DoAddText(scan.DateTime());
    m_Hash.addData(m_Buffer);
    m_Buffer.clear();
}

void CSessionContentDigest::AddRow(const CDBMeasurement& row)
{
    if (m_llRows == 0)
    {
        // Where the scans end and the rows begin.
        DoAddNumber(m_llScans);
    }
    ++m_llRows;
    DoAddNumber(row.GetScanId());
    DoAddNumber(row.GetChannelId());
    DoAddNumber(row.GetMeasurementItem());
    DoAddNumber(row.GetMeasurementState());
    DoAddText(row.GetValue());
    DoAddText(row.GetErrorDescription());
    // Rows are hashed in blocks: one call per row would cost more than the hashing.
    if (m_Buffer.size() >= 64 * 1024)
    {
        m_Hash.addData(m_Buffer);
        m_Buffer.clear();
    }
}

QString CSessionContentDigest::GetHex()
{
    if (m_llRows == 0)
    {
        DoAddNumber(m_llScans);
    }
    DoAddNumber(m_llRows);
    m_Hash.addData(m_Buffer);
    m_Buffer.clear();
    return QString::fromLatin1(m_Hash.result().toHex());
}

bool CSessionContentDigest::Compute(OrvelFramework::CDatabaseMultiInstance& db, long lSessionId,
                                    QString& sDigest, qint64& llRows, QString& sError)
{
    sDigest.clear();
    llRows = 0;
    CDBSessionControler sessions(db);
    CDBSessionData session(lSessionId);
    if (!sessions.GetData(lSessionId, session))
    {
        sError = sessions.LastError();
        return false;
    }
    QString sLimitId;
    QString sChannelId;
    session.GetAssociatedFiles(sLimitId, sChannelId);
    QByteArray channelFile;
    QByteArray limitFile;
    if (!sessions.GetRegisteredChannelSettingsFile(sChannelId, channelFile) ||
        !sessions.GetRegisteredLimitValuesFile(sLimitId, limitFile))
    {
        sError = sessions.LastError();
        return false;
    }
    std::vector<CDBScanData> scans;
    CDBScanController scanController(db);
    if (!scanController.GetAllData(lSessionId, scans))
    {
        sError = scanController.LastError();
        return false;
    }
    CSessionContentDigest digest;
    digest.AddSession(session, channelFile, limitFile);
    for (const CDBScanData& scan : scans)
    {
        digest.AddScan(scan);
    }
    CDBMeasurementController measurements(db);
    if (!measurements.ForEachResultOfSession(lSessionId,
                                             [&digest](const CDBMeasurement& row)
                                             {
                                                 digest.AddRow(row);
                                                 return true;
                                             }))
    {
        sError = measurements.LastError();
        return false;
    }
    llRows = digest.GetRowCount();
    sDigest = digest.GetHex();
    return true;
}

} // namespace LumoraMeasurement

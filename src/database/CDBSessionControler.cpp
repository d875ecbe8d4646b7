#include "CDBSessionControler.h"

#include "CDatabaseMultiInstance.h"
#include "CDatabaseTransaction.h"
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

#include <cerrno>
#include <limits>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using OrvelFramework::CDatabaseMultiInstance;
using OrvelFramework::CDatabaseTransaction;
using OrvelFramework::COSAbstraction;
using OrvelFramework::CTableExportedChannelSettings;
using OrvelFramework::CTableExportedLimitValues;
using OrvelFramework::CTableRecordSet;
using OrvelFramework::CTableSession;
using OrvelFramework::TableRows;

namespace LumoraMeasurement
{

namespace
{

// The columns of a session row that Update() and CreateCopy() both write, from site to the
// registered files' ids.
void DoAppendSessionTexts(const CDBSessionData& data, TableRows& row)
{
    QString sSite, sTestPoint;
    QString sName, sENumber, sTNumber, sEMail;
    QString sHWModel, sFirmwareVersion, sSoftwareVersion, sSerialNr, sOwner;
    QString sLimitFileId, sChannelFileId;
    data.GetSessionLocationData(sSite, sTestPoint);
    data.GetSessionUserData(sName, sENumber, sTNumber, sEMail);
    data.GetHardwareInfoData(sHWModel, sFirmwareVersion, sSoftwareVersion, sSerialNr, sOwner);
    data.GetAssociatedFiles(sLimitFileId, sChannelFileId);
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
}

// Pieces of a size divisible by 3: the Base64 texts of the pieces, joined, are the Base64 text
// of the whole file (only the last piece may end in padding).
constexpr int c_iReadPieceSize = 3 * 64 * 1024;

// What a path is when it is no regular file, by its type bits.
const std::pair<mode_t, const char*> c_FileTypeTexts[] = {
    {S_IFDIR, "a folder"},       {S_IFIFO, "a named pipe"}, {S_IFCHR, "a character device"},
    {S_IFBLK, "a block device"}, {S_IFSOCK, "a socket"},
};

/// Writes the bytes as standard Base64 with padding to pszOut, 4 characters for every 3 bytes
/// begun; gives the number written. Ours rather than Qt's so that no piece allocates.
int DoEncodeBase64(const char* pIn, int iSize, char* pszOut)
{
    static const char c_szAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const auto* const pBytes = reinterpret_cast<const uchar*>(pIn);
    int iOut = 0;
    for (int i = 0; i < iSize; i += 3)
    {
        const int iLeft = iSize - i;
        const quint32 uGroup = (quint32(pBytes[i]) << 16) |
                               (iLeft > 1 ? quint32(pBytes[i + 1]) << 8 : 0U) |
                               (iLeft > 2 ? quint32(pBytes[i + 2]) : 0U);
        pszOut[iOut++] = c_szAlphabet[(uGroup >> 18) & 63];
        pszOut[iOut++] = c_szAlphabet[(uGroup >> 12) & 63];
        pszOut[iOut++] = iLeft > 1 ? c_szAlphabet[(uGroup >> 6) & 63] : '=';
        pszOut[iOut++] = iLeft > 2 ? c_szAlphabet[uGroup & 63] : '=';
    }
    return iOut;
}

/// Empty when the file may be read; otherwise why not, naming it.
QString DoCheckFile(const QString& sPath, const struct stat& info, qint64 llMaxSize)
{
    const mode_t uType = info.st_mode & S_IFMT;
    if (uType != S_IFREG)
    {
        const char* pszType = "not a regular file";
        for (const auto& [uKnown, pszText] : c_FileTypeTexts)
        {
            if (uType == uKnown)
            {
                pszType = pszText;
                break;
            }
        }
        return QStringLiteral("Cannot read \"%1\": it is %2, not a regular file")
            .arg(sPath, QLatin1String(pszType));
    }
    if (info.st_size > llMaxSize)
    {
        return QStringLiteral("Cannot read \"%1\": it holds %2 bytes, more than the %3 a channel "
                              "table or limit file may hold")
            .arg(sPath, QString::number(qint64(info.st_size)), QString::number(llMaxSize));
    }
    return QString();
}

/// Reads the file in pieces into its MD5 (lower-case hex) and, with pBase64, its Base64 text,
/// never holding more of it than one piece besides the text. A file that cannot be opened
/// gives an empty hash and text; false with sRefusal saying why when it is no regular file,
/// holds more than llMaxSize bytes or cannot be read to its end.
bool DoReadFile(const QString& sPath, qint64 llMaxSize, QString& sHash, QString* pBase64,
                QString& sRefusal)
{
    sHash.clear();
    sRefusal.clear();
    if (pBase64 != nullptr)
    {
        pBase64->clear();
    }
    const QByteArray name = QFile::encodeName(sPath);
    // The type before opening: opening a pipe waits for a writer, opening a device may act on it.
    // The size counts only for what was opened. An empty path fails here like a missing file.
    struct stat info = {};
    if (::stat(name.constData(), &info) != 0)
    {
        return true;
    }
    sRefusal = DoCheckFile(sPath, info, std::numeric_limits<qint64>::max());
    if (!sRefusal.isEmpty())
    {
        return false;
    }
    const int iFd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (iFd < 0)
    {
        return true;
    }
    QFile file;
    if (!file.open(iFd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
    {
        ::close(iFd);
        return true;
    }
    // The path may have been replaced since; what counts is what was opened.
    if (::fstat(iFd, &info) != 0)
    {
        sRefusal = QStringLiteral("Cannot read \"%1\": %2").arg(sPath, qt_error_string(errno));
        return false;
    }
    sRefusal = DoCheckFile(sPath, info, llMaxSize);
    if (!sRefusal.isEmpty())
    {
        return false;
    }

    QCryptographicHash hash(QCryptographicHash::Md5);
    QString sBase64;
    sBase64.reserve(pBase64 != nullptr ? static_cast<int>(4 * ((info.st_size + 2) / 3)) : 0);
    QByteArray piece(c_iReadPieceSize, Qt::Uninitialized);
    QByteArray encoded(pBase64 != nullptr ? c_iReadPieceSize / 3 * 4 : 0, Qt::Uninitialized);
    qint64 llTotal = 0;
    for (;;)
    {
        // Filled whole before it is encoded: only the last piece may be shorter.
        qint64 llFill = 0;
        qint64 llRead = 0;
        do
        {
            llRead = file.read(piece.data() + llFill, c_iReadPieceSize - llFill);
            llFill += qMax<qint64>(llRead, 0);
        } while (llRead > 0 && llFill < c_iReadPieceSize);
        if (llRead < 0)
        {
            sRefusal = QStringLiteral("Cannot read \"%1\": %2").arg(sPath, file.errorString());
            return false;
        }
        llTotal += llFill;
        // A file that grows while read (a log, a file in /proc) ends here, not at the disk's end.
        if (llTotal > llMaxSize)
        {
            sRefusal = QStringLiteral("Cannot read \"%1\": it grew beyond %2 bytes while read")
                           .arg(sPath, QString::number(llMaxSize));
            return false;
        }
        hash.addData(QByteArray::fromRawData(piece.constData(), int(llFill)));
        if (pBase64 != nullptr)
        {
            const int iEncoded = DoEncodeBase64(piece.constData(), int(llFill), encoded.data());
            sBase64.append(QLatin1String(encoded.constData(), iEncoded));
        }
        if (llFill < c_iReadPieceSize)
        {
            break;
        }
    }
    sHash = QString::fromLatin1(hash.result().toHex());
    if (pBase64 != nullptr)
    {
        *pBase64 = std::move(sBase64);
    }
    return true;
}

/// The row registering the file. A file that cannot be opened gets empty hash and content,
/// which marks it as missing; false (sRefusal) when the file is refused.
template <typename TTable>
bool DoPrepareRegistration(const QString& sPath, TableRows& row, QString& sRefusal)
{
    QString sHash;
    QString sBase64;
    if (!DoReadFile(sPath, CDBSessionControler::c_llMaxRegisteredFileSize, sHash, &sBase64,
                    sRefusal))
    {
        return false;
    }
    // Copies of the text share its bytes.
    row = {{TTable::c_sColumnHash, sHash},
           {TTable::c_sColumnFile, sBase64},
           {TTable::c_sColumnAdded, QDateTime::currentDateTimeUtc().toString(Qt::TextDate)}};
    return true;
}

/// Stores a prepared registration in a level of its own, so that one the database refuses
/// is undone alone; lId is set only when it is stored.
template <typename TTable>
void DoInsertRegistration(CDatabaseMultiInstance& db, const TableRows& row, long& lId)
{
    CDatabaseTransaction level(db);
    long lNewId = 0;
    TTable table(db);
    if (level.IsActive() && table.Create(row, lNewId) && level.Commit())
    {
        lId = lNewId;
    }
}

// One session record from its column/value pairs [first, last).
CDBSessionData DataFromRow(long lSessionId, TableRows::const_iterator first,
                           TableRows::const_iterator last)
{
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
    for (auto it = first; it != last; ++it)
    {
        const CTableRecordSet& pair = *it;
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
    return CDBSessionData(lSessionId, values[eField_UniqueId], values[eField_Description],
                          values[eField_FirstRun], values[eField_LastRun], values[eField_Site],
                          values[eField_TestPoint], values[eField_Name], values[eField_ENumber],
                          values[eField_TNumber], values[eField_EMail], values[eField_HWModel],
                          values[eField_Firmware], values[eField_Software], values[eField_SerialNr],
                          values[eField_Owner], lScanCount, values[eField_ChannelFileId],
                          values[eField_LimitFileId]);
}
} // namespace

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
    // Both files are read before the database is touched, so that its write lock is not held
    // while a file is read.
    TableRows channelRow;
    TableRows limitRow;
    QString sChannelRefusal;
    QString sLimitRefusal;
    const bool bChannel = DoPrepareRegistration<CTableExportedChannelSettings>(
        sChannelSettingsFile, channelRow, sChannelRefusal);
    const bool bLimit =
        DoPrepareRegistration<CTableExportedLimitValues>(sLimitValuesFile, limitRow, sLimitRefusal);

    // The copies and the session row go in together: a failure leaves none of them behind.
    CDatabaseTransaction transaction(m_rDatabase);
    if (!transaction.IsActive())
    {
        return false;
    }
    // A session without its files is still worth recording; the ids then stay 0.
    long lChannelFileId = 0;
    long lLimitFileId = 0;
    if (bChannel)
    {
        DoInsertRegistration<CTableExportedChannelSettings>(m_rDatabase, channelRow,
                                                            lChannelFileId);
    }
    if (bLimit)
    {
        DoInsertRegistration<CTableExportedLimitValues>(m_rDatabase, limitRow, lLimitFileId);
    }
    channelRow.clear();
    limitRow.clear();

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

    long lNewId = 0;
    CTableSession table(m_rDatabase);
    if (!table.Create(row, lNewId) || !transaction.Commit())
    {
        return false;
    }
    lSessionId = lNewId;
    QStringList refusals{sChannelRefusal, sLimitRefusal};
    refusals.removeAll(QString());
    const QString sRefusals = refusals.join(QStringLiteral("; "));
    if (!sRefusals.isEmpty())
    {
        m_rDatabase.Fail(sRefusals);
    }
    return true;
}

bool CDBSessionControler::Update(const CDBSessionData& data)
{
    if (data.GetSessionId() < 1)
    {
        return m_rDatabase.Fail(QStringLiteral("Cannot change session %1: session ids start at 1")
                                    .arg(data.GetSessionId()));
    }
    TableRows row;
    row.reserve(15);
    row.emplace_back(CTableSession::c_sColumnDescription, data.Description());
    row.emplace_back(CTableSession::c_sColumnLastRun, COSAbstraction::GetFormattedDateTime());
    DoAppendSessionTexts(data, row);

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

    data = DataFromRow(lSessionId, rows.begin(), rows.end());
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
    // Whole records in one read: a session cannot vanish between being listed and being read.
    TableRows rows;
    CTableSession table(m_rDatabase);
    if (!table.Get(sFilter, rows))
    {
        return false;
    }
    TableRows idRows;
    std::vector<size_t> starts;
    for (size_t i = 0; i < rows.size(); ++i)
    {
        if (rows[i].GetColumn() == CTableSession::c_sColumnId)
        {
            starts.push_back(i);
            idRows.push_back(rows[i]);
        }
    }
    QHash<qint64, qint64> counts;
    if (!table.GetScanCounts(idRows, counts))
    {
        return false;
    }
    sessions.reserve(starts.size());
    for (size_t k = 0; k < starts.size(); ++k)
    {
        const auto first = rows.cbegin() + static_cast<std::ptrdiff_t>(starts[k]);
        const auto last = k + 1 < starts.size()
                              ? rows.cbegin() + static_cast<std::ptrdiff_t>(starts[k + 1])
                              : rows.cend();
        const qint64 lId = first->GetValue().toLongLong();
        sessions.push_back(DataFromRow(lId, first, last));
        sessions.back().SetScanCount(counts.value(lId));
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
    TableRows row;
    QString sRefusal;
    if (!DoPrepareRegistration<TTable>(sPath, row, sRefusal))
    {
        return m_rDatabase.Fail(sRefusal);
    }
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
    return DoGetFileBytesFromDB<CTableExportedLimitValues>(sKey, bytes);
}

bool CDBSessionControler::GetChannelSettingsFileData(const QString& sKey, QByteArray& bytes)
{
    return DoGetFileBytesFromDB<CTableExportedChannelSettings>(sKey, bytes);
}

template <typename TTable>
bool CDBSessionControler::DoGetFileBytesFromDB(const QString& sKey, QByteArray& bytes)
{
    QString sData;
    bytes.clear();
    if (!DoGetFileDataFromDB<TTable>(sKey, sData))
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

QString CDBSessionControler::GetFileHashValue(const QString& sPath)
{
    QString sHash;
    QString sRefusal;
    if (!DoReadFile(sPath, std::numeric_limits<qint64>::max(), sHash, nullptr, sRefusal))
    {
        m_rDatabase.Fail(sRefusal);
    }
    return sHash;
}

QString CDBSessionControler::GetFileData(const QString& sPath)
{
    QString sHash;
    QString sBase64;
    QString sRefusal;
    if (!DoReadFile(sPath, c_llMaxRegisteredFileSize, sHash, &sBase64, sRefusal))
    {
        m_rDatabase.Fail(sRefusal);
    }
    return sBase64;
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

namespace
{

template <typename TTable>
bool DoReadRegisteredFile(CDatabaseMultiInstance& db, const QString& sKey, QByteArray& bytes)
{
    bytes.clear();
    bool bOk = false;
    const qlonglong llId = sKey.trimmed().toLongLong(&bOk);
    if (!bOk || llId < 1)
    {
        return true;
    }
    db.Fail(QString());
    const TableRows rows = TTable(db).Get(sKey);
    if (!db.LastError().isEmpty())
    {
        return false;
    }
    for (const CTableRecordSet& pair : rows)
    {
        if (pair.GetColumn() == TTable::c_sColumnFile)
        {
            bytes = QByteArray::fromBase64(pair.GetValue().toLatin1());
            break;
        }
    }
    return true;
}

template <typename TTable>
bool DoAddFileData(CDatabaseMultiInstance& db, const QByteArray& bytes, long& lId)
{
    const QString sHash =
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
    const QString sFile = QString::fromLatin1(bytes.toBase64());
    TTable table(db);
    lId = 0;
    if (!table.FindFile(sHash, sFile, lId))
    {
        return false;
    }
    if (lId > 0)
    {
        return true;
    }
    TableRows row;
    row.emplace_back(TTable::c_sColumnHash, sHash);
    row.emplace_back(TTable::c_sColumnFile, sFile);
    row.emplace_back(TTable::c_sColumnAdded,
                     QDateTime::currentDateTimeUtc().toString(Qt::TextDate));
    return table.Create(row, lId);
}

} // namespace

bool CDBSessionControler::GetSessionIdsByUniqueId(const QString& sUniqueId, std::vector<long>& ids)
{
    std::vector<qint64> found;
    ids.clear();
    if (!CTableSession(m_rDatabase).GetSessionIdsByUniqueId(sUniqueId, found))
    {
        return false;
    }
    ids.assign(found.begin(), found.end());
    return true;
}

bool CDBSessionControler::LockUniqueId(const QString& sUniqueId)
{
    // The first eight bytes of the id's SHA-256: two ids that share a key only wait for
    // each other, they never pass for the same session.
    const QByteArray digest =
        QCryptographicHash::hash(sUniqueId.toUtf8(), QCryptographicHash::Sha256);
    qint64 llKey = 0;
    for (int i = 0; i < 8; ++i)
    {
        llKey = static_cast<qint64>((static_cast<quint64>(llKey) << 8) |
                                    static_cast<unsigned char>(digest.at(i)));
    }
    return CTableSession(m_rDatabase).LockForWriting(llKey);
}

bool CDBSessionControler::CreateCopy(const CDBSessionData& data, long& lSessionId)
{
    TableRows row;
    row.reserve(18);
    row.emplace_back(CTableSession::c_sColumnUniquIid, data.UniqueIdentifier());
    row.emplace_back(CTableSession::c_sColumnDescription, data.Description());
    row.emplace_back(CTableSession::c_sColumnFirstRun, data.FirstRun());
    row.emplace_back(CTableSession::c_sColumnLastRun, data.LastRun());
    row.emplace_back(CTableSession::c_sColumnScanCount, QString::number(data.ScanCount()));
    DoAppendSessionTexts(data, row);
    return CTableSession(m_rDatabase).Create(row, lSessionId);
}

bool CDBSessionControler::GetRegisteredLimitValuesFile(const QString& sKey, QByteArray& bytes)
{
    return DoReadRegisteredFile<CTableExportedLimitValues>(m_rDatabase, sKey, bytes);
}

bool CDBSessionControler::GetRegisteredChannelSettingsFile(const QString& sKey, QByteArray& bytes)
{
    return DoReadRegisteredFile<CTableExportedChannelSettings>(m_rDatabase, sKey, bytes);
}

bool CDBSessionControler::AddLimitValuesFileData(const QByteArray& bytes, long& lId)
{
    return DoAddFileData<CTableExportedLimitValues>(m_rDatabase, bytes, lId);
}

bool CDBSessionControler::AddChannelSettingsFileData(const QByteArray& bytes, long& lId)
{
    return DoAddFileData<CTableExportedChannelSettings>(m_rDatabase, bytes, lId);
}

} // namespace LumoraMeasurement

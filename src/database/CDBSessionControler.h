#pragma once

#include "MainDataAccess_export.h"

#include "CDBSessionData.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <vector>

namespace OrvelFramework
{
class CDatabaseMultiInstance;
}

namespace LumoraMeasurement
{

/// Creates, updates and reads session rows, lists sessions, and keeps byte-exact copies of
/// the limit and channel files a session was measured with, so they can be written back out.
/// The connection belongs to the caller and must stay open while the controller is used.
class MDA_EXPORT CDBSessionControler
{
public:
    /// Works on rDatabase, which must outlive the controller.
    explicit CDBSessionControler(OrvelFramework::CDatabaseMultiInstance& rDatabase);
    virtual ~CDBSessionControler() = default;

    /// The largest channel table or limit file a session keeps a copy of (a real one holds a
    /// few hundred KB); a larger one is refused before a byte of it is read.
    static constexpr qint64 c_llMaxRegisteredFileSize = 16 * 1024 * 1024;

    /// Registers both files and writes the session row in one transaction; lSessionId receives
    /// its id. A file that cannot be opened is registered with empty hash and content. One that
    /// is no regular file, is larger than c_llMaxRegisteredFileSize or is refused by the
    /// database is recorded as file id 0, and LastError() says why. False, with nothing
    /// stored, when the session row cannot be written.
    bool Create(long& lSessionId, const QString& sUniqueId, const QString& sDescription,
                const QString& sChannelSettingsFile, const QString& sLimitValuesFile,
                const QString& sTestPoint, const QString& sSite, const QString& sEMail,
                const QString& sENumber, const QString& sName, const QString& sTNumber,
                const QString& sHWModel, const QString& sFirmwareVersion,
                const QString& sSoftwareVersion, const QString& sSerialNr, const QString& sOwner);
    /// Rewrites the editable columns and stamps the last run; false for an id below 1.
    bool Update(const CDBSessionData& data);
    /// The stored session; a record with only the id when there is none.
    CDBSessionData GetData(long lSessionId) const;
    /// As above; false (LastError() naming the session) when there is no such row.
    bool GetData(long lSessionId, CDBSessionData& data) const;
    /// Ids as at least six digits ("000042") and the descriptions of the matching sessions.
    void GetAll(const QString& sFilter, QStringList& ids, QStringList& descriptions) const;
    /// The matching sessions, each with the scan count the scan table reports.
    /// False (LastError()) when a read failed; sessions is then empty.
    bool ReadSessionData(const QString& sFilter, std::vector<CDBSessionData>& sessions);
    /// The largest scan id of the session, 0 when it has no scan yet; -1 when the read failed
    /// (LastError() says why).
    long GetHighestScanID(long lSessionId);

    /// Stores a copy of the file; lId receives the row id. False (LastError() naming the file)
    /// for a pipe, device or folder and for a file larger than c_llMaxRegisteredFileSize.
    bool AddLimitValuesFileToDB(const QString& sPath, long& lId);
    /// As AddLimitValuesFileToDB(), for a channel settings file.
    bool AddChannelSettingsFileToDB(const QString& sPath, long& lId);
    /// Writes the limit file registered under sKey (its row id as decimal text) to sTargetPath,
    /// creating missing folders and replacing the target whole; false (LastError()) when the key
    /// has no content or the file cannot be written.
    bool GetLimitValuesFileFromDB(const QString& sKey, const QString& sTargetPath);
    /// As GetLimitValuesFileFromDB(), for a registered channel settings file.
    bool GetChannelSettingsFileFromDB(const QString& sKey, const QString& sTargetPath);
    /// The content of a registered file, in memory; false (LastError()) when the key has none.
    bool GetLimitValuesFileData(const QString& sKey, QByteArray& bytes);
    /// As GetLimitValuesFileData(), for a registered channel settings file.
    bool GetChannelSettingsFileData(const QString& sKey, QByteArray& bytes);

    /// MD5 of the file as lower-case hex; empty when it cannot be read or is no regular file.
    QString GetFileHashValue(const QString& sPath);
    /// The file in Base64; empty when it cannot be read, is no regular file or is larger than
    /// c_llMaxRegisteredFileSize.
    QString GetFileData(const QString& sPath);
    /// Decodes and writes the file, creating missing folders; true when a byte was written.
    bool GetFileFromDb(const QString& sBase64Data, const QString& sPath);

    /// Why the most recent failing call failed, in words (the connection's LastError()).
    QString LastError() const;

private:
    template <typename TTable> bool DoAddFileToDB(const QString& sPath, long& lId);
    template <typename TTable> bool DoGetFileFromDB(const QString& sKey, const QString& sPath);
    template <typename TTable> bool DoGetFileDataFromDB(const QString& sKey, QString& sData);
    template <typename TTable> bool DoGetFileBytesFromDB(const QString& sKey, QByteArray& bytes);

    OrvelFramework::CDatabaseMultiInstance& m_rDatabase;

public:
    /// The ids of the sessions whose unique id is exactly sUniqueId (letter case counts),
    /// ascending; false (LastError()) when the read failed.
    bool GetSessionIdsByUniqueId(const QString& sUniqueId, std::vector<long>& ids);
    /// Inside the caller's transaction, before anything is read: another writer that locks
    /// the same unique id waits until this transaction ends.
    bool LockUniqueId(const QString& sUniqueId);
    /// Writes the session row exactly as data holds it (first and last run, scan count and
    /// file ids included); lSessionId receives the new row's id.
    bool CreateCopy(const CDBSessionData& data, long& lSessionId);
    /// The content of a registered file; empty (and true) when the key names no row or a row
    /// without content. False (LastError()) only when the read failed.
    bool GetRegisteredLimitValuesFile(const QString& sKey, QByteArray& bytes);
    /// As GetRegisteredLimitValuesFile(), for a registered channel settings file.
    bool GetRegisteredChannelSettingsFile(const QString& sKey, QByteArray& bytes);
    /// Registers the content unless a row with the same hash and content exists, whose id is
    /// then handed back instead: sessions measured with the same file share its row.
    bool AddLimitValuesFileData(const QByteArray& bytes, long& lId);
    /// As AddLimitValuesFileData(), for channel settings content.
    bool AddChannelSettingsFileData(const QByteArray& bytes, long& lId);
};

} // namespace LumoraMeasurement

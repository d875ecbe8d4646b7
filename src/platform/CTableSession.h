#pragma once

#include "CTableBase.h"

#include <QHash>

namespace OrvelFramework
{

/// The session table: one row per measurement session with its description, location, user,
/// instrument and the ids of the registered limit and channel files.
class CTableSession : public CTableBase
{
public:
    explicit CTableSession(CDatabaseMultiInstance& db);

    /// A session's texts are read up to this many characters; a longer one is cut there and
    /// ends with c_sCutMarker.
    static constexpr int c_iMaxTextLength = 1024 * 1024;
    static inline const QString c_sCutMarker =
        QStringLiteral(" [cut: longer than 1048576 characters]");
    static inline const QString c_sColumnId = QStringLiteral("id");
    static inline const QString c_sColumnUniquIid = QStringLiteral("unique_id");
    static inline const QString c_sColumnDescription = QStringLiteral("description");
    static inline const QString c_sColumnFirstRun = QStringLiteral("first_run");
    static inline const QString c_sColumnLastRun = QStringLiteral("last_run");
    static inline const QString c_sColumnScanCount = QStringLiteral("scan_count");
    static inline const QString c_sColumnSite = QStringLiteral("site");
    static inline const QString c_sColumnTestPoint = QStringLiteral("test_point");
    static inline const QString c_sColumnName = QStringLiteral("name");
    static inline const QString c_sColumnENumber = QStringLiteral("e_number");
    static inline const QString c_sColumnTNumber = QStringLiteral("t_number");
    static inline const QString c_sColumnEMail = QStringLiteral("e_mail");
    static inline const QString c_sColumnHWMOdel = QStringLiteral("hw_model");
    static inline const QString c_sColumnFirmwarVersion = QStringLiteral("firmware_version");
    static inline const QString c_sColumnSoftwareVersion = QStringLiteral("software_version");
    static inline const QString c_sColumnSerialNr = QStringLiteral("serial_nr");
    static inline const QString c_sColumnOwner = QStringLiteral("owner");
    static inline const QString c_sColumnLimitFileID = QStringLiteral("limit_file_id");
    static inline const QString c_sColumnChannelFileID = QStringLiteral("channel_file_id");

    /// The id column is chosen by the database and ignored in row.
    bool Create(const TableRows& row, long& lId);
    bool Update(long lId, const TableRows& row);
    /// Every column of the session, id first; empty when there is no such session.
    TableRows Get(long lId);
    /// Every column of each session matching the filter, sessions by ascending id. An empty
    /// filter matches all; otherwise the unique identifier, description, site, test point or
    /// name must contain the filter text, ignoring letter case.
    bool Get(const QString& sFilter, TableRows& rows);
    /// One id pair per matching session, ascending.
    bool GetSessionIds(const QString& sFilter, TableRows& rows);
    /// The number of scans of each session named by the id pairs (0 for none).
    bool GetScanCounts(const TableRows& idRows, QHash<qint64, qint64>& counts);
    /// The largest scan id of the session; 0 without scans, -1 when the read fails.
    long GetHighestScanID(long lSessionId);

private:
    bool DoGetFiltered(const QString& sFilter, bool bAllColumns, TableRows& rows);

public:
    /// The ids of the sessions whose unique identifier is exactly sUniqueId (letter case
    /// counts), ascending.
    bool GetSessionIdsByUniqueId(const QString& sUniqueId, std::vector<qint64>& ids);
    /// Inside a transaction: keeps every other writer that takes the same key waiting until
    /// the transaction ends. PostgreSQL takes an advisory lock on llKey; SQLite takes the
    /// file's write lock, which serialises all writers. Call it first in the transaction.
    bool LockForWriting(qint64 llKey);
};

} // namespace OrvelFramework

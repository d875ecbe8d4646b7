#pragma once

#include "MainDataAccess_export.h"
#include "CDBMeasurement.h"
#include "CDBScanData.h"
#include "CDBSessionData.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>

namespace OrvelFramework
{
class CDatabaseMultiInstance;
}

namespace LumoraMeasurement
{

/// What a stored session holds, as one SHA-256 that any database gives alike: the session's
/// columns (not its id), the content of its registered channel table and limit file, its
/// scans (id, state, date-time) by id and its rows (scan, channel, item, state, value, error
/// text) in scan, channel and id order. Ids a database chooses (session, measurement and file
/// row ids) are not part of it, so a copy has the digest of its original.
class MDA_EXPORT CSessionContentDigest
{
public:
    CSessionContentDigest();

    /// Feed in this order: the session once, then its scans by id, then its rows.
    void AddSession(const CDBSessionData& session, const QByteArray& channelFile,
                    const QByteArray& limitFile);
    /// Adds one scan: its id, state and date-time.
    void AddScan(const CDBScanData& scan);
    /// Adds one stored value: scan, channel, item, state, value and error text.
    void AddRow(const CDBMeasurement& row);
    /// The digest as 64 lower-case hex digits; ends the feeding.
    QString GetHex();
    /// Number of rows added so far.
    qint64 GetRowCount() const { return m_llRows; }

    /// Reads the session from db and digests it; false with sError when a read failed or there
    /// is no such session.
    static bool Compute(OrvelFramework::CDatabaseMultiInstance& db, long lSessionId,
                        QString& sDigest, qint64& llRows, QString& sError);

private:
    void DoAddText(const QString& sText);
    void DoAddNumber(qint64 llNumber);

    QCryptographicHash m_Hash;
    QByteArray m_Buffer;
    qint64 m_llRows = 0;
    qint64 m_llScans = 0;
};

} // namespace LumoraMeasurement

#include "CTableMeasurements.h"

#include <QSqlDriver>
#include <QSqlQuery>

#ifdef MDA_HAVE_LIBPQ
#include <libpq-fe.h>
#endif

#include <algorithm>

namespace OrvelFramework
{

namespace
{

const CTableBase::Columns& MeasurementColumns()
{
    static const CTableBase::Columns s_Columns = {
        {&CTableMeasurements::c_sColumnSessionId, true},
        {&CTableMeasurements::c_sColumnScanId, true},
        {&CTableMeasurements::c_sColumnChannelId, true},
        {&CTableMeasurements::c_sColumnMeasurementItem, true},
        {&CTableMeasurements::c_sColumnState, true},
        {&CTableMeasurements::c_sColumnValue, false},
        {&CTableMeasurements::c_sColumnErrorDescription, false},
    };
    return s_Columns;
}

// The pairs of every read, error description last.
const std::vector<const QString*>& RowNames()
{
    static const std::vector<const QString*> s_Names = {
        &CTableMeasurements::c_sColumnId,
        &CTableMeasurements::c_sColumnSessionId,
        &CTableMeasurements::c_sColumnScanId,
        &CTableMeasurements::c_sColumnChannelId,
        &CTableMeasurements::c_sColumnMeasurementItem,
        &CTableMeasurements::c_sColumnState,
        &CTableMeasurements::c_sColumnValue,
        &CTableMeasurements::c_sColumnErrorDescription,
    };
    return s_Names;
}

// The id alone finds the row; session and scan only confirm it. Written as expressions they
// cannot tempt a planner without fresh statistics into searching by them instead.
constexpr const char* c_pOneRow = "id = ? AND session_id + 0 = ? AND scan_id + 0 = ?";

static_assert(CTableMeasurements::c_iMaxTextLength + 1 == 4194305, "the reads' text bound");

QString Select(const char* pCondition, const char* pOrder = "id")
{
    // One character past the bound tells that a text was longer.
    return QStringLiteral("SELECT id, session_id, scan_id, channel_id, measurement_item, state, "
                          "substr(value, 1, 4194305), substr(error_description, 1, 4194305) FROM "
                          "measurement WHERE ") +
           QLatin1String(pCondition) + QStringLiteral(" ORDER BY ") + QLatin1String(pOrder);
}

// The channel reads run once per scan or item and channel: their error text is made only
// when one fails.
std::function<QString()> ChannelReadError(long lSessionId, long lChannelId)
{
    return [lSessionId, lChannelId] {
        return QStringLiteral("Cannot read channel %1 of session %2")
            .arg(lChannelId)
            .arg(lSessionId);
    };
}

} // namespace

CTableMeasurements::CTableMeasurements(CDatabaseMultiInstance& db) : CTableBase(db) {}

bool CTableMeasurements::Create(const TableRows& row, long& lId)
{
    TableRows withoutId;
    withoutId.reserve(row.size());
    for (const CTableRecordSet& pair : row)
    {
        if (pair.GetColumn() != c_sColumnId)
        {
            withoutId.push_back(pair);
        }
    }
    return DoInsert(QStringLiteral("measurement"), MeasurementColumns(), withoutId, lId,
                    QStringLiteral("Cannot store the measurement"));
}

bool CTableMeasurements::Update(long lSessionId, long lScanId, long lMeasurementId,
                                const TableRows& row)
{
    return DoUpdate(QStringLiteral("measurement"), MeasurementColumns(), row,
                    QLatin1String(c_pOneRow),
                    {qlonglong(lMeasurementId), qlonglong(lSessionId), qlonglong(lScanId)},
                    QStringLiteral("Cannot change measurement %1").arg(lMeasurementId));
}

namespace
{

// The statements of the recording's hot path, the same texts the pairs make.
enum EFixed : quint64
{
    c_uInsert,
    c_uChange,
    c_uChangeWithError
};
const char c_cFixedOwner = 0;

} // namespace

bool CTableMeasurements::Create(qint64 llSessionId, qint64 llScanId, qint64 llChannelId, long& lId)
{
    static const QString s_sWhat = QStringLiteral("Cannot store the measurement");
    QSqlQuery* pQuery = DoFixedStatement(
        &c_cFixedOwner, c_uInsert,
        [this]
        {
            return m_Db.InsertStatement(QStringLiteral(
                "INSERT INTO measurement (session_id, scan_id, channel_id) VALUES (?, ?, ?)"));
        },
        [] { return s_sWhat; });
    if (pQuery == nullptr)
    {
        return false;
    }
    // Session and scan repeat for a whole scan, the channel for all its items.
    DoBindNumber(*pQuery, 0, llSessionId);
    DoBindNumber(*pQuery, 1, llScanId);
    DoBindNumber(*pQuery, 2, llChannelId);
    return m_Db.ExecuteInsert(*pQuery, s_sWhat, lId);
}

bool CTableMeasurements::Update(qint64 llSessionId, qint64 llScanId, qint64 llMeasurementId,
                                qint64 llChannelId, qint64 llItem, qint64 llState,
                                const QString& sValue, const QString& sError)
{
    const bool bError = !sError.isEmpty();
    const auto what = [llMeasurementId]
    { return QStringLiteral("Cannot change measurement %1").arg(llMeasurementId); };
    QSqlQuery* pQuery = DoFixedStatement(
        &c_cFixedOwner, bError ? c_uChangeWithError : c_uChange,
        [bError]
        {
            return QStringLiteral("UPDATE measurement SET channel_id = ?, measurement_item = ?, "
                                  "state = ?, value = ?") +
                   (bError ? QStringLiteral(", error_description = ?") : QString()) +
                   QStringLiteral(" WHERE ") + QLatin1String(c_pOneRow);
        },
        what);
    if (pQuery == nullptr)
    {
        return false;
    }
    int i = 0;
    DoBindNumber(*pQuery, i++, llChannelId);
    DoBindNumber(*pQuery, i++, llItem);
    DoBindNumber(*pQuery, i++, llState);
    // A null string would be bound as NULL; the column holds text, empty or not.
    pQuery->bindValue(i++, sValue.isNull() ? QStringLiteral("") : sValue);
    if (bError)
    {
        pQuery->bindValue(i++, sError);
    }
    pQuery->bindValue(i++, qlonglong(llMeasurementId));
    DoBindNumber(*pQuery, i++, llSessionId);
    DoBindNumber(*pQuery, i, llScanId);
    return DoExecuteChange(*pQuery, what);
}

TableRows CTableMeasurements::Get(long lSessionId, long lScanId, long lMeasurementId)
{
    static const QString s_sStatement = Select(c_pOneRow);
    TableRows rows;
    DoSelect(s_sStatement, {qlonglong(lMeasurementId), qlonglong(lSessionId), qlonglong(lScanId)},
             RowNames(), rows, QStringLiteral("Cannot read measurement %1").arg(lMeasurementId));
    return rows;
}

bool CTableMeasurements::GetAllErrorsForSession(long lSessionId, TableRows& rows)
{
    // Sorting the few error rows found by state beats walking the whole session in id order;
    // the expression keeps the planner from choosing the latter.
    static const QString s_sStatement = Select("session_id = ? AND state IN (?, ?)", "id + 0");
    return DoSelect(
        s_sStatement,
        {qlonglong(lSessionId), qlonglong(c_lStateError), qlonglong(c_lStateOutOfRange)},
        RowNames(), rows, QStringLiteral("Cannot read the errors of session %1").arg(lSessionId));
}

bool CTableMeasurements::GetAllResultsForSession(long lSessionId, TableRows& rows)
{
    static const QString s_sStatement = Select("session_id = ?");
    return DoSelect(s_sStatement, {qlonglong(lSessionId)}, RowNames(), rows,
                    QStringLiteral("Cannot read the results of session %1").arg(lSessionId));
}

bool CTableMeasurements::GetAllMeasurementsForChannel(long lSessionId, long lScan, long lChannelId,
                                                      TableRows& rows)
{
    if (lScan < 0)
    {
        return true;
    }
    static const QString s_sStatement =
        Select("session_id = ? AND channel_id = ? AND scan_id = (SELECT id FROM scan "
               "WHERE session_id = ? ORDER BY id LIMIT 1 OFFSET ?)");
    return DoSelect(
        s_sStatement,
        {qlonglong(lSessionId), qlonglong(lChannelId), qlonglong(lSessionId), qlonglong(lScan)},
        RowNames(), rows, ChannelReadError(lSessionId, lChannelId));
}

bool CTableMeasurements::GetMeasurementsForChannel(long lSessionId, long lChannelId, long lItemId,
                                                   TableRows& rows)
{
    static const QString s_sStatement =
        Select("session_id = ? AND channel_id = ? AND measurement_item = ?");
    return DoSelect(s_sStatement,
                    {qlonglong(lSessionId), qlonglong(lChannelId), qlonglong(lItemId)}, RowNames(),
                    rows, ChannelReadError(lSessionId, lChannelId));
}

bool CTableMeasurements::OpenAllErrorsForSession(long lSessionId, CTableCursor& cursor)
{
    static const QString s_sStatement = Select("session_id = ? AND state IN (?, ?)", "id + 0");
    return cursor.Open(
        s_sStatement,
        {qlonglong(lSessionId), qlonglong(c_lStateError), qlonglong(c_lStateOutOfRange)},
        [lSessionId]
        { return QStringLiteral("Cannot read the errors of session %1").arg(lSessionId); });
}

bool CTableMeasurements::OpenAllResultsForSession(long lSessionId, CTableCursor& cursor)
{
    static const QString s_sStatement = Select("session_id = ?");
    return cursor.Open(
        s_sStatement, {qlonglong(lSessionId)},
        [lSessionId]
        { return QStringLiteral("Cannot read the results of session %1").arg(lSessionId); });
}

bool CTableMeasurements::OpenAllMeasurementsForChannel(long lSessionId, long lScan, long lChannelId,
                                                       CTableCursor& cursor)
{
    if (lScan < 0)
    {
        cursor.Finish();
        return true;
    }
    static const QString s_sStatement =
        Select("session_id = ? AND channel_id = ? AND scan_id = (SELECT id FROM scan "
               "WHERE session_id = ? ORDER BY id LIMIT 1 OFFSET ?)");
    return cursor.Open(
        s_sStatement,
        {qlonglong(lSessionId), qlonglong(lChannelId), qlonglong(lSessionId), qlonglong(lScan)},
        ChannelReadError(lSessionId, lChannelId));
}

bool CTableMeasurements::OpenMeasurementsForChannel(long lSessionId, long lChannelId, long lItemId,
                                                    CTableCursor& cursor)
{
    static const QString s_sStatement =
        Select("session_id = ? AND channel_id = ? AND measurement_item = ?");
    return cursor.Open(s_sStatement,
                       {qlonglong(lSessionId), qlonglong(lChannelId), qlonglong(lItemId)},
                       ChannelReadError(lSessionId, lChannelId));
}

bool CTableMeasurements::OpenAllResultsForSessionByScan(long lSessionId, CTableCursor& cursor)
{
    static const QString s_sStatement = Select("session_id = ?", "scan_id, channel_id, id");
    return cursor.Open(
        s_sStatement, {qlonglong(lSessionId)},
        [lSessionId]
        { return QStringLiteral("Cannot read the results of session %1").arg(lSessionId); });
}

bool CTableMeasurements::OpenMeasurementsByScanAndChannel(long lSessionId, long lScans,
                                                          long lChannels, CTableCursor& cursor)
{
    // The scans by position as the channel read finds them; the index on (session, scan,
    // channel) yields the rows in the order asked for, ids last, without sorting.
    static const QString s_sStatement =
        Select("session_id = ? AND scan_id IN (SELECT id FROM scan WHERE session_id = ? "
               "ORDER BY id LIMIT ?) AND channel_id >= 0 AND channel_id < ?",
               "scan_id, channel_id, id");
    return cursor.Open(
        s_sStatement,
        {qlonglong(lSessionId), qlonglong(lSessionId), qlonglong(std::max(lScans, 0L)),
         qlonglong(lChannels)},
        [lSessionId]
        { return QStringLiteral("Cannot read the results of session %1").arg(lSessionId); });
}

long CTableMeasurements::GetAmountOfResultsForSession(long lSessionId)
{
    long lCount = 0;
    if (!DoSelectNumber(QStringLiteral("SELECT COUNT(*) FROM measurement WHERE session_id = ?"),
                        {qlonglong(lSessionId)}, 0, lCount,
                        QStringLiteral("Cannot count the results of session %1").arg(lSessionId)))
    {
        return -1;
    }
    return lCount;
}

long CTableMeasurements::GetAmountOfMeasurementValuesForChannel(long lSessionId, long lChannelId)
{
    long lCount = 0;
    if (!DoSelectNumber(QStringLiteral("SELECT COUNT(*) FROM measurement "
                                       "WHERE session_id = ? AND channel_id = ?"),
                        {qlonglong(lSessionId), qlonglong(lChannelId)}, 0, lCount,
                        QStringLiteral("Cannot count the values of channel %1").arg(lChannelId)))
    {
        return -1;
    }
    return lCount;
}

namespace
{

#ifdef MDA_HAVE_LIBPQ
// One field of COPY's text format: the backslash escapes its own special characters.
void AppendCopyText(QByteArray& out, const QString& sText)
{
    const QByteArray utf8 = sText.toUtf8();
    for (const char c : utf8)
    {
        switch (c)
        {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
}

// The server connection under the Qt one, when it is in the caller's transaction and idle.
PGconn* IdleConnectionInTransaction(CDatabaseMultiInstance& db)
{
    QSqlQuery* pQuery = db.GetPreparedQuery(QStringLiteral("SELECT 1"));
    if (pQuery == nullptr || pQuery->driver() == nullptr)
    {
        return nullptr;
    }
    // Qt 5 names the handle by the typedef, Qt 6 by the struct behind it.
    const QVariant handle = pQuery->driver()->handle();
    if (!handle.isValid() || (qstrcmp(handle.typeName(), "PGconn*") != 0 &&
                              qstrcmp(handle.typeName(), "pg_conn*") != 0))
    {
        return nullptr;
    }
    PGconn* pConn = *static_cast<PGconn* const*>(handle.constData());
    return pConn != nullptr && PQtransactionStatus(pConn) == PQTRANS_INTRANS ? pConn : nullptr;
}

// Streams the rows through COPY FROM STDIN: one round trip for all of them instead of one
// per statement, and no statement text to parse on the server.
bool CopyRows(CDatabaseMultiInstance& db, PGconn* pConn, qint64 llSessionId,
              const QVariantList& values, int iColumns)
{
    const auto fail = [&db, llSessionId](const QString& sReason)
    {
        return db.Fail(QStringLiteral("Cannot store the rows of session %1: %2")
                           .arg(llSessionId)
                           .arg(sReason.trimmed()));
    };
    PGresult* pResult =
        PQexec(pConn, "COPY measurement (session_id, scan_id, channel_id, measurement_item, "
                      "state, value, error_description) FROM STDIN");
    if (PQresultStatus(pResult) != PGRES_COPY_IN)
    {
        const QString sError = QString::fromUtf8(PQerrorMessage(pConn));
        PQclear(pResult);
        return fail(sError);
    }
    PQclear(pResult);
    const QByteArray session = QByteArray::number(llSessionId);
    QByteArray buffer;
    buffer.reserve(256 * 1024);
    bool bSent = true;
    for (int i = 0; i < values.size() && bSent; i += iColumns)
    {
        buffer += session;
        for (int c = 0; c < iColumns; ++c)
        {
            buffer += '\t';
            const QVariant& value = values[i + c];
            if (value.userType() == QMetaType::QString)
            {
                AppendCopyText(buffer, value.toString());
            }
            else
            {
                buffer += QByteArray::number(value.toLongLong());
            }
        }
        buffer += '\n';
        if (buffer.size() >= 192 * 1024 || i + iColumns >= values.size())
        {
            bSent = PQputCopyData(pConn, buffer.constData(), static_cast<int>(buffer.size())) == 1;
            buffer.clear();
        }
    }
    // Ending with an error text makes the server drop what it received.
    const int iEnd = PQputCopyEnd(pConn, bSent ? nullptr : "sending the rows failed");
    QString sError = bSent && iEnd == 1 ? QString() : QString::fromUtf8(PQerrorMessage(pConn));
    while ((pResult = PQgetResult(pConn)) != nullptr)
    {
        if (PQresultStatus(pResult) != PGRES_COMMAND_OK && sError.isEmpty())
        {
            sError = QString::fromUtf8(PQresultErrorMessage(pResult));
        }
        PQclear(pResult);
    }
    return sError.isEmpty() || fail(sError);
}
#endif

} // namespace

bool CTableMeasurements::CreateRows(qint64 llSessionId, const QVariantList& values)
{
    if (values.size() % c_iCopyColumns != 0)
    {
        return m_Db.Fail(QStringLiteral("Cannot store rows of session %1: %2 values are no whole "
                                        "number of rows")
                             .arg(llSessionId)
                             .arg(values.size()));
    }
#ifdef MDA_HAVE_LIBPQ
    if (m_Db.IsPostgreSql())
    {
        if (PGconn* pConn = IdleConnectionInTransaction(m_Db))
        {
            return CopyRows(m_Db, pConn, llSessionId, values, c_iCopyColumns);
        }
    }
#endif
    // SQLite binds at most 999 values per statement in older versions; the server takes many
    // more, and each statement less is one round trip less.
    const int iBatch = m_Db.IsPostgreSql() ? 1024 : 128;
    const int iRows = values.size() / c_iCopyColumns;
    static const char c_szKey = 0;
    for (int iFirst = 0; iFirst < iRows; iFirst += iBatch)
    {
        const int iCount = std::min(iBatch, iRows - iFirst);
        QSqlQuery* pQuery = DoFixedStatement(
            &c_szKey, static_cast<quint64>(iCount),
            [iCount]
            {
                QString sStatement = QStringLiteral(
                    "INSERT INTO measurement (session_id, scan_id, channel_id, measurement_item, "
                    "state, value, error_description) VALUES ");
                for (int r = 0; r < iCount; ++r)
                {
                    sStatement += r == 0 ? QStringLiteral("(?, ?, ?, ?, ?, ?, ?)")
                                         : QStringLiteral(", (?, ?, ?, ?, ?, ?, ?)");
                }
                return sStatement;
            },
            [llSessionId]
            { return QStringLiteral("Cannot store the rows of session %1").arg(llSessionId); });
        if (pQuery == nullptr)
        {
            return false;
        }
        int iPosition = 0;
        for (int r = iFirst; r < iFirst + iCount; ++r)
        {
            DoBindNumber(*pQuery, iPosition++, llSessionId);
            const int iBase = r * c_iCopyColumns;
            for (int c = 0; c < c_iCopyColumns; ++c)
            {
                pQuery->bindValue(iPosition++, values[iBase + c]);
            }
        }
        if (!m_Db.Execute(
                *pQuery, [llSessionId]
                { return QStringLiteral("Cannot store the rows of session %1").arg(llSessionId); }))
        {
            return false;
        }
    }
    return true;
}

} // namespace OrvelFramework

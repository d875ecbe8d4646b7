// The samples of mda_bench, each in a process of its own: recording through the library, the
// same statements through the sqlite3 C API or libpq, building a cached session, LoadData and
// the classic CSV export.

#include "BenchWork.h"

#include "CChannelData.h"
#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CConverter.h"
#include "CDBMeasurement.h"
#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "CDBScanData.h"
#include "CDBSessionControler.h"
#include "CDatabaseMultiInstance.h"
#include "CDatabaseTransaction.h"
#include "CDeviceSettingsData.h"
#include "CEnumTemplate.h"
#include "CMeasConfigData.h"
#include "CMeasurementResultData.h"
#include "CValueFactory.h"
#include "EMeasurementItems.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUrl>

#include <sqlite3.h>
#ifdef MDA_BENCH_LIBPQ
#include <libpq-fe.h>
#endif

#include <cstdio>
#include <cstdlib>

using namespace LumoraMeasurement;
using OrvelFramework::CDatabaseMultiInstance;
using OrvelFramework::CDatabaseTransaction;

namespace
{

constexpr const char* c_pScanTime = "2026-12-06 12:00:00";

/// The items recorded per channel: floating-point items of the catalogue in its order.
const std::vector<EMeasurementItems>& FloatItems()
{
    static const std::vector<EMeasurementItems> s_Items = []
    {
        std::vector<EMeasurementItems> items;
        for (const auto& row : CRepresentation<EMeasurementItems>::Table())
        {
            if (CValueFactory::MeasurementItem_GetItemValueType(row.m_eEnumValue) ==
                eValueType_Float)
            {
                items.push_back(row.m_eEnumValue);
            }
        }
        return items;
    }();
    return s_Items;
}

// Every limit is "between 0 and 100" in the item's unit; values lie between 10 and 90.
constexpr const char* c_pLow = "0";
constexpr const char* c_pHigh = "100";

double Seconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// The process's own high-water mark in kilobytes: exact where polling could miss the end.
void PrintResult(double dSeconds, const QString& sNote = QString())
{
    std::printf("seconds %.6f\npeak %ld\n", dSeconds,
                HighWaterKb(QStringLiteral("/proc/self/status")));
    if (!sNote.isEmpty())
    {
        std::printf("note %s\n", qPrintable(sNote));
    }
}

int Fail(const QString& sWhat)
{
    std::fprintf(stderr, "%s\n", qPrintable(sWhat));
    return 1;
}

SBenchShape ShapeFrom(const QStringList& a, int iFirst)
{
    SBenchShape shape;
    shape.lScans = a.value(iFirst).toLong();
    shape.lChannels = a.value(iFirst + 1).toLong();
    shape.lItems = a.value(iFirst + 2).toLong();
    shape.eData = a.value(iFirst + 3) == QLatin1String("all") ? EBenchData::AllViolating
                                                               : EBenchData::Realistic;
    return shape;
}

QString Password()
{
    return QString::fromLocal8Bit(qgetenv("MDA_BENCH_PG_PASSWORD"));
}

bool IsPostgres(const QString& sName)
{
    return sName.startsWith(QLatin1String("postgres"));
}

// An empty database with the library's schema, untimed: for PostgreSQL the tables are dropped
// and made again, as a new database would have them.
bool PrepareDatabase(const QString& sName, const QString& sUser, const QString& sCopyFrom)
{
    if (!IsPostgres(sName))
    {
        QFile::remove(sName);
        QFile::remove(sName + "-wal");
        QFile::remove(sName + "-shm");
        if (!sCopyFrom.isEmpty() && !QFile::copy(sCopyFrom, sName))
        {
            return false;
        }
    }
    else
    {
        bool bOk = false;
        {
            const QUrl url(sName);
            QSqlDatabase pg = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), "bench-reset");
            pg.setHostName(url.host());
            pg.setPort(url.port(5432));
            pg.setDatabaseName(url.path().mid(1));
            pg.setUserName(sUser);
            pg.setPassword(Password());
            bOk = pg.open() &&
                  QSqlQuery(pg).exec("SET client_min_messages TO warning") &&
                  QSqlQuery(pg).exec(
                      "DROP TABLE IF EXISTS measurement, scan, session, export_file, "
                      "exported_limit_values, exported_channel_settings, schema_version CASCADE");
            pg.close();
        }
        QSqlDatabase::removeDatabase("bench-reset");
        if (!bOk)
        {
            return false;
        }
    }
    CDatabaseMultiInstance db(sName, sUser, Password());
    if (!db.Open())
    {
        std::fprintf(stderr, "%s\n", qPrintable(db.LastError()));
        return false;
    }
    return true;
}

// The library's side of a recording: one scope per scan around the scan row, every value's
// create and update and the scan's final state.
bool LibraryRecordScan(CDatabaseMultiInstance& db, long lSession, long lScan,
                       const std::vector<SBenchValue>& values, const SBenchShape& shape,
                       const std::vector<QString>& texts, const std::vector<QString>& errors)
{
    CDBScanController scans(db);
    CDBMeasurementController measurements(db);
    CDatabaseTransaction scope(db);
    long lScanId = lScan;
    if (!scans.Create(lSession, lScanId))
    {
        return false;
    }
    size_t n = 0;
    for (long c = 0; c < shape.lChannels; ++c)
    {
        for (long i = 0; i < shape.lItems; ++i, ++n)
        {
            long lId = 0;
            if (!measurements.Create(lSession, lScanId, c, lId))
            {
                return false;
            }
            CDBMeasurement m(lSession, lScanId, c, lId);
            m.SetMeasurementItem(values[n].lItem);
            m.SetMeasurementState(values[n].lState);
            m.SetValue(texts[n]);
            m.SetErrorDescription(errors[n]);
            if (!measurements.Update(m))
            {
                return false;
            }
        }
    }
    return scans.Update(CDBScanData(lSession, lScanId), 0) && scope.Commit();
}

struct SScanTexts
{
    std::vector<SBenchValue> values;
    std::vector<QString> texts;
    std::vector<QString> errors;
};

SScanTexts ScanTexts(const SBenchShape& shape, long lScan)
{
    SScanTexts scan;
    scan.values = BenchScanValues(shape, lScan);
    for (const SBenchValue& v : scan.values)
    {
        scan.texts.push_back(QString::fromUtf8(v.value));
        scan.errors.push_back(QString::fromUtf8(v.error));
    }
    return scan;
}

int RecordLibrary(const QString& sName, const QString& sUser, const SBenchShape& shape,
                  const QString& sCopyFrom)
{
    if (!PrepareDatabase(sName, sUser, sCopyFrom))
    {
        return Fail("cannot prepare the database");
    }
    std::vector<SScanTexts> scans;
    for (long s = 1; s <= shape.lScans; ++s)
    {
        scans.push_back(ScanTexts(shape, s));
    }
    CDatabaseMultiInstance db(sName, sUser, Password());
    long lSession = 0;
    const QString e;
    if (!db.Open() || !CDBSessionControler(db).Create(lSession, "bench", "bench", e, e, e, e, e,
                                                      e, e, e, e, e, e, e, e))
    {
        return Fail(db.LastError());
    }
    QElapsedTimer timer;
    timer.start();
    for (long s = 1; s <= shape.lScans; ++s)
    {
        const SScanTexts& scan = scans[static_cast<size_t>(s - 1)];
        if (!LibraryRecordScan(db, lSession, s, scan.values, shape, scan.texts, scan.errors))
        {
            return Fail(db.LastError());
        }
    }
    PrintResult(Seconds(timer));
    return 0;
}

/// The reference's timed part: the scans' values made first, then every scan recorded
/// through the opened raw connection.
template <typename TRaw, typename FOpen>
int TimeRawScans(TRaw& raw, const SBenchShape& shape, FOpen open)
{
    std::vector<std::vector<SBenchValue>> scans;
    for (long s = 1; s <= shape.lScans; ++s)
    {
        scans.push_back(BenchScanValues(shape, s));
    }
    long lSession = 0;
    if (!open(lSession))
    {
        return Fail(raw.Error());
    }
    QElapsedTimer timer;
    timer.start();
    for (long s = 1; s <= shape.lScans; ++s)
    {
        if (!raw.RecordScan(lSession, s, shape, scans[static_cast<size_t>(s - 1)]))
        {
            return Fail(raw.Error());
        }
    }
    PrintResult(Seconds(timer));
    return 0;
}

// The same statements through the sqlite3 C API: prepared once, values bound as the library
// binds them (whole numbers as integers, texts as texts).
class CRawSqlite
{
public:
    ~CRawSqlite()
    {
        for (sqlite3_stmt* p : {m_pScan, m_pScanDone, m_pCreate, m_pUpdate, m_pUpdateError})
        {
            sqlite3_finalize(p);
        }
        sqlite3_close(m_pDb);
    }

    bool Open(const QString& sPath, long& lSession)
    {
        if (sqlite3_open(sPath.toUtf8().constData(), &m_pDb) != SQLITE_OK ||
            !Exec("PRAGMA busy_timeout = 10; PRAGMA journal_mode = WAL; "
                  "PRAGMA synchronous = FULL; PRAGMA foreign_keys = ON;"
                  "INSERT INTO session (unique_id, description) VALUES ('bench', 'bench')"))
        {
            return false;
        }
        lSession = sqlite3_last_insert_rowid(m_pDb);
        return Prepare("INSERT INTO scan (id, session_id, date_time) VALUES (?, ?, ?)", m_pScan) &&
               Prepare("UPDATE scan SET state = ?, date_time = ? WHERE session_id = ? AND id = ?",
                       m_pScanDone) &&
               Prepare("INSERT INTO measurement (session_id, scan_id, channel_id) "
                       "VALUES (?, ?, ?)",
                       m_pCreate) &&
               Prepare("UPDATE measurement SET channel_id = ?, measurement_item = ?, state = ?, "
                       "value = ? WHERE id = ? AND session_id + 0 = ? AND scan_id + 0 = ?",
                       m_pUpdate) &&
               Prepare("UPDATE measurement SET channel_id = ?, measurement_item = ?, state = ?, "
                       "value = ?, error_description = ? WHERE id = ? AND session_id + 0 = ? "
                       "AND scan_id + 0 = ?",
                       m_pUpdateError);
    }

    bool RecordScan(long lSession, long lScan, const SBenchShape& shape,
                    const std::vector<SBenchValue>& values)
    {
        if (!Exec("BEGIN IMMEDIATE"))
        {
            return false;
        }
        sqlite3_bind_int64(m_pScan, 1, lScan);
        sqlite3_bind_int64(m_pScan, 2, lSession);
        sqlite3_bind_text(m_pScan, 3, c_pScanTime, -1, SQLITE_TRANSIENT);
        if (!Step(m_pScan))
        {
            return false;
        }
        size_t n = 0;
        for (long c = 0; c < shape.lChannels; ++c)
        {
            for (long i = 0; i < shape.lItems; ++i, ++n)
            {
                const SBenchValue& v = values[n];
                sqlite3_bind_int64(m_pCreate, 1, lSession);
                sqlite3_bind_int64(m_pCreate, 2, lScan);
                sqlite3_bind_int64(m_pCreate, 3, c);
                if (!Step(m_pCreate))
                {
                    return false;
                }
                const sqlite3_int64 llId = sqlite3_last_insert_rowid(m_pDb);
                sqlite3_stmt* p = v.error.isEmpty() ? m_pUpdate : m_pUpdateError;
                int k = 1;
                sqlite3_bind_int64(p, k++, c);
                sqlite3_bind_int64(p, k++, v.lItem);
                sqlite3_bind_int64(p, k++, v.lState);
                sqlite3_bind_text(p, k++, v.value.constData(), v.value.size(), SQLITE_TRANSIENT);
                if (!v.error.isEmpty())
                {
                    sqlite3_bind_text(p, k++, v.error.constData(), v.error.size(),
                                      SQLITE_TRANSIENT);
                }
                sqlite3_bind_int64(p, k++, llId);
                sqlite3_bind_int64(p, k++, lSession);
                sqlite3_bind_int64(p, k++, lScan);
                if (!Step(p) || sqlite3_changes(m_pDb) != 1)
                {
                    return false;
                }
            }
        }
        sqlite3_bind_int64(m_pScanDone, 1, 0);
        sqlite3_bind_text(m_pScanDone, 2, c_pScanTime, -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(m_pScanDone, 3, lSession);
        sqlite3_bind_int64(m_pScanDone, 4, lScan);
        return Step(m_pScanDone) && sqlite3_changes(m_pDb) == 1 && Exec("COMMIT");
    }

    const char* Error() const { return sqlite3_errmsg(m_pDb); }

private:
    bool Exec(const char* pSql)
    {
        return sqlite3_exec(m_pDb, pSql, nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    bool Prepare(const char* pSql, sqlite3_stmt*& p)
    {
        return sqlite3_prepare_v2(m_pDb, pSql, -1, &p, nullptr) == SQLITE_OK;
    }
    static bool Step(sqlite3_stmt* p)
    {
        const bool bOk = sqlite3_step(p) == SQLITE_DONE;
        sqlite3_reset(p);
        return bOk;
    }

    sqlite3* m_pDb = nullptr;
    sqlite3_stmt* m_pScan = nullptr;
    sqlite3_stmt* m_pScanDone = nullptr;
    sqlite3_stmt* m_pCreate = nullptr;
    sqlite3_stmt* m_pUpdate = nullptr;
    sqlite3_stmt* m_pUpdateError = nullptr;
};

int RecordSqlite(const QString& sPath, const SBenchShape& shape, const QString& sCopyFrom)
{
    if (!PrepareDatabase(sPath, QString(), sCopyFrom))
    {
        return Fail("cannot prepare the database");
    }
    CRawSqlite raw;
    return TimeRawScans(raw, shape, [&](long& lSession) { return raw.Open(sPath, lSession); });
}

#ifdef MDA_BENCH_LIBPQ
// The same statements through libpq: prepared once, one round trip per statement as the
// library needs, parameters as texts (libpq's own way).
class CRawPostgres
{
public:
    ~CRawPostgres() { PQfinish(m_pConn); }

    bool Open(const QString& sUrl, const QString& sUser, long& lSession)
    {
        const QUrl url(sUrl);
        const QByteArray host = url.host().toUtf8();
        const QByteArray port = QByteArray::number(url.port(5432));
        const QByteArray name = url.path().mid(1).toUtf8();
        const QByteArray user = sUser.toUtf8();
        const QByteArray password = Password().toUtf8();
        const char* keys[] = {"host", "port", "dbname", "user", "password", nullptr};
        const char* values[] = {host.constData(), port.constData(), name.constData(),
                                user.constData(), password.constData(), nullptr};
        m_pConn = PQconnectdbParams(keys, values, 0);
        if (PQstatus(m_pConn) != CONNECTION_OK || !Exec("SET client_min_messages TO warning"))
        {
            return false;
        }
        PGresult* pResult =
            PQexec(m_pConn, "INSERT INTO session (unique_id, description) VALUES ('bench', "
                            "'bench') RETURNING id");
        const bool bOk = PQresultStatus(pResult) == PGRES_TUPLES_OK;
        lSession = bOk ? std::atol(PQgetvalue(pResult, 0, 0)) : 0;
        PQclear(pResult);
        return bOk &&
               Prepare("scan", "INSERT INTO scan (id, session_id, date_time) VALUES ($1, $2, $3) "
                               "RETURNING id") &&
               Prepare("scan_done",
                       "UPDATE scan SET state = $1, date_time = $2 WHERE session_id = $3 AND "
                       "id = $4") &&
               Prepare("create", "INSERT INTO measurement (session_id, scan_id, channel_id) "
                                 "VALUES ($1, $2, $3) RETURNING id") &&
               Prepare("update", "UPDATE measurement SET channel_id = $1, measurement_item = $2, "
                                 "state = $3, value = $4 WHERE id = $5 AND session_id + 0 = $6 "
                                 "AND scan_id + 0 = $7") &&
               Prepare("update_error",
                       "UPDATE measurement SET channel_id = $1, measurement_item = $2, state = "
                       "$3, value = $4, error_description = $5 WHERE id = $6 AND session_id + 0 = "
                       "$7 AND scan_id + 0 = $8");
    }

    bool RecordScan(long lSession, long lScan, const SBenchShape& shape,
                    const std::vector<SBenchValue>& values)
    {
        const QByteArray session = QByteArray::number(static_cast<qlonglong>(lSession));
        const QByteArray scan = QByteArray::number(static_cast<qlonglong>(lScan));
        if (!Exec("BEGIN") || !Run("scan", {scan.constData(), session.constData(), c_pScanTime},
                                   PGRES_TUPLES_OK))
        {
            return false;
        }
        size_t n = 0;
        for (long c = 0; c < shape.lChannels; ++c)
        {
            const QByteArray channel = QByteArray::number(static_cast<qlonglong>(c));
            for (long i = 0; i < shape.lItems; ++i, ++n)
            {
                const SBenchValue& v = values[n];
                PGresult* pResult = Execute(
                    "create", {session.constData(), scan.constData(), channel.constData()});
                if (PQresultStatus(pResult) != PGRES_TUPLES_OK || PQntuples(pResult) != 1)
                {
                    PQclear(pResult);
                    return false;
                }
                const QByteArray id(PQgetvalue(pResult, 0, 0));
                PQclear(pResult);
                const QByteArray item = QByteArray::number(static_cast<qlonglong>(v.lItem));
                const QByteArray state = QByteArray::number(static_cast<qlonglong>(v.lState));
                const bool bOk =
                    v.error.isEmpty()
                        ? Run("update",
                              {channel.constData(), item.constData(), state.constData(),
                               v.value.constData(), id.constData(), session.constData(),
                               scan.constData()},
                              PGRES_COMMAND_OK, true)
                        : Run("update_error",
                              {channel.constData(), item.constData(), state.constData(),
                               v.value.constData(), v.error.constData(), id.constData(),
                               session.constData(), scan.constData()},
                              PGRES_COMMAND_OK, true);
                if (!bOk)
                {
                    return false;
                }
            }
        }
        return Run("scan_done", {"0", c_pScanTime, session.constData(), scan.constData()},
                   PGRES_COMMAND_OK, true) &&
               Exec("COMMIT");
    }

    const char* Error() const { return PQerrorMessage(m_pConn); }

private:
    bool Exec(const char* pSql)
    {
        PGresult* pResult = PQexec(m_pConn, pSql);
        const bool bOk = PQresultStatus(pResult) == PGRES_COMMAND_OK;
        PQclear(pResult);
        return bOk;
    }
    bool Prepare(const char* pName, const char* pSql)
    {
        PGresult* pResult = PQprepare(m_pConn, pName, pSql, 0, nullptr);
        const bool bOk = PQresultStatus(pResult) == PGRES_COMMAND_OK;
        PQclear(pResult);
        return bOk;
    }
    PGresult* Execute(const char* pName, const std::vector<const char*>& params)
    {
        return PQexecPrepared(m_pConn, pName, static_cast<int>(params.size()), params.data(),
                              nullptr, nullptr, 0);
    }
    bool Run(const char* pName, const std::vector<const char*>& params, ExecStatusType eWanted,
             bool bOneRow = false)
    {
        PGresult* pResult = Execute(pName, params);
        bool bOk = PQresultStatus(pResult) == eWanted;
        if (bOk && bOneRow)
        {
            bOk = std::atoi(PQcmdTuples(pResult)) == 1;
        }
        PQclear(pResult);
        return bOk;
    }

    PGconn* m_pConn = nullptr;
};

int RecordPostgres(const QString& sUrl, const QString& sUser, const SBenchShape& shape)
{
    if (!PrepareDatabase(sUrl, sUser, QString()))
    {
        return Fail("cannot prepare the database");
    }
    CRawPostgres raw;
    return TimeRawScans(raw, shape,
                        [&](long& lSession) { return raw.Open(sUrl, sUser, lSession); });
}
#endif

// The configuration a cached session is judged with, next to its database file.
CMeasConfigData Config(const QString& sFolder)
{
    CMeasConfigData config;
    config.SetDeviceSettingFile(sFolder + "/device.json");
    config.SetChannelTableFile(sFolder + "/channels.json");
    config.SetComparativeValuesFile(sFolder + "/limits.json");
    return config;
}

bool WriteConfiguration(const QString& sFolder, const SBenchShape& shape)
{
    CDeviceSettingsData device;
    device.SetDatabaseName(sFolder + "/session.sqlite");
    CChannelTableData channels;
    for (long c = 0; c < shape.lChannels; ++c)
    {
        channels.AddChannel(CChannelData(eTVStandard_DVBT, QStringLiteral("Ch%1").arg(c)),
                            CChannelTableData::c_lAppendRow);
    }
    CComparativeValueData limits;
    for (EMeasurementItems eItem : FloatItems())
    {
        QString sLow = QString::fromLatin1(c_pLow);
        limits.UpdateItem(eItem, eCompareType_Between, sLow, QString::fromLatin1(c_pHigh), true);
    }
    return device.Write(sFolder + "/device.json") &&
           channels.Write(sFolder + "/channels.json") && limits.Write(sFolder + "/limits.json");
}

// Builds the cached session (session id 1) through the library, one scope per scan.
int BuildSession(const QString& sFolder, const SBenchShape& shape)
{
    const QString sName = sFolder + "/session.sqlite";
    if (!QDir().mkpath(sFolder) || !WriteConfiguration(sFolder, shape) ||
        !PrepareDatabase(sName, QString(), QString()))
    {
        return Fail("cannot write the configuration of " + sFolder);
    }
    CDatabaseMultiInstance db(sName, QString(), QString());
    long lSession = 0;
    const QString e;
    if (!db.Open() ||
        !CDBSessionControler(db).Create(lSession, "bench", "bench", sFolder + "/channels.json",
                                        sFolder + "/limits.json", e, e, e, e, e, e, e, e, e, e,
                                        e) ||
        lSession != 1)
    {
        return Fail(db.LastError());
    }
    QElapsedTimer timer;
    timer.start();
    for (long s = 1; s <= shape.lScans; ++s)
    {
        const SScanTexts scan = ScanTexts(shape, s);
        if (!LibraryRecordScan(db, lSession, s, scan.values, shape, scan.texts, scan.errors))
        {
            return Fail(db.LastError());
        }
    }
    PrintResult(Seconds(timer));
    return 0;
}

int Load(const QString& sFolder)
{
    CMeasurementResultData model(1, eLevelUnit_dBuV);
    QElapsedTimer timer;
    timer.start();
    if (!model.LoadData(Config(sFolder)))
    {
        return Fail(model.LastError());
    }
    const double dSeconds = Seconds(timer);
    PrintResult(dSeconds,
                QStringLiteral("%1 violations").arg(model.GetNumberOfErrorsInSession()));
    return 0;
}

// The classic export to a file: switching to a streaming export changes this function only.
bool WriteClassicCsv(CMeasurementResultData& model, const QString& sFile)
{
    QFile file(sFile);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && model.WriteCSVExport(file) &&
           file.flush();
}

int Csv(const QString& sFolder, const QString& sFile)
{
    CMeasurementResultData model(1, eLevelUnit_dBuV);
    QElapsedTimer timer;
    timer.start();
    if (!model.LoadData(Config(sFolder)))
    {
        return Fail(model.LastError());
    }
    if (!WriteClassicCsv(model, sFile))
    {
        return Fail("cannot write " + sFile);
    }
    PrintResult(Seconds(timer));
    return 0;
}

} // namespace

std::vector<SBenchValue> BenchScanValues(const SBenchShape& shape, long lScan)
{
    const std::vector<EMeasurementItems>& items = FloatItems();
    const long lValid = CEnumTemplate<EMeasurementItemState>::ToId(eMeasurementItemState_Valid);
    const long lError = CEnumTemplate<EMeasurementItemState>::ToId(eMeasurementItemState_Error);
    std::vector<SBenchValue> values;
    values.reserve(static_cast<size_t>(shape.lChannels * shape.lItems));
    for (long c = 0; c < shape.lChannels; ++c)
    {
        for (long i = 0; i < shape.lItems; ++i)
        {
            const EMeasurementItems eItem = items[static_cast<size_t>(i) % items.size()];
            // A spread that looks random but is the same in every run.
            const unsigned long h =
                (static_cast<unsigned long>(lScan) * 2654435761UL + c * 40503UL + i * 9973UL) %
                100003UL;
            SBenchValue v;
            v.lItem = CEnumTemplate<EMeasurementItems>::ToId(eItem);
            v.lState = lValid;
            double dValue = 10.0 + static_cast<double>(h % 8000) / 100.0;
            if (shape.eData == EBenchData::AllViolating || h % 100 == 17)
            {
                dValue += 100.0;
            }
            if (h % 2000 == 3)
            {
                v.lState = lError;
                v.error = "Receiver not locked";
            }
            v.value = QByteArray::number(dValue, 'f', 2) + ' ' +
                      CConverter::GetUnitString(CValueFactory::MeasurementItem_GetItemUnit(eItem))
                          .toUtf8();
            values.push_back(std::move(v));
        }
    }
    return values;
}

int RunBenchChild(const QStringList& a)
{
    // a: mda_bench child WHAT ...
    const QString sWhat = a.value(2);
    if (sWhat == "build")
    {
        return BuildSession(a.value(3), ShapeFrom(a, 4));
    }
    if (sWhat == "record-lib")
    {
        return RecordLibrary(a.value(3), a.value(4), ShapeFrom(a, 5), a.value(9));
    }
    if (sWhat == "record-c")
    {
        return RecordSqlite(a.value(3), ShapeFrom(a, 5), a.value(9));
    }
#ifdef MDA_BENCH_LIBPQ
    if (sWhat == "record-pq")
    {
        return RecordPostgres(a.value(3), a.value(4), ShapeFrom(a, 5));
    }
#endif
    if (sWhat == "load")
    {
        return Load(a.value(3));
    }
    if (sWhat == "csv")
    {
        return Csv(a.value(3), a.value(4));
    }
    return Fail("unknown sample " + sWhat);
}

long HighWaterKb(const QString& sStatus)
{
    QFile file(sStatus);
    if (!file.open(QIODevice::ReadOnly))
    {
        return 0;
    }
    for (const QByteArray& line : file.readAll().split('\n'))
    {
        if (line.startsWith("VmHWM:"))
        {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return 0;
}

// Records a measurement session through the database controllers and reads it back, and does
// the same work with plain SQL through the sqlite3 C library as a baseline.
//
//   mda_bench [--scans S] [--channels C] [--items I] [--plain-scans P] [--folder DIR]
//             [--postgresql URL USER PASSWORD]
//
// Recording writes S scans of C channels x I items (create, then update with value and state,
// as a measurement run does) with one transaction scope per scan, and P scans without any
// scope (every call durable on its own). Reading gets the whole session at once, then every
// channel of every scan (what the CSV export does), then every item of every channel over all
// scans (what the curves do).

#include "CDBMeasurement.h"
#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "CDBScanData.h"
#include "CDBSessionControler.h"
#include "CDatabaseMultiInstance.h"
#include "CDatabaseTransaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace LumoraMeasurement;
using OrvelFramework::CDatabaseMultiInstance;
using OrvelFramework::CDatabaseTransaction;

namespace
{

struct SShape
{
    long lScans = 10;
    long lChannels = 100;
    long lItems = 40;
    long lPlainScans = 1;
};

struct SFigures
{
    double dScopeSeconds = 0; // all scans with a scope
    double dFirstScanSeconds = 0;
    double dPlainSeconds = 0; // scans without a scope
    double dSessionReadSeconds = 0;
    double dChannelReadSeconds = 0;
    double dItemReadSeconds = 0;
    long lSessionRows = 0;
};

QString ValueText(long lScan, long lChannel, long lItem)
{
    return QString::number(
               -30.0 + 0.01 * static_cast<double>((lScan * 7 + lChannel * 13 + lItem) % 9000), 'f',
               2) +
           QStringLiteral(" dBuV");
}

double Seconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

bool RecordScan(CDatabaseMultiInstance& db, long lSession, long lScanId, const SShape& shape)
{
    CDBScanController scans(db);
    CDBMeasurementController measurements(db);
    long lId = lScanId;
    if (!scans.Create(lSession, lId))
    {
        return false;
    }
    for (long lChannel = 0; lChannel < shape.lChannels; ++lChannel)
    {
        for (long lItem = 0; lItem < shape.lItems; ++lItem)
        {
            long lMeasurementId = 0;
            if (!measurements.Create(lSession, lScanId, lChannel, lMeasurementId))
            {
                return false;
            }
            CDBMeasurement measurement(lSession, lScanId, lChannel, lMeasurementId);
            measurement.SetMeasurementItem(lItem);
            measurement.SetMeasurementState(2);
            measurement.SetValue(ValueText(lScanId, lChannel, lItem));
            if (!measurements.Update(measurement))
            {
                return false;
            }
        }
    }
    return scans.Update(CDBScanData(lSession, lScanId), 0);
}

bool RunLibrary(CDatabaseMultiInstance& db, const SShape& shape, SFigures& figures)
{
    if (!db.Open())
    {
        return false;
    }
    CDBSessionControler sessions(db);
    long lSession = 0;
    const QString sEmpty;
    if (!sessions.Create(lSession, QStringLiteral("bench"), QStringLiteral("benchmark session"),
                         sEmpty, sEmpty, sEmpty, sEmpty, sEmpty, sEmpty, sEmpty, sEmpty, sEmpty,
                         sEmpty, sEmpty, sEmpty, sEmpty))
    {
        return false;
    }
    QElapsedTimer timer;
    timer.start();
    for (long lScan = 1; lScan <= shape.lScans; ++lScan)
    {
        QElapsedTimer scanTimer;
        scanTimer.start();
        CDatabaseTransaction scope(db);
        if (!RecordScan(db, lSession, lScan, shape) || !scope.Commit())
        {
            return false;
        }
        if (lScan == 1)
        {
            figures.dFirstScanSeconds = Seconds(scanTimer);
        }
    }
    figures.dScopeSeconds = Seconds(timer);

    timer.restart();
    for (long lScan = 1; lScan <= shape.lPlainScans; ++lScan)
    {
        if (!RecordScan(db, lSession, shape.lScans + lScan, shape))
        {
            return false;
        }
    }
    figures.dPlainSeconds = Seconds(timer);

    CDBMeasurementController measurements(db);
    std::vector<CDBMeasurement> rows;
    timer.restart();
    measurements.GetAllResultsForSession(lSession, rows);
    figures.dSessionReadSeconds = Seconds(timer);
    figures.lSessionRows = static_cast<long>(rows.size());

    const long lAllScans = shape.lScans + shape.lPlainScans;
    long lRead = 0;
    timer.restart();
    for (long lPosition = 0; lPosition < lAllScans; ++lPosition)
    {
        for (long lChannel = 0; lChannel < shape.lChannels; ++lChannel)
        {
            std::vector<CDBMeasurement> channel;
            measurements.GetAllMeasurementResultsForChannel(lSession, lPosition, lChannel, channel);
            lRead += static_cast<long>(channel.size());
        }
    }
    figures.dChannelReadSeconds = Seconds(timer);

    timer.restart();
    for (long lChannel = 0; lChannel < shape.lChannels; ++lChannel)
    {
        for (long lItem = 0; lItem < shape.lItems; ++lItem)
        {
            std::vector<CDBMeasurement> curve;
            measurements.GetMeasurementResultsForChannel(lSession, lChannel, lItem, curve);
            lRead += static_cast<long>(curve.size());
        }
    }
    figures.dItemReadSeconds = Seconds(timer);
    return lRead == 2 * figures.lSessionRows;
}

// The same schema and statements, without Qt.
class CRawSqlite
{
public:
    ~CRawSqlite()
    {
        for (sqlite3_stmt* pStatement : {m_pScan, m_pScanDone, m_pCreate, m_pUpdate, m_pRead})
        {
            sqlite3_finalize(pStatement);
        }
        sqlite3_close(m_pDb);
    }

    bool Run(const std::string& sPath, const SShape& shape, SFigures& figures)
    {
        if (sqlite3_open(sPath.c_str(), &m_pDb) != SQLITE_OK ||
            !Exec("PRAGMA busy_timeout = 5000; PRAGMA journal_mode = WAL; "
                  "PRAGMA synchronous = FULL; PRAGMA foreign_keys = ON;"
                  "CREATE TABLE session (id INTEGER PRIMARY KEY, description TEXT);"
                  "CREATE TABLE scan (session_id INTEGER NOT NULL REFERENCES session (id), "
                  "id INTEGER NOT NULL, state INTEGER NOT NULL DEFAULT -1, date_time TEXT, "
                  "PRIMARY KEY (session_id, id));"
                  "CREATE TABLE measurement (id INTEGER PRIMARY KEY, session_id INTEGER NOT "
                  "NULL, scan_id INTEGER NOT NULL, channel_id INTEGER NOT NULL, "
                  "measurement_item INTEGER NOT NULL DEFAULT -1, state INTEGER NOT NULL "
                  "DEFAULT -1, value TEXT, error_description TEXT, FOREIGN KEY (session_id, "
                  "scan_id) REFERENCES scan (session_id, id));"
                  "CREATE INDEX m0 ON measurement (session_id);"
                  "CREATE INDEX m1 ON measurement (session_id, scan_id, channel_id);"
                  "CREATE INDEX m2 ON measurement (session_id, channel_id, measurement_item);"
                  "CREATE INDEX m3 ON measurement (session_id, state);"
                  "INSERT INTO session (id, description) VALUES (1, 'raw');") ||
            !Prepare("INSERT INTO scan (session_id, id, date_time) VALUES (1, ?, ?)", m_pScan) ||
            !Prepare("UPDATE scan SET state = ?, date_time = ? WHERE session_id = 1 AND id = ?",
                     m_pScanDone) ||
            !Prepare("INSERT INTO measurement (session_id, scan_id, channel_id) VALUES (1, ?, ?)",
                     m_pCreate) ||
            !Prepare("UPDATE measurement SET channel_id = ?, measurement_item = ?, state = ?, "
                     "value = ? WHERE id = ? AND session_id = 1 AND scan_id = ?",
                     m_pUpdate) ||
            !Prepare("SELECT id, session_id, scan_id, channel_id, measurement_item, state, value, "
                     "error_description FROM measurement WHERE session_id = 1 ORDER BY id",
                     m_pRead))
        {
            return false;
        }
        QElapsedTimer timer;
        timer.start();
        for (long lScan = 1; lScan <= shape.lScans; ++lScan)
        {
            QElapsedTimer scanTimer;
            scanTimer.start();
            if (!Exec("BEGIN IMMEDIATE") || !RecordScan(lScan, shape) || !Exec("COMMIT"))
            {
                return false;
            }
            if (lScan == 1)
            {
                figures.dFirstScanSeconds = Seconds(scanTimer);
            }
        }
        figures.dScopeSeconds = Seconds(timer);
        timer.restart();
        for (long lScan = 1; lScan <= shape.lPlainScans; ++lScan)
        {
            if (!RecordScan(shape.lScans + lScan, shape))
            {
                return false;
            }
        }
        figures.dPlainSeconds = Seconds(timer);

        struct SRow
        {
            long long llId, llSession, llScan, llChannel, llItem, llState;
            std::string sValue, sError;
        };
        std::vector<SRow> rows;
        timer.restart();
        while (sqlite3_step(m_pRead) == SQLITE_ROW)
        {
            const auto text = [this](int i)
            {
                const unsigned char* p = sqlite3_column_text(m_pRead, i);
                return p ? std::string(reinterpret_cast<const char*>(p)) : std::string();
            };
            rows.push_back({sqlite3_column_int64(m_pRead, 0), sqlite3_column_int64(m_pRead, 1),
                            sqlite3_column_int64(m_pRead, 2), sqlite3_column_int64(m_pRead, 3),
                            sqlite3_column_int64(m_pRead, 4), sqlite3_column_int64(m_pRead, 5),
                            text(6), text(7)});
        }
        sqlite3_reset(m_pRead);
        figures.dSessionReadSeconds = Seconds(timer);
        figures.lSessionRows = static_cast<long>(rows.size());
        return true;
    }

private:
    bool Exec(const char* pSql)
    {
        return sqlite3_exec(m_pDb, pSql, nullptr, nullptr, nullptr) == SQLITE_OK;
    }

    bool Prepare(const char* pSql, sqlite3_stmt*& pStatement)
    {
        return sqlite3_prepare_v2(m_pDb, pSql, -1, &pStatement, nullptr) == SQLITE_OK;
    }

    static bool Step(sqlite3_stmt* pStatement)
    {
        const bool bOk = sqlite3_step(pStatement) == SQLITE_DONE;
        sqlite3_reset(pStatement);
        return bOk;
    }

    bool RecordScan(long lScan, const SShape& shape)
    {
        const std::string sNow = "2026-12-06 12:00:00";
        sqlite3_bind_int64(m_pScan, 1, lScan);
        sqlite3_bind_text(m_pScan, 2, sNow.c_str(), -1, SQLITE_TRANSIENT);
        if (!Step(m_pScan))
        {
            return false;
        }
        for (long lChannel = 0; lChannel < shape.lChannels; ++lChannel)
        {
            for (long lItem = 0; lItem < shape.lItems; ++lItem)
            {
                sqlite3_bind_int64(m_pCreate, 1, lScan);
                sqlite3_bind_int64(m_pCreate, 2, lChannel);
                if (!Step(m_pCreate))
                {
                    return false;
                }
                const sqlite3_int64 llId = sqlite3_last_insert_rowid(m_pDb);
                const QByteArray value = ValueText(lScan, lChannel, lItem).toUtf8();
                sqlite3_bind_int64(m_pUpdate, 1, lChannel);
                sqlite3_bind_int64(m_pUpdate, 2, lItem);
                sqlite3_bind_int64(m_pUpdate, 3, 2);
                sqlite3_bind_text(m_pUpdate, 4, value.constData(), value.size(), SQLITE_TRANSIENT);
                sqlite3_bind_int64(m_pUpdate, 5, llId);
                sqlite3_bind_int64(m_pUpdate, 6, lScan);
                if (!Step(m_pUpdate))
                {
                    return false;
                }
            }
        }
        sqlite3_bind_int64(m_pScanDone, 1, 0);
        sqlite3_bind_text(m_pScanDone, 2, sNow.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(m_pScanDone, 3, lScan);
        return Step(m_pScanDone);
    }

    sqlite3* m_pDb = nullptr;
    sqlite3_stmt* m_pScan = nullptr;
    sqlite3_stmt* m_pScanDone = nullptr;
    sqlite3_stmt* m_pCreate = nullptr;
    sqlite3_stmt* m_pUpdate = nullptr;
    sqlite3_stmt* m_pRead = nullptr;
};

void Print(const char* pWhat, const SShape& shape, const SFigures& f)
{
    const double dPerScan = static_cast<double>(shape.lChannels * shape.lItems);
    const double dScoped = dPerScan * static_cast<double>(shape.lScans);
    const double dPlain = dPerScan * static_cast<double>(shape.lPlainScans);
    std::printf("%s\n", pWhat);
    std::printf("  record, scope per scan : %10.0f values/s  (%ld scans in %.3f s; first scan "
                "%.3f s)\n",
                dScoped / f.dScopeSeconds, shape.lScans, f.dScopeSeconds, f.dFirstScanSeconds);
    if (shape.lPlainScans > 0)
    {
        std::printf("  record, no scope       : %10.0f values/s  (%ld scans in %.3f s)\n",
                    dPlain / f.dPlainSeconds, shape.lPlainScans, f.dPlainSeconds);
    }
    std::printf("  read whole session     : %10.0f values/s  (%ld values in %.3f s)\n",
                static_cast<double>(f.lSessionRows) / f.dSessionReadSeconds, f.lSessionRows,
                f.dSessionReadSeconds);
    if (f.dChannelReadSeconds > 0)
    {
        std::printf("  read per scan+channel  : %10.0f values/s  (%.3f s)\n",
                    static_cast<double>(f.lSessionRows) / f.dChannelReadSeconds,
                    f.dChannelReadSeconds);
        std::printf("  read per channel+item  : %10.0f values/s  (%.3f s)\n",
                    static_cast<double>(f.lSessionRows) / f.dItemReadSeconds, f.dItemReadSeconds);
    }
}

} // namespace

int RunResultsBench(int argc, char** argv);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // "mda_bench results ...": the result model on a session of a million values.
    if (argc > 1 && QString::fromUtf8(argv[1]) == QStringLiteral("results"))
    {
        return RunResultsBench(argc, argv);
    }
    SShape shape;
    QString sFolder;
    QString sPgUrl;
    QString sPgUser;
    QString sPgPassword;
    const QStringList arguments = app.arguments();
    for (int i = 1; i < arguments.size(); ++i)
    {
        const QString& sArg = arguments[i];
        const bool bHasValue = i + 1 < arguments.size();
        if (sArg == "--scans" && bHasValue)
        {
            shape.lScans = arguments[++i].toLong();
        }
        else if (sArg == "--channels" && bHasValue)
        {
            shape.lChannels = arguments[++i].toLong();
        }
        else if (sArg == "--items" && bHasValue)
        {
            shape.lItems = arguments[++i].toLong();
        }
        else if (sArg == "--plain-scans" && bHasValue)
        {
            shape.lPlainScans = arguments[++i].toLong();
        }
        else if (sArg == "--folder" && bHasValue)
        {
            sFolder = arguments[++i];
        }
        else if (sArg == "--postgresql" && i + 3 < arguments.size())
        {
            sPgUrl = arguments[++i];
            sPgUser = arguments[++i];
            sPgPassword = arguments[++i];
        }
        else
        {
            std::fprintf(stderr,
                         "usage: mda_bench [--scans S] [--channels C] [--items I] "
                         "[--plain-scans P] [--folder DIR] [--postgresql URL USER PASSWORD]\n");
            return 2;
        }
    }
    if (shape.lScans < 1 || shape.lChannels < 1 || shape.lItems < 1 || shape.lPlainScans < 0)
    {
        std::fprintf(stderr, "scans, channels and items must be at least 1\n");
        return 2;
    }
    QTemporaryDir temporary(sFolder.isEmpty() ? QDir::tempPath() + "/mda-bench-XXXXXX"
                                              : sFolder + "/mda-bench-XXXXXX");
    if (!temporary.isValid())
    {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    std::printf("%ld scans x %ld channels x %ld items (+%ld scans without scope)\n\n", shape.lScans,
                shape.lChannels, shape.lItems, shape.lPlainScans);

    int iResult = 0;
    {
        SFigures figures;
        CDatabaseMultiInstance db(temporary.filePath("library.sqlite"), QString(), QString());
        if (RunLibrary(db, shape, figures))
        {
            Print("library on SQLite", shape, figures);
        }
        else
        {
            std::fprintf(stderr, "library on SQLite failed: %s\n", qPrintable(db.LastError()));
            iResult = 1;
        }
    }
    {
        SFigures figures;
        CRawSqlite raw;
        if (raw.Run(temporary.filePath("raw.sqlite").toStdString(), shape, figures))
        {
            Print("plain sqlite3 C library (baseline)", shape, figures);
        }
        else
        {
            std::fprintf(stderr, "plain sqlite3 failed\n");
            iResult = 1;
        }
    }
    if (!sPgUrl.isEmpty())
    {
        SFigures figures;
        CDatabaseMultiInstance db(sPgUrl, sPgUser, sPgPassword);
        if (RunLibrary(db, shape, figures))
        {
            Print("library on PostgreSQL", shape, figures);
        }
        else
        {
            std::fprintf(stderr, "library on PostgreSQL failed: %s\n", qPrintable(db.LastError()));
            iResult = 1;
        }
    }
    return iResult;
}

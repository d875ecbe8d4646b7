// The recording process of scripts/soak.
//   mda_soak_recorder record DB CONFIRMED ROWS   records scans of ROWS rows until killed; after
//                                                each commit appends "session scan id..." to
//                                                CONFIRMED in one write
//   mda_soak_recorder check DB CONFIRMED ROWS    every confirmed row is stored with its value,
//                                                every stored scan is whole, the file is sound
#include "CDatabaseMultiInstance.h"
#include "CDatabaseTransaction.h"
#include "CTableMeasurements.h"
#include "CTableScan.h"
#include "CTableSession.h"

#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QSqlQuery>
#include <QStringList>

#include <cstdio>
#include <fcntl.h>
#include <map>
#include <unistd.h>

using namespace OrvelFramework;

namespace
{

int Fail(const char* pWhat, const QString& sReason)
{
    fprintf(stderr, "mda_soak_recorder: %s: %s\n", pWhat, qPrintable(sReason));
    return 1;
}

int Record(const QString& sDatabase, const QString& sConfirmed, int iRows)
{
    CDatabaseMultiInstance db(sDatabase, QString(), QString());
    long lSession = 0;
    const int fd = open(QFile::encodeName(sConfirmed).constData(),
                        O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0 || !db.Open() || !CTableSession(db).Create({{"description", "soak"}}, lSession))
    {
        return Fail("start",
                    fd < 0 ? QStringLiteral("cannot write ") + sConfirmed : db.LastError());
    }
    CTableMeasurements table(db);
    const QString sSession = QString::number(lSession);
    for (long lScan = 1;; ++lScan)
    {
        CDatabaseTransaction scope(db);
        QByteArray line = sSession.toLatin1() + ' ' + QByteArray::number(qlonglong(lScan));
        if (!CTableScan(db).Create({{"session_id", sSession}}, lScan))
        {
            return Fail("scan", db.LastError());
        }
        for (int i = 0; i < iRows; ++i)
        {
            long lId = 0;
            if (!table.Create({{"session_id", sSession},
                               {"scan_id", QString::number(lScan)},
                               {"channel_id", QString::number(i)}},
                              lId) ||
                !table.Update(lSession, lScan, lId, {{"value", QStringLiteral("v%1").arg(lId)}}))
            {
                return Fail("row", db.LastError());
            }
            line += ' ' + QByteArray::number(qlonglong(lId));
        }
        line += '\n';
        // One short write each, so that a kill never leaves half a line.
        if (!scope.Commit() || write(fd, line.constData(), size_t(line.size())) != line.size())
        {
            return Fail("commit", db.LastError());
        }
    }
}

int Check(const QString& sDatabase, const QString& sConfirmed, int iRows)
{
    CDatabaseMultiInstance db(sDatabase, QString(), QString());
    QSqlQuery* pCheck =
        db.Open() ? db.GetPreparedQuery(QStringLiteral("PRAGMA integrity_check")) : nullptr;
    if (pCheck == nullptr || !db.Execute(*pCheck, QStringLiteral("check")) || !pCheck->next() ||
        pCheck->value(0).toString() != QLatin1String("ok"))
    {
        return Fail("integrity", pCheck ? pCheck->value(0).toString() : db.LastError());
    }
    pCheck->finish();

    // session -> id -> "scan value", and session -> scan -> rows
    std::map<long, QMap<long, QString>> stored;
    std::map<std::pair<long, long>, int> rowsPerScan;
    TableRows sessions;
    if (!CTableSession(db).Get(QString(), sessions))
    {
        return Fail("sessions", db.LastError());
    }
    for (const CTableRecordSet& column : sessions)
    {
        if (column.GetColumn() != QLatin1String("id"))
        {
            continue;
        }
        const long lSession = column.GetValue().toLong();
        TableRows rows, scans;
        if (!CTableMeasurements(db).GetAllResultsForSession(lSession, rows) ||
            !CTableScan(db).GetScanIds(lSession, scans))
        {
            return Fail("rows", db.LastError());
        }
        for (size_t i = 0; i + 8 <= rows.size(); i += 8)
        {
            const long lScan = rows[i + 2].GetValue().toLong();
            stored[lSession][rows[i].GetValue().toLong()] =
                QStringLiteral("%1 %2").arg(lScan).arg(rows[i + 6].GetValue());
            ++rowsPerScan[{lSession, lScan}];
        }
        for (const CTableRecordSet& scan : scans)
        {
            rowsPerScan.emplace(std::make_pair(lSession, scan.GetValue().toLong()), 0);
        }
    }
    int iHalf = 0;
    for (const auto& [key, iCount] : rowsPerScan)
    {
        if (iCount != iRows)
        {
            ++iHalf;
            fprintf(stderr, "session %ld scan %ld holds %d of %d rows\n", key.first, key.second,
                    iCount, iRows);
        }
    }

    QFile confirmed(sConfirmed);
    if (!confirmed.open(QIODevice::ReadOnly))
    {
        return Fail("confirmed", QStringLiteral("cannot read %1").arg(sConfirmed));
    }
    long lScans = 0, lMissing = 0;
    for (; !confirmed.atEnd(); ++lScans)
    {
        const QStringList lFields =
            QString::fromLatin1(confirmed.readLine()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (lFields.size() != iRows + 2)
        {
            return Fail("confirmed", QStringLiteral("a line of %1 fields").arg(lFields.size()));
        }
        const long lSession = lFields[0].toLong();
        const long lScan = lFields[1].toLong();
        for (int i = 2; i < lFields.size(); ++i)
        {
            const long lId = lFields[i].trimmed().toLong();
            if (stored[lSession].value(lId) != QStringLiteral("%1 v%2").arg(lScan).arg(lId))
            {
                ++lMissing;
                fprintf(stderr, "confirmed row %ld of session %ld scan %ld is missing or changed\n",
                        lId, lSession, lScan);
            }
        }
    }
    printf("%ld confirmed scans (%ld rows) in %zu sessions: %ld missing, %d scans not whole\n",
           lScans, lScans * iRows, stored.size(), lMissing, iHalf);
    return lMissing == 0 && iHalf == 0 && lScans > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList lArgs = app.arguments();
    const int iRows = lArgs.value(4).toInt();
    if (lArgs.size() != 5 || iRows < 1)
    {
        fprintf(stderr, "usage: mda_soak_recorder record|check DB CONFIRMED ROWS\n");
        return 2;
    }
    return lArgs[1] == QLatin1String("record")  ? Record(lArgs[2], lArgs[3], iRows)
           : lArgs[1] == QLatin1String("check") ? Check(lArgs[2], lArgs[3], iRows)
                                                : 2;
}

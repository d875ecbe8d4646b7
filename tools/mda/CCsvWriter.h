#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>
#include <memory>

class CJudgedSession;
class QSaveFile;

/// Writes sessions for other tools as RFC 4180 CSV: UTF-8, CRLF line ends, a header line,
/// then one row per stored value with its judgement, the limit it was judged against and its
/// channel. Fields are quoted only when they need it, quotes doubled, and a text a
/// spreadsheet would evaluate is guarded. Rows are written as they are read, so memory stays
/// flat. A file is written whole or not at all: into a temporary file beside it, put in
/// place by Commit().
class CCsvWriter
{
public:
    /// The header line's field names, in column order.
    static const char* const c_aszHeader[];

    /// sPath "-" is standard output.
    explicit CCsvWriter(const QString& sPath);
    /// Without Commit() a file target is left as it was and the temporary file removed.
    ~CCsvWriter();
    CCsvWriter(const CCsvWriter&) = delete;
    CCsvWriter& operator=(const CCsvWriter&) = delete;

    /// Opens the target and writes the header line. A regular file (or a new one) is written
    /// through a temporary file beside it; standard output and other files that are no
    /// regular file (a device, a pipe) are written directly.
    bool Open(QString& sReason);
    /// Streams every row of the session; lRows receives how many were written. progress
    /// (may be empty) hears the count now and then.
    bool Write(CJudgedSession& session, const std::function<void(long)>& progress, long& lRows,
               QString& sReason);
    /// Writes what is left and puts the file in place.
    bool Commit(QString& sReason);

private:
    bool Flush(QString& sReason);
    bool Fail(QString& sReason, int iErrno = 0) const;

    QString m_sPath;
    std::unique_ptr<QSaveFile> m_pSaveFile;
    QFile m_Direct;
    QFileDevice* m_pDevice = nullptr;
    QByteArray m_Buffer;
};

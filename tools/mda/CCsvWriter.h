#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>

class CJudgedSession;

/// Writes a session for other tools as RFC 4180 CSV: UTF-8, CRLF line ends, a header line,
/// then one row per stored value with its judgement. Fields are quoted only when they need
/// it, quotes doubled. Rows are written as they are read, so memory stays flat.
class CCsvWriter
{
public:
    /// The header line's field names, in column order.
    static const char* const c_aszHeader[];

    explicit CCsvWriter(const QString& sPath);
    bool Open(QString& sReason);
    /// Streams every row of the session; lRows receives how many were written. progress
    /// (may be empty) hears the count now and then.
    bool Write(CJudgedSession& session, const std::function<void(long)>& progress, long& lRows,
               QString& sReason);
    bool Close(QString& sReason);

    /// Appends sField to sLine, quoted when it holds a comma, quote, CR or LF.
    static void AppendField(QString& sLine, QStringView sField);

private:
    bool Flush(QString& sReason);

    QFile m_File;
    QByteArray m_Buffer;
};

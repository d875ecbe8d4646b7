#pragma once

// Reads the tab-separated expectation tables under tests/data: UTF-8, a header line naming the
// columns, then one row per line. Blank lines are ignored.

#include "CLoggingDataProvider.h"
#include "CSingleton.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

// Failures show texts as text.
inline void PrintTo(const QString& sText, std::ostream* pStream)
{
    *pStream << '"' << sText.toStdString() << '"';
}

namespace MdaTest
{

/// The rows of tests/data/<sPath> without the header. An unreadable file, a table without rows
/// and, with bSameWidth, a row whose field count differs from the header's fail the calling test.
inline std::vector<QStringList> ReadDataTable(const QString& sPath, bool bSameWidth = true)
{
    std::vector<QStringList> rows;
    QFile file(QStringLiteral(MDA_TEST_DATA_DIR "/") + sPath);
    if (!file.open(QIODevice::ReadOnly))
    {
        ADD_FAILURE() << "cannot read " << sPath.toStdString();
        return rows;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    const int iColumns = lines.first().count(QLatin1Char('\t')) + 1;
    for (int i = 1; i < lines.size(); ++i)
    {
        if (lines[i].isEmpty())
        {
            continue;
        }
        rows.push_back(lines[i].split(QLatin1Char('\t')));
        EXPECT_TRUE(!bSameWidth || rows.back().size() == iColumns)
            << sPath.toStdString() << ": malformed row " << lines[i].toStdString();
    }
    EXPECT_FALSE(rows.empty()) << sPath.toStdString() << " has no rows";
    return rows;
}

/// Writes data to sName in dir; the path.
inline QString WriteFile(const QTemporaryDir& dir, const QString& sName, const QByteArray& data)
{
    QFile file(dir.filePath(sName));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) >= 0);
    return file.fileName();
}

/// The content of a file; empty when it cannot be read.
inline QByteArray ReadBytes(const QString& sPath)
{
    QFile file(sPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline OrvelFramework::CLoggingStream& LogStream()
{
    using namespace OrvelFramework;
    return CSingleton<CLoggingDataProvider>::GetInstance().m_LoggingStream;
}

/// The log messages since the last call, without their time stamps
/// ("yyyy-MM-dd HH:mm:ss.zzz ", 24 characters).
inline QStringList TakeLog()
{
    QStringList lMessages;
    for (const QString& sMsg : LogStream().GetMessages())
    {
        lMessages.append(sMsg.mid(24));
    }
    LogStream().ClearMessages();
    return lMessages;
}

} // namespace MdaTest

#pragma once

#include "CLoggingDataProvider.h"
#include "CSingleton.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

// Readable failure messages for texts.
inline void PrintTo(const QString& sText, std::ostream* pStream)
{
    *pStream << '"' << sText.toStdString() << '"';
}

namespace ConfigTest
{

inline QString WriteFile(const QTemporaryDir& dir, const QString& sName, const QByteArray& data)
{
    QFile file(dir.filePath(sName));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
    return file.fileName();
}

inline QByteArray ReadBytes(const QString& sPath)
{
    QFile file(sPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QJsonObject ReadObject(const QString& sPath)
{
    return QJsonDocument::fromJson(ReadBytes(sPath)).object();
}

/// Whether an independent JSON parser accepts the file.
inline bool ParsesWithPython(const QString& sPath)
{
    QProcess process;
    process.start(QStringLiteral("python3"),
                  {QStringLiteral("-c"),
                   QStringLiteral("import json,sys; json.load(open(sys.argv[1]))"), sPath});
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
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

/// Every test starts with an empty log, logging switched on and a fresh folder.
class LogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        OrvelFramework::CLoggingDataProvider::m_bIsLoggingPossible = true;
        LogStream().ClearMessages();
        ASSERT_TRUE(m_Dir.isValid());
    }
    void TearDown() override { SetUp(); }

    QTemporaryDir m_Dir;
};

} // namespace ConfigTest

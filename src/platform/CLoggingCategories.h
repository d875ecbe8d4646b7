#pragma once

#include <QLoggingCategory>
#include <QString>

namespace OrvelFramework
{

/// The Qt logging categories of the library, one per subsystem ("mda.config", ...). What the
/// library writes to the in-memory log also goes out as an info message of its subsystem's
/// category; info is off unless an application's logging rules turn it on, so nothing new
/// reaches stderr by default. Warnings are on by default.
class CLoggingCategories
{
public:
    static const QLoggingCategory& Platform();
    static const QLoggingCategory& Vocabulary();
    static const QLoggingCategory& Config();
    static const QLoggingCategory& Channels();
    static const QLoggingCategory& Database();
    static const QLoggingCategory& Results();
    static const QLoggingCategory& Exchange();

    /// Whether a message of category goes anywhere (the in-memory log or Qt's logging), so
    /// that a caller builds its text only then.
    static bool IsLogged(const QLoggingCategory& category);

    /// Appends sMessage with its time stamp to the process-wide in-memory log when logging is
    /// possible, as the library always did, and hands it to Qt's logging as an info message
    /// of category (without the trailing line break).
    static void DoLog(const QLoggingCategory& category, const QString& sMessage);

    CLoggingCategories() = delete;
};

} // namespace OrvelFramework

#pragma once

#include <QStringList>

/// `mda check FILE...`: checks configuration documents (device settings, limit table,
/// channel table, measurement configuration) and prints one finding per line as
/// "file:line:column: message"; exit status 1 when anything was found.
class CCheckCommand
{
public:
    static int Run(const QStringList& arguments);
};

#pragma once

#include <QStringList>

/// `mda csv SESSION -o FILE`: the session as CSV for other tools (one row per stored value
/// with its judgement), or with --classic the application's own export lines.
class CCsvCommand
{
public:
    static int Run(const QStringList& arguments);
};

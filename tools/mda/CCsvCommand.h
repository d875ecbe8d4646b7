#pragma once

#include <QStringList>

/// `mda csv SESSION... -o FILE`: sessions as CSV for other tools (one row per stored value
/// with its judgement, limits and channel), or with --classic one session as the
/// application's own export lines.
class CCsvCommand
{
public:
    static int Run(const QStringList& arguments);
};

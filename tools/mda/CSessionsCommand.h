#pragma once

#include <QStringList>

/// `mda sessions`: one line per stored session (tab-separated, after a header line): id,
/// unique id, first and last run, scan count, site, description; --filter narrows the list.
class CSessionsCommand
{
public:
    static int Run(const QStringList& arguments);
};

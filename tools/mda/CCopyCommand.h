#pragma once

#include <QStringList>

/// `mda copy [SESSION...|--all|--since DATE] --from DB --to DB`: stored sessions into another
/// database, each whole or not at all, named by its unique id; one line per session.
class CCopyCommand
{
public:
    static int Run(const QStringList& arguments);
};

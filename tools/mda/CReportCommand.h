#pragma once

#include <QStringList>

/// `mda report SESSION -o FILE.html`: the session's report as one self-contained HTML page,
/// judged with the files the session was measured with.
class CReportCommand
{
public:
    static int Run(const QStringList& arguments);
};

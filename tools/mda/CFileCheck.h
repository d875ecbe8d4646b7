#pragma once

#include <QString>
#include <QStringList>

/// The configuration files a command was given, checked as 'mda check' checks them, before
/// anything is judged with them.
class CFileCheck
{
public:
    /// Checks every non-empty path; each finding goes to vFindings as "file:line:column:
    /// message". True when every file exists and has no finding.
    static bool DoCheck(const QStringList& vFiles, QStringList& vFindings);
    /// Checks the files, writes the findings on stderr, and tells whether the command may go
    /// on: a missing file never, a file with findings only with bForce. sReason says why not.
    static bool DoCheckBeforeUse(const QStringList& vFiles, bool bForce, QString& sReason);
};

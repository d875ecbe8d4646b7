#pragma once

#include <QStringList>

/// `mda show SESSION`: the per-channel summary of a session as it was measured: values
/// judged, violations, errors, the matrix tile's colour in words and the first violation.
class CShowCommand
{
public:
    static int Run(const QStringList& arguments);
};

#pragma once

#include <QString>

/// A count with its noun in the right number: "1 violation", "2 violations", "0 errors".
class CCountText
{
public:
    static QString Get(long lCount, const QString& sOne, const QString& sMany);
    static QString Violations(long lCount);
    static QString Errors(long lCount);
};

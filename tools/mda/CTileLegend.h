#pragma once

#include <QString>

/// The colours of the channel matrix in words: what each palette index looks like and what
/// it tells, for the summary on the terminal and the legend of the report.
class CTileLegend
{
public:
    /// iIndex from 0 to Count() - 1.
    static QString Colour(int iIndex);
    static QString Meaning(int iIndex);
    /// "green (ok)", "dark orange (violations, 21-28% of scans)".
    static QString Words(int iIndex);
    static int Count();
};

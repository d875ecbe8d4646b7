#pragma once

#include <QString>

/// Text from a database or a file as a terminal may show it: what would act on the terminal
/// instead of being shown (C0 controls, DEL, C1 controls, the Unicode line and paragraph
/// separators) is written out as an escape ("\x1b", "\x7f", "\u0085"); everything else,
/// backslashes and percent signs included, stays as it is.
class CTerminalText
{
public:
    /// bKeepTab leaves tabs alone where the output has no columns of its own.
    static QString Escaped(const QString& sText, bool bKeepTab = false);
};

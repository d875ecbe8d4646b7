#pragma once

#include <QString>
#include <QStringView>

/// One field of the CSV for other tools: RFC 4180 quoting, and the guard that keeps a
/// spreadsheet from taking a text for a formula.
class CCsvField
{
public:
    CCsvField() = delete;

    /// Appends sText to sLine as one field. A text that begins with '=', '+', '-', '@', a tab
    /// or a carriage return and is no plain number gets a leading apostrophe, so that a
    /// spreadsheet shows it instead of evaluating it; the field is quoted when it holds a
    /// comma, quote, CR or LF, its quotes doubled.
    static void Append(QString& sLine, QStringView sText);
    /// sText as a field, ready to append; never a null string.
    static QString Make(QStringView sText);
    /// True for a plain decimal number: an optional sign, digits with an optional point (or a
    /// point and digits), an optional exponent; nothing else.
    static bool IsPlainNumber(QStringView sText);
};

#include "CCsvField.h"

#include <algorithm>

namespace
{

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool IsSign(QChar c)
{
    return c == QLatin1Char('+') || c == QLatin1Char('-');
}

// What a spreadsheet reads as the start of a formula (tab and CR included: some programs
// drop them and evaluate what follows).
bool StartsFormula(QChar c)
{
    return c == QLatin1Char('=') || c == QLatin1Char('+') || c == QLatin1Char('-') ||
           c == QLatin1Char('@') || c == QLatin1Char('\t') || c == QLatin1Char('\r');
}

} // namespace

bool CCsvField::IsPlainNumber(QStringView sText)
{
    qsizetype i = 0;
    const qsizetype iSize = sText.size();
    if (i < iSize && IsSign(sText[i]))
    {
        ++i;
    }
    qsizetype iDigits = 0;
    for (; i < iSize && IsDigit(sText[i]); ++i)
    {
        ++iDigits;
    }
    if (i < iSize && sText[i] == QLatin1Char('.'))
    {
        for (++i; i < iSize && IsDigit(sText[i]); ++i)
        {
            ++iDigits;
        }
    }
    if (iDigits == 0)
    {
        return false;
    }
    if (i < iSize && (sText[i] == QLatin1Char('e') || sText[i] == QLatin1Char('E')))
    {
        ++i;
        if (i < iSize && IsSign(sText[i]))
        {
            ++i;
        }
        const qsizetype iExponent = i;
        while (i < iSize && IsDigit(sText[i]))
        {
            ++i;
        }
        if (i == iExponent)
        {
            return false;
        }
    }
    return i == iSize;
}

void CCsvField::Append(QString& sLine, QStringView sText)
{
    const bool bGuard = !sText.isEmpty() && StartsFormula(sText[0]) && !IsPlainNumber(sText);
    const bool bQuote = std::any_of(sText.cbegin(), sText.cend(),
                                    [](QChar c)
                                    {
                                        return c == QLatin1Char(',') || c == QLatin1Char('"') ||
                                               c == QLatin1Char('\r') || c == QLatin1Char('\n');
                                    });
    if (bQuote)
    {
        sLine += QLatin1Char('"');
    }
    if (bGuard)
    {
        sLine += QLatin1Char('\'');
    }
    if (!bQuote)
    {
        sLine.append(sText.data(), static_cast<int>(sText.size()));
        return;
    }
    for (const QChar c : sText)
    {
        if (c == QLatin1Char('"'))
        {
            sLine += QLatin1Char('"');
        }
        sLine += c;
    }
    sLine += QLatin1Char('"');
}

QString CCsvField::Make(QStringView sText)
{
    QString sField = QLatin1String("");
    Append(sField, sText);
    return sField;
}

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

bool IsPoint(QChar c)
{
    return c == QLatin1Char('.');
}

bool IsExponentMark(QChar c)
{
    return c == QLatin1Char('e') || c == QLatin1Char('E');
}

// What a spreadsheet reads as the start of a formula (tab and CR included: some programs
// drop them and evaluate what follows).
bool StartsFormula(QChar c)
{
    return c == QLatin1Char('=') || c == QLatin1Char('+') || c == QLatin1Char('-') ||
           c == QLatin1Char('@') || c == QLatin1Char('\t') || c == QLatin1Char('\r');
}

// Drops the first character of sRest when it is of the kind; true when it did.
bool TakeOne(QStringView& sRest, bool (*pIsKind)(QChar))
{
    if (sRest.isEmpty() || !pIsKind(sRest.front()))
    {
        return false;
    }
    sRest = sRest.mid(1);
    return true;
}

// Drops the characters of the kind at the front of sRest; returns how many. No index, so
// nothing here reads past the view.
qsizetype TakeAll(QStringView& sRest, bool (*pIsKind)(QChar))
{
    const qsizetype iCount = std::find_if_not(sRest.begin(), sRest.end(), pIsKind) - sRest.begin();
    sRest = sRest.mid(iCount);
    return iCount;
}

} // namespace

bool CCsvField::IsPlainNumber(QStringView sText)
{
    QStringView sRest = sText;
    TakeOne(sRest, IsSign);
    qsizetype iDigits = TakeAll(sRest, IsDigit);
    if (TakeOne(sRest, IsPoint))
    {
        iDigits += TakeAll(sRest, IsDigit);
    }
    if (iDigits == 0)
    {
        return false;
    }
    if (TakeOne(sRest, IsExponentMark))
    {
        TakeOne(sRest, IsSign);
        if (TakeAll(sRest, IsDigit) == 0)
        {
            return false;
        }
    }
    return sRest.isEmpty();
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

#include "CTerminalText.h"

namespace
{

bool IsShownAsEscape(char16_t c, bool bKeepTab)
{
    if (c == u'\t')
    {
        return !bKeepTab;
    }
    return c < 0x20 || (c >= 0x7f && c <= 0x9f) || c == 0x2028 || c == 0x2029;
}

} // namespace

QString CTerminalText::Escaped(const QString& sText, bool bKeepTab)
{
    QString sShown;
    sShown.reserve(sText.size());
    for (const QChar c : sText)
    {
        const char16_t u = c.unicode();
        if (!IsShownAsEscape(u, bKeepTab))
        {
            sShown += c;
        }
        else if (u < 0x80)
        {
            sShown += QStringLiteral("\\x") +
                      QString::number(static_cast<uint>(u), 16).rightJustified(2, QLatin1Char('0'));
        }
        else
        {
            sShown += QStringLiteral("\\u") +
                      QString::number(static_cast<uint>(u), 16).rightJustified(4, QLatin1Char('0'));
        }
    }
    return sShown;
}

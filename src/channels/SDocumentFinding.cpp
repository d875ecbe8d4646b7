#include "SDocumentFinding.h"

namespace LumoraMeasurement
{

QString SDocumentFinding::ToString() const
{
    QString sMessage = m_sMessage;
    sMessage.replace(QLatin1Char('\n'), QLatin1Char(' '));
    // Concatenated: a '%1' in the file name or the message is text, not a place holder.
    return m_sFile + QLatin1Char(':') + QString::number(m_iLine) + QLatin1Char(':') +
           QString::number(m_iColumn) + QStringLiteral(": ") + sMessage;
}

} // namespace LumoraMeasurement

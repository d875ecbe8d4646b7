#include "SDocumentFinding.h"

namespace LumoraMeasurement
{

QString SDocumentFinding::ToString() const
{
    QString sMessage = m_sMessage;
    sMessage.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QStringLiteral("%1:%2:%3: %4").arg(m_sFile).arg(m_iLine).arg(m_iColumn).arg(sMessage);
}

} // namespace LumoraMeasurement

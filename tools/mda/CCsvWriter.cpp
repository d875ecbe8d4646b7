#include "CCsvWriter.h"

#include "CEnumTemplate.h"
#include "CJudgedSession.h"
#include "EMeasurementItemState.h"

#include <algorithm>
#include <charconv>
#include <vector>

using namespace LumoraMeasurement;

const char* const CCsvWriter::c_aszHeader[] = {
    "session_id", "scan_id", "scan_time", "channel_id",   "channel_name", "item_id",
    "item_name",  "value",   "unit",      "stored_state", "result",       "text",
};

namespace
{

constexpr int c_iFlushSize = 1 << 16;

// The judged result in words, by EJudgement.
const QLatin1String c_aResultWords[] = {
    QLatin1String("not judged"),
    QLatin1String("within"),
    QLatin1String("violation"),
    QLatin1String("error"),
};

void AppendNumber(QString& sLine, long lNumber)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, lNumber);
    sLine += QLatin1String(buffer, static_cast<int>(result.ptr - buffer));
}

} // namespace

CCsvWriter::CCsvWriter(const QString& sPath) : m_File(sPath) {}

bool CCsvWriter::Open(QString& sReason)
{
    if (!m_File.open(QIODevice::WriteOnly | QIODevice::Truncate))
    {
        sReason =
            QStringLiteral("cannot write '%1': %2").arg(m_File.fileName(), m_File.errorString());
        return false;
    }
    m_Buffer.reserve(c_iFlushSize + 4096);
    return true;
}

void CCsvWriter::AppendField(QString& sLine, const QString& sField)
{
    const bool bQuote = std::any_of(sField.cbegin(), sField.cend(),
                                    [](QChar c)
                                    {
                                        return c == QLatin1Char(',') || c == QLatin1Char('"') ||
                                               c == QLatin1Char('\r') || c == QLatin1Char('\n');
                                    });
    if (!bQuote)
    {
        sLine += sField;
        return;
    }
    sLine += QLatin1Char('"');
    for (const QChar c : sField)
    {
        if (c == QLatin1Char('"'))
        {
            sLine += QLatin1Char('"');
        }
        sLine += c;
    }
    sLine += QLatin1Char('"');
}

bool CCsvWriter::Flush(QString& sReason)
{
    if (!m_Buffer.isEmpty() && m_File.write(m_Buffer) != m_Buffer.size())
    {
        sReason =
            QStringLiteral("cannot write '%1': %2").arg(m_File.fileName(), m_File.errorString());
        return false;
    }
    m_Buffer.resize(0);
    return true;
}

bool CCsvWriter::Write(CJudgedSession& session, const std::function<void(long)>& progress,
                       long& lRows, QString& sReason)
{
    lRows = 0;
    for (size_t i = 0; i < sizeof c_aszHeader / sizeof c_aszHeader[0]; ++i)
    {
        m_Buffer += i == 0 ? "" : ",";
        m_Buffer += c_aszHeader[i];
    }
    m_Buffer += "\r\n";

    // State names by stored id, looked up once.
    std::vector<QString> stateNames;
    for (const auto& row : CRepresentation<EMeasurementItemState>::Table())
    {
        if (row.m_lId >= 0)
        {
            stateNames.resize(std::max(stateNames.size(), static_cast<size_t>(row.m_lId + 1)));
            if (stateNames[static_cast<size_t>(row.m_lId)].isEmpty())
            {
                stateNames[static_cast<size_t>(row.m_lId)] =
                    CEnumTemplate<EMeasurementItemState>::ToString(row.m_eEnumValue);
            }
        }
    }

    const QLatin1Char comma(',');
    QString sSession;
    AppendNumber(sSession, session.SessionId());
    QString sLine;
    bool bWriteOk = true;
    const bool bRead = session.ForEachRow(
        [&](const CDBMeasurement& stored, const CDBMeasurement& judged, EJudgement eJudgement)
        {
            sLine.resize(0);
            sLine += sSession;
            sLine += comma;
            AppendNumber(sLine, stored.GetScanId());
            sLine += comma;
            AppendField(sLine, session.ScanTime(stored.GetScanId()));
            sLine += comma;
            AppendNumber(sLine, stored.GetChannelId());
            sLine += comma;
            AppendField(sLine, session.ChannelName(stored.GetChannelId()));
            sLine += comma;
            AppendNumber(sLine, stored.GetMeasurementItem());
            sLine += comma;
            AppendField(sLine, session.ItemName(stored.GetMeasurementItem()));
            sLine += comma;
            // The stored text split at its first blank: the number as measured, then the unit.
            const QString& sValue = stored.GetValue();
            const int iBlank = sValue.indexOf(QLatin1Char(' '));
            AppendField(sLine, iBlank < 0 ? sValue : sValue.left(iBlank));
            sLine += comma;
            AppendField(sLine, iBlank < 0 ? QString() : sValue.mid(iBlank + 1));
            sLine += comma;
            const long lState = stored.GetMeasurementState();
            if (lState >= 0 && lState < static_cast<long>(stateNames.size()) &&
                !stateNames[static_cast<size_t>(lState)].isEmpty())
            {
                AppendField(sLine, stateNames[static_cast<size_t>(lState)]);
            }
            else
            {
                AppendNumber(sLine, lState);
            }
            sLine += comma;
            sLine += c_aResultWords[eJudgement];
            sLine += comma;
            if (eJudgement == eJudgement_Violation || eJudgement == eJudgement_Error)
            {
                AppendField(sLine, judged.GetErrorDescription());
            }
            sLine += QLatin1String("\r\n");
            m_Buffer += sLine.toUtf8();
            ++lRows;
            if (m_Buffer.size() >= c_iFlushSize)
            {
                bWriteOk = Flush(sReason);
                if (progress)
                {
                    progress(lRows);
                }
            }
            return bWriteOk;
        },
        sReason);
    return bRead && bWriteOk && Flush(sReason);
}

bool CCsvWriter::Close(QString& sReason)
{
    if (!Flush(sReason))
    {
        return false;
    }
    m_File.close();
    if (m_File.error() != QFileDevice::NoError)
    {
        sReason =
            QStringLiteral("cannot write '%1': %2").arg(m_File.fileName(), m_File.errorString());
        return false;
    }
    return true;
}

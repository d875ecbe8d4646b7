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

void CCsvWriter::AppendField(QString& sLine, QStringView sField)
{
    const bool bQuote = std::any_of(sField.cbegin(), sField.cend(),
                                    [](QChar c)
                                    {
                                        return c == QLatin1Char(',') || c == QLatin1Char('"') ||
                                               c == QLatin1Char('\r') || c == QLatin1Char('\n');
                                    });
    if (!bQuote)
    {
        sLine.append(sField.data(), static_cast<int>(sField.size()));
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
                AppendField(stateNames[static_cast<size_t>(row.m_lId)],
                            CEnumTemplate<EMeasurementItemState>::ToString(row.m_eEnumValue));
            }
        }
    }

    const QLatin1Char comma(',');
    // The fields that repeat from row to row (session, scan time, channel and item names) are
    // made ready to append once, quoted where they need it.
    const auto field = [](const QString& sText)
    {
        // Never null, so that a made field is told from one not made yet.
        QString sField = QLatin1String("");
        AppendField(sField, sText);
        return sField;
    };
    QString sSession;
    AppendNumber(sSession, session.SessionId());
    sSession += comma;
    long lScanOfTime = 0;
    QString sScanTime;
    bool bHasScanTime = false;
    std::vector<QString> channelFields;
    for (long c = 0; c < session.Channels().GetRowCount(); ++c)
    {
        channelFields.push_back(field(session.ChannelName(c)));
    }
    // Item names by stored id, made when an id first appears (ids are small).
    constexpr long c_lItemIds = 4096;
    std::vector<QString> itemFields;
    QString sChunk;
    sChunk.reserve(c_iFlushSize + 4096);
    bool bWriteOk = true;
    const bool bRead = session.ForEachRow(
        [&](const CSessionReader::SRow& row)
        {
            const CDBMeasurement& stored = row.m_Stored;
            const CDBMeasurement& judged = row.m_Judged;
            const EJudgement eJudgement = row.m_eJudgement;
            sChunk += sSession;
            AppendNumber(sChunk, stored.GetScanId());
            sChunk += comma;
            if (!bHasScanTime || lScanOfTime != stored.GetScanId())
            {
                lScanOfTime = stored.GetScanId();
                sScanTime = field(session.ScanTime(lScanOfTime));
                bHasScanTime = true;
            }
            sChunk += sScanTime;
            sChunk += comma;
            const long lChannel = stored.GetChannelId();
            AppendNumber(sChunk, lChannel);
            sChunk += comma;
            if (lChannel >= 0 && lChannel < static_cast<long>(channelFields.size()))
            {
                sChunk += channelFields[static_cast<size_t>(lChannel)];
            }
            sChunk += comma;
            const long lItem = stored.GetMeasurementItem();
            AppendNumber(sChunk, lItem);
            sChunk += comma;
            if (lItem >= 0 && lItem < c_lItemIds)
            {
                if (static_cast<size_t>(lItem) >= itemFields.size())
                {
                    itemFields.resize(static_cast<size_t>(lItem) + 1);
                }
                QString& sItem = itemFields[static_cast<size_t>(lItem)];
                if (sItem.isNull())
                {
                    sItem = field(session.ItemName(lItem));
                }
                sChunk += sItem;
            }
            else
            {
                AppendField(sChunk, session.ItemName(lItem));
            }
            sChunk += comma;
            // The stored text split at its first blank: the number as measured, then the unit.
            const QStringView sValue(stored.GetValue());
            const auto iBlank = sValue.indexOf(QLatin1Char(' '));
            AppendField(sChunk, iBlank < 0 ? sValue : sValue.left(iBlank));
            sChunk += comma;
            if (iBlank >= 0)
            {
                AppendField(sChunk, sValue.mid(iBlank + 1));
            }
            sChunk += comma;
            const long lState = stored.GetMeasurementState();
            if (lState >= 0 && lState < static_cast<long>(stateNames.size()) &&
                !stateNames[static_cast<size_t>(lState)].isEmpty())
            {
                sChunk += stateNames[static_cast<size_t>(lState)];
            }
            else
            {
                AppendNumber(sChunk, lState);
            }
            sChunk += comma;
            sChunk += c_aResultWords[eJudgement];
            sChunk += comma;
            if (eJudgement == eJudgement_Violation || eJudgement == eJudgement_Error)
            {
                AppendField(sChunk, judged.GetErrorDescription());
            }
            sChunk += QLatin1String("\r\n");
            ++lRows;
            // Lines gather as text and are converted a chunk at a time.
            if (sChunk.size() >= c_iFlushSize)
            {
                m_Buffer += sChunk.toUtf8();
                sChunk.resize(0);
                bWriteOk = Flush(sReason);
                if (progress)
                {
                    progress(lRows);
                }
            }
            return bWriteOk;
        },
        sReason);
    m_Buffer += sChunk.toUtf8();
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

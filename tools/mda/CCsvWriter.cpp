#include "CCsvWriter.h"

#include "CCsvField.h"
#include "CCsvSessionColumns.h"
#include "CEnumTemplate.h"
#include "CJudgedSession.h"
#include "EMeasurementItemState.h"

#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace LumoraMeasurement;

// The first twelve columns are those of the first version of the file, in its order, so that
// readers that go by position keep working; the analysts' columns follow them.
const char* const CCsvWriter::c_aszHeader[] = {
    "session_id",
    "scan_id",
    "scan_time",
    "channel_id",
    "channel_name",
    "item_id",
    "item_name",
    "value",
    "unit",
    "stored_state",
    "result",
    "text",
    "value_code",
    "compare_type",
    "limit_low",
    "limit_high",
    "limit_unit",
    "limit_offset",
    "margin",
    "channel_standard",
    "channel_frequency_hz",
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

CCsvWriter::CCsvWriter(const QString& sPath) : m_sPath(sPath) {}

CCsvWriter::~CCsvWriter() = default;

bool CCsvWriter::Fail(QString& sReason, int iErrno) const
{
    const QString sName =
        m_sPath == QLatin1String("-") ? QStringLiteral("standard output") : m_sPath;
    // A failed write of a temporary file may leave Qt's own text unspecific; the system's
    // error number names the cause.
    const QString sError = iErrno != 0 ? QString::fromLocal8Bit(std::strerror(iErrno))
                           : m_pDevice ? m_pDevice->errorString()
                                       : QString();
    sReason = QStringLiteral("cannot write '%1': %2").arg(sName, sError);
    return false;
}

bool CCsvWriter::Open(QString& sReason)
{
    if (m_sPath == QLatin1String("-"))
    {
        m_pDevice = &m_Direct;
        if (!m_Direct.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered,
                           QFileDevice::DontCloseHandle))
        {
            return Fail(sReason);
        }
    }
    else
    {
        const QFileInfo target(m_sPath);
        if (target.isDir())
        {
            sReason = QStringLiteral("cannot write '%1': it is a folder").arg(m_sPath);
            return false;
        }
        if (target.exists() && !target.isFile())
        {
            // A device or a pipe cannot be replaced by a renamed file; it takes the bytes as
            // they come, and a failure is reported.
            m_Direct.setFileName(m_sPath);
            m_pDevice = &m_Direct;
            if (!m_Direct.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            {
                return Fail(sReason);
            }
        }
        else
        {
            // A link is followed: the file it names is replaced, the link stays.
            m_pSaveFile = std::make_unique<QSaveFile>(
                target.isSymLink() ? target.canonicalFilePath() : m_sPath);
            m_pDevice = m_pSaveFile.get();
            if (!m_pSaveFile->open(QIODevice::WriteOnly))
            {
                return Fail(sReason);
            }
        }
    }
    m_Buffer.reserve(c_iFlushSize + 4096);
    for (size_t i = 0; i < sizeof c_aszHeader / sizeof c_aszHeader[0]; ++i)
    {
        m_Buffer += i == 0 ? "" : ",";
        m_Buffer += c_aszHeader[i];
    }
    m_Buffer += "\r\n";
    return true;
}

bool CCsvWriter::Flush(QString& sReason)
{
    errno = 0;
    if (!m_Buffer.isEmpty() && m_pDevice->write(m_Buffer) != m_Buffer.size())
    {
        return Fail(sReason, errno);
    }
    m_Buffer.resize(0);
    return true;
}

namespace
{

// Rows as stored, kept until the writing thread has judged and formatted them.
using RowBatch = std::vector<CDBMeasurement>;

// Rows are handed to the writing thread in batches of this many, or fewer when their texts
// pass c_llBatchChars, so that a session of long texts keeps a few batches in memory at most.
constexpr size_t c_uBatchRows = 2048;
constexpr long long c_llBatchChars = 1 << 18;

// The batches between the reading thread and the writing one: one waits while one is
// written and the next is filled; written batches come back to be filled again.
struct SRowPipe
{
    std::mutex m_Mutex;
    std::condition_variable m_Changed;
    std::deque<RowBatch> m_Full;
    std::vector<RowBatch> m_Spare;
    bool m_bDone = false;

    void Hand(RowBatch& batch)
    {
        std::unique_lock<std::mutex> lock(m_Mutex);
        m_Changed.wait(lock, [this] { return m_Full.empty(); });
        // Handed over whole: the caller's batch is empty afterwards, or a spare one.
        m_Full.push_back(std::exchange(batch, RowBatch()));
        if (!m_Spare.empty())
        {
            batch = std::move(m_Spare.back());
            m_Spare.pop_back();
        }
        lock.unlock();
        m_Changed.notify_all();
        batch.reserve(c_uBatchRows);
    }
    void Close()
    {
        {
            const std::lock_guard<std::mutex> lock(m_Mutex);
            m_bDone = true;
        }
        m_Changed.notify_all();
    }
    // False when the reading side has closed and every batch is taken.
    bool Take(RowBatch& batch)
    {
        std::unique_lock<std::mutex> lock(m_Mutex);
        m_Changed.wait(lock, [this] { return !m_Full.empty() || m_bDone; });
        if (m_Full.empty())
        {
            return false;
        }
        batch = std::move(m_Full.front());
        m_Full.pop_front();
        lock.unlock();
        m_Changed.notify_all();
        return true;
    }
    void Return(RowBatch& batch)
    {
        // The rows' texts are released here, on the writing thread.
        batch.clear();
        const std::lock_guard<std::mutex> lock(m_Mutex);
        m_Spare.push_back(std::move(batch));
    }
};

long long TextChars(const CDBMeasurement& record)
{
    return record.GetValue().size() + record.GetErrorDescription().size();
}

} // namespace

bool CCsvWriter::Write(CJudgedSession& session, const std::function<void(long)>& progress,
                       long& lRows, QString& sReason)
{
    lRows = 0;
    // State names by stored id, looked up once.
    std::vector<QString> stateNames;
    for (const auto& row : CRepresentation<EMeasurementItemState>::Table())
    {
        if (row.m_lId >= 0)
        {
            stateNames.resize(std::max(stateNames.size(), static_cast<size_t>(row.m_lId + 1)));
            if (stateNames[static_cast<size_t>(row.m_lId)].isEmpty())
            {
                CCsvField::Append(stateNames[static_cast<size_t>(row.m_lId)],
                                  CEnumTemplate<EMeasurementItemState>::ToString(row.m_eEnumValue));
            }
        }
    }
    const CCsvSessionColumns columns(session);

    const QLatin1Char comma(',');
    // The fields that repeat from row to row (session, scan time, channel and item names) are
    // made ready to append once, quoted where they need it.
    QString sSession;
    AppendNumber(sSession, session.SessionId());
    sSession += comma;
    long lScanOfTime = 0;
    QString sScanTime;
    bool bHasScanTime = false;
    std::vector<QString> channelFields;
    for (long c = 0; c < session.Channels().GetRowCount(); ++c)
    {
        channelFields.push_back(CCsvField::Make(session.ChannelName(c)));
    }
    // Item names by stored id, made when an id first appears (ids are small).
    constexpr long c_lItemIds = 4096;
    std::vector<QString> itemFields;
    QString sChunk;
    sChunk.reserve(c_iFlushSize + 4096);
    QString sCode;
    const auto format = [&](const CSessionReader::SRow& row)
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
            sScanTime =
                CCsvField::Make(CCsvSessionColumns::ToIsoTime(session.ScanTime(lScanOfTime)));
            bHasScanTime = true;
        }
        sChunk += sScanTime;
        sChunk += comma;
        const long lChannel = stored.GetChannelId();
        AppendNumber(sChunk, lChannel);
        sChunk += comma;
        if (lChannel >= 0 && lChannel < static_cast<long>(channelFields.size()))
        {
            // Checked: a slip in the bound must stop the tool, not read past the names.
            sChunk += channelFields.at(static_cast<size_t>(lChannel));
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
            QString& sItem = itemFields.at(static_cast<size_t>(lItem));
            if (sItem.isNull())
            {
                sItem = CCsvField::Make(session.ItemName(lItem));
            }
            sChunk += sItem;
        }
        else
        {
            CCsvField::Append(sChunk, session.ItemName(lItem));
        }
        sChunk += comma;
        columns.AppendValue(sChunk, row, sCode);
        sChunk += comma;
        const long lState = stored.GetMeasurementState();
        if (lState >= 0 && lState < static_cast<long>(stateNames.size()) &&
            !stateNames[static_cast<size_t>(lState)].isEmpty())
        {
            // Checked: a slip in the bound must stop the tool, not read past the names.
            sChunk += stateNames.at(static_cast<size_t>(lState));
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
            CCsvField::Append(sChunk, judged.GetErrorDescription());
        }
        sChunk += comma;
        sChunk += sCode;
        columns.AppendLimits(sChunk, row);
        columns.AppendChannel(sChunk, lChannel);
        sChunk += QLatin1String("\r\n");
    };

    // The database is read on this thread while a second one judges, formats and writes what
    // was read: on a machine with two cores neither waits long for the other. The writing
    // thread alone judges, and touches only the buffer, the device and the session's lookups,
    // which stay unchanged while rows are read.
    SRowPipe pipe;
    std::atomic<bool> bWriteFailed{false};
    QString sWriteReason;
    long lWritten = 0;
    std::thread writer(
        [&]
        {
            RowBatch batch;
            CDBMeasurement judged;
            while (pipe.Take(batch))
            {
                // After a failed write the remaining batches are only released.
                for (size_t i = 0; i < batch.size() && !bWriteFailed.load(); ++i)
                {
                    format(session.JudgeRow(batch[i], judged));
                    ++lWritten;
                    // Lines gather as text and are converted a chunk at a time.
                    if (sChunk.size() >= c_iFlushSize)
                    {
                        m_Buffer += sChunk.toUtf8();
                        sChunk.resize(0);
                        if (!Flush(sWriteReason))
                        {
                            bWriteFailed = true;
                        }
                    }
                }
                pipe.Return(batch);
            }
            if (!bWriteFailed.load())
            {
                m_Buffer += sChunk.toUtf8();
                if (!Flush(sWriteReason))
                {
                    bWriteFailed = true;
                }
            }
        });

    RowBatch batch;
    batch.reserve(c_uBatchRows);
    long long llBatchChars = 0;
    long lHanded = 0;
    const bool bRead = session.ForEachStoredRow(
        [&](const CDBMeasurement& stored)
        {
            batch.push_back(stored);
            // A judged row can carry a violation text as long as its value besides.
            llBatchChars += 2 * TextChars(stored);
            if (batch.size() >= c_uBatchRows || llBatchChars >= c_llBatchChars)
            {
                lHanded += static_cast<long>(batch.size());
                llBatchChars = 0;
                pipe.Hand(batch);
                if (progress)
                {
                    progress(lHanded);
                }
            }
            return !bWriteFailed.load();
        },
        sReason);
    if (bRead && !batch.empty())
    {
        pipe.Hand(batch);
    }
    pipe.Close();
    writer.join();
    lRows = lWritten;
    if (bRead && bWriteFailed.load())
    {
        sReason = sWriteReason;
    }
    return bRead && !bWriteFailed.load();
}

bool CCsvWriter::Commit(QString& sReason)
{
    if (!Flush(sReason))
    {
        return false;
    }
    if (m_pSaveFile)
    {
        // commit() would not report a failed write of the bytes still buffered.
        return (m_pSaveFile->flush() && m_pSaveFile->commit()) || Fail(sReason);
    }
    m_Direct.close();
    return m_Direct.error() == QFileDevice::NoError || Fail(sReason);
}

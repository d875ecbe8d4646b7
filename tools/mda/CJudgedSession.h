#pragma once

#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CDBMeasurement.h"
#include "CSessionReader.h"
#include "EJudgement.h"

#include <QString>

#include <functional>
#include <vector>

/// A stored session ready to be read row by row, through the library's session reader: the
/// configuration it was measured with, and the small lookups a row needs (scan times, channel
/// names, item names). The rows themselves are streamed from the database, never held.
class CJudgedSession
{
public:
    CJudgedSession();

    LumoraMeasurement::CSessionReader& Reader() { return m_Reader; }

    /// Every stored value of the session, ordered by scan, channel and id: the row as stored
    /// and as judged. The callback returns false to stop; false when the read failed (sReason
    /// tells why).
    bool ForEachRow(const std::function<bool(const LumoraMeasurement::CSessionReader::SRow&)>& row,
                    QString& sReason);

    /// As ForEachRow(), the rows as stored, to be judged elsewhere with JudgeRow().
    bool ForEachStoredRow(const std::function<bool(const LumoraMeasurement::CDBMeasurement&)>& row,
                          QString& sReason);
    /// Judges a row that ForEachStoredRow() handed out; one thread at a time.
    LumoraMeasurement::CSessionReader::SRow
    JudgeRow(const LumoraMeasurement::CDBMeasurement& stored,
             LumoraMeasurement::CDBMeasurement& judged) const
    {
        return m_Reader.JudgeRow(stored, judged);
    }

    long SessionId() const { return m_Reader.SessionId(); }
    const LumoraMeasurement::CChannelTableData& Channels() const { return m_Reader.ChannelTable(); }
    const LumoraMeasurement::CComparativeValueData& Limits() const { return m_Reader.Limits(); }
    const std::vector<long>& ScanIds() const { return m_Reader.ScanIds(); }
    /// Empty for a channel beyond the table or a scan without a scan row.
    const QString& ChannelName(long lChannelId) const { return m_Reader.ChannelName(lChannelId); }
    const QString& ScanTime(long lScanId) const { return m_Reader.ScanTime(lScanId); }
    /// Position in the ascending scan list; -1 for a scan without a scan row.
    long ScanIndex(long lScanId) const { return m_Reader.ScanIndex(lScanId); }
    const QString& ItemName(long lItemId) const;

private:
    /// bRead; a failed read's reason, naming the session, into sReason.
    bool ReadSucceeded(bool bRead, QString& sReason) const;

    LumoraMeasurement::CSessionReader m_Reader;
    std::vector<QString> m_vItemNames;
    QString m_sEmpty;
};

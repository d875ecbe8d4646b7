#pragma once

#include "MainDataAccess_export.h"

#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CDBMeasurement.h"
#include "CDBScanData.h"
#include "CDBSessionData.h"
#include "CDatabaseMultiInstance.h"
#include "CDeviceSettingsData.h"
#include "CMeasConfigData.h"
#include "CRDMatrixData.h"
#include "ECategory.h"
#include "EJudgement.h"
#include "ELevelUnit.h"
#include "ETVStandards.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QIODevice;

namespace LumoraMeasurement
{

class CDBMeasurementController;
class CMeasurementJudge;
class CSessionReader;

/// The in-memory model of one stored measurement session: loads the configuration the
/// session was measured with, reads every stored value, judges each against a limit table
/// and sorts the results into within limits, limit violations and measurement errors. The
/// result views ask it for scans, dates, channels and violations; it also exports CSV lines
/// and fills the result display's channel matrix. It owns its database connection.
class MDA_EXPORT CMeasurementResultData
{
public:
    /// An empty model of the session with that row id; limits are read in eLevelUnit. Nothing is
    /// read before LoadData().
    CMeasurementResultData(long lSessionId, ELevelUnit eLevelUnit);
    CMeasurementResultData(const CMeasurementResultData&) = delete;
    CMeasurementResultData& operator=(const CMeasurementResultData&) = delete;
    ~CMeasurementResultData();

    /// Reads device settings, channel table and limits named by config, opens the database
    /// and reads and judges the session. False as soon as a file cannot be read or the
    /// database cannot be opened; otherwise whether the session row was found.
    bool LoadData(const CMeasConfigData& config);
    /// True when the session row exists.
    bool ReadSessionData();
    /// Empty after a successful LoadData() or UseOtherLimits(); after a failed one, the step
    /// that failed and why (which file, which database, which session).
    QString LastError() const { return m_sLastError; }

    /// Re-judge every value against the session's own limit file, another one, or the
    /// current limit table.
    void UseInititalLimits();
    /// As UseInititalLimits(), with sLimitFile applied over the current limits; when it cannot be
    /// read LastError() names it and the unchanged limits judge again.
    void UseOtherLimits(const QString& sLimitFile);
    /// Judges every value again against the current limit table (after it was edited through
    /// GetComparativeValueData()) and rebuilds the violation and error lists.
    void UpdateDataAffectedByLimitValues();

    /// Does not re-judge the values.
    void SetLevelUnit(ELevelUnit eLevelUnit);
    /// The level unit limits are read and compared in.
    ELevelUnit GetLevelUnit() const { return m_eLevelUnit; }

    /// The session row as read; only the id before a successful read.
    CDBSessionData GetSessionData() const { return m_Session; }
    /// The scan's row, read from the database on each call; for a missing scan scan id 0,
    /// state -1 and the current time.
    CDBScanData GetScanData(long lScanId);

    /// Number of scan rows of the session; 0 before loading.
    long GetNumberOfScans() const;
    /// -1 for a position outside the scan list.
    long GetScanIdOfScanIndex(long lIndex) const;
    /// True when lScanId is in GetScanIds().
    bool IsScanIdValid(long lScanId) const;
    /// lScanId itself when it is a scan id (or there are none); else the neighbouring scan
    /// id in the direction asked, staying inside the scan list.
    long GetNextScanId(long lScanId, bool bForward) const;
    /// The session's scan ids, ascending.
    const std::vector<long>& GetScanIds() const { return m_vScanIds; }

    /// The distinct date parts of the scans' date-times, in scan order.
    QStringList GetAvailableDates();
    /// "Scan <id> ( <date-time>)" for every scan of that date.
    QStringList GetAvailableScansOfDate(const QString& sDate);

    // Per limit violation; an index outside the list gives an empty text or -1.
    /// Number of limit violations (measurement errors are not counted).
    long GetNumberOfErrorsInSession() const;
    /// The violating channel's name; "Unknown channel" for a channel beyond the channel table.
    QString GetChannelNameOfSessionError(long lErrorIndex) const;
    /// The violation text the limit judge writes for the value (which limit it is outside).
    QString GetChannelErrorDescriptionOfSessionError(long lErrorIndex) const;
    /// The violating channel's row in the channel table.
    long GetChannelIdOfSessionError(long lErrorIndex) const;
    /// The id of the scan the violation was measured in.
    long GetScanIdOfError(long lErrorIndex) const;
    /// The date-time of the violation's scan, read from the database; the current time for a scan
    /// without a scan row.
    QString GetChannelTimeStampOfSessionError(long lErrorIndex);

    /// The scan of the channel's first violation, else the first scan; -1 without scans.
    long GetScanIdOfFirstChannelError(long lChannelId) const;

    /// The judged records of one scan and channel (not those in another state), by id.
    void GetMeasurementListAll(long lScanId, long lChannelId,
                               std::vector<CDBMeasurement>& list) const;

    /// -1 when no channel has the name.
    long GetChannelId(const QString& sName) const;
    /// The name in channel row lChannelId; empty for a row outside the table.
    QString GetChannelName(long lChannelId) const;
    /// The channel names in table order.
    QStringList GetChannelNames() const;
    /// Of row 0 when no channel has the name.
    ECategory GetChannelType(const QString& sName) const;
    /// The TV standard of the channel named sName; of row 0 when no channel has the name.
    ETVStandards GetTvStandard(const QString& sName) const;

    /// The channel's "Power Limit Offset" in dB; 0 when it has none.
    double PowerLimitOffset(long lChannelId) const;

    /// The current limit table, for editing; call UpdateDataAffectedByLimitValues() after a change.
    CComparativeValueData& GetComparativeValueData() { return m_Limits; }
    /// The current limit table.
    const CComparativeValueData& GetComparativeValueData() const { return m_Limits; }
    /// The device settings read by LoadData().
    const CDeviceSettingsData& GetDeviceSettingsData() const { return m_DeviceSettings; }
    /// The model's own connection, open after a LoadData() that got as far as the database.
    OrvelFramework::CDatabaseMultiInstance& GetDatabase() { return m_Database; }

    /// False (LastError()) when a read of the database failed; the matrix is then empty.
    bool CreateChannelMatrixData(OrvelFramework::CRDMatrixData& matrix);

    /// The session as one CSV line.
    QString GetSessionDataAsCSV() const;
    /// One CSV line per stored measurement, scan by scan, channel by channel; no line at all
    /// when the read failed (LastError() tells why).
    QStringList GetScanDataAsCSV();
    /// The session line, then the measurement lines.
    QStringList GetCSVExport();
    /// The lines of GetCSVExport() written to device as they are read, each in UTF-8 and
    /// ended by a line feed, without holding them all. False when the read or a write failed
    /// (LastError() tells which and why).
    bool WriteCSVExport(QIODevice& device);
    /// The same lines for the session a reader has selected, read through the reader's
    /// connection; no model needs loading. False with sError when the read or a write failed.
    static bool WriteCSVExport(CSessionReader& reader, QIODevice& device, QString& sError);
    /// The session line of a session record.
    static QString GetSessionDataAsCSV(const CDBSessionData& session);

private:
    /// Hands line each measurement line of the export, in export order; line returns false
    /// to stop. False when the read failed.
    bool DoForEachScanDataLine(const std::function<bool(const QString&)>& line);
    static bool DoForEachScanDataLine(CDBMeasurementController& controller, long lSessionId,
                                      long lScanCount, long lChannelRows,
                                      const std::function<bool(const QString&)>& line);
    /// The session line, then the lines forEachLine hands out, in chunks; sWriteError tells
    /// why a write failed (empty when the read did).
    static bool DoWriteCSVExport(
        QIODevice& device, const QString& sSessionLine,
        const std::function<bool(const std::function<bool(const QString&)>&)>& forEachLine,
        QString& sWriteError);
    /// Sets LastError() to why the sWhat file could not be read; returns false.
    bool DoFailReading(const QString& sWhat, const QString& sFile);
    /// The violation at a valid error index.
    const CDBMeasurement& DoViolation(long lErrorIndex) const;
    /// The record as judged, its violation text included.
    CDBMeasurement DoJudgedRecord(size_t uIndex) const;

    OrvelFramework::CDatabaseMultiInstance m_Database;
    CChannelTableData m_ChannelTable;
    CDeviceSettingsData m_DeviceSettings;
    CComparativeValueData m_Limits;
    // The values within limits and the violations are held as judgements of, and positions
    // in, the all-results list: a session is held once. The errors are copies, as an
    // unreadable value is an error there while its record in the all-results list keeps
    // what was stored. A violation's record holds no text: it is written when handed out,
    // by a judge over a copy of the limits taken when judging, as the limits may be edited
    // since without judging again.
    std::vector<EJudgement> m_vJudgements;
    std::vector<size_t> m_vLimitViolations;
    std::vector<CDBMeasurement> m_vMeasurementErrors;
    std::vector<CDBMeasurement> m_vAllResults;
    CComparativeValueData m_JudgedLimits;
    std::unique_ptr<CMeasurementJudge> m_pJudge;
    CDBSessionData m_Session;
    std::vector<long> m_vScanIds;
    long m_lSessionId;
    ELevelUnit m_eLevelUnit;
    QString m_sInitialLimitFile;
    QString m_sLastError;
};

} // namespace LumoraMeasurement

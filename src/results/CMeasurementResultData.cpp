#include "CMeasurementResultData.h"

#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "CDBSessionControler.h"
#include "CEnumTemplate.h"
#include "CMatrixStateColorHandler.h"
#include "CMeasurementItem.h"
#include "CMeasurementJudge.h"
#include "CSessionReader.h"
#include "CStringUtil.h"
#include "CUtilJson.h"
#include "EMeasurementItemState.h"
#include "EMeasurementItems.h"
#include "ESettingsItems.h"

#include <QIODevice>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <unordered_map>

using OrvelFramework::CRDMatrixData;

namespace LumoraMeasurement
{

namespace
{

// The CSV export counts scans and channel rows in 16 bits.
constexpr long c_lMaxCsvCount = std::numeric_limits<unsigned short>::max();

// Appends the decimal text of a whole number without making a string of its own first.
void DoAppendNumber(QString& sText, long lNumber)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, lNumber);
    sText += QLatin1String(buffer, static_cast<int>(result.ptr - buffer));
}

/// The part of a value text before its first blank (the whole text without one).
QStringView NumberPart(const QString& sValue)
{
    const int iBlank = sValue.indexOf(QLatin1Char(' '));
    return iBlank < 0 ? QStringView(sValue) : QStringView(sValue).left(iBlank);
}

QString ChannelNameColumn()
{
    return CEnumTemplate<ESettingsItems>::ToString(eSettingsItem_ChannelName);
}

} // namespace

CMeasurementResultData::CMeasurementResultData(long lSessionId, ELevelUnit eLevelUnit)
    : m_Session(lSessionId), m_lSessionId(lSessionId), m_eLevelUnit(eLevelUnit)
{
    m_Limits.SetLevelUnit(eLevelUnit);
}

CMeasurementResultData::~CMeasurementResultData() = default;

bool CMeasurementResultData::LoadData(const CMeasConfigData& config)
{
    m_sLastError.clear();
    if (!m_DeviceSettings.Read(config.DeviceSettingFile()))
    {
        return DoFailReading(QStringLiteral("device settings"), config.DeviceSettingFile());
    }
    if (!m_ChannelTable.Read(config.ChannelTableFile()))
    {
        return DoFailReading(QStringLiteral("channel table"), config.ChannelTableFile());
    }
    if (!m_Limits.Read(config.ComparativeValuesFile()))
    {
        return DoFailReading(QStringLiteral("limit"), config.ComparativeValuesFile());
    }
    m_sInitialLimitFile = config.ComparativeValuesFile();

    m_Database.SetConnectionParameters(m_DeviceSettings.DatabaseName(),
                                       m_DeviceSettings.DatabaseUser(),
                                       m_DeviceSettings.DatabasePwd());
    if (!m_Database.Open())
    {
        m_sLastError = QStringLiteral("Opening the database \"%1\" named by the device settings "
                                      "\"%2\" failed: %3")
                           .arg(m_DeviceSettings.DatabaseName(), config.DeviceSettingFile(),
                                m_Database.LastError());
        return false;
    }
    // The session is read through the reader every reading command uses; the model judges
    // what it read with the files of its configuration.
    CSessionReader reader(m_Database);
    if (!reader.ReadStoredRows(m_lSessionId, m_vAllResults))
    {
        // None of the values is judged: a part of them would look like the whole session.
        UpdateDataAffectedByLimitValues();
        m_sLastError = QStringLiteral("Reading the stored values of session %1 failed: %2")
                           .arg(QString::number(m_lSessionId), reader.LastError());
        return false;
    }
    UseInititalLimits();
    const bool bSessionFound = ReadSessionData();
    if (!reader.ReadScanIds(m_lSessionId, m_vScanIds))
    {
        m_sLastError = QStringLiteral("Reading the scans of session %1 failed: %2")
                           .arg(QString::number(m_lSessionId), reader.LastError());
        return false;
    }
    return bSessionFound;
}

bool CMeasurementResultData::ReadSessionData()
{
    CSessionReader reader(m_Database);
    if (!reader.ReadSessionRow(m_lSessionId, m_Session))
    {
        m_sLastError = QStringLiteral("Reading session %1 failed: %2")
                           .arg(QString::number(m_lSessionId), reader.LastError());
        return false;
    }
    return true;
}

const CDBMeasurement& CMeasurementResultData::DoViolation(long lErrorIndex) const
{
    return m_vAllResults[m_vLimitViolations[static_cast<size_t>(lErrorIndex)]];
}

CDBMeasurement CMeasurementResultData::DoJudgedRecord(size_t uIndex) const
{
    CDBMeasurement record = m_vAllResults[uIndex];
    if (m_vJudgements[uIndex] == eJudgement_Violation)
    {
        record.SetErrorDescription(m_pJudge->ViolationText(record));
    }
    return record;
}

bool CMeasurementResultData::DoFailReading(const QString& sWhat, const QString& sFile)
{
    QByteArray bytes;
    QJsonObject jObject;
    QString sReason;
    int iLine = 0;
    int iColumn = 0;
    if (CUtilJson::ParseJsonFile(sFile, bytes, jObject, sReason, iLine, iColumn))
    {
        sReason = QStringLiteral("its content cannot be used");
    }
    m_sLastError =
        QStringLiteral("Reading the %1 file \"%2\" failed: %3").arg(sWhat, sFile, sReason);
    return false;
}

void CMeasurementResultData::UseInititalLimits()
{
    m_sLastError.clear();
    if (!m_Limits.Read(m_sInitialLimitFile))
    {
        DoFailReading(QStringLiteral("limit"), m_sInitialLimitFile);
    }
    UpdateDataAffectedByLimitValues();
}

void CMeasurementResultData::UseOtherLimits(const QString& sLimitFile)
{
    m_sLastError.clear();
    if (!m_Limits.Read(sLimitFile))
    {
        DoFailReading(QStringLiteral("limit"), sLimitFile);
    }
    UpdateDataAffectedByLimitValues();
}

void CMeasurementResultData::UpdateDataAffectedByLimitValues()
{
    m_vLimitViolations.clear();
    m_vMeasurementErrors.clear();
    m_vJudgements.assign(m_vAllResults.size(), eJudgement_NotJudged);

    // The judge points into the limits it judges by: a new copy needs a new judge.
    m_pJudge.reset();
    m_JudgedLimits = m_Limits;
    m_pJudge = std::make_unique<CMeasurementJudge>(m_JudgedLimits, m_ChannelTable);
    const CMeasurementJudge& judge = *m_pJudge;
    size_t nViolations = 0;
    size_t nErrors = 0;
    // A value whose number cannot be read is listed as an error, but its record here keeps
    // what was stored, so that judging again against other limits sees the same text.
    struct SStoredRecord
    {
        size_t m_uIndex;
        long m_lState;
        QString m_sErrorDescription;
    };
    std::vector<SStoredRecord> unreadable;
    for (size_t i = 0; i < m_vAllResults.size(); ++i)
    {
        CDBMeasurement& record = m_vAllResults[i];
        const long lStoredState = record.GetMeasurementState();
        QString sStoredDescription = record.GetErrorDescription();
        const EJudgement eJudgement = judge.JudgeWithoutText(record);
        m_vJudgements[i] = eJudgement;
        if (eJudgement == eJudgement_Violation)
        {
            ++nViolations;
        }
        else if (eJudgement == eJudgement_Error)
        {
            ++nErrors;
            if (record.GetMeasurementState() != lStoredState)
            {
                unreadable.push_back({i, lStoredState, std::move(sStoredDescription)});
            }
        }
    }

    m_vLimitViolations.reserve(nViolations);
    m_vMeasurementErrors.reserve(nErrors);
    for (size_t i = 0; i < m_vJudgements.size(); ++i)
    {
        if (m_vJudgements[i] == eJudgement_Violation)
        {
            m_vLimitViolations.push_back(i);
        }
        else if (m_vJudgements[i] == eJudgement_Error)
        {
            m_vMeasurementErrors.push_back(m_vAllResults[i]);
        }
    }
    for (SStoredRecord& stored : unreadable)
    {
        m_vAllResults[stored.m_uIndex].SetMeasurementState(stored.m_lState);
        m_vAllResults[stored.m_uIndex].SetErrorDescription(stored.m_sErrorDescription);
    }
}

void CMeasurementResultData::SetLevelUnit(ELevelUnit eLevelUnit)
{
    m_eLevelUnit = eLevelUnit;
    m_Limits.SetLevelUnit(eLevelUnit);
    m_Limits.SetImpedance(m_DeviceSettings.Impedance());
}

CDBScanData CMeasurementResultData::GetScanData(long lScanId)
{
    return CDBScanController(m_Database).GetData(m_lSessionId, lScanId);
}

long CMeasurementResultData::GetNumberOfScans() const
{
    return static_cast<long>(m_vScanIds.size());
}

long CMeasurementResultData::GetScanIdOfScanIndex(long lIndex) const
{
    return lIndex >= 0 && lIndex < GetNumberOfScans() ? m_vScanIds[static_cast<size_t>(lIndex)]
                                                      : -1;
}

bool CMeasurementResultData::IsScanIdValid(long lScanId) const
{
    return std::binary_search(m_vScanIds.begin(), m_vScanIds.end(), lScanId);
}

long CMeasurementResultData::GetNextScanId(long lScanId, bool bForward) const
{
    if (m_vScanIds.empty() || IsScanIdValid(lScanId))
    {
        return lScanId;
    }
    if (bForward)
    {
        const auto it = std::upper_bound(m_vScanIds.begin(), m_vScanIds.end(), lScanId);
        // Past the last scan the last one is the nearest.
        return it == m_vScanIds.end() ? m_vScanIds.back() : *it;
    }
    if (lScanId < m_vScanIds.front() || lScanId > m_vScanIds.back())
    {
        return m_vScanIds.front();
    }
    const auto it = std::lower_bound(m_vScanIds.begin(), m_vScanIds.end(), lScanId);
    return *(it - 1);
}

QStringList CMeasurementResultData::GetAvailableDates()
{
    QStringList dates;
    for (long lScanId : m_vScanIds)
    {
        const QString sDate = GetScanData(lScanId).DateTime().section(QLatin1Char(' '), 0, 0);
        if (!dates.contains(sDate))
        {
            dates.append(sDate);
        }
    }
    return dates;
}

QStringList CMeasurementResultData::GetAvailableScansOfDate(const QString& sDate)
{
    QStringList scans;
    for (long lScanId : m_vScanIds)
    {
        const QString sDateTime = GetScanData(lScanId).DateTime();
        if (sDateTime.section(QLatin1Char(' '), 0, 0) == sDate)
        {
            scans.append(QStringLiteral("Scan %1 ( ").arg(lScanId) + sDateTime + QLatin1Char(')'));
        }
    }
    return scans;
}

long CMeasurementResultData::GetNumberOfErrorsInSession() const
{
    return static_cast<long>(m_vLimitViolations.size());
}

QString CMeasurementResultData::GetChannelNameOfSessionError(long lErrorIndex) const
{
    if (lErrorIndex < 0 || lErrorIndex >= GetNumberOfErrorsInSession())
    {
        return QString();
    }
    const long lChannel = DoViolation(lErrorIndex).GetChannelId();
    if (lChannel >= m_ChannelTable.GetRowCount())
    {
        return QStringLiteral("Unknown channel");
    }
    return GetChannelName(lChannel);
}

QString CMeasurementResultData::GetChannelErrorDescriptionOfSessionError(long lErrorIndex) const
{
    if (lErrorIndex < 0 || lErrorIndex >= GetNumberOfErrorsInSession())
    {
        return QString();
    }
    return m_pJudge->ViolationText(DoViolation(lErrorIndex));
}

long CMeasurementResultData::GetChannelIdOfSessionError(long lErrorIndex) const
{
    if (lErrorIndex < 0 || lErrorIndex >= GetNumberOfErrorsInSession())
    {
        return -1;
    }
    return DoViolation(lErrorIndex).GetChannelId();
}

long CMeasurementResultData::GetScanIdOfError(long lErrorIndex) const
{
    if (lErrorIndex < 0 || lErrorIndex >= GetNumberOfErrorsInSession())
    {
        return -1;
    }
    return DoViolation(lErrorIndex).GetScanId();
}

QString CMeasurementResultData::GetChannelTimeStampOfSessionError(long lErrorIndex)
{
    if (lErrorIndex < 0 || lErrorIndex >= GetNumberOfErrorsInSession())
    {
        return QString();
    }
    return GetScanData(DoViolation(lErrorIndex).GetScanId()).DateTime();
}

long CMeasurementResultData::GetScanIdOfFirstChannelError(long lChannelId) const
{
    const auto it = std::find_if(m_vLimitViolations.begin(), m_vLimitViolations.end(),
                                 [this, lChannelId](size_t uIndex)
                                 { return m_vAllResults[uIndex].GetChannelId() == lChannelId; });
    if (it != m_vLimitViolations.end() && m_vAllResults[*it].GetScanId() != -1)
    {
        return m_vAllResults[*it].GetScanId();
    }
    return m_vScanIds.empty() ? -1 : m_vScanIds.front();
}

void CMeasurementResultData::GetMeasurementListAll(long lScanId, long lChannelId,
                                                   std::vector<CDBMeasurement>& list) const
{
    list.clear();
    const auto add = [&list, lScanId, lChannelId](const CDBMeasurement& m)
    {
        if (m.GetScanId() == lScanId && m.GetChannelId() == lChannelId)
        {
            list.push_back(m);
        }
    };
    // Within limits, then violations, then errors.
    for (size_t i = 0; i < m_vJudgements.size(); ++i)
    {
        if (m_vJudgements[i] == eJudgement_Within)
        {
            add(m_vAllResults[i]);
        }
    }
    for (size_t uIndex : m_vLimitViolations)
    {
        const CDBMeasurement& m = m_vAllResults[uIndex];
        if (m.GetScanId() == lScanId && m.GetChannelId() == lChannelId)
        {
            list.push_back(DoJudgedRecord(uIndex));
        }
    }
    for (const CDBMeasurement& m : m_vMeasurementErrors)
    {
        add(m);
    }
    std::sort(list.begin(), list.end(),
              [](const CDBMeasurement& a, const CDBMeasurement& b)
              { return a.GetMeasurementId() < b.GetMeasurementId(); });
}

long CMeasurementResultData::GetChannelId(const QString& sName) const
{
    long lRow = -1;
    return m_ChannelTable.GetChannelIndex(sName, lRow) ? lRow : -1;
}

QString CMeasurementResultData::GetChannelName(long lChannelId) const
{
    return m_ChannelTable.GetValue(lChannelId, ChannelNameColumn());
}

QStringList CMeasurementResultData::GetChannelNames() const
{
    return m_ChannelTable.GetChannelNames();
}

ECategory CMeasurementResultData::GetChannelType(const QString& sName) const
{
    long lRow = 0;
    return m_ChannelTable.GetChannelType(m_ChannelTable.GetChannelIndex(sName, lRow) ? lRow : 0);
}

ETVStandards CMeasurementResultData::GetTvStandard(const QString& sName) const
{
    long lRow = 0;
    return m_ChannelTable.GetTvStandard(m_ChannelTable.GetChannelIndex(sName, lRow) ? lRow : 0);
}

double CMeasurementResultData::PowerLimitOffset(long lChannelId) const
{
    const QString sValue = m_ChannelTable.GetValue(
        lChannelId, CEnumTemplate<ESettingsItems>::ToString(eSettingsItem_PowerLimitOffset));
    return static_cast<double>(NumberPart(sValue).toFloat());
}

bool CMeasurementResultData::CreateChannelMatrixData(CRDMatrixData& matrix)
{
    CDBMeasurementController controller(m_Database);
    CMatrixStateColorHandler handler;
    // The errors go with the violations: a channel whose measurements failed is no "OK".
    std::vector<CDBMeasurement> records;
    records.reserve(m_vLimitViolations.size() + m_vMeasurementErrors.size());
    // A tile lists only a channel's first violations: only their texts are written. (A channel
    // outside the table has no tile; counting it does no harm.)
    std::unordered_map<long, long> listed;
    for (size_t uIndex : m_vLimitViolations)
    {
        if (listed[m_vAllResults[uIndex].GetChannelId()]++ < handler.DetailLineLimit())
        {
            records.push_back(DoJudgedRecord(uIndex));
        }
        else
        {
            records.push_back(m_vAllResults[uIndex]);
        }
    }
    records.insert(records.end(), m_vMeasurementErrors.begin(), m_vMeasurementErrors.end());
    const CDBScanController scans(m_Database);
    const long lScans = scans.GetNumberOfScans(m_lSessionId);
    if (lScans < 0)
    {
        matrix.Clear();
        m_sLastError = QStringLiteral("Reading the scans of session %1 failed: %2")
                           .arg(m_lSessionId)
                           .arg(scans.LastError());
        return false;
    }
    if (!handler.DoCreateChannelMatrixData(matrix, controller, records, m_ChannelTable,
                                           m_lSessionId, lScans, false, false))
    {
        m_sLastError = QStringLiteral("Reading the channels of session %1 failed: %2")
                           .arg(m_lSessionId)
                           .arg(controller.LastError());
        return false;
    }
    return true;
}

QString CMeasurementResultData::GetSessionDataAsCSV() const
{
    return GetSessionDataAsCSV(m_Session);
}

QString CMeasurementResultData::GetSessionDataAsCSV(const CDBSessionData& session)
{
    QString sSite, sTestPoint, sName, sENumber, sTNumber, sEMail;
    QString sHWModel, sFirmware, sSoftware, sSerialNr, sOwner;
    session.GetSessionLocationData(sSite, sTestPoint);
    session.GetSessionUserData(sName, sENumber, sTNumber, sEMail);
    session.GetHardwareInfoData(sHWModel, sFirmware, sSoftware, sSerialNr, sOwner);
    const QStringList fields = {
        QStringLiteral("Session Data"),
        QString::number(session.GetSessionId()),
        session.UniqueIdentifier(),
        session.Description(),
        session.FirstRun(),
        session.LastRun(),
        sSite,
        sTestPoint,
        sName,
        sENumber,
        sTNumber,
        sEMail,
        sHWModel,
        sFirmware,
        sSoftware,
        sSerialNr,
        sOwner,
    };
    return fields.join(QLatin1Char(','));
}

bool CMeasurementResultData::DoForEachScanDataLine(const std::function<bool(const QString&)>& line)
{
    CDBMeasurementController controller(m_Database);
    if (!DoForEachScanDataLine(controller, m_lSessionId, GetNumberOfScans(),
                               m_ChannelTable.GetRowCount(), line))
    {
        m_sLastError = QStringLiteral("Reading the stored values of session %1 failed: %2")
                           .arg(m_lSessionId)
                           .arg(controller.LastError());
        return false;
    }
    return true;
}

bool CMeasurementResultData::DoForEachScanDataLine(CDBMeasurementController& controller,
                                                   long lSessionId, long lScanCount,
                                                   long lChannelRows,
                                                   const std::function<bool(const QString&)>& line)
{
    const long lScans = std::min(lScanCount, c_lMaxCsvCount);
    const long lRows = std::min(lChannelRows, c_lMaxCsvCount);
    const QLatin1String tag("Scan Data,");
    const QLatin1Char comma(',');
    // Each line is put together in one reused buffer.
    QString sLine;
    const auto toLine = [&](const CDBMeasurement& m)
    {
        sLine.resize(0);
        sLine += tag;
        DoAppendNumber(sLine, m.GetSessionId());
        sLine += comma;
        DoAppendNumber(sLine, m.GetScanId());
        sLine += comma;
        DoAppendNumber(sLine, m.GetChannelId());
        sLine += comma;
        DoAppendNumber(sLine, m.GetMeasurementId());
        sLine += comma;
        DoAppendNumber(sLine, m.GetMeasurementItem());
        sLine += comma;
        sLine += m.GetValue();
        sLine += comma;
        DoAppendNumber(sLine, m.GetMeasurementState());
        sLine += comma;
        sLine += m.GetErrorDescription();
        return line(sLine);
    };
    // One read in the order of the channel reads (scan position, channel row, id): the rows
    // are the stored ones, not the judged records of the model, and are never all held.
    return controller.ForEachMeasurementResultByScanAndChannel(lSessionId, lScans, lRows, toLine);
}

QStringList CMeasurementResultData::GetScanDataAsCSV()
{
    QStringList lines;
    const bool bRead = DoForEachScanDataLine(
        [&lines](const QString& sLine)
        {
            // An exact copy: no line keeps the buffer's spare room.
            lines.append(QString(sLine.constData(), sLine.size()));
            return true;
        });
    if (!bRead)
    {
        // The lines read so far would pass for the whole session.
        lines.clear();
    }
    return lines;
}

QStringList CMeasurementResultData::GetCSVExport()
{
    QStringList lines = GetScanDataAsCSV();
    lines.prepend(GetSessionDataAsCSV());
    return lines;
}

bool CMeasurementResultData::WriteCSVExport(QIODevice& device)
{
    CDBMeasurementController controller(m_Database);
    QString sError;
    const bool bWritten = DoWriteCSVExport(
        device, GetSessionDataAsCSV(m_Session),
        [&](const std::function<bool(const QString&)>& line)
        {
            return DoForEachScanDataLine(controller, m_lSessionId, GetNumberOfScans(),
                                         m_ChannelTable.GetRowCount(), line);
        },
        sError);
    if (!bWritten)
    {
        m_sLastError = sError.isEmpty() ? QStringLiteral("Reading the stored values of session "
                                                         "%1 failed: %2")
                                              .arg(m_lSessionId)
                                              .arg(controller.LastError())
                                        : sError;
    }
    return bWritten;
}

bool CMeasurementResultData::WriteCSVExport(CSessionReader& reader, QIODevice& device,
                                            QString& sError)
{
    sError.clear();
    CDBMeasurementController controller(reader.Database());
    const long lSessionId = reader.SessionId();
    const bool bWritten = DoWriteCSVExport(
        device, GetSessionDataAsCSV(reader.Session()),
        [&](const std::function<bool(const QString&)>& line)
        {
            return DoForEachScanDataLine(controller, lSessionId,
                                         static_cast<long>(reader.ScanIds().size()),
                                         reader.ChannelTable().GetRowCount(), line);
        },
        sError);
    if (!bWritten && sError.isEmpty())
    {
        sError = QStringLiteral("Reading the stored values of session %1 failed: %2")
                     .arg(lSessionId)
                     .arg(controller.LastError());
    }
    return bWritten;
}

bool CMeasurementResultData::DoWriteCSVExport(
    QIODevice& device, const QString& sSessionLine,
    const std::function<bool(const std::function<bool(const QString&)>&)>& forEachLine,
    QString& sWriteError)
{
    // Lines gather in one text and go out in UTF-8 a chunk at a time: one conversion and one
    // write per chunk instead of per line.
    static constexpr int c_iChunk = 1 << 15;
    QString sChunk;
    sChunk.reserve(c_iChunk + 1024);
    bool bWritten = true;
    const auto write = [&]
    {
        const QByteArray bytes = sChunk.toUtf8();
        // A device may take part of a write; the rest follows until it takes nothing.
        const char* pNext = bytes.constData();
        qint64 llLeft = bytes.size();
        while (llLeft > 0)
        {
            const qint64 llTaken = device.write(pNext, llLeft);
            if (llTaken <= 0)
            {
                break;
            }
            pNext += llTaken;
            llLeft -= llTaken;
        }
        bWritten = llLeft == 0;
        sChunk.resize(0);
        if (!bWritten)
        {
            sWriteError = QStringLiteral("Writing the CSV export failed: ") + device.errorString();
        }
        return bWritten;
    };
    const auto append = [&](const QString& sLine)
    {
        sChunk += sLine;
        sChunk += QLatin1Char('\n');
        return sChunk.size() < c_iChunk || write();
    };
    append(sSessionLine);
    const bool bRead = forEachLine(append);
    return bRead && bWritten && (sChunk.isEmpty() || write());
}

} // namespace LumoraMeasurement

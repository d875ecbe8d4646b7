#include "CSessionReader.h"

#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "CDBSessionControler.h"
#include "CDatabaseMultiInstance.h"
#include "CEnumTemplate.h"
#include "CMeasurementJudge.h"
#include "ESettingsItems.h"

#include <QFileInfo>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace LumoraMeasurement
{

namespace
{

/// The number a stored value text begins with (the part before its first blank), read the
/// same way whatever Qt reads: plain ASCII digits, an optional sign, point and exponent, and
/// nothing else (no control character, no full-width digit, no trailing NUL).
bool ReadNumber(const QString& sValue, double& dNumber)
{
    const int iBlank = sValue.indexOf(QLatin1Char(' '));
    const int iLength = iBlank < 0 ? sValue.size() : iBlank;
    if (iLength == 0 || iLength > 64)
    {
        return false;
    }
    char buffer[65];
    int iStart = 0;
    for (int i = 0; i < iLength; ++i)
    {
        const ushort uChar = sValue.at(i).unicode();
        if (uChar >= 0x80)
        {
            return false;
        }
        buffer[i] = static_cast<char>(uChar);
    }
    // from_chars takes no plus sign; the stored texts may carry one.
    if (buffer[0] == '+' && iLength > 1 && buffer[1] != '-')
    {
        iStart = 1;
    }
    const auto result = std::from_chars(buffer + iStart, buffer + iLength, dNumber);
    return result.ec == std::errc() && result.ptr == buffer + iLength && std::isfinite(dNumber);
}

bool ParseSessionId(const QString& sText, long& lSessionId)
{
    bool bOk = false;
    const qlonglong llId = sText.trimmed().toLongLong(&bOk, 10);
    if (!bOk || llId < 1)
    {
        return false;
    }
    lSessionId = static_cast<long>(llId);
    return true;
}

} // namespace

struct CSessionReader::SPrivate
{
    std::unique_ptr<OrvelFramework::CDatabaseMultiInstance> m_pOwnDatabase;
    OrvelFramework::CDatabaseMultiInstance* m_pDatabase = nullptr;
    QString m_sChannelFile;
    QString m_sLimitFile;
    ELevelUnit m_eLevelUnit = eLevelUnit_dBuV;
    CDBSessionData m_Session{0};
    std::vector<CDBScanData> m_vScans;
    std::vector<long> m_vScanIds;
    CChannelTableData m_ChannelTable;
    CComparativeValueData m_Limits;
    std::unique_ptr<CMeasurementJudge> m_pJudge;
    std::vector<QString> m_vChannelNames;
    QString m_sEmpty;
    QString m_sLastError;

    bool Fail(const QString& sReason)
    {
        m_sLastError = sReason;
        return false;
    }
    bool ReadConfiguration();
};

CSessionReader::CSessionReader() : m_pD(std::make_unique<SPrivate>())
{
    m_pD->m_pOwnDatabase = std::make_unique<OrvelFramework::CDatabaseMultiInstance>();
    m_pD->m_pDatabase = m_pD->m_pOwnDatabase.get();
}

CSessionReader::CSessionReader(OrvelFramework::CDatabaseMultiInstance& rDatabase)
    : m_pD(std::make_unique<SPrivate>())
{
    m_pD->m_pDatabase = &rDatabase;
}

CSessionReader::~CSessionReader() = default;

bool CSessionReader::Open(const QString& sDatabaseName, const QString& sUser,
                          const QString& sPassword)
{
    m_pD->m_sLastError.clear();
    if (!m_pD->m_pOwnDatabase)
    {
        return m_pD->Fail(QStringLiteral("The reader uses the caller's connection"));
    }
    m_pD->m_pDatabase->SetConnectionParameters(sDatabaseName, sUser, sPassword);
    if (!m_pD->m_pDatabase->OpenForReading())
    {
        return m_pD->Fail(m_pD->m_pDatabase->LastError());
    }
    return true;
}

void CSessionReader::SetChannelTableFile(const QString& sFile)
{
    m_pD->m_sChannelFile = sFile;
}

void CSessionReader::SetLimitFile(const QString& sFile)
{
    m_pD->m_sLimitFile = sFile;
}

void CSessionReader::SetLevelUnit(ELevelUnit eLevelUnit)
{
    m_pD->m_eLevelUnit = eLevelUnit;
}

bool CSessionReader::SelectSession(const QString& sSession)
{
    long lSessionId = 0;
    if (ParseSessionId(sSession, lSessionId))
    {
        return SelectSession(lSessionId);
    }
    const QString sUniqueId = sSession.trimmed();
    if (sUniqueId.isEmpty())
    {
        return m_pD->Fail(QStringLiteral("No session is named"));
    }
    CDBSessionControler sessions(*m_pD->m_pDatabase);
    std::vector<CDBSessionData> candidates;
    if (!sessions.ReadSessionData(sUniqueId, candidates))
    {
        return m_pD->Fail(QStringLiteral("Cannot read the sessions: ") + sessions.LastError());
    }
    long lFound = 0;
    int iMatches = 0;
    for (const CDBSessionData& candidate : candidates)
    {
        if (candidate.UniqueIdentifier().compare(sUniqueId, Qt::CaseInsensitive) == 0)
        {
            lFound = static_cast<long>(candidate.GetSessionId());
            ++iMatches;
        }
    }
    if (iMatches == 0)
    {
        return m_pD->Fail(QStringLiteral("There is no session with the id or unique id \"") +
                          sUniqueId + QStringLiteral("\""));
    }
    if (iMatches > 1)
    {
        return m_pD->Fail(QStringLiteral("Several sessions have the unique id \"") + sUniqueId +
                          QStringLiteral("\"; name one by its number"));
    }
    return SelectSession(lFound);
}

bool CSessionReader::SelectSession(long lSessionId)
{
    SPrivate& d = *m_pD;
    d.m_sLastError.clear();
    d.m_pJudge.reset();
    d.m_vScans.clear();
    d.m_vScanIds.clear();
    d.m_vChannelNames.clear();
    d.m_Session = CDBSessionData(lSessionId);
    if (lSessionId < 1)
    {
        return d.Fail(QStringLiteral("There is no session %1 in the database").arg(lSessionId));
    }
    if (!ReadSessionRow(lSessionId, d.m_Session))
    {
        return false;
    }
    CDBScanController scans(*d.m_pDatabase);
    if (!scans.GetAllData(lSessionId, d.m_vScans))
    {
        return d.Fail(scans.LastError());
    }
    d.m_vScanIds.reserve(d.m_vScans.size());
    for (const CDBScanData& scan : d.m_vScans)
    {
        d.m_vScanIds.push_back(static_cast<long>(scan.GetScanId()));
    }
    return d.ReadConfiguration();
}

bool CSessionReader::SPrivate::ReadConfiguration()
{
    const long lSessionId = static_cast<long>(m_Session.GetSessionId());
    QString sLimitId;
    QString sChannelId;
    m_Session.GetAssociatedFiles(sLimitId, sChannelId);
    CDBSessionControler sessions(*m_pDatabase);
    m_ChannelTable = CChannelTableData();
    if (!m_sChannelFile.isEmpty())
    {
        if (!QFileInfo(m_sChannelFile).isFile() || !m_ChannelTable.Read(m_sChannelFile))
        {
            return Fail(QStringLiteral("Cannot read the channel table \"") + m_sChannelFile +
                        QStringLiteral("\""));
        }
    }
    else
    {
        QByteArray bytes;
        if (sChannelId.toLongLong() < 1)
        {
            return Fail(
                QStringLiteral("Session %1 has no registered channel table").arg(lSessionId));
        }
        // A registration whose copy cannot be read (gone, or the read failed) says why.
        if (!sessions.GetChannelSettingsFileData(sChannelId, bytes))
        {
            return Fail(QStringLiteral("The channel table registered with session ") +
                        QString::number(lSessionId) + QStringLiteral(" cannot be read: ") +
                        sessions.LastError());
        }
        if (!m_ChannelTable.ReadData(bytes,
                                     QStringLiteral("registered channel table ") + sChannelId))
        {
            return Fail(QStringLiteral("The channel table registered with session %1 cannot be "
                                       "read")
                            .arg(lSessionId));
        }
    }
    m_Limits = CComparativeValueData();
    m_Limits.SetLevelUnit(m_eLevelUnit);
    if (!m_sLimitFile.isEmpty())
    {
        if (!QFileInfo(m_sLimitFile).isFile() || !m_Limits.Read(m_sLimitFile))
        {
            return Fail(QStringLiteral("Cannot read the limits \"") + m_sLimitFile +
                        QStringLiteral("\""));
        }
    }
    else
    {
        QByteArray bytes;
        if (sLimitId.toLongLong() < 1)
        {
            return Fail(QStringLiteral("Session %1 has no registered limit file").arg(lSessionId));
        }
        if (!sessions.GetLimitValuesFileData(sLimitId, bytes))
        {
            return Fail(QStringLiteral("The limit file registered with session ") +
                        QString::number(lSessionId) + QStringLiteral(" cannot be read: ") +
                        sessions.LastError());
        }
        if (!m_Limits.ReadData(bytes, QStringLiteral("registered limit file ") + sLimitId))
        {
            return Fail(QStringLiteral("The limit file registered with session %1 cannot be read")
                            .arg(lSessionId));
        }
    }
    m_pJudge = std::make_unique<CMeasurementJudge>(m_Limits, m_ChannelTable);
    const QString sNameColumn = CEnumTemplate<ESettingsItems>::ToString(eSettingsItem_ChannelName);
    m_vChannelNames.reserve(static_cast<size_t>(m_ChannelTable.GetRowCount()));
    for (long r = 0; r < m_ChannelTable.GetRowCount(); ++r)
    {
        m_vChannelNames.push_back(m_ChannelTable.GetValue(r, sNameColumn));
    }
    return true;
}

bool CSessionReader::ReadSessionRow(long lSessionId, CDBSessionData& session)
{
    m_pD->m_sLastError.clear();
    const CDBSessionControler sessions(*m_pD->m_pDatabase);
    if (!sessions.GetData(lSessionId, session))
    {
        return m_pD->Fail(
            sessions.LastError().isEmpty()
                ? QStringLiteral("There is no session %1 in the database").arg(lSessionId)
                : sessions.LastError());
    }
    return true;
}

bool CSessionReader::ReadStoredRows(long lSessionId, std::vector<CDBMeasurement>& rows)
{
    m_pD->m_sLastError.clear();
    CDBMeasurementController measurements(*m_pD->m_pDatabase);
    if (!measurements.GetAllResultsForSession(lSessionId, rows))
    {
        // A part of the rows would look like the whole session.
        rows.clear();
        return m_pD->Fail(measurements.LastError());
    }
    return true;
}

bool CSessionReader::ReadScanIds(long lSessionId, std::vector<long>& ids)
{
    m_pD->m_sLastError.clear();
    const CDBScanController scans(*m_pD->m_pDatabase);
    return scans.GetScanIds(lSessionId, ids) || m_pD->Fail(scans.LastError());
}

bool CSessionReader::ForEachStoredRow(const std::function<bool(const CDBMeasurement&)>& row)
{
    SPrivate& d = *m_pD;
    d.m_sLastError.clear();
    if (!d.m_pJudge)
    {
        return d.Fail(QStringLiteral("No session is selected"));
    }
    CDBMeasurementController measurements(*d.m_pDatabase);
    if (!measurements.ForEachResultOfSession(static_cast<long>(d.m_Session.GetSessionId()), row))
    {
        return d.Fail(measurements.LastError());
    }
    return true;
}

CSessionReader::SRow CSessionReader::JudgeRow(const CDBMeasurement& stored,
                                              CDBMeasurement& judged) const
{
    judged = stored;
    const EJudgement eJudgement =
        m_pD->m_pJudge ? m_pD->m_pJudge->Judge(judged) : eJudgement_NotJudged;
    double dNumber = 0.0;
    const bool bHasNumber =
        eJudgement != eJudgement_Error && ReadNumber(stored.GetValue(), dNumber);
    return {stored,     judged,
            eJudgement, ScanIndex(static_cast<long>(stored.GetScanId())),
            bHasNumber, bHasNumber ? dNumber : 0.0};
}

bool CSessionReader::ForEachRow(const std::function<bool(const SRow&)>& row)
{
    CDBMeasurement judged;
    return ForEachStoredRow([&](const CDBMeasurement& stored)
                            { return row(JudgeRow(stored, judged)); });
}

const CDBSessionData& CSessionReader::Session() const
{
    return m_pD->m_Session;
}

long CSessionReader::SessionId() const
{
    return static_cast<long>(m_pD->m_Session.GetSessionId());
}

const std::vector<CDBScanData>& CSessionReader::Scans() const
{
    return m_pD->m_vScans;
}

const std::vector<long>& CSessionReader::ScanIds() const
{
    return m_pD->m_vScanIds;
}

long CSessionReader::ScanIndex(long lScanId) const
{
    const std::vector<long>& ids = m_pD->m_vScanIds;
    const auto it = std::lower_bound(ids.begin(), ids.end(), lScanId);
    return it != ids.end() && *it == lScanId ? static_cast<long>(it - ids.begin()) : -1;
}

const QString& CSessionReader::ScanTime(long lScanId) const
{
    const long lIndex = ScanIndex(lScanId);
    return lIndex < 0 ? m_pD->m_sEmpty : m_pD->m_vScans[static_cast<size_t>(lIndex)].DateTime();
}

const CChannelTableData& CSessionReader::ChannelTable() const
{
    return m_pD->m_ChannelTable;
}

const CComparativeValueData& CSessionReader::Limits() const
{
    return m_pD->m_Limits;
}

const QString& CSessionReader::ChannelName(long lChannelId) const
{
    const std::vector<QString>& names = m_pD->m_vChannelNames;
    return lChannelId >= 0 && lChannelId < static_cast<long>(names.size())
               ? names[static_cast<size_t>(lChannelId)]
               : m_pD->m_sEmpty;
}

double CSessionReader::PowerLimitOffset(long lChannelId) const
{
    return m_pD->m_pJudge ? m_pD->m_pJudge->PowerLimitOffset(lChannelId) : 0.0;
}

OrvelFramework::CDatabaseMultiInstance& CSessionReader::Database()
{
    return *m_pD->m_pDatabase;
}

QString CSessionReader::LastError() const
{
    return m_pD->m_sLastError;
}

} // namespace LumoraMeasurement

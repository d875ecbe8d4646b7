#include "CMeasurementResultData.h"

#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "CDBSessionControler.h"
#include "CEnumTemplate.h"
#include "CMatrixStateColorHandler.h"
#include "CMeasurementItem.h"
#include "CStringUtil.h"
#include "CUtilJson.h"
#include "EMeasurementItemState.h"
#include "EMeasurementItems.h"
#include "ESettingsItems.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

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

enum class EResultList : unsigned char
{
    None,
    WithinLimits,
    LimitViolation,
    MeasurementError,
    // A measured value whose number cannot be read: a measurement error, never a silent 0.
    UnreadableValue
};

// An error text quotes at most this much of a stored value.
constexpr int c_iQuotedValueLength = 64;

QString UnreadableValueText(EMeasurementItems eItem, const QString& sValue)
{
    const QString sQuoted = sValue.size() > c_iQuotedValueLength
                                ? sValue.left(c_iQuotedValueLength) + QStringLiteral("...")
                                : sValue;
    return CEnumTemplate<EMeasurementItems>::ToString(eItem) +
           QStringLiteral(": the stored value \"") + sQuoted +
           QStringLiteral("\" is not a finite number");
}

/// Stored id to enumerator for a representation table, first row winning; the sentinel for
/// ids without a row. Built once per evaluation so that a million records need no table walk.
template <typename E> class CIdLookup
{
public:
    CIdLookup()
    {
        long lMax = -1;
        for (const auto& row : CRepresentation<E>::Table())
        {
            lMax = std::max(lMax, row.m_lId);
        }
        m_vById.assign(static_cast<size_t>(lMax + 1), CEnumTemplate<E>::Sentinel());
        std::vector<bool> taken(m_vById.size(), false);
        for (const auto& row : CRepresentation<E>::Table())
        {
            if (row.m_lId >= 0 && !taken[static_cast<size_t>(row.m_lId)])
            {
                taken[static_cast<size_t>(row.m_lId)] = true;
                m_vById[static_cast<size_t>(row.m_lId)] = row.m_eEnumValue;
            }
        }
    }

    E operator()(long lId) const
    {
        return lId >= 0 && lId < static_cast<long>(m_vById.size())
                   ? m_vById[static_cast<size_t>(lId)]
                   : CEnumTemplate<E>::Sentinel();
    }

private:
    std::vector<E> m_vById;
};

/// The part of a value text before its first blank (the whole text without one).
QStringView NumberPart(const QString& sValue)
{
    const int iBlank = sValue.indexOf(QLatin1Char(' '));
    return iBlank < 0 ? QStringView(sValue) : QStringView(sValue).left(iBlank);
}

/// Rewrites a floating-point value text, whose number part reads as fValue, as
/// "<number> <unit>" with a two-decimal number (in exponent form for magnitudes below 0.01)
/// and returns the number as stored in the cell.
double NormaliseFloatValue(QString& sValue, float fValue)
{
    const int iBlank = sValue.indexOf(QLatin1Char(' '));
    QString sUnit;
    if (iBlank >= 0)
    {
        const int iNext = sValue.indexOf(QLatin1Char(' '), iBlank + 1);
        sUnit = iNext < 0 ? sValue.mid(iBlank + 1) : sValue.mid(iBlank + 1, iNext - iBlank - 1);
    }
    const QString sNumber = (fValue == 0.0f || std::fabs(fValue) >= 0.01f)
                                ? QString::number(static_cast<double>(fValue), 'f', 2)
                                : QString::number(static_cast<double>(fValue), 'e', 2);
    sValue = sNumber + QLatin1Char(' ') + sUnit;
    return static_cast<double>(sNumber.toFloat());
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
    CDBMeasurementController(m_Database).GetAllResultsForSession(m_lSessionId, m_vAllResults);
    UseInititalLimits();
    const bool bSessionFound = ReadSessionData();
    m_vScanIds = CDBScanController(m_Database).GetScanIds(m_lSessionId);
    return bSessionFound;
}

bool CMeasurementResultData::ReadSessionData()
{
    const CDBSessionControler sessions(m_Database);
    if (!sessions.GetData(m_lSessionId, m_Session))
    {
        m_sLastError = QStringLiteral("Reading session %1 failed: %2")
                           .arg(m_lSessionId)
                           .arg(sessions.LastError());
        return false;
    }
    return true;
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
    m_vWithinLimits.clear();
    m_vLimitViolations.clear();
    m_vMeasurementErrors.clear();

    // Everything a record needs from the catalogues and tables, looked up once.
    const CIdLookup<EMeasurementItems> itemOfId;
    const CIdLookup<EMeasurementItemState> stateOfId;
    std::vector<CMeasurementItem> prototypes;
    std::vector<const CComparativeValueDataItem*> limits;
    prototypes.reserve(eMeasItem_None + 1);
    limits.reserve(eMeasItem_None + 1);
    const CComparativeValueData& limitTable = m_Limits;
    for (int i = 0; i <= eMeasItem_None; ++i)
    {
        const auto eItem = static_cast<EMeasurementItems>(i);
        prototypes.emplace_back(eItem);
        limits.push_back(&limitTable.GetItem(eItem));
    }
    std::vector<double> powerOffsets;
    powerOffsets.reserve(static_cast<size_t>(m_ChannelTable.GetRowCount()));
    for (long r = 0; r < m_ChannelTable.GetRowCount(); ++r)
    {
        powerOffsets.push_back(PowerLimitOffset(r));
    }
    const long lValidId = CEnumTemplate<EMeasurementItemState>::ToId(eMeasurementItemState_Valid);
    const long lOutOfRangeId =
        CEnumTemplate<EMeasurementItemState>::ToId(eMeasurementItemState_OutOfRange);
    const long lErrorId = CEnumTemplate<EMeasurementItemState>::ToId(eMeasurementItemState_Error);

    std::vector<EResultList> lists(m_vAllResults.size(), EResultList::None);
    size_t aCounts[5] = {0, 0, 0, 0, 0};
    QString sViolation;
    for (size_t i = 0; i < m_vAllResults.size(); ++i)
    {
        CDBMeasurement& record = m_vAllResults[i];
        const EMeasurementItems eItem = itemOfId(record.GetMeasurementItem());
        CMeasurementItem item = prototypes[static_cast<size_t>(eItem)];
        const EMeasurementItemState eStoredState = stateOfId(record.GetMeasurementState());
        const bool bMeasured = eStoredState == eMeasurementItemState_Valid ||
                               eStoredState == eMeasurementItemState_OutOfRange;

        bool bReadable = true;
        switch (item.ValueType())
        {
        case eValueType_Bool:
            item.Set(OrvelFramework::CStringUtil::ConvertToBool(record.GetValue()), eUnitType_None);
            break;
        case eValueType_Integer:
            item.Set(static_cast<short>(NumberPart(record.GetValue()).toInt(&bReadable, 10)),
                     eUnitType_None);
            break;
        case eValueType_Float:
        {
            // A text that is no number reads as 0, as toFloat() gives it.
            const float fNumber = NumberPart(record.GetValue()).toFloat(&bReadable);
            bReadable = bReadable && std::isfinite(fNumber);
            if (bMeasured && !bReadable)
            {
                // Left as stored, so every evaluation sees the same text.
                break;
            }
            QString sValue = record.GetValue();
            item.Set(NormaliseFloatValue(sValue, fNumber), eUnitType_None);
            record.SetValue(sValue);
            break;
        }
        case eValueType_Text:
            item.Set(record.GetValue(), eUnitType_None);
            break;
        default:
            break;
        }
        item.SetState(eStoredState);

        EResultList eList = EResultList::None;
        if (bMeasured && !bReadable)
        {
            eList = EResultList::UnreadableValue;
        }
        else if (bMeasured)
        {
            double dOffset = 0.0;
            if (eItem == eMeasItem_Power)
            {
                const long lChannel = record.GetChannelId();
                dOffset = lChannel >= 0 && lChannel < static_cast<long>(powerOffsets.size())
                              ? powerOffsets[static_cast<size_t>(lChannel)]
                              : PowerLimitOffset(lChannel);
            }
            sViolation.clear();
            if (limits[static_cast<size_t>(eItem)]->InRange(item.ToString(), sViolation, dOffset))
            {
                record.SetErrorDescription(QString());
                record.SetMeasurementState(lValidId);
                eList = EResultList::WithinLimits;
            }
            else
            {
                record.SetErrorDescription(sViolation);
                record.SetMeasurementState(lOutOfRangeId);
                eList = EResultList::LimitViolation;
            }
        }
        else if (item.State() == eMeasurementItemState_Error)
        {
            eList = EResultList::MeasurementError;
        }
        lists[i] = eList;
        ++aCounts[static_cast<size_t>(eList)];
    }

    m_vWithinLimits.reserve(aCounts[static_cast<size_t>(EResultList::WithinLimits)]);
    m_vLimitViolations.reserve(aCounts[static_cast<size_t>(EResultList::LimitViolation)]);
    m_vMeasurementErrors.reserve(aCounts[static_cast<size_t>(EResultList::MeasurementError)] +
                                 aCounts[static_cast<size_t>(EResultList::UnreadableValue)]);
    for (size_t i = 0; i < m_vAllResults.size(); ++i)
    {
        switch (lists[i])
        {
        case EResultList::WithinLimits:
            m_vWithinLimits.push_back(m_vAllResults[i]);
            break;
        case EResultList::LimitViolation:
            m_vLimitViolations.push_back(m_vAllResults[i]);
            break;
        case EResultList::MeasurementError:
            m_vMeasurementErrors.push_back(m_vAllResults[i]);
            break;
        case EResultList::UnreadableValue:
        {
            // Only the listed copy changes: the next evaluation reads the stored text again.
            m_vMeasurementErrors.push_back(m_vAllResults[i]);
            CDBMeasurement& error = m_vMeasurementErrors.back();
            error.SetMeasurementState(lErrorId);
            error.SetErrorDescription(
                UnreadableValueText(itemOfId(error.GetMeasurementItem()), error.GetValue()));
            break;
        }
        case EResultList::None:
            break;
        }
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
    const long lChannel = m_vLimitViolations[static_cast<size_t>(lErrorIndex)].GetChannelId();
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
    return m_vLimitViolations[static_cast<size_t>(lErrorIndex)].GetErrorDescription();
}

long CMeasurementResultData::GetChannelIdOfSessionError(long lErrorIndex) const
{
    if (lErrorIndex < 0 || lErrorIndex >= GetNumberOfErrorsInSession())
    {
        return -1;
    }
    return m_vLimitViolations[static_cast<size_t>(lErrorIndex)].GetChannelId();
}

long CMeasurementResultData::GetScanIdOfError(long lErrorIndex) const
{
    if (lErrorIndex < 0 || lErrorIndex >= GetNumberOfErrorsInSession())
    {
        return -1;
    }
    return m_vLimitViolations[static_cast<size_t>(lErrorIndex)].GetScanId();
}

QString CMeasurementResultData::GetChannelTimeStampOfSessionError(long lErrorIndex)
{
    if (lErrorIndex < 0 || lErrorIndex >= GetNumberOfErrorsInSession())
    {
        return QString();
    }
    return GetScanData(m_vLimitViolations[static_cast<size_t>(lErrorIndex)].GetScanId()).DateTime();
}

long CMeasurementResultData::GetScanIdOfFirstChannelError(long lChannelId) const
{
    const auto it = std::find_if(m_vLimitViolations.begin(), m_vLimitViolations.end(),
                                 [lChannelId](const CDBMeasurement& m)
                                 { return m.GetChannelId() == lChannelId; });
    if (it != m_vLimitViolations.end() && it->GetScanId() != -1)
    {
        return it->GetScanId();
    }
    return m_vScanIds.empty() ? -1 : m_vScanIds.front();
}

void CMeasurementResultData::GetMeasurementListAll(long lScanId, long lChannelId,
                                                   std::vector<CDBMeasurement>& list) const
{
    list.clear();
    for (const auto* pSource : {&m_vWithinLimits, &m_vLimitViolations, &m_vMeasurementErrors})
    {
        for (const CDBMeasurement& m : *pSource)
        {
            if (m.GetScanId() == lScanId && m.GetChannelId() == lChannelId)
            {
                list.push_back(m);
            }
        }
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

void CMeasurementResultData::CreateChannelMatrixData(CRDMatrixData& matrix)
{
    CDBMeasurementController controller(m_Database);
    // The errors go with the violations: a channel whose measurements failed is no "OK".
    std::vector<CDBMeasurement> records;
    records.reserve(m_vLimitViolations.size() + m_vMeasurementErrors.size());
    records.insert(records.end(), m_vLimitViolations.begin(), m_vLimitViolations.end());
    records.insert(records.end(), m_vMeasurementErrors.begin(), m_vMeasurementErrors.end());
    CMatrixStateColorHandler().DoCreateChannelMatrixData(
        matrix, controller, records, m_ChannelTable, m_lSessionId,
        CDBScanController(m_Database).GetNumberOfScans(m_lSessionId), false, false);
}

QString CMeasurementResultData::GetSessionDataAsCSV() const
{
    QString sSite, sTestPoint, sName, sENumber, sTNumber, sEMail;
    QString sHWModel, sFirmware, sSoftware, sSerialNr, sOwner;
    m_Session.GetSessionLocationData(sSite, sTestPoint);
    m_Session.GetSessionUserData(sName, sENumber, sTNumber, sEMail);
    m_Session.GetHardwareInfoData(sHWModel, sFirmware, sSoftware, sSerialNr, sOwner);
    const QStringList fields = {
        QStringLiteral("Session Data"),
        QString::number(m_Session.GetSessionId()),
        m_Session.UniqueIdentifier(),
        m_Session.Description(),
        m_Session.FirstRun(),
        m_Session.LastRun(),
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

QStringList CMeasurementResultData::GetScanDataAsCSV()
{
    QStringList lines;
    CDBMeasurementController controller(m_Database);
    const long lScans = std::min(GetNumberOfScans(), c_lMaxCsvCount);
    const long lRows = std::min(m_ChannelTable.GetRowCount(), c_lMaxCsvCount);
    const QLatin1String tag("Scan Data,");
    const QLatin1Char comma(',');
    std::vector<CDBMeasurement> records;
    // Each line is put together in one reused buffer and stored as an exact copy: one
    // allocation per line, and no line keeps spare room.
    QString sLine;
    // Lines are made read by read, so the records of the whole session are never held twice.
    for (long s = 0; s < lScans; ++s)
    {
        for (long r = 0; r < lRows; ++r)
        {
            records.clear();
            controller.GetAllMeasurementResultsForChannel(m_lSessionId, s, r, records);
            for (const CDBMeasurement& m : records)
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
                lines.append(QString(sLine.constData(), sLine.size()));
            }
        }
    }
    return lines;
}

QStringList CMeasurementResultData::GetCSVExport()
{
    QStringList lines = GetScanDataAsCSV();
    lines.prepend(GetSessionDataAsCSV());
    return lines;
}

} // namespace LumoraMeasurement

#include "CChannelTableData.h"

#include "CConverter.h"
#include "CEnumTemplate.h"
#include "CFilterAudioStandard.h"
#include "CFilterAutoTPS.h"
#include "CFilterBandwidth.h"
#include "CFilterChannelProfile.h"
#include "CFilterConstellation.h"
#include "CFilterDTMBFrameHeader.h"
#include "CFilterDTMBModulation.h"
#include "CFilterDVBT2Profile.h"
#include "CFilterEqualizer.h"
#include "CFilterGroupDelay.h"
#include "CFilterISDBTLayer.h"
#include "CFilterRollOffFactor.h"
#include "CFilterSidebandPosition.h"
#include "CFilterTestLineField.h"
#include "CFilterTestLineType.h"
#include "CLoggingCategories.h"
#include "CUtilJson.h"
#include "CValueFactory.h"
#include "EFECMode.h"
#include "EOnOff.h"
#include "EPhaseTrack.h"
#include "ERefLevelMode.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>
#include <utility>

namespace LumoraMeasurement
{

namespace
{

using EntryList = std::vector<std::pair<long, QString>>;
using RowsFunction = EntryList (*)();
using FilterFunction = std::unique_ptr<CEnumFilter> (*)(ETVStandards);

template <typename E> EntryList RowsOf()
{
    EntryList entries;
    for (const auto& row : CRepresentation<E>::Table())
    {
        entries.emplace_back(row.m_lId, row.m_sText);
    }
    return entries;
}

template <typename F> std::unique_ptr<CEnumFilter> MakeFilter(ETVStandards eStandard)
{
    return std::make_unique<F>(eStandard);
}

// The selection list of each settings item that has one: the enumeration that supplies its
// entries and the filter that restricts them by TV standard (none: every entry is offered).
struct SSelectionList
{
    ESettingsItems m_eItem;
    RowsFunction m_pRows;
    FilterFunction m_pFilter;
};

const SSelectionList c_SelectionLists[] = {
    {eSettingsItem_TVStandard, &RowsOf<ETVStandards>, nullptr},
    {eSettingsItem_ReferenceLevelMode, &RowsOf<ERefLevelMode>, nullptr},
    {eSettingsItem_PreSelector, &RowsOf<EOnOff>, nullptr},
    {eSettingsItem_PreAmplifier, &RowsOf<EOnOff>, nullptr},
    {eSettingsItem_Prefilter, &RowsOf<EOnOff>, nullptr},
    {eSettingsItem_AutoParameterDetection, &RowsOf<EOnOff>, &MakeFilter<CFilterAutoTPS>},
    {eSettingsItem_SidebandPosition, &RowsOf<ESideBandPosition>,
     &MakeFilter<CFilterSidebandPosition>},
    {eSettingsItem_ChannelBandwidth, &RowsOf<EChannelBandwidth>, &MakeFilter<CFilterBandwidth>},
    {eSettingsItem_QAMOrder, &RowsOf<EDigitalConstellation>, &MakeFilter<CFilterConstellation>},
    {eSettingsItem_RollOffFactor, &RowsOf<ERollOffFactor>, &MakeFilter<CFilterRollOffFactor>},
    {eSettingsItem_Equalizer, &RowsOf<EEqualizer>, &MakeFilter<CFilterEqualizer>},
    {eSettingsItem_ISDBTLayer, &RowsOf<EISDBTLayer>, &MakeFilter<CFilterISDBTLayer>},
    {eSettingsItem_DTMBModulation, &RowsOf<EDTMBModulation>, &MakeFilter<CFilterDTMBModulation>},
    {eSettingsItem_DTMBFrameHeader, &RowsOf<EDTMBFrameHeader>, &MakeFilter<CFilterDTMBFrameHeader>},
    {eSettingsItem_DVBT2Profile, &RowsOf<EDVBT2Profiles>, &MakeFilter<CFilterDVBT2Profile>},
    {eSettingsItem_GroupDelay, &RowsOf<EAnalogGroupDelay>, &MakeFilter<CFilterGroupDelay>},
    {eSettingsItem_AudioStandard, &RowsOf<EAnalogSoundSystem>, &MakeFilter<CFilterAudioStandard>},
    {eSettingsItem_TestLineType, &RowsOf<ETestLineType>, &MakeFilter<CFilterTestLineType>},
    {eSettingsItem_TestLineField, &RowsOf<ETestLineField>, &MakeFilter<CFilterTestLineField>},
    {eSettingsItem_QuietLineField, &RowsOf<ETestLineField>, &MakeFilter<CFilterTestLineField>},
    {eSettingsItem_FEC, &RowsOf<EFECMode>, nullptr},
    {eSettingsItem_PhaseTrackLoopBandwidth, &RowsOf<EPhaseTrack>, nullptr},
    {eSettingsItem_Profile, &RowsOf<EChannelProfile>, &MakeFilter<CFilterChannelProfile>},
};

const SSelectionList* FindSelectionList(ESettingsItems eItem)
{
    if (!CValueFactory::SettingsItem_HasSelectionList(eItem))
    {
        return nullptr;
    }
    for (const SSelectionList& list : c_SelectionLists)
    {
        if (list.m_eItem == eItem)
        {
            return &list;
        }
    }
    return nullptr;
}

// Highest line number of an analog standard; for M NTSC it depends on the field of the line.
// eTestLineField_None: the field does not matter.
struct SLineLimit
{
    ETVStandards m_eStandard;
    ETestLineField m_eField;
    long m_lLastLine;
};

constexpr SLineLimit c_LineLimits[] = {
    {eTVStandard_BG_Pal, eTestLineField_None, 625},
    {eTVStandard_BG_Secam, eTestLineField_None, 625},
    {eTVStandard_DK_Pal, eTestLineField_None, 625},
    {eTVStandard_DK_Secam, eTestLineField_None, 625},
    {eTVStandard_I_Pal, eTestLineField_None, 625},
    {eTVStandard_K1_Secam, eTestLineField_None, 625},
    {eTVStandard_N_Pal, eTestLineField_None, 625},
    {eTVStandard_M_Pal, eTestLineField_None, 525},
    {eTVStandard_M_NTSC, eTestLineField_Field1, 263},
    {eTVStandard_M_NTSC, eTestLineField_Field2, 262},
};

void LogChannelFileProblem(const QString& sMessage)
{
    OrvelFramework::CLoggingCategories::DoLog(OrvelFramework::CLoggingCategories::Channels(),
                                              sMessage);
}

// A number cell whose text is not a finite number ("inf" reads back as 0) keeps its default.
bool IsNumberCell(ESettingsItems eItem)
{
    return eItem != eSettingsItem_None && !CValueFactory::SettingsItem_HasSelectionList(eItem) &&
           CValueFactory::SettingsItem_GetItemValueType(eItem) == eValueType_Float;
}

// What older files call the channel name column.
constexpr const char* c_pszOldChannelNameId = "Channel #";

// Row loops count in 16 bits.
long BoundedRowCount(std::size_t nRows)
{
    return static_cast<long>(std::min<std::size_t>(nRows, CChannelTableData::c_lMaxRowCount));
}

/// The first of the rows (up to the bound) that matches, -1 when none does.
template <typename TMatch>
long FindRowWhere(const std::vector<CChannelData>& channels, const TMatch& matches)
{
    const auto first = channels.begin();
    const auto last = first + BoundedRowCount(channels.size());
    const auto found = std::find_if(first, last, matches);
    return found == last ? -1 : static_cast<long>(found - first);
}
} // namespace

CChannelTableData::CChannelTableData() : m_LookupBuffer(eTVStandard_BG_Pal, QString()) {}

bool CChannelTableData::Read(const QString& sPath)
{
    if (sPath.isEmpty())
    {
        return false;
    }
    QJsonObject jRoot;
    return CUtilJson::LoadJsonFile(sPath, jRoot) && DoRead(jRoot, sPath);
}

bool CChannelTableData::ReadData(const QByteArray& bytes, const QString& sName)
{
    QJsonObject jRoot;
    return CUtilJson::LoadJsonData(bytes, sName, jRoot) && DoRead(jRoot, sName);
}

bool CChannelTableData::DoRead(const QJsonObject& jRoot, const QString& sPath)
{
    m_vChannels.clear();

    // Every array element becomes a row, even a broken one: measurements refer to channels by
    // row, so skipping an element would shift every later channel.
    const QJsonArray jChannels = jRoot.value(c_sKeyChannelTableData).toArray();
    for (const QJsonValue& jChannelValue : jChannels)
    {
        if (GetRowCount() >= c_lMaxRowCount)
        {
            break;
        }
        const QJsonObject jChannel = jChannelValue.toObject();
        CChannelData channel(eTVStandard_BG_Pal, QString());
        channel.SetLabel(jChannel.value(c_sKeyChannelName).toString());
        const QJsonArray jItems = jChannel.value(c_sKeyChannelItemData).toArray();
        for (const QJsonValue& jItemValue : jItems)
        {
            const QJsonObject jItem = jItemValue.toObject();
            QString sId = jItem.value(c_sKeyId).toString();
            if (sId == QLatin1String(c_pszOldChannelNameId))
            {
                sId = CValueFactory::SettingsItem_GetItemName(eSettingsItem_ChannelName);
            }
            const ESettingsItems eItem = CValueFactory::SettingsItem_GetEnumValue(sId);
            const QString sValue = jItem.value(c_sKeyValue).toString();
            if (IsNumberCell(eItem) && !CConverter::HasFiniteNumber(sValue))
            {
                LogChannelFileProblem(
                    QStringLiteral("Channel table file \"%1\": the value "
                                   "\"%2\" of %3 in channel %4 is not a finite "
                                   "number; it is not used.\n")
                        .arg(sPath, sValue, sId, QString::number(GetRowCount() + 1)));
                continue;
            }
            channel.SetItemValue(eItem, sValue);
        }
        m_vChannels.push_back(std::move(channel));
    }
    return true;
}

bool CChannelTableData::Write(const QString& sPath) const
{
    QJsonArray jChannels;
    for (long lRow = 0; lRow < GetRowCount(); ++lRow)
    {
        const CChannelData& channel = m_vChannels[static_cast<size_t>(lRow)];
        QJsonArray jItems;
        for (long lPosition = 0; lPosition < channel.GetItemCount(); ++lPosition)
        {
            const CChannelItemData cell = channel.GetItem(lPosition);
            if (IsNumberCell(cell.GetItemEnum()) && !std::isfinite(cell.ToFloat()))
            {
                // Its text ("inf") would read back as another value.
                LogChannelFileProblem(
                    QStringLiteral("Channel table file \"%1\" is not written: %2 of channel %3 "
                                   "is not a finite number.\n")
                        .arg(sPath, CValueFactory::SettingsItem_GetItemName(cell.GetItemEnum()),
                             QString::number(lRow + 1)));
                return false;
            }
            QJsonObject jItem;
            jItem.insert(c_sKeyId, CValueFactory::SettingsItem_GetItemName(cell.GetItemEnum()));
            jItem.insert(c_sKeyValue, cell.ToString());
            jItems.append(jItem);
        }
        QJsonObject jChannel;
        jChannel.insert(c_sKeyChannelName, QStringLiteral("Channel %1").arg(0));
        jChannel.insert(c_sKeyChannelItemData, jItems);
        jChannels.append(jChannel);
    }
    QJsonObject jRoot;
    jRoot.insert(c_sKeyChannelTableData, jChannels);
    return CUtilJson::SaveJsonFile(sPath, jRoot);
}

long CChannelTableData::GetRowCount() const
{
    return static_cast<long>(m_vChannels.size());
}

long CChannelTableData::GetColumnCount() const
{
    return CRepresentation<ESettingsItems>::Table().size();
}

void CChannelTableData::ClearChannels()
{
    m_vChannels.clear();
}

bool CChannelTableData::IsRow(long lRow) const
{
    return lRow >= 0 && lRow < GetRowCount();
}

void CChannelTableData::DoCheckRow(long lRow) const
{
    if (!IsRow(lRow))
    {
        throw std::out_of_range("channel table row " + std::to_string(lRow) +
                                " is outside the table");
    }
}

CChannelData& CChannelTableData::GetChannel(long lRow)
{
    DoCheckRow(lRow);
    return m_vChannels[static_cast<std::size_t>(lRow)];
}

long CChannelTableData::GetChannelIdentifier(long lRow) const
{
    DoCheckRow(lRow);
    return m_vChannels[static_cast<std::size_t>(lRow)].GetIdentifier();
}

long CChannelTableData::DoFindRow(const QString& sName) const
{
    return FindRowWhere(m_vChannels, [&sName](const CChannelData& channel)
                        { return channel.GetItem(eSettingsItem_ChannelName).ToString() == sName; });
}

long CChannelTableData::DoFindRowOfIdentifier(long lIdentifier) const
{
    return FindRowWhere(m_vChannels, [lIdentifier](const CChannelData& channel)
                        { return channel.GetIdentifier() == lIdentifier; });
}

bool CChannelTableData::GetChannelIndex(long lIdentifier, long& lRow) const
{
    const long lFound = DoFindRowOfIdentifier(lIdentifier);
    if (lFound < 0)
    {
        return false;
    }
    lRow = lFound;
    return true;
}

bool CChannelTableData::GetChannelIndex(const QString& sName, long& lRow) const
{
    const long lFound = DoFindRow(sName);
    if (lFound < 0)
    {
        return false;
    }
    lRow = lFound;
    return true;
}

CChannelData& CChannelTableData::GetChannel(const QString& sName)
{
    const long lRow = DoFindRow(sName);
    if (lRow >= 0)
    {
        m_LookupBuffer = m_vChannels[static_cast<std::size_t>(lRow)];
    }
    return m_LookupBuffer;
}

CChannelData& CChannelTableData::GetChannelFromIdentifier(long lIdentifier)
{
    const long lRow = DoFindRowOfIdentifier(lIdentifier);
    if (lRow >= 0)
    {
        m_LookupBuffer = m_vChannels[static_cast<std::size_t>(lRow)];
    }
    return m_LookupBuffer;
}

QStringList CChannelTableData::GetChannelNames() const
{
    QStringList names;
    const long lCount = BoundedRowCount(m_vChannels.size());
    for (long lRow = 0; lRow < lCount; ++lRow)
    {
        names.append(m_vChannels[static_cast<std::size_t>(lRow)]
                         .GetItem(eSettingsItem_ChannelName)
                         .ToString());
    }
    return names;
}

bool CChannelTableData::DoesNameExist(const QString& sName, long lExceptRow) const
{
    const long lCount = BoundedRowCount(m_vChannels.size());
    for (long lRow = 0; lRow < lCount; ++lRow)
    {
        if (lRow != lExceptRow && m_vChannels[static_cast<std::size_t>(lRow)]
                                          .GetItem(eSettingsItem_ChannelName)
                                          .ToString() == sName)
        {
            return true;
        }
    }
    return false;
}

long CChannelTableData::AddChannel(const CChannelData& channel, long lRow)
{
    if (GetRowCount() >= c_lMaxRowCount)
    {
        return -1;
    }
    const long lPosition =
        lRow == c_lAppendRow ? GetRowCount() : std::clamp(lRow, 0L, GetRowCount());
    m_vChannels.insert(m_vChannels.begin() + lPosition, channel);
    const QString sColumn = CValueFactory::SettingsItem_GetItemName(eSettingsItem_ChannelName);
    SetValue(lPosition, sColumn, GetValue(lPosition, sColumn));
    return lPosition;
}

long CChannelTableData::DeleteChannel(long lIdentifier)
{
    const long lRow = DoFindRowOfIdentifier(lIdentifier);
    if (lRow >= 0)
    {
        m_vChannels.erase(m_vChannels.begin() + lRow);
    }
    return lRow;
}

void CChannelTableData::RenameChannel(QString& sName)
{
    static const QRegularExpression c_UnderscoreDigit(QStringLiteral("_\\d"));
    if (!sName.contains(c_UnderscoreDigit))
    {
        sName += QStringLiteral("_%1").arg(0);
        return;
    }
    bool bOk = false;
    qlonglong llNumber = sName.mid(sName.lastIndexOf(QLatin1Char('_')) + 1).toLongLong(&bOk, 10);
    if (!bOk || llNumber == std::numeric_limits<qlonglong>::max())
    {
        llNumber = 0;
    }
    const QString sSuffix = QStringLiteral("_%1").arg(llNumber);
    if (sName.endsWith(sSuffix))
    {
        sName.replace(sSuffix, QStringLiteral("_%1").arg(llNumber + 1));
    }
    else
    {
        sName += sSuffix;
    }
}

ESettingsItems CChannelTableData::GetValueEnumFromIndex(const QString& sChannelName,
                                                        long lColumn) const
{
    const long lRow = DoFindRow(sChannelName);
    if (lRow < 0)
    {
        return eSettingsItem_None;
    }
    return m_vChannels[static_cast<std::size_t>(lRow)].GetItem(lColumn).GetItemEnum();
}

QString CChannelTableData::GetValue(const QString& sChannelName, long lColumn) const
{
    const long lRow = DoFindRow(sChannelName);
    if (lRow < 0)
    {
        return QString();
    }
    return m_vChannels[static_cast<std::size_t>(lRow)].GetItem(lColumn).ToString();
}

bool CChannelTableData::SetValue(const QString& sChannelName, long lColumn, const QString& sValue)
{
    const long lRow = DoFindRow(sChannelName);
    if (lRow < 0)
    {
        return false;
    }
    return m_vChannels[static_cast<std::size_t>(lRow)].SetItemValue(lColumn, sValue);
}

QString CChannelTableData::GetValue(long lRow, const QString& sColumnName) const
{
    if (!IsRow(lRow))
    {
        return QString();
    }
    const ESettingsItems eItem = CValueFactory::SettingsItem_GetEnumValue(sColumnName);
    if (HasComboBox(eItem))
    {
        return GetEnumValue(lRow, eItem);
    }
    QString sValue = m_vChannels[static_cast<std::size_t>(lRow)].GetItem(eItem).ToString();
    if (eItem == eSettingsItem_DVBT2DecodedPLP)
    {
        HandleGetDecodedPLP(sValue);
    }
    return sValue;
}

bool CChannelTableData::SetValue(long lRow, const QString& sColumnName, const QString& sValue)
{
    DoCheckRow(lRow);
    CChannelData& channel = m_vChannels[static_cast<std::size_t>(lRow)];
    const ESettingsItems eItem = CValueFactory::SettingsItem_GetEnumValue(sColumnName);
    QString sText = sValue;
    if (eItem == eSettingsItem_ChannelName)
    {
        while (DoesNameExist(sText, lRow))
        {
            RenameChannel(sText);
        }
        return channel.SetItemValue(eItem, sText);
    }
    if (HasComboBox(eItem))
    {
        return channel.SetItemValue(eItem, GetComboboxIndex(eItem, sText));
    }
    if (eItem == eSettingsItem_DVBT2DecodedPLP)
    {
        HandleSetDecodedPLP(sText);
    }
    else if (eItem == eSettingsItem_TestLineNumber || eItem == eSettingsItem_QuietLineNumber)
    {
        HandleSetLineNumber(lRow, eItem, sText);
    }
    return channel.SetItemValue(eItem, sText);
}

bool CChannelTableData::HasComboBox(ESettingsItems eItem) const
{
    return CValueFactory::SettingsItem_HasSelectionList(eItem);
}

ETVStandards CChannelTableData::GetTvStandard(long lRow) const
{
    if (!IsRow(lRow))
    {
        return eTVStandard_None;
    }
    return m_vChannels[static_cast<std::size_t>(lRow)].GetTvStandard();
}

ECategory CChannelTableData::GetChannelType(long lRow) const
{
    const QString sStandard = CEnumTemplate<ETVStandards>::ToString(GetTvStandard(lRow));
    return sStandard.contains(QLatin1String("analog"), Qt::CaseInsensitive) ? eCategory_Analog
                                                                            : eCategory_Digital;
}

void CChannelTableData::HandleSetLineNumber(long lRow, ESettingsItems eItem, QString& sValue) const
{
    bool bOk = false;
    const long lLine = sValue.toLong(&bOk, 10);
    if (!bOk || !IsRow(lRow))
    {
        return;
    }
    ESettingsItems eFieldItem = eSettingsItem_None;
    if (eItem == eSettingsItem_TestLineNumber)
    {
        eFieldItem = eSettingsItem_TestLineField;
    }
    else if (eItem == eSettingsItem_QuietLineNumber)
    {
        eFieldItem = eSettingsItem_QuietLineField;
    }
    else
    {
        return;
    }
    const CChannelData& channel = m_vChannels[static_cast<std::size_t>(lRow)];
    const ETVStandards eStandard = channel.GetTvStandard();
    const ETestLineField eField =
        CEnumTemplate<ETestLineField>::ToEnum(channel.GetItem(eFieldItem).ToInt());
    for (const SLineLimit& limit : c_LineLimits)
    {
        if (limit.m_eStandard != eStandard ||
            (limit.m_eField != eTestLineField_None && limit.m_eField != eField))
        {
            continue;
        }
        if (lLine > limit.m_lLastLine)
        {
            sValue = QString::number(limit.m_lLastLine);
        }
        else if (lLine <= 0)
        {
            sValue = QStringLiteral("1");
        }
        return;
    }
}

void CChannelTableData::HandleSetDecodedPLP(QString& sValue)
{
    bool bOk = false;
    const long lPlp = sValue.toLong(&bOk, 10);
    if (bOk)
    {
        if (lPlp < 0)
        {
            sValue = QStringLiteral("0");
        }
        else if (lPlp > 255)
        {
            sValue = QStringLiteral("255");
        }
    }
    else if (sValue.compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0 ||
             sValue.compare(QLatin1String("automatic"), Qt::CaseInsensitive) == 0)
    {
        sValue = QStringLiteral("-1"); // automatic PLP selection
    }
    else
    {
        sValue.clear();
    }
}

void CChannelTableData::HandleGetDecodedPLP(QString& sValue)
{
    bool bOk = false;
    if (sValue.toLong(&bOk, 10) == -1 && bOk)
    {
        sValue = QStringLiteral("Automatic");
    }
}

QStringList CChannelTableData::GetComboBox(ESettingsItems eItem, long lRow) const
{
    QStringList texts;
    const SSelectionList* pList = FindSelectionList(eItem);
    if (pList == nullptr || !IsRow(lRow))
    {
        return texts;
    }
    const std::unique_ptr<CEnumFilter> pFilter = pList->m_pFilter != nullptr
                                                     ? pList->m_pFilter(GetTvStandard(lRow))
                                                     : std::make_unique<CEnumFilter>();
    for (const auto& entry : pList->m_pRows())
    {
        if (pFilter->IsUsable(entry.first))
        {
            texts.append(entry.second);
        }
    }
    return texts;
}

QStringList CChannelTableData::GetComboboxValues(ESettingsItems eItem) const
{
    QStringList texts;
    if (const SSelectionList* pList = FindSelectionList(eItem))
    {
        for (const auto& entry : pList->m_pRows())
        {
            texts.append(entry.second);
        }
    }
    return texts;
}

long CChannelTableData::GetComboboxIndex(ESettingsItems eItem, const QString& sText) const
{
    if (const SSelectionList* pList = FindSelectionList(eItem))
    {
        for (const auto& entry : pList->m_pRows())
        {
            if (entry.second == sText)
            {
                return entry.first;
            }
        }
    }
    return -1;
}

QString CChannelTableData::GetEnumValue(long lRow, ESettingsItems eItem) const
{
    const SSelectionList* pList = FindSelectionList(eItem);
    if (pList == nullptr || !IsRow(lRow))
    {
        return QString();
    }
    const long lId = m_vChannels[static_cast<std::size_t>(lRow)].GetItem(eItem).ToInt();
    for (const auto& entry : pList->m_pRows())
    {
        if (entry.first == lId)
        {
            return entry.second;
        }
    }
    return QString();
}

} // namespace LumoraMeasurement

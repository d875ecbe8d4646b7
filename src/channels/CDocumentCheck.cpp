#include "CDocumentCheck.h"

#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CComparativeValueDataItem.h"
#include "CComparativeValueItem.h"
#include "CConverter.h"
#include "CDeviceSettingsData.h"
#include "CDeviceSettingsItem.h"
#include "CEnumTemplate.h"
#include "CMeasConfigData.h"
#include "CMeasurementConfigSettingsItem.h"
#include "CStringUtil.h"
#include "CUtilJson.h"
#include "CValueFactory.h"
#include "EAverageCount.h"
#include "ECompareType.h"
#include "EInstrumentImpedance.h"
#include "EInstrumentReference.h"
#include "EMeasurementErrorStrategie.h"
#include "EMeasurementItems.h"
#include "ERestorationDeviceSettings.h"
#include "ESettingsItems.h"
#include "EYesNo.h"

#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <QRegularExpression>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

using OrvelFramework::CComparativeValueItem;
using OrvelFramework::CDeviceSettingsItem;

namespace LumoraMeasurement
{

namespace
{

// Where each value of a document that parsed begins, by JSON path ("A[2].B").
class CJsonPositions
{
public:
    explicit CJsonPositions(const QByteArray& bytes) : m_Bytes(bytes)
    {
        int i = 0;
        DoSkipBlanks(i);
        DoValue(i, QString());
    }

    /// The offset of the path's value, or of the nearest enclosing value that has one.
    int Find(QString sPath) const
    {
        for (;;)
        {
            const auto it = m_Offsets.constFind(sPath);
            if (it != m_Offsets.constEnd())
            {
                return it.value();
            }
            const int iCut =
                std::max(sPath.lastIndexOf(QLatin1Char('.')), sPath.lastIndexOf(QLatin1Char('[')));
            if (sPath.isEmpty())
            {
                return 0;
            }
            sPath = iCut < 0 ? QString() : sPath.left(iCut);
        }
    }

private:
    // The byte at i; the end reads as the terminating NUL, which no JSON token starts with.
    char At(int i) const { return i < m_Bytes.size() ? m_Bytes.constData()[i] : '\0'; }
    bool DoAt(int i, char c) const { return At(i) == c; }

    void DoSkipBlanks(int& i) const
    {
        while (At(i) == ' ' || At(i) == '\t' || At(i) == '\n' || At(i) == '\r')
        {
            ++i;
        }
    }

    // A string starting at i (on its quote); i ends behind the closing quote.
    QString DoString(int& i) const
    {
        const int iStart = ++i;
        bool bEscaped = false;
        while (i < m_Bytes.size() && At(i) != '"')
        {
            bEscaped = bEscaped || At(i) == '\\';
            i += At(i) == '\\' ? 2 : 1;
        }
        const QByteArray raw = m_Bytes.mid(iStart, i - iStart);
        ++i;
        if (!bEscaped)
        {
            return QString::fromUtf8(raw);
        }
        return QJsonDocument::fromJson("[\"" + raw + "\"]").array().at(0).toString();
    }

    void DoValue(int& i, const QString& sPath)
    {
        if (!m_Offsets.contains(sPath))
        {
            m_Offsets.insert(sPath, i);
        }
        if (DoAt(i, '{'))
        {
            ++i;
            for (DoSkipBlanks(i); i < m_Bytes.size() && !DoAt(i, '}'); DoSkipBlanks(i))
            {
                if (DoAt(i, ','))
                {
                    ++i;
                    continue;
                }
                if (!DoAt(i, '"'))
                {
                    return; // not reached for a document that parsed
                }
                const QString sKey = DoString(i);
                DoSkipBlanks(i);
                if (DoAt(i, ':'))
                {
                    ++i;
                }
                DoSkipBlanks(i);
                DoValue(i, sPath.isEmpty() ? sKey : sPath + QLatin1Char('.') + sKey);
            }
            ++i;
        }
        else if (DoAt(i, '['))
        {
            ++i;
            int iIndex = 0;
            for (DoSkipBlanks(i); i < m_Bytes.size() && !DoAt(i, ']'); DoSkipBlanks(i))
            {
                if (DoAt(i, ','))
                {
                    ++i;
                    continue;
                }
                DoValue(i, sPath + QStringLiteral("[%1]").arg(iIndex++));
            }
            ++i;
        }
        else if (DoAt(i, '"'))
        {
            DoString(i);
        }
        else
        {
            while (i < m_Bytes.size() && !DoAt(i, ',') && !DoAt(i, ']') && !DoAt(i, '}') &&
                   At(i) != ' ' && At(i) != '\n' && At(i) != '\r' && At(i) != '\t')
            {
                ++i;
            }
        }
    }

    const QByteArray& m_Bytes;
    QHash<QString, int> m_Offsets;
};

// One document being checked.
class CCheck
{
public:
    CCheck(const QString& sFile, QVector<SDocumentFinding>& lFindings)
        : m_sFile(sFile), m_lFindings(lFindings), m_iFirst(lFindings.size())
    {
    }

    /// False (with a finding) when the file is not a JSON object.
    bool Load()
    {
        QString sReason;
        int iLine = 0;
        int iColumn = 0;
        if (!CUtilJson::ParseJsonFile(m_sFile, m_Bytes, m_jRoot, sReason, iLine, iColumn))
        {
            DoAppend(QString(), iLine > 0 ? iLine : 1, iColumn > 0 ? iColumn : 1,
                     sReason.left(1).toUpper() + sReason.mid(1));
            return false;
        }
        m_pPositions = std::make_unique<CJsonPositions>(m_Bytes);
        return true;
    }

    const QJsonObject& Root() const { return m_jRoot; }
    const QString& File() const { return m_sFile; }
    bool FoundNothing() const { return m_lFindings.size() == m_iFirst; }
    QVector<SDocumentFinding>& Findings() { return m_lFindings; }

    void Add(const QString& sPath, const QString& sMessage)
    {
        int iLine = 1;
        int iColumn = 1;
        if (m_pPositions)
        {
            CUtilJson::LineAndColumn(m_Bytes, m_pPositions->Find(sPath), iLine, iColumn);
        }
        DoAppend(sPath, iLine, iColumn,
                 sPath.isEmpty() ? sMessage.left(1).toUpper() + sMessage.mid(1)
                                 : sPath + ": " + sMessage);
    }

    /// The member under the top-level key as an array; a finding when it is not one.
    QJsonArray TopArray(const QString& sKey)
    {
        const QJsonValue jValue = m_jRoot.value(sKey);
        if (!jValue.isArray())
        {
            Add(jValue.isUndefined() ? QString() : sKey,
                jValue.isUndefined() ? QStringLiteral("the document has no \"%1\" list; the reader "
                                                      "finds nothing in it")
                                           .arg(sKey)
                                     : QStringLiteral("%1 where a list belongs; the reader finds "
                                                      "nothing in it")
                                           .arg(TypeName(jValue)));
        }
        return jValue.toArray();
    }

    /// The element as an object; a finding when it is not one.
    QJsonObject Element(const QJsonValue& jValue, const QString& sPath)
    {
        if (!jValue.isObject())
        {
            Add(sPath, QStringLiteral("%1 where an object belongs; the reader takes it as an "
                                      "empty entry")
                           .arg(TypeName(jValue)));
        }
        return jValue.toObject();
    }

    /// The member as text; a finding when it is present but not text.
    QString Text(const QJsonObject& jObject, const QString& sKey, const QString& sPath,
                 bool bRequired, const QString& sTaken = QStringLiteral("empty text"))
    {
        const QJsonValue jValue = jObject.value(sKey);
        const QString sField = sPath + QLatin1Char('.') + sKey;
        if (jValue.isUndefined())
        {
            if (bRequired)
            {
                Add(sPath, QStringLiteral("\"%1\" is missing; the reader takes it as empty text")
                               .arg(sKey));
            }
        }
        else if (!jValue.isString())
        {
            Add(sField, QStringLiteral("%1 where a text belongs; the reader takes it as %2")
                            .arg(TypeName(jValue), sTaken));
        }
        return jValue.toString();
    }

    static QString TypeName(const QJsonValue& jValue)
    {
        switch (jValue.type())
        {
        case QJsonValue::Null:
            return QStringLiteral("null");
        case QJsonValue::Bool:
            return QStringLiteral("a true/false value");
        case QJsonValue::Double:
            return QStringLiteral("a number");
        case QJsonValue::String:
            return QStringLiteral("a text");
        case QJsonValue::Array:
            return QStringLiteral("a list");
        case QJsonValue::Object:
            return QStringLiteral("an object");
        default:
            return QStringLiteral("nothing");
        }
    }

private:
    void DoAppend(const QString& sPath, int iLine, int iColumn, const QString& sMessage)
    {
        SDocumentFinding finding;
        finding.m_sFile = m_sFile;
        finding.m_iLine = iLine;
        finding.m_iColumn = iColumn;
        finding.m_sJsonPath = sPath;
        finding.m_sMessage = sMessage;
        m_lFindings.append(finding);
    }

    QString m_sFile;
    QVector<SDocumentFinding>& m_lFindings;
    int m_iFirst;
    QByteArray m_Bytes;
    QJsonObject m_jRoot;
    std::unique_ptr<CJsonPositions> m_pPositions;
};

QString Quoted(const QString& sText)
{
    constexpr int c_iShown = 64;
    return QLatin1Char('"') +
           (sText.size() > c_iShown ? sText.left(c_iShown) + QStringLiteral("...") : sText) +
           QLatin1Char('"');
}

template <typename E> bool IsKnownId(long lId)
{
    for (const auto& row : CRepresentation<E>::Table())
    {
        if (row.m_lId == lId)
        {
            return true;
        }
    }
    return false;
}

template <typename E> QString KnownIds()
{
    QStringList lIds;
    for (const auto& row : CRepresentation<E>::Table())
    {
        lIds << QStringLiteral("%1 (%2)").arg(row.m_lId).arg(row.m_sText);
    }
    return lIds.join(QStringLiteral(", "));
}

// A value text of a number item: its number must be finite and its unit one that the
// conversions take into the item's unit. Returns the value in that unit when usable.
bool CheckNumberText(CCheck& check, const QString& sPath, const QString& sShown,
                     const QString& sText, EUnitTypes eUnit, bool bSinglePrecision, double& dValue)
{
    QString sNumber = sText;
    sNumber.replace(QLatin1Char(','), QLatin1Char('.'));
    const QString sUnitText = CConverter::GetUnitString(eUnit);
    if (!sNumber.contains(QRegularExpression(QStringLiteral("[0-9]"))))
    {
        check.Add(sPath, QStringLiteral("%1 holds no number; the reader takes it as 0 %2")
                             .arg(Quoted(sShown), sUnitText)
                             .trimmed());
        return false;
    }
    if (!CConverter::HasFiniteNumber(sText))
    {
        check.Add(sPath, QStringLiteral("%1 is not a finite number; the reader does not use it")
                             .arg(Quoted(sShown)));
        return false;
    }
    EUnitTypes eGiven = eUnitType_None;
    if (!CConverter::UnitIsValid(sNumber, eGiven))
    {
        check.Add(sPath, QStringLiteral("the unit of %1 is not recognised; the reader takes the "
                                        "value as 0 %2")
                             .arg(Quoted(sShown), sUnitText)
                             .trimmed());
        return false;
    }
    if (eGiven != eUnitType_None && eUnit != eUnitType_None &&
        !CConverter::CanConvert(eGiven, eUnit, 0))
    {
        // The number goes in first: it cannot hold a '%', the quoted text may.
        check.Add(sPath, QStringLiteral("%2 is in %3, which cannot be converted to %4; the reader "
                                        "takes the number as %1 %4")
                             .arg(CConverter::getORVELFloat(sNumber))
                             .arg(Quoted(sShown), CConverter::GetUnitString(eGiven), sUnitText));
        return false;
    }
    dValue = CConverter::ConvertValue(sText, eUnit);
    if (!std::isfinite(dValue) ||
        (bSinglePrecision && std::fabs(dValue) > std::numeric_limits<float>::max()))
    {
        check.Add(sPath, QStringLiteral("%1 is beyond the range of a limit; the reader does not "
                                        "use it")
                             .arg(Quoted(sShown)));
        return false;
    }
    return true;
}

// A JSON number as a 32-bit id; -1 (no id) for one that is not whole or beyond the range.
long WholeOrMinusOne(double dValue)
{
    return dValue == std::floor(dValue) && std::fabs(dValue) < 2147483648.0
               ? static_cast<long>(dValue)
               : -1;
}

bool IsWholeNumberText(const QString& sText, long& lValue)
{
    bool bOk = false;
    lValue = sText.trimmed().toLong(&bOk, 10);
    return bOk;
}

// Name/value lists: the known names and what their values must be.
enum class EValueKind
{
    Text,
    Unsigned,
    Count,
    EnumId,
    File
};

struct SNamedSetting
{
    const QString* m_pName;
    EValueKind m_eKind;
    bool (*m_pfnIsKnownId)(long);
    QString (*m_pfnKnownIds)();
};

const SNamedSetting c_DeviceSettings[] = {
    {&c_sJsonVisaResource, EValueKind::Text, nullptr, nullptr},
    {&c_sJsonDatabaseName, EValueKind::Text, nullptr, nullptr},
    {&c_sJsonDatabaseUser, EValueKind::Text, nullptr, nullptr},
    {&c_sJsonDatabasePwd, EValueKind::Text, nullptr, nullptr},
    {&c_sJsonRepeatTime, EValueKind::Unsigned, nullptr, nullptr},
    {&c_sJsonDurationTime, EValueKind::Unsigned, nullptr, nullptr},
    {&c_sJsonErrorStrategie, EValueKind::EnumId, &IsKnownId<EMeasurementErrorStrategie>,
     &KnownIds<EMeasurementErrorStrategie>},
    {&c_sJsonTransducerFile, EValueKind::Text, nullptr, nullptr},
    {&c_sJsonImpedance, EValueKind::EnumId, &IsKnownId<EInstrumentImpedance>,
     &KnownIds<EInstrumentImpedance>},
    {&c_sJsonInternalReference, EValueKind::EnumId, &IsKnownId<EInstrumentReference>,
     &KnownIds<EInstrumentReference>},
    {&c_sJsonAnalogTvAverageCount, EValueKind::EnumId, &IsKnownId<EAverageCount>,
     &KnownIds<EAverageCount>},
    {&c_sJsonBERCount, EValueKind::Count, nullptr, nullptr},
    {&c_sJsonPERSERCount, EValueKind::Count, nullptr, nullptr},
    {&c_sJsonRestoreDevice, EValueKind::EnumId, &IsKnownId<ERestorationDeviceSettings>,
     &KnownIds<ERestorationDeviceSettings>},
    {&c_sJsonResetDevice, EValueKind::EnumId, &IsKnownId<EYesNo>, &KnownIds<EYesNo>},
};

const SNamedSetting c_ConfigurationSettings[] = {
    {&c_sJsonDeviceSettingFile, EValueKind::File, nullptr, nullptr},
    {&c_sJsonComparativeValuesFile, EValueKind::File, nullptr, nullptr},
    {&c_sJsonChannelTableFile, EValueKind::File, nullptr, nullptr},
    {&c_sJsonUniqueIdentifier, EValueKind::Text, nullptr, nullptr},
    {&c_sJsonDescription, EValueKind::Text, nullptr, nullptr},
    {&c_sJsonLimitsettingsTimestamp, EValueKind::Text, nullptr, nullptr},
    {&c_sJsonDevicesettingsTimestamp, EValueKind::Text, nullptr, nullptr},
    {&c_sJsonChannelsettingsTimestamp, EValueKind::Text, nullptr, nullptr},
};

template <size_t N>
const SNamedSetting* FindSetting(const SNamedSetting (&table)[N], const QString& sName)
{
    for (const SNamedSetting& row : table)
    {
        if (*row.m_pName == sName)
        {
            return &row;
        }
    }
    return nullptr;
}

// Checks a name/value list; hands each File value to pfnFile.
template <size_t N>
void CheckNamedSettings(
    CCheck& check, const QString& sKey, const SNamedSetting (&table)[N],
    const std::function<void(const QString&, const QString&, const QString&)>& pfnFile)
{
    const QJsonArray jList = check.TopArray(sKey);
    for (int i = 0; i < jList.size(); ++i)
    {
        const QString sPath = sKey + QLatin1Char('[') + QString::number(i) + QLatin1Char(']');
        const QJsonObject jItem = check.Element(jList.at(i), sPath);
        if (!jList.at(i).isObject())
        {
            continue;
        }
        const QString sName = check.Text(jItem, CDeviceSettingsItem::c_sKeyName, sPath, true);
        const QString sValue = check.Text(jItem, CDeviceSettingsItem::c_sKeyValue, sPath, true);
        const QString sValuePath = sPath + QLatin1Char('.') + CDeviceSettingsItem::c_sKeyValue;
        const SNamedSetting* pSetting = FindSetting(table, sName);
        if (pSetting == nullptr)
        {
            check.Add(sPath + QLatin1Char('.') + CDeviceSettingsItem::c_sKeyName,
                      QStringLiteral("%1 is no setting the library knows; the reader keeps it "
                                     "but nothing uses it")
                          .arg(Quoted(sName)));
            continue;
        }
        if (!jItem.value(CDeviceSettingsItem::c_sKeyValue).isString())
        {
            continue; // told above
        }
        long lValue = 0;
        switch (pSetting->m_eKind)
        {
        case EValueKind::Text:
            break;
        case EValueKind::Unsigned:
        {
            bool bOk = false;
            sValue.toULong(&bOk, 10);
            if (!bOk)
            {
                check.Add(sValuePath, QStringLiteral("%1 is not a whole number of 0 or more; the "
                                                     "reader takes it as 0")
                                          .arg(Quoted(sValue)));
            }
            break;
        }
        case EValueKind::Count:
        {
            bool bOk = false;
            sValue.toUShort(&bOk, 10);
            if (!bOk)
            {
                check.Add(sValuePath, QStringLiteral("%1 is not a whole number from 0 to 65535; "
                                                     "the reader takes it as 0")
                                          .arg(Quoted(sValue)));
            }
            break;
        }
        case EValueKind::EnumId:
            if (!IsWholeNumberText(sValue, lValue))
            {
                check.Add(sValuePath, QStringLiteral("%1 is text where the number of a choice "
                                                     "belongs (known: %2)")
                                          .arg(Quoted(sValue), pSetting->m_pfnKnownIds()));
            }
            else if (!pSetting->m_pfnIsKnownId(lValue))
            {
                check.Add(sValuePath, QStringLiteral("%1 is no known id of %2 (known: %3); the "
                                                     "reader takes it as no choice at all")
                                          .arg(lValue)
                                          .arg(sName, pSetting->m_pfnKnownIds()));
            }
            break;
        case EValueKind::File:
            pfnFile(sValuePath, sName, sValue);
            break;
        }
    }
}

void DoCheckDeviceSettings(CCheck& check)
{
    CheckNamedSettings(check, CDeviceSettingsData::c_sKeyDeviceSettings, c_DeviceSettings,
                       [](const QString&, const QString&, const QString&) {});
}

// The limit texts of one record, read as the reader reads them.
void CheckLimitValues(CCheck& check, const QString& sPath, EMeasurementItems eItem,
                      ECompareType eCompare, const QJsonObject& jRecord)
{
    const CComparativeValueDataItem prototype(eItem);
    const QString sLow = check.Text(jRecord, CComparativeValueItem::c_sKeyLowValue, sPath, false);
    const QString sHigh = check.Text(jRecord, CComparativeValueItem::c_sKeyHighValue, sPath, false);
    const QString sLowPath = sPath + QLatin1Char('.') + CComparativeValueItem::c_sKeyLowValue;
    const QString sHighPath = sPath + QLatin1Char('.') + CComparativeValueItem::c_sKeyHighValue;
    const bool bLowGiven = jRecord.value(CComparativeValueItem::c_sKeyLowValue).isString();
    const bool bHighGiven = jRecord.value(CComparativeValueItem::c_sKeyHighValue).isString();
    switch (prototype.GetValueType())
    {
    case eValueType_Float:
    {
        double dLow = 0;
        double dHigh = 0;
        const bool bLow = bLowGiven && CheckNumberText(check, sLowPath, sLow, sLow,
                                                       prototype.GetUnit(), true, dLow);
        const bool bHigh = bHighGiven && CheckNumberText(check, sHighPath, sHigh, sHigh,
                                                         prototype.GetUnit(), true, dHigh);
        if (bLow && bHigh && eCompare == eCompareType_Between &&
            static_cast<float>(dLow) > static_cast<float>(dHigh))
        {
            check.Add(sLowPath, QStringLiteral("the low limit %1 is above the high limit %2: "
                                               "every value fails")
                                    .arg(Quoted(sLow), Quoted(sHigh)));
        }
        break;
    }
    case eValueType_Integer:
    {
        long lLow = 0;
        long lHigh = 0;
        if (prototype.IsStateItem())
        {
            CComparativeValueDataItem state(eItem);
            state.LowValueFromString(sLow);
            if (bLowGiven && state.LowValueToString(eLevelUnit_dBmV, eInstrumentImpedance_50Ohm,
                                                    true, 0.0) != sLow)
            {
                check.Add(sLowPath, QStringLiteral("%1 is no state of %2; the reader takes it as "
                                                   "an unknown state")
                                        .arg(Quoted(sLow),
                                             CEnumTemplate<EMeasurementItems>::ToString(eItem)));
            }
            break;
        }
        const bool bLow = !bLowGiven || IsWholeNumberText(sLow, lLow);
        const bool bHigh = !bHighGiven || IsWholeNumberText(sHigh, lHigh);
        if (!bLow)
        {
            check.Add(sLowPath, QStringLiteral("%1 is not a whole number; the reader takes it as 0")
                                    .arg(Quoted(sLow)));
        }
        if (!bHigh)
        {
            check.Add(sHighPath,
                      QStringLiteral("%1 is not a whole number; the reader takes it as 0")
                          .arg(Quoted(sHigh)));
        }
        if (bLowGiven && bHighGiven && bLow && bHigh && eCompare == eCompareType_Between &&
            lLow > lHigh)
        {
            check.Add(sLowPath, QStringLiteral("the low limit %1 is above the high limit %2: "
                                               "every value fails")
                                    .arg(Quoted(sLow), Quoted(sHigh)));
        }
        break;
    }
    default:
        break;
    }
}

void DoCheckLimitTable(CCheck& check)
{
    const QString& sKey = CComparativeValueData::c_sKeyComparativeValues;
    const QJsonArray jList = check.TopArray(sKey);
    const CComparativeValueData table;
    // What the library writes for an item without a stored id.
    constexpr double c_dNoId = 4294967295.0;
    for (int i = 0; i < jList.size(); ++i)
    {
        const QString sPath = sKey + QLatin1Char('[') + QString::number(i) + QLatin1Char(']');
        const QJsonObject jRecord = check.Element(jList.at(i), sPath);
        if (!jList.at(i).isObject())
        {
            continue;
        }
        const QJsonValue jId = jRecord.value(CComparativeValueItem::c_sKeyID);
        const QString sIdPath = sPath + QLatin1Char('.') + CComparativeValueItem::c_sKeyID;
        if (!jId.isDouble())
        {
            check.Add(jId.isUndefined() ? sPath : sIdPath,
                      jId.isUndefined()
                          ? QStringLiteral("\"ID\" is missing; the reader skips the record")
                          : QStringLiteral("%1 where the number of a measurement item belongs; "
                                           "the reader skips the record")
                                .arg(CCheck::TypeName(jId)));
            continue;
        }
        const double dId = jId.toDouble();
        if (dId == c_dNoId)
        {
            continue;
        }
        const long lId = WholeOrMinusOne(dId);
        const EMeasurementItems eItem = CEnumTemplate<EMeasurementItems>::ToEnum(lId);
        if (lId < 0 || table.GetIndexFromEnum(eItem) < 0)
        {
            check.Add(sIdPath, QStringLiteral("%1 is no measurement item that has limits; the "
                                              "reader skips the record")
                                   .arg(jId.toVariant().toString()));
            continue;
        }
        const QJsonValue jCompare = jRecord.value(CComparativeValueItem::c_sKeyCompareType);
        const QString sComparePath =
            sPath + QLatin1Char('.') + CComparativeValueItem::c_sKeyCompareType;
        ECompareType eCompare = eCompareType_None;
        if (!jCompare.isDouble())
        {
            const QString sNotUsed = CEnumTemplate<ECompareType>::ToString(eCompareType_NotUsed);
            check.Add(jCompare.isUndefined() ? sPath : sComparePath,
                      jCompare.isUndefined()
                          ? QStringLiteral("\"CompareType\" is missing; the reader takes it as "
                                           "0, %1")
                                .arg(sNotUsed)
                          : QStringLiteral("%1 where the number of a compare type belongs; the "
                                           "reader takes it as 0, %2")
                                .arg(CCheck::TypeName(jCompare), sNotUsed));
        }
        else if (!IsKnownId<ECompareType>(WholeOrMinusOne(jCompare.toDouble())))
        {
            check.Add(sComparePath,
                      QStringLiteral("%1 is no compare type (known: %2); the "
                                     "reader lets every value pass")
                          .arg(jCompare.toVariant().toString(), KnownIds<ECompareType>()));
        }
        else
        {
            eCompare = CEnumTemplate<ECompareType>::ToEnum(WholeOrMinusOne(jCompare.toDouble()));
        }
        const QJsonValue jEnabled = jRecord.value(CComparativeValueItem::c_sKeyMeasurementEnabled);
        if (!jEnabled.isUndefined() && !jEnabled.isNull() && !jEnabled.isBool())
        {
            check.Add(sPath + QLatin1Char('.') + CComparativeValueItem::c_sKeyMeasurementEnabled,
                      QStringLiteral("%1 where true or false belongs; the reader takes it as "
                                     "false")
                          .arg(CCheck::TypeName(jEnabled)));
        }
        CheckLimitValues(check, sPath, eItem, eCompare, jRecord);
    }
}

void CheckChannelCell(CCheck& check, const CChannelTableData& table, const QString& sPath,
                      ESettingsItems eItem, const QString& sValue)
{
    const QString sName = CValueFactory::SettingsItem_GetItemName(eItem);
    if (CValueFactory::SettingsItem_HasSelectionList(eItem))
    {
        const auto entryOfId = [&](long lWanted)
        {
            for (const QString& sEntry : table.GetComboboxValues(eItem))
            {
                if (table.GetComboboxIndex(eItem, sEntry) == lWanted)
                {
                    return sEntry;
                }
            }
            return QString();
        };
        long lId = 0;
        if (!IsWholeNumberText(sValue, lId))
        {
            check.Add(sPath, QStringLiteral("%1 is text where the number of a %2 entry belongs; "
                                            "the reader takes it as 0 (%3)")
                                 .arg(Quoted(sValue), sName, entryOfId(0)));
        }
        else if (entryOfId(lId).isEmpty())
        {
            check.Add(sPath, QStringLiteral("%1 is no known id of %2; the reader keeps a setting "
                                            "nothing understands")
                                 .arg(lId)
                                 .arg(sName));
        }
        return;
    }
    double dValue = 0;
    switch (CValueFactory::SettingsItem_GetItemValueType(eItem))
    {
    case eValueType_Integer:
    {
        long lValue = 0;
        if (!IsWholeNumberText(sValue, lValue))
        {
            check.Add(sPath, QStringLiteral("%1 is not a whole number; the reader takes it as 0")
                                 .arg(Quoted(sValue)));
        }
        break;
    }
    case eValueType_Float:
    {
        QString sText = sValue;
        EUnitTypes eUnit = CValueFactory::SettingsItem_GetItemUnit(eItem);
        if (eItem == eSettingsItem_SymbolRate && CConverter::GetUnit(sText).isEmpty())
        {
            // A bare number is a rate in mega-symbols per second.
            sText += CConverter::GetUnitString(eUnitType_MSymbolPerSec);
        }
        CheckNumberText(check, sPath, sValue, sText, eUnit, false, dValue);
        break;
    }
    default:
        break;
    }
}

void DoCheckChannelTable(CCheck& check)
{
    const QString& sKey = CChannelTableData::c_sKeyChannelTableData;
    const QJsonArray jChannels = check.TopArray(sKey);
    const CChannelTableData table;
    for (int c = 0; c < jChannels.size(); ++c)
    {
        const QString sPath = sKey + QLatin1Char('[') + QString::number(c) + QLatin1Char(']');
        const QJsonObject jChannel = check.Element(jChannels.at(c), sPath);
        if (!jChannels.at(c).isObject())
        {
            continue;
        }
        check.Text(jChannel, CChannelTableData::c_sKeyChannelName, sPath, false);
        const QJsonValue jItems = jChannel.value(CChannelTableData::c_sKeyChannelItemData);
        if (!jItems.isArray())
        {
            check.Add(jItems.isUndefined()
                          ? sPath
                          : sPath + QLatin1Char('.') + CChannelTableData::c_sKeyChannelItemData,
                      QStringLiteral("the channel has no \"%1\" list; it reads with default "
                                     "settings")
                          .arg(CChannelTableData::c_sKeyChannelItemData));
            continue;
        }
        const QJsonArray jList = jItems.toArray();
        for (int i = 0; i < jList.size(); ++i)
        {
            const QString sItemPath = sPath + QLatin1Char('.') +
                                      CChannelTableData::c_sKeyChannelItemData + QLatin1Char('[') +
                                      QString::number(i) + QLatin1Char(']');
            const QJsonObject jItem = check.Element(jList.at(i), sItemPath);
            if (!jList.at(i).isObject())
            {
                continue;
            }
            QString sId = check.Text(jItem, CChannelTableData::c_sKeyId, sItemPath, true);
            const ESettingsItems eNamed = CValueFactory::SettingsItem_GetEnumValue(sId);
            const EUnitTypes eUnit = CValueFactory::SettingsItem_GetItemUnit(eNamed);
            const bool bNumber =
                eNamed != eSettingsItem_None &&
                (CValueFactory::SettingsItem_HasSelectionList(eNamed) ||
                 CValueFactory::SettingsItem_GetItemValueType(eNamed) != eValueType_Text);
            const QString sValue =
                check.Text(jItem, CChannelTableData::c_sKeyValue, sItemPath, true,
                           bNumber ? QStringLiteral("empty text, that is 0 %1")
                                         .arg(CConverter::GetUnitString(eUnit))
                                         .trimmed()
                                   : QStringLiteral("empty text"));
            if (sId == QLatin1String("Channel #"))
            {
                sId = CValueFactory::SettingsItem_GetItemName(eSettingsItem_ChannelName);
            }
            const ESettingsItems eItem = CValueFactory::SettingsItem_GetEnumValue(sId);
            if (eItem == eSettingsItem_None)
            {
                check.Add(sItemPath + QLatin1Char('.') + CChannelTableData::c_sKeyId,
                          QStringLiteral("%1 is no channel setting the library knows; the reader "
                                         "ignores the entry")
                              .arg(Quoted(sId)));
                continue;
            }
            if (jItem.value(CChannelTableData::c_sKeyValue).isString())
            {
                CheckChannelCell(check, table,
                                 sItemPath + QLatin1Char('.') + CChannelTableData::c_sKeyValue,
                                 eItem, sValue);
            }
        }
    }
}

enum class EKind
{
    None,
    DeviceSettings,
    LimitTable,
    ChannelTable,
    MeasurementConfiguration
};

bool DoCheckKind(EKind eKind, const QString& sPath, QVector<SDocumentFinding>& lFindings);

void DoCheckConfiguration(CCheck& check)
{
    struct SNamedFile
    {
        const QString* m_pName;
        EKind m_eKind;
    };
    const SNamedFile c_Files[] = {
        {&c_sJsonDeviceSettingFile, EKind::DeviceSettings},
        {&c_sJsonComparativeValuesFile, EKind::LimitTable},
        {&c_sJsonChannelTableFile, EKind::ChannelTable},
    };
    std::vector<std::pair<EKind, QString>> toCheck;
    CheckNamedSettings(
        check, CMeasConfigData::c_sKeyMeasurementConfigSettings, c_ConfigurationSettings,
        [&](const QString& sValuePath, const QString& sName, const QString& sFile)
        {
            EKind eKind = EKind::None;
            for (const SNamedFile& file : c_Files)
            {
                if (*file.m_pName == sName)
                {
                    eKind = file.m_eKind;
                }
            }
            if (sFile.isEmpty())
            {
                check.Add(sValuePath, QStringLiteral("names no file; loading the configuration "
                                                     "fails"));
            }
            else if (!QFileInfo(sFile).isFile())
            {
                check.Add(sValuePath,
                          QStringLiteral("names the file %1, which does not exist; loading the "
                                         "configuration fails")
                              .arg(Quoted(sFile)));
            }
            else
            {
                toCheck.emplace_back(eKind, sFile);
            }
        });
    for (const auto& file : toCheck)
    {
        DoCheckKind(file.first, file.second, check.Findings());
    }
}

bool DoCheckKind(EKind eKind, const QString& sPath, QVector<SDocumentFinding>& lFindings)
{
    CCheck check(sPath, lFindings);
    if (!check.Load())
    {
        return false;
    }
    switch (eKind)
    {
    case EKind::DeviceSettings:
        DoCheckDeviceSettings(check);
        break;
    case EKind::LimitTable:
        DoCheckLimitTable(check);
        break;
    case EKind::ChannelTable:
        DoCheckChannelTable(check);
        break;
    case EKind::MeasurementConfiguration:
        DoCheckConfiguration(check);
        break;
    case EKind::None:
    {
        const struct
        {
            const QString* m_pKey;
            EKind m_eKind;
        } c_TopKeys[] = {
            {&CDeviceSettingsData::c_sKeyDeviceSettings, EKind::DeviceSettings},
            {&CComparativeValueData::c_sKeyComparativeValues, EKind::LimitTable},
            {&CChannelTableData::c_sKeyChannelTableData, EKind::ChannelTable},
            {&CMeasConfigData::c_sKeyMeasurementConfigSettings, EKind::MeasurementConfiguration},
        };
        for (const auto& row : c_TopKeys)
        {
            if (check.Root().contains(*row.m_pKey))
            {
                return DoCheckKind(row.m_eKind, sPath, lFindings);
            }
        }
        if (QFileInfo(sPath).suffix() == QLatin1String("measconfig"))
        {
            return DoCheckKind(EKind::MeasurementConfiguration, sPath, lFindings);
        }
        check.Add(QString(), QStringLiteral("the document is none of device settings, limits, "
                                            "channel table or measurement configuration: it has "
                                            "none of the keys \"DeviceSettings\", "
                                            "\"ComparativeValues\", \"ChannelTableData\" and "
                                            "\"MeasurementConfigSettings\""));
        break;
    }
    }
    return check.FoundNothing();
}

} // namespace

bool CDocumentCheck::CheckFile(const QString& sPath, QVector<SDocumentFinding>& lFindings)
{
    return DoCheckKind(EKind::None, sPath, lFindings);
}

bool CDocumentCheck::CheckDeviceSettings(const QString& sPath, QVector<SDocumentFinding>& lFindings)
{
    return DoCheckKind(EKind::DeviceSettings, sPath, lFindings);
}

bool CDocumentCheck::CheckLimitTable(const QString& sPath, QVector<SDocumentFinding>& lFindings)
{
    return DoCheckKind(EKind::LimitTable, sPath, lFindings);
}

bool CDocumentCheck::CheckChannelTable(const QString& sPath, QVector<SDocumentFinding>& lFindings)
{
    return DoCheckKind(EKind::ChannelTable, sPath, lFindings);
}

bool CDocumentCheck::CheckMeasurementConfiguration(const QString& sPath,
                                                   QVector<SDocumentFinding>& lFindings)
{
    return DoCheckKind(EKind::MeasurementConfiguration, sPath, lFindings);
}

} // namespace LumoraMeasurement

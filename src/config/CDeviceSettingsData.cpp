#include "CDeviceSettingsData.h"

#include "CEnumTemplate.h"
#include "CUtilJson.h"

#include <QJsonArray>
#include <QJsonObject>

using OrvelFramework::CDeviceSettingsItem;

namespace LumoraMeasurement
{

namespace
{

struct SDefaultSetting
{
    const QString* m_psName;
    const char* m_pszValue;
};

CDeviceSettingsItem MakeItem(const QString& sName, const QString& sValue)
{
    CDeviceSettingsItem item;
    item.SetName(sName);
    item.SetValue(sValue);
    return item;
}

} // namespace

CDeviceSettingsData::CDeviceSettingsData()
{
    // The fresh list in file order with the default texts (enumerations as stored ids).
    const SDefaultSetting c_Defaults[] = {
        {&c_sJsonVisaResource, ""},
        {&c_sJsonDatabaseName, ""},
        {&c_sJsonDatabaseUser, ""},
        {&c_sJsonDatabasePwd, ""},
        {&c_sJsonRepeatTime, "0"},
        {&c_sJsonDurationTime, "0"},
        {&c_sJsonErrorStrategie, "0"},
        {&c_sJsonTransducerFile, ""},
        {&c_sJsonImpedance, "0"},
        {&c_sJsonInternalReference, "0"},
        {&c_sJsonAnalogTvAverageCount, "32"},
        {&c_sJsonBERCount, "10"},
        {&c_sJsonPERSERCount, "10"},
        {&c_sJsonRestoreDevice, "0"},
        {&c_sJsonResetDevice, "0"},
    };
    auto& items = m_DeviceSettings.GetDeviceSettingsItem();
    for (const auto& row : c_Defaults)
    {
        items.push_back(MakeItem(*row.m_psName, QString::fromLatin1(row.m_pszValue)));
    }
}

CDeviceSettingsData::CDeviceSettingsData(const CDeviceSettingsData& other)
    : m_DeviceSettings(other.m_DeviceSettings)
{
}

CDeviceSettingsData& CDeviceSettingsData::operator=(const CDeviceSettingsData& other)
{
    m_DeviceSettings = other.m_DeviceSettings;
    return *this;
}

CDeviceSettingsData::~CDeviceSettingsData() = default;

const CDeviceSettingsItem& CDeviceSettingsData::Contains(const QString& sName, bool& bFound) const
{
    for (const auto& item : m_DeviceSettings.GetDeviceSettingsItem())
    {
        if (item.GetName() == sName)
        {
            bFound = true;
            return item;
        }
    }
    bFound = false;
    return m_EmptyItem;
}

CDeviceSettingsItem& CDeviceSettingsData::Contains(const QString& sName, bool& bFound)
{
    for (auto& item : m_DeviceSettings.GetDeviceSettingsItem())
    {
        if (item.GetName() == sName)
        {
            bFound = true;
            return item;
        }
    }
    bFound = false;
    // A caller may have written into the empty item through an earlier answer.
    m_EmptyItem = CDeviceSettingsItem();
    return m_EmptyItem;
}

QString CDeviceSettingsData::DoGetText(const QString& sName) const
{
    bool bFound = false;
    return Contains(sName, bFound).GetValue();
}

bool CDeviceSettingsData::DoSetText(const QString& sName, const QString& sValue)
{
    bool bFound = false;
    CDeviceSettingsItem& item = Contains(sName, bFound);
    if (!bFound || item.GetValue() == sValue)
    {
        return false;
    }
    item.SetValue(sValue);
    return true;
}

bool CDeviceSettingsData::DoSetStoredId(const QString& sName, long lId)
{
    bool bFound = false;
    CDeviceSettingsItem& item = Contains(sName, bFound);
    if (!bFound || item.GetValue().toLong(nullptr, 10) == lId)
    {
        return false;
    }
    item.SetValue(QString::number(lId));
    return true;
}

template <typename E> E CDeviceSettingsData::DoGetEnum(const QString& sName, E eNoRow) const
{
    bool bFound = false;
    const CDeviceSettingsItem& item = Contains(sName, bFound);
    if (!bFound)
    {
        return static_cast<E>(0);
    }
    const long lId = item.GetValue().toLong(nullptr, 10);
    for (const auto& row : CRepresentation<E>::Table())
    {
        if (row.m_lId == lId)
        {
            return row.m_eEnumValue;
        }
    }
    return eNoRow;
}

QString CDeviceSettingsData::VisaResource() const
{
    return DoGetText(c_sJsonVisaResource);
}

QString CDeviceSettingsData::DatabaseName() const
{
    return DoGetText(c_sJsonDatabaseName);
}

QString CDeviceSettingsData::DatabaseUser() const
{
    return DoGetText(c_sJsonDatabaseUser);
}

QString CDeviceSettingsData::DatabasePwd() const
{
    return DoGetText(c_sJsonDatabasePwd);
}

QString CDeviceSettingsData::TransducerFile() const
{
    return DoGetText(c_sJsonTransducerFile);
}

bool CDeviceSettingsData::SetVisaResource(const QString& sValue)
{
    return DoSetText(c_sJsonVisaResource, sValue);
}

bool CDeviceSettingsData::SetDatabaseName(const QString& sValue)
{
    return DoSetText(c_sJsonDatabaseName, sValue);
}

bool CDeviceSettingsData::SetDatabaseUser(const QString& sValue)
{
    return DoSetText(c_sJsonDatabaseUser, sValue);
}

bool CDeviceSettingsData::SetDatabasePwd(const QString& sValue)
{
    return DoSetText(c_sJsonDatabasePwd, sValue);
}

bool CDeviceSettingsData::SetTransducerFile(const QString& sValue)
{
    return DoSetText(c_sJsonTransducerFile, sValue);
}

long CDeviceSettingsData::RepeatScanTime() const
{
    bool bFound = false;
    const CDeviceSettingsItem& item = Contains(c_sJsonRepeatTime, bFound);
    return bFound ? item.GetValue().toLong(nullptr, 10)
                  : static_cast<long>(c_ullFallbackRepeatTime);
}

long CDeviceSettingsData::DurationTime() const
{
    bool bFound = false;
    const CDeviceSettingsItem& item = Contains(c_sJsonDurationTime, bFound);
    return bFound ? item.GetValue().toLong(nullptr, 10)
                  : static_cast<long>(c_ullFallbackDurationTime);
}

unsigned short CDeviceSettingsData::BERCount() const
{
    bool bFound = false;
    const CDeviceSettingsItem& item = Contains(c_sJsonBERCount, bFound);
    return bFound ? item.GetValue().toUShort(nullptr, 10) : c_usFallbackBERCount;
}

unsigned short CDeviceSettingsData::PERSERCOunt() const
{
    bool bFound = false;
    const CDeviceSettingsItem& item = Contains(c_sJsonPERSERCount, bFound);
    return bFound ? item.GetValue().toUShort(nullptr, 10) : c_usFallbackPERSERCount;
}

namespace
{

bool SetUnsigned(CDeviceSettingsItem& item, bool bFound, unsigned long ulValue)
{
    if (!bFound || item.GetValue().toULong(nullptr, 10) == ulValue)
    {
        return false;
    }
    item.SetValue(QString::number(ulValue));
    return true;
}

bool SetShort(CDeviceSettingsItem& item, bool bFound, short sValue)
{
    if (!bFound || item.GetValue().toInt(nullptr, 10) == sValue)
    {
        return false;
    }
    item.SetValue(QString::number(sValue));
    return true;
}

} // namespace

bool CDeviceSettingsData::SetRepeatScanTime(unsigned long ulValue)
{
    bool bFound = false;
    CDeviceSettingsItem& item = Contains(c_sJsonRepeatTime, bFound);
    return SetUnsigned(item, bFound, ulValue);
}

bool CDeviceSettingsData::SetDurationTime(unsigned long ulValue)
{
    bool bFound = false;
    CDeviceSettingsItem& item = Contains(c_sJsonDurationTime, bFound);
    return SetUnsigned(item, bFound, ulValue);
}

bool CDeviceSettingsData::SetBERCount(short sValue)
{
    bool bFound = false;
    CDeviceSettingsItem& item = Contains(c_sJsonBERCount, bFound);
    return SetShort(item, bFound, sValue);
}

bool CDeviceSettingsData::SetPERSERCOunt(short sValue)
{
    bool bFound = false;
    CDeviceSettingsItem& item = Contains(c_sJsonPERSERCount, bFound);
    return SetShort(item, bFound, sValue);
}

EMeasurementErrorStrategie CDeviceSettingsData::ErrorStrategie() const
{
    return DoGetEnum(c_sJsonErrorStrategie, eMeasurementErrorStrategie_None);
}

bool CDeviceSettingsData::SetErrorStrategie(EMeasurementErrorStrategie eValue)
{
    return DoSetStoredId(c_sJsonErrorStrategie,
                         CEnumTemplate<EMeasurementErrorStrategie>::ToId(eValue));
}

bool CDeviceSettingsData::SetErrorStrategie(const QString& sText)
{
    return SetErrorStrategie(CEnumTemplate<EMeasurementErrorStrategie>::TextToEnum(sText));
}

EInstrumentImpedance CDeviceSettingsData::Impedance() const
{
    return DoGetEnum(c_sJsonImpedance, eInstrumentImpedance_None);
}

bool CDeviceSettingsData::SetImpedance(EInstrumentImpedance eValue)
{
    return DoSetStoredId(c_sJsonImpedance, CEnumTemplate<EInstrumentImpedance>::ToId(eValue));
}

bool CDeviceSettingsData::SetImpedance(const QString& sText)
{
    return SetImpedance(CEnumTemplate<EInstrumentImpedance>::TextToEnum(sText));
}

EInstrumentReference CDeviceSettingsData::Internal10MHzReference() const
{
    return DoGetEnum(c_sJsonInternalReference, eInstrumentReference_None);
}

bool CDeviceSettingsData::SetInternal10MHzReference(EInstrumentReference eValue)
{
    return DoSetStoredId(c_sJsonInternalReference,
                         CEnumTemplate<EInstrumentReference>::ToId(eValue));
}

bool CDeviceSettingsData::SetInternal10MHzReference(const QString& sText)
{
    return SetInternal10MHzReference(CEnumTemplate<EInstrumentReference>::TextToEnum(sText));
}

EAverageCount CDeviceSettingsData::AnalogTVAnalysisAvarageCount() const
{
    // Unlike the other choices, an unknown count answers with the first value, not "none".
    return DoGetEnum(c_sJsonAnalogTvAverageCount, eAverageCount_0);
}

bool CDeviceSettingsData::SetAnalogTVAnalysisAvarageCount(EAverageCount eValue)
{
    return DoSetStoredId(c_sJsonAnalogTvAverageCount, CEnumTemplate<EAverageCount>::ToId(eValue));
}

bool CDeviceSettingsData::SetAnalogTVAnalysisAvarageCount(const QString& sText)
{
    return SetAnalogTVAnalysisAvarageCount(CEnumTemplate<EAverageCount>::TextToEnum(sText));
}

ERestorationDeviceSettings CDeviceSettingsData::DoRestoreDeviceSettings() const
{
    return DoGetEnum(c_sJsonRestoreDevice, eRestorationDeviceSettings_None);
}

bool CDeviceSettingsData::SetRestoreDeviceSettings(ERestorationDeviceSettings eValue)
{
    return DoSetStoredId(c_sJsonRestoreDevice,
                         CEnumTemplate<ERestorationDeviceSettings>::ToId(eValue));
}

bool CDeviceSettingsData::SetRestoreDeviceSettings(const QString& sText)
{
    return SetRestoreDeviceSettings(CEnumTemplate<ERestorationDeviceSettings>::TextToEnum(sText));
}

EYesNo CDeviceSettingsData::DoResetDeviceSettings() const
{
    return DoGetEnum(c_sJsonResetDevice, eYesNo_None);
}

bool CDeviceSettingsData::SetResetDeviceSettings(EYesNo eValue)
{
    return DoSetStoredId(c_sJsonResetDevice, CEnumTemplate<EYesNo>::ToId(eValue));
}

bool CDeviceSettingsData::SetResetDeviceSettings(const QString& sText)
{
    return SetResetDeviceSettings(CEnumTemplate<EYesNo>::TextToEnum(sText));
}

bool CDeviceSettingsData::Read(const QString& sFile)
{
    if (sFile.isEmpty())
    {
        return false;
    }
    QJsonObject jObject;
    if (!CUtilJson::LoadJsonFile(sFile, jObject))
    {
        return false;
    }
    m_DeviceSettings.FromJson(jObject[c_sKeyDeviceSettings].toArray());

    // Files of an older generation lack these two; the run needs an answer for both.
    auto& items = m_DeviceSettings.GetDeviceSettingsItem();
    bool bFound = false;
    Contains(c_sJsonRestoreDevice, bFound);
    if (!bFound)
    {
        items.push_back(MakeItem(
            c_sJsonRestoreDevice,
            QString::number(CEnumTemplate<ERestorationDeviceSettings>::ToId(c_eFallbackRestore))));
    }
    Contains(c_sJsonResetDevice, bFound);
    if (!bFound)
    {
        items.push_back(MakeItem(c_sJsonResetDevice,
                                 QString::number(CEnumTemplate<EYesNo>::ToId(c_eFallbackReset))));
    }
    return true;
}

bool CDeviceSettingsData::Write(const QString& sFile) const
{
    QJsonObject jObject;
    jObject.insert(c_sKeyDeviceSettings, m_DeviceSettings.ToJson());
    return CUtilJson::SaveJsonFile(sFile, jObject);
}

} // namespace LumoraMeasurement

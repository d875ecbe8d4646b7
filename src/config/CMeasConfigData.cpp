#include "CMeasConfigData.h"

#include "COSAbstraction.h"
#include "CUtilJson.h"

#include <QJsonArray>
#include <QJsonObject>

using OrvelFramework::CMeasurementConfigSettingsItem;

namespace LumoraMeasurement
{

namespace
{

CMeasurementConfigSettingsItem MakeItem(const QString& sName)
{
    CMeasurementConfigSettingsItem item;
    item.SetName(sName);
    return item;
}

} // namespace

CMeasConfigData::CMeasConfigData()
{
    const QString* const c_Names[] = {
        &c_sJsonDeviceSettingFile,
        &c_sJsonComparativeValuesFile,
        &c_sJsonChannelTableFile,
        &c_sJsonUniqueIdentifier,
        &c_sJsonDescription,
        &c_sJsonLimitsettingsTimestamp,
        &c_sJsonDevicesettingsTimestamp,
        &c_sJsonChannelsettingsTimestamp,
    };
    auto& items = m_MeasurementConfigSettings.GetMeasurementConfigSettingsItem();
    for (const QString* psName : c_Names)
    {
        items.push_back(MakeItem(*psName));
    }
}

CMeasConfigData::~CMeasConfigData() = default;

const CMeasurementConfigSettingsItem& CMeasConfigData::Contains(const QString& sName,
                                                                bool& bFound) const
{
    for (const auto& item : m_MeasurementConfigSettings.GetMeasurementConfigSettingsItem())
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

CMeasurementConfigSettingsItem& CMeasConfigData::Contains(const QString& sName, bool& bFound)
{
    for (auto& item : m_MeasurementConfigSettings.GetMeasurementConfigSettingsItem())
    {
        if (item.GetName() == sName)
        {
            bFound = true;
            return item;
        }
    }
    bFound = false;
    // A caller may have written into the empty item through an earlier answer.
    m_EmptyItem = CMeasurementConfigSettingsItem();
    return m_EmptyItem;
}

QString CMeasConfigData::DoGetText(const QString& sName) const
{
    bool bFound = false;
    return Contains(sName, bFound).GetValue();
}

bool CMeasConfigData::DoSetText(const QString& sName, const QString& sValue)
{
    bool bFound = false;
    CMeasurementConfigSettingsItem& item = Contains(sName, bFound);
    if (!bFound || item.GetValue() == sValue)
    {
        return false;
    }
    item.SetValue(sValue);
    return true;
}

QString CMeasConfigData::DeviceSettingFile() const
{
    return DoGetText(c_sJsonDeviceSettingFile);
}

QString CMeasConfigData::ComparativeValuesFile() const
{
    return DoGetText(c_sJsonComparativeValuesFile);
}

QString CMeasConfigData::ChannelTableFile() const
{
    return DoGetText(c_sJsonChannelTableFile);
}

QString CMeasConfigData::UniqueIdentifier() const
{
    return DoGetText(c_sJsonUniqueIdentifier);
}

QString CMeasConfigData::Description() const
{
    return DoGetText(c_sJsonDescription);
}

QString CMeasConfigData::LimitsettingsTimestamp() const
{
    return DoGetText(c_sJsonLimitsettingsTimestamp);
}

QString CMeasConfigData::DevicesettingsTimestamp() const
{
    return DoGetText(c_sJsonDevicesettingsTimestamp);
}

QString CMeasConfigData::ChannelsettingsTimestamp() const
{
    return DoGetText(c_sJsonChannelsettingsTimestamp);
}

bool CMeasConfigData::SetDeviceSettingFile(const QString& sValue)
{
    return DoSetText(c_sJsonDeviceSettingFile, sValue);
}

bool CMeasConfigData::SetComparativeValuesFile(const QString& sValue)
{
    return DoSetText(c_sJsonComparativeValuesFile, sValue);
}

bool CMeasConfigData::SetChannelTableFile(const QString& sValue)
{
    return DoSetText(c_sJsonChannelTableFile, sValue);
}

bool CMeasConfigData::SetDescription(const QString& sValue)
{
    return DoSetText(c_sJsonDescription, sValue);
}

bool CMeasConfigData::SetTimestampLimitsettings(const QString& sValue)
{
    return DoSetText(c_sJsonLimitsettingsTimestamp, sValue);
}

bool CMeasConfigData::SetTimestampDevicesettings(const QString& sValue)
{
    return DoSetText(c_sJsonDevicesettingsTimestamp, sValue);
}

bool CMeasConfigData::SetTimestampChannelsettings(const QString& sValue)
{
    return DoSetText(c_sJsonChannelsettingsTimestamp, sValue);
}

void CMeasConfigData::CreateUniqueIdentifier()
{
    bool bFound = false;
    CMeasurementConfigSettingsItem& item = Contains(c_sJsonUniqueIdentifier, bFound);
    if (bFound && item.GetValue().isEmpty())
    {
        item.SetValue(OrvelFramework::COSAbstraction::GetUniqueIdentifier());
    }
}

bool CMeasConfigData::Read(const QString& sFile)
{
    QJsonObject jObject;
    if (!CUtilJson::LoadJsonFile(sFile, jObject))
    {
        return false;
    }
    m_MeasurementConfigSettings.FromJson(jObject[c_sKeyMeasurementConfigSettings].toArray());

    // Files written before the time stamps existed get all three; a stamp already present
    // stays first in the list and so keeps answering lookups.
    bool bFound = false;
    Contains(c_sJsonChannelsettingsTimestamp, bFound);
    if (!bFound)
    {
        auto& items = m_MeasurementConfigSettings.GetMeasurementConfigSettingsItem();
        items.push_back(MakeItem(c_sJsonLimitsettingsTimestamp));
        items.push_back(MakeItem(c_sJsonDevicesettingsTimestamp));
        items.push_back(MakeItem(c_sJsonChannelsettingsTimestamp));
    }
    return true;
}

bool CMeasConfigData::Write(const QString& sFile) const
{
    QJsonObject jObject;
    jObject.insert(c_sKeyMeasurementConfigSettings, m_MeasurementConfigSettings.ToJson());
    return CUtilJson::SaveJsonFile(sFile, jObject);
}

} // namespace LumoraMeasurement

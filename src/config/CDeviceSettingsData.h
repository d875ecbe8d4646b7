#pragma once

#include "MainDataAccess_export.h"

#include "CDeviceSettings.h"
#include "EAverageCount.h"
#include "EInstrumentImpedance.h"
#include "EInstrumentReference.h"
#include "EMeasurementErrorStrategie.h"
#include "ERestorationDeviceSettings.h"
#include "EYesNo.h"

#include <QString>

namespace LumoraMeasurement
{

inline const QString c_sJsonVisaResource = QStringLiteral("VisaResource");
inline const QString c_sJsonDatabaseName = QStringLiteral("DatabaseName");
inline const QString c_sJsonDatabaseUser = QStringLiteral("DatabaseUser");
inline const QString c_sJsonDatabasePwd = QStringLiteral("DatabasePwd");
inline const QString c_sJsonRepeatTime = QStringLiteral("RepeatTime");
inline const QString c_sJsonDurationTime = QStringLiteral("DurationTime");
inline const QString c_sJsonErrorStrategie = QStringLiteral("ErrorStrategie");
inline const QString c_sJsonTransducerFile = QStringLiteral("TransducerFile");
inline const QString c_sJsonImpedance = QStringLiteral("Impedance");
inline const QString c_sJsonInternalReference = QStringLiteral("InternalReference");
inline const QString c_sJsonAnalogTvAverageCount = QStringLiteral("AnalogTvAverageCount");
inline const QString c_sJsonBERCount = QStringLiteral("BERCount");
inline const QString c_sJsonPERSERCount = QStringLiteral("PERSERCount");
inline const QString c_sJsonRestoreDevice = QStringLiteral("RestoreDevice");
inline const QString c_sJsonResetDevice = QStringLiteral("ResetDevice");

/// The settings of the measuring receiver and of the measurement run that belong to one
/// measurement configuration, kept as a name/value list of texts. Enumerated settings hold
/// the stored id of their representation row. Typed getters convert on every access and fall
/// back when a setting is missing; setters report whether they changed anything and never add
/// a missing setting.
class MDA_EXPORT CDeviceSettingsData
{
public:
    /// Top-level member of the device settings file.
    static inline const QString c_sKeyDeviceSettings = QStringLiteral("DeviceSettings");

    /// The settings a new device settings file starts with.
    CDeviceSettingsData();
    /// A copy of other's settings.
    CDeviceSettingsData(const CDeviceSettingsData& other);
    /// Takes other's settings.
    CDeviceSettingsData& operator=(const CDeviceSettingsData& other);
    ~CDeviceSettingsData();

    /// The first item named sName exactly; an empty item (bFound false) when there is none.
    const OrvelFramework::CDeviceSettingsItem& Contains(const QString& sName, bool& bFound) const;
    /// As the const Contains(), for changing the item.
    OrvelFramework::CDeviceSettingsItem& Contains(const QString& sName, bool& bFound);

    /// The whole list of settings, as the file holds it.
    const OrvelFramework::CDeviceSettings& GetDeviceSettings() const { return m_DeviceSettings; }

    ///@{
    /// The text of the setting; empty when the list lacks it.
    QString VisaResource() const;
    QString DatabaseName() const;
    QString DatabaseUser() const;
    QString DatabasePwd() const;
    QString TransducerFile() const;
    ///@}
    ///@{
    /// Sets the setting's text; true when it changed, false when the list lacks the setting or
    /// it already held sValue.
    bool SetVisaResource(const QString& sValue);
    bool SetDatabaseName(const QString& sValue);
    bool SetDatabaseUser(const QString& sValue);
    bool SetDatabasePwd(const QString& sValue);
    bool SetTransducerFile(const QString& sValue);
    ///@}

    ///@{
    /// The number of the setting; when the list lacks it, 0 for the times, 10 for the counts.
    long RepeatScanTime() const;
    long DurationTime() const;
    unsigned short BERCount() const;
    unsigned short PERSERCOunt() const;
    ///@}
    ///@{
    /// Sets the number of the setting; true when it changed, false when the list lacks the
    /// setting or it already held the number.
    bool SetRepeatScanTime(unsigned long ulValue);
    bool SetDurationTime(unsigned long ulValue);
    bool SetBERCount(short sValue);
    bool SetPERSERCOunt(short sValue);
    ///@}

    ///@{
    /// The choice of the setting: the enumerator of its stored id, the enumeration's sentinel
    /// for an id without a row, the first enumerator when the list lacks the setting. The
    /// setters take an enumerator or its display text; true when the stored id changed, false
    /// when the list lacks the setting or it already held that id.
    EMeasurementErrorStrategie ErrorStrategie() const;
    bool SetErrorStrategie(EMeasurementErrorStrategie eValue);
    bool SetErrorStrategie(const QString& sText);
    EInstrumentImpedance Impedance() const;
    bool SetImpedance(EInstrumentImpedance eValue);
    bool SetImpedance(const QString& sText);
    EInstrumentReference Internal10MHzReference() const;
    bool SetInternal10MHzReference(EInstrumentReference eValue);
    bool SetInternal10MHzReference(const QString& sText);
    EAverageCount AnalogTVAnalysisAvarageCount() const;
    bool SetAnalogTVAnalysisAvarageCount(EAverageCount eValue);
    bool SetAnalogTVAnalysisAvarageCount(const QString& sText);
    ERestorationDeviceSettings DoRestoreDeviceSettings() const;
    bool SetRestoreDeviceSettings(ERestorationDeviceSettings eValue);
    bool SetRestoreDeviceSettings(const QString& sText);
    EYesNo DoResetDeviceSettings() const;
    bool SetResetDeviceSettings(EYesNo eValue);
    bool SetResetDeviceSettings(const QString& sText);
    ///@}

    /// Replaces the whole list by the file's; only the restore and reset choices are added
    /// when the file lacks them. False for an empty path or a file that cannot be loaded,
    /// which leave the list as it was.
    bool Read(const QString& sFile);
    /// Writes the list as a device settings file; false when the file cannot be written.
    bool Write(const QString& sFile) const;

private:
    // Answers for settings missing from the list; never changed.
    static constexpr unsigned long long c_ullFallbackRepeatTime = 0;
    static constexpr unsigned long long c_ullFallbackDurationTime = 0;
    static constexpr unsigned short c_usFallbackBERCount = 10;
    static constexpr unsigned short c_usFallbackPERSERCount = 10;
    static constexpr ERestorationDeviceSettings c_eFallbackRestore =
        eRestorationDeviceSettings_Keep;
    static constexpr EYesNo c_eFallbackReset = eYesNo_Yes;

    QString DoGetText(const QString& sName) const;
    bool DoSetText(const QString& sName, const QString& sValue);
    bool DoSetStoredId(const QString& sName, long lId);
    template <typename E> E DoGetEnum(const QString& sName, E eNoRow) const;

    OrvelFramework::CDeviceSettingsItem m_EmptyItem;
    OrvelFramework::CDeviceSettings m_DeviceSettings;
};

} // namespace LumoraMeasurement

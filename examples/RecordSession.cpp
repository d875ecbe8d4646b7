// Records one measurement session: writes a small measurement configuration (two channels,
// the default limit table, device settings naming an SQLite file) into a folder, then stores
// two scans of a few measured values per channel. Prints the configuration file and the
// session id, which ReadSession takes.
//
// Usage: example_record_session <folder>

#include "CChannelData.h"
#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CDBMeasurement.h"
#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "CDBSessionControler.h"
#include "CDatabaseMultiInstance.h"
#include "CDatabaseTransaction.h"
#include "CDeviceSettingsData.h"
#include "CEnumTemplate.h"
#include "CMeasConfigData.h"
#include "EMeasurementItemState.h"
#include "EMeasurementItems.h"
#include "EScanState.h"
#include "ESettingsItems.h"
#include "ETVStandards.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

using namespace LumoraMeasurement;
using namespace OrvelFramework;

namespace
{

// What the receiver reported: per scan and channel row, an item and its value text.
struct SReading
{
    long m_lScanId;
    long m_lChannel;
    EMeasurementItems m_eItem;
    const char* m_pszValue;
};

const SReading c_Readings[] = {
    {1, 0, eMeasItem_Power, "12.40 dBmV"},
    {1, 0, eMeasItem_MERRMSdB, "36.20 dB"},
    {1, 1, eMeasItem_Power, "8.75 dBmV"},
    {1, 1, eMeasItem_MERRMSdB, "31.05 dB"},
    {2, 0, eMeasItem_Power, "12.35 dBmV"},
    {2, 0, eMeasItem_MERRMSdB, "35.90 dB"},
    {2, 1, eMeasItem_Power, "8.80 dBmV"},
    {2, 1, eMeasItem_MERRMSdB, "19.50 dB"}, // too low: a limit violation
};

bool WriteConfiguration(const QDir& folder, CMeasConfigData& config)
{
    CChannelTableData channels;
    CChannelData cable(eTVStandard_J83A, QStringLiteral("S21 DVB-C"));
    cable.SetItemValue(eSettingsItem_CenterFrequency, QStringLiteral("306 MHz"));
    cable.SetItemValue(eSettingsItem_SymbolRate, QStringLiteral("6.9 MSymb/s"));
    channels.AddChannel(cable, CChannelTableData::c_lAppendRow);
    CChannelData terrestrial(eTVStandard_DVBT2, QStringLiteral("K34 DVB-T2"));
    terrestrial.SetItemValue(eSettingsItem_CenterFrequency, QStringLiteral("578 MHz"));
    channels.AddChannel(terrestrial, CChannelTableData::c_lAppendRow);

    CComparativeValueData limits; // the default limit table
    CDeviceSettingsData device;
    device.SetDatabaseName(folder.absoluteFilePath(QStringLiteral("measurements.sqlite")));

    config.CreateUniqueIdentifier();
    config.SetDescription(QStringLiteral("Example head-end"));
    config.SetChannelTableFile(folder.absoluteFilePath(QStringLiteral("example.channel")));
    config.SetComparativeValuesFile(folder.absoluteFilePath(QStringLiteral("example.limit")));
    config.SetDeviceSettingFile(folder.absoluteFilePath(QStringLiteral("example.device")));
    return channels.Write(config.ChannelTableFile()) &&
           limits.Write(config.ComparativeValuesFile()) &&
           device.Write(config.DeviceSettingFile()) &&
           config.Write(folder.absoluteFilePath(QStringLiteral("example.measconfig")));
}

// [record]
bool RecordSession(const CMeasConfigData& config, long& lSessionId)
{
    CDeviceSettingsData device;
    if (!device.Read(config.DeviceSettingFile()))
    {
        return false;
    }
    // An SQLite file, or postgresql://host:port/db with the user and password given here.
    CDatabaseMultiInstance db(device.DatabaseName(), device.DatabaseUser(), device.DatabasePwd());
    if (!db.Open())
    {
        std::fprintf(stderr, "%s\n", qPrintable(db.LastError()));
        return false;
    }
    CDBSessionControler sessions(db);
    CDBScanController scans(db);
    CDBMeasurementController measurements(db);

    // The configuration it is measured with, then where, by whom and with what.
    if (!sessions.Create(lSessionId, config.UniqueIdentifier(), config.Description(),
                         config.ChannelTableFile(), config.ComparativeValuesFile(),
                         QStringLiteral("Output 1"),         // test point
                         QStringLiteral("Head-end North"),   // site
                         QStringLiteral("tech@example.org"), // e-mail
                         QStringLiteral("E-1001"),           // E-number
                         QStringLiteral("A. Tech"),          // name
                         QStringLiteral("T-42"),             // T-number
                         QStringLiteral("Receiver"),         // instrument model
                         QStringLiteral("1.0"),              // its firmware
                         QStringLiteral("example"),          // software version
                         QStringLiteral("SN-0001"),          // instrument serial number
                         QStringLiteral("Example Cable")))   // owner
    {
        return false;
    }
    for (long lScanId = 1; lScanId <= 2; ++lScanId) // scan ids are the caller's choice
    {
        if (!scans.Create(lSessionId, lScanId))
        {
            return false;
        }
        CDatabaseTransaction scope(db); // the scan's rows reach the disk in one commit
        for (const SReading& reading : c_Readings)
        {
            if (reading.m_lScanId != lScanId)
            {
                continue;
            }
            long lMeasurementId = 0;
            if (!measurements.Create(lSessionId, lScanId, reading.m_lChannel, lMeasurementId))
            {
                return false;
            }
            CDBMeasurement record(lSessionId, lScanId, reading.m_lChannel, lMeasurementId);
            // Item and state are stored as ids, not as enumerator values.
            record.SetMeasurementItem(CEnumTemplate<EMeasurementItems>::ToId(reading.m_eItem));
            record.SetMeasurementState(
                CEnumTemplate<EMeasurementItemState>::ToId(eMeasurementItemState_Valid));
            record.SetValue(QString::fromUtf8(reading.m_pszValue));
            if (!measurements.Update(record))
            {
                return false;
            }
        }
        const CDBScanData scan(lSessionId, lScanId);
        if (!scans.Update(scan, CEnumTemplate<EScanState>::ToId(eScanState_Success)) ||
            !scope.Commit())
        {
            return false;
        }
    }
    return sessions.Update(sessions.GetData(lSessionId)); // stamps the session's last run
}
// [record]

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: example_record_session <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    CMeasConfigData config;
    if (!QDir().mkpath(folder.absolutePath()) || !WriteConfiguration(folder, config))
    {
        std::fprintf(stderr, "cannot write the configuration into %s\n", argv[1]);
        return 1;
    }
    long lSessionId = 0;
    if (!RecordSession(config, lSessionId))
    {
        std::fprintf(stderr, "recording failed\n");
        return 1;
    }
    std::printf("configuration %s\nsession %ld\n",
                qPrintable(folder.absoluteFilePath(QStringLiteral("example.measconfig"))),
                lSessionId);
    return 0;
}

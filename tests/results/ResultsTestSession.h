#pragma once

// A recorded session on a fresh database per backend, with its configuration files in a
// temporary folder, for the end-to-end tests of the result views.

#include "CChannelData.h"
#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "CDBSessionControler.h"
#include "CDeviceSettingsData.h"
#include "CEnumTemplate.h"
#include "CMeasConfigData.h"
#include "CTableScan.h"
#include "DatabaseTestBackend.h"
#include "EMeasurementItemState.h"
#include "EMeasurementItems.h"
#include "EScanState.h"

#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace MdaTest
{

using namespace LumoraMeasurement;

inline long StateId(EMeasurementItemState eState)
{
    return CEnumTemplate<EMeasurementItemState>::ToId(eState);
}

inline long ItemId(EMeasurementItems eItem)
{
    return CEnumTemplate<EMeasurementItems>::ToId(eItem);
}

/// One stored measurement as the test records it.
struct SStored
{
    long m_lScan;
    long m_lChannel;
    EMeasurementItems m_eItem;
    EMeasurementItemState m_eState;
    const char* m_pszValue;
    const char* m_pszError;
};

class CResultsSessionTest : public CDatabaseBackendTest
{
protected:
    void SetUp() override
    {
        CDatabaseBackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
        {
            return;
        }
        ASSERT_TRUE(m_Files.isValid());
        m_pDb = OpenConnection();
        ASSERT_TRUE(m_pDb->IsOpen());
        WriteConfiguration();
    }

    QString Path(const QString& sName) const { return m_Files.filePath(sName); }

    /// Device settings naming the test database, three channels (Ch1 with a power limit
    /// offset of 3 dB), the default limits, and a second limit file with other limits.
    void WriteConfiguration()
    {
        CDeviceSettingsData device;
        device.SetDatabaseName(Database().Name());
        device.SetDatabaseUser(Database().User());
        device.SetDatabasePwd(Database().Password());
        ASSERT_TRUE(device.Write(Path("device.json")));

        CChannelTableData channels;
        channels.AddChannel(CChannelData(eTVStandard_DVBT, "Ch1"), CChannelTableData::c_lAppendRow);
        channels.AddChannel(CChannelData(eTVStandard_BG_Pal, "Ch2"),
                            CChannelTableData::c_lAppendRow);
        channels.AddChannel(CChannelData(eTVStandard_J83A, "Ch3"), CChannelTableData::c_lAppendRow);
        channels.SetValue(0, "Power Limit Offset", "3");
        ASSERT_TRUE(channels.Write(Path("channels.json")));

        ASSERT_TRUE(CComparativeValueData().Write(Path("limits.json")));
        CComparativeValueData other;
        QString sLow = "-15";
        other.UpdateItem(eMeasItem_Power, eCompareType_Between, sLow, "40", true);
        sLow = "5";
        other.UpdateItem(eMeasItem_MERRMSdB, eCompareType_Between, sLow, "70", true);
        sLow = "Locked";
        other.UpdateItem(eMeasItem_DemodLock, eCompareType_NotUsed, sLow, "", true);
        ASSERT_TRUE(other.Write(Path("other-limits.json")));

        m_Config.SetDeviceSettingFile(Path("device.json"));
        m_Config.SetChannelTableFile(Path("channels.json"));
        m_Config.SetComparativeValuesFile(Path("limits.json"));
    }

    /// Records the session through the controllers; m_vIds receives the measurement ids in
    /// the order of the rows.
    void Record(const std::vector<long>& scans, const std::vector<SStored>& rows,
                const QString& sDescription = "Night, run")
    {
        ASSERT_TRUE(CDBSessionControler(*m_pDb).Create(
            m_lSession, "uid-1", sDescription, Path("channels.json"), Path("limits.json"), "TP 3",
            "Roof", "a@b.c", "E12", "Ann", "T34", "RX-1", "1.2", "3.4", "SN9", "Lab"));
        CDBScanController scanController(*m_pDb);
        for (long lScan : scans)
        {
            ASSERT_TRUE(scanController.Create(m_lSession, lScan));
            ASSERT_TRUE(scanController.Update(CDBScanData(m_lSession, lScan), eScanState_Success));
        }
        CDBMeasurementController measurements(*m_pDb);
        for (const SStored& row : rows)
        {
            long lId = 0;
            ASSERT_TRUE(measurements.Create(m_lSession, row.m_lScan, row.m_lChannel, lId));
            CDBMeasurement m(m_lSession, row.m_lScan, row.m_lChannel, lId);
            m.SetMeasurementItem(ItemId(row.m_eItem));
            m.SetMeasurementState(StateId(row.m_eState));
            m.SetValue(row.m_pszValue);
            m.SetErrorDescription(row.m_pszError);
            ASSERT_TRUE(measurements.Update(m));
            m_vIds.push_back(lId);
        }
    }

    void SetScanDateTime(long lScan, const QString& sDateTime)
    {
        OrvelFramework::CTableScan table(*m_pDb);
        ASSERT_TRUE(table.Update(m_lSession, lScan,
                                 {OrvelFramework::CTableRecordSet(
                                     OrvelFramework::CTableScan::c_sColumnDatetime, sDateTime)}));
    }

    QTemporaryDir m_Files;
    CMeasConfigData m_Config;
    long m_lSession = 0;
    std::vector<long> m_vIds;
    std::unique_ptr<OrvelFramework::CDatabaseMultiInstance> m_pDb;
};

} // namespace MdaTest

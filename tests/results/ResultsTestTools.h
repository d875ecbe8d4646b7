#pragma once

// What the result tests build alike: device settings naming the test database, channel tables,
// stored measurements, the session of results/session.tsv and what the views show of a model.

#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CDBScanController.h"
#include "CDeviceSettingsData.h"
#include "CMeasurementResultData.h"
#include "CRDMatrixData.h"
#include "DBControllerTestBase.h"

namespace MdaTest
{

using namespace LumoraMeasurement;

inline CDeviceSettingsData DeviceSettings(CTestDatabase& db)
{
    CDeviceSettingsData device;
    device.SetDatabaseName(db.Name());
    device.SetDatabaseUser(db.User());
    device.SetDatabasePwd(db.Password());
    return device;
}

/// Channels of the given names, each of its standard in standards or else DVB-T, and of its power
/// limit offset in offsets where there is one.
inline CChannelTableData Channels(const QStringList& names,
                                  const std::vector<ETVStandards>& standards = {},
                                  const QStringList& offsets = {})
{
    CChannelTableData table;
    for (size_t i = 0; i < size_t(names.size()); ++i)
    {
        table.AddChannel(
            CChannelData(i < standards.size() ? standards[i] : eTVStandard_DVBT, names[int(i)]),
            CChannelTableData::c_lAppendRow);
        if (int(i) < offsets.size())
        {
            table.SetValue(long(i), QStringLiteral("Power Limit Offset"), offsets[int(i)]);
        }
    }
    return table;
}

/// Sets the limits of one item (the low text is taken by reference).
inline void Limit(CComparativeValueData& limits, EMeasurementItems eItem, QString sLow,
                  const QString& sHigh, ECompareType eType = eCompareType_Between)
{
    limits.UpdateItem(eItem, eType, sLow, sHigh, true);
}

/// The configuration naming the device settings, channel table and limit files in dir.
inline CMeasConfigData Config(const QTemporaryDir& dir,
                              const QStringList& files = {"device.json", "channels.json",
                                                          "limits.json"})
{
    CMeasConfigData config;
    config.SetDeviceSettingFile(dir.filePath(files.value(0)));
    config.SetChannelTableFile(dir.filePath(files.value(1)));
    config.SetComparativeValuesFile(dir.filePath(files.value(2)));
    return config;
}

/// A database test with a folder for its files, a connection (opened where a test says) and a
/// session.
class CResultsTest : public CDBControllerTest
{
protected:
    QString Path(const QString& sName) const { return m_Files.filePath(sName); }

    long m_lSession = 0;
};

/// Stores a measurement from a row (scan, channel row, item id, state id, value, error text).
inline long Store(OrvelFramework::CDatabaseMultiInstance& db, long lSession, const QStringList& row)
{
    return Store(db, lSession, row[0].toLong(), row[1].toLong(), row[2].toLong(), row[3].toLong(),
                 row[4], row.value(5));
}

/// Records the session of results/session.tsv (scans 2, 4, 9 and 11) with the channel and limit
/// files in dir; the ids of its rows.
inline std::vector<long> RecordSession(OrvelFramework::CDatabaseMultiInstance& db,
                                       const QTemporaryDir& dir, long& lSession)
{
    EXPECT_TRUE(CDBSessionControler(db).Create(
        lSession, "uid-1", "Night, run", dir.filePath("channels.json"), dir.filePath("limits.json"),
        "TP 3", "Roof", "a@b.c", "E12", "Ann", "T34", "RX-1", "1.2", "3.4", "SN9", "Lab"));
    for (long lScan : {2L, 4L, 9L, 11L})
    {
        EXPECT_TRUE(CDBScanController(db).Create(lSession, lScan) &&
                    CDBScanController(db).Update(CDBScanData(lSession, lScan), 0));
    }
    std::vector<long> ids;
    for (const QStringList& row : ReadDataTable("results/session.tsv"))
    {
        ids.push_back(Store(db, lSession, row));
    }
    return ids;
}

/// The tiles of a matrix, each as "index name text".
inline QStringList Tiles(const OrvelFramework::CRDMatrixData& matrix)
{
    QStringList tiles;
    for (int i = 0; i < matrix.GetItemCount(); ++i)
    {
        const auto& tile = matrix.GetItem(i);
        tiles
            << QStringLiteral("%1 %2 %3").arg(tile.GetIndex()).arg(tile.GetName(), tile.GetText());
    }
    return tiles;
}

/// The tiles of a model's channel matrix.
inline QStringList Tiles(CMeasurementResultData& model)
{
    OrvelFramework::CRDMatrixData matrix;
    model.CreateChannelMatrixData(matrix);
    return Tiles(matrix);
}

/// Everything the result views show of a loaded model, as lines: CSV, dates with their scans,
/// scan records, the records per scan and channel row (0 to 2 and the stray 7), violations and
/// the colour matrix.
inline QStringList Shown(CMeasurementResultData& model)
{
    QStringList lines = model.GetCSVExport();
    for (const QString& sDate : model.GetAvailableDates())
    {
        lines << QStringLiteral("date ") + sDate << model.GetAvailableScansOfDate(sDate);
    }
    std::vector<CDBMeasurement> list;
    for (const long lScan : model.GetScanIds())
    {
        const CDBScanData scan = model.GetScanData(lScan);
        lines
            << QStringLiteral("scan %1 %2 %3").arg(lScan).arg(scan.DateTime()).arg(scan.GetState());
        for (long lChannel : {0L, 1L, 2L, 7L})
        {
            model.GetMeasurementListAll(lScan, lChannel, list);
            for (const CDBMeasurement& m : list)
            {
                lines << QStringLiteral("%1 state %2 value %3 [%4] channel %5")
                             .arg(m.GetMeasurementId())
                             .arg(m.GetMeasurementState())
                             .arg(m.GetValue(), m.GetErrorDescription())
                             .arg(lChannel);
            }
        }
    }
    for (long i = 0; i < model.GetNumberOfErrorsInSession(); ++i)
    {
        lines << QStringLiteral("violation %1 %2 %3 %4 %5")
                     .arg(model.GetScanIdOfError(i))
                     .arg(model.GetChannelIdOfSessionError(i))
                     .arg(model.GetChannelNameOfSessionError(i),
                          model.GetChannelErrorDescriptionOfSessionError(i),
                          model.GetChannelTimeStampOfSessionError(i));
    }
    OrvelFramework::CRDMatrixData matrix;
    return model.CreateChannelMatrixData(matrix) ? lines + Tiles(matrix) : lines;
}

} // namespace MdaTest

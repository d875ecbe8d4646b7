// An application records, loads and displays stored sessions and edits its documents at the
// same time, each in its own thread. Every read must succeed, every copy a session registers
// must be one whole version of its file with a matching hash, and every load must show what a
// load with nothing else running shows. MDA_STRESS_SECONDS sets the time per backend.

#include "CChannelTableData.h"
#include "CComparativeValueData.h"
#include "CDBMeasurementController.h"
#include "CDBScanController.h"
#include "CDBSessionControler.h"
#include "CDatabaseMultiInstance.h"
#include "CDeviceSettingsData.h"
#include "CMeasurementResultData.h"
#include "CRDMatrixData.h"
#include "CTableExportedChannelSettings.h"
#include "CTableExportedLimitValues.h"
#include "DatabaseTestBackend.h"
#include "TestDataTable.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

using namespace LumoraMeasurement;
using namespace OrvelFramework;
using MdaTest::ReadBytes;

namespace
{

/// Everything the result views show of a loaded session, as lines: CSV, dates and scans,
/// scan records, violations with their time stamps, and the colour matrix.
QStringList Display(CMeasurementResultData& model)
{
    QStringList lines = model.GetCSVExport();
    for (const QString& sDate : model.GetAvailableDates())
    {
        lines << QStringLiteral("date ") + sDate << model.GetAvailableScansOfDate(sDate);
    }
    for (const long lScan : model.GetScanIds())
    {
        const CDBScanData scan = model.GetScanData(lScan);
        lines << QStringLiteral("scan %1 %2 %3")
                     .arg(scan.GetScanId())
                     .arg(scan.DateTime())
                     .arg(scan.GetState());
    }
    for (long i = 0; i < model.GetNumberOfErrorsInSession(); ++i)
    {
        lines << QStringLiteral("violation %1 %2 %3 %4")
                     .arg(model.GetScanIdOfError(i))
                     .arg(model.GetChannelNameOfSessionError(i),
                          model.GetChannelErrorDescriptionOfSessionError(i),
                          model.GetChannelTimeStampOfSessionError(i));
    }
    CRDMatrixData matrix;
    model.CreateChannelMatrixData(matrix);
    for (int i = 0; i < matrix.GetItemCount(); ++i)
    {
        const auto& tile = matrix.GetItem(i);
        lines << QStringLiteral("tile %1 %2 %3")
                     .arg(tile.GetIndex())
                     .arg(tile.GetName(), tile.GetText());
    }
    return lines;
}

class ConcurrentUseTest : public MdaTest::CDatabaseBackendTest
{
protected:
    void Prepare() override
    {
        ASSERT_TRUE(m_Files.isValid());
        m_Device.SetDatabaseName(Database().Name());
        m_Device.SetDatabaseUser(Database().User());
        m_Device.SetDatabasePwd(Database().Password());
        ASSERT_TRUE(m_Device.Write(Path("device.json")));

        // Two versions of each document that judge the session alike: the editor switches
        // between them, so every load must still show the same results.
        for (auto [eStandard, pszName] :
             {std::pair(eTVStandard_DVBT, "Ch1"), std::pair(eTVStandard_BG_Pal, "Ch2"),
              std::pair(eTVStandard_J83A, "Ch3")})
        {
            m_ChannelsA.AddChannel(CChannelData(eStandard, pszName),
                                   CChannelTableData::c_lAppendRow);
        }
        m_ChannelsA.SetValue(0, "Power Limit Offset", "3");
        m_ChannelsB = m_ChannelsA;
        m_ChannelsB.SetValue(2, "Description", "edited while recording");
        QString sLow = "1";
        m_LimitsB.UpdateItem(eMeasItem_EVMPLPPeakdB, eCompareType_Between, sLow, "2", false);
        for (const bool bVersionA : {false, true})
        {
            ASSERT_TRUE(WriteVersion(bVersionA));
            m_ChannelBytes << ReadBytes(Path("channels.json"));
            m_LimitBytes << ReadBytes(Path("limits.json"));
        }
        ASSERT_NE(m_ChannelBytes[0], m_ChannelBytes[1]);
        ASSERT_NE(m_LimitBytes[0], m_LimitBytes[1]);

        m_Config.SetDeviceSettingFile(Path("device.json"));
        m_Config.SetChannelTableFile(Path("channels.json"));
        m_Config.SetComparativeValuesFile(Path("limits.json"));

        // The session the loader shows, recorded before anything else runs.
        auto pDb = OpenConnection();
        ASSERT_TRUE(CDBSessionControler(*pDb).Create(
            m_lSession, "uid-shown", "shown", Path("channels.json"), Path("limits.json"), "TP",
            "Roof", "a@b.c", "E1", "Ann", "T1", "RX", "1", "2", "SN", "Lab"));
        for (long lScan : {2, 4, 9, 11})
        {
            ASSERT_TRUE(CDBScanController(*pDb).Create(m_lSession, lScan));
            ASSERT_TRUE(CDBScanController(*pDb).Update(CDBScanData(m_lSession, lScan), 0));
        }
        CDBMeasurementController measurements(*pDb);
        for (const QStringList& row : MdaTest::ReadDataTable("results/session.tsv"))
        {
            long lId = 0;
            ASSERT_TRUE(measurements.Create(m_lSession, row[0].toLong(), row[1].toLong(), lId));
            ASSERT_TRUE(measurements.Update(
                Measurement(m_lSession, row[0].toLong(), row[1].toLong(), lId, row)));
        }
    }

    static CDBMeasurement Measurement(long lSession, long lScan, long lChannel, long lId,
                                      const QStringList& row)
    {
        CDBMeasurement m(lSession, lScan, lChannel, lId);
        m.SetMeasurementItem(row[2].toLong());
        m.SetMeasurementState(row[3].toLong());
        m.SetValue(row[4]);
        m.SetErrorDescription(row[5]);
        return m;
    }

    QString Path(const QString& sName) const { return m_Files.filePath(sName); }

    bool WriteVersion(bool bVersionA)
    {
        return (bVersionA ? m_ChannelsA : m_ChannelsB).Write(Path("channels.json")) &&
               (bVersionA ? m_LimitsA : m_LimitsB).Write(Path("limits.json"));
    }

    /// Faults seen by the worker threads (the first 20 kept), read once they have ended.
    void Fault(const QString& sFault)
    {
        const std::lock_guard<std::mutex> lock(m_Mutex);
        if (++m_iFaults <= 20)
        {
            m_lFaults << sFault;
        }
    }

    /// Records sessions until the deadline; each registers its copies of both files.
    void Record(qint64 iUntil, const QElapsedTimer& clock)
    {
        CDatabaseMultiInstance db(Database().Name(), Database().User(), Database().Password());
        if (!db.Open())
        {
            return Fault("recorder: open failed: " + db.LastError());
        }
        CDBSessionControler sessions(db);
        CDBScanController scans(db);
        CDBMeasurementController measurements(db);
        while (clock.elapsed() < iUntil)
        {
            long lSession = 0, lScan = 1, lId = 0;
            bool bOk =
                sessions.Create(lSession, "uid-rec", "recorded", Path("channels.json"),
                                Path("limits.json"), "", "", "", "", "", "", "", "", "", "", "");
            if (bOk)
            {
                m_vRecorded.push_back(lSession);
            }
            bOk = bOk && scans.Create(lSession, lScan) &&
                  measurements.Create(lSession, lScan, 0, lId) &&
                  measurements.Update(
                      Measurement(lSession, lScan, 0, lId, {{}, {}, "8", "2", "50 dBmV", {}}));
            if (!bOk)
            {
                Fault("recorder: " + db.LastError());
            }
        }
    }

    QTemporaryDir m_Files;
    CDeviceSettingsData m_Device;
    CChannelTableData m_ChannelsA, m_ChannelsB;
    CComparativeValueData m_LimitsA, m_LimitsB;
    QList<QByteArray> m_ChannelBytes, m_LimitBytes;
    CMeasConfigData m_Config;
    long m_lSession = 0;

    std::mutex m_Mutex;
    QStringList m_lFaults;
    int m_iFaults = 0;
    std::vector<long> m_vRecorded;
};

/// A registered copy is one whole version of its file, with the hash of exactly its bytes.
template <typename TTable>
void CheckCopy(CDatabaseMultiInstance& db, const QString& sKey, const QList<QByteArray>& versions)
{
    SCOPED_TRACE(sKey.toStdString());
    QMap<QString, QString> columns;
    for (const auto& pair : TTable(db).Get(sKey))
    {
        columns[pair.GetColumn()] = pair.GetValue();
    }
    const QByteArray bytes = QByteArray::fromBase64(columns[TTable::c_sColumnFile].toLatin1());
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_EQ(columns[TTable::c_sColumnHash].toLatin1(),
              QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
    EXPECT_TRUE(versions.contains(bytes)) << "a copy that is neither version";
}

// Documents rewritten in place made a concurrent load fail and let a session store an empty
// or torn copy of its limit file, or a hash of other bytes than the stored ones.
TEST_P(ConcurrentUseTest, RecordingLoadingAndEditingAtOnceNeverSeeAHalfWrittenFile)
{
    QStringList expected;
    {
        CMeasurementResultData model(m_lSession, eLevelUnit_dBm);
        ASSERT_TRUE(model.LoadData(m_Config));
        expected = Display(model);
        ASSERT_GT(expected.size(), 20);
    }

    QElapsedTimer clock;
    clock.start();
    const int iSeconds = qEnvironmentVariableIntValue("MDA_STRESS_SECONDS");
    const qint64 iUntil = 1000LL * (iSeconds > 0 ? iSeconds : 8);
    std::atomic<int> iLoads{0}, iEdits{0};
    std::thread recorder([&] { Record(iUntil, clock); });
    // Loads the session, model and display in this thread, comparing each with the first load.
    std::thread loader(
        [&]
        {
            while (clock.elapsed() < iUntil)
            {
                CMeasurementResultData model(m_lSession, eLevelUnit_dBm);
                const bool bLoaded = model.LoadData(m_Config) && ++iLoads > 0;
                const QStringList shown = bLoaded ? Display(model) : QStringList{"load failed"};
                if (shown != expected)
                {
                    Fault("loader: shows\n" + shown.join('\n'));
                }
            }
        });
    // Rewrites the three documents, switching between the two versions.
    std::thread editor(
        [&]
        {
            for (bool bVersionA = false; clock.elapsed() < iUntil; bVersionA = !bVersionA, ++iEdits)
            {
                if (!WriteVersion(bVersionA) || !m_Device.Write(Path("device.json")))
                {
                    Fault("editor: a document was not written");
                }
            }
        });
    recorder.join();
    loader.join();
    editor.join();

    EXPECT_EQ(m_iFaults, 0) << m_lFaults.join(QLatin1Char('\n')).toStdString();
    std::printf("%d loads, %d sessions recorded, %d rounds of edits\n", iLoads.load(),
                int(m_vRecorded.size()), iEdits.load());
    EXPECT_GE(iLoads.load(), 3);
    EXPECT_GE(m_vRecorded.size(), 3u);
    EXPECT_GE(iEdits.load(), 3);

    auto pDb = OpenConnection();
    CDBSessionControler sessions(*pDb);
    for (const long lSession : m_vRecorded)
    {
        QString sLimitKey, sChannelKey;
        sessions.GetData(lSession).GetAssociatedFiles(sLimitKey, sChannelKey);
        CheckCopy<CTableExportedLimitValues>(*pDb, sLimitKey, m_LimitBytes);
        CheckCopy<CTableExportedChannelSettings>(*pDb, sChannelKey, m_ChannelBytes);
        if (HasFailure())
        {
            break;
        }
    }
}

MDA_INSTANTIATE_BACKEND_TESTS(ConcurrentUseTest);

} // namespace

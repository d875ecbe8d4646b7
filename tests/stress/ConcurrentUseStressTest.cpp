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
#include <type_traits>

using namespace LumoraMeasurement;

namespace
{

// The id types follow the controllers' signatures, whatever width they choose.
template <int N, typename TFunction> struct SArgument;
template <int N, typename TClass, typename TResult, typename... TArgs>
struct SArgument<N, TResult (TClass::*)(TArgs...)>
{
    using type = std::remove_reference_t<std::tuple_element_t<N, std::tuple<TArgs...>>>;
};
using TSessionId = typename SArgument<0, decltype(&CDBSessionControler::Create)>::type;
using TScanId = typename SArgument<1, decltype(&CDBScanController::Create)>::type;
using TMeasurementId = typename SArgument<3, decltype(&CDBMeasurementController::Create)>::type;

qint64 StressMilliseconds()
{
    const int iSeconds = qEnvironmentVariableIntValue("MDA_STRESS_SECONDS");
    return 1000LL * (iSeconds > 0 ? iSeconds : 8);
}

using MdaTest::ReadBytes;

/// Everything the result views show of a loaded session, as lines: CSV, dates and scans,
/// scan records, violations with their time stamps, and the colour matrix.
QStringList Display(CMeasurementResultData& model)
{
    QStringList lines = model.GetCSVExport();
    for (const QString& sDate : model.GetAvailableDates())
    {
        lines << QStringLiteral("date ") + sDate;
        lines << model.GetAvailableScansOfDate(sDate);
    }
    for (const auto lScan : model.GetScanIds())
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
    OrvelFramework::CRDMatrixData matrix;
    model.CreateChannelMatrixData(matrix);
    for (int i = 0; i < matrix.GetItemCount(); ++i)
    {
        lines << QStringLiteral("tile %1 %2 %3")
                     .arg(matrix.GetItem(i).GetIndex())
                     .arg(matrix.GetItem(i).GetName(), matrix.GetItem(i).GetText());
    }
    return lines;
}

/// Faults seen by the worker threads (the first 20 kept), read once they have ended.
struct SFaults
{
    void Add(const QString& sFault)
    {
        const std::lock_guard<std::mutex> lock(m_Mutex);
        if (++m_iCount <= 20)
        {
            m_lFaults << sFault;
        }
    }

    std::mutex m_Mutex;
    QStringList m_lFaults;
    int m_iCount = 0;
};

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
        for (TScanId lScan : {2, 4, 9, 11})
        {
            ASSERT_TRUE(CDBScanController(*pDb).Create(m_lSession, lScan));
            ASSERT_TRUE(CDBScanController(*pDb).Update(CDBScanData(m_lSession, lScan), 0));
        }
        CDBMeasurementController measurements(*pDb);
        for (const QStringList& row : MdaTest::ReadDataTable("results/session.tsv"))
        {
            TMeasurementId lId = 0;
            ASSERT_TRUE(measurements.Create(m_lSession, row[0].toLong(), row[1].toLong(), lId));
            CDBMeasurement m(m_lSession, row[0].toLong(), row[1].toLong(), lId);
            m.SetMeasurementItem(row[2].toLong());
            m.SetMeasurementState(row[3].toLong());
            m.SetValue(row[4]);
            m.SetErrorDescription(row[5]);
            ASSERT_TRUE(measurements.Update(m));
        }
    }

    QString Path(const QString& sName) const { return m_Files.filePath(sName); }

    /// Writes one version of the channel table and the limits.
    bool WriteVersion(bool bVersionA)
    {
        return (bVersionA ? m_ChannelsA : m_ChannelsB).Write(Path("channels.json")) &&
               (bVersionA ? m_LimitsA : m_LimitsB).Write(Path("limits.json"));
    }

    /// Records sessions until the deadline; each registers its copies of both files.
    void Record(qint64 iUntil, const QElapsedTimer& clock)
    {
        OrvelFramework::CDatabaseMultiInstance db(Database().Name(), Database().User(),
                                                  Database().Password());
        if (!db.Open())
        {
            m_Faults.Add("recorder: open failed: " + db.LastError());
            return;
        }
        CDBSessionControler sessions(db);
        CDBScanController scans(db);
        CDBMeasurementController measurements(db);
        while (clock.elapsed() < iUntil)
        {
            TSessionId lSession = 0;
            if (!sessions.Create(lSession, "uid-rec", "recorded", Path("channels.json"),
                                 Path("limits.json"), "", "", "", "", "", "", "", "", "", "", ""))
            {
                m_Faults.Add("recorder: session not created: " + db.LastError());
                continue;
            }
            m_vRecorded.push_back(lSession);
            TScanId lScan = 1;
            TMeasurementId lId = 0;
            if (!scans.Create(lSession, lScan) || !measurements.Create(lSession, lScan, 0, lId))
            {
                m_Faults.Add("recorder: scan not recorded: " + db.LastError());
                continue;
            }
            CDBMeasurement m(lSession, lScan, 0, lId);
            m.SetMeasurementItem(8);
            m.SetMeasurementState(2);
            m.SetValue("50 dBmV");
            if (!measurements.Update(m))
            {
                m_Faults.Add("recorder: value not stored: " + db.LastError());
            }
        }
    }

    /// Loads and shows the recorded session until the deadline, model and display in this
    /// thread, comparing every load with the one made before the threads started.
    void Load(qint64 iUntil, const QElapsedTimer& clock, const QStringList& expected)
    {
        while (clock.elapsed() < iUntil)
        {
            CMeasurementResultData model(m_lSession, eLevelUnit_dBm);
            if (!model.LoadData(m_Config))
            {
                m_Faults.Add(QStringLiteral("loader: load %1 failed").arg(m_iLoads.load()));
                continue;
            }
            ++m_iLoads;
            const QStringList shown = Display(model);
            if (shown != expected)
            {
                m_Faults.Add("loader: shows\n" + shown.join('\n') + "\ninstead of\n" +
                             expected.join('\n'));
            }
        }
    }

    /// Rewrites the three documents, switching between the two versions, until the deadline.
    void Edit(qint64 iUntil, const QElapsedTimer& clock)
    {
        bool bVersionA = false;
        while (clock.elapsed() < iUntil)
        {
            if (!WriteVersion(bVersionA) || !m_Device.Write(Path("device.json")))
            {
                m_Faults.Add("editor: a document was not written");
            }
            ++m_iEdits;
            bVersionA = !bVersionA;
        }
    }

    /// A registered copy is one whole version of its file, with the hash of exactly its bytes.
    template <typename TTable>
    void CheckCopy(OrvelFramework::CDatabaseMultiInstance& db, const QString& sKey,
                   const QList<QByteArray>& versions, const char* pszWhat)
    {
        SCOPED_TRACE(std::string(pszWhat) + " copy " + sKey.toStdString());
        TTable table(db);
        QString sFile, sHash;
        for (const auto& pair : table.Get(sKey))
        {
            if (pair.GetColumn() == TTable::c_sColumnFile)
            {
                sFile = pair.GetValue();
            }
            else if (pair.GetColumn() == TTable::c_sColumnHash)
            {
                sHash = pair.GetValue();
            }
        }
        const QByteArray bytes = QByteArray::fromBase64(sFile.toLatin1());
        ASSERT_FALSE(bytes.isEmpty());
        EXPECT_EQ(sHash, QString::fromLatin1(
                             QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex()));
        EXPECT_TRUE(versions.contains(bytes)) << "a copy that is neither version";
    }

    QTemporaryDir m_Files;
    CDeviceSettingsData m_Device;
    CChannelTableData m_ChannelsA;
    CChannelTableData m_ChannelsB;
    CComparativeValueData m_LimitsA;
    CComparativeValueData m_LimitsB;
    QList<QByteArray> m_ChannelBytes;
    QList<QByteArray> m_LimitBytes;
    CMeasConfigData m_Config;
    TSessionId m_lSession = 0;

    SFaults m_Faults;
    std::vector<TSessionId> m_vRecorded;
    std::atomic<int> m_iLoads{0};
    std::atomic<int> m_iEdits{0};
};

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
    const qint64 iUntil = StressMilliseconds();
    std::thread recorder([&] { Record(iUntil, clock); });
    std::thread loader([&] { Load(iUntil, clock, expected); });
    std::thread editor([&] { Edit(iUntil, clock); });
    recorder.join();
    loader.join();
    editor.join();

    EXPECT_EQ(m_Faults.m_iCount, 0) << m_Faults.m_lFaults.join(QLatin1Char('\n')).toStdString();
    std::printf("%d loads, %d sessions recorded, %d rounds of edits\n", m_iLoads.load(),
                int(m_vRecorded.size()), m_iEdits.load());
    EXPECT_GE(m_iLoads.load(), 3);
    EXPECT_GE(m_vRecorded.size(), 3u);
    EXPECT_GE(m_iEdits.load(), 3);

    auto pDb = OpenConnection();
    CDBSessionControler sessions(*pDb);
    for (const TSessionId lSession : m_vRecorded)
    {
        QString sLimitKey, sChannelKey;
        sessions.GetData(lSession).GetAssociatedFiles(sLimitKey, sChannelKey);
        CheckCopy<OrvelFramework::CTableExportedLimitValues>(*pDb, sLimitKey, m_LimitBytes,
                                                             "limit");
        CheckCopy<OrvelFramework::CTableExportedChannelSettings>(*pDb, sChannelKey, m_ChannelBytes,
                                                                 "channel");
        if (HasFailure())
        {
            break;
        }
    }
}

MDA_INSTANTIATE_BACKEND_TESTS(ConcurrentUseTest);

} // namespace

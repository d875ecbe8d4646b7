// An application records, loads and displays stored sessions and edits its documents at the
// same time, each in its own thread. Every read must succeed, every copy a session registers
// must be one whole version of its file with a matching hash, and every load must show what a
// load with nothing else running shows. MDA_STRESS_SECONDS sets the time per backend.

#include "../results/ResultsTestTools.h"
#include "CComparativeValueData.h"
#include "CTableExportedChannelSettings.h"
#include "CTableExportedLimitValues.h"

#include <QCryptographicHash>
#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

using namespace LumoraMeasurement;
using namespace OrvelFramework;
using MdaTest::ReadBytes;

namespace
{

class ConcurrentUseTest : public MdaTest::CResultsTest
{
protected:
    void Prepare() override
    {
        CResultsTest::Prepare();
        m_Device = MdaTest::DeviceSettings(Database());
        ASSERT_TRUE(m_Device.Write(Path("device.json")));

        // Two versions of each document that judge the session alike: the editor switches
        // between them, so every load must still show the same results.
        m_ChannelsA = MdaTest::Channels({"Ch1", "Ch2", "Ch3"},
                                        {eTVStandard_DVBT, eTVStandard_BG_Pal, eTVStandard_J83A});
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
        // The session the loader shows, recorded before anything else runs.
        MdaTest::RecordSession(Db(), m_Files, m_lSession);
    }

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
        while (clock.elapsed() < iUntil)
        {
            long lSession = 0, lScan = 1;
            if (!sessions.Create(lSession, "uid-rec", "recorded", Path("channels.json"),
                                 Path("limits.json"), "", "", "", "", "", "", "", "", "", "", ""))
            {
                return Fault("recorder: " + db.LastError());
            }
            m_vRecorded.push_back(lSession);
            if (!scans.Create(lSession, lScan) ||
                MdaTest::Store(db, lSession, lScan, 0, 8, 2, "50 dBmV") <= 0)
            {
                Fault("recorder: " + db.LastError());
            }
        }
    }

    CDeviceSettingsData m_Device;
    CChannelTableData m_ChannelsA, m_ChannelsB;
    CComparativeValueData m_LimitsA, m_LimitsB;
    QList<QByteArray> m_ChannelBytes, m_LimitBytes;

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
    // What the loader, model and display show of the session; the first load runs alone.
    const auto Load = [this]
    {
        CMeasurementResultData model(m_lSession, eLevelUnit_dBm);
        return model.LoadData(MdaTest::Config(m_Files)) ? MdaTest::Shown(model)
                                                        : QStringList{"load failed"};
    };
    const QStringList expected = Load();
    ASSERT_GT(expected.size(), 20);

    QElapsedTimer clock;
    clock.start();
    const int iSeconds = qEnvironmentVariableIntValue("MDA_STRESS_SECONDS");
    const qint64 iUntil = 1000LL * (iSeconds > 0 ? iSeconds : 8);
    std::atomic<int> iLoads{0}, iEdits{0};
    std::thread recorder([&] { Record(iUntil, clock); });
    // Loads in this thread, comparing each load with the first.
    std::thread loader(
        [&]
        {
            for (; clock.elapsed() < iUntil; ++iLoads)
            {
                const QStringList shown = Load();
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
    EXPECT_GE(std::min({iLoads.load(), int(m_vRecorded.size()), iEdits.load()}), 3);

    CDBSessionControler sessions(Db());
    for (const long lSession : m_vRecorded)
    {
        QString sLimitKey, sChannelKey;
        sessions.GetData(lSession).GetAssociatedFiles(sLimitKey, sChannelKey);
        CheckCopy<CTableExportedLimitValues>(Db(), sLimitKey, m_LimitBytes);
        CheckCopy<CTableExportedChannelSettings>(Db(), sChannelKey, m_ChannelBytes);
        if (HasFailure())
        {
            break;
        }
    }
}

MDA_INSTANTIATE_BACKEND_TESTS(ConcurrentUseTest);

} // namespace

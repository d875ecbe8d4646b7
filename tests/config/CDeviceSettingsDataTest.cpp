#include "CDeviceSettingsData.h"

#include "ConfigTestTools.h"

#include <functional>
#include <tuple>
#include <utility>

using namespace LumoraMeasurement;
using namespace ConfigTest;

namespace
{

// clang-format off
const QStringList c_lFresh = {
    "VisaResource=", "DatabaseName=", "DatabaseUser=", "DatabasePwd=", "RepeatTime=0",
    "DurationTime=0", "ErrorStrategie=0", "TransducerFile=", "Impedance=0", "InternalReference=0",
    "AnalogTvAverageCount=32", "BERCount=10", "PERSERCount=10", "RestoreDevice=0", "ResetDevice=0"};
// clang-format on

using CDeviceSettingsDataTest = LogTest;

// What the typed getters answer: repeat and duration time, error strategy, impedance, reference,
// average count, BER and PER/SER count, restore and reset.
std::vector<long> Typed(const CDeviceSettingsData& s)
{
    // clang-format off
    return {s.RepeatScanTime(), s.DurationTime(), s.ErrorStrategie(), s.Impedance(),
            s.Internal10MHzReference(), s.AnalogTVAnalysisAvarageCount(), s.BERCount(),
            s.PERSERCOunt(), s.DoRestoreDeviceSettings(), s.DoResetDeviceSettings()};
    // clang-format on
}

TEST_F(CDeviceSettingsDataTest, SettersStoreTextAndReportChange)
{
    using S = CDeviceSettingsData;
    // clang-format off
    const std::tuple<std::function<bool(S&)>, bool, int, const char*> rows[] = {
        {[](S& s) { return s.SetBERCount(10); },                                   false, 11, "10"},
        {[](S& s) { return s.SetBERCount(20); },                                   true,  11, "20"},
        {[](S& s) { return s.SetPERSERCOunt(-3); },                                true,  12, "-3"},
        {[](S& s) { return s.SetRepeatScanTime(4000000000UL); },                   true,  4,  "4000000000"},
        {[](S& s) { return s.SetDurationTime(0); },                                false, 5,  "0"},
        {[](S& s) { return s.SetDatabaseName("db"); },             true,  1,  "db"},
        {[](S& s) { return s.SetTransducerFile(QString()); },                      false, 7,  ""},
        {[](S& s) { return s.SetErrorStrategie("Stop after error"); }, true, 6, "2"},
        {[](S& s) { return s.SetErrorStrategie(eMeasurementErrorStrategie_IgnoreError); }, false, 6, "0"},
        {[](S& s) { return s.SetErrorStrategie("stop after error"); }, true, 6, "-1"},
        {[](S& s) { return s.SetInternal10MHzReference(eInstrumentReference_External10MHz); }, true, 9, "2"},
        {[](S& s) { return s.SetAnalogTVAnalysisAvarageCount("256"); }, true, 10, "256"},
        {[](S& s) { return s.SetImpedance("75 Ohm"); },            true,  8,  "1"},
        {[](S& s) { return s.SetRestoreDeviceSettings(eRestorationDeviceSettings_Restore); }, true, 13, "1"},
        {[](S& s) { return s.SetResetDeviceSettings("No"); },      true,  14, "1"},
    };
    // clang-format on
    for (const auto& [Set, bChanged, iPosition, pszStored] : rows)
    {
        SCOPED_TRACE(c_lFresh[iPosition].toStdString());
        CDeviceSettingsData settings;
        EXPECT_EQ(Set(settings), bChanged);
        QStringList lExpected = c_lFresh;
        lExpected[iPosition] = lExpected[iPosition].section('=', 0, 0) + '=' + pszStored;
        EXPECT_EQ(Pairs(settings), lExpected);
        EXPECT_FALSE(Set(settings));
    }

    CDeviceSettingsData settings;
    settings.SetErrorStrategie("Stop after error");
    EXPECT_EQ(settings.ErrorStrategie(), eMeasurementErrorStrategie_StopAfterError);
    settings.SetInternal10MHzReference("External reference 10.24 MHz (BEX)");
    EXPECT_EQ(settings.Internal10MHzReference(), eInstrumentReference_External10_24MHz);

    // A lookup tells whether the setting is there, whatever the flag held before.
    bool bFound = false, bConstFound = false, bNone = true, bConstNone = true;
    settings.Contains("BERCount", bFound);
    std::as_const(settings).Contains("BERCount", bConstFound);
    settings.Contains("none", bNone);
    std::as_const(settings).Contains("none", bConstNone);
    EXPECT_TRUE(bFound && bConstFound && !bNone && !bConstNone);
}

TEST_F(CDeviceSettingsDataTest, ReadingReplacesTheListAndAddsOnlyRestoreAndReset)
{
    CDeviceSettingsData settings;
    settings.SetDatabaseUser("someone");
    ASSERT_TRUE(
        settings.Read(WriteList("DeviceSettings", R"([{"Name": "VisaResource", "Value": "v"}])")));
    EXPECT_EQ(Pairs(settings), (QStringList{"VisaResource=v", "RestoreDevice=0", "ResetDevice=0"}));
    EXPECT_EQ(Typed(settings), (std::vector<long>{0, 0, 0, 0, 0, 0, 10, 10, 0, 0}));
    EXPECT_EQ(settings.DatabaseUser(), QString());
    EXPECT_FALSE(settings.SetBERCount(5) || settings.SetDatabaseUser("x"));
    EXPECT_EQ(Pairs(settings).size(), 3);

    // Unknown names stay, the file's order is kept, the first of two equal names answers.
    ASSERT_TRUE(settings.Read(WriteList("DeviceSettings", R"([{"Name": "ResetDevice", "Value": "1"},
        {"Name": "Extra", "Value": "e"}, {"Name": "BERCount", "Value": "3"},
        {"Name": "BERCount", "Value": "4"}])")));
    EXPECT_EQ(Pairs(settings), (QStringList{"ResetDevice=1", "Extra=e", "BERCount=3", "BERCount=4",
                                            "RestoreDevice=0"}));
    EXPECT_EQ(Typed(settings), (std::vector<long>{0, 0, 0, 0, 0, 0, 3, 10, 0, eYesNo_No}));

    // Unknown stored ids give values outside the enumeration; a malformed reset reads as stored
    // id 0, "Yes".
    ASSERT_TRUE(settings.Read(DataFile("unknown_device_values.json")));
    EXPECT_EQ(Typed(settings), (std::vector<long>{0, 86400, 3, 2, 3, 0, 0, 0, 2, eYesNo_Yes}));
}

TEST_F(CDeviceSettingsDataTest, WriteThenReadGivesTheSameSettings)
{
    CDeviceSettingsData written;
    written.SetVisaResource("TCPIP::192.168.1.5::INSTR");
    written.SetDatabasePwd("p\"w\\d ü");
    // Numbers of several digits: a setting read back in another base would differ.
    written.SetDurationTime(86399);
    written.SetRepeatScanTime(4000000000UL);
    written.SetBERCount(30000);
    written.SetPERSERCOunt(999);
    written.SetAnalogTVAnalysisAvarageCount(eAverageCount_128);
    const QString sPath = m_Dir.filePath("device.json");
    ASSERT_TRUE(written.Write(sPath));

    EXPECT_EQ(ReadObject(sPath), ReadObject(DataFile("written_device.json")));

    CDeviceSettingsData readBack;
    readBack.SetBERCount(1);
    ASSERT_TRUE(readBack.Read(sPath));
    EXPECT_EQ(Pairs(readBack), Pairs(written));
    EXPECT_EQ(readBack.DatabasePwd(), "p\"w\\d ü");
    EXPECT_EQ(Typed(readBack),
              (std::vector<long>{4000000000L, 86399, eMeasurementErrorStrategie_IgnoreError, 0, 0,
                                 eAverageCount_128, 30000, 999, 0, 0}));
    EXPECT_TRUE(TakeLog().isEmpty());
}

} // namespace

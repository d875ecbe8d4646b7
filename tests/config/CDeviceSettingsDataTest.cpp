#include "CDeviceSettingsData.h"

#include "ConfigTestTools.h"

#include <QJsonArray>

#include <functional>

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

TEST_F(CDeviceSettingsDataTest, SettersStoreTextAndReportChange)
{
    using S = CDeviceSettingsData;
    struct SRow
    {
        std::function<bool(S&)> m_Set;
        bool m_bChanged;
        int m_iPosition;
        const char* m_pszStored;
    };
    // clang-format off
    const SRow rows[] = {
        {[](S& s) { return s.SetBERCount(10); },                                   false, 11, "10"},
        {[](S& s) { return s.SetBERCount(20); },                                   true,  11, "20"},
        {[](S& s) { return s.SetPERSERCOunt(-3); },                                true,  12, "-3"},
        {[](S& s) { return s.SetRepeatScanTime(4000000000UL); },                   true,  4,  "4000000000"},
        {[](S& s) { return s.SetDurationTime(0); },                                false, 5,  "0"},
        {[](S& s) { return s.SetDatabaseName(QStringLiteral("db")); },             true,  1,  "db"},
        {[](S& s) { return s.SetTransducerFile(QString()); },                      false, 7,  ""},
        {[](S& s) { return s.SetErrorStrategie(QStringLiteral("Stop after error")); }, true, 6, "2"},
        {[](S& s) { return s.SetErrorStrategie(eMeasurementErrorStrategie_IgnoreError); }, false, 6, "0"},
        {[](S& s) { return s.SetErrorStrategie(QStringLiteral("stop after error")); }, true, 6, "-1"},
        {[](S& s) { return s.SetInternal10MHzReference(eInstrumentReference_External10MHz); }, true, 9, "2"},
        {[](S& s) { return s.SetAnalogTVAnalysisAvarageCount(QStringLiteral("256")); }, true, 10, "256"},
        {[](S& s) { return s.SetImpedance(QStringLiteral("75 Ohm")); },            true,  8,  "1"},
        {[](S& s) { return s.SetRestoreDeviceSettings(eRestorationDeviceSettings_Restore); }, true, 13, "1"},
        {[](S& s) { return s.SetResetDeviceSettings(QStringLiteral("No")); },      true,  14, "1"},
    };
    // clang-format on
    for (const auto& row : rows)
    {
        SCOPED_TRACE(c_lFresh[row.m_iPosition].toStdString());
        CDeviceSettingsData settings;
        EXPECT_EQ(row.m_Set(settings), row.m_bChanged);
        QStringList lExpected = c_lFresh;
        lExpected[row.m_iPosition] = lExpected[row.m_iPosition].section('=', 0, 0) + '=' +
                                     QString::fromLatin1(row.m_pszStored);
        EXPECT_EQ(Pairs(settings), lExpected);
        EXPECT_FALSE(row.m_Set(settings));
    }

    CDeviceSettingsData settings;
    settings.SetErrorStrategie(QStringLiteral("Stop after error"));
    EXPECT_EQ(settings.ErrorStrategie(), eMeasurementErrorStrategie_StopAfterError);
    settings.SetInternal10MHzReference(QStringLiteral("External reference 10.24 MHz (BEX)"));
    EXPECT_EQ(settings.Internal10MHzReference(), eInstrumentReference_External10_24MHz);
}

TEST_F(CDeviceSettingsDataTest, UnknownStoredIdsGiveValuesOutsideTheEnumeration)
{
    CDeviceSettingsData settings;
    ASSERT_TRUE(
        settings.Read(QStringLiteral(MDA_TEST_DATA_DIR "/config/unknown_device_values.json")));
    EXPECT_EQ(settings.ErrorStrategie(), 3);
    EXPECT_EQ(settings.Impedance(), 2);
    EXPECT_EQ(settings.Internal10MHzReference(), 3);
    EXPECT_EQ(settings.AnalogTVAnalysisAvarageCount(), 0);
    EXPECT_EQ(settings.DoRestoreDeviceSettings(), 2);
    EXPECT_EQ(settings.DoResetDeviceSettings(), eYesNo_Yes); // malformed reads as stored id 0
    EXPECT_EQ(settings.BERCount(), 0);
    EXPECT_EQ(settings.PERSERCOunt(), 0);
    EXPECT_EQ(settings.RepeatScanTime(), 0);
    EXPECT_EQ(settings.DurationTime(), 86400);
}

TEST_F(CDeviceSettingsDataTest, ReadingReplacesTheListAndAddsOnlyRestoreAndReset)
{
    CDeviceSettingsData settings;
    settings.SetDatabaseUser(QStringLiteral("someone"));
    ASSERT_TRUE(settings.Read(
        WriteList("DeviceSettings", "[{\"Name\": \"VisaResource\", \"Value\": \"v\"}]")));
    EXPECT_EQ(Pairs(settings), (QStringList{"VisaResource=v", "RestoreDevice=0", "ResetDevice=0"}));
    EXPECT_EQ(settings.BERCount(), 10);
    EXPECT_EQ(settings.PERSERCOunt(), 10);
    EXPECT_EQ(settings.ErrorStrategie(), 0);
    EXPECT_EQ(settings.DatabaseUser(), QString());
    EXPECT_FALSE(settings.SetBERCount(5));
    EXPECT_FALSE(settings.SetDatabaseUser(QStringLiteral("x")));
    EXPECT_EQ(Pairs(settings).size(), 3);

    // Unknown names stay, the file's order is kept, the first of two equal names answers.
    ASSERT_TRUE(settings.Read(WriteList(
        "DeviceSettings",
        "[{\"Name\": \"ResetDevice\", \"Value\": \"1\"}, {\"Name\": \"Extra\", \"Value\": \"e\"},"
        " {\"Name\": \"BERCount\", \"Value\": \"3\"}, {\"Name\": \"BERCount\", \"Value\": "
        "\"4\"}]")));
    EXPECT_EQ(Pairs(settings), (QStringList{"ResetDevice=1", "Extra=e", "BERCount=3", "BERCount=4",
                                            "RestoreDevice=0"}));
    EXPECT_EQ(settings.BERCount(), 3);
    EXPECT_EQ(settings.DoResetDeviceSettings(), eYesNo_No);
}

TEST_F(CDeviceSettingsDataTest, WriteThenReadGivesTheSameSettings)
{
    CDeviceSettingsData written;
    written.SetVisaResource(QStringLiteral("TCPIP::192.168.1.5::INSTR"));
    written.SetDatabasePwd(QStringLiteral("p\"w\\d ü"));
    // Numbers of several digits: a setting read back in another base would differ.
    written.SetDurationTime(86399);
    written.SetRepeatScanTime(4000000000UL);
    written.SetBERCount(30000);
    written.SetPERSERCOunt(999);
    written.SetAnalogTVAnalysisAvarageCount(eAverageCount_128);
    const QString sPath = m_Dir.filePath(QStringLiteral("device.json"));
    ASSERT_TRUE(written.Write(sPath));
    EXPECT_TRUE(ParsesWithPython(sPath));

    const QJsonObject jFile = ReadObject(sPath);
    EXPECT_EQ(jFile.keys(), QStringList{QStringLiteral("DeviceSettings")});
    const QJsonArray jList = jFile[QStringLiteral("DeviceSettings")].toArray();
    ASSERT_EQ(jList.size(), 15);
    EXPECT_EQ(jList[4].toObject(), (QJsonObject{{"Name", "RepeatTime"}, {"Value", "4000000000"}}));
    EXPECT_EQ(jList[10].toObject(),
              (QJsonObject{{"Name", "AnalogTvAverageCount"}, {"Value", "128"}}));

    CDeviceSettingsData readBack;
    readBack.SetBERCount(1);
    ASSERT_TRUE(readBack.Read(sPath));
    EXPECT_EQ(Pairs(readBack), Pairs(written));
    EXPECT_EQ(readBack.DatabasePwd(), QStringLiteral("p\"w\\d ü"));
    EXPECT_EQ(readBack.DurationTime(), 86399);
    EXPECT_EQ(readBack.RepeatScanTime(), 4000000000L);
    EXPECT_EQ(readBack.BERCount(), 30000);
    EXPECT_EQ(readBack.PERSERCOunt(), 999);
    EXPECT_EQ(readBack.AnalogTVAnalysisAvarageCount(), eAverageCount_128);
    EXPECT_TRUE(TakeLog().isEmpty());
}

} // namespace

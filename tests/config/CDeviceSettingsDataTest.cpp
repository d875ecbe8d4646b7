#include "CDeviceSettingsData.h"

#include "ConfigTestTools.h"

#include <QJsonArray>

#include <functional>

using namespace LumoraMeasurement;
using namespace ConfigTest;

namespace
{

class CDeviceSettingsDataTest : public LogTest
{
protected:
    static QStringList Pairs(const CDeviceSettingsData& settings)
    {
        QStringList lPairs;
        for (const auto& item : settings.GetDeviceSettings().GetDeviceSettingsItem())
        {
            lPairs.append(item.GetName() + QLatin1Char('=') + item.GetValue());
        }
        return lPairs;
    }

    static QString Value(const CDeviceSettingsData& settings, const QString& sName)
    {
        bool bFound = false;
        return settings.Contains(sName, bFound).GetValue();
    }

    QString WriteSettings(const QByteArray& list)
    {
        return WriteFile(m_Dir, QStringLiteral("device.json"),
                         "{\"DeviceSettings\": " + list + "}");
    }
};

const QStringList c_lFresh = {"VisaResource=",
                              "DatabaseName=",
                              "DatabaseUser=",
                              "DatabasePwd=",
                              "RepeatTime=0",
                              "DurationTime=0",
                              "ErrorStrategie=0",
                              "TransducerFile=",
                              "Impedance=0",
                              "InternalReference=0",
                              "AnalogTvAverageCount=32",
                              "BERCount=10",
                              "PERSERCount=10",
                              "RestoreDevice=0",
                              "ResetDevice=0"};

TEST_F(CDeviceSettingsDataTest, FreshSettingsAndTheirTypedValues)
{
    const CDeviceSettingsData settings;
    EXPECT_EQ(Pairs(settings), c_lFresh);
    EXPECT_EQ(settings.AnalogTVAnalysisAvarageCount(), eAverageCount_32);
    EXPECT_EQ(settings.ErrorStrategie(), eMeasurementErrorStrategie_IgnoreError);
    EXPECT_EQ(settings.Impedance(), eInstrumentImpedance_50Ohm);
    EXPECT_EQ(settings.Internal10MHzReference(), eInstrumentReference_Internal10MHz);
    EXPECT_EQ(settings.DoRestoreDeviceSettings(), eRestorationDeviceSettings_Keep);
    EXPECT_EQ(settings.DoResetDeviceSettings(), eYesNo_Yes);
    EXPECT_EQ(settings.BERCount(), 10);
    EXPECT_EQ(settings.PERSERCOunt(), 10);
    EXPECT_EQ(settings.RepeatScanTime(), 0);
    EXPECT_EQ(settings.VisaResource(), QString());
}

TEST_F(CDeviceSettingsDataTest, SettersStoreTextAndReportChange)
{
    using Setter = std::function<bool(CDeviceSettingsData&)>;
    struct SRow
    {
        const char* m_pszWhat;
        Setter m_Set;
        bool m_bChanged;
        const char* m_pszName;
        const char* m_pszStored;
    };
    const SRow rows[] = {
        {"same count", [](auto& s) { return s.SetBERCount(10); }, false, "BERCount", "10"},
        {"new count", [](auto& s) { return s.SetBERCount(20); }, true, "BERCount", "20"},
        {"negative count", [](auto& s) { return s.SetPERSERCOunt(-3); }, true, "PERSERCount", "-3"},
        {"repeat time", [](auto& s) { return s.SetRepeatScanTime(4000000000UL); }, true,
         "RepeatTime", "4000000000"},
        {"same duration", [](auto& s) { return s.SetDurationTime(0); }, false, "DurationTime", "0"},
        {"text", [](auto& s) { return s.SetDatabaseName(QStringLiteral("db")); }, true,
         "DatabaseName", "db"},
        {"same text", [](auto& s) { return s.SetTransducerFile(QString()); }, false,
         "TransducerFile", ""},
        {"strategy by text",
         [](auto& s) { return s.SetErrorStrategie(QStringLiteral("Stop after error")); }, true,
         "ErrorStrategie", "2"},
        {"strategy by value",
         [](auto& s) { return s.SetErrorStrategie(eMeasurementErrorStrategie_IgnoreError); }, false,
         "ErrorStrategie", "0"},
        {"unknown strategy text",
         [](auto& s) { return s.SetErrorStrategie(QStringLiteral("stop after error")); }, true,
         "ErrorStrategie", "-1"},
        {"reference",
         [](auto& s) { return s.SetInternal10MHzReference(eInstrumentReference_External10MHz); },
         true, "InternalReference", "2"},
        {"average by text",
         [](auto& s) { return s.SetAnalogTVAnalysisAvarageCount(QStringLiteral("256")); }, true,
         "AnalogTvAverageCount", "256"},
        {"impedance by text", [](auto& s) { return s.SetImpedance(QStringLiteral("75 Ohm")); },
         true, "Impedance", "1"},
        {"restore",
         [](auto& s) { return s.SetRestoreDeviceSettings(eRestorationDeviceSettings_Restore); },
         true, "RestoreDevice", "1"},
        {"reset by text", [](auto& s) { return s.SetResetDeviceSettings(QStringLiteral("No")); },
         true, "ResetDevice", "1"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszWhat);
        CDeviceSettingsData settings;
        EXPECT_EQ(row.m_Set(settings), row.m_bChanged);
        EXPECT_EQ(Value(settings, QString::fromLatin1(row.m_pszName)),
                  QString::fromLatin1(row.m_pszStored));
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
    const QString sPath = WriteSettings("[{\"Name\": \"ErrorStrategie\", \"Value\": \"7\"},"
                                        " {\"Name\": \"Impedance\", \"Value\": \"5\"},"
                                        " {\"Name\": \"InternalReference\", \"Value\": \"-1\"},"
                                        " {\"Name\": \"AnalogTvAverageCount\", \"Value\": \"33\"},"
                                        " {\"Name\": \"RestoreDevice\", \"Value\": \"9\"},"
                                        " {\"Name\": \"ResetDevice\", \"Value\": \"x\"},"
                                        " {\"Name\": \"BERCount\", \"Value\": \"99999999999\"},"
                                        " {\"Name\": \"PERSERCount\", \"Value\": \"12abc\"},"
                                        " {\"Name\": \"RepeatTime\", \"Value\": \"1e30\"},"
                                        " {\"Name\": \"DurationTime\", \"Value\": \"86400\"}]");
    CDeviceSettingsData settings;
    ASSERT_TRUE(settings.Read(sPath));
    EXPECT_EQ(settings.ErrorStrategie(), 3);
    EXPECT_EQ(settings.Impedance(), 2);
    EXPECT_EQ(settings.Internal10MHzReference(), 3);
    EXPECT_EQ(settings.AnalogTVAnalysisAvarageCount(), 0);
    EXPECT_EQ(settings.DoRestoreDeviceSettings(), 2);
    // Malformed numbers read as 0, which is the stored id of "Yes".
    EXPECT_EQ(settings.DoResetDeviceSettings(), eYesNo_Yes);
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
        WriteSettings("[{\"Name\": \"VisaResource\", \"Value\": \"TCPIP::10.0.0.2::INSTR\"}]")));
    EXPECT_EQ(Pairs(settings), (QStringList{"VisaResource=TCPIP::10.0.0.2::INSTR",
                                            "RestoreDevice=0", "ResetDevice=0"}));
    EXPECT_EQ(settings.BERCount(), 10);
    EXPECT_EQ(settings.PERSERCOunt(), 10);
    EXPECT_EQ(settings.ErrorStrategie(), 0);
    EXPECT_EQ(settings.AnalogTVAnalysisAvarageCount(), 0);
    EXPECT_EQ(settings.DatabaseUser(), QString());
    EXPECT_FALSE(settings.SetBERCount(5));
    EXPECT_FALSE(settings.SetDatabaseUser(QStringLiteral("x")));
    EXPECT_EQ(Pairs(settings).size(), 3);

    // Unknown names stay, the file's order is kept, the first of two equal names answers.
    ASSERT_TRUE(settings.Read(WriteSettings("[{\"Name\": \"ResetDevice\", \"Value\": \"1\"},"
                                            " {\"Name\": \"Extra\", \"Value\": \"e\"},"
                                            " {\"Name\": \"BERCount\", \"Value\": \"3\"},"
                                            " {\"Name\": \"BERCount\", \"Value\": \"4\"}]")));
    EXPECT_EQ(Pairs(settings), (QStringList{"ResetDevice=1", "Extra=e", "BERCount=3", "BERCount=4",
                                            "RestoreDevice=0"}));
    EXPECT_EQ(settings.BERCount(), 3);
    EXPECT_EQ(settings.DoResetDeviceSettings(), eYesNo_No);
}

TEST_F(CDeviceSettingsDataTest, WriteThenReadGivesTheSameSettings)
{
    CDeviceSettingsData written;
    written.SetVisaResource(QStringLiteral("TCPIP::192.168.1.5::INSTR"));
    written.SetDatabaseName(QStringLiteral("postgresql://db.example:5432/measure"));
    written.SetDatabasePwd(QStringLiteral("p\"w\\d ü"));
    written.SetDurationTime(3600);
    written.SetAnalogTVAnalysisAvarageCount(eAverageCount_128);
    const QString sPath = m_Dir.filePath(QStringLiteral("device.json"));
    ASSERT_TRUE(written.Write(sPath));
    EXPECT_TRUE(ParsesWithPython(sPath));

    const QJsonObject jFile = ReadObject(sPath);
    EXPECT_EQ(jFile.keys(), QStringList{QStringLiteral("DeviceSettings")});
    const QJsonArray jList = jFile[QStringLiteral("DeviceSettings")].toArray();
    ASSERT_EQ(jList.size(), 15);
    EXPECT_EQ(jList[4].toObject(), (QJsonObject{{"Name", "RepeatTime"}, {"Value", "0"}}));
    EXPECT_EQ(jList[10].toObject(),
              (QJsonObject{{"Name", "AnalogTvAverageCount"}, {"Value", "128"}}));

    CDeviceSettingsData readBack;
    readBack.SetBERCount(1);
    ASSERT_TRUE(readBack.Read(sPath));
    EXPECT_EQ(Pairs(readBack), Pairs(written));
    EXPECT_EQ(readBack.DatabasePwd(), QStringLiteral("p\"w\\d ü"));

    ASSERT_TRUE(CDeviceSettingsData().Write(sPath));
    ASSERT_TRUE(readBack.Read(sPath));
    EXPECT_EQ(Pairs(readBack), c_lFresh);
    EXPECT_TRUE(TakeLog().isEmpty());
}

TEST_F(CDeviceSettingsDataTest, CopiesCarryTheList)
{
    CDeviceSettingsData original;
    original.SetVisaResource(QStringLiteral("v"));
    CDeviceSettingsData copy(original);
    CDeviceSettingsData assigned;
    assigned = original;
    original.SetVisaResource(QStringLiteral("changed"));
    EXPECT_EQ(copy.VisaResource(), QStringLiteral("v"));
    EXPECT_EQ(assigned.VisaResource(), QStringLiteral("v"));
    EXPECT_EQ(Pairs(copy), Pairs(assigned));
}

TEST_F(CDeviceSettingsDataTest, BadFilesFailOrFallBackWithoutHarm)
{
    QByteArray many = "{\"DeviceSettings\": [";
    for (int i = 0; i < 20000; ++i)
    {
        many += QStringLiteral("{\"Name\": \"BERCount\", \"Value\": \"%1\"},").arg(i).toUtf8();
    }
    many += "7]}";

    struct SRow
    {
        const char* m_pszName;
        QByteArray m_Content; ///< null: no file at all
        bool m_bRead;
        int m_iItems; ///< list size afterwards
        int m_iBERCount;
        const char* m_pszLog;
    };
    const char* pszNoObject = "No JSON object found in file: \"%1\".\n";
    const SRow rows[] = {
        {"missing file", QByteArray(), false, 15, 42, "Could not load JSON file: %1.\n"},
        {"empty file", QByteArray(""), false, 15, 42, pszNoObject},
        {"top-level array", "[{\"DeviceSettings\": []}]", false, 15, 42, pszNoObject},
        {"truncated", "{\"DeviceSettings\": [{\"Name\": \"Visa", false, 15, 42, pszNoObject},
        {"binary garbage", QByteArray("\xef\xbb\xbf\x00\x01\x02\x03", 7), false, 15, 42,
         pszNoObject},
        {"no member", "{}", true, 2, 10, nullptr},
        {"member not an array", "{\"DeviceSettings\": {\"Name\": \"BERCount\"}}", true, 2, 10,
         nullptr},
        {"records not objects", "{\"DeviceSettings\": [\"BERCount\", 5, null]}", true, 5, 10,
         nullptr},
        {"mistyped members", "{\"DeviceSettings\": [{\"Name\": 7, \"Value\": 10}]}", true, 3, 10,
         nullptr},
        {"thousands of records", many, true, 20003, 0, nullptr},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszName);
        const QString sPath = row.m_Content.isNull()
                                  ? m_Dir.filePath(QStringLiteral("none.json"))
                                  : WriteFile(m_Dir, QStringLiteral("device.json"), row.m_Content);
        CDeviceSettingsData settings;
        settings.SetBERCount(42);
        EXPECT_EQ(settings.Read(sPath), row.m_bRead);
        EXPECT_EQ(static_cast<int>(settings.GetDeviceSettings().GetDeviceSettingsItem().size()),
                  row.m_iItems);
        const QStringList lExpectedLog =
            row.m_pszLog ? QStringList{QString::fromLatin1(row.m_pszLog).arg(sPath)}
                         : QStringList();
        EXPECT_EQ(TakeLog(), lExpectedLog);
        EXPECT_EQ(settings.BERCount(), row.m_bRead && row.m_iItems < 20000 ? 10
                                       : row.m_bRead                       ? 0
                                                                           : 42);
        EXPECT_EQ(settings.DoRestoreDeviceSettings(), eRestorationDeviceSettings_Keep);
    }

    CDeviceSettingsData settings;
    EXPECT_FALSE(settings.Read(QString()));
    EXPECT_TRUE(TakeLog().isEmpty());
    EXPECT_FALSE(settings.Write(m_Dir.filePath(QStringLiteral("no/such/folder/device.json"))));
    EXPECT_EQ(TakeLog().size(), 1);
}

} // namespace

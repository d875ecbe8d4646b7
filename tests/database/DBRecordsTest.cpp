#include "CDBExportFiles.h"
#include "CDBMeasurement.h"
#include "CDBScanData.h"
#include "CDBSessionData.h"
#include "COSAbstraction.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace LumoraMeasurement;

TEST(DBRecords, MeasurementStartsWithNoItemAndNoState)
{
    const CDBMeasurement def;
    EXPECT_EQ(def.GetSessionId(), 0);
    EXPECT_EQ(def.GetScanId(), 0);
    EXPECT_EQ(def.GetChannelId(), 0);
    EXPECT_EQ(def.GetMeasurementId(), 0);
    EXPECT_TRUE(def.GetValue().isEmpty());
    EXPECT_TRUE(def.GetErrorDescription().isEmpty());
    EXPECT_EQ(def.GetMeasurementItem(), -1);
    EXPECT_EQ(def.GetMeasurementState(), -1);

    const CDBMeasurement ids(1, 2, 3, 4);
    EXPECT_EQ(ids.GetSessionId(), 1);
    EXPECT_EQ(ids.GetScanId(), 2);
    EXPECT_EQ(ids.GetChannelId(), 3);
    EXPECT_EQ(ids.GetMeasurementId(), 4);
    EXPECT_EQ(ids.GetMeasurementItem(), -1);
    EXPECT_EQ(ids.GetMeasurementState(), -1);
}

TEST(DBRecords, ScanDataStartsWithoutScanAndStampsNow)
{
    const QString sBefore = OrvelFramework::COSAbstraction::GetFormattedDateTime();
    const CDBScanData scan(7);
    const QString sAfter = OrvelFramework::COSAbstraction::GetFormattedDateTime();
    EXPECT_EQ(scan.GetScanId(), 0);
    EXPECT_EQ(scan.GetSessionId(), 7);
    EXPECT_EQ(scan.GetState(), -1);
    EXPECT_TRUE(scan.DateTime() == sBefore || scan.DateTime() == sAfter)
        << scan.DateTime().toStdString();

    const CDBScanData withId(7, 3);
    EXPECT_EQ(withId.GetScanId(), 3);
    EXPECT_EQ(withId.GetSessionId(), 7);
    EXPECT_EQ(withId.GetState(), -1);
}

TEST(DBRecords, SessionFromIdIsEmptyWithScanCountZero)
{
    const CDBSessionData session(42);
    EXPECT_EQ(session.GetSessionId(), 42);
    EXPECT_EQ(session.ScanCount(), 0);
    QString sLimit = "x", sChannel = "x";
    session.GetAssociatedFiles(sLimit, sChannel);
    EXPECT_TRUE(sLimit.isEmpty());
    EXPECT_TRUE(sChannel.isEmpty());
    EXPECT_TRUE(session.UniqueIdentifier().isEmpty());
}

// Every field distinct, so a swapped argument or accessor shows.
TEST(DBRecords, SessionFullConstructorTakesChannelFileBeforeLimitFile)
{
    const CDBSessionData s(9, "uid", "desc", "first", "last", "site", "tp", "name", "enr", "tnr",
                           "mail", "hw", "fw", "sw", "snr", "owner", 17, "channelFile",
                           "limitFile");
    EXPECT_EQ(s.GetSessionId(), 9);
    EXPECT_EQ(s.UniqueIdentifier(), "uid");
    EXPECT_EQ(s.Description(), "desc");
    EXPECT_EQ(s.FirstRun(), "first");
    EXPECT_EQ(s.LastRun(), "last");
    EXPECT_EQ(s.ScanCount(), 17);
    QString a, b, c, d, e;
    s.GetSessionLocationData(a, b);
    EXPECT_EQ(QStringList({a, b}), QStringList({"site", "tp"}));
    s.GetSessionUserData(a, b, c, d);
    EXPECT_EQ(QStringList({a, b, c, d}), QStringList({"name", "enr", "tnr", "mail"}));
    s.GetHardwareInfoData(a, b, c, d, e);
    EXPECT_EQ(QStringList({a, b, c, d, e}), QStringList({"hw", "fw", "sw", "snr", "owner"}));
    s.GetAssociatedFiles(a, b);
    EXPECT_EQ(a, "limitFile");
    EXPECT_EQ(b, "channelFile");
}

TEST(DBRecords, SessionSettersRoundTrip)
{
    CDBSessionData s(1);
    s.SetSessionLocationData("site", "tp");
    s.SetSessionUserData("name", "enr", "tnr", "mail");
    s.SetHardwareInfoData("hw", "fw", "sw", "snr", "owner");
    s.SetAssociatedFiles(12, 5);
    QString a, b, c, d, e;
    s.GetSessionLocationData(a, b);
    EXPECT_EQ(QStringList({a, b}), QStringList({"site", "tp"}));
    s.GetSessionUserData(a, b, c, d);
    EXPECT_EQ(QStringList({a, b, c, d}), QStringList({"name", "enr", "tnr", "mail"}));
    s.GetHardwareInfoData(a, b, c, d, e);
    EXPECT_EQ(QStringList({a, b, c, d, e}), QStringList({"hw", "fw", "sw", "snr", "owner"}));
    s.GetAssociatedFiles(a, b);
    EXPECT_EQ(a, "12");
    EXPECT_EQ(b, "5");
}

TEST(DBRecords, ExportFilesConstructors)
{
    const CDBExportFiles idOnly("u1");
    EXPECT_EQ(idOnly.GetUniqueId(), "u1");
    EXPECT_TRUE(idOnly.GetExportFile().isEmpty());
    EXPECT_TRUE(idOnly.GetDescription().isEmpty());

    const CDBExportFiles full("u2", "ZmlsZQ==", "d");
    EXPECT_EQ(full.GetUniqueId(), "u2");
    EXPECT_EQ(full.GetExportFile(), "ZmlsZQ==");
    EXPECT_EQ(full.GetDescription(), "d");
}

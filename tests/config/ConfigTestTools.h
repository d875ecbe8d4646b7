#pragma once

#include "CDeviceSettingsData.h"
#include "CEnumTemplate.h"
#include "CMeasConfigData.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QVariant>

#include "TestDataTable.h"

namespace ConfigTest
{

/// Rows of a tab-separated fixture in tests/data/config, without its header line.
inline std::vector<QStringList> DataRows(const char* pszFile)
{
    return MdaTest::ReadDataTable(QStringLiteral("config/") + QString::fromUtf8(pszFile));
}

/// The enumerator a fixture names by its text ("None" names the sentinel).
template <typename E> E Enum(const QString& sText)
{
    const E eValue = LumoraMeasurement::CEnumTemplate<E>::TextToEnum(sText);
    EXPECT_TRUE(sText == QLatin1String("None") ||
                eValue != LumoraMeasurement::CEnumTemplate<E>::Sentinel())
        << sText.toStdString();
    return eValue;
}

/// A fixture's typed number ("d:1.5", "i:3", "u:0", "s:text"); empty for an unset value.
inline QVariant Typed(const QString& sCell)
{
    const QString sValue = sCell.mid(2);
    const char cType = sCell.isEmpty() ? ' ' : sCell[0].toLatin1();
    return cType == 'd'   ? QVariant(sValue.toDouble())
           : cType == 'i' ? QVariant(sValue.toInt())
           : cType == 'u' ? QVariant(sValue.toUInt())
           : cType == 's' ? QVariant(sValue)
                          : QVariant();
}

/// A name/value list as "Name=Value" lines, in its order.
template <typename T> QStringList Pairs(const std::vector<T>& items)
{
    QStringList lPairs;
    for (const auto& item : items)
    {
        lPairs.append(item.GetName() + QLatin1Char('=') + item.GetValue());
    }
    return lPairs;
}
inline QStringList Pairs(const LumoraMeasurement::CDeviceSettingsData& settings)
{
    return Pairs(settings.GetDeviceSettings().GetDeviceSettingsItem());
}
inline QStringList Pairs(const LumoraMeasurement::CMeasConfigData& config)
{
    return Pairs(config.GetMeasurementConfigSettings().GetMeasurementConfigSettingsItem());
}

using namespace MdaTest;

/// The path of a file in tests/data/config.
inline QString DataFile(const char* pszName)
{
    return QStringLiteral(MDA_TEST_DATA_DIR "/config/") + QString::fromUtf8(pszName);
}

inline QJsonObject ReadObject(const QString& sPath)
{
    return QJsonDocument::fromJson(ReadBytes(sPath)).object();
}

/// Every test starts with an empty log, logging switched on and a fresh folder.
class LogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        OrvelFramework::CLoggingDataProvider::m_bIsLoggingPossible.store(true);
        LogStream().ClearMessages();
        ASSERT_TRUE(m_Dir.isValid());
    }
    void TearDown() override { SetUp(); }

    /// A document holding one list under sKey, in the folder.
    QString WriteList(const char* pszKey, const QByteArray& list) const
    {
        return WriteFile(m_Dir, QStringLiteral("list.json"),
                         "{\"" + QByteArray(pszKey) + "\": " + list + "}");
    }

    QTemporaryDir m_Dir;
};

} // namespace ConfigTest

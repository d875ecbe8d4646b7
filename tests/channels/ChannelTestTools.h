#pragma once

#include "CChannelTableData.h"
#include "CEnumTemplate.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include "TestDataTable.h"

#include <vector>

namespace ChannelTest
{

/// Rows of a tab-separated fixture in tests/data/channels, without its header line.
inline std::vector<QStringList> DataRows(const char* pszFile)
{
    return MdaTest::ReadDataTable(QStringLiteral("channels/") + QString::fromUtf8(pszFile));
}

/// A fixture's '|'-separated list; empty for an empty cell.
inline QStringList List(const QString& sCell)
{
    return sCell.isEmpty() ? QStringList() : sCell.split(QLatin1Char('|'));
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

/// A table of one channel per name, all of one standard (names made unique as they are added).
inline LumoraMeasurement::CChannelTableData TableOf(LumoraMeasurement::ETVStandards eStandard,
                                                    const QStringList& lNames)
{
    LumoraMeasurement::CChannelTableData table;
    for (const QString& sName : lNames)
    {
        table.AddChannel(LumoraMeasurement::CChannelData(eStandard, sName),
                         LumoraMeasurement::CChannelTableData::c_lAppendRow);
    }
    return table;
}

} // namespace ChannelTest

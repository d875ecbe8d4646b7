#pragma once

#include "CChannelTableData.h"
#include "CEnumTemplate.h"

#include "../config/ConfigTestTools.h"

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
    return sCell.isEmpty() ? QStringList() : sCell.split('|');
}

// The enumerator a fixture names by its text, as in the configuration tests.
using ConfigTest::Enum;

using namespace LumoraMeasurement;

/// A table of one channel per name, all of one standard (names made unique as they are added).
inline CChannelTableData TableOf(ETVStandards eStandard, const QStringList& lNames)
{
    CChannelTableData table;
    for (const QString& sName : lNames)
    {
        table.AddChannel(CChannelData(eStandard, sName), CChannelTableData::c_lAppendRow);
    }
    return table;
}

/// A table with one row per TV standard, in the order of the standards' table, named after it.
inline CChannelTableData TableOfEveryStandard()
{
    CChannelTableData table;
    for (const auto& row : CRepresentation<ETVStandards>::Table())
    {
        table.AddChannel(CChannelData(row.m_eEnumValue, row.m_sText),
                         CChannelTableData::c_lAppendRow);
    }
    return table;
}

} // namespace ChannelTest

#include "SDocumentFinding.h"

#include <gtest/gtest.h>

#include <utility>

using namespace LumoraMeasurement;

// A message built by substituting one text after another rewrote its own data: a file named
// "%1 %2.json" had the row number put into its name, and the row number was lost. The channel
// table's messages are checked with such names in CChannelTableDataTest.cpp.
TEST(PercentSignsInMessages, FindingKeepsFileAndMessageAsWritten)
{
    const std::pair<SDocumentFinding, const char*> rows[] = {
        {{"plain.limit", 3, 7, {}, "no number"}, "plain.limit:3:7: no number"},
        {{"/a/%1 %2.limit", 12, 1, {}, "x"}, "/a/%1 %2.limit:12:1: x"},
        {{"b.channel", 0, 0, {}, "%1 is not %2"}, "b.channel:0:0: %1 is not %2"},
        {{"%3%2%1", 4, 5, {}, "100% %9\nnext line"}, "%3%2%1:4:5: 100% %9 next line"},
    };
    for (const auto& [finding, pszExpected] : rows)
    {
        SCOPED_TRACE(finding.m_sFile.toStdString());
        EXPECT_EQ(finding.ToString(), QString::fromUtf8(pszExpected));
    }
}

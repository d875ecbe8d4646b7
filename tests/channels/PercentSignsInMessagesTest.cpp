#include "ChannelTestTools.h"
#include "SDocumentFinding.h"

#include <gtest/gtest.h>

using namespace LumoraMeasurement;

// A message built by substituting one text after another rewrote its own data: a file named
// "%1 %2.json" had the row number put into its name, and the row number was lost. The channel
// table's messages are checked with such names in CChannelTableDataTest.cpp.
TEST(PercentSignsInMessages, FindingKeepsFileAndMessageAsWritten)
{
    for (const QStringList& r : ChannelTest::DataRows("finding_texts.tsv"))
    {
        SCOPED_TRACE(r[0].toStdString());
        const SDocumentFinding finding{
            r[0], r[1].toInt(), r[2].toInt(), {}, QString(r[3]).replace("\\n", "\n")};
        EXPECT_EQ(finding.ToString(), r[4]);
    }
}

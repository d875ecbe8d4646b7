#include "CMeasurementItem.h"
#include "CEnumTemplate.h"
#include "EMeasurementItemState.h"
#include "VocabularyTestData.h"

#include <functional>
#include <map>
#include <memory>

using namespace LumoraMeasurement;

namespace
{

// Applies the step a fixture row names to the cell.
void Step(CMeasurementItem& cell, const QStringList& row)
{
    const auto eUnit = static_cast<EUnitTypes>(row[3].toInt());
    const std::map<QString, std::function<void()>> steps = {
        {"float", [&] { cell.Set(row[2].toDouble(), eUnit); }},
        {"short", [&] { cell.Set(row[2].toShort(), eUnit); }},
        {"text", [&] { cell.Set(row[2], eUnit); }},
        {"bool", [&] { cell.Set(row[2] == "1", eUnit); }},
        {"enum", [&] { cell.SetEnum(row[2].toLong()); }},
        {"error", [&] { cell.SetToErrorState(); }},
        {"notimpl", [&] { cell.SetToNotImplemented(); }},
        {"outofrange", [&] { cell.SetOutOfRange(); }},
        {"state", [&] { cell.SetState(static_cast<EMeasurementItemState>(row[2].toInt())); }}};
    steps.at(row[1])();
}

// The state's text and which of the state questions the cell answers with yes.
QString StateOf(const CMeasurementItem& cell)
{
    return CEnumTemplate<EMeasurementItemState>::ToString(cell.State()) + "|" +
           QString::number(cell.HasValidMeasurementData()) + QString::number(cell.IsNotSet()) +
           QString::number(cell.IsInErrorState()) + QString::number(cell.IsNotImplemented());
}

} // namespace

// Floating values are written with six significant digits; as an integer the truncated value
// keeps its low 16 bits, as does SetEnum. A store of another value type changes nothing; a
// store without unit keeps the unit set before; state setters keep the value.
TEST(CMeasurementItem, ConstructionAndStepsThatConvertAndKeepTheirState)
{
    for (const QStringList& row : VocabularyTest::ReadRows("fresh_cells.tsv", 5))
    {
        SCOPED_TRACE(row[1].toStdString());
        const CMeasurementItem cell(static_cast<EMeasurementItems>(row[0].toInt()));
        // Id, name, value type, unit and text.
        EXPECT_EQ(
            QStringList({QString::number(cell.Id()), cell.Name(), QString::number(cell.ValueType()),
                         QString::number(cell.Unit()), cell.ToString()}),
            row);
        EXPECT_EQ(StateOf(cell), "Only Initialized|0100");
    }
    const CMeasurementItem defaultCell;
    EXPECT_EQ(defaultCell.Id(), eMeasItem_None);
    EXPECT_EQ(defaultCell.ToString(), QStringLiteral("0 "));
    std::unique_ptr<CMeasurementItem> pCell;
    for (const QStringList& row : VocabularyTest::ReadRows("measurement_item_steps.tsv", 10))
    {
        SCOPED_TRACE(row.join("|").toStdString());
        if (!row[0].isEmpty())
        {
            pCell =
                std::make_unique<CMeasurementItem>(static_cast<EMeasurementItems>(row[0].toInt()));
        }
        Step(*pCell, row);
        const CMeasurementItem& cell = *pCell;
        // "-" leaves a column unchecked.
        EXPECT_TRUE(row[4] == "-" || cell.ToString() == row[4]) << cell.ToString().toStdString();
        EXPECT_TRUE(row[5] == "-" || cell.ToInt() == row[5].toShort()) << cell.ToInt();
        EXPECT_TRUE(row[6] == "-" || cell.ToFloat() == row[6].toDouble()) << cell.ToFloat();
        EXPECT_TRUE(row[7] == "-" || cell.ToBool() == (row[7] == "1"));
        EXPECT_TRUE(row[8] == "-" || cell.Unit() == row[8].toInt()) << cell.Unit();
        EXPECT_TRUE(row[9] == "-" || StateOf(cell) == row[9]) << StateOf(cell).toStdString();
    }
}

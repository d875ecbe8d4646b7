#include "CChannelItemData.h"
#include "CChannelItemDataMeasurement.h"
#include "ChannelTestTools.h"

#include <functional>
#include <map>
#include <memory>

using namespace LumoraMeasurement;
using namespace ChannelTest;

namespace
{

// A unit by its text in the unit table; empty for none.
EUnitTypes Unit(const QString& sName)
{
    return sName.isEmpty() ? eUnitType_None : Enum<EUnitTypes>(sName);
}

// Whether the step of a fixture row reported a change; each store goes to its own overload.
template <typename Cell> bool Step(Cell& cell, const QStringList& r)
{
    using Int = decltype(cell.ToInt());
    const EUnitTypes eUnit = Unit(r[3] == "-" ? QString() : r[3]);
    const std::map<QString, std::function<bool()>> steps = {
        {"-", [] { return false; }},
        {"text", [&] { return cell.Set(r[2], eUnit); }},
        {"literal", [&] { return cell.Set(r[2].toUtf8().constData(), eUnit); }},
        {"float", [&] { return cell.Set(r[2].toDouble(), eUnit); }},
        {"long", [&] { return cell.Set(static_cast<Int>(r[2].toLongLong()), eUnit); }},
        {"bool", [&] { return cell.Set(r[2] == "true", eUnit); }},
        {"error", [&] { return cell.SetToErrorState(), false; }},
        {"notimpl", [&] { return cell.SetToNotImplemented(), false; }}};
    return steps.at(r[1])();
}

// The states a cell reports, e.g. "valid" or "error"; a cell in none of them reports nothing.
template <typename Cell> QString States(const Cell& cell)
{
    QStringList states = {cell.HasValidMeasurementData() ? "valid" : "",
                          cell.IsNotSet() ? "notset" : "", cell.IsInErrorState() ? "error" : "",
                          cell.IsNotImplemented() ? "notimpl" : ""};
    states.removeAll(QString());
    return states.join('+');
}

// Rows of steps on one cell each, a row with an item starting a new cell; "-" checks nothing.
template <typename Cell, typename Item> void RunCellSteps(const char* pszFile)
{
    std::unique_ptr<Cell> pCell;
    for (const QStringList& r : DataRows(pszFile))
    {
        SCOPED_TRACE(r.join('|').toStdString());
        if (!r[0].isEmpty())
        {
            pCell = std::make_unique<Cell>(Enum<Item>(r[0]));
        }
        const bool bChanged = Step(*pCell, r);
        const Cell cell = *pCell; // a copy shows the same
        const auto Checked = [](const QString& sCell) { return sCell != "-"; };
        EXPECT_TRUE(!Checked(r[4]) || bChanged == (r[4] == "true"));
        EXPECT_TRUE(!Checked(r[5]) || cell.ToString() == r[5]) << cell.ToString().toStdString();
        EXPECT_TRUE(!Checked(r[6]) || cell.ToInt() == r[6].toLongLong()) << cell.ToInt();
        EXPECT_TRUE(!Checked(r[7]) || cell.ToFloat() == r[7].toDouble()) << cell.ToFloat();
        EXPECT_TRUE(!Checked(r[8]) || cell.ToBool() == (r[8] == "true"));
        EXPECT_TRUE(!Checked(r[9]) || cell.Unit() == Unit(r[9]));
        EXPECT_TRUE(!Checked(r[10]) || States(cell) == r[10]) << States(cell).toStdString();
    }
}

} // namespace

// A measurement cell reports a change on every store of its own value type.
TEST(CChannelCells, StoresConvertsAndShowsPerItem)
{
    RunCellSteps<CChannelItemData, ESettingsItems>("cell_values.tsv");
    RunCellSteps<CChannelItemDataMeasurement, EMeasurementItems>("measurement_cell_values.tsv");
    const CChannelItemDataMeasurement none;
    EXPECT_TRUE(none.Id() == eMeasItem_None && none.IsNotSet());
}

#include "editor/EditorGroups.h"
#include "model/SignalGroups.h"
#include "tests/editor/TestModules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Labels that cannot be mistaken for one another or for a signal group.
GroupLabels testLabels()
{
    GroupLabels labels;
    for (int k = 1; k <= kGroupLabelCount; ++k)
        labels.lines[static_cast<std::size_t>(k)] = "G" + std::to_string(k);
    return labels;
}

// The kind's entries of the signal-group file; every other kind has none.
void useSignalGroups(int kind, const std::vector<SignalGroup>& groups)
{
    SignalGroupCount.fill(0);
    if (kind < 0 || kind >= kSignalGroupKinds)
        return;
    auto& table = SignalGroupTable[static_cast<std::size_t>(kind)];
    for (std::size_t n = 0; n < groups.size(); ++n)
        table[n + 1] = groups[n];
    SignalGroupCount[static_cast<std::size_t>(kind)] = static_cast<int32_t>(groups.size());
}

const ModuleRecord kra = moduleOf(0, {32, 12, 16, 2, 24, 8});
const ModuleRecord sk40 = moduleOf(1, {4, 2, 4, 3, 2, 0});
const ModuleRecord xtq = moduleOf(2, {0, 0, 0, 5, 0, 0});
const ModuleRecord lio = moduleOf(3, {16, 2, 4, 0, 16, 2});
const ModuleRecord pdx = moduleOf(5, {44, 4, 8, 2, 44, 4});
const ModuleRecord central = moduleOf(kCentralDeviceKind, {0, 0, 0, 1, 0, 0});

const std::vector<SignalGroup> kraGroups{{400, 16, "Counters"}, {500, 8, "Analog"}, {600, 0, "Empty"}};

// A pane as ten rows of sixteen characters: 'o' offered, 's' sky blue, '.' outside the data.
std::vector<std::string> paneMap(const PaneCells& pane)
{
    std::vector<std::string> rows;
    for (int row = 0; row < kPaneRows; ++row) {
        std::string text;
        for (int column = 0; column < kPaneColumns; ++column) {
            const CellState& cell = pane.cells[static_cast<std::size_t>(row * kPaneColumns + column)];
            EXPECT_EQ(cell.clickable, cell.colour == CellColour::Offered);
            text += cell.colour == CellColour::Offered ? 'o' : cell.colour == CellColour::SkyBlue ? 's' : '.';
        }
        rows.push_back(text);
    }
    return rows;
}

// The given first rows, then rows of `rest` up to ten.
std::vector<std::string> rowsThen(std::vector<std::string> first, char rest)
{
    while (first.size() < kPaneRows)
        first.emplace_back(kPaneColumns, rest);
    return first;
}

// How many row labels, from the top, are offered.
int offeredLabels(const PaneCells& pane)
{
    int count = 0;
    for (const CellState& label : pane.rowLabels)
        count += label.clickable && label.colour == CellColour::SkyBlue ? 1 : 0;
    return count;
}

} // namespace

// --- Which groups a module offers ---------------------------------------------

struct ItemsCase {
    const char* name;
    ModuleRecord module;
    std::vector<SignalGroup> signalGroups;
    std::vector<std::string> source;
    std::vector<std::string> target;
};

class GroupItems : public testing::TestWithParam<ItemsCase> {};

TEST_P(GroupItems, ListTheModulesGroupsThenBlanks)
{
    const ItemsCase& c = GetParam();
    useSignalGroups(c.module.iModulKennNr, c.signalGroups);
    const auto source = SourceGroupItems(c.module, testLabels());
    const auto target = TargetGroupItems(c.module, testLabels());
    EXPECT_EQ(std::vector<std::string>(source.begin(), source.end()), c.source);
    EXPECT_EQ(std::vector<std::string>(target.begin(), target.end()), c.target);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, GroupItems,
    testing::Values(
        ItemsCase{"KraWithSignalGroups", kra, kraGroups,
                  {"G1", "G2", "G3", "G4", "Counters", "Analog", " ", " ", " "}, {"G11", "G12"}},
        ItemsCase{"KraWithoutSignalGroups", kra, {}, {"G1", "G2", "G3", "G4", " ", " ", " ", " ", " "}, {"G11", "G12"}},
        ItemsCase{"Sk40HasNoTargetRegisters", sk40, {{60, 2, "Switches"}},
                  {"G1", "G2", "G3", "G4", "Switches", " ", " ", " ", " "}, {"G11", " "}},
        // Without source bits the first group moves up: no item is left over from another module.
        ItemsCase{"XtqHasOnlyItsSystemRegisters", xtq, {{800, 12, "Received"}},
                  {"G4", "Received", " ", " ", " ", " ", " ", " ", " "}, {" ", " "}},
        ItemsCase{"LioWithoutFourthGroup", lio, {}, {"G1", "G2", "G3", " ", " ", " ", " ", " ", " "}, {"G11", "G12"}},
        ItemsCase{"PdxHasNoSignalGroups", pdx, {}, {"G1", "G2", "G3", "G4", " ", " ", " ", " ", " "}, {"G11", "G12"}},
        ItemsCase{"CentralDevice", central, {}, {"G4", "G5", "G6", "G7", "G8", "G9", " ", " ", " "}, {" ", " "}},
        ItemsCase{"FiveSignalGroupsStopAtNineItems", kra,
                  {{400, 1, "S1"}, {401, 1, "S2"}, {402, 1, "S3"}, {403, 1, "S4"}, {404, 1, "S5"}},
                  {"G1", "G2", "G3", "G4", "S1", "S2", "S3", "S4", "S5"}, {"G11", "G12"}}),
    [](const testing::TestParamInfo<ItemsCase>& info) { return std::string(info.param.name); });

// The file's "QMX" section belongs to module kind 4, not to the central device.
TEST(GroupItemsCentral, KeepsItsSixGroupsWhateverTheSignalGroupFileHolds)
{
    useSignalGroups(4, {{1700, 8, "System flags"}});
    const auto items = SourceGroupItems(central, testLabels());
    EXPECT_EQ(items[5], "G9");
    EXPECT_EQ(items[6], " ");
}

// --- What a chosen group means ------------------------------------------------

struct GroupCase {
    const char* name;
    ModuleRecord module;
    std::string text;
    std::vector<SignalGroup> signalGroups;
    int32_t base;
    int32_t cellRows;
    int32_t labelRows;
    int32_t scrollMaximum;
    CellLayout layout;
};

class SourceGroup : public testing::TestWithParam<GroupCase> {};

TEST_P(SourceGroup, HasItsBaseRegisterRowsScrollRangeAndColumnOrder)
{
    const GroupCase& c = GetParam();
    useSignalGroups(c.module.iModulKennNr, c.signalGroups);
    const PaneGroup group = SourceGroupOf(c.module, c.text, testLabels());
    ASSERT_TRUE(group.known);
    EXPECT_EQ(group.baseRegister, c.base);
    EXPECT_EQ(group.cellRows, c.cellRows);
    EXPECT_EQ(group.labelRows, c.labelRows);
    EXPECT_EQ(group.scrollMaximum, c.scrollMaximum);
    EXPECT_EQ(group.layout, c.layout);
}

constexpr auto kBit = CellLayout::Bit;
constexpr auto kReg = CellLayout::Register;

INSTANTIATE_TEST_SUITE_P(
    EveryKind, SourceGroup,
    testing::Values(
        GroupCase{"EightBits", moduleOf(0, {8, 1}), "G1", {}, 100, 0, 1, 0, kBit},
        GroupCase{"TwentyFourBits", moduleOf(0, {24, 1}), "G1", {}, 100, 1, 2, 0, kBit},
        GroupCase{"HundredSixtyBitsFitTheWindow", moduleOf(4, {160}), "G1", {}, 100, 10, 10, 0, kBit},
        GroupCase{"TwoHundredBitsScrollTwoRegisters", moduleOf(5, {200}), "G1", {}, 100, 12, 13, 2, kBit},
        GroupCase{"SourceRegisters", kra, "G2", {}, 150, 12, 12, 2, kReg},
        GroupCase{"FewRegistersDoNotScroll", lio, "G3", {}, 200, 4, 4, 0, kReg},
        GroupCase{"FourthGroup", pdx, "G4", {}, 0, 2, 2, 0, kReg},
        GroupCase{"SignalGroup", kra, "Counters", kraGroups, 400, 16, 16, 6, kReg},
        GroupCase{"LastOfEqualNamesCounts", kra, "Twice", {{400, 4, "Twice"}, {700, 12, "Twice"}}, 700, 12, 12, 2, kReg},
        GroupCase{"FixedLabelBeatsASignalGroupOfKind0", kra, "G2", {{900, 30, "G2"}}, 150, 12, 12, 2, kReg},
        GroupCase{"Sk40Bits", sk40, "G1", {}, 42, 0, 1, 0, kBit},
        GroupCase{"Sk40Registers", sk40, "G2", {}, 43, 2, 2, 0, kReg},
        GroupCase{"Sk40SecondRegisters", sk40, "G3", {}, 45, 4, 4, 0, kReg},
        GroupCase{"Sk40SystemRegisters", sk40, "G4", {}, 0, 3, 3, 0, kReg},
        // For kinds 1 and 2 a signal group of the same name takes the place; the rows stay the label's.
        GroupCase{"Sk40SignalGroupOverridesLabel", sk40, "G2", {{60, 14, "G2"}}, 60, 2, 2, 4, kReg},
        GroupCase{"XtqSystemRegisters", xtq, "G4", {}, 0, 5, 5, 0, kReg},
        GroupCase{"CentralSystemRegisters", central, "G4", {}, 1502, 1, 1, 0, kReg},
        GroupCase{"CentralFrom1621", central, "G5", {}, 1621, 1, 1, 0, kReg},
        GroupCase{"CentralFrom1605", central, "G6", {}, 1605, 4, 4, 0, kReg},
        GroupCase{"CentralFrom1617", central, "G9", {}, 1617, 4, 4, 0, kReg},
        // Values from the signal-group file never leave the 16-bit register range.
        GroupCase{"FileGroupBeyondTheLastRegister", kra, "Far", {{70000, 2000000000, "Far"}}, 65535, 2000000000,
                  2000000000, 65535, kReg}),
    [](const testing::TestParamInfo<GroupCase>& info) { return std::string(info.param.name); });

struct UnknownCase {
    const char* name;
    ModuleRecord module;
    std::string text;
};

class UnknownSourceGroup : public testing::TestWithParam<UnknownCase> {};

TEST_P(UnknownSourceGroup, OffersNoCellAndNoRegister)
{
    const UnknownCase& c = GetParam();
    useSignalGroups(0, kraGroups);
    const PaneGroup group = SourceGroupOf(c.module, c.text, testLabels());
    EXPECT_FALSE(group.known);
    const PaneCells cells = SourceCells(group, c.module, 0);
    EXPECT_EQ(paneMap(cells), rowsThen({}, '.'));
    EXPECT_EQ(offeredLabels(cells), 0);
}

INSTANTIATE_TEST_SUITE_P(Texts, UnknownSourceGroup,
                         testing::Values(UnknownCase{"BlankItem", kra, " "},
                                         UnknownCase{"CentralLabelOnAModule", kra, "G5"},
                                         UnknownCase{"TargetLabelOnTheSourcePane", kra, "G11"},
                                         UnknownCase{"EmptySignalGroup", kra, "Empty"},
                                         UnknownCase{"AnotherKindsSignalGroup", pdx, "Counters"}),
                         [](const testing::TestParamInfo<UnknownCase>& info) { return std::string(info.param.name); });

TEST(TargetGroup, FollowsTheModuleKind)
{
    struct Case {
        ModuleRecord module;
        std::string text;
        bool known;
        int32_t base;
        int32_t labelRows;
        int32_t scrollMaximum;
        CellLayout layout;
    };
    const std::vector<Case> cases{
        {kra, "G11", true, 300, 2, 0, kBit},
        {moduleOf(0, {0, 0, 0, 0, 200, 0}), "G11", true, 300, 13, 2, kBit},
        {kra, "G12", true, 350, 8, 0, kReg},
        {moduleOf(3, {0, 0, 0, 0, 0, 30}), "G12", true, 350, 30, 20, kReg},
        {sk40, "G11", true, 3, 9, 0, kBit},
        {moduleOf(1, {0, 0, 0, 0, 2, 14}), "G12", true, 49, 9, 4, kReg},
        {xtq, "G11", false, 0, 0, 0, kReg},
        {central, "G12", false, 0, 0, 0, kReg},
        {kra, " ", false, 0, 0, 0, kReg},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const PaneGroup group = TargetGroupOf(c.module, c.text, testLabels());
        EXPECT_EQ(group.known, c.known) << "case " << i;
        EXPECT_EQ(group.baseRegister, c.base) << "case " << i;
        EXPECT_EQ(group.labelRows, c.labelRows) << "case " << i;
        EXPECT_EQ(group.scrollMaximum, c.scrollMaximum) << "case " << i;
        EXPECT_EQ(group.layout, c.layout) << "case " << i;
    }
}

// --- Which cells can be clicked ------------------------------------------------

struct SourceCellsCase {
    const char* name;
    ModuleRecord module;
    std::string text;
    int32_t scroll;
    std::vector<std::string> map;
    int offeredLabels;
};

class SourceCellAvailability : public testing::TestWithParam<SourceCellsCase> {};

TEST_P(SourceCellAvailability, OffersTheBitsInsideTheGroupsData)
{
    const SourceCellsCase& c = GetParam();
    useSignalGroups(0, kraGroups);
    const PaneCells cells = SourceCells(SourceGroupOf(c.module, c.text, testLabels()), c.module, c.scroll);
    EXPECT_EQ(paneMap(cells), c.map);
    EXPECT_EQ(offeredLabels(cells), c.offeredLabels);
}

INSTANTIATE_TEST_SUITE_P(
    Groups, SourceCellAvailability,
    testing::Values(
        SourceCellsCase{"EightBitsFillHalfARow", moduleOf(0, {8}), "G1", 0, rowsThen({"oooooooo........"}, '.'), 1},
        // Only whole registers can be clicked bit by bit; the register labels count the started one.
        SourceCellsCase{"TwentyFourBits", moduleOf(0, {24}), "G1", 0, rowsThen({std::string(16, 'o')}, '.'), 2},
        SourceCellsCase{"HundredSixtyBits", moduleOf(0, {160}), "G1", 0, rowsThen({}, 'o'), 10},
        SourceCellsCase{"TwoHundredBitsScrolledToTheEnd", moduleOf(0, {200}), "G1", 2, rowsThen({}, 'o'), 10},
        SourceCellsCase{"SignalGroupOfSixteenScrolledBySix", kra, "Analog", 0,
                        rowsThen({std::string(16, 'o'), std::string(16, 'o'), std::string(16, 'o'),
                                  std::string(16, 'o'), std::string(16, 'o'), std::string(16, 'o'),
                                  std::string(16, 'o'), std::string(16, 'o')},
                                 '.'),
                        8},
        SourceCellsCase{"TwelveRegistersScrolledToTheEnd", kra, "G2", 2, rowsThen({}, 'o'), 10},
        // A short bit group does not leak into another group's first row.
        SourceCellsCase{"RegisterGroupWithoutRows", moduleOf(0, {8, 0, 0, 0}), "G2", 0, rowsThen({}, '.'), 0}),
    [](const testing::TestParamInfo<SourceCellsCase>& info) { return std::string(info.param.name); });

struct TargetCellsCase {
    const char* name;
    ModuleRecord module;
    std::string text;
    int32_t scroll;
    int32_t selectedBits;
    std::vector<std::string> map;
};

class TargetCellAvailability : public testing::TestWithParam<TargetCellsCase> {};

TEST_P(TargetCellAvailability, OffersStartsWhereTheWholeRangeFits)
{
    const TargetCellsCase& c = GetParam();
    const PaneCells cells =
        TargetCells(TargetGroupOf(c.module, c.text, testLabels()), c.module, c.scroll, c.selectedBits);
    EXPECT_EQ(paneMap(cells), c.map);
}

INSTANTIATE_TEST_SUITE_P(
    Groups, TargetCellAvailability,
    testing::Values(
        TargetCellsCase{"NothingSelectedNothingOffered", kra, "G11", 0, 0,
                        rowsThen({std::string(16, 's'), "ssssssss........"}, '.')},
        TargetCellsCase{"EightBitsIntoTwentyFour", kra, "G11", 0, 8,
                        rowsThen({std::string(16, 'o'), "osssssss........"}, '.')},
        TargetCellsCase{"OneBitIntoTwentyFour", kra, "G11", 0, 1,
                        rowsThen({std::string(16, 'o'), "oooooooo........"}, '.')},
        TargetCellsCase{"RegisterIntoEightRegisters", kra, "G12", 0, 16,
                        rowsThen({std::string(16, 'o'), std::string(16, 'o'), std::string(16, 'o'),
                                  std::string(16, 'o'), std::string(16, 'o'), std::string(16, 'o'),
                                  std::string(16, 'o'), "osssssssssssssss"},
                                 '.')},
        TargetCellsCase{"SixtyFourBitsScrolledBitGroup", moduleOf(0, {0, 0, 0, 0, 200, 0}), "G11", 2, 64,
                        rowsThen({std::string(16, 'o'), std::string(16, 'o'), std::string(16, 'o'),
                                  std::string(16, 'o'), std::string(16, 'o'), std::string(16, 'o'),
                                  "ooooooooosssssss", std::string(16, 's'), std::string(16, 's'),
                                  std::string(16, 's')},
                                 '.')},
        TargetCellsCase{"ModuleWithoutTargets", xtq, " ", 0, 8, rowsThen({}, '.')}),
    [](const testing::TestParamInfo<TargetCellsCase>& info) { return std::string(info.param.name); });

TEST(RowLabels, ShowTheRegisterOfEachVisibleRow)
{
    useSignalGroups(0, {});
    const PaneCells cells = SourceCells(SourceGroupOf(kra, "G2", testLabels()), kra, 2);
    EXPECT_EQ(cells.rowRegisters[0], 152);
    EXPECT_EQ(cells.rowRegisters[9], 161);
    const PaneCells target = TargetCells(TargetGroupOf(kra, "G11", testLabels()), kra, 0, 0);
    EXPECT_EQ(target.rowRegisters[1], 301);
    EXPECT_EQ(target.rowLabels[1].colour, CellColour::SkyBlue);
    EXPECT_EQ(target.rowLabels[2].colour, CellColour::OutsideData);
}

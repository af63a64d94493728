#include "editor/rules/EditorGroups.h"
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
SignalGroupSet signalGroupsOf(int kind, const std::vector<SignalGroup>& groups)
{
    SignalGroupSet set;
    if (kind < 0 || kind >= kSignalGroupKinds)
        return set;
    auto& table = set.SignalGroupTable[static_cast<std::size_t>(kind)];
    for (std::size_t n = 0; n < groups.size(); ++n)
        table[n + 1] = groups[n];
    set.SignalGroupCount[static_cast<std::size_t>(kind)] = static_cast<int32_t>(groups.size());
    return set;
}

const ModuleRecord kra = moduleOf(0, {32, 12, 16, 2, 24, 8});
const ModuleRecord sk40 = moduleOf(1, {4, 2, 4, 3, 2, 0});
const ModuleRecord xtq = moduleOf(2, {0, 0, 0, 5, 0, 0});
const ModuleRecord lio = moduleOf(3, {16, 2, 4, 0, 16, 2});
const ModuleRecord pdx = moduleOf(5, {44, 4, 8, 2, 44, 4});
const ModuleRecord central = moduleOf(kCentralDeviceKind, {0, 0, 0, 1, 0, 0});

const std::vector<SignalGroup> kraGroups{{400, 16, "Counters"}, {500, 8, "Analog"}, {600, 0, "Empty"}};

// Whether the cells of a window read, in cell order, `offered` cells that
// take a click, then sky blue ones up to `inData`, then cells outside the data.
testing::AssertionResult cellsRead(const PaneCells& pane, int offered, int inData)
{
    for (int index = 0; index < kPaneCells; ++index) {
        const CellState& cell = pane.cells[static_cast<std::size_t>(index)];
        const CellColour expected = index < offered  ? CellColour::Offered
                                    : index < inData ? CellColour::SkyBlue
                                                     : CellColour::OutsideData;
        if (cell.colour != expected || cell.clickable != (expected == CellColour::Offered))
            return testing::AssertionFailure() << "cell index " << index;
    }
    return testing::AssertionSuccess();
}

} // namespace

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
    const SignalGroupSet groups = signalGroupsOf(c.module.iModulKennNr, c.signalGroups);
    const PaneGroup group = SourceGroupOf(groups, c.module, c.text, testLabels());
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
    const PaneGroup group = SourceGroupOf(signalGroupsOf(0, kraGroups), c.module, c.text, testLabels());
    EXPECT_FALSE(group.known);
    const PaneCells cells = SourceCells(group, c.module, 0);
    EXPECT_TRUE(cellsRead(cells, 0, 0));
    for (const CellState& label : cells.rowLabels)
        EXPECT_FALSE(label.clickable);
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

struct TargetCellsCase {
    const char* name;
    ModuleRecord module;
    std::string text;
    int32_t scroll;
    int32_t selectedBits;
    int offered; // cells, from the first, where the range can start
    int inData;  // cells, from the first, that belong to the group
};

class TargetCellAvailability : public testing::TestWithParam<TargetCellsCase> {};

TEST_P(TargetCellAvailability, OffersStartsWhereTheWholeRangeFits)
{
    const TargetCellsCase& c = GetParam();
    const PaneCells cells =
        TargetCells(TargetGroupOf(c.module, c.text, testLabels()), c.module, c.scroll, c.selectedBits);
    EXPECT_TRUE(cellsRead(cells, c.offered, c.inData));
}

INSTANTIATE_TEST_SUITE_P(
    Groups, TargetCellAvailability,
    testing::Values(TargetCellsCase{"NothingSelectedNothingOffered", kra, "G11", 0, 0, 0, 24},
                    TargetCellsCase{"EightBitsIntoTwentyFour", kra, "G11", 0, 8, 17, 24},
                    TargetCellsCase{"OneBitIntoTwentyFour", kra, "G11", 0, 1, 24, 24},
                    TargetCellsCase{"RegisterIntoEightRegisters", kra, "G12", 0, 16, 113, 128},
                    // Window from the group's third register: 137 of 200 bits less 32 before it.
                    TargetCellsCase{"SixtyFourBitsScrolledBitGroup", moduleOf(0, {0, 0, 0, 0, 200, 0}), "G11", 2,
                                    64, 105, 160},
                    TargetCellsCase{"ModuleWithoutTargets", xtq, " ", 0, 8, 0, 0}),
    [](const testing::TestParamInfo<TargetCellsCase>& info) { return std::string(info.param.name); });

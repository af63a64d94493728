#include "editor/rules/LinkEditorState.h"

#include "editor/rules/LinkStepName.h"
#include "editor/rules/SelectionRules.h"
#include "tests/common/TableLinks.h"
#include "tests/editor/TestModules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One thing the user does on the editor.
struct Act {
    enum Kind { Bit, Label, Scroll, TakeOver } kind;
    Pane pane = Pane::Source;
    int a = 0; // row, or scroll position
    int bit = 0;
};
Act src(int row, int bit) { return {Act::Bit, Pane::Source, row, bit}; }
Act dst(int row, int bit) { return {Act::Bit, Pane::Target, row, bit}; }
Act label(Pane pane, int row) { return {Act::Label, pane, row}; }
Act scroll(Pane pane, int position) { return {Act::Scroll, pane, position}; }
const Act kTakeOver{Act::TakeOver};

// The steps recorded, by name; each change is carried out.
struct RecordedSteps : LinkChangeRecorder {
    void Record(const StepName& name, const std::function<void()>& change) override
    {
        change();
        names.push_back(name());
    }
    std::vector<std::string> names;
};

GroupLabels testLabels()
{
    GroupLabels labels;
    for (int k = 1; k <= kGroupLabelCount; ++k)
        labels.lines[static_cast<std::size_t>(k)] = "Gruppe " + std::to_string(k);
    return labels;
}

class EditorState : public testing::Test {
protected:
    void SetUp() override
    {
        useModulesOfEveryKind(station);
        state.useRecorder(&steps);
    }

    // Source module and group, target module and group, as a user picks them.
    void show(int32_t source, int sourceGroup, int32_t target, int targetGroup)
    {
        state.Open(testLabels());
        state.ChooseModule(Pane::Source, sourceItem(station, source));
        state.ChooseGroup(Pane::Source, sourceGroup);
        state.ChooseModule(Pane::Target, targetItem(station, target));
        state.ChooseGroup(Pane::Target, targetGroup);
    }

    EditorChange act(const Act& a)
    {
        switch (a.kind) {
        case Act::Bit:
            return state.ClickBit(a.pane, a.a * kPaneColumns + a.bit);
        case Act::Label:
            return state.ClickRegisterLabel(a.pane, a.a);
        case Act::Scroll:
            return state.Scroll(a.pane, a.a);
        case Act::TakeOver:
            return state.TakeOver();
        }
        return {};
    }

    // regQ/bitQ anzBit -> regZ/bitZ, as the selection labels show it.
    std::string selection() const
    {
        const LinkSelection& s = state.selection();
        return std::to_string(s.regQ) + "/" + std::to_string(s.bitQ) + " " + std::to_string(s.anzBit) + " -> " +
               std::to_string(s.regZ) + "/" + std::to_string(s.bitZ);
    }

    Station station;
    LinkEditorState state{station};
    RecordedSteps steps;
};

// --- Clicks in, selection, refusals and links out ---------------------------------

struct ClickCase {
    const char* name;
    int32_t source, sourceGroup, target, targetGroup;
    std::vector<LinkFields> links;
    std::vector<Act> acts;
    std::string selection;
    bool takeOverPossible;
    std::vector<int> refusals = {};     // numbered messages, in order
    std::vector<LinkFields> added = {}; // behind `links`
};

class Clicks : public EditorState, public testing::WithParamInterface<ClickCase> {};

TEST_P(Clicks, BuildTheLinkTheDeviceCanCopy)
{
    const ClickCase& c = GetParam();
    setTableLinks(station, c.links);
    show(c.source, c.sourceGroup, c.target, c.targetGroup);
    std::vector<int> refusals;
    for (const Act& a : c.acts) {
        if (const int refusal = act(a).refusal; refusal != 0)
            refusals.push_back(refusal);
    }
    EXPECT_EQ(selection(), c.selection);
    EXPECT_EQ(state.takeOverPossible(), c.takeOverPossible);
    EXPECT_EQ(refusals, c.refusals);
    std::vector<LinkFields> expected = c.links;
    expected.insert(expected.end(), c.added.begin(), c.added.end());
    EXPECT_EQ(tableLinks(station), expected);
}

const LinkFields kForeignOnTargetBits4And5{12, 100, 0, 2, 5, 300, 4, 0};
constexpr int kTaken = kMessageTargetBitTaken;
constexpr int kTooLong = kMessageSourceRangeNotAllowed;

// Module 8: 200 source bits from register 100; module 2: source registers from
// 150; module 5: 32 target bits from 300, 30 target registers from 350.
INSTANTIATE_TEST_SUITE_P(
    Editor, Clicks,
    testing::Values(
        ClickCase{"RangeThenTargetStart", 8, 0, 5, 0, {}, {src(0, 0), src(0, 7), dst(0, 6)}, "100/0 8 -> 300/6", true},
        ClickCase{"RangeTooLong", 8, 0, 5, 0, {}, {src(0, 4), src(2, 4)}, "0/0 0 -> 0/0", false, {kTooLong}},
        ClickCase{"NoTargetWithoutRange", 8, 0, 5, 0, {}, {dst(0, 0)}, "0/0 0 -> 0/0", false},
        ClickCase{"TargetOverATakenBit", 8, 0, 5, 0, {kForeignOnTargetBits4And5},
                  {src(0, 0), src(0, 7), dst(0, 0)}, "100/0 8 -> 300/0", false, {kTaken}},
        ClickCase{"TakenBitItselfIsNoStart", 8, 0, 5, 0, {kForeignOnTargetBits4And5},
                  {src(0, 0), dst(0, 4)}, "100/0 1 -> 0/0", false},
        ClickCase{"RefusedTargetIsNotTakenOver", 8, 0, 5, 0, {kForeignOnTargetBits4And5},
                  {src(0, 0), src(0, 7), dst(0, 0), kTakeOver}, "100/0 8 -> 300/0", false, {kTaken}},
        ClickCase{"NewRangeDropsTheTarget", 8, 0, 5, 0, {}, {src(0, 0), dst(0, 0), src(0, 3)}, "100/0 4 -> 0/0",
                  false},
        ClickCase{"SourceScrollDropsTheRange", 8, 0, 5, 0, {}, {src(0, 0), scroll(Pane::Source, 1)},
                  "0/0 0 -> 0/0", false},
        ClickCase{"TargetScrollKeepsTheRange", 8, 0, 5, 1, {},
                  {src(0, 0), src(0, 3), dst(0, 0), scroll(Pane::Target, 3), dst(0, 0)}, "100/0 4 -> 353/0", true},
        ClickCase{"RegisterLabel", 2, 1, 5, 0, {}, {src(0, 3), label(Pane::Source, 2)}, "152/0 16 -> 0/0", false},
        ClickCase{"TargetLabelChoosesNothing", 2, 1, 5, 0, {}, {label(Pane::Target, 0)}, "0/0 0 -> 0/0", false},
        ClickCase{"BitOutsideTheGroupChoosesNothing", 12, 0, 5, 0, {}, {src(1, 0)}, "0/0 0 -> 0/0", false},
        ClickCase{"TakeOverAddsAnInactiveLink", 8, 0, 5, 0, {}, {src(0, 4), src(0, 7), dst(1, 0), kTakeOver},
                  "0/0 0 -> 0/0", false, {}, {{8, 100, 4, 4, 5, 301, 0, 1}}},
        ClickCase{"TakeOverWithoutTargetAddsNothing", 8, 0, 5, 0, {}, {src(0, 4), kTakeOver}, "100/4 1 -> 0/0",
                  false}),
    [](const testing::TestParamInfo<ClickCase>& info) { return info.param.name; });

TEST_F(EditorState, TakeOverIsOneNamedStepAndAFullTableRefusesIt)
{
    show(8, 0, 5, 0);
    act(src(0, 0));
    act(dst(0, 0));
    EXPECT_EQ(state.TakeOver().refusal, 0);
    EXPECT_EQ(steps.names, std::vector<std::string>{LinkStepName(LinkStep::TakeOver, 1)()});

    while (station.AnzBefehle < kMaxLinks)
        ASSERT_TRUE(station.AppendLink(12, 200, 0, 1, 2, 350, 0));
    act(src(0, 2));
    act(dst(0, 2));
    EXPECT_EQ(state.TakeOver().refusal, kMessageLinkTableFull);
    EXPECT_EQ(selection(), "100/2 1 -> 300/2") << "the selection stays for after a clean-up";
    EXPECT_TRUE(state.takeOverPossible());
}

// --- What changed: the page repaints only that -------------------------------------

TEST_F(EditorState, EachActionNamesThePartsItChanged)
{
    using P = EditorChange;
    show(8, 0, 5, 1);
    const unsigned target = P::TargetCells | P::TargetMarks;
    const unsigned source = P::SourceCells | P::SourceMarks;
    struct Case {
        Act act;
        unsigned parts;
    };
    for (const Case& c : std::vector<Case>{
             {scroll(Pane::Target, 1), target | P::Selection | P::Status},
             {src(0, 0), P::SourceMarks | target | P::Selection | P::Status},
             {dst(0, 0), P::TargetMarks | P::Selection},
             {scroll(Pane::Source, 1), source | target | P::Selection | P::Status},
         })
        EXPECT_EQ(act(c.act).parts, c.parts) << c.act.kind << " at " << c.act.a;
}

// --- The link actions of a right-clicked cell ----------------------------------------

struct AnswerCase {
    const char* name;
    Pane pane;
    int cell;
    int answer; // the dialog's code for link 1
    std::vector<LinkFields> links;
    std::vector<LinkStep> steps; // on link 1
    std::string targetGroup; // chosen target group label afterwards
    int32_t targetScroll;
};

class Answers : public EditorState, public testing::WithParamInterface<AnswerCase> {};

TEST_P(Answers, AreCarriedOutAsNamedStepsAndDropTheSelection)
{
    const AnswerCase& c = GetParam();
    setTableLinks(station, {{8, 100, 0, 2, 5, 365, 4, 1}});
    show(8, 0, 5, 0);
    act(src(0, 5));
    ASSERT_FALSE(state.LinkActionsAt(Pane::Source, 5)) << "the selection offers no link actions";
    ASSERT_FALSE(state.LinkActionsAt(Pane::Source, 6)) << "nor does a free bit";
    std::optional<LinkActionOffer> offer = state.LinkActionsAt(c.pane, c.cell);
    ASSERT_TRUE(offer);
    offer->context.result = c.answer;
    state.ApplyLinkAction(offer->context);

    EXPECT_EQ(tableLinks(station), c.links);
    std::vector<std::string> names;
    for (const LinkStep step : c.steps)
        names.push_back(LinkStepName(step, 1)());
    EXPECT_EQ(steps.names, names);
    const EditorPane& target = state.pane(Pane::Target);
    EXPECT_EQ(target.groupItems[static_cast<std::size_t>(target.groupItem)], c.targetGroup);
    EXPECT_EQ(target.scroll, c.targetScroll);
    EXPECT_EQ(selection(), "0/0 0 -> 0/0");
}

INSTANTIATE_TEST_SUITE_P(
    Editor, Answers,
    testing::Values(
        AnswerCase{"Cancel", Pane::Source, 0, 0, {{8, 100, 0, 2, 5, 365, 4, 1}}, {}, "Gruppe 11", 0},
        AnswerCase{"Delete", Pane::Source, 1, 1001, {}, {LinkStep::Delete}, "Gruppe 11", 0},
        AnswerCase{"Activate", Pane::Source, 0, 4001, {{8, 100, 0, 2, 5, 365, 4, 0}},
                   {LinkStep::Activate}, "Gruppe 11", 0},
        AnswerCase{"ShowTargetEnd", Pane::Source, 0, 2001, {{8, 100, 0, 2, 5, 365, 4, 1}}, {}, "Gruppe 12", 6}),
    [](const testing::TestParamInfo<AnswerCase>& info) { return info.param.name; });

} // namespace

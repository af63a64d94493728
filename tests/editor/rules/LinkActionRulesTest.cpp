#include "editor/rules/LinkActionRules.h"

#include "tests/editor/LinkTableFixture.h"

#include <climits>
#include <string>
#include <vector>

namespace {

using Rules = LinkTableFixture;

const std::string kLink = "Verkn\xFCpfung - ";

// A right-click on the source pane of module 3 (group base 100, scrolled by
// `scroll`), with module 5 in the target pane from register 300 on.
LinkDialogContext sourceClick(int32_t cell, int32_t scroll = 0)
{
    return {cell, LinkTableFixture::kPositionOf3, 100, scroll, LinkTableFixture::kPositionOf5, 300, 0};
}

// A right-click on the target pane of module 5 (group base 300), with module 3
// in the source pane from register 100 on.
LinkDialogContext targetClick(int32_t cell, int32_t scroll = 0)
{
    return {cell, LinkTableFixture::kPositionOf5, 300, scroll, LinkTableFixture::kPositionOf3, 100, 0};
}

} // namespace

TEST(SourceRange, CountsBothEndsAndAllowsUpTo32BitsOrWholeRegisters)
{
    struct Case {
        int32_t startReg, startBit, reg, bit;
        int64_t count;
        bool allowed;
    };
    const std::vector<Case> cases{
        {100, 4, 102, 3, 32, true},  {100, 4, 102, 4, 33, false}, {150, 0, 152, 15, 48, true},
        {150, 1, 152, 15, 47, false}, {100, 0, 103, 15, 64, true}, {100, 0, 103, 14, 63, false},
        {100, 0, 104, 15, 80, false}, {100, 5, 100, 5, 1, true},   {100, 5, 100, 4, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.startReg << "/" << c.startBit << " .. " << c.reg << "/" << c.bit);
        const int64_t count = SourceRangeCount(c.startReg, c.startBit, c.reg, c.bit);
        EXPECT_EQ(count, c.count);
        EXPECT_EQ(SourceRangeAllowed(count, c.startBit), c.allowed);
    }
    EXPECT_GT(SourceRangeCount(INT32_MIN, 0, INT32_MAX, 15), int64_t{INT32_MAX});
}

TEST_F(Rules, LinkCoversTheCellsOfItsBitsOnTheClickedPane)
{
    // On the source pane its source bits count, on the target pane its target bits.
    const int32_t lastBits = addLink(3, 109, 15, 1, 5, 311, 15);
    const int32_t acrossRows = addLink(3, 100, 14, 4, 5, 300, 0);
    const int32_t noBits = addLink(3, 100, 0, 0, 5, 300, 0);
    const int32_t fromAbove = addLink(3, 99, 8, 16, 5, 299, 0);
    const int32_t huge = addLink(3, INT32_MIN, 0, INT32_MAX, 5, INT32_MAX, 15);

    struct Case {
        const char* what;
        LinkDialogContext context;
        int32_t link;
        bool covers;
    };
    const std::vector<Case> cases{
        {"160th source cell", sourceClick(160), lastBits, true},
        {"last target cell, scrolled by 2", targetClick(320, 2), lastBits, true},
        {"range continues in the next row", sourceClick(18), acrossRows, true},
        {"behind the range", sourceClick(19), acrossRows, false},
        {"no bits", sourceClick(1), noBits, false},
        {"starts above the window", sourceClick(8), fromAbove, true},
        {"fields far apart do not wrap", sourceClick(1), huge, false},
        {"target fields far apart do not wrap", targetClick(161), huge, false},
        {"link 0", sourceClick(160), 0, false},
        {"behind the last link", sourceClick(160), station.AnzBefehle + 1, false},
        {"cell 321", targetClick(321, 2), lastBits, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(LinkCoversCell(station, c.context, c.link), c.covers);
    }
}

TEST_F(Rules, DialogRowsOfferWhatTheClickedPaneCanDoWithEachCoveringLink)
{
    struct Link {
        int32_t modulQ, regVon, bitVon, anzBit, modulZ, regZ, bitZ;
        bool active;
    };
    struct Case {
        const char* what;
        std::vector<Link> links;
        LinkDialogContext context;
        std::vector<LinkDialogRow> rows;
    };
    const std::vector<Case> cases{
        {"only the second of two links covers the cell: its letter is B",
         {{3, 100, 0, 4, 5, 300, 0, false}, {3, 100, 4, 4, 5, 301, 0, true}},
         sourceClick(6),
         {{2, "", kLink + "B deaktivieren", kLink + "B l\xF6schen"}}},
        {"a target outside the other pane's reach is only offered to be shown",
         {{3, 100, 4, 4, 5, 349, 0, false}, {3, 100, 4, 4, 5, 299, 0, false}, {3, 100, 4, 4, 7, 300, 0, false}},
         sourceClick(5),
         {{1, kLink + "A anzeigen", "", ""}, {2, kLink + "B anzeigen", "", ""}, {3, kLink + "C anzeigen", "", ""}}},
        {"links of other source modules neither count nor show",
         {{5, 100, 0, 16, 7, 300, 0, false}, {3, 105, 0, 16, 5, 300, 0, false}, {3, 100, 0, 16, 5, 301, 0, true}},
         sourceClick(3),
         {{3, "", kLink + "B deaktivieren", kLink + "B l\xF6schen"}}},
        {"four links reading one bit give four rows",
         {{3, 109, 15, 1, 5, 300, 0, false},
          {3, 109, 12, 4, 5, 300, 1, false},
          {3, 109, 15, 1, 7, 300, 0, false},
          {3, 108, 0, 32, 5, 301, 0, true}},
         sourceClick(160),
         {{1, "", kLink + "A aktivieren", kLink + "A l\xF6schen"},
          {2, "", kLink + "B aktivieren", kLink + "B l\xF6schen"},
          {3, kLink + "C anzeigen", "", ""},
          {4, "", kLink + "D deaktivieren", kLink + "D l\xF6schen"}}},
        {"the target pane counts the links into its module and only shows them",
         {{3, 100, 0, 4, 7, 300, 0, false}, {7, 100, 0, 4, 5, 310, 0, false}, {3, 101, 0, 4, 5, 311, 12, false}},
         targetClick(320, 2),
         {{3, kLink + "2 anzeigen", "", ""}}},
        {"no covering link, no row", {{3, 100, 0, 4, 5, 300, 0, false}}, sourceClick(5), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        for (const Link& l : c.links)
            addLink(l.modulQ, l.regVon, l.bitVon, l.anzBit, l.modulZ, l.regZ, l.bitZ, l.active);
        EXPECT_EQ(LinkDialogRows(station, c.context), c.rows);
    }
}

TEST_F(Rules, AnswerCodesActOnEveryLinkOfTheTableAndOnNothingElse)
{
    struct Case {
        int32_t links;
        int32_t code;
        bool targetPane;
        LinkAction action;
    };
    using K = LinkActionKind;
    const std::vector<Case> cases{
        {299, 1120, false, {K::Delete, 120}},       {299, 4299, false, {K::Switch, 299}},
        {299, 2120, false, {K::ShowTargetEnd, 120}}, {299, 2120, true, {K::ShowSourceEnd, 120}},
        {299, 3007, false, {K::ShowSourceEnd, 7}},   {299, 1001, true, {K::Delete, 1}},
        {10, 4010, false, {K::Switch, 10}},          {10, 1011, false, {}},
        {10, 2011, true, {}},                        {299, 0, false, {}},
        {299, 1000, false, {}},                      {299, 5001, false, {}},
        {299, 999, false, {}},                       {299, -1001, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code << " with " << c.links << " links");
        SetUp();
        for (int32_t n = 0; n < c.links; ++n)
            addLink(3, 100, 0, 1, 5, 300, 0);
        LinkDialogContext context = c.targetPane ? targetClick(161) : sourceClick(1);
        context.result = c.code;
        EXPECT_EQ(DecodeLinkAnswer(station, context), c.action);
    }
}

TEST_F(Rules, SourceEndIsShownInTheGroupThatHoldsItsRegister)
{
    const std::vector<std::string> labels{"@92Bez", "Bits", "Register", "Register 2", "Parameter", "Z5",  "Z6",
                                          "Z7",     "Z8",   "Z9",       "-",          "Zielbits",  "Zielreg"};
    const std::vector<std::string> full{"Bits", "Register", "Register 2", "Parameter", "Z\xE4hler", "Zeiten", " ", " ", " "};
    const std::vector<std::string> noSecondRegisters{"Bits", "Register", "Parameter", " ", " ", " ", " ", " ", " "};
    const std::vector<std::string> labelOutOfPlace{"Bits", " ", " ", " ", "Register 2", " ", " ", " ", " "};
    // A module without bit group keeps the previous module's first item.
    const std::vector<std::string> xtq{"Bits", "Parameter", " ", " ", " ", " ", " ", " ", " "};
    const std::vector<std::string> central{"Parameter", "Z5", "Z6", "Z7", "Z8", "Z9", " ", " ", " "};
    auto& kra = station.SignalGroupTable[0];
    kra[1] = {500, 10, "Z\xE4hler"};
    kra[2] = {505, 10, "Zeiten"};
    kra[3] = {600, 4, "Fehlt"};
    station.SignalGroupCount[0] = 3;
    station.SignalGroupTable[1][1] = {100, 8, "Zeiten"};
    station.SignalGroupCount[1] = 1;

    struct Case {
        int32_t kind;
        int32_t regVon;
        const std::vector<std::string>& items;
        int item;
    };
    const std::vector<Case> cases{
        {0, 1502, full, 3},         {0, 0, noSecondRegisters, 2}, {4, 149, full, 0},          {3, 150, full, 1},
        {5, 299, full, 2},          {0, 250, noSecondRegisters, 0}, {0, 250, labelOutOfPlace, 0}, {1, 44, full, 1},
        {1, 45, full, 2},           {1, 103, full, 5},            {2, 0, xtq, 1},             {6, 1613, central, 4},
        {0, 504, full, 4},          {0, 505, full, 5},            {0, 515, full, 0},          {0, 603, full, 0},
        {5, 505, full, 0},          {99, 505, full, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << ", register " << c.regVon);
        EXPECT_EQ(SourceGroupItemFor(station, c.kind, c.regVon, c.items, labels), c.item);
    }
    // Without the labels nothing can be found.
    EXPECT_EQ(SourceGroupItemFor(station, 0, 150, full, {}), 0);
}

TEST(TargetGroup, TargetEndIsShownInTheBitOrRegisterGroupByItsRegister)
{
    const std::vector<std::string> labels{"@92Bez", "", "", "", "", "", "", "", "", "", "", "Zielbits", "Zielreg"};
    struct Case {
        int32_t regZ;
        std::vector<std::string> items;
        int item;
    };
    const std::vector<Case> cases{
        {349, {"Zielbits", "Zielreg"}, 0}, {350, {"Zielbits", "Zielreg"}, 1}, {399, {"Zielbits", "Zielreg"}, 1},
        {360, {"Zielbits", " "}, 0},       {400, {"Zielbits", "Zielreg"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.regZ);
        EXPECT_EQ(TargetGroupItemFor(c.regZ, c.items, labels), c.item);
    }
}

TEST_F(Rules, TargetRangeIsTakenWhereverALinkIntoTheModuleWritesOneOfItsBits)
{
    addLink(3, 100, 0, 8, 5, 300, 4); // register 300, bits 4..11
    addLink(7, 100, 0, 16, 5, 320, 0); // register 320, far below a window at 310
    addLink(3, 100, 0, 16, 7, 310, 0); // another target module
    addLink(3, 100, 0, 255, 5, INT32_MAX, 15);
    addLink(3, 100, 0, 0, 5, 330, 0); // a link of no bits writes nothing

    struct Case {
        int32_t modulZ, regZ, bitZ, anzBit;
        bool taken;
    };
    const std::vector<Case> cases{
        {5, 300, 0, 4, false},  {5, 300, 0, 5, true},     {5, 300, 12, 4, false},      {5, 317, 0, 48, false},
        {5, 317, 0, 64, true},  {7, 300, 4, 8, false},    {5, 300, 4, 0, false},       {5, INT32_MAX, 15, 1, true},
        {5, 330, 0, 16, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.modulZ << ": " << c.regZ << "/" << c.bitZ << " + " << c.anzBit);
        EXPECT_EQ(TargetRangeInUse(station, c.modulZ, c.regZ, c.bitZ, c.anzBit), c.taken);
    }
}

TEST_F(Rules, ALinkCountBeyondTheTableReadsOnlyTheTable)
{
    const int32_t last = addLink(3, 100, 0, 1, 5, 300, 0);
    station.LinkTable[kLinkTableSlots - 1] = station.LinkTable[last];
    station.AnzBefehle = 100000;

    EXPECT_EQ(LinkDialogRows(station, sourceClick(1)).size(), static_cast<std::size_t>(1));
    EXPECT_FALSE(LinkCoversCell(station, sourceClick(1), kLinkTableSlots - 1));
    EXPECT_TRUE(TargetRangeInUse(station, 5, 300, 0, 1));
    LinkDialogContext context = sourceClick(1);
    context.result = 1000 + kLinkTableSlots - 1;
    EXPECT_EQ(DecodeLinkAnswer(station, context), LinkAction{});
}

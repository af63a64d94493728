#include "editor/LinkActionRules.h"
#include "editor/LinkMarks.h"
#include "model/LinkModel.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

constexpr int32_t kSource = 2;
constexpr int32_t kTarget = 5;
constexpr int32_t kOther = 9;

LinkRecord link(int32_t q, int32_t regVon, int32_t bitVon, int32_t anzBit, int32_t z, int32_t regZ, int32_t bitZ,
                int32_t deaktiv = 0)
{
    return LinkRecord{q, regVon, bitVon, anzBit, z, regZ, bitZ, deaktiv, {}};
}

void useLinks(const std::vector<LinkRecord>& links)
{
    for (int n = 0; n < kLinkTableSlots; ++n)
        ClearLink(n);
    AnzBefehle = static_cast<int32_t>(links.size());
    for (std::size_t i = 0; i < links.size(); ++i)
        LinkTable[i + 1] = links[i];
}

// The window as ten rows of sixteen characters, '.' for a cell without a mark.
std::vector<std::string> marksMap(const PaneMarks& marks)
{
    std::vector<std::string> rows;
    for (int row = 0; row < kPaneRows; ++row) {
        std::string text;
        for (int column = 0; column < kPaneColumns; ++column) {
            const char mark = marks[static_cast<std::size_t>(row * kPaneColumns + column)].text;
            text += mark == kNoMark ? '.' : mark;
        }
        rows.push_back(text);
    }
    return rows;
}

std::vector<std::string> rowsThenEmpty(std::vector<std::string> first)
{
    while (first.size() < kPaneRows)
        first.emplace_back(kPaneColumns, '.');
    return first;
}

template <typename Flag>
std::vector<int> cellsWhere(const PaneMarks& marks, Flag flag)
{
    std::vector<int> cells;
    for (int index = 0; index < kPaneCells; ++index) {
        if (flag(marks[static_cast<std::size_t>(index)]))
            cells.push_back(index + 1);
    }
    return cells;
}

struct MarksCase {
    const char* name;
    std::vector<LinkRecord> links;
    std::vector<std::string> source; // window from register 100
    std::vector<std::string> target; // window from register 300
    std::vector<int> boldCells;
    std::vector<int> inactiveCells;
};

class LinkMarks : public testing::TestWithParam<MarksCase> {};

} // namespace

TEST_P(LinkMarks, ShowEachLinkOnTheCellsItCoversInTheWindow)
{
    const MarksCase& c = GetParam();
    useLinks(c.links);
    const PaneMarks source = SourceLinkMarks(kSource, kTarget, 100);
    const PaneMarks target = TargetLinkMarks(kSource, kTarget, 300);
    EXPECT_EQ(marksMap(source), rowsThenEmpty(c.source));
    EXPECT_EQ(marksMap(target), rowsThenEmpty(c.target));
    EXPECT_EQ(cellsWhere(source, [](const CellMark& m) { return m.bold; }), c.boldCells);
    EXPECT_EQ(cellsWhere(source, [](const CellMark& m) { return m.inactive; }), c.inactiveCells);
}

INSTANTIATE_TEST_SUITE_P(
    Links, LinkMarks,
    testing::Values(
        // Capital letters mark the links whose other end the target pane shows.
        MarksCase{"LettersSmallCapitalSmallAndForeignTargets",
                  {link(kSource, 100, 0, 4, kOther, 300, 0), link(kSource, 100, 4, 4, kTarget, 300, 2),
                   link(7, 40, 0, 4, kTarget, 300, 8), link(kSource, 101, 0, 2, kOther, 300, 0)},
                  {"aaaaBBBB........", "cc.............."},
                  {"..BBBB..xxxx...."},
                  {},
                  {}},
        MarksCase{"SharedSourceBitsInBoldWithTheLastLetter",
                  {link(kSource, 100, 0, 4, kOther, 300, 0), link(kSource, 100, 2, 4, kOther, 301, 0),
                   link(kSource, 100, 3, 1, kOther, 302, 0)},
                  {"aabcbb.........."},
                  {},
                  {3, 4},
                  {}},
        MarksCase{"InactiveLinksInGrey",
                  {link(kSource, 100, 0, 2, kTarget, 300, 0, 1), link(kSource, 100, 2, 2, kTarget, 300, 2, 0)},
                  {"AABB............"},
                  {"AABB............"},
                  {},
                  {1, 2}},
        // A link that starts in a register above the window shows its rest from the first cell on.
        MarksCase{"RangesStartingAboveTheWindow",
                  {link(kSource, 99, 8, 16, kTarget, 299, 12, 0)},
                  {"AAAAAAAA........"},
                  {"AAAAAAAAAAAA...."},
                  {},
                  {}},
        MarksCase{"RangesContinuingAtBitZeroAndEndingAtTheLastCell",
                  {link(kSource, 100, 12, 8, kTarget, 309, 14, 0), link(kSource, 109, 8, 64, kTarget, 305, 0, 0)},
                  {"............AAAA", "AAAA............", std::string(16, '.'), std::string(16, '.'),
                   std::string(16, '.'), std::string(16, '.'), std::string(16, '.'), std::string(16, '.'),
                   std::string(16, '.'), "........BBBBBBBB"},
                  {std::string(16, '.'), std::string(16, '.'), std::string(16, '.'), std::string(16, '.'),
                   std::string(16, '.'), std::string(16, 'B'), std::string(16, 'B'), std::string(16, 'B'),
                   std::string(16, 'B'), "..............AA"},
                  {},
                  {}},
        // Fields read from a file may hold anything: only what lies inside the window is drawn.
        MarksCase{"FileValuesOutsideEveryRange",
                  {link(kSource, 100, -3, 5, kTarget, 300, -20, 0), link(kSource, 109, 15, 255, kTarget, 309, 40, 0),
                   link(kSource, 100, 4, -5, kTarget, 300, 4, 0), link(kSource, INT_MAX, 15, INT_MAX, kTarget, INT_MIN, 0),
                   link(kSource, INT_MIN, -1, 1, kTarget, 300, INT_MAX, 0)},
                  {"AA..............", std::string(16, '.'), std::string(16, '.'), std::string(16, '.'),
                   std::string(16, '.'), std::string(16, '.'), std::string(16, '.'), std::string(16, '.'),
                   std::string(16, '.'), "...............B"},
                  {},
                  {},
                  {}},
        MarksCase{"LinksOfOtherModulesLeaveTheSourcePaneEmpty",
                  {link(kOther, 100, 0, 16, kOther, 300, 0), link(kTarget, 100, 0, 16, kSource, 300, 0)},
                  {},
                  {},
                  {},
                  {}}),
    [](const testing::TestParamInfo<MarksCase>& info) { return std::string(info.param.name); });

TEST(LinkMarksCount, NeverReadsPastTheTable)
{
    useLinks({link(kSource, 100, 0, 1, kTarget, 300, 0)});
    AnzBefehle = 100000;
    EXPECT_EQ(SourceLinkMarks(kSource, kTarget, 100)[0].text, 'A');
    AnzBefehle = -4;
    EXPECT_EQ(SourceLinkMarks(kSource, kTarget, 100)[0].text, kNoMark);
    AnzBefehle = 0;
}

TEST(LinkLetter, IsTheDialogsCapitalOrItsSmallLetter)
{
    for (const int k : {1, 2, 26})
        EXPECT_EQ(LinkLetter(k, true), LinkOrdinalLetter(k));
    EXPECT_EQ(LinkLetter(1, false), 'a');
    EXPECT_EQ(LinkLetter(26, false), 'z');
}

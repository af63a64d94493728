#include "editor/rules/LinkMarks.h"
#include "tests/common/TableLinks.h"

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int32_t kSource = 2;
constexpr int32_t kTarget = 5;
constexpr int32_t kOther = 9;

using Rows = std::map<int, std::string>; // rows with a mark; every other row is empty

LinkFields link(int32_t q, int32_t regVon, int32_t bitVon, int32_t anzBit, int32_t z, int32_t regZ, int32_t bitZ)
{
    return {q, regVon, bitVon, anzBit, z, regZ, bitZ, 0};
}

Rows markedRows(const PaneMarks& marks)
{
    Rows rows;
    for (int row = 0; row < kPaneRows; ++row) {
        std::string text;
        for (int column = 0; column < kPaneColumns; ++column) {
            const std::string& mark = marks[static_cast<std::size_t>(row * kPaneColumns + column)].text;
            text += mark.empty() ? "." : mark;
        }
        if (text != std::string(kPaneColumns, '.'))
            rows[row] = text;
    }
    return rows;
}

struct MarksCase {
    const char* name;
    std::vector<LinkFields> links;
    Rows source; // window from register 100
    Rows target; // window from register 300
};

class LinkMarks : public testing::TestWithParam<MarksCase> {};

} // namespace

TEST_P(LinkMarks, ShowEachLinkOnlyOnTheCellsItCoversInTheWindow)
{
    Station station;
    const MarksCase& c = GetParam();
    setTableLinks(station, c.links);
    EXPECT_EQ(markedRows(SourceLinkMarks(station, kSource, kTarget, 100)), c.source);
    EXPECT_EQ(markedRows(TargetLinkMarks(station, kSource, kTarget, 300)), c.target);
}

// A screen reader hears every link on a cell; the cell shows the last one's mark.
TEST_P(LinkMarks, ListEveryLinkOnACellEndingWithTheOneItShows)
{
    Station station;
    setTableLinks(station, GetParam().links);
    const PaneMarks source = SourceLinkMarks(station, kSource, kTarget, 100);
    const PaneMarks target = TargetLinkMarks(station, kSource, kTarget, 300);
    for (int index = 0; index < kPaneCells; ++index) {
        const auto i = static_cast<std::size_t>(index);
        const std::vector<LinkOnCell> read = SourceLinksOnCell(station, kSource, kTarget, 100, index);
        const std::vector<LinkOnCell> written = TargetLinksOnCell(station, kSource, kTarget, 300, index);
        EXPECT_EQ(read.empty() ? kNoMark : read.back().mark, source[i].text) << index;
        EXPECT_EQ(written.empty() ? kNoMark : written.back().mark, target[i].text) << index;
    }
}

TEST(LinksOnCell, NameEachLinkByNumberMarkSourceAndState)
{
    Station station;
    setTableLinks(station, {link(kOther, 100, 0, 4, kTarget, 300, 0), link(kSource, 100, 2, 1, kTarget, 300, 2),
                            {kSource, 100, 0, 8, kOther, 300, 8, 1}});
    EXPECT_EQ(SourceLinksOnCell(station, kSource, kTarget, 100, 2),
              (std::vector<LinkOnCell>{{2, "A", kSource, true}, {3, "b", kSource, false}}));
    EXPECT_EQ(TargetLinksOnCell(station, kSource, kTarget, 300, 2),
              (std::vector<LinkOnCell>{{1, "x", kOther, true}, {2, "A", kSource, true}}));
    EXPECT_TRUE(SourceLinksOnCell(station, kSource, kTarget, 100, 8).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Links, LinkMarks,
    testing::Values(
        // A link that starts in a register above the window shows its rest from the first cell on.
        MarksCase{"RangesStartingAboveTheWindow",
                  {link(kSource, 99, 8, 16, kTarget, 299, 12)},
                  {{0, "AAAAAAAA........"}},
                  {{0, "AAAAAAAAAAAA...."}}},
        MarksCase{"RangesContinuingAtBitZeroAndEndingAtTheLastCell",
                  {link(kSource, 100, 12, 8, kTarget, 309, 14), link(kSource, 109, 8, 64, kTarget, 305, 0)},
                  {{0, "............AAAA"}, {1, "AAAA............"}, {9, "........BBBBBBBB"}},
                  {{5, std::string(16, 'B')}, {6, std::string(16, 'B')}, {7, std::string(16, 'B')},
                   {8, std::string(16, 'B')}, {9, "..............AA"}}},
        // Fields read from a file may hold anything: only what lies inside the window is drawn.
        MarksCase{"FileValuesOutsideEveryRange",
                  {link(kSource, 100, -3, 5, kTarget, 300, -20), link(kSource, 109, 15, 255, kTarget, 309, 40),
                   link(kSource, 100, 4, -5, kTarget, 300, 4), link(kSource, INT_MAX, 15, INT_MAX, kTarget, INT_MIN, 0),
                   link(kSource, INT_MIN, -1, 1, kTarget, 300, INT_MAX)},
                  {{0, "AA.............."}, {9, "...............B"}},
                  {}},
        MarksCase{"LinksOfOtherModules",
                  {link(kOther, 100, 0, 16, kOther, 300, 0), link(kTarget, 100, 0, 4, kSource, 300, 0),
                   link(kOther, 100, 0, 2, kTarget, 300, 4)},
                  {},
                  {{0, "....xx.........."}}}),
    [](const testing::TestParamInfo<MarksCase>& info) { return std::string(info.param.name); });

TEST(LinkMarksCount, NeverReadsPastTheTable)
{
    Station station;
    setTableLinks(station, {link(kSource, 100, 0, 1, kTarget, 300, 0)});
    station.AnzBefehle = 100000;
    EXPECT_EQ(SourceLinkMarks(station, kSource, kTarget, 100)[0].text, "A");
    station.AnzBefehle = -4;
    EXPECT_EQ(SourceLinkMarks(station, kSource, kTarget, 100)[0].text, kNoMark);
    station.AnzBefehle = 0;
}

struct MarkCase {
    int ordinal;
    const char* capitals; // the target end is in view
    const char* small;
};

class LinkMarkNames : public testing::TestWithParam<MarkCase> {};

TEST_P(LinkMarkNames, CountOnInLettersBeyondZ)
{
    EXPECT_EQ(LinkLetter(GetParam().ordinal, true), GetParam().capitals);
    EXPECT_EQ(LinkLetter(GetParam().ordinal, false), GetParam().small);
}

INSTANTIATE_TEST_SUITE_P(Ordinals, LinkMarkNames,
                         testing::Values(MarkCase{1, "A", "a"}, MarkCase{26, "Z", "z"}, MarkCase{27, "AA", "aa"},
                                         MarkCase{52, "AZ", "az"}, MarkCase{53, "BA", "ba"},
                                         MarkCase{191, "GI", "gi"}, MarkCase{192, "GJ", "gj"},
                                         MarkCase{299, "KM", "km"}, MarkCase{0, "", ""}));

TEST(LinkMarksCount, EveryLinkOfAFullTableHasAMarkOfItsOwnInPlainLetters)
{
    std::set<std::string> seen;
    for (int ordinal = 1; ordinal <= kMaxLinks; ++ordinal) {
        for (const bool targetInView : {true, false}) {
            const std::string mark = LinkLetter(ordinal, targetInView);
            ASSERT_TRUE(mark.size() == 1 || mark.size() == 2) << ordinal;
            for (const char c : mark)
                ASSERT_TRUE(targetInView ? std::isupper(static_cast<unsigned char>(c)) != 0
                                         : std::islower(static_cast<unsigned char>(c)) != 0)
                    << ordinal << " " << mark;
            EXPECT_TRUE(seen.insert(mark).second) << ordinal << " " << mark;
        }
    }
}

TEST(LinkMarksCount, TheLastLinkOfAFullTableShowsItsMarkOnBothPanes)
{
    Station station;
    std::vector<LinkFields> links(kMaxLinks - 1, link(kSource, 500, 0, 1, kOther, 500, 0));
    links.push_back(link(kSource, 100, 0, 2, kTarget, 300, 4));
    setTableLinks(station, links);
    EXPECT_EQ(markedRows(SourceLinkMarks(station, kSource, kTarget, 100)), (Rows{{0, "KMKM" + std::string(14, '.')}}));
    EXPECT_EQ(markedRows(TargetLinkMarks(station, kSource, kTarget, 300)), (Rows{{0, "....KMKM" + std::string(10, '.')}}));
    EXPECT_EQ(markedRows(SourceLinkMarks(station, kSource, kOther, 100)), (Rows{{0, "kmkm" + std::string(14, '.')}}));
}

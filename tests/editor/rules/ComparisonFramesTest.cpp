#include "editor/rules/ComparisonFrames.h"
#include "tests/common/TableLinks.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>
#include <vector>

namespace {

struct FramesCase {
    const char* name;
    std::vector<LinkFields> here;
    std::vector<LinkFields> device;
    std::vector<FramedBits> source;
    std::vector<FramedBits> target;
};

class DifferingBitsOf : public testing::TestWithParam<FramesCase> {};

constexpr LinkFields kA{2, 100, 0, 8, 9, 300, 0, 0};
constexpr LinkFields kB{3, 42, 1, 2, 2, 300, 8, 0};
constexpr LinkFields kC{3, 100, 2, 4, 5, 300, 7, 1};

LinkFields with(LinkFields link, std::size_t field, int32_t value)
{
    link[field] = value;
    return link;
}

} // namespace

TEST_P(DifferingBitsOf, FrameTheBitsOfEveryLinkThatDiffersAtBothEnds)
{
    const FramesCase& c = GetParam();
    const std::vector<LinkRecord> here = linkRecords(c.here);
    const std::vector<LinkRecord> device = linkRecords(c.device);
    const DifferingBits bits = DifferingLinkBits(here, device);
    EXPECT_EQ(bits.source, c.source);
    EXPECT_EQ(bits.target, c.target);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, DifferingBitsOf,
    testing::Values(
        FramesCase{"TheSameLinksFrameNothing", {kA, kB, kC}, {kA, kB, kC}, {}, {}},
        FramesCase{"NoLinksAnywhere", {}, {}, {}, {}},
        FramesCase{"ALinkOnlyHere", {kA, kB}, {kA}, {{3, 42, 1, 2}}, {{2, 300, 8, 2}}},
        FramesCase{"ALinkOnlyOnTheDevice", {kB}, {kA, kB}, {{2, 100, 0, 8}}, {{9, 300, 0, 8}}},
        FramesCase{"ALinkSwitchedIsFramedOnce", {kA, with(kB, 7, 1)}, {kA, kB}, {{3, 42, 1, 2}}, {{2, 300, 8, 2}}},
        FramesCase{"AChangedLinkAsItIsHereAndAsTheDeviceHoldsIt",
                   {kA, with(kB, 5, 301)},
                   {kA, kB},
                   {{3, 42, 1, 2}},
                   {{2, 301, 8, 2}, {2, 300, 8, 2}}},
        FramesCase{"OneChangedOneAddedOneRemoved",
                   // The device's first link deleted, its second switched, one added.
                   {with(kB, 7, 1), kC, {9, 150, 3, 12, 2, 350, 4, 1}},
                   {kA, kB, kC},
                   {{3, 42, 1, 2}, {2, 100, 0, 8}, {9, 150, 3, 12}},
                   {{2, 300, 8, 2}, {9, 300, 0, 8}, {2, 350, 4, 12}}},
        FramesCase{"FieldsNoEditorWouldMake",
                   {{INT_MIN, INT_MAX, -3, INT_MAX, -1, INT_MIN, 99, 7}},
                   {},
                   {{INT_MIN, INT_MAX, -3, INT_MAX}},
                   {{-1, INT_MIN, 99, INT_MAX}}}),
    [](const testing::TestParamInfo<FramesCase>& info) { return std::string(info.param.name); });

namespace {

using Rows = std::map<int, std::string>; // rows with a frame, "#" framed, "." not

Rows framedRows(const PaneFrames& frames)
{
    Rows rows;
    for (int row = 0; row < kPaneRows; ++row) {
        std::string text;
        for (int column = 0; column < kPaneColumns; ++column)
            text += frames[static_cast<std::size_t>(row * kPaneColumns + column)] ? "#" : ".";
        if (text != std::string(kPaneColumns, '.'))
            rows[row] = text;
    }
    return rows;
}

struct CellsCase {
    const char* name;
    std::vector<FramedBits> bits;
    int32_t module;
    int32_t firstRegister;
    Rows rows;
};

class FramedCellsOf : public testing::TestWithParam<CellsCase> {};

} // namespace

TEST_P(FramedCellsOf, FrameOnlyTheCellsOfTheModuleInTheWindow)
{
    const CellsCase& c = GetParam();
    EXPECT_EQ(framedRows(FramedCells(c.bits, c.module, c.firstRegister)), c.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, FramedCellsOf,
    testing::Values(
        CellsCase{"NoBits", {}, 2, 100, {}},
        CellsCase{"ARunInTheFirstRow", {{2, 100, 0, 8}}, 2, 100, {{0, "########........"}}},
        CellsCase{"AnotherModulesBitsAreNotFramed", {{9, 100, 0, 8}}, 2, 100, {}},
        CellsCase{"ARunIntoTheNextRegister", {{2, 101, 12, 6}}, 2, 100,
                  {{1, "............####"}, {2, "##.............."}}},
        CellsCase{"TwoRunsOfOneModule", {{2, 100, 0, 2}, {2, 109, 15, 1}, {3, 100, 4, 1}}, 2, 100,
                  {{0, "##.............."}, {9, "...............#"}}},
        CellsCase{"ARunBeginningAboveTheWindow", {{2, 98, 8, 40}}, 2, 100, {{0, "################"}}},
        CellsCase{"ARunBelowTheWindow", {{2, 110, 0, 16}}, 2, 100, {}},
        CellsCase{"FieldsAtTheirLimits", {{2, INT_MAX, INT_MAX, INT_MAX}, {2, INT_MIN, INT_MIN, INT_MAX},
                                          {2, 100, -5, 7}, {2, 105, 3, -4}}, 2, 100,
                  {{0, "##.............."}}},
        CellsCase{"ALateWindow", {{2, 65535, 0, 16}}, 2, 65530, {{5, "################"}}}),
    [](const testing::TestParamInfo<CellsCase>& info) { return std::string(info.param.name); });

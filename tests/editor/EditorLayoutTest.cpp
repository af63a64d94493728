#include "editor/EditorLayout.h"

#include <gtest/gtest.h>

namespace {

struct CellCase {
    int cell;
    Pane pane;
    int row;
    int column;
};

class CellNumbering : public testing::TestWithParam<CellCase> {};

} // namespace

TEST_P(CellNumbering, GivesPaneRowColumnAndBitAndBack)
{
    const CellCase& c = GetParam();
    ASSERT_TRUE(IsCellNumber(c.cell));
    const CellAddress address = LocateCell(c.cell);
    EXPECT_EQ(address.pane, c.pane);
    EXPECT_EQ(address.row, c.row);
    EXPECT_EQ(address.column, c.column);
    EXPECT_EQ(address.bit, c.column - 1);
    EXPECT_EQ(CellNumber(address.pane, address.index), c.cell);
}

INSTANTIATE_TEST_SUITE_P(Cells, CellNumbering,
                         testing::Values(CellCase{1, Pane::Source, 0, 1}, CellCase{16, Pane::Source, 0, 16},
                                         CellCase{17, Pane::Source, 1, 1}, CellCase{160, Pane::Source, 9, 16},
                                         CellCase{161, Pane::Target, 0, 1}, CellCase{200, Pane::Target, 2, 8},
                                         CellCase{320, Pane::Target, 9, 16}));

TEST(EditorLayout, NoNumberOutsideTheTwoPanesIsACell)
{
    for (const int cell : {-1, 0, 321, 100000})
        EXPECT_FALSE(IsCellNumber(cell)) << cell;
}

TEST(EditorLayout, BothColumnOrdersMirrorEachOtherWithAGapBetweenTheBytes)
{
    EXPECT_EQ(ColumnLeft(CellLayout::Bit, 1), 51);   // bit 0 leftmost
    EXPECT_EQ(ColumnLeft(CellLayout::Register, 1), 344); // bit 0 rightmost
    for (int column = 1; column <= kPaneColumns; ++column) {
        EXPECT_EQ(ColumnLeft(CellLayout::Register, column), ColumnLeft(CellLayout::Bit, kPaneColumns + 1 - column));
        if (column > 1) {
            // Neighbouring cells share their frame line; bits 7 and 8 stand 8 pixels apart.
            const int step = ColumnLeft(CellLayout::Bit, column) - ColumnLeft(CellLayout::Bit, column - 1);
            EXPECT_EQ(step, column == 9 ? 27 : 19) << "column " << column;
        }
    }
}

TEST(EditorLayout, EveryCellFitsBesideTheRowLabelsInsideThePane)
{
    for (const CellLayout layout : {CellLayout::Bit, CellLayout::Register}) {
        for (int column = 1; column <= kPaneColumns; ++column) {
            const int left = ColumnLeft(layout, column);
            EXPECT_GT(left, kRowLabelLeft + kRowLabelWidth);
            EXPECT_LE(left + kCellSize, kPaneWidth - 20) << "no room for the scroll bar";
        }
    }
    EXPECT_EQ(RowTop(0), 112);
    EXPECT_EQ(RowTop(9), 328);
    EXPECT_LE(RowTop(kPaneRows - 1) + kCellSize, kPaneHeight);
    EXPECT_GT(RowTop(0), kHeaderTop + kHeaderHeight);
}

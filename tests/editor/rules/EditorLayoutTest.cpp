#include "editor/rules/EditorLayout.h"

#include <gtest/gtest.h>

TEST(EditorLayout, CellNumbersGivePaneRowColumnAndBitAndBack)
{
    struct Case {
        int cell;
        Pane pane;
        int row;
        int column;
    };
    for (const Case& c : {Case{1, Pane::Source, 0, 1}, Case{16, Pane::Source, 0, 16}, Case{17, Pane::Source, 1, 1},
                          Case{160, Pane::Source, 9, 16}, Case{161, Pane::Target, 0, 1},
                          Case{320, Pane::Target, 9, 16}}) {
        ASSERT_TRUE(IsCellNumber(c.cell));
        const CellAddress address = LocateCell(c.cell);
        EXPECT_EQ(address.pane, c.pane) << c.cell;
        EXPECT_EQ(address.row, c.row) << c.cell;
        EXPECT_EQ(address.column, c.column) << c.cell;
        EXPECT_EQ(address.bit, c.column - 1) << c.cell;
        EXPECT_EQ(CellNumber(address.pane, address.index), c.cell);
    }
    for (const int cell : {-1, 0, 321})
        EXPECT_FALSE(IsCellNumber(cell)) << cell;
}

TEST(EditorLayout, BothColumnOrdersMirrorEachOtherWithAGapBetweenTheBytes)
{
    EXPECT_EQ(ColumnLeft(CellLayout::Bit, 1), 51);       // bit 0 leftmost
    EXPECT_EQ(ColumnLeft(CellLayout::Register, 1), 344); // bit 0 rightmost
    for (int column = 1; column <= kPaneColumns; ++column) {
        EXPECT_EQ(ColumnLeft(CellLayout::Register, column), ColumnLeft(CellLayout::Bit, kPaneColumns + 1 - column));
        if (column > 1) {
            // Neighbouring cells share their frame line; bits 7 and 8 stand 8 pixels apart.
            const int step = ColumnLeft(CellLayout::Bit, column) - ColumnLeft(CellLayout::Bit, column - 1);
            EXPECT_EQ(step, column == 9 ? 27 : 19) << "column " << column;
        }
    }
    EXPECT_EQ(RowTop(0), 112);
    EXPECT_EQ(RowTop(9), 328);
}

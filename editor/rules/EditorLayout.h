#pragma once

// Where things sit on the link editor page and which bit a cell stands for.
// Each pane shows a window of 10 registers x 16 bits; cell n (1..320) belongs
// to the source pane up to 160 and to the target pane from 161 on. The grid
// of cells never moves, only the order of its columns: a bit group reads
// bit 0 leftmost, a register group bit 0 rightmost, as registers are written.

#include <cstdint>

enum class Pane { Source, Target };
enum class CellLayout { Bit, Register };

constexpr int kPaneRows = 10;
constexpr int kPaneColumns = 16;
constexpr int kPaneCells = kPaneRows * kPaneColumns; // 160
constexpr int kCellCount = 2 * kPaneCells;           // 320
constexpr int kFirstTargetCell = kPaneCells + 1;     // 161

// Pixel geometry, relative to the pane's group box.
constexpr int kCellSize = 20;
constexpr int kRowLabelLeft = 4;
constexpr int kRowLabelWidth = 45;
constexpr int kHeaderTop = 80;
constexpr int kHeaderWidth = 21;
constexpr int kHeaderHeight = 17;
// Each pane's group box, relative to the page.
constexpr int kPaneTop = 8;
constexpr int kPaneWidth = 388;
constexpr int kPaneHeight = 369;
constexpr int kSourcePaneLeft = 0;
constexpr int kTargetPaneLeft = 389;

struct CellAddress {
    Pane pane = Pane::Source;
    int index = 0;  // 0..159 within the pane
    int row = 0;    // 0..9
    int column = 1; // 1..16
    int bit = 0;    // column - 1
};

bool IsCellNumber(int cell);
// The pane, row, column and bit of cell 1..320 (the caller checks the range).
CellAddress LocateCell(int cell);
// The row, column and bit of a pane's cell index 0..159 (the caller checks the range).
CellAddress CellAt(Pane pane, int index);
// The cell number (1..320) of a pane's cell index 0..159.
int CellNumber(Pane pane, int index);

// Left edge of column 1..16 in the given column order; an 8-pixel gap parts
// bits 7 and 8 in both.
int ColumnLeft(CellLayout layout, int column);
// Top edge of row 0..9 (cells and row labels alike).
int RowTop(int row);

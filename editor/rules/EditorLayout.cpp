#include "editor/rules/EditorLayout.h"

namespace {

constexpr int kFirstRowTop = 112;
constexpr int kRowPitch = 24;
constexpr int kColumnPitch = 19;
constexpr int kGapAfterColumn = 8;

} // namespace

bool IsCellNumber(int cell)
{
    return cell >= 1 && cell <= kCellCount;
}

CellAddress LocateCell(int cell)
{
    return CellAt(cell <= kPaneCells ? Pane::Source : Pane::Target, (cell - 1) % kPaneCells);
}

CellAddress CellAt(Pane pane, int index)
{
    CellAddress address;
    address.pane = pane;
    address.index = index;
    address.row = address.index / kPaneColumns;
    address.column = address.index % kPaneColumns + 1;
    address.bit = address.column - 1;
    return address;
}

int CellNumber(Pane pane, int index)
{
    return (pane == Pane::Source ? 1 : kFirstTargetCell) + index;
}

int ColumnLeft(CellLayout layout, int column)
{
    const bool firstByte = column <= kGapAfterColumn;
    if (layout == CellLayout::Bit)
        return (firstByte ? 32 : 32 + kGapAfterColumn) + kColumnPitch * column;
    return (firstByte ? 363 : 363 - kGapAfterColumn) - kColumnPitch * column;
}

int RowTop(int row)
{
    return kFirstRowTop + kRowPitch * row;
}

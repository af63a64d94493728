#pragma once

// How clicks on the link editor build a link: a source range (a start bit,
// then an end bit; at most 32 bits, or three or four whole registers), a
// target start where the whole range fits on free bits, then the take-over.
// Plain values only: the page shows the selection and the marks these leave.

#include "diag/MessageNumbers.h"
#include "editor/rules/LinkMarks.h"
#include "editor/rules/LinkSelection.h"

#include <cstdint>

struct Station;

// What a left click on source bit (reg, bit) did to the range.
enum class SourceClick {
    Start,   // nothing was chosen: the bit starts a range of one
    Restart, // the bit lies before the start: it starts the range anew
    End,     // the bit ends the range
    Drop,    // the start bit clicked again: nothing is chosen any more
    Refuse,  // a range the device cannot copy: nothing is chosen any more
};

SourceClick ClickSourceBit(LinkSelection& selection, int32_t reg, int32_t bit);
// A row label chooses its whole register, bits 0..15.
void ChooseSourceRegister(LinkSelection& selection, int32_t reg);

// Puts the selection mark on the cells of the run of `count` bits from (reg,
// bit) inside the window that starts at `firstVisible`.
void MarkSelectedRun(PaneMarks& marks, int32_t reg, int32_t bit, int32_t count, int32_t firstVisible);

// Places the target start on target cell index 0..159 of the window that
// starts at `firstVisible` and marks the range's cells in the window. The
// result is true when a bit of the range is taken, on a visible cell or by
// any link of the table into the target module; then nothing is marked.
bool PlaceTargetStart(const Station& station, LinkSelection& selection, PaneMarks& marks, int index, int32_t firstVisible);

// Whether the take-over has a source range and a target start to make a link of.
bool CanTakeOver(const LinkSelection& selection);

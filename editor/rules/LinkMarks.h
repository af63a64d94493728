#pragma once

// How the links of the table show in the visible window of a pane. Links of
// the source module are marked in table order: the k-th one gets the k-th
// mark, in capitals when its target module is the one the target pane shows,
// so the same capitals on both panes mark the two ends of one link. On the
// target pane every bit a link writes is taken: "x" for a link of another
// source module, the capital mark for one of the source module.
//
// Link fields may come from a file and hold any value: a link is drawn only
// on the cells where its bits fall inside the window.

#include "editor/rules/EditorLayout.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct LinkTableModel;

// Cell texts besides the links' marks.
inline const std::string kNoMark;
inline const std::string kSelectionMark = "*";
inline const std::string kForeignTargetMark = "x";

struct CellMark {
    std::string text;      // kNoMark, kSelectionMark, kForeignTargetMark or a link's mark
    bool bold = false;     // the bit is read by more than one link
    bool inactive = false; // the link shown is inactive (grey font)
};

using PaneMarks = std::array<CellMark, kPaneCells>;

// The pane cells (indexes first..last, none when first > last) of a run of
// `count` bits from bit `bit` of register `reg` that lie in the window of ten
// registers from `firstRegister`. Any field value is safe.
struct CellRun {
    int first = 0;
    int last = -1;
};
CellRun CellsInWindow(int32_t reg, int32_t bit, int32_t count, int32_t firstRegister);

// Mark of the source module's link with the given ordinal (1, 2, ...), in
// capitals (the name the link action dialog gives it) or in small letters.
// The first 26 links get one letter, "A" to "Z"; the later ones two, "AA",
// "AB", ... as spreadsheet columns are named, so that each of the table's
// links keeps a mark of its own that any font shows. Empty for an ordinal
// below 1.
std::string LinkLetter(int ordinal, bool targetInView);

// The source module's links on the source window that starts at register
// `firstRegister`; `targetModule` is the module the target pane shows.
PaneMarks SourceLinkMarks(const LinkTableModel& table, int32_t sourceModule, int32_t targetModule, int32_t firstRegister);
// Every link into `targetModule` on the target window that starts at register
// `firstRegister`, also one that starts above the window and reaches into it:
// its bits left blank would look free, and a new link could be laid over them.
PaneMarks TargetLinkMarks(const LinkTableModel& table, int32_t sourceModule, int32_t targetModule, int32_t firstRegister);

// A link on one cell, as a screen reader tells it: a cell shows the mark of
// only the last of its links, but whoever cannot see it hears them all.
struct LinkOnCell {
    int32_t number = 0;       // in the link table, 1..
    std::string mark;         // its letter, or kForeignTargetMark for a link of another source module
    int32_t sourceModule = 0; // ModulQ
    bool active = true;

    bool operator==(const LinkOnCell&) const = default;
};

// The links on cell `index` (0..159) of the window from `firstRegister`, in
// table order, with the marks SourceLinkMarks and TargetLinkMarks draw.
std::vector<LinkOnCell> SourceLinksOnCell(const LinkTableModel& table, int32_t sourceModule, int32_t targetModule,
                                          int32_t firstRegister, int index);
std::vector<LinkOnCell> TargetLinksOnCell(const LinkTableModel& table, int32_t sourceModule, int32_t targetModule,
                                          int32_t firstRegister, int index);

#pragma once

// How the links of the table show in the visible window of a pane. Links of
// the source module are lettered in table order: the k-th one gets the k-th
// letter, a capital when its target module is the one the target pane shows,
// so the same capital on both panes marks the two ends of one link. On the
// target pane every bit a link writes is taken: "x" for a link of another
// source module, the capital letter for one of the source module.
//
// Link fields may come from a file and hold any value: a link is drawn only
// on the cells where its bits fall inside the window.

#include "editor/EditorLayout.h"

#include <array>
#include <cstdint>

constexpr char kNoMark = 0;
constexpr char kSelectionMark = '*';
constexpr char kForeignTargetMark = 'x';

struct CellMark {
    char text = kNoMark;
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

// Letter of the source module's link with the given ordinal (1, 2, ...): the
// capital the link action dialog names it by, or its small letter.
char LinkLetter(int ordinal, bool targetInView);

// The source module's links on the source window that starts at register
// `firstRegister`; `targetModule` is the module the target pane shows.
PaneMarks SourceLinkMarks(int32_t sourceModule, int32_t targetModule, int32_t firstRegister);
// Every link into `targetModule` on the target window that starts at register
// `firstRegister`.
PaneMarks TargetLinkMarks(int32_t sourceModule, int32_t targetModule, int32_t firstRegister);

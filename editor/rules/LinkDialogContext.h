#pragma once

// What the link action dialog needs to know about the right-clicked cell, and
// the answer it gives back. The editor page fills it, the dialog reads it and
// sets `result`; nothing else shares it.

#include "editor/rules/EditorLayout.h"

#include <cstdint>

struct LinkDialogContext {
    int32_t clickedCell = 0;            // 1..320; above 160 means the target pane
    int32_t clickedModule = 0;          // ModuleList position of the clicked pane's module
    int32_t clickedBaseRegister = 0;    // the clicked pane's group base register
    int32_t clickedScroll = 0;          // the clicked pane's scroll position
    int32_t otherModule = 0;            // ModuleList position of the other pane's module
    int32_t otherFirstVisible = 0;      // base register + scroll position of the other pane
    int32_t result = 0;                 // LinkDialogResult: 0 nothing, 1000+k delete,
                                        // 2000+k show, 4000+k switch (3000+k: show the source end)

    // The pane and place of the clicked cell; the cell number is taken apart here only.
    CellAddress clickedAt() const { return LocateCell(clickedCell); }
    bool onTargetPane() const { return clickedAt().pane == Pane::Target; }
};

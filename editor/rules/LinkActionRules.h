#pragma once

// What the link editor decides about links without looking at a widget: how
// long a source range may be, which links lie on a right-clicked cell, what
// the link action dialog offers and what its answer asks for, which group
// shows the far end of a link, and whether a target range is still free.
// Link fields may come from a file and hold any value: everything here
// computes in 64 bits and indexes LinkTable only within 1..AnzBefehle.

#include "editor/rules/LinkDialogContext.h"

#include <cstdint>
#include <string>
#include <vector>

struct SignalGroupSet;
struct Station;

// Bits from the range start (startReg, startBit) to the clicked end (reg, bit),
// both included; below 1 when the end lies before the start.
int64_t SourceRangeCount(int32_t startReg, int32_t startBit, int32_t reg, int32_t bit);

// Whether one link can copy a source range of `count` bits starting at
// `startBit`: 1 to 32 bits, or three or four whole registers (48 or 64 bits
// from bit 0).
bool SourceRangeAllowed(int64_t count, int32_t startBit);

// Whether link `linkNumber` lies on the context's clicked cell: its source bits
// on the source pane, its target bits on the target pane, counted from the
// clicked pane's first visible register. False for a number outside
// 1..AnzBefehle, a cell outside 1..320 and a link of no bits.
bool LinkCoversCell(const Station& station, const LinkDialogContext& context, int32_t linkNumber);

// One row of the link action dialog. An empty text means the row does not
// offer that action; the texts are Windows-1252.
struct LinkDialogRow {
    int32_t linkNumber = 0;
    std::string showText;
    std::string switchText;
    std::string deleteText;

    bool operator==(const LinkDialogRow&) const = default;
};

// The dialog's rows: every link of the clicked pane's module that covers the
// clicked cell, in table order. On the source pane a link whose target end is
// in view on the other pane can be switched or deleted ("Verknüpfung - B
// aktivieren"), any other only shown; on the target pane every link can only
// be shown, named by its decimal ordinal among the links into that module.
std::vector<LinkDialogRow> LinkDialogRows(const Station& station, const LinkDialogContext& context);

enum class LinkActionKind { None, Delete, Switch, ShowTargetEnd, ShowSourceEnd };

struct LinkAction {
    LinkActionKind kind = LinkActionKind::None;
    int32_t linkNumber = 0;

    bool operator==(const LinkAction&) const = default;
};

// What the answer in context.result asks for: 1000 + n delete, 2000 + n show
// the other end (the source end when the target pane was clicked), 3000 + n
// show the source end, 4000 + n switch active/inactive. Any other code, and any
// link number outside 1..AnzBefehle, asks for nothing. Every link the table
// holds can be deleted, switched and shown, link 120 as well as link 12: the
// dialog offers no link it could not act on.
LinkAction DecodeLinkAnswer(const Station& station, const LinkDialogContext& context);

// The item of the source group box that shows register `regVon` of a module of
// kind `moduleKind`, for showing the source end of a link. `groupItems` are the
// box's item texts, `groupLabels[k]` is group label k (the text-table lines,
// index 0 being its heading). A fixed group is looked for by its label, only
// among the items where that label can stand; any other register by the name
// of the module kind's signal group that holds it (the last such group counts).
// Item 0 when nothing fits.
int SourceGroupItemFor(const SignalGroupSet& groups, int32_t moduleKind, int32_t regVon, const std::vector<std::string>& groupItems,
                       const std::vector<std::string>& groupLabels);

// The item of the target group box that shows register `regZ`: the bit group
// (label 11) for 300..349, the register group (label 12) for 350..399, each
// looked for among items 0..1; item 0 otherwise or when not found.
int TargetGroupItemFor(int32_t regZ, const std::vector<std::string>& groupItems,
                       const std::vector<std::string>& groupLabels);

// Whether a link into module `modulZ` already writes one of the `anzBit`
// target bits from register `regZ`, bit `bitZ` on. Every link counts, also
// those whose bits lie outside the visible window, since a target bit can
// belong to only one link.
bool TargetRangeInUse(const Station& station, int32_t modulZ, int32_t regZ, int32_t bitZ, int32_t anzBit);

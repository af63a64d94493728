#pragma once

// The signal groups a pane offers for a module, what a chosen group means
// (first register, rows of data, how far it scrolls, column order) and which
// cells and row labels of the visible window can be clicked.
//
// A group is known by the text the group box shows: the group labels of the
// active language (source groups labels 1..9, target groups 11 and 12) or
// the name of an entry of SignalGroupTable for the module's kind.

#include "editor/rules/EditorLayout.h"
#include "model/ModuleModel.h"
#include "model/SignalGroups.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr int kSourceGroupItems = 9;
constexpr int kTargetGroupItems = 2;
constexpr int kGroupLabelCount = 20;
// Registers are 16-bit words: no group reaches past the last one.
constexpr int32_t kHighestRegister = 65535;
inline constexpr char kBlankGroupItem[] = " ";

// The lines 1..20 of the group label text table, in the active language.
struct GroupLabels {
    std::array<std::string, kGroupLabelCount + 1> lines; // index 0 unused
    // Label k; empty outside 1..20.
    const std::string& label(int k) const;
};

// The items of the source group box: the bit group (only for a module with
// source bits), the register groups the module has, the central device's
// own groups, then its kind's signal groups; blank items fill up to nine.
std::array<std::string, kSourceGroupItems> SourceGroupItems(const SignalGroupSet& groups, const ModuleRecord& module,
                                                            const GroupLabels& labels);
// The target bit group and target register group the module has; blank otherwise.
std::array<std::string, kTargetGroupItems> TargetGroupItems(const ModuleRecord& module, const GroupLabels& labels);

struct PaneGroup {
    bool known = false;        // the text names a group of this module
    int label = 0;             // the fixed group label it matched; 0 for a signal group
    int32_t baseRegister = 0;  // register of row 0 at scroll position 0
    int32_t cellRows = 0;      // rows whose cells hold data
    int32_t labelRows = 0;     // rows whose register labels are offered
    int32_t scrollMaximum = 0; // 0..65535
    CellLayout layout = CellLayout::Register;
};

PaneGroup SourceGroupOf(const SignalGroupSet& groups, const ModuleRecord& module, const std::string& text, const GroupLabels& labels);
PaneGroup TargetGroupOf(const ModuleRecord& module, const std::string& text, const GroupLabels& labels);

// A run of bits a group offers, counted over the whole register space
// (register * 16 + bit).
struct GroupBits {
    int64_t first = 0;
    int64_t count = 0;

    bool holds(int64_t from, int64_t bits) const { return first <= from && from + bits <= first + count; }
};

// The bits a link may read from or write to on the module, group by group,
// as far as the panes let them be clicked: only a range that lies within one
// of them can be made in the editor. Language-neutral: a signal group named
// like a fixed group's label does not take its place here.
std::vector<GroupBits> SourceGroupBits(const SignalGroupSet& groups, const ModuleRecord& module);
std::vector<GroupBits> TargetGroupBits(const ModuleRecord& module);

// Background of a cell or row label: offered for a click (info background),
// outside the group's data (muted), or sky blue (a row label inside the data;
// on the target pane a bit the current selection cannot start at, or one a
// link already writes).
enum class CellColour { Offered, OutsideData, SkyBlue };

struct CellState {
    bool clickable = false;
    CellColour colour = CellColour::OutsideData;
};

struct PaneCells {
    std::array<CellState, kPaneCells> cells{};
    std::array<CellState, kPaneRows> rowLabels{};
    std::array<int32_t, kPaneRows> rowRegisters{}; // the register each row shows
};

// Any source bit inside the group's data can be chosen, used by links or not.
PaneCells SourceCells(const PaneGroup& group, const ModuleRecord& module, int32_t scroll);
// A target bit is offered only while a source range of `selectedBits` is
// chosen, and only where the whole range starting there stays in the group.
PaneCells TargetCells(const PaneGroup& group, const ModuleRecord& module, int32_t scroll, int32_t selectedBits);

#include "editor/rules/EditorGroups.h"

#include "model/SignalGroups.h"

#include <algorithm>
#include <optional>
#include <span>

namespace {

constexpr int kBitGroupLabel = 1;
constexpr int kTargetBitLabel = 11;
constexpr int kTargetRegisterLabel = 12;
// Groups of the central device that always hold four registers.
constexpr int kFirstFourRegisterLabel = 6;
// Kind 1 has no target register group of its own size: its rows are fixed.
constexpr int32_t kFixedTargetRows = 9;

struct FixedGroup {
    int label;
    int32_t baseRegister;
    CellLayout layout;
};

constexpr std::array<FixedGroup, 4> kModuleGroups{{
    {1, 100, CellLayout::Bit}, {2, 150, CellLayout::Register}, {3, 200, CellLayout::Register}, {4, 0, CellLayout::Register}}};
constexpr std::array<FixedGroup, 4> kCompactModuleGroups{{
    {1, 42, CellLayout::Bit}, {2, 43, CellLayout::Register}, {3, 45, CellLayout::Register}, {4, 0, CellLayout::Register}}};
constexpr std::array<FixedGroup, 1> kTelegramModuleGroups{{{4, 0, CellLayout::Register}}};
constexpr std::array<FixedGroup, 6> kCentralDeviceGroups{{{4, 1502, CellLayout::Register},
                                                          {5, 1621, CellLayout::Register},
                                                          {6, 1605, CellLayout::Register},
                                                          {7, 1609, CellLayout::Register},
                                                          {8, 1613, CellLayout::Register},
                                                          {9, 1617, CellLayout::Register}}};

// Modules whose groups are sized by their own counts.
bool isSizedModuleKind(int kind)
{
    return kind == 0 || kind == 3 || kind == 4 || kind == 5;
}

std::span<const FixedGroup> fixedSourceGroups(int kind)
{
    if (isSizedModuleKind(kind))
        return kModuleGroups;
    switch (kind) {
    case 1:
        return kCompactModuleGroups;
    case 2:
        return kTelegramModuleGroups;
    case kCentralDeviceKind:
        return kCentralDeviceGroups;
    default:
        return {};
    }
}

// Kinds 1 and 2 let a signal group of the same name take a fixed group's place.
bool signalGroupOverridesFixed(int kind)
{
    return kind == 1 || kind == 2;
}

bool hasSignalGroups(int kind)
{
    return kind >= 0 && kind < kSignalGroupKinds;
}

// The signal groups of a kind that hold registers, in file order.
std::span<const SignalGroup> signalGroupsOf(const SignalGroupSet& groups, int kind)
{
    if (!hasSignalGroups(kind))
        return {};
    const auto k = static_cast<std::size_t>(kind);
    const int count = std::clamp(groups.SignalGroupCount[k], 0, kSignalGroupEntries);
    return std::span<const SignalGroup>(groups.SignalGroupTable[k]).subspan(1, static_cast<std::size_t>(count));
}

// Of several entries with the same name the last one counts.
std::optional<SignalGroup> signalGroupNamed(const SignalGroupSet& groups, int kind, const std::string& text)
{
    std::optional<SignalGroup> found;
    for (const SignalGroup& group : signalGroupsOf(groups, kind)) {
        if (group.registerCount > 0 && group.name == text)
            found = group;
    }
    return found;
}

std::optional<FixedGroup> fixedGroupNamed(int kind, const std::string& text, const GroupLabels& labels)
{
    for (const FixedGroup& group : fixedSourceGroups(kind)) {
        if (labels.label(group.label) == text)
            return group;
    }
    return std::nullopt;
}

// Rows of a bit group of `bits` bits: whole registers for the cells, every
// register that holds a bit for the row labels.
int32_t bitRows(int32_t bits, bool partialRegisterCounts)
{
    return partialRegisterCounts ? static_cast<int32_t>((int64_t{bits} + 15) / 16) : bits / 16;
}

int32_t bitGroupScrollMaximum(int32_t bits)
{
    return bits > kPaneCells ? (bits - kPaneCells) / 16 : 0;
}

int32_t registerGroupScrollMaximum(int32_t registers)
{
    return static_cast<int32_t>(int64_t{registers} - kPaneRows);
}

int32_t fixedRows(int label, const ModuleRecord& module, bool forRowLabels)
{
    switch (label) {
    case 1:
        return bitRows(module.srcBitCount, forRowLabels);
    case 2:
        return module.srcRegCount;
    case 3:
        return module.src2RegCount;
    case 4:
    case 5:
        return module.src4Count;
    default:
        return label >= kFirstFourRegisterLabel ? 4 : 0;
    }
}

int32_t fixedScrollMaximum(int kind, int label, const ModuleRecord& module)
{
    if (!isSizedModuleKind(kind))
        return 0;
    switch (label) {
    case 1:
        return bitGroupScrollMaximum(module.srcBitCount);
    case 2:
        return registerGroupScrollMaximum(module.srcRegCount);
    case 3:
        return registerGroupScrollMaximum(module.src2RegCount);
    default:
        return 0;
    }
}

void keepInRegisterRange(PaneGroup& group)
{
    group.baseRegister = std::clamp(group.baseRegister, 0, kHighestRegister);
    group.scrollMaximum = std::clamp(group.scrollMaximum, 0, kHighestRegister);
}

} // namespace

const std::string& GroupLabels::label(int k) const
{
    static const std::string none;
    return k >= 1 && k <= kGroupLabelCount ? lines[static_cast<std::size_t>(k)] : none;
}

std::array<std::string, kSourceGroupItems> SourceGroupItems(const SignalGroupSet& groups, const ModuleRecord& module,
                                                                const GroupLabels& labels)
{
    std::array<std::string, kSourceGroupItems> items;
    items.fill(kBlankGroupItem);
    // Every module's groups start at item 0: a module without source bits
    // (an XTQ) would otherwise keep the previous module's first item, and
    // offer bits it does not have.
    std::size_t p = 0;
    const auto add = [&items, &p](const std::string& text) {
        if (p < items.size())
            items[p++] = text;
    };
    if (module.srcBitCount > 0)
        add(labels.label(1));
    if (module.srcRegCount > 0)
        add(labels.label(2));
    if (module.src2RegCount > 0)
        add(labels.label(3));
    if (module.src4Count > 0)
        add(labels.label(4));
    if (module.iModulKennNr == kCentralDeviceKind) {
        for (int label = 5; label <= 9; ++label)
            add(labels.label(label));
    }
    for (const SignalGroup& group : signalGroupsOf(groups, module.iModulKennNr)) {
        if (group.registerCount > 0)
            add(group.name);
    }
    return items;
}

std::array<std::string, kTargetGroupItems> TargetGroupItems(const ModuleRecord& module, const GroupLabels& labels)
{
    std::array<std::string, kTargetGroupItems> items{kBlankGroupItem, kBlankGroupItem};
    std::size_t p = 0;
    if (module.dstBitCount > 0)
        items[p++] = labels.label(kTargetBitLabel);
    if (module.dstRegCount > 0)
        items[p] = labels.label(kTargetRegisterLabel);
    return items;
}

PaneGroup SourceGroupOf(const SignalGroupSet& groups, const ModuleRecord& module, const std::string& text, const GroupLabels& labels)
{
    const int kind = module.iModulKennNr;
    const std::optional<FixedGroup> fixed = fixedGroupNamed(kind, text, labels);
    const std::optional<SignalGroup> signal = signalGroupNamed(groups, kind, text);
    PaneGroup group;
    if (!fixed && !signal)
        return group;

    group.known = true;
    if (fixed) {
        group.label = fixed->label;
        group.layout = fixed->layout;
        group.cellRows = fixedRows(fixed->label, module, false);
        group.labelRows = fixedRows(fixed->label, module, true);
    } else {
        group.cellRows = signal->registerCount;
        group.labelRows = signal->registerCount;
    }
    if (fixed && !(signal && signalGroupOverridesFixed(kind))) {
        group.baseRegister = fixed->baseRegister;
        group.scrollMaximum = fixedScrollMaximum(kind, fixed->label, module);
    } else {
        group.baseRegister = signal->firstRegister;
        group.scrollMaximum = registerGroupScrollMaximum(signal->registerCount);
    }
    keepInRegisterRange(group);
    return group;
}

PaneGroup TargetGroupOf(const ModuleRecord& module, const std::string& text, const GroupLabels& labels)
{
    const int kind = module.iModulKennNr;
    const bool compact = kind == 1;
    PaneGroup group;
    // An XTQ and the central device take no links: their target pane offers
    // no row, whatever its box shows.
    if (!compact && !isSizedModuleKind(kind))
        return group;

    if (text == labels.label(kTargetBitLabel)) {
        group.label = kTargetBitLabel;
        group.layout = CellLayout::Bit;
        group.baseRegister = compact ? 3 : 300;
        group.labelRows = compact ? kFixedTargetRows : bitRows(module.dstBitCount, true);
        group.scrollMaximum = compact ? 0 : bitGroupScrollMaximum(module.dstBitCount);
    } else if (text == labels.label(kTargetRegisterLabel)) {
        group.label = kTargetRegisterLabel;
        group.layout = CellLayout::Register;
        group.baseRegister = compact ? 49 : 350;
        group.labelRows = compact ? kFixedTargetRows : module.dstRegCount;
        group.scrollMaximum = registerGroupScrollMaximum(module.dstRegCount);
    } else {
        return group;
    }
    group.known = true;
    group.cellRows = group.labelRows;
    keepInRegisterRange(group);
    return group;
}

namespace {

void labelRows(PaneCells& pane, const PaneGroup& group, int32_t scroll)
{
    for (int r = 0; r < kPaneRows; ++r) {
        const auto i = static_cast<std::size_t>(r);
        const bool inData = int64_t{group.labelRows} >= int64_t{scroll} + r + 1;
        pane.rowLabels[i] = inData ? CellState{true, CellColour::SkyBlue} : CellState{false, CellColour::OutsideData};
        pane.rowRegisters[i] = group.baseRegister + scroll + r;
    }
}

} // namespace

PaneCells SourceCells(const PaneGroup& group, const ModuleRecord& module, int32_t scroll)
{
    PaneCells pane;
    for (int index = 0; index < kPaneCells; ++index) {
        const int row = index / kPaneColumns;
        const int column = index % kPaneColumns + 1;
        const bool inData = group.known && int64_t{row} + scroll < group.cellRows;
        // A bit group of fewer than 16 bits fills only part of its first row.
        const bool inShortBitGroup = group.label == kBitGroupLabel && group.cellRows == 0 && row + scroll == 0 &&
                                     column <= module.srcBitCount;
        if (inData || inShortBitGroup)
            pane.cells[static_cast<std::size_t>(index)] = {true, CellColour::Offered};
    }
    labelRows(pane, group, scroll);
    return pane;
}

PaneCells TargetCells(const PaneGroup& group, const ModuleRecord& module, int32_t scroll, int32_t selectedBits)
{
    PaneCells pane;
    if (group.known) {
        const bool bitGroup = group.label == kTargetBitLabel;
        // Bits the group holds, counted like x: 1 for bit 0 of its first register.
        const int64_t groupBits = bitGroup ? int64_t{module.dstBitCount} : int64_t{module.dstRegCount} * 16;
        for (int index = 0; index < kPaneCells; ++index) {
            const int row = index / kPaneColumns;
            const int64_t x = (int64_t{row} + scroll) * 16 + index % kPaneColumns + 1;
            const bool outside = bitGroup ? x > groupBits : int64_t{row} + scroll >= module.dstRegCount;
            CellState& cell = pane.cells[static_cast<std::size_t>(index)];
            if (outside)
                cell = {false, CellColour::OutsideData};
            else if (selectedBits != 0 && x <= groupBits - selectedBits + 1)
                cell = {true, CellColour::Offered};
            else
                cell = {false, CellColour::SkyBlue};
        }
    }
    labelRows(pane, group, scroll);
    return pane;
}

namespace {

// Labels no group box shows: the fixed groups are found by number alone.
const GroupLabels& neutralLabels()
{
    static const GroupLabels labels = [] {
        GroupLabels l;
        for (int k = 1; k <= kGroupLabelCount; ++k)
            l.lines[static_cast<std::size_t>(k)] = "\x01" + std::to_string(k);
        return l;
    }();
    return labels;
}

// Rows a pane can bring into view: the window of ten at the farthest scroll.
int64_t reachableRows(const PaneGroup& group, int64_t rows)
{
    return std::min(rows, int64_t{group.scrollMaximum} + kPaneRows);
}

} // namespace

std::vector<GroupBits> SourceGroupBits(const SignalGroupSet& groups, const ModuleRecord& module)
{
    std::vector<GroupBits> runs;
    for (const std::string& item : SourceGroupItems(groups, module, neutralLabels())) {
        const PaneGroup group = SourceGroupOf(groups, module, item, neutralLabels());
        if (!group.known)
            continue;
        const bool shortBitGroup = group.label == kBitGroupLabel && group.cellRows == 0;
        const int64_t bits = shortBitGroup ? std::clamp<int64_t>(module.srcBitCount, 0, kPaneColumns)
                                           : reachableRows(group, group.cellRows) * kPaneColumns;
        runs.push_back({int64_t{group.baseRegister} * 16, std::max<int64_t>(bits, 0)});
    }
    return runs;
}

std::vector<GroupBits> TargetGroupBits(const ModuleRecord& module)
{
    std::vector<GroupBits> runs;
    for (const std::string& item : TargetGroupItems(module, neutralLabels())) {
        const PaneGroup group = TargetGroupOf(module, item, neutralLabels());
        if (!group.known)
            continue;
        // As TargetCells offers a start: the whole range stays in the group.
        const int64_t groupBits = group.label == kTargetBitLabel ? int64_t{module.dstBitCount}
                                                                  : int64_t{module.dstRegCount} * 16;
        runs.push_back({int64_t{group.baseRegister} * 16, std::max<int64_t>(groupBits, 0)});
    }
    return runs;
}

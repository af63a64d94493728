#include "editor/rules/LinkActionRules.h"

#include "editor/rules/LinkMarks.h"
#include "i18n/LanguageTexts.h"

#include "model/Station.h"

#include <algorithm>
#include <array>

namespace {

constexpr int64_t kBitsPerRegister = 16;
// A link's target end counts as in view on the other pane up to this many
// registers from its first visible one; such a link can be switched or deleted
// from the source pane, any other is only offered to be shown.
constexpr int64_t kTargetInViewReach = 49;

// The row texts belong to the link action dialog's own texts; "%s1" is the
// link's letter, or its number on the target pane.
constexpr char kDialogSection[] = "F_PDauswahl";
enum RowText { ShowRow = 6, ActivateRow = 7, DeactivateRow = 8, DeleteRow = 9 };

std::string rowText(RowText which, const std::string& link)
{
    switch (which) {
    case ShowRow:
        return FormTextOr(kDialogSection, which, "Verkn\xFCpfung - %s1 anzeigen", {link});
    case ActivateRow:
        return FormTextOr(kDialogSection, which, "Verkn\xFCpfung - %s1 aktivieren", {link});
    case DeactivateRow:
        return FormTextOr(kDialogSection, which, "Verkn\xFCpfung - %s1 deaktivieren", {link});
    case DeleteRow:
        break;
    }
    return FormTextOr(kDialogSection, DeleteRow, "Verkn\xFCpfung - %s1 l\xF6schen", {link});
}

// The last link number that may index LinkTable, whatever AnzBefehle holds.
int32_t lastLink(const Station& station)
{
    return std::clamp(station.AnzBefehle, 0, kMaxLinks);
}

bool isLink(const Station& station, int32_t n)
{
    return n >= 1 && n <= lastLink(station);
}

const LinkRecord& link(const Station& station, int32_t n)
{
    return station.LinkTable[static_cast<std::size_t>(n)];
}

int64_t bitIndex(int64_t reg, int64_t bit)
{
    return reg * kBitsPerRegister + bit;
}

bool targetInView(const Station& station, const LinkDialogContext& context, const LinkRecord& l)
{
    return station.ModuleListPosition(l.ModulZ) == context.otherModule && context.otherFirstVisible <= l.RegZ &&
           l.RegZ < int64_t{context.otherFirstVisible} + kTargetInViewReach;
}

LinkDialogRow sourcePaneRow(const Station& station, const LinkDialogContext& context, int32_t n, int32_t ordinal)
{
    const LinkRecord& l = link(station, n);
    // The capitals both panes mark the link's two ends with.
    const std::string letter = LinkLetter(ordinal, true);
    LinkDialogRow row{n, {}, {}, {}};
    if (targetInView(station, context, l)) {
        row.switchText = rowText(l.deaktiv != 0 ? ActivateRow : DeactivateRow, letter);
        row.deleteText = rowText(DeleteRow, letter);
    } else {
        row.showText = rowText(ShowRow, letter);
    }
    return row;
}

LinkDialogRow targetPaneRow(int32_t n, int32_t ordinal)
{
    return {n, rowText(ShowRow, std::to_string(ordinal)), {}, {}};
}

// The item among `first..last` that shows group label `label`; item 0 when
// none does or the label is unknown.
int itemOfLabel(std::size_t label, std::size_t first, std::size_t last, const std::vector<std::string>& groupItems,
                const std::vector<std::string>& groupLabels)
{
    if (label >= groupLabels.size())
        return 0;
    for (std::size_t i = first; i <= last && i < groupItems.size(); ++i) {
        if (groupItems[i] == groupLabels[label])
            return static_cast<int>(i);
    }
    return 0;
}

// The item named like the module kind's signal group that holds `reg`. A
// group of n registers holds its first register and the n - 1 behind it, as
// the group shows them; the register behind the last belongs to the next one.
int signalGroupItem(const SignalGroupSet& signalGroups, int32_t moduleKind, int32_t reg, const std::vector<std::string>& groupItems)
{
    if (moduleKind < 0 || moduleKind >= kSignalGroupKinds)
        return 0;
    const auto& groups = signalGroups.SignalGroupTable[static_cast<std::size_t>(moduleKind)];
    const int count = std::clamp(signalGroups.SignalGroupCount[static_cast<std::size_t>(moduleKind)], 0, kSignalGroupEntries);
    const SignalGroup* holder = nullptr;
    for (int e = 1; e <= count; ++e) {
        const SignalGroup& group = groups[static_cast<std::size_t>(e)];
        if (group.firstRegister <= reg && reg < int64_t{group.firstRegister} + group.registerCount)
            holder = &group;
    }
    if (holder == nullptr)
        return 0;
    const auto named = std::find(groupItems.begin(), groupItems.end(), holder->name);
    return named == groupItems.end() ? 0 : static_cast<int>(named - groupItems.begin());
}

} // namespace

int64_t SourceRangeCount(int32_t startReg, int32_t startBit, int32_t reg, int32_t bit)
{
    return bitIndex(reg, bit) - bitIndex(startReg, startBit) + 1;
}

bool SourceRangeAllowed(int64_t count, int32_t startBit)
{
    return (count >= 1 && count <= 32) || (startBit == 0 && (count == 48 || count == 64));
}

bool LinkCoversCell(const Station& station, const LinkDialogContext& context, int32_t linkNumber)
{
    if (!isLink(station, linkNumber) || !IsCellNumber(context.clickedCell))
        return false;
    const LinkRecord& l = link(station, linkNumber);
    const CellAddress clicked = context.clickedAt();
    const bool target = clicked.pane == Pane::Target;
    const int64_t position = clicked.index + 1;
    const int64_t firstRegister = int64_t{context.clickedBaseRegister} + context.clickedScroll;
    const int64_t start =
        bitIndex(int64_t{target ? l.RegZ : l.RegVon} - firstRegister, target ? l.BitZ : l.BitVon) + 1;
    return start <= position && position <= start + l.AnzBit - 1;
}

std::vector<LinkDialogRow> LinkDialogRows(const Station& station, const LinkDialogContext& context)
{
    std::vector<LinkDialogRow> rows;
    const bool target = context.onTargetPane();
    int32_t ordinal = 0;
    for (int32_t n = 1; n <= lastLink(station); ++n) {
        const LinkRecord& l = link(station, n);
        if (station.ModuleListPosition(target ? l.ModulZ : l.ModulQ) != context.clickedModule)
            continue;
        ++ordinal;
        if (LinkCoversCell(station, context, n))
            rows.push_back(target ? targetPaneRow(n, ordinal) : sourcePaneRow(station, context, n, ordinal));
    }
    return rows;
}

LinkAction DecodeLinkAnswer(const Station& station, const LinkDialogContext& context)
{
    if (context.result < 1000)
        return {};
    const int32_t n = context.result % 1000;
    if (!isLink(station, n))
        return {};
    switch (context.result / 1000) {
    case 1:
        return {LinkActionKind::Delete, n};
    case 2:
        return {context.onTargetPane() ? LinkActionKind::ShowSourceEnd : LinkActionKind::ShowTargetEnd, n};
    case 3:
        return {LinkActionKind::ShowSourceEnd, n};
    case 4:
        return {LinkActionKind::Switch, n};
    default:
        return {};
    }
}

int SourceGroupItemFor(const SignalGroupSet& groups, int32_t moduleKind, int32_t regVon, const std::vector<std::string>& groupItems,
                       const std::vector<std::string>& groupLabels)
{
    // Where the fixed groups can stand in the box: behind the bit group (item
    // 0 for a module, absent for the central device) come the register groups
    // of labels 2, 3 and 4, each only when the module has it.
    const auto label = [&](std::size_t k, std::size_t first, std::size_t last) {
        return itemOfLabel(k, first, last, groupItems, groupLabels);
    };
    const auto label2 = [&] { return label(2, 0, 2); };
    const auto label3 = [&] { return label(3, 1, 3); };
    const auto label4 = [&] { return label(4, 0, 4); };

    switch (moduleKind) {
    case 0:
    case 3:
    case 4:
    case 5:
        if (regVon == 0 || regVon == 1502)
            return label4();
        if (regVon >= 100 && regVon <= 149)
            return 0;
        if (regVon >= 150 && regVon <= 199)
            return label2();
        if (regVon >= 200 && regVon <= 299)
            return label3();
        break;
    case 1:
        if (regVon == 0 || regVon == 1502)
            return label4();
        if (regVon == 42)
            return 0;
        if (regVon == 43 || regVon == 44)
            return label2();
        if (regVon >= 45 && regVon <= 47)
            return label3();
        break;
    case 2:
        // Its only fixed group stands behind the unused bit group item.
        if (regVon == 0)
            return label4();
        break;
    case 6: {
        // The central device's groups stand in the box in the order of their
        // first registers here.
        static constexpr std::array<int32_t, 6> firstRegisters{1502, 1621, 1605, 1609, 1613, 1617};
        const auto found = std::find(firstRegisters.begin(), firstRegisters.end(), regVon);
        if (found != firstRegisters.end()) {
            const auto item = static_cast<std::size_t>(found - firstRegisters.begin());
            return item < groupItems.size() ? static_cast<int>(item) : 0;
        }
        break;
    }
    default:
        break;
    }
    return signalGroupItem(groups, moduleKind, regVon, groupItems);
}

int TargetGroupItemFor(int32_t regZ, const std::vector<std::string>& groupItems,
                       const std::vector<std::string>& groupLabels)
{
    if (regZ >= 300 && regZ <= 349)
        return itemOfLabel(11, 0, 1, groupItems, groupLabels);
    if (regZ >= 350 && regZ <= 399)
        return itemOfLabel(12, 0, 1, groupItems, groupLabels);
    return 0;
}

bool TargetRangeInUse(const Station& station, int32_t modulZ, int32_t regZ, int32_t bitZ, int32_t anzBit)
{
    if (anzBit <= 0)
        return false;
    const int64_t first = bitIndex(regZ, bitZ);
    const int64_t end = first + anzBit;
    for (int32_t n = 1; n <= lastLink(station); ++n) {
        const LinkRecord& l = link(station, n);
        if (l.ModulZ != modulZ || l.AnzBit <= 0)
            continue;
        const int64_t linkFirst = bitIndex(l.RegZ, l.BitZ);
        if (linkFirst < end && first < linkFirst + l.AnzBit)
            return true;
    }
    return false;
}

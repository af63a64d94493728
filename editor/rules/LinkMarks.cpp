#include "editor/rules/LinkMarks.h"

#include "model/LinkModel.h"

#include <algorithm>
#include <span>

namespace {

constexpr int kLetters = 26;

// The links in use; a count from outside never reaches past the table.
std::span<const LinkRecord> linksInUse(const LinkTableModel& table)
{
    const int count = std::clamp(table.AnzBefehle, 0, kLinkTableSlots - 1);
    return std::span<const LinkRecord>(table.LinkTable).subspan(1, static_cast<std::size_t>(count));
}

template <typename Mark>
void forEachCellInWindow(int32_t reg, int32_t bit, int32_t count, int32_t firstRegister, Mark mark)
{
    const CellRun run = CellsInWindow(reg, bit, count, firstRegister);
    for (int index = run.first; index <= run.last; ++index)
        mark(static_cast<std::size_t>(index));
}

bool coversCell(int32_t reg, int32_t bit, int32_t count, int32_t firstRegister, int index)
{
    const CellRun run = CellsInWindow(reg, bit, count, firstRegister);
    return run.first <= index && index <= run.last;
}

} // namespace

CellRun CellsInWindow(int32_t reg, int32_t bit, int32_t count, int32_t firstRegister)
{
    const int64_t start = (int64_t{reg} - firstRegister) * kPaneColumns + bit;
    const int64_t first = std::max<int64_t>(start, 0);
    const int64_t last = std::min<int64_t>(start + count - 1, kPaneCells - 1);
    if (first > last)
        return {};
    return {static_cast<int>(first), static_cast<int>(last)};
}

std::string LinkLetter(int ordinal, bool targetInView)
{
    const char first = targetInView ? 'A' : 'a';
    std::string mark;
    // Letters as digits of a base without zero: Z is followed by AA, AZ by BA.
    for (int rest = ordinal; rest > 0; rest = (rest - 1) / kLetters)
        mark.insert(mark.begin(), static_cast<char>(first + (rest - 1) % kLetters));
    return mark;
}

PaneMarks SourceLinkMarks(const LinkTableModel& table, int32_t sourceModule, int32_t targetModule, int32_t firstRegister)
{
    PaneMarks marks;
    int ordinal = 0;
    for (const LinkRecord& link : linksInUse(table)) {
        if (link.ModulQ != sourceModule)
            continue;
        const std::string letter = LinkLetter(++ordinal, link.ModulZ == targetModule);
        forEachCellInWindow(link.RegVon, link.BitVon, link.AnzBit, firstRegister, [&](std::size_t index) {
            CellMark& cell = marks[index];
            cell.bold = cell.text != kNoMark;
            cell.inactive = link.deaktiv != 0;
            cell.text = letter;
        });
    }
    return marks;
}

PaneMarks TargetLinkMarks(const LinkTableModel& table, int32_t sourceModule, int32_t targetModule, int32_t firstRegister)
{
    PaneMarks marks;
    for (const LinkRecord& link : linksInUse(table)) {
        if (link.ModulZ == targetModule)
            forEachCellInWindow(link.RegZ, link.BitZ, link.AnzBit, firstRegister,
                                [&](std::size_t index) { marks[index].text = kForeignTargetMark; });
    }
    int ordinal = 0;
    for (const LinkRecord& link : linksInUse(table)) {
        if (link.ModulQ != sourceModule)
            continue;
        const std::string letter = LinkLetter(++ordinal, true);
        if (link.ModulZ == targetModule)
            forEachCellInWindow(link.RegZ, link.BitZ, link.AnzBit, firstRegister,
                                [&](std::size_t index) { marks[index].text = letter; });
    }
    return marks;
}

std::vector<LinkOnCell> SourceLinksOnCell(const LinkTableModel& table, int32_t sourceModule, int32_t targetModule,
                                          int32_t firstRegister, int index)
{
    std::vector<LinkOnCell> links;
    int ordinal = 0;
    for (const LinkRecord& link : linksInUse(table)) {
        if (link.ModulQ != sourceModule)
            continue;
        ++ordinal;
        if (coversCell(link.RegVon, link.BitVon, link.AnzBit, firstRegister, index))
            links.push_back({static_cast<int32_t>(&link - table.LinkTable.data()),
                             LinkLetter(ordinal, link.ModulZ == targetModule), link.ModulQ, link.deaktiv == 0});
    }
    return links;
}

std::vector<LinkOnCell> TargetLinksOnCell(const LinkTableModel& table, int32_t sourceModule, int32_t targetModule,
                                          int32_t firstRegister, int index)
{
    std::vector<LinkOnCell> links;
    int ordinal = 0;
    for (const LinkRecord& link : linksInUse(table)) {
        // The source module's links keep their letters; every other link into the module is an "x".
        const bool own = link.ModulQ == sourceModule;
        if (own)
            ++ordinal;
        if (link.ModulZ == targetModule && coversCell(link.RegZ, link.BitZ, link.AnzBit, firstRegister, index))
            links.push_back({static_cast<int32_t>(&link - table.LinkTable.data()),
                             own ? LinkLetter(ordinal, true) : kForeignTargetMark, link.ModulQ, link.deaktiv == 0});
    }
    return links;
}

#include "editor/rules/SelectionRules.h"

#include "editor/rules/LinkActionRules.h"

#include <algorithm>

namespace {

constexpr int32_t kRegisterBits = 16;

void start(LinkSelection& selection, int32_t reg, int32_t bit)
{
    selection.regQ = reg;
    selection.bitQ = bit;
    selection.anzBit = 1;
}

} // namespace

SourceClick ClickSourceBit(LinkSelection& selection, int32_t reg, int32_t bit)
{
    if (!selection.hasSourceRange()) {
        start(selection, reg, bit);
        return SourceClick::Start;
    }
    const int64_t count = SourceRangeCount(selection.regQ, selection.bitQ, reg, bit);
    if (count < 1) {
        start(selection, reg, bit);
        return SourceClick::Restart;
    }
    const bool allowed = SourceRangeAllowed(count, selection.bitQ);
    if (allowed && count > 1) {
        selection.anzBit = static_cast<int32_t>(count);
        return SourceClick::End;
    }
    selection.clearSource();
    return allowed ? SourceClick::Drop : SourceClick::Refuse;
}

void ChooseSourceRegister(LinkSelection& selection, int32_t reg)
{
    selection.regQ = reg;
    selection.bitQ = 0;
    selection.anzBit = kRegisterBits;
}

void MarkSelectedRun(PaneMarks& marks, int32_t reg, int32_t bit, int32_t count, int32_t firstVisible)
{
    const CellRun run = CellsInWindow(reg, bit, count, firstVisible);
    for (int index = run.first; index <= run.last; ++index)
        marks[static_cast<std::size_t>(index)].text = kSelectionMark;
}

bool PlaceTargetStart(const Station& station, LinkSelection& selection, PaneMarks& marks, int index, int32_t firstVisible)
{
    selection.regZ = firstVisible + index / kRegisterBits;
    selection.bitZ = index % kRegisterBits;
    const CellRun run = CellsInWindow(selection.regZ, selection.bitZ, selection.anzBit, firstVisible);
    const bool takenInView = std::any_of(marks.begin() + run.first, marks.begin() + run.last + 1,
                                         [](const CellMark& mark) { return mark.text != kNoMark; });
    const bool taken =
        takenInView || TargetRangeInUse(station, selection.modulZ, selection.regZ, selection.bitZ, selection.anzBit);
    if (!taken)
        MarkSelectedRun(marks, selection.regZ, selection.bitZ, selection.anzBit, firstVisible);
    return taken;
}

bool CanTakeOver(const LinkSelection& selection)
{
    return selection.anzBit > 0 && selection.regZ > 0;
}

#include "editor/rules/ComparisonFrames.h"

#include "editor/rules/LinkMarks.h"
#include "model/LinkComparison.h"

#include <algorithm>

namespace {

void addLink(DifferingBits& bits, const LinkRecord& link)
{
    const FramedBits source{link.ModulQ, link.RegVon, link.BitVon, link.AnzBit};
    const FramedBits target{link.ModulZ, link.RegZ, link.BitZ, link.AnzBit};
    // A link changed only in its state has the same bits on both sides: framed once.
    if (std::find(bits.source.begin(), bits.source.end(), source) == bits.source.end())
        bits.source.push_back(source);
    if (std::find(bits.target.begin(), bits.target.end(), target) == bits.target.end())
        bits.target.push_back(target);
}

} // namespace

DifferingBits DifferingLinkBits(std::span<const LinkRecord> here, std::span<const LinkRecord> device)
{
    DifferingBits bits;
    const auto at = [](std::span<const LinkRecord> links, int32_t number) -> const LinkRecord* {
        return number >= 1 && static_cast<std::size_t>(number) <= links.size()
                   ? &links[static_cast<std::size_t>(number - 1)]
                   : nullptr;
    };
    for (const LinkComparisonRow& row : CompareLinks(here, device)) {
        if (row.status == LinkRowStatus::Same)
            continue;
        for (const LinkRecord* link : {at(here, row.here), at(device, row.device)}) {
            if (link != nullptr)
                addLink(bits, *link);
        }
    }
    return bits;
}

PaneFrames FramedCells(std::span<const FramedBits> bits, int32_t module, int32_t firstRegister)
{
    PaneFrames frames{};
    for (const FramedBits& run : bits) {
        if (run.module != module)
            continue;
        const CellRun cells = CellsInWindow(run.reg, run.bit, run.count, firstRegister);
        for (int index = cells.first; index <= cells.last; ++index)
            frames[static_cast<std::size_t>(index)] = true;
    }
    return frames;
}

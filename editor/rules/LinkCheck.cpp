#include "editor/rules/LinkCheck.h"

#include "editor/rules/EditorGroups.h"
#include "editor/rules/LinkActionRules.h"
#include "model/Station.h"

#include <algorithm>

namespace {

constexpr int32_t kHighestBit = 15;

bool active(const LinkRecord& link)
{
    return link.deaktiv == 0;
}

bool present(const ModuleModel& modules, int32_t address)
{
    return address == 0 || modules.Module(address).present != 0;
}

int64_t firstBit(int32_t reg, int32_t bit)
{
    return int64_t{reg} * 16 + bit;
}

bool sameLink(const LinkRecord& a, const LinkRecord& b)
{
    return a.ModulQ == b.ModulQ && a.RegVon == b.RegVon && a.BitVon == b.BitVon && a.AnzBit == b.AnzBit &&
           a.ModulZ == b.ModulZ && a.RegZ == b.RegZ && a.BitZ == b.BitZ;
}

bool targetsOverlap(const LinkRecord& a, const LinkRecord& b)
{
    if (a.ModulZ != b.ModulZ || a.AnzBit <= 0 || b.AnzBit <= 0)
        return false;
    const int64_t aFirst = firstBit(a.RegZ, a.BitZ);
    const int64_t bFirst = firstBit(b.RegZ, b.BitZ);
    return aFirst < bFirst + b.AnzBit && bFirst < aFirst + a.AnzBit;
}

bool within(const std::vector<GroupBits>& groups, int32_t reg, int32_t bit, int32_t count)
{
    return std::ranges::any_of(groups, [&](const GroupBits& g) { return g.holds(firstBit(reg, bit), count); });
}

// What the link alone breaks, first things first: a module it cannot reach
// is not looked into further.
void checkAlone(const Station& station, const LinkRecord& link, int32_t n, std::vector<LinkProblem>& problems)
{
    const bool refuses = active(link);
    bool modulesThere = true;
    for (const int32_t module : {link.ModulQ, link.ModulZ}) {
        if (!present(station, module)) {
            problems.push_back({LinkProblemKind::ModuleMissing, n, 0, module, refuses});
            modulesThere = false;
        }
    }
    const bool bitsAllowed = link.AnzBit > 0 && SourceRangeAllowed(link.AnzBit, link.BitVon) && link.BitVon >= 0 &&
                             link.BitVon <= kHighestBit && link.BitZ >= 0 && link.BitZ <= kHighestBit;
    if (!bitsAllowed) {
        problems.push_back({LinkProblemKind::RangeNotAllowed, n, 0, 0, refuses});
        return;
    }
    if (!modulesThere)
        return;
    const ModuleRecord& source = station.Module(link.ModulQ);
    const ModuleRecord& target = station.Module(link.ModulZ);
    if (!within(SourceGroupBits(station, source), link.RegVon, link.BitVon, link.AnzBit))
        problems.push_back({LinkProblemKind::OutsideGroups, n, 0, link.ModulQ, refuses});
    if (!within(TargetGroupBits(target), link.RegZ, link.BitZ, link.AnzBit))
        problems.push_back({LinkProblemKind::OutsideGroups, n, 0, link.ModulZ, refuses});
}

} // namespace

std::vector<LinkProblem> CheckLinks(const Station& station, std::span<const LinkRecord> links)
{
    std::vector<LinkProblem> problems;
    for (std::size_t j = 0; j < links.size(); ++j) {
        const LinkRecord& link = links[j];
        const auto n = static_cast<int32_t>(j + 1);
        checkAlone(station, link, n, problems);
        for (std::size_t i = 0; i < j; ++i) {
            const LinkRecord& earlier = links[i];
            const bool bothActive = active(link) && active(earlier);
            const auto other = static_cast<int32_t>(i + 1);
            if (sameLink(earlier, link))
                problems.push_back({LinkProblemKind::Duplicate, n, other, 0, bothActive});
            else if (targetsOverlap(earlier, link))
                problems.push_back({LinkProblemKind::TargetOverlap, n, other, 0, bothActive});
        }
    }
    return problems;
}

bool AnyRefuses(const std::vector<LinkProblem>& problems)
{
    return std::ranges::any_of(problems, &LinkProblem::refuses);
}

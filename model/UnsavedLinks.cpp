#include "model/UnsavedLinks.h"

#include "model/LinkModel.h"

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

// The links as last kept; the table starts empty, and so kept.
std::vector<LinkRecord>& keptLinks()
{
    static std::vector<LinkRecord> links;
    return links;
}

// The eight number fields; encodedText follows from them.
auto fields(const LinkRecord& l)
{
    return std::tie(l.ModulQ, l.RegVon, l.BitVon, l.AnzBit, l.ModulZ, l.RegZ, l.BitZ, l.deaktiv);
}

} // namespace

void MarkLinksKept()
{
    keptLinks() = CurrentLinks();
}

bool HasUnsavedLinks()
{
    const std::vector<LinkRecord> now = CurrentLinks();
    return !std::ranges::equal(now, keptLinks(),
                               [](const LinkRecord& a, const LinkRecord& b) { return fields(a) == fields(b); });
}

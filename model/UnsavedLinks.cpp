#include "model/UnsavedLinks.h"

#include "model/LinkModel.h"

#include <utility>

namespace {

// The links as last kept; the table starts empty, and so kept.
std::vector<LinkRecord>& keptLinks()
{
    static std::vector<LinkRecord> links;
    return links;
}

// Each keeping gets a number of its own, never given again.
uint64_t& keptNumber()
{
    static uint64_t number = 0;
    return number;
}

std::string& keptName()
{
    static std::string name;
    return name;
}

std::string& keptFile()
{
    static std::string path;
    return path;
}

uint64_t& lastNumberGiven()
{
    static uint64_t number = 0;
    return number;
}

} // namespace

void MarkLinksKept(const std::string& keptAs, const std::string& linkFile)
{
    keptLinks() = CurrentLinks();
    keptNumber() = ++lastNumberGiven();
    keptName() = keptAs;
    keptFile() = linkFile;
}

bool HasUnsavedLinks()
{
    return !SameLinks(CurrentLinks(), keptLinks());
}

KeptLinks LastKeptLinks()
{
    return {keptLinks(), keptNumber(), keptName(), keptFile()};
}

void PutBackKeptLinks(const KeptLinks& kept)
{
    keptLinks() = kept.links;
    keptNumber() = kept.number;
    keptName() = kept.keptAs;
    keptFile() = kept.linkFile;
}

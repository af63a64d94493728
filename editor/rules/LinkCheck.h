#pragma once

// The links checked as the editor would have made them, before they go to a
// device: a link read from a file or a snapshot may hold anything the device
// form can carry. Plain values: the window asks about what is found, the
// command line refuses, the link table page marks the rows.

#include "model/LinkModel.h"

#include <cstdint>
#include <span>
#include <vector>

struct Station;

enum class LinkProblemKind {
    TargetOverlap,   // writes target bits another link writes as well
    RangeNotAllowed, // a bit count or start bit the editor never takes
    OutsideGroups,   // bits beyond what the module's groups hold
    ModuleMissing,   // a module the station does not have
    Duplicate,       // the same link once more
};

struct LinkProblem {
    LinkProblemKind kind = LinkProblemKind::RangeNotAllowed;
    int32_t link = 0;   // 1-based
    int32_t other = 0;  // the earlier link of an overlap or a duplicate
    int32_t module = 0; // the missing module, or the one whose groups are left
    // Only a problem among links the device executes stops a write; one
    // that touches an inactive link is told, not refused.
    bool refuses = true;

    bool operator==(const LinkProblem&) const = default;
};

// Every problem of `links`, by link, against the modules of ModuleTable.
std::vector<LinkProblem> CheckLinks(const Station& station, std::span<const LinkRecord> links);

bool AnyRefuses(const std::vector<LinkProblem>& problems);

#pragma once

// The link table as one value: its links and what is known about them (the
// station they came from, the links last kept in a file or the device). An
// edit can be taken back by putting an earlier state back.

#include "model/LinkModel.h"
#include "model/StationIdentity.h"
#include "model/StationState.h"
#include "model/UnsavedLinks.h"

#include <optional>
#include <vector>

struct LinkTableState {
    std::vector<LinkRecord> links;
    std::optional<StationIdentity> origin;
    KeptLinks kept;
    // The module overview beside the links: a device read replaces both.
    OverviewState overview;
};

LinkTableState CaptureLinkTable(const Station& station);

// Puts `to`'s links back. Origin, kept links and the overview are facts
// about files and devices: they are put back only where they are still as
// `from` left them, so a save, a write or a port search made since stays
// known.
void RestoreLinkTable(Station& station, const LinkTableState& from, const LinkTableState& to);

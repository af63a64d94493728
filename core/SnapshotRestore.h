#pragma once

// A station's snapshots, kept before each write to it: what each holds
// against the device, and the newest of them loaded to be written back.

#include "model/LinkFile.h"
#include "model/Snapshots.h"
#include "diag/Result.h"

#include <cstdint>
#include <string>
#include <vector>

struct SnapshotSummary {
    std::string path;
    std::string taken; // the file's name: when it was taken
    int links = -1;    // -1: the file cannot be read
    bool differs = false; // from the links the device holds
};

// Every snapshot of station `serial`, oldest first, against the links
// `onDevice`.
std::vector<SnapshotSummary> SummarizeSnapshots(uint16_t serial, const std::vector<LinkRecord>& onDevice);

// Done with the snapshot of station `serial` taken last before `now`;
// FileUnreadable when the station has none, or that one cannot be read: the
// notice says which. One dated after now was saved while a clock was set
// ahead, and is never the one written back.
struct NewestSnapshot : Result {
    std::string path;
    LinkFileLoad file;
};
NewestSnapshot LoadNewestSnapshot(uint16_t serial, WallClock::time_point now = WallClock::now());

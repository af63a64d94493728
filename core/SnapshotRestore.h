#pragma once

// A station's snapshots, kept before each write to it: what each holds
// against the device, and the newest of them loaded to be written back.

#include "model/LinkFile.h"
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

// Done with the newest snapshot of station `serial`; FileUnreadable when the
// station has none, or the newest cannot be read: the notice says which.
struct NewestSnapshot : Result {
    std::string path;
    LinkFileLoad file;
};
NewestSnapshot LoadNewestSnapshot(uint16_t serial);

#pragma once

// Whether a station's links have changed since its last backup: what was
// read now against the newest earlier file in the station's backup folder,
// lined up link by link as `kalmoria-cli diff` lines them up (CompareLinks,
// the earlier file on the file's side, the station on the device's). A file
// dated after now was saved while a clock was set ahead: compared with, it
// would hide every change made since, so it is left out and named instead.

#include "model/LinkModel.h"
#include "model/Snapshots.h"

#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

struct LinkDrift {
    // None when the folder holds no earlier backup that can be read.
    std::optional<bool> changed;
    // The links that differ: the station's number of each, or for a link
    // that is gone, its number in the earlier backup; ascending.
    std::vector<int32_t> changedLinks;
    std::string previousFile; // the earlier backup compared with
    std::vector<std::string> laterFiles; // backups dated after now, left out
};

// `links` as read now against the newest of the backups in `folder` dated up
// to `now` that loads, leaving out the files of `savedNow` (this run's own).
LinkDrift DriftSinceLastBackup(const std::string& folder, std::span<const LinkRecord> links,
                               const std::set<std::string>& savedNow, WallClock::time_point now = WallClock::now());

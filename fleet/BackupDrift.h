#pragma once

// Whether a station's links have changed since its last backup: what was
// read now against the newest earlier file in the station's backup folder,
// lined up link by link as `kalmoria-cli diff` lines them up (CompareLinks,
// the earlier file on the file's side, the station on the device's).

#include "model/LinkModel.h"

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
};

// `links` as read now against the newest of the backups in `folder` that
// loads, leaving out the files of `savedNow` (this run's own).
LinkDrift DriftSinceLastBackup(const std::string& folder, std::span<const LinkRecord> links,
                               const std::set<std::string>& savedNow);

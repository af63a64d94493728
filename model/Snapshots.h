#pragma once

// Snapshots: what a station's link area held before a write, kept as a
// complete link file per write in <backup folder>/<serial number>/, named by
// the time it was taken in UTC (YYYY-MM-DD_HH-MM-SSZ.ini), so that a write can
// be undone by writing the snapshot back. The newest 100 of each station stay.
//
// Local time repeats an hour the night the clocks go back, so a name in local
// time does not tell which of two snapshots came last; UTC does. Folders kept
// before hold names in local time without the "Z": they are read as the local
// time they were written in, and all files are ordered by the instant their
// names stand for. A file dated after now was saved while a clock was set
// ahead: it is never taken for the newest.

#include "model/LinkFile.h"
#include "model/StationIdentity.h"

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

constexpr int kSnapshotsKept = 100;

using WallClock = std::chrono::system_clock;

// The folder of one station's snapshots, ending in "/"; empty when the user
// has no folder for data.
std::string StationBackupFolder(uint16_t serialNumber);

// Done, or FileNotWritten with `reason`.
struct SnapshotSave : Result {
    std::string path;   // the file written
    std::string reason; // why not, for the user
};

// Saves `links` as the station's snapshot taken `now` and removes its oldest
// ones beyond those kept; snapshots dated after `now` are neither counted nor
// removed. The overview goes in as the file's module list.
SnapshotSave SaveSnapshot(std::span<const LinkRecord> links, const StationIdentity& station,
                          const OverviewRows& overview, WallClock::time_point now = WallClock::now());

// The station's snapshot files, oldest first, those dated after now too.
std::vector<std::string> ListSnapshots(uint16_t serialNumber);
// The station's snapshot files taken up to `now`, oldest first.
std::vector<std::string> SnapshotsUpTo(uint16_t serialNumber, WallClock::time_point now = WallClock::now());
// What a dialog that restores a snapshot proposes: the station's snapshot
// taken last before now, else its folder.
std::string NewestSnapshotOrFolder(uint16_t serialNumber, WallClock::time_point now = WallClock::now());

// The time of `now` as these names write it: YYYY-MM-DD_HH-MM-SSZ, in UTC.
std::string TimeNameStamp(WallClock::time_point now);

// The naming of snapshots for any folder (the backups of kalmoria-cli keep
// the same names): saves `links` with the station and the overview as a
// complete link file named by the time `now`, `folder` +
// YYYY-MM-DD_HH-MM-SSZ.ini, with "_2", "_3", ... behind the name of a second
// that has one already. Creates the folder when it is missing; removes
// nothing. No save replaces a file, also where several processes save into
// the folder at once.
SnapshotSave SaveTimeNamedLinkFile(const std::string& folder, std::span<const LinkRecord> links,
                                   const StationIdentity& station, const OverviewRows& overview,
                                   WallClock::time_point now = WallClock::now());

// The files of `folder` named as these saves name them, oldest first by the
// instant their names stand for; other files of the folder are not among them.
std::vector<std::string> ListTimeNamedLinkFiles(const std::string& folder);

// Of `files`, named as these saves name them (the older names in local time
// too), those dated up to `now` and those dated after it, each in the order
// given.
struct FilesByDate {
    std::vector<std::string> upToNow;
    std::vector<std::string> later;
};
FilesByDate SplitAtNow(const std::vector<std::string>& files, WallClock::time_point now);

#pragma once

// Snapshots: what a station's link area held before a write, kept as a
// complete link file per write in <backup folder>/<serial number>/, named by
// the time it was taken (YYYY-MM-DD_HH-MM-SS.ini), so that a write can be
// undone by writing the snapshot back. The newest 100 of each station stay.

#include "model/LinkFile.h"
#include "model/StationIdentity.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

constexpr int kSnapshotsKept = 100;

// The folder of one station's snapshots, ending in "/"; empty when the user
// has no folder for data.
std::string StationBackupFolder(uint16_t serialNumber);

// Done, or FileNotWritten with `reason`.
struct SnapshotSave : Result {
    std::string path;   // the file written
    std::string reason; // why not, for the user
};

// Saves `links` as the station's newest snapshot and removes its oldest ones
// beyond those kept. The overview goes in as the file's module list.
SnapshotSave SaveSnapshot(std::span<const LinkRecord> links, const StationIdentity& station,
                          const OverviewRows& overview);

// The station's snapshot files, oldest first.
std::vector<std::string> ListSnapshots(uint16_t serialNumber);
// What a dialog that restores a snapshot proposes: the station's snapshot
// taken last, else its folder.
std::string NewestSnapshotOrFolder(uint16_t serialNumber);

// The naming of snapshots for any folder (the backups of kalmoria-cli keep
// the same names): saves `links` with the station and the overview as a
// complete link file named by the time it is taken, `folder` +
// YYYY-MM-DD_HH-MM-SS.ini, with "_2", "_3", ... behind the name of a second
// that has one already. Creates the folder when it is missing; removes
// nothing. No save replaces a file, also where several processes save into
// the folder at once.
SnapshotSave SaveTimeNamedLinkFile(const std::string& folder, std::span<const LinkRecord> links,
                                   const StationIdentity& station, const OverviewRows& overview);

// The files of `folder` named as these saves name them, oldest first by the
// time in their names; other files of the folder are not among them.
std::vector<std::string> ListTimeNamedLinkFiles(const std::string& folder);

#pragma once

// One station of a fleet's backup: its links read over a client of its own,
// compared with its last backup, saved with their module overview as
// DIR/<serial number>/<YYYY-MM-DD_HH-MM-SSZ>.ini (UTC), its traffic kept in a
// capture beside them, and what a metrics file keeps of it. The stations of
// one backup are read on threads of one process; what they share is the
// backup folder, which saves one station after the other.
//
// A serial number names one station, unless two stations answer with it (a
// factory default, a copied configuration): compared with each other's
// backups, each would count as changed on every run. So once two stations of
// one run share a serial number, each keeps its backups in a folder of its
// port, DIR/<serial number>/<port>/, and later runs find that folder again.
// Until a station has a backup in its folder, its last one is the newest in
// the serial number's folder.

#include "core/Preferences.h"
#include "core/StationPort.h"
#include "fleet/BackupCaptures.h"
#include "fleet/BackupDrift.h"
#include "model/LinkFile.h"
#include "model/ModuleOverview.h"
#include "model/StationIdentity.h"
#include "diag/Result.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

struct BackupSettings {
    std::string dir;          // the backup folder
    OverviewRow overviewHeadings; // as the language of the run words them
    bool onlyChanged = false; // an unchanged station keeps its previous backup as the newest
    std::string captureDir;   // the captures' folder; empty: none
    Preferences preferences;  // how the stations are talked to
};

// A station of the backup: the port as given (the bytes the user typed, for
// messages and metrics) and where it leads.
struct FleetStation {
    std::string given;
    StationPort port;
};

// What became of one station. Done when its links are in a backup (a new one,
// or with an unchanged station and onlyChanged the previous one); the
// notices are what its read had to say, and on a failure the last of them
// says why.
struct StationBackupResult : Result {
    std::string port; // as given
    std::optional<StationIdentity> station;
    std::optional<int> links;
    std::string file;          // the backup, bytes of the file system
    // Where the station's backups are, below the backup folder: "<serial
    // number>", or "<serial number>/<port>" where stations share it; empty
    // while the station is not known.
    std::string folder;
    LinkDrift drift;           // since the previous backup, when read
    bool keptPrevious = false; // `file` is the previous backup
    std::optional<double> seconds; // how long its read took; none: never started
    std::string capture;           // its capture, bytes of the file system
    std::vector<Notice> captureProblems; // why its capture is not whole, or kept its temporary name
    long long finishedAt = 0;      // seconds since 1970
};

// The backup folder one run's stations save into, one after the other: two
// stations of one serial number never take one name or one folder, and no
// file saved in this run counts as a station's previous backup.
class BackupFolder {
public:
    explicit BackupFolder(BackupSettings settings);

    const BackupSettings& Settings() const { return m_settings; }
    const StationCaptures& Captures() const { return m_captures; }

    // Compares the station's links with its previous backup and saves them,
    // unless they are unchanged and that is all that is asked for. Nothing is
    // saved once `stop` is set.
    void Keep(StationBackupResult& result, const std::vector<LinkRecord>& links, const OverviewRows& overview,
              const std::atomic<bool>& stop);
    // Gives the station's capture its name beside its backup; what is wrong
    // with it goes to the result's captureProblems.
    void PlaceCapture(const StationCapture& capture, StationBackupResult& result);

private:
    // A station kept in this run, by its serial number.
    struct KeptStation {
        std::string port;   // as given
        std::string folder; // below the backup folder
    };

    std::string stationFolder(uint16_t serialNumber, const std::string& port);
    void save(StationBackupResult& result, const std::vector<LinkRecord>& links, const OverviewRows& overview);

    const BackupSettings m_settings;
    const StationCaptures m_captures;
    std::mutex m_lock;
    std::set<std::string> m_savedNow;
    std::map<uint16_t, std::vector<KeptStation>> m_kept;
};

// Reads a station of the run into `folder`. Whatever goes wrong, an
// exception too, is the station's result; `stop` ends its read within a
// wait slice, and the station is then reported as interrupted.
StationBackupResult BackUpStation(const FleetStation& station, BackupFolder& folder, const std::atomic<bool>& stop);

// What a station that was stopped, or never started, reports.
StationBackupResult InterruptedStation(const std::string& port);

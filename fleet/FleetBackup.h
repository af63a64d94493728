#pragma once

// A fleet's backup: many stations read on threads of one process, each over
// a client and a Station of its own, `jobs` of them at a time. Each
// station's result is handed over on the thread that runs the backup, in
// the order the stations end; a station's failure, an exception too, is its
// own result and stops no other.

#include "fleet/StationBackup.h"

#include <QStringList>

#include <functional>
#include <vector>

// Whether the backup can keep what it reads, checked before any station is
// read: the backup folder, the captures' folder and the metrics file must
// take files, and the station list `stationList` (empty: none) must name
// ports. Done with the stations of `ports` and the list, once each;
// FileUnreadable or FileNotWritten with the notice that says why; Interrupted
// when `stopRequested` said yes while the list was waited for (a pipe whose
// writer has not finished).
struct FleetPlan : Result {
    std::vector<FleetStation> stations;
};
FleetPlan PlanFleetBackup(const BackupSettings& settings, const std::string& metricsFile, QStringList ports,
                          const std::string& stationList, const std::function<bool()>& stopRequested = {});

class FleetBackup {
public:
    // Every station at once, as far as the process may go: lines that
    // mostly wait cost a thread each and no processor.
    static constexpr int kMaxJobs = 64;

    FleetBackup(BackupSettings settings, std::vector<FleetStation> stations, int jobs);

    // Reads every station and hands each result to `report` as it comes.
    // `stopRequested` is asked about every 50 ms: once it says yes, the reads
    // end within a wait slice, nothing more is saved, and every station
    // without a backup by then is reported as interrupted. Returns whether it
    // was stopped.
    bool Run(const std::function<bool()>& stopRequested,
             const std::function<void(std::size_t index, const StationBackupResult&)>& report);

private:
    BackupFolder m_folder;
    const std::vector<FleetStation> m_stations;
    const int m_jobs;
};

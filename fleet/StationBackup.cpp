#include "fleet/StationBackup.h"

#include "core/StationClient.h"
#include "core/StationOverview.h"
#include "capture/LiveCapture.h"
#include "diag/AnsiText.h"
#include "diag/MessageNumbers.h"
#include "diag/TextHelpers.h"
#include "model/Snapshots.h"
#include "protocol/Tvep.h"
#include "sequences/DeviceNotices.h"
#include "sequences/SequenceObserver.h"

#include <chrono>
#include <exception>
#include <filesystem>
#include <memory>
#include <utility>

namespace fs = std::filesystem;

namespace {

long long secondsSince1970()
{
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void fail(StationBackupResult& result, Outcome outcome, Notice why)
{
    result.outcome = outcome;
    result.notices.push_back(std::move(why));
}

// Why a read failed, as its last notice: the port that would not open, else
// what stopped the read.
Notice readFailure(const DeviceReadResult& read, const StationPort& port, const Tvep& client)
{
    if (read.outcome == Outcome::PortNotOpen)
        return PortOpenFailureNotice(port.label, client.Serial().OpenProblem);
    if (!read.notices.empty())
        return read.notices.back();
    return DeviceNotice(kMessageReadFailed, Notice::Severity::Error);
}

// The read and what is kept of it, on the calling thread.
void backUp(const FleetStation& fleetStation, BackupFolder& folder, const std::atomic<bool>& stop,
            StationBackupResult& result, StationCapture& taken)
{
    const StationPortLines lines(fleetStation.port);
    StationClient client(folder.Settings().preferences, lines);
    client.Client().Serial().SetStop(&stop);
    Station& station = client.State();
    station.ComPortNr = fleetStation.port.number;
    station.ComBaud = 9600;
    station.ComParity = 'n';

    std::unique_ptr<LiveCapture> capture;
    if (folder.Captures().wanted()) {
        NewFile file = folder.Captures().CreateTemporary();
        const std::string path = file.path;
        capture = std::make_unique<LiveCapture>(client.Frames(), std::move(file));
        if (capture->ok())
            taken.path = path;
        else
            result.captureProblems.push_back(DeviceNotice(kMessageCaptureNotWritten, Notice::Severity::Error,
                                                          {fileNameToAnsi(path), capture->error()}));
    }

    const auto start = std::chrono::steady_clock::now();
    UnwatchedSequence nobody;
    const DeviceReadResult read = client.Read(nobody);
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (capture && !capture->ok() && !taken.path.empty()) {
        taken.lost = capture->error();
        taken.frames = capture->frames();
    }
    capture.reset();
    if (stop)
        return;
    if (!read.ok()) {
        result.notices = read.notices;
        fail(result, read.outcome, readFailure(read, fleetStation.port, client.Client()));
        return;
    }
    result.notices = read.notices;
    result.station = station.LinkTableOrigin.value_or(station.Identity());
    const std::vector<LinkRecord> links = station.CurrentLinks();
    result.links = static_cast<int>(links.size());
    folder.Keep(result, links, OverviewForLinkFile(station, folder.Settings().overviewHeadings), stop);
}

} // namespace

BackupFolder::BackupFolder(BackupSettings settings)
    : m_settings(std::move(settings))
    , m_captures(m_settings.captureDir)
{
}

void BackupFolder::Keep(StationBackupResult& result, const std::vector<LinkRecord>& links,
                        const OverviewRows& overview, const std::atomic<bool>& stop)
{
    const std::lock_guard lock(m_lock);
    // Interrupted, nothing more is saved: a station not saved by now is
    // reported as interrupted.
    if (stop)
        return;
    const uint16_t serialNumber = result.station->serialNumber;
    result.folder = stationFolder(serialNumber, result.port);
    save(result, links, overview);
    m_kept[serialNumber].push_back({result.port, result.folder});
}

std::string BackupFolder::stationFolder(uint16_t serialNumber, const std::string& port)
{
    const fs::path dir = m_settings.dir;
    const fs::path serialFolder = std::to_string(serialNumber);
    const fs::path own = serialFolder / PortFileName(port);
    std::vector<KeptStation>& others = m_kept[serialNumber];
    std::error_code ignored;
    for (KeptStation& other : others) {
        // Kept in the serial number's folder before this station answered
        // with the same number: its next run keeps it in a folder of its own,
        // where it finds its last backup missing and looks for it in the
        // serial number's folder, as it did in this run.
        if (other.folder == serialFolder.string())
            fs::create_directories(dir / serialFolder / PortFileName(other.port), ignored);
    }
    return (!others.empty() || fs::is_directory(dir / own, ignored) ? own : serialFolder).string();
}

void BackupFolder::save(StationBackupResult& result, const std::vector<LinkRecord>& links,
                        const OverviewRows& overview)
{
    const fs::path folder = fs::path(m_settings.dir) / result.folder;
    result.drift = DriftSinceLastBackup(folder.string(), links, m_savedNow);
    const fs::path serialFolder = fs::path(m_settings.dir) / std::to_string(result.station->serialNumber);
    if (!result.drift.changed && folder != serialFolder) {
        // A station with a folder of its own that holds no backup yet: its
        // last one is still in the serial number's folder.
        LinkDrift before = DriftSinceLastBackup(serialFolder.string(), links, m_savedNow);
        before.laterFiles.insert(before.laterFiles.begin(), result.drift.laterFiles.begin(),
                                 result.drift.laterFiles.end());
        result.drift = std::move(before);
    }
    for (const std::string& later : result.drift.laterFiles)
        result.notices.push_back(
            DeviceNotice(kMessageBackupDatedLater, Notice::Severity::Warning, {fileNameToAnsi(later)}));
    if (m_settings.onlyChanged && result.drift.changed == false) {
        // The previous backup still holds the station's links: it stays the
        // last proof, and a new copy of it would prove nothing more.
        result.file = result.drift.previousFile;
        result.keptPrevious = true;
        return;
    }
    const SnapshotSave saved = SaveTimeNamedLinkFile(folder.string(), links, *result.station, overview);
    if (!saved.ok()) {
        fail(result, Outcome::FileNotWritten,
             DeviceNotice(kMessageLinkFileNotSaved, Notice::Severity::Error, {fileNameToAnsi(saved.path), saved.reason}));
        return;
    }
    m_savedNow.insert(saved.path);
    result.file = saved.path;
}

void BackupFolder::PlaceCapture(const StationCapture& capture, StationBackupResult& result)
{
    if (capture.path.empty())
        return;
    const std::string saved = result.ok() && !result.keptPrevious ? result.file : std::string();
    const CapturePlacing placing = m_captures.place(capture.path, result.port, result.folder, saved);
    result.capture = placing.path;
    if (!capture.lost.empty())
        result.captureProblems.push_back(DeviceNotice(kMessageCaptureIncomplete, Notice::Severity::Error,
                                                      {fileNameToAnsi(placing.path), capture.lost,
                                                       std::to_string(capture.frames)}));
    if (!placing.ok())
        result.captureProblems.push_back(DeviceNotice(kMessageCaptureKeptAs, Notice::Severity::Error,
                                                      {fileNameToAnsi(placing.path), placing.reason}));
}

StationBackupResult BackUpStation(const FleetStation& station, BackupFolder& folder, const std::atomic<bool>& stop)
{
    StationBackupResult result;
    result.port = station.given;
    // Outside the result, which a failure starts anew: the capture is
    // placed whatever became of the read.
    StationCapture capture;
    try {
        backUp(station, folder, stop, result, capture);
    } catch (const std::exception& broken) {
        result = StationBackupResult{};
        result.port = station.given;
        fail(result, Outcome::TransferFailed,
             DeviceNotice(kMessageStationProcessFailed, Notice::Severity::Error, {broken.what()}));
    } catch (...) {
        result = StationBackupResult{};
        result.port = station.given;
        fail(result, Outcome::TransferFailed,
             DeviceNotice(kMessageStationProcessFailed, Notice::Severity::Error, {"unknown exception"}));
    }
    if (stop && result.ok() && result.file.empty()) {
        const std::optional<double> seconds = result.seconds;
        result = InterruptedStation(station.given);
        result.seconds = seconds;
    }
    folder.PlaceCapture(capture, result);
    result.finishedAt = secondsSince1970();
    return result;
}

StationBackupResult InterruptedStation(const std::string& port)
{
    StationBackupResult result;
    result.port = port;
    fail(result, Outcome::Interrupted, DeviceNotice(kMessageStationInterrupted, Notice::Severity::Error));
    return result;
}

#include "model/Snapshots.h"

#include "diag/ProgramFolder.h"
#include "io/FileBytes.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <optional>
#include <regex>

namespace fs = std::filesystem;

namespace {

// When a snapshot was taken, as its name tells: the instant, and within one
// second 1 for the plain name, then 2, 3, ... for "_2", "_3", ...
struct TakenAt {
    std::time_t instant = 0;
    int n = 1;
    std::string stamp; // the time as the name writes it, with its "Z" when in UTC
    auto operator<=>(const TakenAt&) const = default;
};

// The offset from UTC of the local time at `instant`, in seconds.
long localOffset(std::time_t instant)
{
    std::tm local{};
    return ::localtime_r(&instant, &local) ? local.tm_gmtoff : 0;
}

// The instant of a local wall time, given as if it were UTC. In the hour the
// clocks go back the wall time stands for two instants: the earlier is taken,
// so that a name in UTC written in that hour never counts as older than it.
// A wall time the clocks skipped (no clock showed it) is read with the offset
// in force before.
std::time_t fromLocalTime(std::time_t asIfUtc)
{
    constexpr std::time_t kDay = 24 * 60 * 60;
    std::optional<std::time_t> earliest;
    for (const std::time_t around : {asIfUtc - kDay, asIfUtc, asIfUtc + kDay}) {
        const long offset = localOffset(around);
        const std::time_t instant = asIfUtc - offset;
        if (localOffset(instant) == offset)
            earliest = std::min(earliest.value_or(instant), instant);
    }
    return earliest.value_or(asIfUtc - localOffset(asIfUtc - kDay));
}

// Only a file named as snapshots are named is one: a user's own files in the
// folder ("0815-Werkseinstellung.ini") are neither written back nor removed.
std::optional<TakenAt> takenAt(const fs::path& file)
{
    static const std::regex kSnapshotName(
        R"(((\d{4})-(\d{2})-(\d{2})_(\d{2})-(\d{2})-(\d{2})(Z?))(?:_([2-9]|[1-9]\d{1,8}))?\.ini)");
    std::smatch match;
    const std::string name = file.filename().string();
    if (!std::regex_match(name, match, kSnapshotName))
        return std::nullopt;
    std::tm fields{};
    fields.tm_year = std::stoi(match[2].str()) - 1900;
    fields.tm_mon = std::stoi(match[3].str()) - 1;
    fields.tm_mday = std::stoi(match[4].str());
    fields.tm_hour = std::stoi(match[5].str());
    fields.tm_min = std::stoi(match[6].str());
    fields.tm_sec = std::stoi(match[7].str());
    const std::time_t asIfUtc = ::timegm(&fields);
    const bool utc = match[8].length() == 1;
    return TakenAt{utc ? asIfUtc : fromLocalTime(asIfUtc), match[9].matched ? std::stoi(match[9].str()) : 1,
                   match[1].str()};
}

std::string fileName(const TakenAt& taken)
{
    return taken.stamp + (taken.n > 1 ? "_" + std::to_string(taken.n) : std::string()) + ".ini";
}

// The first name behind every file of the folder from the same second: a
// save within one second gets "_2", "_3", ..., also where the first of them
// has gone already.
TakenAt firstFreeName(const fs::path& folder, WallClock::time_point now)
{
    TakenAt next{WallClock::to_time_t(now), 1, TimeNameStamp(now)};
    for (const std::string& path : ListTimeNamedLinkFiles(folder.string())) {
        const std::optional<TakenAt> taken = takenAt(path);
        if (taken->stamp == next.stamp)
            next.n = std::max(next.n, taken->n + 1);
    }
    return next;
}

void removeOldest(uint16_t serialNumber, WallClock::time_point now)
{
    const std::vector<std::string> snapshots = SnapshotsUpTo(serialNumber, now);
    const std::size_t surplus = snapshots.size() > kSnapshotsKept ? snapshots.size() - kSnapshotsKept : 0;
    std::error_code ignored;
    for (std::size_t i = 0; i < surplus; ++i)
        fs::remove(snapshots[i], ignored);
}

} // namespace

std::string StationBackupFolder(uint16_t serialNumber)
{
    const std::string root = backupFolder();
    return root.empty() ? root : root + std::to_string(serialNumber) + "/";
}

SnapshotSave SaveSnapshot(std::span<const LinkRecord> links, const StationIdentity& station,
                          const OverviewRows& overview, WallClock::time_point now)
{
    const std::string folder = StationBackupFolder(station.serialNumber);
    if (folder.empty()) {
        SnapshotSave result;
        result.outcome = Outcome::FileNotWritten;
        result.reason = "no folder for user data (neither XDG_DATA_HOME nor HOME)";
        return result;
    }
    SnapshotSave result = SaveTimeNamedLinkFile(folder, links, station, overview, now);
    if (result.ok())
        removeOldest(station.serialNumber, now);
    return result;
}

std::vector<std::string> ListSnapshots(uint16_t serialNumber)
{
    const std::string folder = StationBackupFolder(serialNumber);
    return folder.empty() ? std::vector<std::string>{} : ListTimeNamedLinkFiles(folder);
}

std::vector<std::string> SnapshotsUpTo(uint16_t serialNumber, WallClock::time_point now)
{
    return SplitAtNow(ListSnapshots(serialNumber), now).upToNow;
}

std::string TimeNameStamp(WallClock::time_point now)
{
    const std::time_t seconds = WallClock::to_time_t(now);
    std::tm utc{};
    char text[32] = "";
    if (::gmtime_r(&seconds, &utc))
        std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%SZ", &utc);
    return text;
}

SnapshotSave SaveTimeNamedLinkFile(const std::string& folder, std::span<const LinkRecord> links,
                                   const StationIdentity& station, const OverviewRows& overview,
                                   WallClock::time_point now)
{
    SnapshotSave result;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        result.outcome = Outcome::FileNotWritten;
        result.path = folder;
        result.reason = error.message();
        return result;
    }
    const std::string bytes = NewLinkFileBytes(links, station, overview);
    // Another process saving into the folder in the same second (a second
    // backup) may take the name between the look and the save: then the next
    // one is tried, and neither file replaces the other.
    constexpr int kTries = 1000;
    TakenAt name = firstFreeName(folder, now);
    for (int attempt = 0; attempt < kTries; ++attempt, ++name.n) {
        result.path = (fs::path(folder) / fileName(name)).string();
        const FileCreation created = CreateFileExclusively(result.path, bytes, &result.reason);
        if (created != FileCreation::Taken) {
            if (created != FileCreation::Created)
                result.outcome = Outcome::FileNotWritten;
            return result;
        }
    }
    result.outcome = Outcome::FileNotWritten;
    result.reason = "File exists";
    return result;
}

std::vector<std::string> ListTimeNamedLinkFiles(const std::string& folder)
{
    std::vector<std::pair<TakenAt, std::string>> snapshots;
    std::error_code error;
    if (folder.empty() || !fs::is_directory(folder, error))
        return {};
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (const std::optional<TakenAt> taken = takenAt(entry.path()); taken && entry.is_regular_file(error))
            snapshots.emplace_back(*taken, entry.path().string());
    }
    std::ranges::sort(snapshots);
    std::vector<std::string> files;
    for (auto& snapshot : snapshots)
        files.push_back(std::move(snapshot.second));
    return files;
}

FilesByDate SplitAtNow(const std::vector<std::string>& files, WallClock::time_point now)
{
    FilesByDate split;
    for (const std::string& file : files) {
        const std::optional<TakenAt> taken = takenAt(file);
        (taken && WallClock::from_time_t(taken->instant) > now ? split.later : split.upToNow).push_back(file);
    }
    return split;
}

std::string NewestSnapshotOrFolder(uint16_t serialNumber, WallClock::time_point now)
{
    const std::vector<std::string> snapshots = SnapshotsUpTo(serialNumber, now);
    return snapshots.empty() ? StationBackupFolder(serialNumber) : snapshots.back();
}

#include "model/Snapshots.h"

#include "diag/ProgramFolder.h"
#include "io/FileBytes.h"

#include <QDateTime>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <regex>

namespace fs = std::filesystem;

namespace {

// When a snapshot was taken, as its name tells: the second, and within one
// second 1 for the plain name, then 2, 3, ... for "_2", "_3", ...
struct TakenAt {
    std::string stamp; // YYYY-MM-DD_HH-MM-SS: its text order is the time order
    int n = 1;
    auto operator<=>(const TakenAt&) const = default;
};

// Only a file named as snapshots are named is one: a user's own files in the
// folder ("0815-Werkseinstellung.ini") are neither written back nor removed.
std::optional<TakenAt> takenAt(const fs::path& file)
{
    static const std::regex kSnapshotName(R"((\d{4}-\d{2}-\d{2}_\d{2}-\d{2}-\d{2})(?:_([2-9]|[1-9]\d{1,8}))?\.ini)");
    std::smatch match;
    const std::string name = file.filename().string();
    if (!std::regex_match(name, match, kSnapshotName))
        return std::nullopt;
    return TakenAt{match[1].str(), match[2].matched ? std::stoi(match[2].str()) : 1};
}

std::string fileName(const TakenAt& taken)
{
    return taken.stamp + (taken.n > 1 ? "_" + std::to_string(taken.n) : std::string()) + ".ini";
}

// The first name behind every file of the folder from the same second: a
// save within one second gets "_2", "_3", ..., also where the first of them
// has gone already.
TakenAt firstFreeName(const fs::path& folder, const std::string& stamp)
{
    TakenAt next{stamp, 1};
    for (const std::string& path : ListTimeNamedLinkFiles(folder.string())) {
        const std::optional<TakenAt> taken = takenAt(path);
        if (taken->stamp == stamp)
            next.n = std::max(next.n, taken->n + 1);
    }
    return next;
}

void removeOldest(uint16_t serialNumber)
{
    const std::vector<std::string> snapshots = ListSnapshots(serialNumber);
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
                          const OverviewRows& overview)
{
    const std::string folder = StationBackupFolder(station.serialNumber);
    if (folder.empty()) {
        SnapshotSave result;
        result.outcome = Outcome::FileNotWritten;
        result.reason = "no folder for user data (neither XDG_DATA_HOME nor HOME)";
        return result;
    }
    SnapshotSave result = SaveTimeNamedLinkFile(folder, links, station, overview);
    if (result.ok())
        removeOldest(station.serialNumber);
    return result;
}

std::vector<std::string> ListSnapshots(uint16_t serialNumber)
{
    const std::string folder = StationBackupFolder(serialNumber);
    return folder.empty() ? std::vector<std::string>{} : ListTimeNamedLinkFiles(folder);
}

SnapshotSave SaveTimeNamedLinkFile(const std::string& folder, std::span<const LinkRecord> links,
                                   const StationIdentity& station, const OverviewRows& overview)
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
    const std::string stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")).toStdString();
    const std::string bytes = NewLinkFileBytes(links, station, overview);
    // Another process saving into the folder in the same second (a second
    // backup) may take the name between the look and the save: then the next
    // one is tried, and neither file replaces the other.
    constexpr int kTries = 1000;
    TakenAt name = firstFreeName(folder, stamp);
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

std::string NewestSnapshotOrFolder(uint16_t serialNumber)
{
    const std::vector<std::string> snapshots = ListSnapshots(serialNumber);
    return snapshots.empty() ? StationBackupFolder(serialNumber) : snapshots.back();
}

#include "model/Snapshots.h"

#include "diag/ProgramFolder.h"

#include <QDateTime>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The names are times, so their order is the order the snapshots were taken
// in; within one second "_2", "_3", ... "_10" follow the plain name.
std::pair<std::string, int> takenOrder(const std::string& path)
{
    const std::string stem = fs::path(path).stem().string();
    constexpr std::size_t kStampLength = 19; // YYYY-MM-DD_HH-MM-SS
    if (stem.size() > kStampLength + 1 && stem[kStampLength] == '_')
        return {stem.substr(0, kStampLength), std::atoi(stem.c_str() + kStampLength + 1)};
    return {stem, 0};
}

// A name behind every file of the folder: two saves within one second get
// "_2", "_3", ..., also where the first of them has gone already.
std::string newestName(const fs::path& folder, const std::string& stamp)
{
    int latest = -1;
    for (const std::string& path : ListTimeNamedLinkFiles(folder.string())) {
        const auto [taken, n] = takenOrder(path);
        if (taken == stamp)
            latest = std::max(latest, std::max(n, 1));
    }
    const std::string name = latest < 0 ? stamp : stamp + "_" + std::to_string(latest + 1);
    return (folder / (name + ".ini")).string();
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
        result.reason = "no folder for user data (neither XDG_DATA_HOME nor HOME)";
        return result;
    }
    SnapshotSave result = SaveTimeNamedLinkFile(folder, links, station, overview);
    if (result.ok)
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
        result.path = folder;
        result.reason = error.message();
        return result;
    }
    const std::string stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")).toStdString();
    result.path = newestName(folder, stamp);
    const LinkFileSave saved = SaveLinkFile(result.path, links, station, overview);
    result.ok = saved.ok;
    result.reason = saved.reason;
    return result;
}

std::vector<std::string> ListTimeNamedLinkFiles(const std::string& folder)
{
    std::vector<std::string> files;
    std::error_code error;
    if (folder.empty() || !fs::is_directory(folder, error))
        return files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (entry.is_regular_file(error) && entry.path().extension() == ".ini")
            files.push_back(entry.path().string());
    }
    std::ranges::sort(files, {}, takenOrder);
    return files;
}

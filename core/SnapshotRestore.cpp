#include "core/SnapshotRestore.h"

#include "diag/AnsiText.h"
#include "diag/TextHelpers.h"
#include "model/LinkComparison.h"
#include "model/Snapshots.h"
#include "sequences/DeviceNotices.h"

#include <filesystem>

std::vector<SnapshotSummary> SummarizeSnapshots(uint16_t serial, const std::vector<LinkRecord>& onDevice)
{
    std::vector<SnapshotSummary> summaries;
    for (const std::string& path : ListSnapshots(serial)) {
        SnapshotSummary summary{path, std::filesystem::path(path).stem().string()};
        const LinkFileLoad snapshot = LoadLinkFile(path);
        if (snapshot.ok()) {
            summary.links = static_cast<int>(snapshot.links.size());
            summary.differs = LinkSetsDiffer(snapshot.links, onDevice);
        }
        summaries.push_back(std::move(summary));
    }
    return summaries;
}

NewestSnapshot LoadNewestSnapshot(uint16_t serial, WallClock::time_point now)
{
    NewestSnapshot newest;
    const std::vector<std::string> snapshots = SnapshotsUpTo(serial, now);
    if (snapshots.empty()) {
        newest.outcome = Outcome::FileUnreadable;
        newest.notices.push_back(DeviceNotice(kMessageNoSnapshot, Notice::Severity::Error,
                                              {IntToText(serial), fileNameToAnsi(StationBackupFolder(serial))}));
        return newest;
    }
    newest.path = snapshots.back();
    newest.file = LoadLinkFile(newest.path);
    if (!newest.file.ok()) {
        newest.outcome = Outcome::FileUnreadable;
        newest.notices.push_back(DeviceNotice(kMessageLinkFileUnreadable, Notice::Severity::Error,
                                              {fileNameToAnsi(newest.path), newest.file.reason}));
    }
    return newest;
}

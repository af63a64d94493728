#include "fleet/BackupDrift.h"

#include "model/LinkComparison.h"
#include "model/LinkFile.h"

#include <algorithm>

LinkDrift DriftSinceLastBackup(const std::string& folder, std::span<const LinkRecord> links,
                               const std::set<std::string>& savedNow, WallClock::time_point now)
{
    LinkDrift drift;
    FilesByDate byDate = SplitAtNow(ListTimeNamedLinkFiles(folder), now);
    drift.laterFiles = std::move(byDate.later);
    const std::vector<std::string>& files = byDate.upToNow;
    for (auto file = files.rbegin(); file != files.rend(); ++file) {
        if (savedNow.contains(*file))
            continue;
        const LinkFileLoad previous = LoadLinkFile(*file);
        if (!previous.ok())
            continue;
        drift.previousFile = *file;
        for (const LinkComparisonRow& row : CompareLinks(previous.links, links)) {
            if (row.status != LinkRowStatus::Same)
                drift.changedLinks.push_back(row.device != 0 ? row.device : row.here);
        }
        std::sort(drift.changedLinks.begin(), drift.changedLinks.end());
        drift.changedLinks.erase(std::unique(drift.changedLinks.begin(), drift.changedLinks.end()),
                                 drift.changedLinks.end());
        drift.changed = !drift.changedLinks.empty();
        break;
    }
    return drift;
}

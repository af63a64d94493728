#include "model/Snapshots.h"
#include "tests/common/ScopedConfigHome.h"
#include "tests/common/TableLinks.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

TEST(Snapshots, AStationKeepsItsNewestHundredInTheOrderTheyWereTaken)
{
    const ScopedConfigHome home;
    const StationIdentity station{815, 20, 0x3301};
    // Taken within a second or two: the names must still keep their order.
    for (int n = 1; n <= kSnapshotsKept + 2; ++n) {
        const SnapshotSave saved = SaveSnapshot(linkRecords({{2, n, 0, 8, 9, 300, 0, 0}}), station, {});
        ASSERT_TRUE(saved.ok) << saved.reason;
    }
    const std::vector<std::string> snapshots = ListSnapshots(815);
    ASSERT_EQ(snapshots.size(), static_cast<std::size_t>(kSnapshotsKept));
    EXPECT_EQ(LoadLinkFile(snapshots.front()).links.front().RegVon, 3);
    EXPECT_EQ(LoadLinkFile(snapshots.back()).links.front().RegVon, kSnapshotsKept + 2);
    EXPECT_EQ(LoadLinkFile(snapshots.back()).origin, station);
    EXPECT_TRUE(ListSnapshots(4711).empty()) << "each station has its own";
}

TEST(Snapshots, AnyFolderGetsTheSameNamesAndNoSaveReplacesAnother)
{
    const ScopedConfigHome home;
    const TempDir folder;
    const std::string station = folder.file("backup/4242");
    const StationIdentity origin{4242, 30, 0x0900};
    std::vector<std::string> saved;
    for (int n = 1; n <= 3; ++n) {
        const SnapshotSave save = SaveTimeNamedLinkFile(station, linkRecords({{2, n, 0, 8, 9, 300, 0, 0}}), origin, {});
        ASSERT_TRUE(save.ok) << save.reason;
        saved.push_back(save.path);
    }
    // Made when missing; within one second "_2", "_3" follow the plain name.
    EXPECT_EQ(ListTimeNamedLinkFiles(station), saved);
    const std::string first = saved[0].substr(station.size() + 1);
    EXPECT_EQ(first.size(), 23u) << first;
    for (int n = 1; n <= 3; ++n) {
        const LinkFileLoad load = LoadLinkFile(saved[static_cast<std::size_t>(n - 1)]);
        EXPECT_EQ(load.links.front().RegVon, n);
        EXPECT_EQ(load.origin, origin);
    }
    EXPECT_TRUE(ListSnapshots(4242).empty()) << "not the user's snapshots";

    folder.write("taken", "a file");
    const SnapshotSave blocked = SaveTimeNamedLinkFile(folder.file("taken/4242"), {}, origin, {});
    EXPECT_FALSE(blocked.ok);
    EXPECT_FALSE(blocked.reason.empty());
}

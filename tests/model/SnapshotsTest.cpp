#include "model/Snapshots.h"
#include "tests/common/ScopedConfigHome.h"
#include "tests/common/TableLinks.h"

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

#include "model/Snapshots.h"
#include "tests/common/ScopedConfigHome.h"
#include "tests/common/TableLinks.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The process's local time zone for as long as it lives.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone)
    {
        if (const char* previous = std::getenv("TZ"))
            m_previous = previous;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedTimeZone()
    {
        m_previous ? ::setenv("TZ", m_previous->c_str(), 1) : ::unsetenv("TZ");
        ::tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> m_previous;
};

} // namespace

TEST(Snapshots, AStationKeepsItsNewestHundredInTheOrderTheyWereTaken)
{
    const ScopedConfigHome home;
    const StationIdentity station{815, 20, 0x3301};
    // The user's own files in the folder are no snapshots: not counted, not removed.
    const std::string own = StationBackupFolder(815) + "0815-Werkseinstellung.ini";
    std::filesystem::create_directories(StationBackupFolder(815));
    ASSERT_TRUE(SaveLinkFile(own, linkRecords({{7, 1, 0, 1, 7, 2, 0, 0}}), station, {}).ok());
    // Saved while the clock was set years ahead: never the newest, and no
    // place among those kept.
    const std::string ahead = StationBackupFolder(815) + "2099-01-01_00-00-00Z.ini";
    ASSERT_TRUE(SaveLinkFile(ahead, linkRecords({{7, 2, 0, 1, 7, 2, 0, 0}}), station, {}).ok());
    // Taken within a second or two: the names must still keep their order.
    for (int n = 1; n <= kSnapshotsKept + 2; ++n) {
        const SnapshotSave saved = SaveSnapshot(linkRecords({{2, n, 0, 8, 9, 300, 0, 0}}), station, {});
        ASSERT_TRUE(saved.ok()) << saved.reason;
    }
    std::vector<std::string> snapshots = ListSnapshots(815);
    ASSERT_EQ(snapshots.size(), static_cast<std::size_t>(kSnapshotsKept) + 1);
    EXPECT_EQ(snapshots.back(), ahead);
    snapshots.pop_back();
    EXPECT_EQ(LoadLinkFile(snapshots.front()).links.front().RegVon, 3);
    EXPECT_EQ(LoadLinkFile(snapshots.back()).links.front().RegVon, kSnapshotsKept + 2);
    EXPECT_EQ(LoadLinkFile(snapshots.back()).origin, station);
    EXPECT_EQ(NewestSnapshotOrFolder(815), snapshots.back());
    EXPECT_TRUE(ListSnapshots(4711).empty()) << "each station has its own";
    EXPECT_TRUE(std::filesystem::exists(own));
}

TEST(Snapshots, TheNightTheClocksGoBackTheNamesStillFollowTheTimeTheyWereTaken)
{
    const ScopedTimeZone berlin("Europe/Berlin");
    const TempDir folder;
    // Names in local time from earlier versions beside names in UTC. 02:40
    // local came twice that night: read as the earlier, 00:40 UTC.
    for (const char* name : {"2026-10-25_02-40-00.ini", "2026-10-25_01-10-00Z.ini", "2026-10-25_00-20-00Z_2.ini",
                             "2026-10-25_01-50-00.ini", "2026-10-25_00-20-00Z.ini", "2026-10-25_03-05-00.ini"})
        folder.write(name, "");
    std::vector<std::string> expected;
    for (const char* name : {"2026-10-25_01-50-00.ini", "2026-10-25_00-20-00Z.ini", "2026-10-25_00-20-00Z_2.ini",
                             "2026-10-25_02-40-00.ini", "2026-10-25_01-10-00Z.ini", "2026-10-25_03-05-00.ini"})
        expected.push_back(folder.file(name));
    EXPECT_EQ(ListTimeNamedLinkFiles(folder.path()), expected);
}

TEST(Snapshots, OnlyFilesNamedAsSnapshotsAreOnesAndTheTimeInTheNameOrdersThem)
{
    const TempDir folder;
    for (const char* name : {"2026-12-08_09-30-00_10.ini", "Anlage Nord korrigiert.ini", "2026-12-08_09-30-00.ini",
                             "2026-12-08_09-30-00_2.ini", "2026-12-08_09-29-59_3.ini", "2026-12-08_09-30-00_1.ini",
                             "2026-12-08_09-30-00.ini.bak", "2026-12-08 09-30-00.ini", "2099-01-01.ini"})
        folder.write(name, "");
    std::vector<std::string> expected;
    for (const char* name : {"2026-12-08_09-29-59_3.ini", "2026-12-08_09-30-00.ini", "2026-12-08_09-30-00_2.ini",
                             "2026-12-08_09-30-00_10.ini"})
        expected.push_back(folder.file(name));
    EXPECT_EQ(ListTimeNamedLinkFiles(folder.path()), expected);
}

TEST(Snapshots, TwoProcessesSavingIntoOneFolderAtOnceLoseNoFile)
{
    const TempDir folder;
    constexpr int kSaves = 40;
    std::vector<pid_t> savers;
    for (int process = 1; process <= 2; ++process) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int failed = 0;
            for (int n = 0; n < kSaves; ++n)
                failed += !SaveTimeNamedLinkFile(folder.path(), linkRecords({{2, process * 100 + n, 0, 8, 9, 300, 0, 0}}),
                                                 {4242, 30, 0x0900}, {})
                               .ok();
            ::_exit(failed);
        }
        savers.push_back(pid);
    }
    for (const pid_t pid : savers) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
    }
    std::set<int> saved;
    for (const std::string& path : ListTimeNamedLinkFiles(folder.path()))
        saved.insert(LoadLinkFile(path).links.at(0).RegVon);
    EXPECT_EQ(saved.size(), 2u * kSaves) << "each save said saved, so each must have its file";
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
        ASSERT_TRUE(save.ok()) << save.reason;
        saved.push_back(save.path);
    }
    // Made when missing; within one second "_2", "_3" follow the plain name.
    EXPECT_EQ(ListTimeNamedLinkFiles(station), saved);
    const std::string first = saved[0].substr(station.size() + 1);
    EXPECT_EQ(first.size(), 24u) << first;
    EXPECT_TRUE(first.ends_with("Z.ini")) << "in UTC: " << first;
    for (int n = 1; n <= 3; ++n) {
        const LinkFileLoad load = LoadLinkFile(saved[static_cast<std::size_t>(n - 1)]);
        EXPECT_EQ(load.links.front().RegVon, n);
        EXPECT_EQ(load.origin, origin);
    }
    EXPECT_TRUE(ListSnapshots(4242).empty()) << "not the user's snapshots";

    folder.write("taken", "a file");
    const SnapshotSave blocked = SaveTimeNamedLinkFile(folder.file("taken/4242"), {}, origin, {});
    EXPECT_FALSE(blocked.ok());
    EXPECT_FALSE(blocked.reason.empty());
}

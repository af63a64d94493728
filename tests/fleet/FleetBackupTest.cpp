#include "fleet/FleetBackup.h"

#include "diag/MessageNumbers.h"
#include "model/Snapshots.h"
#include "tests/common/QmxSim.h"
#include "tests/common/ScopedConfigHome.h"
#include "tests/common/TableLinks.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>

namespace {

using Clock = std::chrono::steady_clock;

std::string fileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Stations on simulators of their own, reached by their device files.
class Fleet : public testing::Test {
protected:
    FleetStation station(const QStringList& options = {})
    {
        sims.push_back(std::make_unique<QmxSim>(std::string(), options));
        const std::string path = sims.back()->path();
        EXPECT_FALSE(path.empty());
        return {path, ResolveStationPort(0, path)};
    }

    BackupSettings settings() const { return {folder.file("backups"), {}, onlyChanged, folder.file("captures"), {}}; }

    std::vector<StationBackupResult> run(const std::vector<FleetStation>& stations, const std::function<bool()>& stop)
    {
        // The folders made as a backup makes them before it reads.
        QStringList ports;
        for (const FleetStation& station : stations)
            ports << QString::fromStdString(station.given);
        const FleetPlan plan = PlanFleetBackup(settings(), {}, ports, {});
        EXPECT_TRUE(plan.ok()) << plan.errorString();
        EXPECT_EQ(plan.stations.size(), stations.size());
        std::vector<StationBackupResult> results(stations.size());
        FleetBackup fleet(settings(), plan.stations, 0);
        interrupted = fleet.Run(stop, [&](std::size_t index, const StationBackupResult& result) {
            results[index] = result;
        });
        return results;
    }

    ScopedConfigHome config; // no port table of the user's
    TempDir folder;
    std::vector<std::unique_ptr<QmxSim>> sims;
    bool onlyChanged = false;
    bool interrupted = false;
};

} // namespace

TEST_F(Fleet, EachStationIsReadOverItsOwnPortIntoItsOwnCapture)
{
    const std::vector<FleetStation> stations{station(), station(), {"/dev/kalmoria-no-such-port", {1, 0, "/dev/kalmoria-no-such-port"}}};
    const std::vector<StationBackupResult> results = run(stations, [] { return false; });

    EXPECT_FALSE(interrupted);
    for (std::size_t i = 0; i < 2; ++i) {
        const StationBackupResult& result = results[i];
        ASSERT_TRUE(result.ok()) << result.errorString();
        EXPECT_EQ(result.port, stations[i].given);
        EXPECT_TRUE(LoadLinkFile(result.file).ok()) << result.file;
        // A capture holds the frames of its own station's line alone.
        const std::string capture = fileText(result.capture);
        EXPECT_NE(capture.find(stations[i].given), std::string::npos) << result.capture;
        EXPECT_EQ(capture.find(stations[1 - i].given), std::string::npos) << result.capture;
    }
    // The demo device twice: two backups of one serial number, kept apart.
    EXPECT_NE(results[0].file, results[1].file);
    // A port that will not open is that station's failure, and no other's.
    EXPECT_EQ(results[2].outcome, Outcome::PortNotOpen);
    ASSERT_FALSE(results[2].notices.empty());
    EXPECT_TRUE(results[2].file.empty());
}

TEST_F(Fleet, AStopEndsEveryReadAtOnceAndSavesNothingMore)
{
    // 64 modules at 9600 bps: each read takes seconds.
    const QStringList slow{QStringLiteral("--image"), QString::fromStdString(QmxSim::binDir() + "/qmx-full64.ini"),
                           QStringLiteral("--paced")};
    std::vector<FleetStation> stations{station(slow), station(slow), station(slow)};
    const Clock::time_point start = Clock::now();
    const std::vector<StationBackupResult> results =
        run(stations, [start] { return Clock::now() - start > std::chrono::milliseconds(500); });

    EXPECT_TRUE(interrupted);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3)) << "the reads were not waited for";
    for (const StationBackupResult& result : results) {
        EXPECT_EQ(result.outcome, Outcome::Interrupted) << result.port;
        EXPECT_TRUE(result.file.empty());
    }
    std::error_code none;
    EXPECT_TRUE(std::filesystem::is_empty(folder.file("backups"), none) || none);
}

TEST_F(Fleet, ABackupDatedAfterNowIsNamedAndNeverTakenForTheLastOne)
{
    const std::vector<FleetStation> stations{station()};
    const auto never = [] { return false; };
    const StationBackupResult first = run(stations, never).front();
    ASSERT_TRUE(first.ok()) << first.errorString();
    // Saved once while the clock was set years ahead, with links the station
    // no longer holds: compared with, it would hide every change since.
    const std::string ahead = folder.file("backups/4711/2099-01-01_00-00-00Z.ini");
    ASSERT_TRUE(SaveLinkFile(ahead, linkRecords({{2, 1, 0, 8, 9, 300, 0, 0}}), *first.station, {}).ok());

    onlyChanged = true;
    const StationBackupResult second = run(stations, never).front();
    ASSERT_TRUE(second.ok()) << second.errorString();
    EXPECT_EQ(second.drift.changed, false);
    EXPECT_TRUE(second.keptPrevious);
    EXPECT_EQ(second.file, first.file);
    ASSERT_FALSE(second.notices.empty());
    EXPECT_EQ(second.notices.back().number, kMessageBackupDatedLater);
    EXPECT_EQ(second.notices.back().severity, Notice::Severity::Warning);
    EXPECT_EQ(second.notices.back().arguments, std::vector<std::string>{ahead});
}

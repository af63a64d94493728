// The station list, and the metrics a backup leaves.

#include "fleet/PortIdentity.h"
#include "fleet/StationList.h"
#include "fleet/BackupMetrics.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <limits>
#include <unistd.h>

TEST(StationList, TakesOnePortALineWithoutBlanksAndComments)
{
    const TempDir folder;
    folder.write("stations.txt", "# Nord\r\n\r\n  /dev/ttyUSB0  # Hochbeh\xE4lter\r\nCOM3\n\t3\t\ncom4#not a comment\n"
                                 "/dev/serial/by-id/a#b\n#/dev/ttyUSB9\n   #\n/dev/ttyUSB0");
    const StationListLoad load = LoadStationList(folder.file("stations.txt"));
    ASSERT_EQ(load.outcome, StationListLoad::Outcome::NoPort);
    EXPECT_EQ(load.line, 6);
    EXPECT_EQ(load.text, "com4#not a comment");

    folder.write("stations.txt", "# Nord\r\n\r\n  /dev/ttyUSB0  # Hochbeh\xE4lter\r\nCOM3\n\t3\t\n"
                                 "/dev/serial/by-id/a#b\n#/dev/ttyUSB9\n   #\n/dev/ttyUSB0");
    const StationListLoad good = LoadStationList(folder.file("stations.txt"));
    ASSERT_EQ(good.outcome, StationListLoad::Outcome::Read);
    EXPECT_EQ(good.ports, (QStringList{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("COM3"), QStringLiteral("3"),
                                       QStringLiteral("/dev/serial/by-id/a#b"), QStringLiteral("/dev/ttyUSB0")}));
    EXPECT_EQ(DistinctPorts(good.ports),
              (QStringList{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("COM3"), QStringLiteral("/dev/serial/by-id/a#b")}));
}

TEST(StationList, AFileThatCannotBeReadSaysWhy)
{
    const TempDir folder;
    const StationListLoad missing = LoadStationList(folder.file("missing.txt"));
    EXPECT_EQ(missing.outcome, StationListLoad::Outcome::Unreadable);
    EXPECT_FALSE(missing.reason.empty());
    EXPECT_EQ(LoadStationList(folder.path()).outcome, StationListLoad::Outcome::Unreadable);
    EXPECT_EQ(LoadStationList("/dev/zero").outcome, StationListLoad::Outcome::Unreadable) << "no endless list";

    folder.write("nul.txt", std::string("/dev/tty\0USB0\n", 14));
    EXPECT_EQ(LoadStationList(folder.file("nul.txt")).outcome, StationListLoad::Outcome::NoPort);
}

TEST(StationList, ReadsAListThatStartsWithTheUtf8Mark)
{
    const StationListLoad load = ParseStationList("\xEF\xBB\xBF# Nord\r\nCOM3\r\n");
    ASSERT_EQ(load.outcome, StationListLoad::Outcome::Read);
    EXPECT_EQ(load.ports, QStringList{QStringLiteral("COM3")});
    EXPECT_EQ(ParseStationList("\xEF\xBB\xBF/dev/ttyUSB0\n").ports, QStringList{QStringLiteral("/dev/ttyUSB0")});
}

TEST(StationList, ReadsADeviceReachedByTwoNamesOnce)
{
    const TempDir folder;
    folder.write("device", "");
    const std::string link = folder.file("by-id");
    ASSERT_EQ(::symlink(folder.file("device").c_str(), link.c_str()), 0);
    const ComPortTable comPorts{"/dev/ttyS0", "tcp://10.0.0.7:4001"};
    struct Case {
        const char* first;
        std::string second;
        bool same;
    };
    const std::vector<Case> cases{
        {"tcp://Gateway.example:4001", "rfc2217://gateway.example:4001?timeout=500", true},
        {"tcp://[::0001]:4001", "tcp://[::1]:4001", true},
        {"tcp://10.0.0.7:4001", "tcp://10.0.0.7:4002", false},
        {"tcp://10.0.0.7:4001", "COM2", true},
        {"1", "/dev/ttyS0", true},
        {"COM3", "3", true},
        {"COM3", "COM4", false},
        {"/dev/ttyS0", "/dev/ttyS1", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PortIdentity(QString::fromLatin1(c.first), comPorts) == PortIdentity(QString::fromStdString(c.second), comPorts),
                  c.same)
            << c.first << " and " << c.second;
    EXPECT_EQ(PortIdentity(QString::fromStdString(link), comPorts),
              PortIdentity(QString::fromStdString(folder.file("device")), comPorts));
}

TEST(BackupMetrics, AnEarlierFileGivesEveryStationItsLastSuccessBack)
{
    std::vector<StationMetrics> stations;
    for (const char* port : {"COM3", "tcp://10.0.0.7:4001", "/dev/a \"quoted\" \\ name\nwith a line"}) {
        StationMetrics station;
        station.station = port;
        station.serial = std::to_string(4242 + stations.size());
        station.success = true;
        station.lastSuccess = 1765000000 + static_cast<long long>(stations.size());
        stations.push_back(station);
    }
    stations.push_back({"COM9", "", false, std::nullopt, 0.5, std::nullopt, std::nullopt}); // never saved
    const std::map<std::string, KeptSuccess> kept = LastSuccesses(MetricsText(stations) + "garbage{\nkalmoria_backup_last_success_timestamp_seconds{station=\"x} 5\n");
    ASSERT_EQ(kept.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        ASSERT_TRUE(kept.contains(stations[i].station)) << stations[i].station;
        EXPECT_EQ(kept.at(stations[i].station).serial, stations[i].serial);
        EXPECT_EQ(kept.at(stations[i].station).lastSuccess, *stations[i].lastSuccess);
    }
}

// What a backup's station process tells the backup, the station list, and
// the metrics a backup leaves.

#include "cli/BackupMetrics.h"
#include "cli/PortIdentity.h"
#include "cli/StationList.h"
#include "cli/StationReply.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <limits>
#include <unistd.h>

namespace {

LinkRecord link(int32_t modulQ, int32_t regVon, int32_t bitVon, int32_t anzBit, int32_t modulZ, int32_t regZ,
                int32_t bitZ, int32_t deaktiv)
{
    LinkRecord l{modulQ, regVon, bitVon, anzBit, modulZ, regZ, bitZ, deaktiv, {}};
    l.encodedText = LinkWordsText(EncodeLinkWords(l));
    return l;
}

bool sameLinks(const std::vector<LinkRecord>& a, const std::vector<LinkRecord>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const LinkRecord& x = a[i];
        const LinkRecord& y = b[i];
        if (x.ModulQ != y.ModulQ || x.RegVon != y.RegVon || x.BitVon != y.BitVon || x.AnzBit != y.AnzBit
            || x.ModulZ != y.ModulZ || x.RegZ != y.RegZ || x.BitZ != y.BitZ || x.deaktiv != y.deaktiv
            || x.encodedText != y.encodedText)
            return false;
    }
    return true;
}

} // namespace

TEST(StationReply, CarriesTheLinksTheStationAndEveryByteOfTheOverview)
{
    StationReply reply;
    reply.ok = true;
    reply.station = {65535, 240, 0x3301};
    reply.links = {link(7, 100, 0, 4, 12, 300, 0, 0), link(12, 65535, 15, 255, 7, 0, 15, 1),
                   link(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), -1, 0, 0, 0, 0, 0)};
    std::string everyByte;
    for (int b = 1; b < 256; ++b)
        everyByte += static_cast<char>(b);
    reply.overview = {{"Adr.", "Typ", "Modulname"}, {"37", "SK40F", "Hochbeh\xE4lter \x80 \x81"}, {everyByte}};
    reply.notes = {{0, "Warnung \xFC"}};

    const QByteArray line = EncodeStationReply(reply);
    EXPECT_TRUE(line.endsWith('\n'));
    EXPECT_EQ(line.count('\n'), 1);
    const auto decoded = DecodeStationReply("notes before the reply\n" + line);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_TRUE(decoded->ok);
    EXPECT_EQ(decoded->station, reply.station);
    EXPECT_TRUE(sameLinks(decoded->links, reply.links));
    EXPECT_EQ(decoded->overview, reply.overview);
    ASSERT_EQ(decoded->notes.size(), 1u);
    EXPECT_EQ(decoded->notes[0].text, "Warnung \xFC");
}

TEST(StationReply, CarriesWhyAStationWasNotRead)
{
    StationReply reply;
    reply.error = "Die Schnittstelle /dev/ttyUSB\xE4 kann nicht ge\xF6" "ffnet werden.";
    const auto decoded = DecodeStationReply(EncodeStationReply(reply));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_FALSE(decoded->ok);
    EXPECT_EQ(decoded->error, reply.error);
}

TEST(StationReply, AnythingElseIsNoReply)
{
    const std::vector<QByteArray> broken{
        "",
        "Kalmoria - Fehler: something\n",
        R"({"ok":true,"notes":[]})",
        R"({"ok":false,"notes":[]})",
        R"({"ok":false,"notes":[],"error":"\u0100"})",
        R"({"ok":"yes","notes":[],"error":""})",
        R"({"ok":true,"notes":[],"serial":65536,"address":1,"type":1,"links":[],"overview":[]})",
        R"({"ok":true,"notes":[],"serial":1,"address":1,"type":1,"links":[[1,2,3,4,5,6,7]],"overview":[]})",
        R"({"ok":true,"notes":[],"serial":1,"address":1,"type":1,"links":[[1,2,3,4.5,5,6,7,8]],"overview":[]})",
        R"({"ok":true,"notes":[],"serial":1,"address":1,"type":1,"links":[[1,2,3,4294967296,5,6,7,8]],"overview":[]})",
        R"({"ok":true,"notes":[],"serial":1,"address":1,"type":1,"links":[],"overview":[[1]]})",
        R"({"ok":true,"notes":[{"kind":1}],"serial":1,"address":1,"type":1,"links":[],"overview":[]})",
    };
    for (const QByteArray& output : broken)
        EXPECT_FALSE(DecodeStationReply(output).has_value()) << output.toStdString();

    QByteArray tooMany = R"({"ok":true,"notes":[],"serial":1,"address":1,"type":1,"overview":[],"links":[)";
    for (int n = 0; n <= kMaxLinks; ++n)
        tooMany += QByteArray(n == 0 ? "" : ",") + "[1,2,3,4,5,6,7,0]";
    EXPECT_FALSE(DecodeStationReply(tooMany + "]}").has_value());
}

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

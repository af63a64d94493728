// The shipped Wireshark dissector on captures written by the program's own
// capture file: which frames are requests, which replies, which request each
// reply answers, between which ends they pass, and what their words hold.

#include "capture/CaptureFile.h"
#include "io/NewFile.h"
#include "protocol/LinkArea.h"
#include "tests/common/Frames.h"
#include "tests/common/TempDir.h"
#include "tests/common/Tshark.h"

#include <QStandardPaths>

#include <gtest/gtest.h>

#include <utility>

namespace {

using Direction = TappedFrame::Direction;
using Rows = std::vector<std::vector<std::string>>;

// "read 2100 x64", as the device read asks for its modules.
const std::string kRequest = withCrc(bytes({0x61, 0, 0, 0, 30, 0x08, 0x34, 64, 0, 0, 0}));
const std::string kReply = replyFrame(2100, std::vector<uint16_t>(64, 0x0101));
const QStringList kFields{QStringLiteral("qmx.kind"), QStringLiteral("qmx.reply_to"), QStringLiteral("_ws.col.Info"),
                          QStringLiteral("_ws.col.Source"), QStringLiteral("_ws.col.Destination")};
const std::string kPort = "COM1 (/dev/ttyS0)";

void writeCapture(const std::string& path, const std::vector<std::pair<Direction, std::string>>& frames)
{
    CaptureFile file(CreateNamedFile(path));
    int64_t timeUs = 1'700'000'000'000'000;
    for (const auto& [direction, bytes] : frames)
        file.Write({direction, kPort, timeUs += 1000, bytes, 1, 0});
}

} // namespace

TEST(QmxDissector, AReplyThatBeginsWithTheEchoedRequestIsStillTheDevicesReply)
{
    KALMORIA_REQUIRE_TSHARK();
    const TempDir folder;
    // A line with local echo: what comes from the device begins with the request.
    writeCapture(folder.file("echo.pcapng"), {{Direction::ToDevice, kRequest}, {Direction::FromDevice, kRequest + kReply}});
    const Rows rows = Tshark(folder.file("echo.pcapng"), kFields).rows;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], "request");
    EXPECT_EQ(rows[1][0] + " to " + rows[1][1], "reply to 1") << rows[1][2];
}

TEST(QmxDissector, APlainPcapCopyWithoutDirectionsIsTakenByItsBytes)
{
    KALMORIA_REQUIRE_TSHARK();
    if (QStandardPaths::findExecutable(QStringLiteral("editcap")).isEmpty())
        GTEST_SKIP() << "editcap is not installed (scripts/setup.sh installs it)";
    const TempDir folder;
    writeCapture(folder.file("read.pcapng"), {{Direction::ToDevice, kRequest}, {Direction::FromDevice, kReply},
                                              {Direction::ToDevice, kRequest}, {Direction::FromDevice, ""}});
    const QString pcap = QString::fromStdString(folder.file("read.pcap"));
    ASSERT_EQ(QProcess::execute(QStringLiteral("editcap"), {QStringLiteral("-F"), QStringLiteral("pcap"),
                                                           QString::fromStdString(folder.file("read.pcapng")), pcap}),
              0);
    const TsharkRun run = Tshark(pcap.toStdString(), kFields);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    // Without interfaces the PC's end has no port name.
    EXPECT_EQ(run.rows, (Rows{{"request", "", "Request: read 2100 x64", "PC", "QMX 0"},
                              {"reply", "1", "Reply: 2100 x64", "QMX 0", "PC"},
                              {"request", "", "Request: read 2100 x64", "PC", "QMX 0"},
                              {"reply", "3", "No reply", "QMX 0", "PC"}}));
}

TEST(QmxDissector, FramesPassBetweenThePortAndTheDeviceAtItsAddress)
{
    KALMORIA_REQUIRE_TSHARK();
    const TempDir folder;
    const std::string request = withCrc(bytes({0x61, 5, 0, 0, 0, 0x05, 0xDC, 20, 0, 0, 0})); // read 1500 x20
    writeCapture(folder.file("addressed.pcapng"),
                 {{Direction::ToDevice, request}, {Direction::FromDevice, replyFrame(1500, std::vector<uint16_t>(20, 0))},
                  {Direction::ToDevice, request}, {Direction::FromDevice, ""}});
    const Rows rows = Tshark(folder.file("addressed.pcapng"), {QStringLiteral("_ws.col.Source"), QStringLiteral("_ws.col.Destination"),
                             QStringLiteral("qmx.echo_ok"), QStringLiteral("qmx.write_addr")}).rows;
    // A reply from another address than the one asked does not echo the request; a read shows no write part.
    const std::vector<std::string> asked{kPort, "QMX 5", "", ""};
    EXPECT_EQ(rows, (Rows{asked, {"QMX 0", kPort, "0", ""}, asked, {"QMX 5", kPort, "", ""}}));
}

TEST(QmxDissector, TheLinkAreaShowsTheLinksWrittenAndEachWordItsRegister)
{
    KALMORIA_REQUIRE_TSHARK();
    const TempDir folder;
    // Every field at its widest, and an inactive link.
    const std::vector<LinkRecord> links{{127, 65535, 15, 255, 127, 6100, 15, 0, {}}, {0, 1500, 0, 1, 64, 17440, 9, 1, {}}};
    const std::string reply = replyFrame(30800, EncodeLinkArea(links));
    // The write of the same words: a request's header, then the words as the reply carries them.
    const std::string write = withCrc(bytes({0x61, 0, 0, 0, 0, 0, 0, 0, 0x78, 0x50, 12}) + reply.substr(8, 24));
    writeCapture(folder.file("links.pcapng"), {{Direction::ToDevice, write}, {Direction::FromDevice, reply}});
    QStringList fields;
    for (const char* field : {"read_addr", "write_addr", "register", "link.source_module", "link.source_register",
                              "link.source_bit", "link.count", "link.target_module", "link.target_register",
                              "link.target_bit", "link.active"})
        fields << QStringLiteral("qmx.") + QLatin1String(field);
    const std::vector<std::string> decoded{"30800,30801,30802,30803,30804,30805,30806,30807,30808,30809,30810,30811",
                                           "127,0", "65535,1500", "15,0", "255,1", "127,64", "6100,17440", "15,9", "1,0"};
    // A write shows no read part.
    Rows expected{{"", "30800"}, {"30800", ""}};
    for (auto& row : expected)
        row.insert(row.end(), decoded.begin(), decoded.end());
    EXPECT_EQ(Tshark(folder.file("links.pcapng"), fields).rows, expected);
}

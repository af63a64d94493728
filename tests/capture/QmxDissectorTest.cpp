// The shipped Wireshark dissector on captures written by the program's own
// capture file: which frames are requests, which replies, and which request
// each reply answers.

#include "capture/CaptureFile.h"
#include "io/NewFile.h"
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
const QStringList kFields{QStringLiteral("qmx.kind"), QStringLiteral("qmx.reply_to"), QStringLiteral("_ws.col.Info")};

void writeCapture(const std::string& path, const std::vector<std::pair<Direction, std::string>>& frames)
{
    CaptureFile file(CreateNamedFile(path));
    int64_t timeUs = 1'700'000'000'000'000;
    for (const auto& [direction, bytes] : frames)
        file.Write({direction, "COM1 (/dev/ttyS0)", timeUs += 1000, bytes, 1, 0});
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
    EXPECT_EQ(run.rows, (Rows{{"request", "", "Request: read 2100 x64"},
                              {"reply", "1", "Reply: 2100 x64"},
                              {"request", "", "Request: read 2100 x64"},
                              {"reply", "3", "No reply"}}));
}

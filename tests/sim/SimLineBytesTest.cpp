// qmx-sim byte by byte: line noise, timing and the command line, seen from a
// raw pseudo-terminal without the program's client.

#include "sim/FrameCodec.h"
#include "tests/common/QmxSim.h"

#include "protocol/Crc16.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace qmxsim;
using Clock = std::chrono::steady_clock;

namespace {

const std::string kConfigRequest("\x61\x00\x00\x00\x00\x05\xDC\x14\x00\x00\x00\x28\x6F", 13);
constexpr std::size_t kConfigReplySize = 8 + 40 + 2;

class RawLine {
public:
    explicit RawLine(const std::string& path)
        : RawLine(open(path.c_str(), O_RDWR | O_NOCTTY))
    {
    }
    explicit RawLine(int fd)
        : m_fd(fd)
    {
        termios tio{};
        if (m_fd >= 0 && tcgetattr(m_fd, &tio) == 0) {
            cfmakeraw(&tio);
            tcsetattr(m_fd, TCSANOW, &tio);
        }
    }
    ~RawLine()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }
    void send(const std::string& bytes) { ASSERT_EQ(write(m_fd, bytes.data(), bytes.size()), ssize_t(bytes.size())); }
    // Bytes until `size` have come or the line stays quiet for `quietMs`.
    std::string receive(std::size_t size, int quietMs = 300)
    {
        std::string out;
        pollfd pfd{m_fd, POLLIN, 0};
        while (out.size() < size && poll(&pfd, 1, quietMs) == 1) {
            char buffer[256];
            const ssize_t n = read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            out.append(buffer, static_cast<std::size_t>(n));
        }
        return out;
    }

private:
    int m_fd;
};

bool isConfigReply(const std::string& reply)
{
    return reply.size() == kConfigReplySize && static_cast<uint8_t>(reply[0]) == kReplyStart &&
           reply.substr(5, 3) == "\x05\xDC\x14" &&
           Crc16(std::string_view(reply).substr(0, reply.size() - 2)) ==
               (static_cast<uint8_t>(reply[reply.size() - 2]) | static_cast<uint8_t>(reply.back()) << 8);
}

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

TEST(SimLineBytes, NoiseAndStrayStartBytesDelayARequestButDoNotLoseIt)
{
    QmxSim sim("");
    RawLine line(sim.path());
    ASSERT_TRUE(line.isOpen());

    line.send(std::string("\x00\xFF\x61\x00\x00", 5) + kConfigRequest);
    EXPECT_TRUE(isConfigReply(line.receive(kConfigReplySize)));

    std::string corrupt = kConfigRequest;
    corrupt[7] = 0x15;
    line.send(corrupt);
    EXPECT_EQ(line.receive(1, 200), "") << "a bad CRC gets no reply";

    // Split into two writes, as a slow line may deliver it.
    line.send(kConfigRequest.substr(0, 6));
    line.send(kConfigRequest.substr(6));
    EXPECT_TRUE(isConfigReply(line.receive(kConfigReplySize)));
    EXPECT_EQ(line.receive(1, 100), "") << "exactly one reply per request";
}

TEST(SimLineBytes, RepliesArePacedLikeNineThousandSixHundredBaudUnlessSwitchedOff)
{
    // The request and the reply both take their line time: 63 bytes of 1.04 ms.
    const double lineMs = (13 + kConfigReplySize) * 10.0 / 9.6;
    {
        QmxSim sim("", {"--paced"});
        RawLine line(sim.path());
        const Clock::time_point start = Clock::now();
        line.send(kConfigRequest);
        EXPECT_TRUE(isConfigReply(line.receive(kConfigReplySize)));
        const double took = msSince(start);
        EXPECT_GE(took, lineMs);
        EXPECT_LT(took, lineMs + 100);
    }
    {
        QmxSim sim("");
        RawLine line(sim.path());
        const Clock::time_point start = Clock::now();
        line.send(kConfigRequest);
        EXPECT_TRUE(isConfigReply(line.receive(kConfigReplySize)));
        EXPECT_LT(msSince(start), lineMs / 2);
    }
}

TEST(SimLineBytes, ServesASerialPortGivenByPath)
{
    // The far end of a pseudo-terminal stands in for the cable to a PC.
    const int pc = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(pc, 0);
    ASSERT_EQ(grantpt(pc), 0);
    ASSERT_EQ(unlockpt(pc), 0);
    RawLine line(pc);
    const std::string port = ptsname(pc);

    QmxSim sim("", {"--device", QString::fromStdString(port)});
    EXPECT_EQ(sim.path(), port);
    line.send(kConfigRequest);
    EXPECT_TRUE(isConfigReply(line.receive(kConfigReplySize)));
}

TEST(SimLineBytes, CommandLineAndEnding)
{
    QmxSim help("", {"--help"});
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_EQ(help.path().rfind("Usage: qmx-sim", 0), 0u);

    QmxSim typo("", {"--bad-crcs"});
    EXPECT_EQ(typo.exitCode(), 2);
    EXPECT_TRUE(typo.path().empty());
    EXPECT_NE(typo.errorOutput().find("unknown option --bad-crcs"), std::string::npos);

    QmxSim noImage("/nonexistent/device.ini");
    EXPECT_EQ(noImage.exitCode(), 1);
    EXPECT_NE(noImage.errorOutput().find("/nonexistent/device.ini"), std::string::npos);

    QmxSim running("");
    ASSERT_EQ(running.path().rfind("/dev/pts/", 0), 0u);
    EXPECT_EQ(running.stop(), 0) << "SIGTERM ends it normally";
}

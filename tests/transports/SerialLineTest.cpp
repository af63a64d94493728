#include "transports/ComPortMap.h"
#include "transports/TTavorobject.h"
#include "tests/common/PtyLineTest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <unistd.h>

using Clock = std::chrono::steady_clock;

namespace {

// Opens COM `port` where the port table leads, as the protocol client does.
bool openCom(Line& line, int32_t port, int32_t baud, char parity)
{
    return line.OpenPortAt(port, comPortPath(port), baud, parity);
}

} // namespace

TEST(SerialLine, ClosedObjectTouchesNothing)
{
    TTavorobject line;
    EXPECT_FALSE(openCom(line, 0, 9600, 'n'));
    line.ClosePort();
    EXPECT_EQ(line.PortNumber, 0);
    EXPECT_EQ(line.Baud, 0);
    EXPECT_EQ(line.ReadChunk(10), 0);

    const auto start = Clock::now();
    EXPECT_EQ(line.ReceiveString(0, 500, 50), "");
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(100)) << "no waiting on a closed port";

    // The driver adds a millisecond per byte, so the constant is one less.
    line.SetReadTimeout(500);
    EXPECT_EQ(line.Timeouts.ReadTotalTimeoutConstant, 499u);
    line.SetReadTimeout(1);
    EXPECT_EQ(line.Timeouts.ReadTotalTimeoutConstant, 1u);
    line.SetReadTimeout(0);
    EXPECT_EQ(line.Timeouts.ReadTotalTimeoutConstant, 0u);
    EXPECT_EQ(line.Timeouts.ReadTotalTimeoutMultiplier, 1u);
}

TEST_F(PtyLineTest, PortNumbersFollowTheSettingsFile)
{
    EXPECT_EQ(comPortPath(1), peer.path());
    EXPECT_EQ(comPortPath(3), "") << "a number without a key has no port";
    EXPECT_EQ(comPortPath(0), "");
    EXPECT_EQ(comPortPath(MaxComPort + 1), "");

    TTavorobject line;
    EXPECT_FALSE(openCom(line, 2, 9600, 'n')) << "mapped to a path that does not exist";
    EXPECT_FALSE(openCom(line, 3, 9600, 'n'));
    EXPECT_EQ(line.PortNumber, 0);
}

TEST_F(PtyLineTest, OpenTakesTheLineSettingsAndReopens)
{
    TTavorobject line;
    ASSERT_TRUE(openCom(line, 1, 110, 'x'));
    EXPECT_EQ(line.PortNumber, 1);
    EXPECT_EQ(line.Baud, 9600);
    EXPECT_EQ(line.Dcb.ModeString, "9600,n,8,1");
    EXPECT_TRUE(line.Rts && line.Dtr);

    // Asking again for the same port closes and reopens it with the new settings.
    ASSERT_TRUE(openCom(line, 1, 19200, 'E'));
    EXPECT_EQ(line.Dcb.ModeString, "19200,E,8,1");

    line.ClosePort();
    EXPECT_EQ(line.PortNumber, 0);
    EXPECT_EQ(line.Baud, 0);
    EXPECT_FALSE(line.Rts || line.Dtr);
}

TEST_F(PtyLineTest, SecondOpenOfTheSameLineIsRefused)
{
    TTavorobject first;
    TTavorobject second;
    ASSERT_TRUE(openCom(first, 1, 9600, 'n'));
    EXPECT_FALSE(openCom(second, 1, 9600, 'n'));
    EXPECT_EQ(second.PortNumber, 0);
    first.ClosePort();
    EXPECT_TRUE(openCom(second, 1, 9600, 'n'));
}

TEST_F(PtyLineTest, RequestGoesOutWholeAndAnyByteComesBack)
{
    TTavorobject line;
    ASSERT_TRUE(openCom(line, 1, 9600, 'n'));
    const std::string request("\x61\x00\x0D\x0A\xFF\x11\x13", 7);
    line.SendString(request);
    ASSERT_TRUE(peer.waitForRequests(1, 1000));
    EXPECT_EQ(peer.requests()[0], request);

    std::string reply;
    for (int i = 0; i < 40; ++i)
        reply += static_cast<char>(i * 7);
    peer.send(reply);
    // More than MaxChars ends the receive at once; what is left stays on the line.
    EXPECT_EQ(line.ReceiveString(20, 500, 50), reply.substr(0, 21));
    EXPECT_EQ(line.ReceiveString(0, 50, 10), reply.substr(21));
}

TEST_F(PtyLineTest, ReplyEndsThreeCharTimeoutsAfterItsLastByte)
{
    TTavorobject line;
    ASSERT_TRUE(openCom(line, 1, 9600, 'n'));
    peer.send("\x42");
    const auto start = Clock::now();
    EXPECT_EQ(line.ReceiveString(0, 1000, 30), "\x42");
    // Three quiet reads of 30 ms, not of the 1000 ms the first byte was given.
    EXPECT_GE(secondsSince(start), 0.08);
    EXPECT_LT(secondsSince(start), 0.9);
}

TEST_F(PtyLineTest, WaitingReadLetsTheWindowRepaintAndStillKeepsTime)
{
    TTavorobject line;
    ASSERT_TRUE(openCom(line, 1, 9600, 'n'));
    int repaints = 0;
    line.SetWaitHook([&repaints] { ++repaints; });
    const auto start = Clock::now();
    EXPECT_EQ(line.ReceiveString(0, 100, 50), "");
    EXPECT_GE(repaints, 6) << "three silent reads of 100 ms, looked after every 20 ms";
    EXPECT_GE(secondsSince(start), 0.28);
    EXPECT_LT(secondsSince(start), 0.9);
}

TEST_F(PtyLineTest, AStopEndsEveryWaitAtOnceWhileOtherLinesWaitTheirTime)
{
    TTavorobject line;
    ASSERT_TRUE(openCom(line, 1, 9600, 'n'));
    std::atomic<bool> stop = false;
    line.SetStop(&stop);
    // Not stopped: a silent device costs its three quiet reads.
    auto start = Clock::now();
    EXPECT_EQ(line.ReceiveString(0, 200, 50), "");
    EXPECT_GE(secondsSince(start), 0.55);

    // Stopped from another thread during a long wait: it ends within a slice.
    std::thread stopper([&stop] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stop = true;
    });
    start = Clock::now();
    EXPECT_EQ(line.ReceiveString(0, 5000, 50), "");
    stopper.join();
    EXPECT_LT(secondsSince(start), 0.5);
    // And a reply that waits on the line is not taken in once stopped.
    peer.send("\x42");
    EXPECT_EQ(line.ReceiveString(0, 1000, 30), "");
}

TEST(SerialLine, ADeviceNameThatIsNoUtf8OpensThatDeviceAndNoLookalike)
{
    // USB adapters name their links in /dev/serial/by-id with any bytes:
    // 0xFF must not be taken for the replacement character another link holds.
    PtyPeer named;
    PtyPeer lookalike;
    const TempDir links;
    const std::string byteName = links.file("adapter-\xFF");
    ASSERT_EQ(::symlink(named.path().c_str(), byteName.c_str()), 0);
    ASSERT_EQ(::symlink(lookalike.path().c_str(), links.file("adapter-\xEF\xBF\xBD").c_str()), 0);

    TTavorobject line;
    ASSERT_TRUE(line.OpenPortAt(1, byteName, 9600, 'n')) << line.OpenProblem.reason;
    line.SendString(std::string("\x61\x00", 2));
    ASSERT_TRUE(named.waitForRequests(1, 1000));
    EXPECT_TRUE(lookalike.requests().empty());
    // Taken exclusively, whichever name the device is asked for by.
    TTavorobject second;
    EXPECT_FALSE(second.OpenPortAt(1, named.path(), 9600, 'n'));
    EXPECT_EQ(second.OpenProblem.cause, PortOpenProblem::Cause::InUse);
}

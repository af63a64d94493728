#include "sequences/DeviceNotices.h"
#include "transports/Rfc2217Line.h"
#include "transports/TcpLine.h"
#include "protocol/Tvep.h"
#include "tests/common/Frames.h"
#include "tests/common/TinyServer.h"
#include "transports/LineFactory.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>

#include <sys/socket.h>

using Clock = std::chrono::steady_clock;

namespace {

int64_t msSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A local port nobody listens on: the listener of a server that is gone.
uint16_t closedPort()
{
    const TinyServer gone(TinyServer::CloseAtOnce);
    return gone.port();
}

int32_t readConfiguration(Tvep& vep, std::array<uint16_t, 20>& words)
{
    return vep.Transfer(0, 0, {}, 1500, 20, words, true);
}

const std::vector<uint16_t> kConfiguration{0x3301, 0, 815, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// Answers each request of the raw line with one configuration reply, then
// stays on the line without a word.
void answerConfiguration(int fd, const std::atomic<bool>& stopping)
{
    char request[64];
    while (!stopping) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, 20) <= 0)
            continue;
        if (::recv(fd, request, sizeof request, 0) <= 0)
            return;
        const std::string reply = replyFrame(1500, kConfiguration);
        ::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
    }
}

class NetworkLine : public testing::TestWithParam<std::string> {
protected:
    std::string scheme() const { return GetParam(); }
    Tvep vep{SystemLines()};
};

} // namespace

TEST_P(NetworkLine, AClosedLocalPortDoesNotOpenAndSaysWhy)
{
    const uint16_t port = closedPort();
    const std::string address = scheme() + "://127.0.0.1:" + std::to_string(port);
    const auto start = Clock::now();
    EXPECT_FALSE(vep.OpenPortAt(5, address, 9600, 'n'));
    EXPECT_LT(msSince(start), 1000) << "a refusal comes at once";
    EXPECT_EQ(vep.Serial().PortNumber, 0);
    const PortOpenProblem& problem = vep.Serial().OpenProblem;
    EXPECT_EQ(problem.cause, PortOpenProblem::Cause::NoConnection);
    EXPECT_EQ(problem.reason, "Connection refused");
    EXPECT_EQ(problem.server, "127.0.0.1:" + std::to_string(port));
    EXPECT_EQ(problem.path, address);

    const Notice notice = PortOpenFailureNotice(5, problem);
    EXPECT_EQ(notice.number, kMessageNetworkPortNotOpen);
    EXPECT_EQ(notice.arguments,
              (std::vector<std::string>{"COM5 (" + address + ")", problem.server, "Connection refused"}));
    EXPECT_EQ(PortOpenFailureNotice(0, problem).arguments.front(), address) << "without a COM number";
}

TEST_P(NetworkLine, AnAddressThatCannotBeUsedDoesNotOpen)
{
    EXPECT_FALSE(vep.OpenPortAt(3, scheme() + "://127.0.0.1", 9600, 'n'));
    const PortOpenProblem& problem = vep.Serial().OpenProblem;
    EXPECT_EQ(problem.cause, PortOpenProblem::Cause::BadAddress);
    EXPECT_EQ(problem.reason, "the port number is missing (HOST:PORT)");
    const Notice notice = PortOpenFailureNotice(3, problem);
    EXPECT_EQ(notice.number, kMessageBadPortAddress);
    EXPECT_EQ(notice.arguments.back(), problem.reason);
}

TEST_P(NetworkLine, AServerThatAcceptsAndClosesFailsAtOnceWithTheReason)
{
    const TinyServer server(TinyServer::CloseAtOnce);
    const auto start = Clock::now();
    std::array<uint16_t, 20> words{};
    if (scheme() == "rfc2217") {
        // The Telnet session cannot even begin.
        EXPECT_FALSE(vep.OpenPortAt(1, server.address(scheme()), 9600, 'n'));
        EXPECT_EQ(vep.Serial().OpenProblem.cause, PortOpenProblem::Cause::NoConnection);
        EXPECT_FALSE(vep.Serial().OpenProblem.reason.empty());
    } else {
        // A raw port counts as open once connected; the first transfer finds it gone.
        ASSERT_TRUE(vep.OpenPortAt(1, server.address(scheme()), 9600, 'n'));
        vep.Retries = 2;
        EXPECT_EQ(readConfiguration(vep, words), Tvep::ErrNoReply);
        const std::string& reason = vep.Serial().LostReason;
        EXPECT_TRUE(reason == "the server closed the connection" || reason == "Connection reset by peer"
                    || reason == "Broken pipe")
            << reason;
        std::vector<Notice> notices{DeviceNotice(13, Notice::Severity::Information)};
        AddConnectionLost(notices, vep.Serial());
        AddConnectionLost(notices, vep.Serial());
        // Once, in the box of the failure it caused.
        ASSERT_EQ(notices.size(), 1u);
        ASSERT_EQ(notices.back().causes.size(), 1u) << "said once";
        EXPECT_EQ(notices.back().causes.back().number, kMessageConnectionLost);
        EXPECT_EQ(notices.back().causes.back().arguments,
                  (std::vector<std::string>{"127.0.0.1:" + std::to_string(server.port()), reason}));
    }
    EXPECT_LT(msSince(start), 1000) << "no time-out is waited for a connection that is gone";

    // The next open starts afresh.
    vep.ClosePort();
    EXPECT_FALSE(vep.OpenPortAt(1, "tcp://127.0.0.1:" + std::to_string(closedPort()), 9600, 'n'));
    EXPECT_EQ(vep.Serial().LostReason, "");
}

TEST_P(NetworkLine, ASilentServerCostsTheFirstByteTimeOutOnce)
{
    const TinyServer server(TinyServer::HoldSilently);
    const auto start = Clock::now();
    const bool opened = vep.OpenPortAt(1, server.address(scheme(), "?timeout=300"), 9600, 'n');
    if (scheme() == "rfc2217") {
        // Without the Telnet negotiation there is no COM port option to use.
        EXPECT_FALSE(opened);
        EXPECT_EQ(vep.Serial().OpenProblem.reason,
                  "the server does not answer the Telnet negotiation (a raw TCP port is tcp://)");
        EXPECT_GE(msSince(start), 290);
        EXPECT_LT(msSince(start), 1000);
        return;
    }
    ASSERT_TRUE(opened);
    int hooks = 0;
    vep.Serial().SetWaitHook([&hooks] { ++hooks; });
    std::array<uint16_t, 20> words{};
    const auto transfer = Clock::now();
    EXPECT_EQ(readConfiguration(vep, words), Tvep::ErrNoReply);
    EXPECT_GE(msSince(transfer), 290);
    EXPECT_LT(msSince(transfer), 800) << "one wait of the time-out, not three";
    EXPECT_GT(hooks, 5) << "the window repaints while the server is waited for";
    EXPECT_EQ(vep.Serial().LostReason, "") << "silence is no lost connection";
}

INSTANTIATE_TEST_SUITE_P(BothKinds, NetworkLine, testing::Values("tcp", "rfc2217"),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(RawNetworkLine, RepliesEndAsSoonAsTheyAreWholeWhateverTheSetting)
{
    const TinyServer server(answerConfiguration);
    Tvep vep{SystemLines()};
    ASSERT_FALSE(vep.FastReplyEnd);
    ASSERT_TRUE(vep.OpenPortAt(1, server.address(), 9600, 'n'));
    EXPECT_TRUE(vep.Serial().EndsRepliesWhenWhole());
    EXPECT_EQ(vep.Serial().Server(), "127.0.0.1:" + std::to_string(server.port()));
    std::array<uint16_t, 20> words{};
    const auto start = Clock::now();
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(readConfiguration(vep, words), Tvep::Ok);
    // The quiet line would cost 150 ms a transfer.
    EXPECT_LT(msSince(start), 300);
    EXPECT_EQ(words[0], 0x3301);
    EXPECT_EQ(words[2], 815);
    vep.ClosePort();
    EXPECT_EQ(vep.Serial().PortNumber, 0);
}

TEST(RawNetworkLine, TheWaitHookGoesWithTheProtocolClientFromKindToKind)
{
    Tvep vep{SystemLines()};
    int hooks = 0;
    vep.Serial().SetWaitHook([&hooks] { ++hooks; });
    const TinyServer server(TinyServer::HoldSilently);
    ASSERT_TRUE(vep.OpenPortAt(1, server.address("tcp", "?timeout=100"), 9600, 'n'));
    std::array<uint16_t, 20> words{};
    EXPECT_EQ(readConfiguration(vep, words), Tvep::ErrNoReply);
    EXPECT_GT(hooks, 0);
    // Back to a device file, and to the other network kind.
    EXPECT_FALSE(vep.OpenPortAt(1, "/dev/no-such-port", 9600, 'n'));
    EXPECT_TRUE(vep.Serial().WaitHook());
    EXPECT_FALSE(vep.OpenPortAt(1, server.address("rfc2217", "?timeout=100"), 9600, 'n'));
    EXPECT_TRUE(vep.Serial().WaitHook());
}

TEST(RawNetworkLine, NoDeviceFileOpensAsANetworkPortNorTheOtherWayRound)
{
    TcpLine tcp;
    EXPECT_FALSE(tcp.OpenPortAt(1, "/dev/ttyS0", 9600, 'n'));
    EXPECT_EQ(tcp.OpenProblem.cause, PortOpenProblem::Cause::BadAddress);
    Rfc2217Line rfc;
    EXPECT_FALSE(rfc.OpenPortAt(0, "rfc2217://127.0.0.1:1", 9600, 'n')) << "no COM number 0";
}
